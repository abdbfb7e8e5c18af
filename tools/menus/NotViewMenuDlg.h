// The top-level menus hidden per mode: edits a copy of g_HiddenMenuTable that OK
// writes back.
#pragma once
#include "app/settings/GeneralToolSettings.h"
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"

class CNotViewMenuDlg : public CDialog
{
public:
    explicit CNotViewMenuDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void StoreShownRow();
    void ShowRow(int row);

    HiddenMenuRow m_table[kHiddenMenuRowCount];
    int m_shownRow = 0;

protected:
    CCheckListBox m_items;
};
