#include "program/ProgramHooks.h"

#include "app/KeywordBuilders.h"
#include "app/settings/SettingsSections.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/FilerHooks.h"
#include "filer/PaneHooks.h"
#include "filer/PictureFiles.h"
#include "filer/dialogs/FindFirstFileErrorDlg.h"
#include "filer/dialogs/WildCardDlg.h"
#include "fileops/find/FindOptionDlg.h"
#include "fileops/find/FindThread.h"
#include "graphics/SusiePlugInScan.h"
#include "media/scsi/AspiDeviceList.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/ArchivePlugInAdapter.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "graphics/preview/PreviewPlugInDecode.h"
#include "tools/transform/TransformBitmap.h"
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
#include "view/shell/ShellSeam.h"

void InstallProgramHooks()
{
    // The settings reader lies below the image plug-ins; it scans their folder after
    // reading "SUSIEDATA".
    g_SettingsHooks.scanImagePlugIns = ScanSusiePlugIns;
    // The panes' archive objects, the walk frames' find-handle closing and the play
    // list's source of pane entries.
    InstallFilerHooks(&CArchiveFront::CreateForPane);
    // The panes' text-viewer text.
    SetPaneViewerFactory(&CreateTextPaneViewer);
    // The panes' searches run the file operations' search worker.
    InstallFindThread();
    // A folder the pane may not list offers to grant access; the wildcard dialog's
    // extra conditions are the file search's.
    g_PaneHooks.askAccessDeniedRetry = AskAccessDeniedRetry;
    CWildCardDlg::SetEditCondition(EditFindCondition);
    // The SCSI command names come from the device list.
    g_ScsiDeviceLookup = LookupScsiDevice;
    // The command-line macros read the panes.
    InstallMacroPaneAccess();
    // The picture object lies below the tools that turn and mirror its rows.
    g_PictureTransformHooks.transformBitmap = TransformBitmap;
    // Picture walks of the filer ask the image plug-ins which files they can show.
    g_PictureTestHooks.findImagePlugIn = FindImagePlugInForFile;
    g_PictureTestHooks.isArchivePictureName = IsArchivePictureName;
    // The pack and unpack dialogs wait for the thumbnail loader to be between items.
    g_PreviewReaderLockHooks.acquire = AcquirePreviewReaderLock;
    g_PreviewReaderLockHooks.release = ReleasePreviewReaderLock;
    // The panes' archive objects list and extract through the archive plug-ins.
    g_ArchivePlugInHooks.createHost = CreateArchivePlugInHost;
    g_ArchivePlugInHooks.isSupportedName = IsArchivePlugInName;
    // The thumbnail loader reads pictures and archive members through the image
    // plug-ins.
    InstallPreviewPlugInDecoding();
}
