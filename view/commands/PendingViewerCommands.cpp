// Operations of a later piece of work: each is known to its dispatcher, does
// nothing yet and says so in one log line.
#include "view/commands/CommandHandlers.h"
#include "view/commands/PendingCommand.h"

namespace commands
{

QV_PENDING_COMMAND(ToggleHexDisplay)
QV_PENDING_COMMAND(PrintText)
QV_PENDING_COMMAND(SaveBinaryFile)
QV_PENDING_COMMAND(WriteChangedPositions)
QV_PENDING_COMMAND(CompareWithFile)
QV_PENDING_COMMAND(EndBinaryEdit)
QV_PENDING_COMMAND(JumpToBinaryLine)
QV_PENDING_COMMAND(SearchData)
QV_PENDING_COMMAND(InputBinaryNibble)
QV_PENDING_COMMAND(ToggleOverwriteMode)
QV_PENDING_COMMAND(InputFromClipboard)
QV_PENDING_COMMAND(InputFromClipboardRepeated)
QV_PENDING_COMMAND(CopyBinaryData)
QV_PENDING_COMMAND(PasteBinaryData)
QV_PENDING_COMMAND(CopyBinarySelection)
QV_PENDING_COMMAND(SelectBinaryRange)
QV_PENDING_COMMAND(SelectAllData)
QV_PENDING_COMMAND(SavePictureAsBmp)
QV_PENDING_COMMAND(SaveNextPictureAsBmp)

} // namespace commands
