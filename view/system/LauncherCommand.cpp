// "@Lancher": the launcher list, and the chosen entry run for the active filer pane.
#include "filer/FilerPane.h"
#include "app/dialogs/DialogHelpers.h"
#include "tools/launcher/LancherDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/ViewBusyGuard.h"

namespace commands
{

int OpenLauncher(CQvView& view, const CommandCall&, INT_PTR)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return 1;
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
    return 1;
}

} // namespace commands
