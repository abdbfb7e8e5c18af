// A pane that shows the inside of an archive as a directory: opening, re-listing and
// closing the listing through the pane's archive object, and the archive members that
// the pane's selection covers.
#include "filer/FilerPane.h"
#include "app/dialogs/TellAndAsk.h"

namespace
{
const wchar_t kBrowseFailedCaption[] = L"圧縮ファイルの閲覧失敗";

// Whether the member lies in the directory `path` of the archive (`prefix` is the
// path with a backslash), and whether it is the directory's own member. The case
// counts: folders "DIR" and "dir" of an archive are two rows of the listing.
void MatchMember(const CArchiveFileInfo& member, const CString& path, const CString& prefix, bool& inside,
                 bool& own)
{
    const CString& folder = member.m_folder;
    inside = (folder.GetLength() > path.GetLength() &&
              wcsncmp(folder, prefix, static_cast<size_t>(prefix.GetLength())) == 0) ||
             folder == path;
    // A member at the archive's root has no folder to join: its own name is its path.
    CString joined = folder.IsEmpty() ? CString(member.m_findData.cFileName)
                                      : folder + L"\\" + member.m_findData.cFileName;
    own = joined == path;
}
} // namespace

void CFilerPane::ListArchiveFolder()
{
    m_entries.RemoveAll();
    m_markedCount = 0;
    ResetTargetIteration();
    m_archive->ListDirectory(m_entries, m_archive->GetCurrentFolder(), m_wildcard, m_bFilterDirectories,
                             &m_condition);
}

int CFilerPane::OpenArchiveListing(BOOL reopen)
{
    m_archive->SetCurrentFolder(L"");
    CString path;
    if (reopen)
        m_archive->GetArchivePath(path);
    else
    {
        CFileInfo* cursor = GetCursorEntry();
        if (!cursor)
            return 0;
        path = cursor->GetFullPath();
    }
    if (!m_archive->OpenAndList(path, 0))
    {
        m_archive->Close();
        Tell(nullptr, m_archive->GetErrors().GetMessageText(), kBrowseFailedCaption);
        return 0;
    }
    m_archive->UnloadLibraries();
    ListArchiveFolder();
    MarkAll(2);
    SortEntries();
    m_firstVisible = 0;
    m_cursor = 0;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        if (m_entries[i].m_entryClass == ENTRY_CLASS_PARENT)
            m_cursor = 1;
    return 1;
}

int CFilerPane::ReloadArchiveListing()
{
    MarkAll(2);
    m_drawingMark = -1;
    ListArchiveFolder();
    SortEntries();
    return 1;
}

void CFilerPane::CloseArchiveListing(BOOL reread)
{
    // The name is taken first: a closed archive object need not know its path.
    CString archiveName;
    m_archive->SplitArchivePath(nullptr, &archiveName);
    m_archive->Close();
    if (!reread)
        return;
    m_firstVisible = 0;
    m_cursor = 0;
    ReadDirectory(TRUE);
    SortEntries();
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = m_entries[i];
        if (!entry.IsDirectory() && archiveName.CompareNoCase(entry.GetName()) == 0)
        {
            m_cursor = i;
            break;
        }
    }
}

void CFilerPane::ReplaceArchive(IPaneArchive* opened)
{
    if (opened == nullptr || opened == m_archive)
        return;
    m_entries.RemoveAll();
    m_markedCount = 0;
    ResetTargetIteration();
    if (m_viewerEntry.m_owner == m_archive)
        m_viewerEntry.Clear();
    m_archive->Close();
    delete m_archive;
    m_archive = opened;
}

int CFilerPane::WalkArchiveItems(BOOL cursorOnly, BOOL countOwnItems, int wanted, CArchiveFileInfo* out)
{
    int found = 0;
    auto take = [&](CArchiveFileInfo* member) {
        if (found == wanted && out)
            *out = *member;
        return found++ == wanted;
    };

    bool useMarks = !cursorOnly && m_markedCount > 0;
    INT_PTR count = useMarks ? m_entries.GetSize() : 1;
    for (INT_PTR i = 0; i < count; ++i)
    {
        CFileInfo* entry = useMarks ? &m_entries[i] : GetCursorEntry();
        if (!entry || (useMarks && !entry->m_mark) || entry->IsDots())
            continue;
        if (!entry->IsDirectory())
        {
            CArchiveFileInfo* member = nullptr;
            if (m_archive->GetEntry(&member, entry->m_itemIndex) && member && take(member))
                return 1;
            continue;
        }
        CString path = entry->GetFullPath();
        CString prefix = path + L"\\";
        int members = m_archive->GetEntryCount();
        for (int k = 0; k < members; ++k)
        {
            CArchiveFileInfo* member = nullptr;
            if (!m_archive->GetEntry(&member, k) || !member)
                continue;
            bool inside = false, own = false;
            MatchMember(*member, path, prefix, inside, own);
            if (own && !countOwnItems)
                continue;
            if ((inside || own) && take(member))
                return 1;
        }
    }
    return wanted < 0 ? found : 0;
}

int CFilerPane::CountArchiveItems(BOOL cursorOnly)
{
    return WalkArchiveItems(cursorOnly, FALSE, -1, nullptr);
}

int CFilerPane::CollectArchiveItems(CArchiveFileInfo& out, int n, BOOL cursorOnly)
{
    if (n < 0)
        return 0;
    return WalkArchiveItems(cursorOnly, TRUE, n, &out);
}
