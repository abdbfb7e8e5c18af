// The text viewer's keywords in the order they are compared. "@Allcpldata" and
// "@Binaryedit" stand in its command table: they run what they run in the filer.
#include "view/QvView.h"
#include "view/keys/KeySettings.h"

namespace
{

// clang-format off
const CommandEntry kEntries[] = {
    {L"@Down", {&CQvView::MoveCursorOneLine, 0}, 1, L"CursorLines"},
    {L"@Up", {&CQvView::MoveCursorOneLine, 0}, -1, L"CursorLines"},
    {L"@Beforepage", {&CQvView::MoveCursorByPage, 0}, -1, L"CursorPage"},
    {L"@Nextpage", {&CQvView::MoveCursorByPage, 0}, 1, L"CursorPage"},
    {L"@Nexthalfpage", {&CQvView::MoveCursorByHalfPage, 0}, 1, L"CursorHalfPage"},
    {L"@Beforehalfpage", {&CQvView::MoveCursorByHalfPage, 0}, -1, L"CursorHalfPage"},
    {L"@Selectleft", &CQvView::StepViewerSelection, 0, L"MoveViewerSelection"},
    {L"@Selectright", &CQvView::StepViewerSelection, 1, L"MoveViewerSelection"},
    {L"@Selectup", &CQvView::StepViewerSelection, 2, L"MoveViewerSelection"},
    {L"@Selectdown", &CQvView::StepViewerSelection, 3, L"MoveViewerSelection"},
    {L"@Selectbeforepage", &CQvView::StepViewerSelection, 4, L"MoveViewerSelection"},
    {L"@Selectnextpage", &CQvView::StepViewerSelection, 5, L"MoveViewerSelection"},
    {L"@Selecthalfbeforepage", &CQvView::StepViewerSelection, 6, L"MoveViewerSelection"},
    {L"@Selecthalfnextpage", &CQvView::StepViewerSelection, 7, L"MoveViewerSelection"},
    {L"@Selectfirstline", &CQvView::StepViewerSelection, 8, L"MoveViewerSelection"},
    {L"@Selectendline", &CQvView::StepViewerSelection, 9, L"MoveViewerSelection"},
    {L"@Autonext", &CQvView::StartAutoScroll, 1, L"AutoScroll"},
    {L"@Autobefore", &CQvView::StartAutoScroll, -1, L"AutoScroll"},
    {L"@Jumpfirstline", {&CQvView::MoveCursorToEnd, 0}, -1, L"CursorToEnd"},
    {L"@Jumpendline", {&CQvView::MoveCursorToEnd, 0}, 1, L"CursorToEnd"},
    {L"@Clipcopy", &CQvView::CopyTextSelection, 0, L"CopyTextSelection"},
    {L"@Changedevide", &CQvView::ToggleSplitDirection, 0, L"ToggleSplitDirection"},
    {L"@Wide", &CQvView::OnSplitPanes, 0, L"ToggleWideWindow"},
    {L"@Lineword1", &CQvView::RunMenuCommand, 618, L"RunMenuCommand"},
    {L"@Lineword2", &CQvView::RunMenuCommand, 619, L"RunMenuCommand"},
    {L"@Lineword3", &CQvView::RunMenuCommand, 620, L"RunMenuCommand"},
    {L"@Lineword4", &CQvView::RunMenuCommand, 621, L"RunMenuCommand"},
    {L"@Lineword5", &CQvView::RunMenuCommand, 622, L"RunMenuCommand"},
    {L"@Changetab4", &CQvView::SetTabWidth, 4, L"SetTabWidth"},
    {L"@Changetab8", &CQvView::SetTabWidth, 8, L"SetTabWidth"},
    {L"@CharCodeShiftJIS", &CQvView::SetViewerEncoding, 0, L"SetViewerEncoding"},
    {L"@CharCodeEUC", &CQvView::SetViewerEncoding, 1, L"SetViewerEncoding"},
    {L"@CharCodeJIS", &CQvView::SetViewerEncoding, 3, L"SetViewerEncoding"},
    {L"@CharCodeUNICODE", &CQvView::SetViewerEncoding, 2, L"SetViewerEncoding"},
    {L"@CharCodeUTF8", &CQvView::SetViewerEncoding, 4, L"SetViewerEncoding"},
    {L"@CharCodeAuto", &CQvView::SetViewerEncoding, 5, L"SetViewerEncoding"},
    {L"@ReloadFile", &CQvView::ReloadViewerFile, 0, L"ReloadViewerFile"},
    {L"@ViewHistory", &CQvView::ShowViewHistory, 0, L"ShowViewHistory"},
    {L"@Changewindow", &CQvView::SwitchActivePane, -1, L"SwitchPane"},
    {L"@Changefilerdata", &CQvView::ToggleOtherPaneContent, 0, L"ToggleOtherPaneContent"},
    {L"@Searchstr", &CQvView::SearchText, 0, L"SearchText"},
    {L"@Nextsearch", &CQvView::SearchNext, 0, L"SearchNext"},
    {L"@Beforesearch", &CQvView::SearchPrevious, 0, L"SearchPrevious"},
    {L"@Closeviewer", &CQvView::CloseViewer, 0, L"CloseViewer"},
    {L"@Returnkey", {&CQvView::OpenCursorEntry, 1}, 0, L"OpenCursorEntry"},
    {L"@Quit", &CQvView::QuitProgram, 0, L"QuitProgram"},
    {L"@Viewallselect", &CQvView::SelectAllText, 0, L"SelectAllText"},
    {L"@Changebinary", &CQvView::ToggleHexDisplay, 0, L"ToggleHexDisplay"},
    {L"@Textprint", &CQvView::PrintText, 0, L"PrintText"},
    {L"@Linenumber", &CQvView::ToggleLineNumbers, 0, L"ToggleLineNumbers"},
    {L"@Jumptext", &CQvView::JumpToLine, 0, L"JumpToLine"},
    {L"@Changedmenu", &CQvView::ToggleMenuBar, 0, L"ToggleMenuBar"},
    {L"@Downdevide", &CQvView::MoveSplitter, 1, L"MoveSplitter"},
    {L"@Updevide", &CQvView::MoveSplitter, -1, L"MoveSplitter"},
    {L"@Fullscreen", &CQvView::ToggleFullScreen, 0, L"ToggleFullScreen"},
    {L"@Showicon", &CQvView::MinimizeWindow, 0, L"MinimizeWindow"},
    {L"@Viewerkey", &CQvView::RunViewKeySettings, VIEW_KEYS_VIEWER, L"ConfigureViewerKeys"},
    {L"@ConfigSave", &CQvView::SaveAllSettings, 0, L"SaveConfiguration"},
    {L"@Nextfilerbmp", &CQvView::NextWallpaper, 0, L"NextWallpaper"},
    {L"@Allcpldata", &CQvView::ShowControlPanelList, 0, L"ShowControlPanelList"},
    {L"@Binaryedit", &CQvView::OnBinaryEditStart, 0, L"EditBinary"},
};
// clang-format on

} // namespace

const CommandEntry* GetViewerDispatcherEntries(int* count)
{
    return ListEntries(kEntries, count);
}
