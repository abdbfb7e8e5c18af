#include "filer/EntryFind.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/VirtualDrives.h"
#include "util/Wildcard.h"
#include "framework/FwLock.h"
#include "filer/FindWorkerLink.h"
#include "filer/PaneArchive.h"

// ---- Enumeration ----------------------------------------------------------------------

namespace
{
BOOL IsVirtualDirectory(const CString& directory)
{
    return directory.GetLength() >= 2 && directory[1] == L':' && IsVirtualDrive(directory[0], 1);
}

// Frees an enumeration that found nothing without losing the error the caller reads.
CEntryFind* GiveUp(CEntryFind* find, DWORD error)
{
    delete find;
    SetLastError(error);
    return nullptr;
}
} // namespace

CEntryFind* FindFirstEntry(IPaneArchive* archive, LPCWSTR directory, LPCWSTR pattern, CFileInfo& out)
{
    CEntryFind* find = new CEntryFind;
    find->m_directory = directory;
    find->m_pattern = pattern;
    find->m_position = 0;
    if (archive)
    {
        find->m_kind = ENTRY_FIND_ARCHIVE;
        archive->ListDirectory(find->m_entries, find->m_directory, find->m_pattern, FALSE, nullptr);
    }
    else if (IsVirtualDirectory(find->m_directory))
    {
        find->m_kind = ENTRY_FIND_VIRTUAL;
        CVirtualFolderStore* store = g_VirtualFolderStores[(find->m_directory[0] | 0x20) - L'a'];
        store->ListDirectory(find->m_directory, find->m_pattern, find->m_entries);
    }
    else
    {
        find->m_kind = ENTRY_FIND_DISK;
        CString spec(find->m_directory);
        spec += L'\\';
        spec += find->m_pattern;
        WIN32_FIND_DATAW findData;
        find->m_findHandle = FindFirstFileLong(spec, &findData);
        if (find->m_findHandle == INVALID_HANDLE_VALUE)
            return GiveUp(find, GetLastError());
        out.SetFromDisk(find->m_directory, findData);
        return find;
    }
    // A folder that lists nothing answers as a disk folder without a match would.
    if (find->m_entries.IsEmpty())
        return GiveUp(find, ERROR_FILE_NOT_FOUND);
    out = find->m_entries[0];
    return find;
}

int FindNextEntry(CEntryFind* find, CFileInfo& out)
{
    if (!find)
        return 0;
    ++find->m_position;
    if (find->m_kind == ENTRY_FIND_DISK)
    {
        WIN32_FIND_DATAW findData;
        if (!FindNextFileW(find->m_findHandle, &findData))
            return 0;
        out.SetFromDisk(find->m_directory, findData);
        return 1;
    }
    if (find->m_position >= find->m_entries.GetSize())
        return 0;
    out = find->m_entries[find->m_position];
    return 1;
}

int FindNextEntryData(CEntryFind* find, WIN32_FIND_DATAW& out)
{
    if (!find)
        return 0;
    ++find->m_position;
    if (find->m_kind == ENTRY_FIND_DISK)
        return FindNextFileW(find->m_findHandle, &out) ? 1 : 0;
    if (find->m_position >= find->m_entries.GetSize())
        return 0;
    out = find->m_entries[find->m_position].m_findData;
    return 1;
}

BOOL CloseEntryFind(CEntryFind*& find)
{
    BOOL result = TRUE;
    if (find)
    {
        if (find->m_kind == ENTRY_FIND_DISK && find->m_findHandle != INVALID_HANDLE_VALUE)
            result = FindCloseLong(find->m_findHandle);
        delete find;
        find = nullptr;
    }
    return result;
}

CEntryFind* CFileInfo::FindFirstChild(LPCWSTR pattern, CFileInfo& out) const
{
    return FindFirstEntry(m_owner, GetRealFullPath(), pattern, out);
}

namespace
{
// The pattern is the name itself, so that the system's find does the lookup; its
// match also takes short names and is not exact, hence the comparison here.
int FindNamedEntry(IPaneArchive* archive, LPCWSTR directory, LPCWSTR name, CFileInfo& out, BOOL filesOnly)
{
    CEntryFind* find = FindFirstEntry(archive, directory, name, out);
    int found = 0;
    for (BOOL more = find != nullptr; more; more = FindNextEntry(find, out))
    {
        if (CString(out.GetName()).CompareNoCase(name) == 0 && !(filesOnly && out.IsDirectory()))
        {
            found = 1;
            break;
        }
    }
    CloseEntryFind(find);
    return found;
}
} // namespace

int FindEntryInDirectory(IPaneArchive* archive, LPCWSTR directory, LPCWSTR name, CFileInfo& out)
{
    return FindNamedEntry(archive, directory, name, out, FALSE);
}

int FindFileEntryInDirectory(IPaneArchive* archive, LPCWSTR directory, LPCWSTR name, CFileInfo& out)
{
    return FindNamedEntry(archive, directory, name, out, TRUE);
}

int FindFileEntryOnDisk(LPCWSTR directory, LPCWSTR name, CFileInfo& out)
{
    return FindFileEntryInDirectory(nullptr, directory, name, out);
}

// ---- Find results ---------------------------------------------------------------------

CFindResultList::CFindResultList()
    : m_mutex(CreateMutexW(nullptr, FALSE, nullptr)), m_worker(nullptr), m_changed(FALSE), m_cleared(FALSE)
{
    if (!m_mutex)
        AfxThrowMemoryException();
}

CFindResultList::~CFindResultList()
{
    StopSearch();
    CloseHandle(m_mutex);
}

CFindThreadBase* CFindResultList::StartSearch()
{
    StopSearch();
    Clear();
    CHandleLock lock(m_mutex);
    if (!m_worker)
        m_worker = g_FindWorkerHooks.createFindThread();
    if (m_worker)
        m_worker->m_sink = this;
    return m_worker;
}

void CFindResultList::StopSearch()
{
    // Not under the mutex: the worker may be waiting for it to hand over a find.
    if (m_worker)
    {
        m_worker->StopAndWait();
        delete m_worker;
        m_worker = nullptr;
    }
}

int CFindResultList::AddResult(const CFileInfo& entry)
{
    CHandleLock lock(m_mutex);
    m_results.AddEntry(entry);
    m_changed = TRUE;
    return 1;
}

void CFindResultList::AddFind(int, const CFileInfo& entry)
{
    AddResult(entry);
}

void CFindResultList::ShowFinds(const CArrayFileInfo& finds)
{
    Clear();
    for (INT_PTR i = 0; i < finds.GetSize(); ++i)
        AddResult(finds[i]);
}

void CFindResultList::Clear()
{
    CHandleLock lock(m_mutex);
    m_results.RemoveAll();
    m_changed = TRUE;
    m_cleared = TRUE;
}

void CFindResultList::RenameResult(const CFileInfo& entry, LPCWSTR newName)
{
    CString path = entry.GetFullPath();
    CHandleLock lock(m_mutex);
    for (INT_PTR i = 0; i < m_results.GetSize(); ++i)
    {
        CFileInfo& result = m_results[i];
        if (result.GetFullPath().CompareNoCase(path) != 0)
            continue;
        WIN32_FIND_DATAW findData = result.m_findData;
        wcsncpy(findData.cFileName, newName, MAX_PATH - 1);
        findData.cFileName[MAX_PATH - 1] = L'\0';
        // Re-filled so that base name and extension follow the new name.
        result.SetFromFindData(result.m_source, result.m_owner, result.m_directory, result.m_realDirectory,
                               findData, result.m_itemIndex);
        m_changed = TRUE;
        return;
    }
}

// ---- The pane side --------------------------------------------------------------------

namespace
{
// New find data for a listed entry that keeps its place, its mark and its read
// position and is flagged as changed.
void TakeNewFindData(CFileInfo& entry, const WIN32_FIND_DATAW& findData)
{
    int mark = entry.m_mark;
    entry.SetFromFindData(entry.m_source, entry.m_owner, entry.m_directory, entry.m_realDirectory, findData,
                          entry.m_itemIndex);
    entry.m_mark = mark;
    entry.m_changed = TRUE;
}
} // namespace

int MergeFindResultsInto(CFindResultList& list, CArrayFileInfo& paneEntries, LPCWSTR wildcard,
                         BOOL filterDirectories, BOOL incremental, BOOL forced,
                         const std::function<int(int, CFileInfo*, const WIN32_FIND_DATAW&)>& compareRead)
{
    CHandleLock lock(list.m_mutex);
    BOOL cleared = list.m_cleared;
    list.m_cleared = FALSE;
    int result = (forced || cleared) ? 1 : 0;
    if (!incremental && !list.m_changed && result == 0)
        return 0;
    if (list.m_changed)
    {
        result = 1;
        list.m_changed = FALSE;
    }

    CArrayFileInfo& results = list.m_results;
    for (INT_PTR i = 0; i < results.GetSize();)
    {
        CFileInfo& found = results[i];
        // A virtual drive's folders exist only in its store; there is nothing on
        // disk to look them up by.
        if (found.m_source == ENTRY_SOURCE_VIRTUAL && found.IsDirectory())
        {
            ++i;
            continue;
        }
        WIN32_FIND_DATAW current;
        if (!found.RefreshFindData(current))
        {
            results.RemoveAt(i);
            result = 1;
            continue;
        }
        if (!found.m_findData.SameAs(current))
        {
            result = compareRead(result, &found, current);
            if (result == 2)
            {
                CString path = found.GetRealFullPath();
                for (INT_PTR j = 0; j < paneEntries.GetSize(); ++j)
                {
                    if (paneEntries[j].GetRealFullPath().CompareNoCase(path) == 0)
                        TakeNewFindData(paneEntries[j], current);
                }
            }
            BOOL changed = found.m_changed;
            TakeNewFindData(found, current);
            found.m_changed = changed;
        }
        ++i;
    }

    if (incremental && result != 1)
        return result;

    CString pattern;
    CompactWildcardPattern(wildcard, pattern);
    paneEntries.RemoveAll();
    for (INT_PTR i = 0; i < results.GetSize(); ++i)
    {
        const CFileInfo& found = results[i];
        if ((!found.IsDirectory() || filterDirectories) && !MatchFileNameWildcard(found.GetName(), pattern))
            continue;
        paneEntries.AddEntry(found);
    }
    return result;
}
