// The CD player dialog: the drive, the disc's tracks, the program and the playing
// track with its elapsed time.
#pragma once
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"

// The CD-ROM drives ("X:") the dialog offers; tests replace it.
typedef void (*CdDriveListFn)(CStringArray& drives);
extern CdDriveListFn g_CdDriveList;

class CCdPlayDlg : public CDialog
{
public:
    CCdPlayDlg();
    ~CCdPlayDlg() override;

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
};
