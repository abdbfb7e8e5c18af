#include "fileops/dialogs/AttributeDlg.h"

#include "util/PathHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"
#include "res/FileDialogs.h"

namespace
{

const struct
{
    int id;
    DWORD bit;
} kBoxes[] = {
    {IDC_ATTR_READONLY, FILE_ATTRIBUTE_READONLY},
    {IDC_ATTR_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
    {IDC_ATTR_SYSTEM, FILE_ATTRIBUTE_SYSTEM},
    {IDC_ATTR_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE},
};

} // namespace

void CollectTargetEntries(int paneIndex, CArrayFileInfo& out, int limit)
{
    out.RemoveAll();
    CFilerPane* pane = paneIndex >= 0 && paneIndex < 2 ? g_Panes[paneIndex] : nullptr;
    if (!pane)
        return;
    CFileInfo entry;
    for (int n = 0; (limit < 0 || n < limit) && pane->GetTargetEntry(TARGET_ALLOW_VIRTUAL_DRIVE, n, entry);
         ++n)
        out.AddEntry(entry);
}

CAttributeDlg::CAttributeDlg(int paneIndex, CWnd* pParent)
    : CDialog(IDD_ATTRIBUTE, pParent), m_paneIndex(paneIndex)
{
}

BOOL CAttributeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CollectTargetEntries(m_paneIndex, m_targets);
    DWORD any = 0;
    for (INT_PTR i = 0; i < m_targets.GetSize(); ++i)
        any |= m_targets[i].m_findData.dwFileAttributes;
    for (const auto& box : kBoxes)
        CheckDlgButton(box.id, (any & box.bit) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_ATTR_INSIDE, m_bInside ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_ATTR_SPARE_FOLDERS, m_bSpareFolders ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CAttributeDlg::OnOK()
{
    DWORD value = 0;
    for (const auto& box : kBoxes)
        if (IsDlgButtonChecked(box.id) == BST_CHECKED)
            value |= box.bit;
    m_bInside = IsDlgButtonChecked(IDC_ATTR_INSIDE) == BST_CHECKED;
    m_bSpareFolders = IsDlgButtonChecked(IDC_ATTR_SPARE_FOLDERS) == BST_CHECKED;
    ApplyToEntries(m_targets, value);
    EndDialog(IDOK);
}

void CAttributeDlg::ApplyToEntries(const CArrayFileInfo& targets, DWORD value)
{
    for (INT_PTR i = 0; i < targets.GetSize(); ++i)
    {
        const CFileInfo& entry = targets[i];
        if (m_bInside && entry.IsDirectory() && ApplyInside(entry, value) == WALK_STOPPED)
            return;
        // The real path: a virtual drive's entry names no file under its own letter.
        if (!entry.IsDirectory())
            SetFileAttributesLong(entry.GetRealFullPath(), value);
        else if (!m_bSpareFolders && entry.m_source == ENTRY_SOURCE_DISK)
            SetFileAttributesLong(entry.GetRealFullPath(), value);
    }
}

int CAttributeDlg::ApplyInside(const CFileInfo& folder, DWORD value)
{
    CWalkPathStep step(m_walkPath, folder.GetRealFullPath());
    if (!step.entered)
        return WALK_DONE;
    CFileInfo entry;
    CEntryFind* find = folder.FindFirstChild(L"*.*", entry);
    int result = WALK_DONE;
    for (int more = find != nullptr; more; more = FindNextEntry(find, entry))
    {
        if (entry.IsDots())
            continue;
        BOOL ok = TRUE;
        if (entry.IsDirectory())
        {
            if (ApplyInside(entry, value) == WALK_STOPPED)
            {
                result = WALK_STOPPED;
                break;
            }
            if (!m_bSpareFolders && entry.m_source == ENTRY_SOURCE_DISK)
                ok = SetFileAttributesLong(entry.GetRealFullPath(), value);
        }
        else
            ok = SetFileAttributesLong(entry.GetRealFullPath(), value);
        if (!ok)
        {
            CString question;
            question.Format(L"%sの属性変更に失敗しました続けますか",
                            static_cast<LPCWSTR>(entry.GetRealFullPath()));
            if (!Ask(this, question, L"確認", MessageBoxKind::YesNo))
            {
                result = WALK_STOPPED;
                break;
            }
        }
    }
    CloseEntryFind(find);
    return result;
}
