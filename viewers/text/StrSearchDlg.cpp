#include "viewers/text/StrSearchDlg.h"

#include "util/Globals.h"
#include "app/settings/ViewerSettings.h"
#include "framework/FwLock.h"
#include "res/ViewerDialogs.h"

CStrSearchDlg::CStrSearchDlg(CWnd* pParent) : CScriptedDialog(IDD_STR_SEARCH, pParent) {}

BOOL CStrSearchDlg::OnInitDialog()
{
    CWnd* combo = GetDlgItem(IDC_STR_SEARCH_TEXT);
    if (combo != nullptr)
    {
        // The history is shared with the settings writer on another thread.
        CHandleLock lock(g_DataMutex);
        for (INT_PTR i = 0; i < g_ViewerSearchHistory.GetSize(); ++i)
            combo->SendMessage(CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)g_ViewerSearchHistory.GetAt(i));
    }
    return CScriptedDialog::OnInitDialog();
}

void CStrSearchDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBString(pDX, IDC_STR_SEARCH_TEXT, m_text);
    DDX_Check(pDX, IDC_STR_SEARCH_IGNORE_CASE, m_ignoreCase);
    DDX_Radio(pDX, IDC_STR_SEARCH_FROM_START, m_from);
    DDX_Radio(pDX, IDC_STR_SEARCH_UP, m_upward);
}

CDialogQuestion CStrSearchDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_STR_SEARCH;
    question.caption = L"文字列の検索の設定";
    question.text = m_text;
    {
        CHandleLock lock(g_DataMutex);
        for (INT_PTR i = 0; i < g_ViewerSearchHistory.GetSize(); ++i)
            question.items.push_back(g_ViewerSearchHistory.GetAt(i));
    }
    return question;
}

void CStrSearchDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    m_text = answer.text;
    if (answer.checks.size() > 0)
        m_ignoreCase = answer.checks[0];
    if (answer.checks.size() > 1)
        m_from = answer.checks[1];
    if (answer.checks.size() > 2)
        m_upward = answer.checks[2];
}
