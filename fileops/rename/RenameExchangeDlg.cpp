#include "fileops/rename/RenameExchangeDlg.h"

#include "app/Directories.h"
#include "fs/FileIdentity.h"
#include "util/PathHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "res/RenameDialogs.h"

namespace
{

// Both paths name one file: the same text, or another spelling of it (a short name,
// a second path to the same folder) that the file's identity gives away.
BOOL IsSameFile(const CString& path1, const CString& path2)
{
    if (path1.CompareNoCase(path2) == 0)
        return TRUE;
    BY_HANDLE_FILE_INFORMATION info1 = {}, info2 = {};
    if (!GetFileIdentity(path1, info1) || !GetFileIdentity(path2, info2))
        return FALSE;
    return SameFileIdentity(info1, info2);
}

CString Join(const CString& directory, LPCWSTR name)
{
    return directory.IsEmpty() ? CString(name) : directory + L"\\" + name;
}

} // namespace

CRenameExchangeDlg::CRenameExchangeDlg(CWnd* pParent) : CDialog(IDD_RENAME_EXCHANGE, pParent) {}

int CRenameExchangeDlg::ExchangeNames(const CFileInfo& file1, const CFileInfo& file2)
{
    const CString& d1 = file1.GetDirectory();
    const CString& d2 = file2.GetDirectory();
    const CString n1 = file1.GetName(), n2 = file2.GetName();
    const DWORD a1 = file1.m_findData.dwFileAttributes, a2 = file2.m_findData.dwFileAttributes;
    const CString p1 = Join(d1, n1), p2 = Join(d2, n2);
    // A file exchanged with itself would end under its temporary name.
    if (IsSameFile(p1, p2))
        return EXCHANGE_SAME_FILE;
    if (d1.CompareNoCase(d2) != 0)
    {
        const CString t1 = Join(d1, n2), t2 = Join(d2, n1);
        // Checked before either file moves: a name taken by any entry, also through its
        // 8.3 alias, would refuse the second move and leave the exchange half done.
        if (NameIsTaken(t1) || NameIsTaken(t2))
            return EXCHANGE_CLASH;
        if (!SetFileAttributesLong(p1, FILE_ATTRIBUTE_NORMAL) || !MoveFileLong(p1, t1) ||
            !SetFileAttributesLong(t1, a1))
            return EXCHANGE_FAILED;
        if (!SetFileAttributesLong(p2, FILE_ATTRIBUTE_NORMAL) || !MoveFileLong(p2, t2) ||
            !SetFileAttributesLong(t2, a2))
            return EXCHANGE_FAILED;
        return EXCHANGE_DONE;
    }
    CString temporary;
    for (int n = 0;; ++n)
    {
        temporary.Format(L"%s\\Temp_%d", d1.GetString(), n);
        if (!NameIsTaken(temporary))
            break;
    }
    if (!SetFileAttributesLong(p1, FILE_ATTRIBUTE_NORMAL) || !MoveFileLong(p1, temporary))
        return EXCHANGE_FAILED;
    const CString t2 = Join(d1, n1), t1 = Join(d1, n2);
    if (!SetFileAttributesLong(p2, FILE_ATTRIBUTE_NORMAL) || !MoveFileLong(p2, t2) ||
        !SetFileAttributesLong(t2, a2))
        return EXCHANGE_FAILED;
    if (!MoveFileLong(temporary, t1) || !SetFileAttributesLong(t1, a1))
        return EXCHANGE_FAILED;
    return EXCHANGE_DONE;
}

BOOL CRenameExchangeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, IDC_EXCHANGE_NAME1, m_file1.GetName());
    ::SetDlgItemTextW(m_hWnd, IDC_EXCHANGE_DIR1, m_file1.GetRealDirectory(FALSE));
    ::SetDlgItemTextW(m_hWnd, IDC_EXCHANGE_NAME2, m_file2.GetName());
    ::SetDlgItemTextW(m_hWnd, IDC_EXCHANGE_DIR2, m_file2.GetRealDirectory(FALSE));
    return TRUE;
}

void CRenameExchangeDlg::OnOK()
{
    const int result = ExchangeNames(m_file1, m_file2);
    if (result == EXCHANGE_CLASH)
        Tell(this, L"変換後と同じファイル名が存在します");
    else if (result == EXCHANGE_FAILED)
        Tell(this, L"ファイル名の変更に失敗しました");
    else if (result == EXCHANGE_SAME_FILE)
        Tell(this, L"同じファイル同士は交換できません");
    EndDialog(IDOK);
}
