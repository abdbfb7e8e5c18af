// Keywords that hand files to other programs: the run dialog, the file-kind loop,
// command prompt and PowerShell, new files and names on the clipboard.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

#include <oleidl.h>

namespace commands
{

int ExecuteFile(CQvView& view, const CommandCall&, INT_PTR)
{
    view.RunExecuteCommand(0);
    return 1;
}

int ExecuteWithFileAsParameter(CQvView& view, const CommandCall&, INT_PTR)
{
    view.RunExecuteCommand(1);
    return 1;
}

int ExecuteWithFileAsProgram(CQvView& view, const CommandCall&, INT_PTR)
{
    view.RunExecuteCommand(2);
    return 1;
}

int RunFileKindLoop(CQvView& view, const CommandCall&, INT_PTR)
{
    view.RunFileKindLoop();
    return 1;
}

int CreateNewFile(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.CreateNewFile(static_cast<int>(value));
    return 1;
}

int OpenCommandPrompt(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OpenCommandPrompt(nullptr);
    return 1;
}

int OpenCommandPromptAsAdmin(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OpenCommandPrompt(L"RunAs");
    return 1;
}

int OpenPowerShell(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OpenPowerShell(nullptr);
    return 1;
}

int OpenPowerShellAsAdmin(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OpenPowerShell(L"RunAs");
    return 1;
}

int CopyNameToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyEntryNamesToClipboard(0);
    return 1;
}

int CopyNameWithoutExtensionToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyEntryNamesToClipboard(5);
    return 1;
}

int CopyFullPathToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyEntryNamesToClipboard(1);
    return 1;
}

int CopyPathToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyEntryNamesToClipboard(3);
    return 1;
}

int CopyUnpackedFullPathToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyEntryNamesToClipboard(2);
    return 1;
}

int CopySizeToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyEntryNamesToClipboard(4);
    return 1;
}

int MarkNewerFiles(CQvView& view, const CommandCall&, INT_PTR)
{
    view.MarkNewerFiles();
    return 1;
}

int PasteShortcut(CQvView& view, const CommandCall&, INT_PTR)
{
    view.PasteShortcuts();
    return 1;
}

int EditFile(CQvView& view, const CommandCall&, INT_PTR)
{
    view.EditCursorEntry();
    return 1;
}

int CopyFilesToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyTargetsToClipboard(DROPEFFECT_COPY);
    return 1;
}

int CutFilesToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyTargetsToClipboard(DROPEFFECT_MOVE);
    return 1;
}

} // namespace commands
