// The two display-mode dialogs: one switches the screen to a listed mode, the other
// keeps the ten modes of the display-mode commands.
#pragma once
#include "app/DisplayModeSlots.h"
#include "framework/FwDialog.h"

#include <vector>

// "解像度の設定" of the command that changes the display mode.
class CChangeDisplayDlg : public CDialog
{
public:
    CChangeDisplayDlg();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<DEVMODEW> m_modes;
};

// "解像度の設定" of the settings menu: the ten slots of the display-mode commands.
class CDisplayModeDlg : public CDialog
{
public:
    CDisplayModeDlg();

    // Slot i from the list's selection: the last item ("設定解除") empties it.
    void SetSlotFromList(int slot);
    void ShowSlot(int slot);

    DisplayModeSlot m_slots[10] = {}; // the working copy; OK stores it

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    std::vector<DEVMODEW> m_modes;
};
