#include "app/records/PlayListFile.h"

#include "util/PathHelpers.h"
#include "util/Wildcard.h"
#include "app/records/DirectoryWalk.h"
#include "app/records/MediaKinds.h"

#include <new>
#include <vector>

namespace
{
// Files beyond this size are no play lists; the limit keeps size + 2 in range.
constexpr LONGLONG kMaxPlayListBytes = 0x40000000;

BOOL WriteAll(HANDLE file, const void* data, DWORD bytes)
{
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, nullptr) && written == bytes;
}

void AppendListedFile(const CString& line, IPlayList& list, BOOL& outOfMemory)
{
    // Header and comment lines begin with '#'; an entry's title line such as
    // "#EXTINF:215,track01.mp3" may still end in a media extension.
    if ((!line.IsEmpty() && line[0] == L'#') || (!IsAudioKindFile(line) && !IsMovieKindFile(line)))
    {
        return;
    }
    CString folder, name;
    SplitPath(line, &folder, &name);
    WIN32_FIND_DATAW findData{};
    lstrcpynW(findData.cFileName, name, MAX_PATH);
    if (!list.AppendEntry(folder, findData))
    {
        outOfMemory = TRUE;
    }
}
} // namespace

void CPlayListPaths::GetEntryFullPath(INT_PTR index, CString& out) const
{
    const Entry& entry = m_entries[index];
    if (entry.folder.IsEmpty())
    {
        out = entry.findData.cFileName;
    }
    else
    {
        out.Format(L"%s\\%s", entry.folder.GetString(), entry.findData.cFileName);
    }
}

BOOL CPlayListPaths::AppendEntry(LPCWSTR folder, const WIN32_FIND_DATAW& findData)
{
    Entry entry;
    entry.folder = folder;
    entry.findData = findData;
    try
    {
        m_entries.Add(entry);
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

int SavePlayListM3u(LPCWSTR path, const IPlayList& list)
{
    if (!HasExtension(path, L"M3U"))
    {
        return 0;
    }
    HANDLE file = CreateFileLong(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return 0;
    }
    int result = WriteUnicodeBom(file) ? 1 : 0;
    CString line;
    for (INT_PTR i = 0; result && i < list.GetEntryCount(); ++i)
    {
        list.GetEntryFullPath(i, line);
        line += L"\r\n";
        result = WriteAll(file, line.GetString(), (DWORD)(line.GetLength() * sizeof(wchar_t))) ? 1 : 0;
    }
    CloseHandle(file);
    return result;
}

int LoadPlayListM3u(LPCWSTR path, IPlayList& list)
{
    if (!HasExtension(path, L"M3U"))
    {
        return 0;
    }
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return 0;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart == 0 || size.QuadPart > kMaxPlayListBytes)
    {
        CloseHandle(file);
        return 0;
    }
    DWORD bytes = (DWORD)size.QuadPart;
    // Two zero bytes behind the data end the text in either encoding.
    std::vector<char> buffer;
    try
    {
        buffer.assign(bytes + 2, 0);
    }
    catch (const std::bad_alloc&)
    {
        CloseHandle(file);
        return 0;
    }
    DWORD read = 0;
    BOOL ok = ReadFile(file, buffer.data(), bytes, &read, nullptr) && read == bytes;
    CloseHandle(file);
    if (!ok)
    {
        return 0;
    }

    CString text;
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(buffer.data());
    if (bytes >= 2 && wide[0] == 0xFEFF)
    {
        text = CString(wide + 1, (int)((bytes - 2) / sizeof(wchar_t)));
    }
    else if (!AnsiToWideString(buffer.data(), text) && bytes > 0)
    {
        return 0;
    }

    // Our own files end every line in CR LF; lists written elsewhere may end lines in
    // LF alone or leave the last line open, and none of their entries may be lost.
    BOOL outOfMemory = FALSE;
    CString line;
    int length = text.GetLength();
    for (int i = 0; i < length && !outOfMemory; ++i)
    {
        wchar_t ch = text[i];
        if (ch == L'\n')
        {
            if (!line.IsEmpty() && line[line.GetLength() - 1] == L'\r')
                line.Delete(line.GetLength() - 1);
            AppendListedFile(line, list, outOfMemory);
            line.Empty();
        }
        else
        {
            line += ch;
        }
    }
    if (!line.IsEmpty() && !outOfMemory)
        AppendListedFile(line, list, outOfMemory);
    return outOfMemory ? 0 : 1;
}

void AddEntryToPlayList(LPCWSTR folder, const WIN32_FIND_DATAW& findData, IPlayList& list,
                        const CStringArray& extensions)
{
    if (IsDotEntry(findData))
    {
        return;
    }
    CString path;
    if (folder != nullptr && folder[0] != L'\0')
    {
        path.Format(L"%s\\%s", folder, findData.cFileName);
    }
    else
    {
        path = findData.cFileName;
    }
    if (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    {
        AddDirectoryToPlayList(path, list, extensions);
        return;
    }
    if (!MatchesExtensionList(findData.cFileName, extensions))
    {
        return;
    }
    if (HasExtension(findData.cFileName, L"M3U"))
    {
        LoadPlayListM3u(path, list);
    }
    else
    {
        list.AppendEntry(folder, findData);
    }
}

void AddDirectoryToPlayList(LPCWSTR directory, IPlayList& list, const CStringArray& extensions)
{
    ForEachDirectoryEntry(directory, [&](LPCWSTR folder, const WIN32_FIND_DATAW& findData) -> BOOL {
        if ((findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsWalkableDirectory(findData))
        {
            return TRUE;
        }
        AddEntryToPlayList(folder, findData, list, extensions);
        return TRUE;
    });
}

PlayListHooks g_PlayListHooks = {nullptr};

void AddPaneSelectionToPlayList(int paneIndex, IPlayList& list, const CStringArray& extensions)
{
    if (g_PlayListHooks.paneTargetEntry == nullptr)
    {
        return;
    }
    CString folder;
    WIN32_FIND_DATAW findData;
    for (int n = 0; g_PlayListHooks.paneTargetEntry(paneIndex, n, folder, findData); ++n)
    {
        AddEntryToPlayList(folder, findData, list, extensions);
    }
}

int ResetPlayListFlags(IPlayList& list)
{
    for (INT_PTR i = 0; i < list.GetEntryCount(); ++i)
    {
        list.SetEntryState(i, 0);
    }
    return (int)list.GetEntryCount();
}
