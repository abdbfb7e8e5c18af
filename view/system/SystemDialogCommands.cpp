// The commands that hand over to the system: disk format, network drives, the
// control-panel applets and their list ("@Allcpldata", in every pane mode).
#include "app/dialogs/DialogHelpers.h"
#include "app/records/ControlPanelApplets.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/system/SystemShellApi.h"
#include "view/ViewBusyGuard.h"
#include "tools/cpl/ControlPanelDlg.h"
#include "tools/kinds/KindExeDlg.h"
#include "tools/launcher/LancherDlg.h"
#include "util/Globals.h"
#include "util/Log.h"

#include <winnetwk.h>

void CQvView::OnFormatDisk()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_DRIVE_LIST, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    if (pane.m_cursor < 0 || pane.m_cursor >= pane.m_driveList.GetSize())
        return;
    const CString& name = pane.m_driveList[pane.m_cursor].m_name;
    if (name.IsEmpty() || name[0] == L'\\' || name.GetLength() < 2 || name[1] != L':')
        return;
    CString root;
    root.Format(L"%s\\", static_cast<LPCWSTR>(name));
    // Fixed disks, network drives and CD-ROMs are never offered to the format dialog.
    const UINT type = g_SystemShellApi.getDriveType(root);
    if (type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_CDROM)
        return;
    const wchar_t letter = static_cast<wchar_t>(towupper(name[0]));
    if (letter < L'A' || letter > L'Z')
        return;
    g_SystemShellApi.formatDrive(m_hWnd, static_cast<UINT>(letter - L'A'));
}

void CQvView::OnOpenControlPanelApplet()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_CURSOR_NOT_DOT | PANE_CHECK_NOT_EMPTY))
        return;
    const CFileInfo* entry = pane.GetCursorEntry();
    if (entry == nullptr || entry->IsDirectory() || !entry->IsExtension(L"CPL"))
        return;
    RunControlPanelApplet(entry->GetFullPath());
}

VIEW_COMMAND(ConnectNetworkDrive)
{
    CViewBusyGuard busy(view);
    g_SystemShellApi.connectDialog(view.m_hWnd, RESOURCETYPE_DISK);
}

VIEW_COMMAND(DisconnectNetworkDrive)
{
    CViewBusyGuard busy(view);
    g_SystemShellApi.disconnectDialog(view.m_hWnd, RESOURCETYPE_DISK);
}

VIEW_COMMAND(OpenControlPanel)
{
    CViewBusyGuard busy(view);
    view.OnOpenControlPanelApplet();
}

void CQvView::ShowControlPanelList()
{
    CViewBusyGuard busy(*this);
    CControlPanelDlg dialog(DialogOwner(this));
    dialog.DoModal();
}

// ---- Menu 598 "拡張子別実行形式設定": both file-kind tables and their options.
void CQvView::OnExtensionExecuteSettings()
{
    CViewBusyGuard busy(*this);
    CKindExeDlg dialog(DialogOwner(this));
    dialog.DoModal();
}

// ---- "@Lancher": the launcher list, and the chosen entry run for the active filer pane.
VIEW_COMMAND(OpenLauncher)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return;
    CViewBusyGuard busy(view);
    CLancherDlg dialog(view.m_LancherExe, view.m_LancherPar, view.m_LancherKey, view.m_LancherExeDir,
                       DialogOwner(&view));
    if (dialog.DoModal() == IDOK && dialog.m_result >= 0 && dialog.m_result < view.m_LancherExe.GetSize())
    {
        // Copies: the command may change the lists before it returns.
        const CString exe = view.m_LancherExe[dialog.m_result];
        const CString par = view.m_LancherPar[dialog.m_result];
        const CString dir = view.m_LancherExeDir[dialog.m_result];
        view.ExecuteCommandLine(index, exe, par, dir);
    }
}

// ---- Common keywords: menu commands by id, quitting, and the control panel's command
// line.
int CQvView::RunMenuCommand(const CommandCall&, INT_PTR value)
{
    OnCmdMsg(static_cast<UINT>(value), CN_COMMAND, nullptr, nullptr);
    return 1;
}

void CQvView::QuitProgram()
{
    // "@Quit" and the menu's exit item ask the quit question unless it is switched off;
    // the frame's close box asks only when told to always ask.
    Quit(0);
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
