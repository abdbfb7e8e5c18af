// The files viewed last, newest first; the chosen one is opened again.
#pragma once
#include "app/records/ViewFileHistory.h"
#include "framework/FwDialog.h"

class CViewHistoryDlg : public CDialog
{
public:
    explicit CViewHistoryDlg(CWnd* pParent = nullptr);

    // After IDOK: the chosen record.
    CViewFile m_result;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
