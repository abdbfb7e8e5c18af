// The text viewer's keywords in the order they are compared. "@Allcpldata" and
// "@Binaryedit" stand in its command table: they run what they run in the filer.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace
{

// clang-format off
const CommandEntry kEntries[] = {
    QV_COMMAND(L"@Down", CursorLines, 1),
    QV_COMMAND(L"@Up", CursorLines, -1),
    QV_COMMAND(L"@Beforepage", CursorPage, -1),
    QV_COMMAND(L"@Nextpage", CursorPage, 1),
    QV_COMMAND(L"@Nexthalfpage", CursorHalfPage, 1),
    QV_COMMAND(L"@Beforehalfpage", CursorHalfPage, -1),
    QV_COMMAND(L"@Selectleft", MoveViewerSelection, 0),
    QV_COMMAND(L"@Selectright", MoveViewerSelection, 1),
    QV_COMMAND(L"@Selectup", MoveViewerSelection, 2),
    QV_COMMAND(L"@Selectdown", MoveViewerSelection, 3),
    QV_COMMAND(L"@Selectbeforepage", MoveViewerSelection, 4),
    QV_COMMAND(L"@Selectnextpage", MoveViewerSelection, 5),
    QV_COMMAND(L"@Selecthalfbeforepage", MoveViewerSelection, 6),
    QV_COMMAND(L"@Selecthalfnextpage", MoveViewerSelection, 7),
    QV_COMMAND(L"@Selectfirstline", MoveViewerSelection, 8),
    QV_COMMAND(L"@Selectendline", MoveViewerSelection, 9),
    QV_COMMAND(L"@Autonext", AutoScroll, 1),
    QV_COMMAND(L"@Autobefore", AutoScroll, -1),
    QV_COMMAND(L"@Jumpfirstline", CursorToEnd, -1),
    QV_COMMAND(L"@Jumpendline", CursorToEnd, 1),
    QV_COMMAND(L"@Clipcopy", CopyTextSelection, 0),
    QV_COMMAND(L"@Changedevide", ToggleSplitDirection, 0),
    QV_COMMAND(L"@Wide", ToggleWideWindow, 0),
    QV_COMMAND(L"@Lineword1", RunMenuCommand, 618),
    QV_COMMAND(L"@Lineword2", RunMenuCommand, 619),
    QV_COMMAND(L"@Lineword3", RunMenuCommand, 620),
    QV_COMMAND(L"@Lineword4", RunMenuCommand, 621),
    QV_COMMAND(L"@Lineword5", RunMenuCommand, 622),
    QV_COMMAND(L"@Changetab4", SetTabWidth, 4),
    QV_COMMAND(L"@Changetab8", SetTabWidth, 8),
    QV_COMMAND(L"@CharCodeShiftJIS", SetViewerEncoding, 0),
    QV_COMMAND(L"@CharCodeEUC", SetViewerEncoding, 1),
    QV_COMMAND(L"@CharCodeJIS", SetViewerEncoding, 3),
    QV_COMMAND(L"@CharCodeUNICODE", SetViewerEncoding, 2),
    QV_COMMAND(L"@CharCodeUTF8", SetViewerEncoding, 4),
    QV_COMMAND(L"@CharCodeAuto", SetViewerEncoding, 5),
    QV_COMMAND(L"@ReloadFile", ReloadViewerFile, 0),
    QV_COMMAND(L"@ViewHistory", ShowViewHistory, 0),
    QV_COMMAND(L"@Changewindow", SwitchPane, -1),
    QV_COMMAND(L"@Changefilerdata", ToggleOtherPaneContent, 0),
    QV_COMMAND(L"@Searchstr", SearchText, 0),
    QV_COMMAND(L"@Nextsearch", SearchNext, 0),
    QV_COMMAND(L"@Beforesearch", SearchPrevious, 0),
    QV_COMMAND(L"@Closeviewer", CloseViewer, 0),
    QV_COMMAND(L"@Returnkey", OpenCursorEntry, 0),
    QV_COMMAND(L"@Quit", QuitProgram, 0),
    QV_COMMAND(L"@Viewallselect", SelectAllText, 0),
    QV_COMMAND(L"@Changebinary", ToggleHexDisplay, 0),
    QV_COMMAND(L"@Textprint", PrintText, 0),
    QV_COMMAND(L"@Linenumber", ToggleLineNumbers, 0),
    QV_COMMAND(L"@Jumptext", JumpToLine, 0),
    QV_COMMAND(L"@Changedmenu", ToggleMenuBar, 0),
    QV_COMMAND(L"@Downdevide", MoveSplitter, 1),
    QV_COMMAND(L"@Updevide", MoveSplitter, -1),
    QV_COMMAND(L"@Fullscreen", ToggleFullScreen, 0),
    QV_COMMAND(L"@Showicon", MinimizeWindow, 0),
    QV_COMMAND(L"@Viewerkey", ConfigureViewerKeys, 0),
    QV_COMMAND(L"@ConfigSave", SaveConfiguration, 0),
    QV_COMMAND(L"@Nextfilerbmp", NextWallpaper, 0),
    QV_COMMAND(L"@Allcpldata", ShowControlPanelList, 0),
    QV_COMMAND(L"@Binaryedit", EditBinary, 0),
};
// clang-format on

} // namespace

const CommandEntry* GetViewerDispatcherEntries(int* count)
{
    *count = static_cast<int>(sizeof(kEntries) / sizeof(kEntries[0]));
    return kEntries;
}

int CQvView::ExecuteViewerCommand(LPCWSTR keyword)
{
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    if (const CommandEntry* entry = FindDispatcherEntry(DISPATCH_VIEWER, keyword))
    {
        RunDispatcherEntry(*this, *entry, keyword, L"");
        return 1;
    }
    return ExecuteCommonCommand(keyword);
}
