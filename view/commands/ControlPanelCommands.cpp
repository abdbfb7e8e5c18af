// "@Allcpldata": the applet list of every pane mode.
#include "tools/cpl/ControlPanelDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int ShowControlPanelList(CQvView& view, const CommandCall&, INT_PTR)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CControlPanelDlg dialog(DialogOwner(&view));
    dialog.DoModal();
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace commands
