#include "filer/dialogs/FileListDlg.h"

#include <new>

#include "app/dialogs/TellAndAsk.h"
#include "app/records/WalkPathGuard.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"
#include "filer/PaneArchive.h"
#include "res/FilerDialogs.h"

namespace
{
const wchar_t kOutOfMemory[] = L"メモリが足りません";

void AddFile(std::vector<CFileListEntry>& files, const CFileInfo& entry)
{
    CFileListEntry line;
    line.m_directory = entry.GetDirectory();
    line.m_name = entry.GetName();
    files.push_back(line);
}
} // namespace

BEGIN_MESSAGE_MAP(CFileListDlg, CDialog)
ON_BN_CLICKED(IDC_FILE_LIST_ABSOLUTE, ShowList)
ON_BN_CLICKED(IDC_FILE_LIST_RELATIVE, ShowList)
END_MESSAGE_MAP()

CFileListDlg::CFileListDlg(CWnd* pParent) : CDialog(IDD_FILE_LIST, pParent) {}

void CFileListDlg::CollectDirectory(const CFileInfo& directory, CWalkPathGuard& walkPath)
{
    // A link to a folder is listed like a folder; one that leads back to a folder
    // on the way down is not entered again, or the walk would never end.
    CWalkPathStep step(walkPath,
                       directory.m_source == ENTRY_SOURCE_ARCHIVE ? L"" : directory.GetRealFullPath());
    if (!step.entered)
        return;
    CFileInfo child;
    CEntryFind* find = directory.FindFirstChild(L"*.*", child);
    if (find == nullptr)
        return;
    do
    {
        if (!child.IsDirectory())
            AddFile(m_files, child);
    } while (FindNextEntry(find, child));
    CloseEntryFind(find);

    find = directory.FindFirstChild(L"*.*", child);
    if (find == nullptr)
        return;
    do
    {
        if (child.IsDirectory() && !child.IsDots())
            CollectDirectory(child, walkPath);
    } while (FindNextEntry(find, child));
    CloseEntryFind(find);
}

BOOL CFileListDlg::CollectFiles(CFilerPane& pane)
{
    m_files.clear();
    // Members of a listed archive carry their folder inside the archive.
    m_baseDirectory = pane.m_mode == PANE_MODE_ARCHIVE && pane.m_archive != nullptr
                          ? pane.m_archive->GetCurrentFolder()
                          : pane.m_currentDir;
    try
    {
        CFileInfo entry;
        for (int n = 0; pane.GetTargetEntry(TARGET_ALLOW_VIRTUAL_DRIVE, n, entry); ++n)
        {
            if (!entry.IsDirectory())
                AddFile(m_files, entry);
        }
        CWalkPathGuard walkPath;
        for (int n = 0; pane.GetTargetEntry(TARGET_ALLOW_VIRTUAL_DRIVE, n, entry); ++n)
        {
            if (entry.m_entryClass == ENTRY_CLASS_DIRECTORY)
                CollectDirectory(entry, walkPath);
        }
    }
    catch (const std::bad_alloc&)
    {
        Tell(this, kOutOfMemory);
        return FALSE;
    }
    return TRUE;
}

CString CFileListDlg::BuildText(BOOL relative) const
{
    const int baseLength = m_baseDirectory.GetLength();
    CString text;
    for (const CFileListEntry& line : m_files)
    {
        const int length = line.m_directory.GetLength();
        if (length < baseLength)
            continue;
        if (line.m_directory.IsEmpty() || (relative && length == baseLength))
            text += line.m_name;
        else if (relative)
            text += line.m_directory.Mid(baseLength + 1) + L"\\" + line.m_name;
        else
            text += line.m_directory + L"\\" + line.m_name;
        text += L"\r\n";
    }
    return text;
}

BOOL CFileListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_paneNumber >= 0 && m_paneNumber <= 1 && g_Panes[m_paneNumber] != nullptr)
        CollectFiles(*g_Panes[m_paneNumber]);
    CheckRadioButton(IDC_FILE_LIST_ABSOLUTE, IDC_FILE_LIST_RELATIVE, IDC_FILE_LIST_RELATIVE);
    ShowList();
    return TRUE;
}

void CFileListDlg::ShowList()
{
    try
    {
        SetDlgItemText(IDC_FILE_LIST_TEXT,
                       BuildText(IsDlgButtonChecked(IDC_FILE_LIST_RELATIVE) == BST_CHECKED));
    }
    catch (const std::bad_alloc&)
    {
        Tell(this, kOutOfMemory);
    }
}
