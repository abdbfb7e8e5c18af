// Operations of a later piece of work: each is known to its dispatcher, does
// nothing yet and says so in one log line.
#include "view/commands/CommandHandlers.h"
#include "view/commands/PendingCommand.h"

namespace commands
{

QV_PENDING_COMMAND(MakeMp3Tag)
QV_PENDING_COMMAND(MakeMp3TagsOfAll)
QV_PENDING_COMMAND(ToggleMpegTitleDisplay)
QV_PENDING_COMMAND(ToggleSmallPicture)
QV_PENDING_COMMAND(ToggleTagWindow)
QV_PENDING_COMMAND(OpenSoundList)
QV_PENDING_COMMAND(SaveSoundList)
QV_PENDING_COMMAND(PlayCd)
QV_PENDING_COMMAND(PauseCd)
QV_PENDING_COMMAND(StopCd)
QV_PENDING_COMMAND(CdNextTrack)
QV_PENDING_COMMAND(CdPreviousTrack)
QV_PENDING_COMMAND(ToggleCdRepeat)
QV_PENDING_COMMAND(ToggleCdRandom)
QV_PENDING_COMMAND(ConfigureCdPlay)
QV_PENDING_COMMAND(CdVolumeUp)
QV_PENDING_COMMAND(CdVolumeDown)

} // namespace commands
