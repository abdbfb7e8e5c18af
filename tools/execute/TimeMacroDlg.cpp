// The time-macro dialog.
#include "tools/execute/TimeMacroDlg.h"
#include "app/SettingStrings.h"
#include "res/ShellDialogs.h"

CSetTimeMacroDlg::CSetTimeMacroDlg(CWnd* pParent) : CScriptedDialog(IDD_SET_TIME_MACRO, pParent)
{
    for (int i = 0; i < 5; ++i)
        m_formats[i] = g_TimeMacros[i];
}

BOOL CSetTimeMacroDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
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

CDialogQuestion CSetTimeMacroDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_SET_TIME_MACRO;
    question.caption = L"時間マクロの設定";
    for (int i = 0; i < 5; ++i)
        question.items.push_back(m_formats[i]);
    return question;
}

void CSetTimeMacroDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    CString rest = answer.text;
    for (int i = 0; i < 5; ++i)
    {
        const int end = rest.Find(L'\n');
        m_formats[i] = end < 0 ? rest : rest.Left(end);
        rest = end < 0 ? CString() : rest.Mid(end + 1);
        g_TimeMacros[i] = m_formats[i];
    }
}
