// Common keywords: menu commands by id, quitting, and the control panel's command
// line.
#include "util/Globals.h"
#include "util/Log.h"
#include "view/QvView.h"
#include "view/system/SystemShellApi.h"

int CQvView::RunMenuCommand(const CommandCall& call, INT_PTR value)
{
    if (!OnCmdMsg(static_cast<UINT>(value), CN_COMMAND, nullptr, nullptr))
        WriteLog(nullptr, L"RunMenuCommand: この操作はまだ実装されていないため何もしません (%s)",
                 call.keyword != nullptr ? call.keyword : L"");
    return 1;
}

void CQvView::QuitProgram()
{
    // The frame's close asks the quit question; a command posts it, so that the
    // question comes after the key has been handled.
    if (m_hWnd)
    {
        CWnd* frame = GetTopLevelParent();
        if (frame != nullptr && frame->m_hWnd)
            frame->PostMessage(WM_CLOSE, 0, 0);
    }
}

int CQvView::RunDefaultControlPanel(const CommandCall& call, INT_PTR)
{
    if (call.argument == nullptr || call.argument[0] == 0)
        return 0;
    CString commandLine;
    commandLine.Format(L"%s\\%s", static_cast<LPCWSTR>(g_SystemDir), call.argument);
    RunControlPanelApplet(commandLine);
    return 1;
}
