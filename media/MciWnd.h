// The hidden media window that plays sounds, videos and CD audio.
#pragma once
#include "framework/FwWnd.h"

class CMciWnd : public CWnd
{
public:
    // The settings variables the window applies and updates: zoom in percent when a
    // video opens, and the volume in MCI units (1000 = 100 %).
    int* m_pZoom = nullptr;
    int* m_pVolume = nullptr;
};

// The one media window of the program; null while there is none.
extern CMciWnd* g_MciWnd;

// Creates the hidden media window (owned by the parent when given); null when it
// cannot be created. Until media playback exists there is no window to create, and
// the program runs without one.
CMciWnd* CreateMciWnd(HWND hWndParent);

// Stops playback and destroys g_MciWnd, which becomes null; nothing when there is
// none.
void DestroyMciWnd();
