// Operations of a later piece of work: each is known to its dispatcher, does
// nothing yet and says so in one log line.
#include "view/commands/CommandHandlers.h"
#include "view/commands/PendingCommand.h"

namespace commands
{

QV_PENDING_COMMAND(ChangeDirectoryByDialog)

} // namespace commands
