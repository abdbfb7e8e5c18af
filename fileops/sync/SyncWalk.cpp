// The synchronisation walks: rows from the source's files and the destination's
// entries that the source lacks, and the decisions made on them.
#include "fileops/sync/SyncWalk.h"

#include <cwchar>
#include <map>
#include <string>

#include "util/PathHelpers.h"
#include "archivefront/ArchiveFront.h"
#include "filer/FileInfo.h"

CString JoinSyncPath(const CString& first, const CString& second)
{
    if (first.IsEmpty())
        return second;
    if (second.IsEmpty())
        return first;
    return first + L"\\" + second;
}

static BOOL IsDotName(LPCWSTR name)
{
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

BOOL CSyncRowBuilder::ListFolder(const SyncSide& side, const CString& relative, CArrayFileInfo& out)
{
    out.RemoveAll();
    const CString folder = JoinSyncPath(side.base, relative);
    if (side.archive != nullptr)
    {
        CArrayFileInfo listed;
        side.archive->ListDirectory(listed, folder, L"*", FALSE, nullptr);
        for (INT_PTR i = 0; i < listed.GetSize(); ++i)
            if (!listed[i].IsDots() && !IsDotName(listed[i].GetName()))
                out.AddEntry(listed[i]);
        return TRUE;
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileLong(folder + L"\\*.*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    CFileInfo entry;
    do
    {
        if (IsDotName(data.cFileName))
            continue;
        entry.SetFromDisk(folder, data);
        out.AddEntry(entry);
    } while (FindNextFileW(find, &data));
    FindCloseLong(find);
    return TRUE;
}

BOOL CSyncRowBuilder::FindEntry(const SyncSide& side, const CString& relative, LPCWSTR name,
                                WIN32_FIND_DATAW& out)
{
    if (side.archive == nullptr)
    {
        // The system also matches a short (8.3) name: only the long name counts.
        const CString path = JoinSyncPath(JoinSyncPath(side.base, relative), name);
        HANDLE find = FindFirstFileLong(path, &out);
        if (find != INVALID_HANDLE_VALUE)
        {
            FindCloseLong(find);
            if (_wcsicmp(out.cFileName, name) == 0)
                return TRUE;
        }
    }
    CArrayFileInfo entries;
    if (side.archive == nullptr && !ListFolder(side, relative, entries))
        return FALSE;
    if (side.archive != nullptr)
        ListFolder(side, relative, entries);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        if (_wcsicmp(entries[i].GetName(), name) == 0)
        {
            out = entries[i].m_findData.ToFindData();
            return TRUE;
        }
    }
    return FALSE;
}

void CSyncRowBuilder::AddRow(const CString& relative, const CFileInfo& entry, BYTE flags)
{
    CSyncData row;
    row.m_relativeFolder = relative;
    row.m_entry = entry;
    row.m_flags = flags;
    if (flags & SYNC_IN_DEST)
        row.m_destinationTime = entry.m_findData.ftLastWriteTime;
    m_rows.Add(row);
}

void CSyncRowBuilder::AddTarget(const CFileInfo& entry)
{
    if (entry.IsDots())
        return;
    if (!entry.IsDirectory())
    {
        AddRow(CString(), entry, SYNC_IN_SOURCE);
        return;
    }
    const CString name = entry.GetName();
    if (IsLinkFolder(entry.m_findData.dwFileAttributes))
    {
        AddRow(CString(), entry, SYNC_IN_SOURCE | SYNC_BLOCKED);
        return;
    }
    AddSourceFiles(name);
    WIN32_FIND_DATAW found;
    if (!FindEntry(m_destination, CString(), name, found) ||
        !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (IsLinkFolder(found.dwFileAttributes))
    {
        m_destinationLinks.Add(name);
        CFileInfo link;
        link.SetFromDisk(m_destination.base, found);
        AddRow(CString(), link, SYNC_IN_DEST | SYNC_BLOCKED);
        return;
    }
    AddDestinationOnlyEntries(name);
}

void CSyncRowBuilder::AddSourceFiles(const CString& relative)
{
    CArrayFileInfo entries;
    ListFolder(m_source, relative, entries);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        const CFileInfo& entry = entries[i];
        if (!entry.IsDirectory())
            AddRow(relative, entry, SYNC_IN_SOURCE);
        else if (IsLinkFolder(entry.m_findData.dwFileAttributes))
            AddRow(relative, entry, SYNC_IN_SOURCE | SYNC_BLOCKED);
        else
            AddSourceFiles(JoinSyncPath(relative, entry.GetName()));
    }
}

namespace
{
struct NoCaseLess
{
    bool operator()(const std::wstring& a, const std::wstring& b) const
    {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    }
};
} // namespace

void CSyncRowBuilder::AddDestinationOnlyEntries(const CString& relative)
{
    CArrayFileInfo sourceEntries;
    ListFolder(m_source, relative, sourceEntries);
    std::map<std::wstring, DWORD, NoCaseLess> atSource;
    for (INT_PTR i = 0; i < sourceEntries.GetSize(); ++i)
        atSource[sourceEntries[i].GetName()] = sourceEntries[i].m_findData.dwFileAttributes;

    CArrayFileInfo entries;
    ListFolder(m_destination, relative, entries);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        const CFileInfo& entry = entries[i];
        const DWORD attributes = entry.m_findData.dwFileAttributes;
        const BOOL folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        auto source = atSource.find(entry.GetName());
        const BOOL present =
            source != atSource.end() && ((source->second & FILE_ATTRIBUTE_DIRECTORY) != 0) == (folder != 0);
        const CString below = JoinSyncPath(relative, entry.GetName());
        if (IsLinkFolder(attributes))
        {
            m_destinationLinks.Add(below);
            if (!present)
                AddRow(relative, entry, SYNC_IN_DEST);
            else if (!IsLinkFolder(source->second))
                AddRow(relative, entry, SYNC_IN_DEST | SYNC_BLOCKED);
            continue;
        }
        if (!present)
            AddRow(relative, entry, SYNC_IN_DEST);
        // A source link of this name already stands blocked for the pair.
        if (folder && !(present && IsLinkFolder(source->second)))
            AddDestinationOnlyEntries(below);
    }
}

BOOL CSyncRowBuilder::IsBelowDestinationLink(const CString& relative) const
{
    for (INT_PTR i = 0; i < m_destinationLinks.GetSize(); ++i)
    {
        const CString& link = m_destinationLinks[i];
        if (relative.CompareNoCase(link) == 0)
            return TRUE;
        if (relative.GetLength() > link.GetLength() && relative[link.GetLength()] == L'\\' &&
            relative.Left(link.GetLength()).CompareNoCase(link) == 0)
            return TRUE;
    }
    return FALSE;
}

void CSyncRowBuilder::DecideActions(const SyncSettings& settings)
{
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
    {
        CSyncData& row = m_rows[i];
        if (!(row.m_flags & SYNC_IN_SOURCE))
        {
            DecideSyncAction(row, nullptr, settings);
            continue;
        }
        if (IsBelowDestinationLink(row.m_relativeFolder))
        {
            row.m_flags |= SYNC_BLOCKED;
            row.m_flags &= ~SYNC_IN_DEST;
        }
        WIN32_FIND_DATAW found;
        const BOOL present = !(row.m_flags & SYNC_BLOCKED) &&
                             FindEntry(m_destination, row.m_relativeFolder, row.m_entry.GetName(), found);
        DecideSyncAction(row, present ? &found : nullptr, settings);
    }
}
