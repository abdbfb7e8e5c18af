// The new-file kind dialogs.
#include "fileops/newfile/MakeNewFileDlg.h"

#include "app/Drives.h"
#include "res/SyncDialogs.h"

static const int kExtensionEdits[5] = {IDC_NEWFILE_EXT1, IDC_NEWFILE_EXT2, IDC_NEWFILE_EXT3, IDC_NEWFILE_EXT4,
                                       IDC_NEWFILE_EXT5};
static const int kNameEdits[5] = {IDC_NEWFILE_NAME1, IDC_NEWFILE_NAME2, IDC_NEWFILE_NAME3, IDC_NEWFILE_NAME4,
                                  IDC_NEWFILE_NAME5};

void MergeNewFileKind(CMakeNewFileArray& kinds, const CMakeNewFile& kind)
{
    for (INT_PTR i = 0; i < kinds.GetSize(); ++i)
    {
        if (kinds[i].m_extension.CompareNoCase(kind.m_extension) == 0)
        {
            kinds[i] = kind;
            return;
        }
    }
    for (INT_PTR i = 0; i < kinds.GetSize(); ++i)
    {
        if (kinds[i].m_extension.IsEmpty())
        {
            kinds[i] = kind;
            return;
        }
    }
    kinds.Add(kind);
}

void DropEmptyNewFileKinds(CMakeNewFileArray& kinds)
{
    for (INT_PTR i = kinds.GetSize() - 1; i >= 20; --i)
    {
        if (kinds[i].m_extension.IsEmpty())
            kinds.RemoveAt(i);
    }
}

void TakeNewFileRow(CMakeNewFileArray& kinds, INT_PTR index, const CString& extension,
                    const CString& displayName)
{
    CMakeNewFile kind;
    kind.m_extension = extension;
    kind.m_displayName = displayName;
    if (index < kinds.GetSize())
    {
        // The fill kind comes only from the registry: a row whose extension stayed
        // would otherwise turn a "Data" or "FileName" kind into an empty file.
        if (!extension.IsEmpty() && kinds[index].m_extension.CompareNoCase(extension) == 0)
            kind.m_templateType = kinds[index].m_templateType;
        kinds[index] = kind;
    }
    else
        kinds.Add(kind);
}

// The first value of the ShellNew key whose name is a fill kind, or empty.
static CString FindFillKind(HKEY classesRoot, const CString& extension)
{
    HKEY shellNew = nullptr;
    if (RegOpenKeyExW(classesRoot, extension + L"\\ShellNew", 0, KEY_READ, &shellNew) != ERROR_SUCCESS)
        return CString();
    DWORD longest = 0;
    RegQueryInfoKeyW(shellNew, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest,
                     nullptr, nullptr, nullptr);
    static const wchar_t* const kFillKinds[] = {L"NullFile", L"Data", L"FileName"};
    CString found;
    for (DWORD index = 0; found.IsEmpty(); ++index)
    {
        CString name;
        const LONG code = EnumRegistryValue(shellNew, index, longest + 1, name);
        if (code == ERROR_MORE_DATA)
            continue;
        if (code != ERROR_SUCCESS)
            break;
        for (const wchar_t* fill : kFillKinds)
        {
            if (name.CompareNoCase(fill) == 0)
            {
                found = fill;
                break;
            }
        }
    }
    RegCloseKey(shellNew);
    return found;
}

// The default value of the key, or FALSE.
static BOOL ReadDefaultValue(HKEY classesRoot, const CString& keyName, CString& value)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(classesRoot, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD type = 0;
    const LONG code = ReadRegistryString(key, nullptr, &type, value);
    RegCloseKey(key);
    return code == ERROR_SUCCESS && !value.IsEmpty();
}

BOOL ReadShellNewKinds(HKEY classesRoot, CMakeNewFileArray& kinds)
{
    HKEY root = nullptr;
    if (RegOpenKeyExW(classesRoot, nullptr, 0, KEY_READ, &root) != ERROR_SUCCESS)
        return FALSE;
    for (INT_PTR i = 0; i < kinds.GetSize(); ++i)
        kinds[i].m_templateType.Empty();
    DWORD longest = 0;
    RegQueryInfoKeyW(root, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    for (DWORD index = 0;; ++index)
    {
        CString name;
        const LONG code = EnumRegistryKey(root, index, longest + 1, name, nullptr);
        if (code == ERROR_MORE_DATA)
            continue;
        if (code != ERROR_SUCCESS)
            break;
        if (name.GetLength() < 2 || name[0] != L'.')
            continue;
        CMakeNewFile kind;
        kind.m_templateType = FindFillKind(root, name);
        if (kind.m_templateType.IsEmpty())
            continue;
        CString programId;
        if (!ReadDefaultValue(root, name, programId) ||
            !ReadDefaultValue(root, programId, kind.m_displayName))
            continue;
        kind.m_extension = name.Mid(1);
        MergeNewFileKind(kinds, kind);
    }
    RegCloseKey(root);
    return TRUE;
}

CMakeNewFileDlg::CMakeNewFileDlg(CWnd* pParent) : CDialog(IDD_MAKE_NEW_FILE, pParent)
{
    m_kinds.Copy(g_MakeNewFileKinds);
}

BOOL CMakeNewFileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowPage();
    return TRUE;
}

void CMakeNewFileDlg::ShowPage()
{
    for (int row = 0; row < 5; ++row)
    {
        const INT_PTR index = m_pageStart + row;
        const BOOL shown = index < m_kinds.GetSize();
        SetDlgItemText(kExtensionEdits[row], shown ? static_cast<LPCWSTR>(m_kinds[index].m_extension) : L"");
        SetDlgItemText(kNameEdits[row], shown ? static_cast<LPCWSTR>(m_kinds[index].m_displayName) : L"");
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_NEWFILE_PREVIOUS), m_pageStart != 0);
}

void CMakeNewFileDlg::TakePage()
{
    for (int row = 0; row < 5; ++row)
    {
        CString extension, displayName;
        GetDlgItemText(kExtensionEdits[row], extension);
        GetDlgItemText(kNameEdits[row], displayName);
        TakeNewFileRow(m_kinds, m_pageStart + row, extension, displayName);
    }
}

void CMakeNewFileDlg::ReadShellNewTemplates()
{
    if (ReadShellNewKinds(m_classesRoot, m_kinds))
        ShowPage();
}

void CMakeNewFileDlg::OnOK()
{
    TakePage();
    DropEmptyNewFileKinds(m_kinds);
    g_MakeNewFileKinds.Copy(m_kinds);
    EndDialog(IDOK);
}

BOOL CMakeNewFileDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
    {
        switch (LOWORD(wParam))
        {
        case IDC_NEWFILE_PREVIOUS:
            if (m_pageStart == 0)
                return TRUE;
            TakePage();
            m_pageStart -= 5;
            ShowPage();
            return TRUE;
        case IDC_NEWFILE_NEXT:
            TakePage();
            m_pageStart += 5;
            ShowPage();
            return TRUE;
        case IDC_NEWFILE_READ_REGISTRY:
            // The rows typed so far are kept: the registry merges into them.
            TakePage();
            ReadShellNewTemplates();
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

CMakeNewFileListDlg::CMakeNewFileListDlg(CWnd* pParent) : CDialog(IDD_MAKE_NEW_FILE_LIST, pParent) {}

BOOL CMakeNewFileListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_NEWFILE_LIST);
    m_rowIndex.RemoveAll();
    for (INT_PTR i = 0; i < g_MakeNewFileKinds.GetSize(); ++i)
    {
        if (g_MakeNewFileKinds[i].m_extension.IsEmpty())
            continue;
        ::SendMessageW(list, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(g_MakeNewFileKinds[i].m_displayName)));
        m_rowIndex.Add(static_cast<int>(i));
    }
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    return TRUE;
}

void CMakeNewFileListDlg::OnOK()
{
    const LRESULT row = ::SendDlgItemMessageW(m_hWnd, IDC_NEWFILE_LIST, LB_GETCURSEL, 0, 0);
    if (row < 0 || row >= m_rowIndex.GetSize())
        return;
    m_result = m_rowIndex[row];
    EndDialog(IDOK);
}
