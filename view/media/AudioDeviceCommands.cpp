// "@SetAudioPlayback <name>" and "@SetAudioCapture <name>": the named device becomes
// the default one.
#include "media/devices/AudioEndpoints.h"
#include "view/QvView.h"

void CQvView::SetAudioPlayback(LPCWSTR endpointId)
{
    if (endpointId && *endpointId)
        SetDefaultOutputDevice(endpointId);
}

void CQvView::SetAudioCapture(LPCWSTR endpointId)
{
    if (endpointId && *endpointId)
        SetDefaultInputDevice(endpointId);
}
