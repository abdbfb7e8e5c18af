// The CD player dialog: the drive, the disc's tracks, the program and the playing
// track with its elapsed time.
#pragma once
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"

// Where the dialog takes its drives from; tests replace it.
struct CdPlayDlgSeam
{
    // The CD-ROM drives ("X:") the dialog offers.
    void (*listDrives)(CStringArray& drives);
};

extern CdPlayDlgSeam g_CdPlayDlgSeam;

class CCdPlayDlg : public CDialog
{
public:
    CCdPlayDlg();
    ~CCdPlayDlg() override;

    // The seven picture buttons (previous, play, pause, stop, next, add, remove) in
    // the order of their pictures.
    static constexpr int BUTTON_COUNT = 7;
    // Each button's picture by the player's state: with `load` the pictures are loaded
    // first and every button is set; otherwise only the changed ones.
    void UpdateButtons(BOOL load);
    // Which picture button `slot` shows: 0 active, 1 inactive, -1 none yet.
    int ShownPicture(int slot) const { return m_shown[slot]; }

    void FillDiscList(LPCWSTR drive, BOOL reload);
    void FillProgramList(int selection);
    void Play(BOOL fromSelection);
    void OnTick();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CString SelectedDrive() const;
    int Selection(int id) const;
    HFONT m_font;
    HANDLE m_change;
    // Active and inactive picture of each button; add and remove have no inactive one.
    HBITMAP m_pictures[BUTTON_COUNT][2] = {};
    int m_shown[BUTTON_COUNT] = {-1, -1, -1, -1, -1, -1, -1};
};
