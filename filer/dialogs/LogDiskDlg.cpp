#include "filer/dialogs/LogDiskDlg.h"

#include "app/Directories.h"
#include "app/FolderChooser.h"
#include "util/StringHelpers.h"
#include "filer/PathHistory.h"
#include "res/FilerDialogs.h"

BEGIN_MESSAGE_MAP(CLogDiskDlg, CDialog)
ON_BN_CLICKED(IDC_LOG_DISK_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CLogDiskDlg::CLogDiskDlg(CWnd* pParent) : CDialog(IDD_LOG_DISK, pParent) {}

BOOL CLogDiskDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_complement.Attach(this, IDC_LOG_DISK_PATH, TRUE, COMPLETE_DIRECTORIES, m_baseDirectory, m_paneNumber);
    CArrayPathHistoryInfo recent;
    g_PathHistory.GetSortedCopy(recent, m_baseDirectory, 1);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_LOG_DISK_PATH);
    for (INT_PTR i = 0; i < recent.GetSize(); ++i)
        ::SendMessageW(combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(recent.GetAt(i).m_path)));
    return TRUE;
}

void CLogDiskDlg::OnBrowse()
{
    CString path = m_baseDirectory;
    if (BrowseForFolder(path, this, FALSE))
        SetDlgItemText(IDC_LOG_DISK_PATH, path);
}

void CLogDiskDlg::OnOK()
{
    GetDlgItemText(IDC_LOG_DISK_PATH, m_result);
    EndDialog(IDOK);
}

BOOL ResolveLogDiskTarget(LPCWSTR base, LPCWSTR text, CString& out, CString& message)
{
    CString typed(text);
    typed.Trim();
    ExpandEnvironmentString(typed, CString(typed));
    typed.Replace(L'/', L'\\');
    if (RelativePathEscapesRoot(typed, base))
    {
        message = L"ディレクトリ名が不正です";
        return FALSE;
    }
    out = typed;
    return TRUE;
}
