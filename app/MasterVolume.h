// The master volume of the speakers line.
#pragma once
#include <windows.h>

// The volume control of the speakers line of the last mixer device. Replaceable so
// that tests need no sound device.
struct MixerVolumeApi
{
    // The control's range and current value; FALSE when any step fails.
    BOOL (*readVolume)(DWORD* minimum, DWORD* maximum, DWORD* value);
    // Sets the control's value; FALSE when any step fails.
    BOOL (*writeVolume)(DWORD value);
};
extern MixerVolumeApi g_MixerVolumeApi;

// The control's range and its value as a percentage of it.
BOOL GetMixerVolume(DWORD* minimum, DWORD* maximum, int* percent);
// Sets the value at `percent` (clamped to 0-100) of the control's range.
BOOL SetMixerVolume(int percent);
