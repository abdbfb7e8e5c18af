// What the system commands keep: the full-screen state and the audio devices the
// dynamic menu items were built from.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwGdi.h"
#include "media/devices/AudioEndpoints.h"

// "@Fullscreen": the frame without caption and borders over its monitor. The graphic
// viewer keeps a flag and a rectangle of its own.
struct FullScreenRecord
{
    int ordinary = 0;
    CRect ordinaryRect;
    int graphic = 0;
    CRect graphicRect;
    int graphicRectSaved = 0;
    // The frame's style before the first entry, given back on the last leave.
    LONG_PTR frameStyle = 0;
};

struct SystemViewState
{
    // The view fills the screen; the right-click menu then offers a way back.
    int fullScreenOn = 0;
    FullScreenRecord fullScreen;
    // The output and input devices of the multimedia menu's dynamic items.
    CArray<CEndPointData> outputDevices;
    CArray<CEndPointData> inputDevices;
};
