// The text viewer's keywords in the order they are compared. "@Allcpldata" and
// "@Binaryedit" stand in its command table: they run what they run in the filer.
#include "view/QvView.h"
#include "view/keys/KeySettings.h"

// In ViewCommands, as the functions the rows declare.
namespace ViewCommands
{

// clang-format off
static const CommandEntry kEntries[] = {
    {L"@Down", {&CQvView::MoveCursorOneLine, 0}, 1, L"CursorLines"},
    {L"@Up", {&CQvView::MoveCursorOneLine, 0}, -1, L"CursorLines"},
    {L"@Beforepage", {&CQvView::MoveCursorByPage, 0}, -1, L"CursorPage"},
    {L"@Nextpage", {&CQvView::MoveCursorByPage, 0}, 1, L"CursorPage"},
    {L"@Nexthalfpage", {&CQvView::MoveCursorByHalfPage, 0}, 1, L"CursorHalfPage"},
    {L"@Beforehalfpage", {&CQvView::MoveCursorByHalfPage, 0}, -1, L"CursorHalfPage"},
    COMMAND_ROW(L"@Selectleft", MoveViewerSelection, 0),
    COMMAND_ROW(L"@Selectright", MoveViewerSelection, 1),
    COMMAND_ROW(L"@Selectup", MoveViewerSelection, 2),
    COMMAND_ROW(L"@Selectdown", MoveViewerSelection, 3),
    COMMAND_ROW(L"@Selectbeforepage", MoveViewerSelection, 4),
    COMMAND_ROW(L"@Selectnextpage", MoveViewerSelection, 5),
    COMMAND_ROW(L"@Selecthalfbeforepage", MoveViewerSelection, 6),
    COMMAND_ROW(L"@Selecthalfnextpage", MoveViewerSelection, 7),
    COMMAND_ROW(L"@Selectfirstline", MoveViewerSelection, 8),
    COMMAND_ROW(L"@Selectendline", MoveViewerSelection, 9),
    {L"@Autonext", &CQvView::StartAutoScroll, 1, L"AutoScroll"},
    {L"@Autobefore", &CQvView::StartAutoScroll, -1, L"AutoScroll"},
    {L"@Jumpfirstline", {&CQvView::MoveCursorToEnd, 0}, -1, L"CursorToEnd"},
    {L"@Jumpendline", {&CQvView::MoveCursorToEnd, 0}, 1, L"CursorToEnd"},
    {L"@Clipcopy", &CQvView::CopyTextSelection, 0, L"CopyTextSelection"},
    COMMAND_ROW(L"@Changedevide", ToggleSplitDirection, 0),
    {L"@Wide", &CQvView::OnSplitPanes, 0, L"ToggleWideWindow"},
    {L"@Lineword1", &CQvView::RunMenuCommand, 618, L"RunMenuCommand"},
    {L"@Lineword2", &CQvView::RunMenuCommand, 619, L"RunMenuCommand"},
    {L"@Lineword3", &CQvView::RunMenuCommand, 620, L"RunMenuCommand"},
    {L"@Lineword4", &CQvView::RunMenuCommand, 621, L"RunMenuCommand"},
    {L"@Lineword5", &CQvView::RunMenuCommand, 622, L"RunMenuCommand"},
    COMMAND_ROW(L"@Changetab4", SetTabWidth, 4),
    COMMAND_ROW(L"@Changetab8", SetTabWidth, 8),
    {L"@CharCodeShiftJIS", &CQvView::SetViewerEncoding, 0, L"SetViewerEncoding"},
    {L"@CharCodeEUC", &CQvView::SetViewerEncoding, 1, L"SetViewerEncoding"},
    {L"@CharCodeJIS", &CQvView::SetViewerEncoding, 3, L"SetViewerEncoding"},
    {L"@CharCodeUNICODE", &CQvView::SetViewerEncoding, 2, L"SetViewerEncoding"},
    {L"@CharCodeUTF8", &CQvView::SetViewerEncoding, 4, L"SetViewerEncoding"},
    {L"@CharCodeAuto", &CQvView::SetViewerEncoding, 5, L"SetViewerEncoding"},
    {L"@ReloadFile", &CQvView::ReloadViewerFile, 0, L"ReloadViewerFile"},
    COMMAND_ROW(L"@ViewHistory", ShowViewHistory, 0),
    {L"@Changewindow", &CQvView::SwitchActivePane, -1, L"SwitchPane"},
    COMMAND_ROW(L"@Changefilerdata", ToggleOtherPaneContent, 0),
    COMMAND_ROW(L"@Searchstr", SearchText, 0),
    {L"@Nextsearch", &CQvView::SearchNext, 0, L"SearchNext"},
    {L"@Beforesearch", &CQvView::SearchPrevious, 0, L"SearchPrevious"},
    {L"@Closeviewer", &CQvView::CloseViewer, 0, L"CloseViewer"},
    {L"@Returnkey", {&CQvView::OpenCursorEntry, 1}, 0, L"OpenCursorEntry"},
    {L"@Quit", &CQvView::QuitProgram, 0, L"QuitProgram"},
    COMMAND_ROW(L"@Viewallselect", SelectAllText, 0),
    COMMAND_ROW(L"@Changebinary", ToggleHexDisplay, 0),
    {L"@Textprint", &CQvView::PrintText, 0, L"PrintText"},
    {L"@Linenumber", &CQvView::ToggleLineNumbers, 0, L"ToggleLineNumbers"},
    COMMAND_ROW(L"@Jumptext", JumpToLine, 0),
    COMMAND_ROW(L"@Changedmenu", ToggleMenuBar, 0),
    {L"@Downdevide", &CQvView::MoveSplitter, 1, L"MoveSplitter"},
    {L"@Updevide", &CQvView::MoveSplitter, -1, L"MoveSplitter"},
    {L"@Fullscreen", &CQvView::ToggleFullScreen, 0, L"ToggleFullScreen"},
    {L"@Showicon", &CQvView::MinimizeWindow, 0, L"MinimizeWindow"},
    {L"@Viewerkey", &CQvView::OnViewerKeySettings, 0, L"ConfigureViewerKeys"},
    {L"@ConfigSave", &CQvView::SaveAllSettings, 0, L"SaveConfiguration"},
    COMMAND_ROW(L"@Nextfilerbmp", NextWallpaper, 0),
    {L"@Allcpldata", &CQvView::ShowControlPanelList, 0, L"ShowControlPanelList"},
    {L"@Binaryedit", &CQvView::OnBinaryEditStart, 0, L"EditBinary"},
};
// clang-format on

} // namespace ViewCommands

const CommandEntry* GetViewerDispatcherEntries(int* count)
{
    return ListEntries(ViewCommands::kEntries, count);
}
