// Operations of a later piece of work: each is known to its dispatcher, does
// nothing yet and says so in one log line.
#include "view/commands/CommandHandlers.h"
#include "view/commands/PendingCommand.h"

namespace commands
{

QV_PENDING_COMMAND(ToggleFileNamePack)
QV_PENDING_COMMAND(ChooseDisplayFilter)
QV_PENDING_COMMAND(ToggleOtherAlwaysDirectory)
QV_PENDING_COMMAND(SetToOtherDirectory)
QV_PENDING_COMMAND(MoveSplitter)
QV_PENDING_COMMAND(SetWallpaper)
QV_PENDING_COMMAND(EnablePreview)
QV_PENDING_COMMAND(EnablePreviewWithSubdirectories)
QV_PENDING_COMMAND(TogglePreviewWithSubdirectories)
QV_PENDING_COMMAND(DisablePreview)
QV_PENDING_COMMAND(TogglePreview)
QV_PENDING_COMMAND(EnlargePreview)
QV_PENDING_COMMAND(ReducePreview)
QV_PENDING_COMMAND(ResetPreviewScale)
QV_PENDING_COMMAND(TogglePreviewPictureFilesOnly)

} // namespace commands
