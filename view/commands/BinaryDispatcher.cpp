// The binary editor's keywords in the order they are compared. The shipped bindings
// Ctrl+A "@AllSelect" and Ctrl+X "@Editend" are aliases of "@Binaryallselect" and
// "@Binaryeditend", so that the stored texts act as they read.
#include "view/QvView.h"
#include "view/keys/KeySettings.h"

// In ViewCommands, as the functions the rows declare.
namespace ViewCommands
{

// clang-format off
static const CommandEntry kEntries[] = {
    {L"@Filesave", &CQvView::OnBinarySave, 0, L"SaveBinaryFile"},
    {L"@Changedposout", &CQvView::OnBinaryWriteChangeList, 0, L"WriteChangedPositions"},
    {L"@Cmpbinaryfile", &CQvView::OnBinaryCompare, 0, L"CompareWithFile"},
    {L"@Binaryeditend", &CQvView::OnBinaryEditEnd, 0, L"EndBinaryEdit"},
    {L"@Quit", &CQvView::QuitProgram, 0, L"QuitProgram"},
    {L"@Right", {&CQvView::MoveCursorOneColumn, 0}, 1, L"CursorHorizontal"},
    {L"@Left", {&CQvView::MoveCursorOneColumn, 0}, -1, L"CursorHorizontal"},
    {L"@Down", {&CQvView::MoveCursorOneLine, 0}, 1, L"CursorLines"},
    {L"@Up", {&CQvView::MoveCursorOneLine, 0}, -1, L"CursorLines"},
    {L"@Beforepage", {&CQvView::MoveCursorByPage, 0}, -1, L"CursorPage"},
    {L"@Nextpage", {&CQvView::MoveCursorByPage, 0}, 1, L"CursorPage"},
    {L"@Nexthalfpage", {&CQvView::MoveCursorByHalfPage, 0}, 1, L"CursorHalfPage"},
    {L"@Beforehalfpage", {&CQvView::MoveCursorByHalfPage, 0}, -1, L"CursorHalfPage"},
    COMMAND_ROW(L"@Selectleft", MoveBinarySelection, 0),
    COMMAND_ROW(L"@Selectright", MoveBinarySelection, 1),
    COMMAND_ROW(L"@Selectup", MoveBinarySelection, 2),
    COMMAND_ROW(L"@Selectdown", MoveBinarySelection, 3),
    COMMAND_ROW(L"@Selectbeforepage", MoveBinarySelection, 4),
    COMMAND_ROW(L"@Selectnextpage", MoveBinarySelection, 5),
    {L"@Autonext", &CQvView::StartAutoScroll, 1, L"AutoScroll"},
    {L"@Autobefore", &CQvView::StartAutoScroll, -1, L"AutoScroll"},
    {L"@Jumpline", &CQvView::OnBinaryJumpLine, 0, L"JumpToBinaryLine"},
    {L"@Jumpfirstline", {&CQvView::MoveCursorToEnd, 0}, -1, L"CursorToEnd"},
    {L"@Jumpendline", {&CQvView::MoveCursorToEnd, 0}, 1, L"CursorToEnd"},
    {L"@Searchdata", &CQvView::OnBinarySearch, 0, L"SearchData"},
    {L"@Nextsearch", &CQvView::SearchNext, 0, L"SearchNext"},
    {L"@Beforesearch", &CQvView::SearchPrevious, 0, L"SearchPrevious"},
    {L"@Input0", &CQvView::InputBinaryNibble, 0, L"InputBinaryNibble"},
    {L"@Input1", &CQvView::InputBinaryNibble, 1, L"InputBinaryNibble"},
    {L"@Input2", &CQvView::InputBinaryNibble, 2, L"InputBinaryNibble"},
    {L"@Input3", &CQvView::InputBinaryNibble, 3, L"InputBinaryNibble"},
    {L"@Input4", &CQvView::InputBinaryNibble, 4, L"InputBinaryNibble"},
    {L"@Input5", &CQvView::InputBinaryNibble, 5, L"InputBinaryNibble"},
    {L"@Input6", &CQvView::InputBinaryNibble, 6, L"InputBinaryNibble"},
    {L"@Input7", &CQvView::InputBinaryNibble, 7, L"InputBinaryNibble"},
    {L"@Input8", &CQvView::InputBinaryNibble, 8, L"InputBinaryNibble"},
    {L"@Input9", &CQvView::InputBinaryNibble, 9, L"InputBinaryNibble"},
    {L"@InputA", &CQvView::InputBinaryNibble, 10, L"InputBinaryNibble"},
    {L"@InputB", &CQvView::InputBinaryNibble, 11, L"InputBinaryNibble"},
    {L"@InputC", &CQvView::InputBinaryNibble, 12, L"InputBinaryNibble"},
    {L"@InputD", &CQvView::InputBinaryNibble, 13, L"InputBinaryNibble"},
    {L"@InputE", &CQvView::InputBinaryNibble, 14, L"InputBinaryNibble"},
    {L"@InputF", &CQvView::InputBinaryNibble, 15, L"InputBinaryNibble"},
    {L"@Changeddata", &CQvView::OnBinaryReplace, 0, L"ToggleOverwriteMode"},
    {L"@Inputpaste", &CQvView::OnBinaryInputPaste, 0, L"InputFromClipboard"},
    {L"@Inputpasteloop", &CQvView::OnBinaryInputPasteLoop, 0, L"InputFromClipboardRepeated"},
    {L"@Copydata", &CQvView::OnBinaryCopyData, 0, L"CopyBinaryData"},
    {L"@Pastedata", &CQvView::OnBinaryPasteData, 0, L"PasteBinaryData"},
    {L"@Clipcopy", &CQvView::OnBinaryCopyHex, 0, L"CopyBinarySelection"},
    {L"@Selectrange", &CQvView::OnBinarySelectRange, 0, L"SelectBinaryRange"},
    {L"@Binaryallselect", &CQvView::OnBinarySelectAll, 0, L"SelectAllData"},
    COMMAND_ROW(L"@Changedevide", ToggleSplitDirection, 0),
    {L"@Wide", &CQvView::OnSplitPanes, 0, L"ToggleWideWindow"},
    {L"@Changewindow", &CQvView::SwitchActivePane, -1, L"SwitchPane"},
    COMMAND_ROW(L"@Changefilerdata", ToggleOtherPaneContent, 0),
    COMMAND_ROW(L"@Changedmenu", ToggleMenuBar, 0),
    {L"@Downdevide", &CQvView::MoveSplitter, 1, L"MoveSplitter"},
    {L"@Updevide", &CQvView::MoveSplitter, -1, L"MoveSplitter"},
    {L"@Fullscreen", &CQvView::ToggleFullScreen, 0, L"ToggleFullScreen"},
    {L"@Showicon", &CQvView::MinimizeWindow, 0, L"MinimizeWindow"},
    {L"@Binarykey", &CQvView::OnBinaryKeyConfig, 0, L"ConfigureBinaryKeys"},
    {L"@ConfigSave", &CQvView::SaveAllSettings, 0, L"SaveConfiguration"},
    COMMAND_ROW(L"@Nextfilerbmp", NextWallpaper, 0),
    {L"@AllSelect", &CQvView::OnBinarySelectAll, 0, L"SelectAllData"},
    {L"@Editend", &CQvView::OnBinaryEditEnd, 0, L"EndBinaryEdit"},
    {L"@Allcpldata", &CQvView::ShowControlPanelList, 0, L"ShowControlPanelList"},
};
// clang-format on

} // namespace ViewCommands

const CommandEntry* GetBinaryDispatcherEntries(int* count)
{
    return ListEntries(ViewCommands::kEntries, count);
}
