// "@SetAudioPlayback <name>" and "@SetAudioCapture <name>": the named device becomes
// the default one.
#include "media/devices/AudioEndpoints.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int SetAudioPlayback(CQvView&, const CommandCall& call, INT_PTR)
{
    if (call.argument && *call.argument)
        SetDefaultAudioEndpointByName(AUDIO_FLOW_PLAYBACK, call.argument);
    return 1;
}

int SetAudioCapture(CQvView&, const CommandCall& call, INT_PTR)
{
    if (call.argument && *call.argument)
        SetDefaultAudioEndpointByName(AUDIO_FLOW_CAPTURE, call.argument);
    return 1;
}

} // namespace commands
