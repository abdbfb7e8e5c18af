#include "program/AboutDlg.h"

#include "framework/FwApp.h"
#include "framework/FwGdi.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_SETCURSOR()
ON_CONTROL(STN_CLICKED, IDC_ABOUT_LINK, OnLinkClicked)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

CAboutDlg::~CAboutDlg()
{
    if (m_hLinkFont)
        DeleteObject(m_hLinkFont);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* link = GetDlgItem(IDC_ABOUT_LINK))
    {
        LOGFONTW logFont = {};
        HFONT font = link->GetFont();
        if (font && GetObjectW(font, sizeof(logFont), &logFont))
        {
            logFont.lfUnderline = TRUE;
            m_hLinkFont = CreateFontIndirectW(&logFont);
            if (m_hLinkFont)
                link->SetFont(m_hLinkFont);
        }
    }
    CString edition(L"UNICODE版");
    edition += L"(64ビット版)";
    SetDlgItemText(IDC_ABOUT_EDITION, edition);
    return TRUE;
}

HBRUSH CAboutDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_ABOUT_LINK)
        pDC->SetTextColor(RGB(0, 0, 0xFF));
    return brush;
}

BOOL CAboutDlg::OnSetCursor(CWnd*, UINT, UINT)
{
    CWnd* link = GetDlgItem(IDC_ABOUT_LINK);
    POINT pointer = {};
    RECT rect = {};
    GetCursorPos(&pointer);
    if (link)
        link->GetWindowRect(&rect);
    const bool overLink = link && pointer.x >= rect.left && pointer.x <= rect.right &&
                          pointer.y >= rect.top && pointer.y <= rect.bottom;
    if (overLink)
    {
        HCURSOR previous = SetCursor(LoadCursorW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDC_LINK_CURSOR)));
        if (!m_hCursorBeforeLink)
            m_hCursorBeforeLink = previous;
    }
    else if (m_hCursorBeforeLink)
    {
        SetCursor(m_hCursorBeforeLink);
        m_hCursorBeforeLink = nullptr;
    }
    return TRUE;
}

void CAboutDlg::OnLinkClicked()
{
    CString address;
    GetDlgItemText(IDC_ABOUT_LINK, address);
    ShellExecuteW(m_hWnd, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}
