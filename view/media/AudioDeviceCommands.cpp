// "@SetAudioPlayback <name>" and "@SetAudioCapture <name>": the named device becomes
// the default one.
#include "media/devices/AudioEndpoints.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int SetAudioPlayback(CQvView& view, const CommandCall& call, INT_PTR)
{
    if (call.argument && *call.argument)
        view.SetDefaultOutputDevice(call.argument);
    return 1;
}

int SetAudioCapture(CQvView& view, const CommandCall& call, INT_PTR)
{
    if (call.argument && *call.argument)
        view.SetDefaultInputDevice(call.argument);
    return 1;
}

} // namespace commands
