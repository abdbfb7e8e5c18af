// Operations of a later piece of work: each is known to its dispatcher, does
// nothing yet and says so in one log line.
#include "view/commands/CommandHandlers.h"
#include "view/commands/PendingCommand.h"

namespace commands
{

QV_PENDING_COMMAND(ChangeDirectoryByDialog)
QV_PENDING_COMMAND(AddJumpDirectory)
QV_PENDING_COMMAND(ShowDirectoryHistory)
QV_PENDING_COMMAND(ShowWholeNetwork)
QV_PENDING_COMMAND(ConnectNetworkDrive)
QV_PENDING_COMMAND(DisconnectNetworkDrive)
QV_PENDING_COMMAND(OpenLauncher)
QV_PENDING_COMMAND(FormatDisk)
QV_PENDING_COMMAND(SynchroniseDirectories)
QV_PENDING_COMMAND(FindFiles)
QV_PENDING_COMMAND(FindFilesInNewDialog)
QV_PENDING_COMMAND(FindFileInWindow)
QV_PENDING_COMMAND(ShowFindResults)

} // namespace commands
