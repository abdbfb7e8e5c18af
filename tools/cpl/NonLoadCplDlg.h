// The ten applet files the start-up scan leaves alone.
#pragma once
#include "framework/FwDialog.h"

class CNonLoadCplDlg : public CDialog
{
public:
    explicit CNonLoadCplDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    // Writes all ten rows back, empty ones included.
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The file-open dialog of a row's "参照": TRUE with the chosen path.
    virtual BOOL ChooseFile(CString& path);
};
