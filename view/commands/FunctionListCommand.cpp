// "@ExeByFuncList": the function list of the active pane's mode; the command chosen
// there runs as if its key had been pressed.
#include "filer/FilerPane.h"
#include "app/dialogs/DialogHelpers.h"
#include "tools/keys/FuncListDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int RunFromFunctionList(CQvView& view, const CommandCall&, INT_PTR)
{
    const int index = view.GetActivePaneIndex();
    const UINT paneMode = index >= 0 && index < 2 && g_Panes[index] != nullptr
                              ? g_Panes[index]->m_mode
                              : static_cast<UINT>(PANE_MODE_FILER);
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CFuncListDlg dlg(paneMode, DialogOwner(&view));
    const INT_PTR result = dlg.DoModal();
    view.StartBinaryCursorTimer();
    if (result == IDOK && !dlg.m_resultKeyword.IsEmpty())
        view.DispatchCommandKeyword(dlg.m_resultKeyword, dlg.m_resultModifier, dlg.m_resultVirtualKey);
    return 1;
}

} // namespace commands
