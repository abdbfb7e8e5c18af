// The states and commands of the menu items made at run time for the control-panel
// applets (ID_MENU_CPL_FIRST on) and the audio devices (playback from
// ID_MENU_OUTPUT_DEVICE_FIRST, recording from ID_MENU_INPUT_DEVICE_FIRST, ten each).
#pragma once
#include <windows.h>

class CCmdUI;
class CQvView;

// Opens the applet of the item.
void RunAppletItem(UINT id);
// A device item is checked while its device is the system's default of its list.
void UpdateAudioDeviceItem(CQvView& view, CCmdUI& ui, UINT id);
// Makes the item's device the default of its list; an item past the devices listed
// does nothing.
void ChooseAudioDeviceItem(CQvView& view, UINT id);
