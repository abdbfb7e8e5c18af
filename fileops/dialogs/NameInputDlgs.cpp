#include "fileops/dialogs/NameInputDlgs.h"

#include "app/SettingStrings.h"
#include "res/FileDialogs.h"

CMkDirDlg::CMkDirDlg(CWnd* pParent) : CDialog(IDD_MKDIR, pParent) {}

void CMkDirDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_MKDIR_NAME, m_name);
    DDX_Check(pDX, IDC_MKDIR_MOVE_CURSOR, m_bMoveCursor);
}

BOOL CMkDirDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_complement.Attach(this, IDC_MKDIR_NAME, FALSE, COMPLETE_DIRECTORIES, nullptr);
    return TRUE;
}

CEditNameDlg::CEditNameDlg(CWnd* pParent) : CDialog(IDD_EDIT_NAME, pParent) {}

void CEditNameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_EDIT_NAME, m_fileName);
}

BOOL CEditNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_EDIT_UNICODE, m_bUnicode ? BST_CHECKED : BST_UNCHECKED);
    m_complement.Attach(this, IDC_EDIT_NAME, FALSE, COMPLETE_BOTH, m_directory, m_paneIndex);
    // Without an editor option for UTF-16 files the choice has nothing to act on.
    if (g_EDITOR_OPEN_UNICODE_OPTION.IsEmpty())
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_EDIT_UNICODE), FALSE);
    return TRUE;
}

void CEditNameDlg::OnOK()
{
    // A disabled box keeps the value the opener gave it.
    if (::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_EDIT_UNICODE)))
        m_bUnicode = IsDlgButtonChecked(IDC_EDIT_UNICODE) == BST_CHECKED ? 1 : 0;
    CDialog::OnOK();
}
