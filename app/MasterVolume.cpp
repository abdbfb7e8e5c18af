#include "app/MasterVolume.h"
#include <mmsystem.h>

namespace
{

// Opens the last mixer device and finds the volume control of its speakers line.
bool OpenSpeakerVolume(HMIXER* mixer, MIXERCONTROLW* control)
{
    const UINT devices = mixerGetNumDevs();
    if (devices == 0 || mixerOpen(mixer, devices - 1, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
    {
        return false;
    }
    MIXERLINEW line = {};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    MIXERLINECONTROLSW controls = {};
    controls.cbStruct = sizeof(controls);
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(*control);
    controls.pamxctrl = control;
    control->cbStruct = sizeof(*control);
    if (mixerGetLineInfoW((HMIXEROBJ)*mixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
    {
        mixerClose(*mixer);
        return false;
    }
    controls.dwLineID = line.dwLineID;
    if (mixerGetLineControlsW((HMIXEROBJ)*mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR)
    {
        mixerClose(*mixer);
        return false;
    }
    return true;
}

void PrepareDetails(MIXERCONTROLDETAILS* details, const MIXERCONTROLW& control,
                    MIXERCONTROLDETAILS_UNSIGNED* value)
{
    *details = {};
    details->cbStruct = sizeof(*details);
    details->dwControlID = control.dwControlID;
    details->cChannels = 1;
    details->cbDetails = sizeof(*value);
    details->paDetails = value;
}

BOOL ReadSpeakerVolume(DWORD* minimum, DWORD* maximum, DWORD* value)
{
    HMIXER mixer = nullptr;
    MIXERCONTROLW control = {};
    if (!OpenSpeakerVolume(&mixer, &control))
    {
        return FALSE;
    }
    MIXERCONTROLDETAILS details;
    MIXERCONTROLDETAILS_UNSIGNED current = {};
    PrepareDetails(&details, control, &current);
    const bool ok = mixerGetControlDetailsW((HMIXEROBJ)mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE) ==
                    MMSYSERR_NOERROR;
    mixerClose(mixer);
    if (!ok)
    {
        return FALSE;
    }
    *minimum = control.Bounds.dwMinimum;
    *maximum = control.Bounds.dwMaximum;
    *value = current.dwValue;
    return TRUE;
}

BOOL WriteSpeakerVolume(DWORD value)
{
    HMIXER mixer = nullptr;
    MIXERCONTROLW control = {};
    if (!OpenSpeakerVolume(&mixer, &control))
    {
        return FALSE;
    }
    MIXERCONTROLDETAILS details;
    MIXERCONTROLDETAILS_UNSIGNED wanted = {value};
    PrepareDetails(&details, control, &wanted);
    const bool ok = mixerSetControlDetails((HMIXEROBJ)mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE) ==
                    MMSYSERR_NOERROR;
    mixerClose(mixer);
    return ok ? TRUE : FALSE;
}

} // namespace

MixerVolumeApi g_MixerVolumeApi = {ReadSpeakerVolume, WriteSpeakerVolume};

BOOL GetMixerVolume(DWORD* minimum, DWORD* maximum, int* percent)
{
    DWORD value = 0;
    if (!g_MixerVolumeApi.readVolume(minimum, maximum, &value))
    {
        return FALSE;
    }
    *percent = 0;
    if (*maximum != *minimum)
    {
        *percent = (int)(((LONGLONG)value - *minimum) * 100 / ((LONGLONG)*maximum - *minimum));
    }
    return TRUE;
}

BOOL SetMixerVolume(int percent)
{
    percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    DWORD minimum = 0, maximum = 0, value = 0;
    if (!g_MixerVolumeApi.readVolume(&minimum, &maximum, &value))
    {
        return FALSE;
    }
    // The inverse of the reading: a percentage of the range above its minimum, so
    // that setting what GetMixerVolume reported leaves the volume where it was.
    value = (DWORD)(minimum + (LONGLONG)percent * ((LONGLONG)maximum - minimum) / 100);
    return g_MixerVolumeApi.writeVolume(value);
}
