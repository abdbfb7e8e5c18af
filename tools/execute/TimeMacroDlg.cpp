// The time-macro dialog.
#include "tools/execute/TimeMacroDlg.h"
#include "app/SettingStrings.h"
#include "res/ShellDialogs.h"

CSetTimeMacroDlg::CSetTimeMacroDlg(CWnd* pParent) : CDialog(IDD_SET_TIME_MACRO, pParent)
{
    for (int i = 0; i < 5; ++i)
        m_formats[i] = g_TimeMacros[i];
}

BOOL CSetTimeMacroDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < 5; ++i)
        ::SetDlgItemTextW(m_hWnd, IDC_TIME_MACRO_1 + i, m_formats[i]);
    return TRUE;
}

void CSetTimeMacroDlg::OnOK()
{
    for (int i = 0; i < 5; ++i)
    {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(m_hWnd, IDC_TIME_MACRO_1 + i, text, ARRAYSIZE(text));
        m_formats[i] = text;
        g_TimeMacros[i] = text;
    }
    EndDialog(IDOK);
}
