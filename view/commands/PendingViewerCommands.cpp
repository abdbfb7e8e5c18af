// Operations of a later piece of work: each is known to its dispatcher, does
// nothing yet and says so in one log line.
#include "view/commands/CommandHandlers.h"
#include "view/commands/PendingCommand.h"

namespace commands
{

QV_PENDING_COMMAND(ToggleHexDisplay)
QV_PENDING_COMMAND(ZoomPicture)
QV_PENDING_COMMAND(ToggleScaling)
QV_PENDING_COMMAND(ToggleTemporaryScaling)
QV_PENDING_COMMAND(RotatePicture)
QV_PENDING_COMMAND(FlipPicture)
QV_PENDING_COMMAND(ShowNextPicture)
QV_PENDING_COMMAND(SavePictureAsBmp)
QV_PENDING_COMMAND(SaveNextPictureAsBmp)
QV_PENDING_COMMAND(CopyPictureToClipboard)
QV_PENDING_COMMAND(CopyPictureWithoutAlpha)
QV_PENDING_COMMAND(PausePictureDisplay)
QV_PENDING_COMMAND(TogglePictureList)
QV_PENDING_COMMAND(ExitPictureView)

} // namespace commands
