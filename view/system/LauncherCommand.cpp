// "@Lancher": the launcher list, and the chosen entry run for the active filer pane.
#include "filer/FilerPane.h"
#include "app/dialogs/DialogHelpers.h"
#include "tools/launcher/LancherDlg.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::OpenLauncher()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return;
    CViewBusyGuard busy(*this);
    CLancherDlg dialog(m_LancherExe, m_LancherPar, m_LancherKey, m_LancherExeDir, DialogOwner(this));
    if (dialog.DoModal() == IDOK && dialog.m_result >= 0 && dialog.m_result < m_LancherExe.GetSize())
    {
        // Copies: the command may change the lists before it returns.
        const CString exe = m_LancherExe[dialog.m_result];
        const CString par = m_LancherPar[dialog.m_result];
        const CString dir = m_LancherExeDir[dialog.m_result];
        ExecuteCommandLine(index, exe, par, dir);
    }
}
