#include "filer/dialogs/WildCardDlg.h"

#include "util/Globals.h"
#include "app/settings/FilerSettings.h"
#include "framework/FwLock.h"
#include "res/FilerDialogs.h"

WildCardHooks g_WildCardHooks = {nullptr};

BEGIN_MESSAGE_MAP(CWildCardDlg, CDialog)
ON_BN_CLICKED(IDC_WILDCARD_CONDITION, OnCondition)
END_MESSAGE_MAP()

CWildCardDlg::CWildCardDlg(CWnd* pParent) : CDialog(IDD_WILDCARD, pParent)
{
    InitFindCondition(m_condition);
}

BOOL CWildCardDlg::OnInitDialog()
{
    HWND combo = ::GetDlgItem(m_hWnd, IDC_WILDCARD_TEXT);
    {
        CHandleLock lock(g_DataMutex);
        for (INT_PTR i = 0; i < g_WildcardHistory.GetSize(); ++i)
            ::SendMessageW(combo, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(g_WildcardHistory[i])));
    }
    return CDialog::OnInitDialog();
}

void CWildCardDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBString(pDX, IDC_WILDCARD_TEXT, m_text);
    DDX_Check(pDX, IDC_WILDCARD_DIRECTORIES, m_bApplyToDirectories);
    DDX_Check(pDX, IDC_WILDCARD_NOT_DOS_NAMES, m_bNotDosNames);
    DDX_Check(pDX, IDC_WILDCARD_ADD_ASTERISK, m_bAddAsterisk);
}

void CWildCardDlg::OnCondition()
{
    if (g_WildCardHooks.editCondition == nullptr)
        return;
    FindCondition copy = m_condition;
    if (g_WildCardHooks.editCondition(this, copy) == IDOK)
        m_condition = copy;
}
