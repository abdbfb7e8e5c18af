#include "program/ProgramHooks.h"

#include "app/KeywordBuilders.h"
#include "app/records/PaneRecords.h"
#include "app/records/PlayListFile.h"
#include "app/settings/SettingsSections.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "archivefront/ArchivePlugInBackEnd.h"
#include "filer/EntryFind.h"
#include "filer/FilerHooks.h"
#include "filer/FindWorkerLink.h"
#include "filer/PaneArchive.h"
#include "filer/PaneHooks.h"
#include "filer/PaneViewer.h"
#include "filer/PathHistory.h"
#include "filer/PictureFiles.h"
#include "filer/dialogs/FindFirstFileErrorDlg.h"
#include "filer/dialogs/WildCardDlg.h"
#include "fileops/find/FindOptionDlg.h"
#include "fileops/find/FindThread.h"
#include "graphics/SusiePlugInScan.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/ArchivePlugInAdapter.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "graphics/preview/PreviewPlugInDecode.h"
#include "media/MciWnd.h"
#include "media/scsi/AspiDeviceList.h"
#include "media/tags/MpegAudioData.h"
#include "tools/transform/TransformBitmap.h"
#include "view/graphic/PreviewPanes.h"
#include "view/media/SoundHooks.h"
#include "view/shell/ShellSeam.h"
#include "viewers/text/TextPaneViewer.h"

namespace
{
INT_PTR EditFindCondition(CWnd* parent, FindCondition& condition)
{
    CFindOptionDlg dialog(parent);
    dialog.m_condition = condition;
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK)
        condition = dialog.m_condition;
    return result;
}

// A picture walk goes into the archives the front could also pack, showing their
// members as pictures.
int IsArchivePictureName(LPCWSTR name)
{
    return CArchiveFront::IsSupportedName(name, ARCFRONT_OPEN_PACK);
}
} // namespace

// Every hook a lower library calls into a higher one is set here, before anything
// reads a setting or makes a pane; nothing else in the program installs one.
void InstallProgramHooks()
{
    // ---- Settings file -------------------------------------------------------------
    // The settings reader lies below the image plug-ins; it scans their folder after
    // reading "SUSIEDATA".
    g_SettingsHooks.scanImagePlugIns = ScanSusiePlugIns;
    // The filer's directory history, which lies above the settings layer, is a section
    // of the file.
    g_SettingsHooks.loadDirHistory = LoadSectionDirHistory;
    g_SettingsHooks.saveDirHistory = SaveSectionDirHistory;

    // ---- Records -------------------------------------------------------------------
    // The walk frames of the copy and delete jobs close their enumerations.
    g_DirWalkHooks.closeEntryFind = CloseEntryFind;
    // The play-list filler takes the panes' target entries.
    g_PlayListHooks.paneTargetEntry = GetPaneTargetForPlayList;
    // The command-line macros read the panes.
    g_MacroPaneAccess.getTarget = GetMacroPaneTarget;
    g_MacroPaneAccess.getState = GetMacroPaneState;
    // The SCSI command names come from the device list.
    g_KeywordHooks.lookupScsiDevice = LookupScsiDevice;

    // ---- Panes ---------------------------------------------------------------------
    // Pane navigation feeds the directory history.
    g_PaneHooks.recordVisit = RecordPathVisit;
    // The panes' thumbnails come from the preview loader the view makes.
    g_PaneHooks.isPreviewDirectory = IsLoaderPreviewDirectory;
    g_PaneHooks.hasPictureExtension = IsLoaderDisplayedKind;
    g_PaneHooks.queuePreviews = QueuePanePreviews;
    // A folder the pane may not list offers to grant access.
    g_PaneHooks.askAccessDeniedRetry = AskAccessDeniedRetry;
    // With audio titles shown, the panes read them from the files' tags.
    g_PaneHooks.readAudioTitle = ReadAudioTitle;
    // Every pane's archive object is the archive front's; its text viewer the
    // viewers'.
    g_PaneArchiveHooks.create = CArchiveFront::CreateForPane;
    g_PaneViewerHooks.create = CreateTextPaneViewer;
    // The panes' searches run the file operations' search worker; the wildcard
    // dialog's extra conditions are the file search's.
    g_FindWorkerHooks.createFindThread = CreateFindThread;
    g_WildCardHooks.editCondition = EditFindCondition;
    // Picture walks of the filer ask the image plug-ins which files they can show.
    g_PictureTestHooks.findImagePlugIn = FindImagePlugInForFile;
    g_PictureTestHooks.isArchivePictureName = IsArchivePictureName;

    // ---- Archives ------------------------------------------------------------------
    // The pack and unpack dialogs wait for the thumbnail loader to be between items.
    g_PreviewReaderLockHooks.acquire = AcquirePreviewReaderLock;
    g_PreviewReaderLockHooks.release = ReleasePreviewReaderLock;
    // The panes' archive objects list and extract through the archive plug-ins.
    g_ArchivePlugInHooks.createHost = CreateArchivePlugInHost;
    g_ArchivePlugInHooks.isSupportedName = IsArchivePlugInName;

    // ---- Sounds --------------------------------------------------------------------
    // The commands of the view play their sounds through the media player.
    g_SoundHooks.playCommandSound = PlayCommandSound;

    // ---- Pictures ------------------------------------------------------------------
    // The picture object lies below the tools that turn and mirror its rows.
    g_PictureTransformHooks.transformBitmap = TransformBitmap;
    // The thumbnail loader reads pictures and archive members through the image
    // plug-ins.
    g_PreviewDecodeHooks.decodePicture = DecodePreviewFile;
    g_PreviewDecodeHooks.takesName = PreviewPlugInTakesName;
    g_PreviewDecodeHooks.decodeMemory = DecodePreviewMemory;
}
