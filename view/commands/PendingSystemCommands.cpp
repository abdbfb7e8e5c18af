// Operations of a later piece of work: each is known to its dispatcher, does
// nothing yet and says so in one log line.
#include "view/commands/CommandHandlers.h"
#include "view/commands/PendingCommand.h"

namespace commands
{

QV_PENDING_COMMAND(ToggleMenuBar)
QV_PENDING_COMMAND(ToggleFullScreen)
QV_PENDING_COMMAND(MinimizeWindow)
QV_PENDING_COMMAND(SaveConfiguration)
QV_PENDING_COMMAND(OpenControlPanel)
QV_PENDING_COMMAND(ShowControlPanelList)
QV_PENDING_COMMAND(OpenDebugDialog)
QV_PENDING_COMMAND(ToggleMaximize)
QV_PENDING_COMMAND(ApplyDisplaySet)
QV_PENDING_COMMAND(ChangeDisplayMode)
QV_PENDING_COMMAND(RunFromFunctionList)

} // namespace commands
