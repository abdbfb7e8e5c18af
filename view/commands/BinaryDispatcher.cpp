// The binary editor's keywords in the order they are compared. The shipped bindings
// Ctrl+A "@AllSelect" and Ctrl+X "@Editend" are aliases of "@Binaryallselect" and
// "@Binaryeditend", so that the stored texts act as they read.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace
{

// clang-format off
const CommandEntry kEntries[] = {
    QV_COMMAND(L"@Filesave", SaveBinaryFile, 0),
    QV_COMMAND(L"@Changedposout", WriteChangedPositions, 0),
    QV_COMMAND(L"@Cmpbinaryfile", CompareWithFile, 0),
    QV_COMMAND(L"@Binaryeditend", EndBinaryEdit, 0),
    QV_COMMAND(L"@Quit", QuitProgram, 0),
    QV_COMMAND(L"@Right", CursorHorizontal, 1),
    QV_COMMAND(L"@Left", CursorHorizontal, -1),
    QV_COMMAND(L"@Down", CursorLines, 1),
    QV_COMMAND(L"@Up", CursorLines, -1),
    QV_COMMAND(L"@Beforepage", CursorPage, -1),
    QV_COMMAND(L"@Nextpage", CursorPage, 1),
    QV_COMMAND(L"@Nexthalfpage", CursorHalfPage, 1),
    QV_COMMAND(L"@Beforehalfpage", CursorHalfPage, -1),
    QV_COMMAND(L"@Selectleft", MoveBinarySelection, 0),
    QV_COMMAND(L"@Selectright", MoveBinarySelection, 1),
    QV_COMMAND(L"@Selectup", MoveBinarySelection, 2),
    QV_COMMAND(L"@Selectdown", MoveBinarySelection, 3),
    QV_COMMAND(L"@Selectbeforepage", MoveBinarySelection, 4),
    QV_COMMAND(L"@Selectnextpage", MoveBinarySelection, 5),
    QV_COMMAND(L"@Autonext", AutoScroll, 1),
    QV_COMMAND(L"@Autobefore", AutoScroll, -1),
    QV_COMMAND(L"@Jumpline", JumpToBinaryLine, 0),
    QV_COMMAND(L"@Jumpfirstline", CursorToEnd, -1),
    QV_COMMAND(L"@Jumpendline", CursorToEnd, 1),
    QV_COMMAND(L"@Searchdata", SearchData, 0),
    QV_COMMAND(L"@Nextsearch", SearchNext, 0),
    QV_COMMAND(L"@Beforesearch", SearchPrevious, 0),
    QV_COMMAND(L"@Input0", InputBinaryNibble, 0),
    QV_COMMAND(L"@Input1", InputBinaryNibble, 1),
    QV_COMMAND(L"@Input2", InputBinaryNibble, 2),
    QV_COMMAND(L"@Input3", InputBinaryNibble, 3),
    QV_COMMAND(L"@Input4", InputBinaryNibble, 4),
    QV_COMMAND(L"@Input5", InputBinaryNibble, 5),
    QV_COMMAND(L"@Input6", InputBinaryNibble, 6),
    QV_COMMAND(L"@Input7", InputBinaryNibble, 7),
    QV_COMMAND(L"@Input8", InputBinaryNibble, 8),
    QV_COMMAND(L"@Input9", InputBinaryNibble, 9),
    QV_COMMAND(L"@InputA", InputBinaryNibble, 10),
    QV_COMMAND(L"@InputB", InputBinaryNibble, 11),
    QV_COMMAND(L"@InputC", InputBinaryNibble, 12),
    QV_COMMAND(L"@InputD", InputBinaryNibble, 13),
    QV_COMMAND(L"@InputE", InputBinaryNibble, 14),
    QV_COMMAND(L"@InputF", InputBinaryNibble, 15),
    QV_COMMAND(L"@Changeddata", ToggleOverwriteMode, 0),
    QV_COMMAND(L"@Inputpaste", InputFromClipboard, 0),
    QV_COMMAND(L"@Inputpasteloop", InputFromClipboardRepeated, 0),
    QV_COMMAND(L"@Copydata", CopyBinaryData, 0),
    QV_COMMAND(L"@Pastedata", PasteBinaryData, 0),
    QV_COMMAND(L"@Clipcopy", CopyBinarySelection, 0),
    QV_COMMAND(L"@Selectrange", SelectBinaryRange, 0),
    QV_COMMAND(L"@Binaryallselect", SelectAllData, 0),
    QV_COMMAND(L"@Changedevide", ToggleSplitDirection, 0),
    QV_COMMAND(L"@Wide", ToggleWideWindow, 0),
    QV_COMMAND(L"@Changewindow", SwitchPane, -1),
    QV_COMMAND(L"@Changefilerdata", ToggleOtherPaneContent, 0),
    QV_COMMAND(L"@Changedmenu", ToggleMenuBar, 0),
    QV_COMMAND(L"@Downdevide", MoveSplitter, 1),
    QV_COMMAND(L"@Updevide", MoveSplitter, -1),
    QV_COMMAND(L"@Fullscreen", ToggleFullScreen, 0),
    QV_COMMAND(L"@Showicon", MinimizeWindow, 0),
    QV_COMMAND(L"@Binarykey", ConfigureBinaryKeys, 0),
    QV_COMMAND(L"@ConfigSave", SaveConfiguration, 0),
    QV_COMMAND(L"@Nextfilerbmp", NextWallpaper, 0),
    QV_COMMAND(L"@AllSelect", SelectAllData, 0),
    QV_COMMAND(L"@Editend", EndBinaryEdit, 0),
    QV_COMMAND(L"@Allcpldata", ShowControlPanelList, 0),
};
// clang-format on

} // namespace

const CommandEntry* GetBinaryDispatcherEntries(int* count)
{
    *count = static_cast<int>(sizeof(kEntries) / sizeof(kEntries[0]));
    return kEntries;
}

int CQvView::ExecuteBinaryCommand(LPCWSTR keyword)
{
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    if (const CommandEntry* entry = FindDispatcherEntry(DISPATCH_BINARY, keyword))
    {
        RunDispatcherEntry(*this, *entry, keyword, L"");
        return 1;
    }
    return ExecuteCommonCommand(keyword);
}
