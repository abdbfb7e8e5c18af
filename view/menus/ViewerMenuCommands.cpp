// The menu items of the viewers' and the quick search's commands: each runs the
// handler its keyword runs, so that a menu choice and a key do the same.
#include "view/menus/ViewerMenuCommands.h"

#include "app/Directories.h"
#include "app/dialogs/MessageBoxDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

#include <shellapi.h>

namespace
{
struct MenuCommandRow
{
    UINT id;
    CommandHandler handler;
    INT_PTR value;
};

int OpenHelpFile(CQvView& view, const CommandCall&, INT_PTR)
{
    CString folder;
    GetProgramDir(folder);
    SetCurrentDir(folder);
    const HINSTANCE result = ShellExecuteW(view.m_hWnd, nullptr, L"QV.CHM", nullptr, folder, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) < 32)
        ShowMessageBoxDlg(view.m_hWnd ? &view : nullptr, L"QV.CHMが開けませんでした", nullptr, 0);
    return 1;
}

int OpenViewerSettings(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnViewerSettings();
    return 1;
}

int OpenViewerKindSettings(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnViewerKindSettings();
    return 1;
}

const MenuCommandRow kRows[] = {
    {555, OpenHelpFile, 0},
    {933, commands::SearchText, 0},
    {704, commands::SearchNext, 0},
    {187, commands::SearchPrevious, 0},
    {282, commands::CompareBinary, 0},
    {116, commands::ShowNextPicture, -10},
    {117, commands::ShowNextPicture, 10},
    {184, commands::ShowNextPicture, -1},
    {142, commands::MoveFilesToParent, 0},
    {685, commands::ShowFilesOfSubdirectories, 0},
    {243, commands::ToggleHexDisplay, 0},
    {1017, commands::PrintText, 0},
    {259, commands::ToggleLineNumbers, 0},
    {575, commands::JumpToLine, 0},
    {683, commands::SetIncrementalSearchMode, 0},
    {707, commands::SetIncrementalSearchMode, 1},
    {939, commands::SetIncrementalSearchMode, 2},
    {315, commands::SetIncrementalSearchMode, 3},
    {429, commands::SetIncrementalSearchMode, 4},
    {682, commands::SetEasySearchMode, 0},
    {706, commands::SetEasySearchMode, 1},
    {938, commands::SetEasySearchMode, 2},
    {314, commands::SetEasySearchMode, 3},
    {428, commands::SetEasySearchMode, 4},
    {1064, OpenViewerSettings, 0},
    {605, OpenViewerKindSettings, 0},
};

const MenuCommandRow* FindRow(UINT id)
{
    for (const MenuCommandRow& row : kRows)
        if (row.id == id)
            return &row;
    return nullptr;
}
} // namespace

BOOL IsViewerMenuCommand(UINT id)
{
    return FindRow(id) != nullptr;
}

BOOL RunViewerMenuCommand(CQvView& view, UINT id)
{
    const MenuCommandRow* row = FindRow(id);
    if (row == nullptr)
        return FALSE;
    CommandCall call = {L"", L""};
    row->handler(view, call, row->value);
    return TRUE;
}
