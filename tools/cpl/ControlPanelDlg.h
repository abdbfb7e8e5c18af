// The list of the control-panel applets: the chosen one runs, and the dialog stays
// open for the next.
#pragma once
#include "framework/FwDialog.h"

class CControlPanelDlg : public CDialog
{
public:
    explicit CControlPanelDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    // "開く": the selected applet runs; the dialog stays.
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ShowDescription();
};
