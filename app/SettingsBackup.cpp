#include "app/SettingsBackup.h"
#include "util/PathHelpers.h"
#include "framework/FwCollections.h"

#include <algorithm>
#include <vector>

namespace
{

const int kDatedBackupsKept = 10;

// Exactly "<base>_dddddddd_dddddd.bck": a name that merely starts alike (an extra
// digit, a letter among the digits) belongs to someone else and is left alone.
bool IsDatedBackupName(const CString& name, int baseLength)
{
    static const wchar_t kTail[] = L"_********_******.bck";
    const int tailLength = (int)(sizeof(kTail) / sizeof(kTail[0])) - 1;
    if (name.GetLength() != baseLength + tailLength)
    {
        return false;
    }
    for (int i = 0; i < tailLength; i++)
    {
        const wchar_t ch = name[baseLength + i];
        if (kTail[i] == L'*' ? !(ch >= L'0' && ch <= L'9') : towlower(ch) != kTail[i])
        {
            return false;
        }
    }
    return true;
}

void DeleteOldDatedBackups(const CString& folder, const CString& base)
{
    CString pattern;
    pattern.Format(L"%s\\%s_*_*.bck", folder, base);
    std::vector<CString> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileLong(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
    {
        return;
    }
    do
    {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsDatedBackupName(data.cFileName, base.GetLength()))
        {
            names.push_back(data.cFileName);
        }
    } while (FindNextFileW(find, &data));
    FindCloseLong(find);

    if ((int)names.size() <= kDatedBackupsKept)
    {
        return;
    }
    // The date fields are fixed-width, so the names sort newest first by text.
    std::sort(names.begin(), names.end(),
              [](const CString& a, const CString& b) { return a.CompareNoCase(b) > 0; });
    for (size_t i = kDatedBackupsKept; i < names.size(); i++)
    {
        DeleteFileLong(folder + L"\\" + names[i]);
    }
}

} // namespace

BOOL BackupSettingsFile(LPCWSTR settingsPath)
{
    if (!FileExists(settingsPath))
    {
        return TRUE;
    }
    CString folder, name, base, extension;
    SplitPath(settingsPath, &folder, &name);
    SplitExtension(name, &base, &extension);

    CString backup;
    backup.Format(L"%s\\%s.bck", folder, base);
    WIN32_FIND_DATAW backupData;
    if (FileExists(backup, &backupData))
    {
        // Named after the time the previous save was made, in the user's local time.
        FILETIME local;
        SYSTEMTIME st;
        if (FileTimeToLocalFileTime(&backupData.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &st))
        {
            CString dated;
            dated.Format(L"%s\\%s_%04d%02d%02d_%02d%02d%02d.bck", folder, base, st.wYear, st.wMonth, st.wDay,
                         st.wHour, st.wMinute, st.wSecond);
            CopyFileLong(backup, dated, FALSE);
        }
    }

    DeleteOldDatedBackups(folder, base);

    return CopyFileLong(settingsPath, backup, FALSE);
}
