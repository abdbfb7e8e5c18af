// The operations the keyword dispatchers run, grouped by area: <Area>Commands.cpp
// holds those that act, Pending<Area>Commands.cpp those of a later piece of work.
// Each takes the view, the call and the value of its dispatcher entry, and returns 1
// when it ran.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "framework/FwWnd.h"
#include "view/commands/CommandDispatch.h"

namespace commands
{

// ---- cursor movement, selection moves and picture scrolling (CursorCommands.cpp)
int CursorHorizontal(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorLines(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorPage(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorHalfPage(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorHorizontalSelect(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorLinesSelect(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorPageSelect(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorHalfPageSelect(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorToEnd(CQvView& view, const CommandCall& call, INT_PTR value);
int CursorToEndSelect(CQvView& view, const CommandCall& call, INT_PTR value);
int MoveViewerSelection(CQvView& view, const CommandCall& call, INT_PTR value);
int AutoScroll(CQvView& view, const CommandCall& call, INT_PTR value);
int MoveBinarySelection(CQvView& view, const CommandCall& call, INT_PTR value);
int MoveGraphicPosition(CQvView& view, const CommandCall& call, INT_PTR value);

// ---- file operations, clipboard and new files (FileCommands.cpp)
int CopyFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int MoveFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int DeleteFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int DeleteFilesWithDefault(CQvView& view, const CommandCall& call, INT_PTR value);
int RenameFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int RenameOneFile(CQvView& view, const CommandCall& call, INT_PTR value);
int RenameExchange(CQvView& view, const CommandCall& call, INT_PTR value);
int ExecuteFile(CQvView& view, const CommandCall& call, INT_PTR value);
int ExecuteWithFileAsParameter(CQvView& view, const CommandCall& call, INT_PTR value);
int ExecuteWithFileAsProgram(CQvView& view, const CommandCall& call, INT_PTR value);
int RunFileKindLoop(CQvView& view, const CommandCall& call, INT_PTR value);
int PackFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int PackFilesZip(CQvView& view, const CommandCall& call, INT_PTR value);
int PackFiles7z(CQvView& view, const CommandCall& call, INT_PTR value);
int PackEachFile(CQvView& view, const CommandCall& call, INT_PTR value);
int PackEachFileZip(CQvView& view, const CommandCall& call, INT_PTR value);
int PackEachFile7z(CQvView& view, const CommandCall& call, INT_PTR value);
int UnpackFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int ViewArchive(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowPictures(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowOnePicture(CQvView& view, const CommandCall& call, INT_PTR value);
int EditFile(CQvView& view, const CommandCall& call, INT_PTR value);
int EditBinary(CQvView& view, const CommandCall& call, INT_PTR value);
int ViewText(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowViewHistory(CQvView& view, const CommandCall& call, INT_PTR value);
int CompareBinary(CQvView& view, const CommandCall& call, INT_PTR value);
int ChangeAttributes(CQvView& view, const CommandCall& call, INT_PTR value);
int ChangeFileTime(CQvView& view, const CommandCall& call, INT_PTR value);
int ChangeTimeAndAttributes(CQvView& view, const CommandCall& call, INT_PTR value);
int MakeDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int MakeShortcut(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenCursorEntry(CQvView& view, const CommandCall& call, INT_PTR value);
int LeaveArchive(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyFilesToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int CutFilesToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int PasteFilesFromClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int PasteShortcut(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenNewFileListDialog(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowProperties(CQvView& view, const CommandCall& call, INT_PTR value);
// The shell call "@Properties" makes; a test stands in for the shell's.
extern BOOL(WINAPI* g_ShellExecuteEx)(SHELLEXECUTEINFOW* info);
// The compare dialog's text of a file: the bare name when it lies directly in the
// prefix folder (CompareAndNewFileCommands.cpp).
CString CompareFieldText(const CString& prefix, const CString& path);
// Menu item 642: the new-file kind settings.
void OpenNewFileSettingsDialog(CQvView& view);
int CreateNewFile(CQvView& view, const CommandCall& call, INT_PTR value);

// ---- marks of the filer panes (SelectionCommands.cpp)
int MarkCursorEntry(CQvView& view, const CommandCall& call, INT_PTR value);
int SelectEntries(CQvView& view, const CommandCall& call, INT_PTR value);
int SelectByOtherPane(CQvView& view, const CommandCall& call, INT_PTR value);
int MarkNewerFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int SelectCursorEntryOnly(CQvView& view, const CommandCall& call, INT_PTR value);

// ---- directories, drives, network, tools and file search (DirectoryCommands.cpp)
int ChangeDirectoryByName(CQvView& view, const CommandCall& call, INT_PTR value);
int ChangeDirectoryByDialog(CQvView& view, const CommandCall& call, INT_PTR value);
// The folder chooser "@Dirchangedlg" opens; a test stands in for the shell's.
extern BOOL (*g_ChooseFolder)(CString& path, CWnd* owner, BOOL includeFiles);
int JumpToDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int AddJumpDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int ArmJumpKey(CQvView& view, const CommandCall& call, INT_PTR value);
int GoRootDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int GoParentDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int GoPreviousDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int GoNextDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowDirectoryHistory(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowDriveList(CQvView& view, const CommandCall& call, INT_PTR value);
int ReloadPanes(CQvView& view, const CommandCall& call, INT_PTR value);
int GoToLinkTarget(CQvView& view, const CommandCall& call, INT_PTR value);
int ChangeDrive(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowNetwork(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowWholeNetwork(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowDirectorySize(CQvView& view, const CommandCall& call, INT_PTR value);
int ConnectNetworkDrive(CQvView& view, const CommandCall& call, INT_PTR value);
int DisconnectNetworkDrive(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenCommandPrompt(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenCommandPromptAsAdmin(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenPowerShell(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenPowerShellAsAdmin(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenLauncher(CQvView& view, const CommandCall& call, INT_PTR value);
int WriteFileList(CQvView& view, const CommandCall& call, INT_PTR value);
int FormatDisk(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowDirectoryTree(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowDriveTree(CQvView& view, const CommandCall& call, INT_PTR value);
int MoveFilesToParent(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowFilesOfSubdirectories(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyToAllDirectories(CQvView& view, const CommandCall& call, INT_PTR value);
int SynchroniseDirectories(CQvView& view, const CommandCall& call, INT_PTR value);
int FindFiles(CQvView& view, const CommandCall& call, INT_PTR value);
int FindFilesInNewDialog(CQvView& view, const CommandCall& call, INT_PTR value);
int FindFileInWindow(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowFindResults(CQvView& view, const CommandCall& call, INT_PTR value);

// ---- search modes, sorting, display settings, panes and previews (DisplayCommands.cpp)
int SetIncrementalSearchMode(CQvView& view, const CommandCall& call, INT_PTR value);
int BackIncrementalSearch(CQvView& view, const CommandCall& call, INT_PTR value);
int SetEasySearchMode(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyNameToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyNameWithoutExtensionToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyFullPathToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyUnpackedFullPathToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyPathToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int CopySizeToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleSplitDirection(CQvView& view, const CommandCall& call, INT_PTR value);
int ChooseSort(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleAutoFileNameWidth(CQvView& view, const CommandCall& call, INT_PTR value);
int TemporarySort(CQvView& view, const CommandCall& call, INT_PTR value);
int SetSortKey(CQvView& view, const CommandCall& call, INT_PTR value);
int SetDirectorySortKey(CQvView& view, const CommandCall& call, INT_PTR value);
int FlipSortOrder(CQvView& view, const CommandCall& call, INT_PTR value);
int FlipDirectorySortOrder(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleFileNamePack(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleWideWindow(CQvView& view, const CommandCall& call, INT_PTR value);
int ChooseWildcard(CQvView& view, const CommandCall& call, INT_PTR value);
int ChooseDisplayFilter(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleDisplayFilter(CQvView& view, const CommandCall& call, INT_PTR value);
int ApplyDisplayFilterPreset(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleOtherPaneContent(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleOtherAlwaysViewer(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleOtherAlwaysDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int SetOtherToSameDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int SetActiveToOtherDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int SetToOtherDirectory(CQvView& view, const CommandCall& call, INT_PTR value);
int SwitchPane(CQvView& view, const CommandCall& call, INT_PTR value);
int SwitchToSidePane(CQvView& view, const CommandCall& call, INT_PTR value);
int MoveSplitter(CQvView& view, const CommandCall& call, INT_PTR value);
int NextWallpaper(CQvView& view, const CommandCall& call, INT_PTR value);
int SetWallpaper(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleFilerInformation(CQvView& view, const CommandCall& call, INT_PTR value);
int EnablePreview(CQvView& view, const CommandCall& call, INT_PTR value);
int EnablePreviewWithSubdirectories(CQvView& view, const CommandCall& call, INT_PTR value);
int TogglePreviewWithSubdirectories(CQvView& view, const CommandCall& call, INT_PTR value);
int DisablePreview(CQvView& view, const CommandCall& call, INT_PTR value);
int TogglePreview(CQvView& view, const CommandCall& call, INT_PTR value);
int EnlargePreview(CQvView& view, const CommandCall& call, INT_PTR value);
int ReducePreview(CQvView& view, const CommandCall& call, INT_PTR value);
int ResetPreviewScale(CQvView& view, const CommandCall& call, INT_PTR value);
int TogglePreviewPictureFilesOnly(CQvView& view, const CommandCall& call, INT_PTR value);

// ---- text viewer, binary editor and graphic viewer (ViewerCommands.cpp)
int CopyTextSelection(CQvView& view, const CommandCall& call, INT_PTR value);
int SetTabWidth(CQvView& view, const CommandCall& call, INT_PTR value);
int SetViewerEncoding(CQvView& view, const CommandCall& call, INT_PTR value);
int ReloadViewerFile(CQvView& view, const CommandCall& call, INT_PTR value);
int SearchText(CQvView& view, const CommandCall& call, INT_PTR value);
int SearchNext(CQvView& view, const CommandCall& call, INT_PTR value);
int SearchPrevious(CQvView& view, const CommandCall& call, INT_PTR value);
int CloseViewer(CQvView& view, const CommandCall& call, INT_PTR value);
int SelectAllText(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleHexDisplay(CQvView& view, const CommandCall& call, INT_PTR value);
int PrintText(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleLineNumbers(CQvView& view, const CommandCall& call, INT_PTR value);
int JumpToLine(CQvView& view, const CommandCall& call, INT_PTR value);
int SaveBinaryFile(CQvView& view, const CommandCall& call, INT_PTR value);
int WriteChangedPositions(CQvView& view, const CommandCall& call, INT_PTR value);
int CompareWithFile(CQvView& view, const CommandCall& call, INT_PTR value);
int EndBinaryEdit(CQvView& view, const CommandCall& call, INT_PTR value);
int JumpToBinaryLine(CQvView& view, const CommandCall& call, INT_PTR value);
int SearchData(CQvView& view, const CommandCall& call, INT_PTR value);
int InputBinaryNibble(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleOverwriteMode(CQvView& view, const CommandCall& call, INT_PTR value);
int InputFromClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int InputFromClipboardRepeated(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyBinaryData(CQvView& view, const CommandCall& call, INT_PTR value);
int PasteBinaryData(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyBinarySelection(CQvView& view, const CommandCall& call, INT_PTR value);
int SelectBinaryRange(CQvView& view, const CommandCall& call, INT_PTR value);
int SelectAllData(CQvView& view, const CommandCall& call, INT_PTR value);
int ZoomPicture(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleScaling(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleTemporaryScaling(CQvView& view, const CommandCall& call, INT_PTR value);
int RotatePicture(CQvView& view, const CommandCall& call, INT_PTR value);
int FlipPicture(CQvView& view, const CommandCall& call, INT_PTR value);
int SetPicturePlacement(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowNextPicture(CQvView& view, const CommandCall& call, INT_PTR value);
int SavePictureAsBmp(CQvView& view, const CommandCall& call, INT_PTR value);
int SaveNextPictureAsBmp(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyPictureToClipboard(CQvView& view, const CommandCall& call, INT_PTR value);
int CopyPictureWithoutAlpha(CQvView& view, const CommandCall& call, INT_PTR value);
int PausePictureDisplay(CQvView& view, const CommandCall& call, INT_PTR value);
int TogglePictureList(CQvView& view, const CommandCall& call, INT_PTR value);
int ExitPictureView(CQvView& view, const CommandCall& call, INT_PTR value);

// ---- sound, CD, media window and audio tags (MediaCommands.cpp)
int MakeMp3Tag(CQvView& view, const CommandCall& call, INT_PTR value);
int MakeMp3TagsOfAll(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleMpegTitleDisplay(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleSmallPicture(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleTagWindow(CQvView& view, const CommandCall& call, INT_PTR value);
int PlaySoundFile(CQvView& view, const CommandCall& call, INT_PTR value);
int StopSoundLoad(CQvView& view, const CommandCall& call, INT_PTR value);
int AddToSoundList(CQvView& view, const CommandCall& call, INT_PTR value);
int PauseSound(CQvView& view, const CommandCall& call, INT_PTR value);
int StopSound(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenSoundList(CQvView& view, const CommandCall& call, INT_PTR value);
int PauseSoundList(CQvView& view, const CommandCall& call, INT_PTR value);
int StopSoundList(CQvView& view, const CommandCall& call, INT_PTR value);
int SoundListNext(CQvView& view, const CommandCall& call, INT_PTR value);
int SoundListPrevious(CQvView& view, const CommandCall& call, INT_PTR value);
int SaveSoundList(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleSoundListRepeat(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleSoundListRandom(CQvView& view, const CommandCall& call, INT_PTR value);
int PlayCd(CQvView& view, const CommandCall& call, INT_PTR value);
int PauseCd(CQvView& view, const CommandCall& call, INT_PTR value);
int StopCd(CQvView& view, const CommandCall& call, INT_PTR value);
int CdNextTrack(CQvView& view, const CommandCall& call, INT_PTR value);
int CdPreviousTrack(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleCdRepeat(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleCdRandom(CQvView& view, const CommandCall& call, INT_PTR value);
int ConfigureCdPlay(CQvView& view, const CommandCall& call, INT_PTR value);
int CdVolumeUp(CQvView& view, const CommandCall& call, INT_PTR value);
int CdVolumeDown(CQvView& view, const CommandCall& call, INT_PTR value);
int SetMediaZoom(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleMediaFullScreen(CQvView& view, const CommandCall& call, INT_PTR value);
int MediaVolumeUp(CQvView& view, const CommandCall& call, INT_PTR value);
int MediaVolumeDown(CQvView& view, const CommandCall& call, INT_PTR value);

// ---- window, settings, function list, devices and the common commands (SystemCommands.cpp)
int QuitProgram(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleMenuBar(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleFullScreen(CQvView& view, const CommandCall& call, INT_PTR value);
int MinimizeWindow(CQvView& view, const CommandCall& call, INT_PTR value);
int ConfigureFilerKeys(CQvView& view, const CommandCall& call, INT_PTR value);
int SaveConfiguration(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenControlPanel(CQvView& view, const CommandCall& call, INT_PTR value);
int ShowControlPanelList(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenDebugDialog(CQvView& view, const CommandCall& call, INT_PTR value);
int RunMenuCommand(CQvView& view, const CommandCall& call, INT_PTR value);
int ConfigureViewerKeys(CQvView& view, const CommandCall& call, INT_PTR value);
int ConfigureBinaryKeys(CQvView& view, const CommandCall& call, INT_PTR value);
int ConfigureGraphicKeys(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleMaximize(CQvView& view, const CommandCall& call, INT_PTR value);
int RunScsiCommand(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenAllScsiTrays(CQvView& view, const CommandCall& call, INT_PTR value);
int CloseAllScsiTrays(CQvView& view, const CommandCall& call, INT_PTR value);
int ApplyDisplaySet(CQvView& view, const CommandCall& call, INT_PTR value);
int ChangeDisplayMode(CQvView& view, const CommandCall& call, INT_PTR value);
int OpenTextBox(CQvView& view, const CommandCall& call, INT_PTR value);
// The view's end closes the text box; its note is saved as its window goes.
void CloseTextBox();
bool IsTextBoxOpen();
int RunFromFunctionList(CQvView& view, const CommandCall& call, INT_PTR value);
int SetAlphaChannelType(CQvView& view, const CommandCall& call, INT_PTR value);
int RunDefaultControlPanel(CQvView& view, const CommandCall& call, INT_PTR value);
int ToggleTaskTray(CQvView& view, const CommandCall& call, INT_PTR value);
int SetAudioPlayback(CQvView& view, const CommandCall& call, INT_PTR value);
int SetAudioCapture(CQvView& view, const CommandCall& call, INT_PTR value);

} // namespace commands
