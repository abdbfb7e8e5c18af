// Common keywords that act already: menu commands by id, quitting, and the control
// panel's command line.
#include "util/Globals.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/system/SystemShellApi.h"

namespace commands
{

int RunMenuCommand(CQvView& view, const CommandCall& call, INT_PTR value)
{
    if (!view.OnCmdMsg(static_cast<UINT>(value), CN_COMMAND, nullptr, nullptr))
        ReportPendingCommand(L"RunMenuCommand", call.keyword);
    return 1;
}

int QuitProgram(CQvView& view, const CommandCall&, INT_PTR)
{
    // The frame's close asks the quit question; a command posts it, so that the
    // question comes after the key has been handled.
    if (view.m_hWnd)
    {
        CWnd* frame = view.GetTopLevelParent();
        if (frame != nullptr && frame->m_hWnd)
            frame->PostMessage(WM_CLOSE, 0, 0);
    }
    return 1;
}

int RunDefaultControlPanel(CQvView&, const CommandCall& call, INT_PTR)
{
    if (call.argument == nullptr || call.argument[0] == 0)
        return 0;
    CString commandLine;
    commandLine.Format(L"%s\\%s", static_cast<LPCWSTR>(g_SystemDir), call.argument);
    RunControlPanelApplet(commandLine);
    return 1;
}

} // namespace commands
