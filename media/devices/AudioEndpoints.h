// The active audio playback and recording devices of Windows, and switching the
// default one.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// Data flows.
enum
{
    AUDIO_FLOW_PLAYBACK = 0,
    AUDIO_FLOW_CAPTURE = 1,
};

// The role every default-device query and change uses (multimedia).
const int AUDIO_ROLE_MULTIMEDIA = 1;

struct CEndPointData
{
    CString m_id;
    // Empty when it could not be read; such a device cannot be chosen by name.
    CString m_name;
};

// 1 with the active devices of the flow; 0 with an empty array when the system
// cannot enumerate them.
int EnumAudioEndpoints(int flow, CArray<CEndPointData>& out);
// 1 when the default device's friendly name was read.
int GetDefaultAudioEndpoint(int flow, CEndPointData& out);
// Makes every active device of the flow with that name (case-insensitive) the
// default in turn; 1 when the enumeration worked, also when no name matched.
int SetDefaultAudioEndpointByName(int flow, LPCWSTR name);
// The COM result of the last call made; the creation's failure code when the
// system offers no way to change the default.
HRESULT SetDefaultAudioEndpoint(LPCWSTR id, int role);
