// "@ExeByFuncList": the function list of the active pane's mode; the command chosen
// there runs as if its key had been pressed.
#include "filer/FilerPane.h"
#include "app/dialogs/DialogHelpers.h"
#include "tools/keys/FuncListDlg.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::RunFromFunctionList()
{
    const int index = GetActivePaneIndex();
    const CFilerPane* pane = PaneAt(index);
    const UINT paneMode = pane != nullptr ? pane->m_mode : static_cast<UINT>(PANE_MODE_FILER);
    CViewBusyGuard busy(*this);
    CFuncListDlg dlg(paneMode, DialogOwner(this));
    const INT_PTR result = dlg.DoModal();
    // The chosen keyword runs as an action of its own.
    busy.Release();
    if (result == IDOK && !dlg.m_resultKeyword.IsEmpty())
        DispatchCommandKeyword(dlg.m_resultKeyword, dlg.m_resultModifier, dlg.m_resultVirtualKey);
}
