// "@ExeByFuncList": the function list of the active pane's mode; the command chosen
// there runs as if its key had been pressed.
#include "filer/FilerPane.h"
#include "tools/keys/FuncListDlg.h"
#include "view/QvView.h"

void CQvView::RunFromFunctionList()
{
    const int index = GetActivePaneIndex();
    const UINT paneMode = index >= 0 && index < 2 && g_Panes[index] != nullptr
                              ? g_Panes[index]->m_mode
                              : static_cast<UINT>(PANE_MODE_FILER);
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CFuncListDlg dlg(paneMode, m_hWnd != nullptr ? this : nullptr);
    const INT_PTR result = dlg.DoModal();
    StartBinaryCursorTimer();
    if (result == IDOK && !dlg.m_resultKeyword.IsEmpty())
        DispatchCommandKeyword(dlg.m_resultKeyword, dlg.m_resultModifier, dlg.m_resultVirtualKey);
}
