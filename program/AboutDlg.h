// The About dialog: product, edition and a link to the home page.
#pragma once
#include "framework/FwDialog.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    BOOL OnInitDialog() override;

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLinkClicked();

    DECLARE_MESSAGE_MAP()

private:
    HFONT m_hLinkFont = nullptr;           // underlined copy of the link's font
    HCURSOR m_hCursorBeforeLink = nullptr; // put back when the pointer leaves the link
};
