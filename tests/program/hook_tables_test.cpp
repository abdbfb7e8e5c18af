// Every table of functions the program calls through, after the program's own wiring
// (the static initialisers and InstallProgramHooks): no member is left empty, so that
// no command jumps to address 0. Each table's members are listed one by one; the size
// check beside each list fails when a member is added and not listed here.
#include "app/CommandMacros.h"
#include "app/DriveSeam.h"
#include "app/KeywordBuilders.h"
#include "app/MasterVolume.h"
#include "app/records/DirectoryWalk.h"
#include "app/records/LocalMemory.h"
#include "app/records/PaneRecords.h"
#include "app/records/PlayListFile.h"
#include "app/records/SelectColorButton.h"
#include "app/settings/DisplayMode.h"
#include "app/settings/SettingsSections.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/ArchivePlugInBackEnd.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "fileops/copy/FileCopier.h"
#include "filer/FindWorkerLink.h"
#include "filer/PaneArchive.h"
#include "filer/PaneHooks.h"
#include "filer/PaneViewer.h"
#include "filer/PictureFiles.h"
#include "filer/dialogs/WildCardDlg.h"
#include "graphics/picture/BmpSaving.h"
#include "graphics/picture/PictureData.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "media/cd/CdPlayDlg.h"
#include "media/cd/CdPlayer.h"
#include "media/playlist/AudioPlayList.h"
#include "media/MciWnd.h"
#include "program/ProgramHooks.h"
#include "tools/cpl/AppletCommands.h"
#include "tools/execute/LoopExecute.h"
#include "util/Clock.h"
#include "view/QvView.h"
#include "view/binary/BinaryEditorUi.h"
#include "view/keys/HotKeys.h"
#include "view/keys/KeySettings.h"
#include "view/media/SoundHooks.h"
#include "view/mouse/ShellDragSeam.h"
#include "view/navigation/FileKindActions.h"
#include "view/shell/ShellSeam.h"
#include "view/status/StatusLine.h"
#include "view/system/SystemShellApi.h"
#include "viewers/text/TextBoxDlg.h"
#include "viewers/text/TextPaneViewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace
{

constexpr size_t kPointer = sizeof(void (*)());

struct Member
{
    const char* name;
    bool filled;
};

#define QV_MEMBER(table, member)                                                                             \
    Member                                                                                                   \
    {                                                                                                        \
#table "." #member, (table).member != nullptr                                                        \
    }

// A table that gains a member fails here until the member is listed below.
static_assert(sizeof(MacroPaneAccess) == 2 * kPointer, "list the new member of MacroPaneAccess");
static_assert(sizeof(DirWalkHooks) == 1 * kPointer, "list the new member of DirWalkHooks");
static_assert(sizeof(PlayListHooks) == 1 * kPointer, "list the new member of PlayListHooks");
static_assert(sizeof(DirectoryEnumHooks) == 3 * kPointer, "list the new member of DirectoryEnumHooks");
static_assert(sizeof(LocalMemoryHooks) == 2 * kPointer, "list the new member of LocalMemoryHooks");
static_assert(sizeof(ColorChooserSeam) == 1 * kPointer, "list the new member of ColorChooserSeam");
static_assert(sizeof(KeywordHooks) == 1 * kPointer, "list the new member of KeywordHooks");
static_assert(sizeof(DriveSeam) == 13 * kPointer, "list the new member of DriveSeam");
static_assert(sizeof(MixerVolumeApi) == 2 * kPointer, "list the new member of MixerVolumeApi");
static_assert(sizeof(DisplayApi) == 3 * kPointer, "list the new member of DisplayApi");
static_assert(sizeof(SettingsHooks) == 3 * kPointer, "list the new member of SettingsHooks");
static_assert(sizeof(ArchivePlugInHooks) == 2 * kPointer, "list the new member of ArchivePlugInHooks");
static_assert(sizeof(CPreviewReaderLockHooks) == 2 * kPointer,
              "list the new member of CPreviewReaderLockHooks");
static_assert(sizeof(CopierDriveProbe) == 4 * kPointer, "list the new member of CopierDriveProbe");
static_assert(sizeof(PaneHooks) == 7 * kPointer, "list the new member of PaneHooks");
static_assert(sizeof(PaneArchiveHooks) == 1 * kPointer, "list the new member of PaneArchiveHooks");
static_assert(sizeof(PaneViewerHooks) == 1 * kPointer, "list the new member of PaneViewerHooks");
static_assert(sizeof(FindWorkerHooks) == 1 * kPointer, "list the new member of FindWorkerHooks");
static_assert(sizeof(WildCardHooks) == 1 * kPointer, "list the new member of WildCardHooks");
static_assert(sizeof(PictureTestHooks) == 2 * kPointer, "list the new member of PictureTestHooks");
static_assert(sizeof(BmpSaveHooks) == 1 * kPointer, "list the new member of BmpSaveHooks");
static_assert(sizeof(PictureTransformHooks) == 1 * kPointer, "list the new member of PictureTransformHooks");
static_assert(sizeof(PreviewDecodeHooks) == 3 * kPointer, "list the new member of PreviewDecodeHooks");
static_assert(sizeof(CplApi) == sizeof(CString) + 1 * kPointer, "list the new member of CplApi");
static_assert(sizeof(LoopExecuteSeam) == 1 * kPointer, "list the new member of LoopExecuteSeam");
static_assert(sizeof(QuitHooks) == 4 * kPointer, "list the new member of QuitHooks");
static_assert(sizeof(SoundHooks) == 1 * kPointer, "list the new member of SoundHooks");
static_assert(sizeof(BinaryEditorUi) == 2 * kPointer, "list the new member of BinaryEditorUi");
static_assert(sizeof(KeyboardHookLibrary) == 2 * kPointer, "list the new member of KeyboardHookLibrary");
static_assert(sizeof(KeyDialogRunners) == 2 * kPointer, "list the new member of KeyDialogRunners");
static_assert(sizeof(ShellDragSeam) == 1 * kPointer, "list the new member of ShellDragSeam");
static_assert(sizeof(FileOpenSeam) == 2 * kPointer, "list the new member of FileOpenSeam");
static_assert(sizeof(ShellRunSeam) == 2 * kPointer, "list the new member of ShellRunSeam");
static_assert(sizeof(ContextMenuSeam) == 1 * kPointer, "list the new member of ContextMenuSeam");
static_assert(sizeof(SystemShellApi) == 8 * kPointer, "list the new member of SystemShellApi");
static_assert(sizeof(ShellDialogSeam) == 2 * kPointer, "list the new member of ShellDialogSeam");
static_assert(sizeof(HotKeySeam) == 2 * kPointer, "list the new member of HotKeySeam");
static_assert(sizeof(TextBoxFileSeam) == 2 * kPointer, "list the new member of TextBoxFileSeam");
static_assert(sizeof(CdPlayerSeam) == 1 * kPointer, "list the new member of CdPlayerSeam");
static_assert(sizeof(CdPlayDlgSeam) == 1 * kPointer, "list the new member of CdPlayDlgSeam");
static_assert(sizeof(PlayListSeam) == 1 * kPointer, "list the new member of PlayListSeam");
static_assert(sizeof(ClockSeam) == 1 * kPointer, "list the new member of ClockSeam");
static_assert(sizeof(PowerStatusSeam) == 1 * kPointer, "list the new member of PowerStatusSeam");

// Every member of every table the libraries call through. Left out on purpose:
// g_TearDownObserver, which only a test sets to watch the view's tear-down.
std::vector<Member> ProgramMembers()
{
    return {
        QV_MEMBER(g_MacroPaneAccess, getTarget),
        QV_MEMBER(g_MacroPaneAccess, getState),

        QV_MEMBER(g_DirWalkHooks, closeEntryFind),

        QV_MEMBER(g_PlayListHooks, paneTargetEntry),

        QV_MEMBER(g_DirectoryEnumHooks, findFirst),
        QV_MEMBER(g_DirectoryEnumHooks, findNext),
        QV_MEMBER(g_DirectoryEnumHooks, findClose),

        QV_MEMBER(g_LocalMemoryHooks, alloc),
        QV_MEMBER(g_LocalMemoryHooks, reAlloc),

        QV_MEMBER(g_ColorChooserSeam, chooseColor),

        QV_MEMBER(g_KeywordHooks, lookupScsiDevice),

        QV_MEMBER(g_DriveSeam, GetLogicalDrives),
        QV_MEMBER(g_DriveSeam, GetDriveTypeW),
        QV_MEMBER(g_DriveSeam, GetDiskFreeSpaceExW),
        QV_MEMBER(g_DriveSeam, GetDiskFreeSpaceW),
        QV_MEMBER(g_DriveSeam, GetVolumeInformationW),
        QV_MEMBER(g_DriveSeam, SHGetFileInfoW),
        QV_MEMBER(g_DriveSeam, GetUserNameW),
        QV_MEMBER(g_DriveSeam, WNetAddConnection2W),
        QV_MEMBER(g_DriveSeam, WNetGetConnectionW),
        QV_MEMBER(g_DriveSeam, WNetOpenEnumW),
        QV_MEMBER(g_DriveSeam, WNetEnumResourceW),
        QV_MEMBER(g_DriveSeam, WNetCloseEnum),
        QV_MEMBER(g_DriveSeam, RunAccountDialog),

        QV_MEMBER(g_MixerVolumeApi, readVolume),
        QV_MEMBER(g_MixerVolumeApi, writeVolume),

        QV_MEMBER(g_DisplayApi, enumSettings),
        QV_MEMBER(g_DisplayApi, changeSettings),
        QV_MEMBER(g_DisplayApi, setWallpaper),

        QV_MEMBER(g_SettingsHooks, scanImagePlugIns),
        QV_MEMBER(g_SettingsHooks, loadDirHistory),
        QV_MEMBER(g_SettingsHooks, saveDirHistory),

        QV_MEMBER(g_ArchivePlugInHooks, createHost),
        QV_MEMBER(g_ArchivePlugInHooks, isSupportedName),

        QV_MEMBER(g_PreviewReaderLockHooks, acquire),
        QV_MEMBER(g_PreviewReaderLockHooks, release),

        QV_MEMBER(g_SystemDriveProbe, getDriveType),
        QV_MEMBER(g_SystemDriveProbe, getBytesPerSector),
        QV_MEMBER(g_SystemDriveProbe, isFloppyDrive),
        QV_MEMBER(g_SystemDriveProbe, writeFile),

        QV_MEMBER(g_PaneHooks, recordVisit),
        QV_MEMBER(g_PaneHooks, isPreviewDirectory),
        QV_MEMBER(g_PaneHooks, hasPictureExtension),
        QV_MEMBER(g_PaneHooks, queuePreviews),
        QV_MEMBER(g_PaneHooks, showMessage),
        QV_MEMBER(g_PaneHooks, askAccessDeniedRetry),
        QV_MEMBER(g_PaneHooks, readAudioTitle),

        QV_MEMBER(g_PaneArchiveHooks, create),

        QV_MEMBER(g_PaneViewerHooks, create),

        QV_MEMBER(g_FindWorkerHooks, createFindThread),

        QV_MEMBER(g_WildCardHooks, editCondition),

        QV_MEMBER(g_PictureTestHooks, isArchivePictureName),
        QV_MEMBER(g_PictureTestHooks, findImagePlugIn),

        QV_MEMBER(g_BmpSaveHooks, writeFile),

        QV_MEMBER(g_PictureTransformHooks, transformBitmap),

        QV_MEMBER(g_PreviewDecodeHooks, decodePicture),
        QV_MEMBER(g_PreviewDecodeHooks, takesName),
        QV_MEMBER(g_PreviewDecodeHooks, decodeMemory),

        QV_MEMBER(g_CplApi, execute),

        QV_MEMBER(g_LoopExecuteSeam, shellExecuteEx),

        QV_MEMBER(g_QuitHooks, querySaveBinaryPanes),
        QV_MEMBER(g_QuitHooks, saveAllSettings),
        QV_MEMBER(g_QuitHooks, enableShutdownPrivilege),
        QV_MEMBER(g_QuitHooks, exitWindows),

        QV_MEMBER(g_SoundHooks, playCommandSound),

        QV_MEMBER(g_BinaryEditorUi, runDialog),
        QV_MEMBER(g_BinaryEditorUi, askSavePath),

        QV_MEMBER(g_KeyboardHookLibrary, install),
        QV_MEMBER(g_KeyboardHookLibrary, release),

        QV_MEMBER(g_KeyDialogRunners, filerKeys),
        QV_MEMBER(g_KeyDialogRunners, viewKeys),

        QV_MEMBER(g_ShellDragSeam, run),

        QV_MEMBER(g_FileOpenSeam, shellExecute),
        QV_MEMBER(g_FileOpenSeam, runKindRow),

        QV_MEMBER(g_ShellRunSeam, shellExecute),
        QV_MEMBER(g_ShellRunSeam, runLoopExecute),

        QV_MEMBER(g_ContextMenuSeam, track),

        QV_MEMBER(g_SystemShellApi, getDriveType),
        QV_MEMBER(g_SystemShellApi, formatDrive),
        QV_MEMBER(g_SystemShellApi, connectDialog),
        QV_MEMBER(g_SystemShellApi, disconnectDialog),
        QV_MEMBER(g_SystemShellApi, runProgram),
        QV_MEMBER(g_SystemShellApi, enumAudioEndpoints),
        QV_MEMBER(g_SystemShellApi, setDefaultAudioEndpoint),
        QV_MEMBER(g_SystemShellApi, chooseFont),

        QV_MEMBER(g_ShellDialogSeam, shellExecuteEx),
        QV_MEMBER(g_ShellDialogSeam, chooseFolder),

        QV_MEMBER(g_HotKeySeam, trayNotify),
        QV_MEMBER(g_HotKeySeam, modifierDown),

        QV_MEMBER(g_TextBoxFileSeam, readFile),
        QV_MEMBER(g_TextBoxFileSeam, writeFile),

        QV_MEMBER(g_CdPlayerSeam, random),

        QV_MEMBER(g_CdPlayDlgSeam, listDrives),

        QV_MEMBER(g_PlayListSeam, random),

        QV_MEMBER(g_ClockSeam, getLocalTime),

        QV_MEMBER(g_PowerStatusSeam, getSystemPowerStatus),
    };
}

#undef QV_MEMBER

} // namespace

TEST(ProgramHookTables, NoTableTheProgramCallsThroughHasAnEmptyMemberAfterItsWiring)
{
    InstallProgramHooks();
    std::string empty;
    const std::vector<Member> members = ProgramMembers();
    for (const Member& member : members)
        if (!member.filled)
            empty += std::string(member.name) + "\n";
    EXPECT_TRUE(empty.empty()) << "empty after the program's wiring:\n" << empty;
    // The view plays no sound until the program gives it the media player.
    EXPECT_EQ(&PlayCommandSound, g_SoundHooks.playCommandSound) << "the commands play no sound";
    EXPECT_GE(members.size(), 80u);

    // The panes' factories stand in with objects that list or show nothing until the
    // program installs the real ones.
    std::unique_ptr<IPaneArchive> archive(CreatePaneArchive());
    EXPECT_NE(nullptr, dynamic_cast<CArchiveFront*>(archive.get())) << "the panes list no archive";
    std::unique_ptr<IPaneViewer> viewer(CreatePaneViewer());
    std::unique_ptr<IPaneViewer> text(CreateTextPaneViewer());
    ASSERT_NE(nullptr, viewer);
    EXPECT_EQ(typeid(*text), typeid(*viewer)) << "the panes show no text";
}

// The settings rows: every row the reader takes has a load, every row the writer
// writes a save.
TEST(ProgramHookTables, EveryRowOfTheSettingsOrdersHasItsFunction)
{
    for (int i = 0; i < g_SettingsReadOrderCount; ++i)
        EXPECT_NE(nullptr, g_SettingsSections[g_SettingsReadOrder[i]].load)
            << "read row " << i << " (" << static_cast<int>(g_SettingsReadOrder[i]) << ")";
    for (int i = 0; i < g_SettingsWriteOrderCount; ++i)
        EXPECT_NE(nullptr, g_SettingsSections[g_SettingsWriteOrder[i]].save)
            << "write row " << i << " (" << static_cast<int>(g_SettingsWriteOrder[i]) << ")";
}
