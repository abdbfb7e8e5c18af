// "@SetAudioPlayback <name>" and "@SetAudioCapture <name>": the named device becomes
// the default one.
#include "media/devices/AudioEndpoints.h"
#include "view/QvView.h"

int CQvView::SetAudioPlayback(const CommandCall& call, INT_PTR)
{
    if (call.argument && *call.argument)
        SetDefaultOutputDevice(call.argument);
    return 1;
}

int CQvView::SetAudioCapture(const CommandCall& call, INT_PTR)
{
    if (call.argument && *call.argument)
        SetDefaultInputDevice(call.argument);
    return 1;
}
