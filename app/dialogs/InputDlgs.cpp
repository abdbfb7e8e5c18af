#include "app/dialogs/InputDlgs.h"

#include "app/FolderChooser.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/keys/KeyTable.h"
#include "framework/FwApp.h"
#include "res/CommonDialogs.h"

namespace
{

// The last row of the key list: no key.
constexpr int kNoKeyRow = KEY_TABLE_ROW_COUNT;

} // namespace

// ---- CInputDlg ----

CInputDlg::CInputDlg(CWnd* pParent) : CScriptedDialog(IDD_INPUT, pParent) {}

BOOL CInputDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    SetWindowText(m_caption);
    CWnd* pEdit = GetDlgItem(IDC_INPUT_EDIT);
    pEdit->SendMessage(EM_SETPASSWORDCHAR, m_masked ? (WPARAM)L'*' : 0, 0);
    pEdit->Invalidate();
    return TRUE;
}

void CInputDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_INPUT_EDIT, m_text);
}

CDialogQuestion CInputDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_INPUT;
    question.caption = m_caption;
    question.text = m_text;
    return question;
}

void CInputDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result == IDOK)
        m_text = answer.text;
}

// ---- CInputPasswordDlg ----

CInputPasswordDlg::CInputPasswordDlg(CWnd* pParent) : CScriptedDialog(IDD_INPUT_PASSWORD, pParent) {}

void CInputPasswordDlg::OnOK()
{
    CString password, confirmation;
    GetDlgItemText(IDC_PASSWORD_EDIT, password);
    GetDlgItemText(IDC_PASSWORD_CONFIRM, confirmation);
    if (password != confirmation)
    {
        CWinApp* pApp = AfxGetApp();
        Tell(this, L"確認用のパスワードが間違っています。", pApp != nullptr ? pApp->m_pszAppName : nullptr);
        return;
    }
    m_password = password;
    EndDialog(IDOK);
}

CDialogQuestion CInputPasswordDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_INPUT_PASSWORD;
    question.caption = L"パスワードを入力してください";
    return question;
}

void CInputPasswordDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result == IDOK)
        m_password = answer.text;
}

// ---- CComboDlg ----

CComboDlg::CComboDlg(CWnd* pParent) : CScriptedDialog(IDD_COMBO, pParent) {}

BOOL CComboDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    SetWindowText(m_caption);
    CWnd* pCombo = GetDlgItem(IDC_COMBO_LIST);
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        pCombo->SendMessage(CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)m_items.GetAt(i));
    pCombo->SendMessage(CB_SETCURSEL, 0, 0);
    return TRUE;
}

void CComboDlg::OnOK()
{
    const int nIndex = (int)GetDlgItem(IDC_COMBO_LIST)->SendMessage(CB_GETCURSEL, 0, 0);
    if (nIndex == CB_ERR)
        return;
    m_index = nIndex;
    EndDialog(IDOK);
}

CDialogQuestion CComboDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_COMBO;
    question.caption = m_caption;
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        question.items.push_back(m_items.GetAt(i));
    return question;
}

void CComboDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result == IDOK)
        m_index = answer.index;
}

// ---- COnlyEditNameDlg ----

COnlyEditNameDlg::COnlyEditNameDlg(CWnd* pParent) : CScriptedDialog(IDD_EDIT_NAME, pParent) {}

BOOL COnlyEditNameDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    if (!m_caption.IsEmpty())
        SetWindowText(m_caption);
    return TRUE;
}

void COnlyEditNameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_EDIT_NAME, m_name);
}

CDialogQuestion COnlyEditNameDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_EDIT_NAME;
    question.caption = m_caption.IsEmpty() ? CString(L"名前の設定") : m_caption;
    question.text = m_name;
    return question;
}

void COnlyEditNameDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result == IDOK)
        m_name = answer.text;
}

// ---- CInputBookMarkDlg ----

BEGIN_MESSAGE_MAP(CInputBookMarkDlg, CScriptedDialog)
ON_BN_CLICKED(IDC_BOOKMARK_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CInputBookMarkDlg::CInputBookMarkDlg(CWnd* pParent) : CScriptedDialog(IDD_BOOKMARK, pParent) {}

BOOL CInputBookMarkDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    SetWindowText(m_caption);
    SetDlgItemText(IDC_BOOKMARK_CONTENT, m_content);

    CWnd* pKeys = GetDlgItem(IDC_BOOKMARK_KEY);
    int selected = kNoKeyRow;
    for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
    {
        pKeys->SendMessage(CB_ADDSTRING, 0, (LPARAM)g_KeyTable[row].keyName);
        if (selected == kNoKeyRow && !m_keyName.IsEmpty() && m_keyName == g_KeyTable[row].keyName)
            selected = row;
    }
    pKeys->SendMessage(CB_ADDSTRING, 0, (LPARAM)L"無し");
    pKeys->SendMessage(CB_SETCURSEL, (WPARAM)selected, 0);

    CWnd* pTarget = GetDlgItem(IDC_BOOKMARK_TARGET);
    for (const CString* pSuggested : {&m_suggestedTarget1, &m_suggestedTarget2})
    {
        if (!pSuggested->IsEmpty())
            pTarget->SendMessage(CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)*pSuggested);
    }
    pTarget->SetWindowText(m_target);
    return TRUE;
}

void CInputBookMarkDlg::OnBrowse()
{
    CString path;
    GetDlgItemText(IDC_BOOKMARK_TARGET, path);
    if (BrowseForFolder(path, this, FALSE))
        SetDlgItemText(IDC_BOOKMARK_TARGET, path);
}

void CInputBookMarkDlg::OnOK()
{
    GetDlgItemText(IDC_BOOKMARK_TARGET, m_target);
    GetDlgItemText(IDC_BOOKMARK_CONTENT, m_content);
    const int row = (int)GetDlgItem(IDC_BOOKMARK_KEY)->SendMessage(CB_GETCURSEL, 0, 0);
    if (row >= 0 && row < kNoKeyRow)
        m_keyName = g_KeyTable[row].keyName;
    else
        m_keyName.Empty();
    EndDialog(IDOK);
}

CDialogQuestion CInputBookMarkDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_BOOKMARK;
    question.caption = m_caption;
    question.text = m_target;
    return question;
}

void CInputBookMarkDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    m_target = answer.text;
    m_content = answer.content;
    m_keyName = answer.keyName;
}
