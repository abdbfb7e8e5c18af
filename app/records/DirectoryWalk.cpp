#include "app/records/DirectoryWalk.h"

#include "util/PathHelpers.h"
#include "app/Directories.h"

namespace
{
HANDLE DefaultFindFirst(LPCWSTR pattern, WIN32_FIND_DATAW* findData)
{
    return FindFirstFileLong(pattern, findData);
}

BOOL DefaultFindNext(HANDLE find, WIN32_FIND_DATAW* findData)
{
    return FindNextFileW(find, findData);
}
} // namespace

DirectoryEnumHooks g_DirectoryEnumHooks = {&DefaultFindFirst, &DefaultFindNext, &FindCloseLong};

BOOL IsDotEntry(const WIN32_FIND_DATAW& findData)
{
    const wchar_t* name = findData.cFileName;
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

BOOL IsWalkableDirectory(const WIN32_FIND_DATAW& findData)
{
    // The attribute comes with the find record, so the test costs no extra call
    // per folder; a junction or directory link carries FILE_ATTRIBUTE_REPARSE_POINT.
    return (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (findData.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && !IsDotEntry(findData);
}

BOOL ForEachDirectoryEntry(LPCWSTR directory, const DirectoryEntryVisitor& visit)
{
    CString pattern;
    MakePath(directory, L"*.*", pattern);
    WIN32_FIND_DATAW findData;
    HANDLE find = g_DirectoryEnumHooks.findFirst(pattern, &findData);
    if (find == INVALID_HANDLE_VALUE)
    {
        return TRUE;
    }
    BOOL completed = TRUE;
    do
    {
        if (!IsDotEntry(findData) && !visit(directory, findData))
        {
            completed = FALSE;
            break;
        }
    } while (g_DirectoryEnumHooks.findNext(find, &findData));
    g_DirectoryEnumHooks.findClose(find);
    return completed;
}

BOOL ForEachFileBelow(LPCWSTR directory, const DirectoryEntryVisitor& visitFile)
{
    return ForEachDirectoryEntry(directory, [&](LPCWSTR folder, const WIN32_FIND_DATAW& findData) -> BOOL {
        if ((findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        {
            return visitFile(folder, findData);
        }
        if (!IsWalkableDirectory(findData))
        {
            return TRUE;
        }
        CString sub;
        MakePath(folder, findData.cFileName, sub);
        return ForEachFileBelow(sub, visitFile);
    });
}

void CountDirectoryContents(LPCWSTR directory, BOOL countSelf, int& fileCount, ULONGLONG& byteTotal,
                            int& directoryCount)
{
    if (countSelf)
    {
        ++directoryCount;
    }
    ForEachDirectoryEntry(directory, [&](LPCWSTR folder, const WIN32_FIND_DATAW& findData) -> BOOL {
        if ((findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        {
            ++fileCount;
            byteTotal += ((ULONGLONG)findData.nFileSizeHigh << 32) | findData.nFileSizeLow;
        }
        else if (IsWalkableDirectory(findData))
        {
            CString sub;
            MakePath(folder, findData.cFileName, sub);
            CountDirectoryContents(sub, TRUE, fileCount, byteTotal, directoryCount);
        }
        else
        {
            // A linked folder is there for the user, but its contents belong to
            // the folder it points at.
            ++directoryCount;
        }
        return TRUE;
    });
}
