// The defaults of series saving: prefix, start number, folder, and whether the
// source's own name is taken instead of prefix and number.
#pragma once
#include "framework/FwDialog.h"

class CSaveBmpDefDlg : public CDialog
{
public:
    explicit CSaveBmpDefDlg(CWnd* parent = nullptr);

    // Shown from and, on OK, stored to g_BmpSaveSettings.
    CString m_prefix;
    CString m_folder;
    int m_sameName = 0;
    int m_startNumber = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void EnableSeriesFields();
};
