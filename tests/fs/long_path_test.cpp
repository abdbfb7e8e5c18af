// The long-path rule and the wrappers that apply it to every path they pass on.
#include "fs/LongPath.h"
#include "fs/LongPathSecurity.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace
{

using qvtest::W;

FILETIME MakeFileTime(WORD year, WORD month, WORD day, WORD hour)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    FILETIME ft = {};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

bool FindEntry(const std::wstring& path, WIN32_FIND_DATAW* fd)
{
    HANDLE h = FindFirstFileW(path.c_str(), fd);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FindClose(h);
    return true;
}

// Restores the current folder of the process when a test changed it.
class CurrentDirGuard
{
public:
    CurrentDirGuard() { GetCurrentDirectoryW(MAX_PATH, m_saved); }
    ~CurrentDirGuard() { SetCurrentDirectoryW(m_saved); }

private:
    wchar_t m_saved[MAX_PATH];
};

} // namespace

TEST(LongPathArg, PrefixesOnlyLongPathsThatDoNotBeginWithABackslash)
{
    struct Case
    {
        std::wstring path;
        bool prefixed;
    } cases[] = {
        {L"C:\\" + std::wstring(244, L'x'), false}, // 247 characters
        {L"C:\\" + std::wstring(245, L'x'), true},  // 248 characters
        {std::wstring(248, L'r'), true},            // relative: prefixed as it is
        {L"\\\\server\\share\\" + std::wstring(285, L'n'), false},
        {L"\\" + std::wstring(299, L'n'), false},
        {L"", false},
    };
    for (const Case& c : cases)
    {
        CString holder(L"untouched");
        LPCWSTR arg = LongPathArg(c.path.c_str(), holder);
        if (c.prefixed)
        {
            EXPECT_EQ(L"\\\\?\\" + c.path, arg) << c.path.size();
        }
        else
        {
            // Short paths are handed on without a copy.
            EXPECT_EQ(c.path.c_str(), arg) << c.path.size();
            EXPECT_EQ(L"untouched", W(holder));
        }
    }
}

// Wine resolves long paths without the prefix as well, so only a long relative path
// shows that a wrapper applied the rule: with the prefix the system no longer looks
// for it in the current folder.
TEST(LongPathWrappers, PassLongRelativePathsWithThePrefix)
{
    std::wstring dir = qvtest::ScratchDir();
    CurrentDirGuard guard;
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    const std::wstring file(248, L'f');
    const std::wstring folder(248, L'd');
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\" + file, "x"));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\" + folder).c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\short.txt", "x"));

    const std::wstring newFolder = std::wstring(247, L'n') + L"n";
    struct Call
    {
        const char* what;
        std::function<bool()> succeeds;
    } calls[] = {
        {"FindFirstFileLong",
         [&] {
             WIN32_FIND_DATAW fd;
             HANDLE h = FindFirstFileLong(file.c_str(), &fd);
             return FindCloseLong(h) && h == INVALID_HANDLE_VALUE && fd.cFileName[0] == L'f';
         }},
        {"CreateFileLong",
         [&] {
             HANDLE h = CreateFileLong(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                       nullptr);
             return h != INVALID_HANDLE_VALUE && CloseHandle(h);
         }},
        {"FindFirstChangeNotificationLong",
         [&] {
             HANDLE h = FindFirstChangeNotificationLong(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
             return h != INVALID_HANDLE_VALUE && FindCloseChangeNotification(h);
         }},
        {"MoveFileLong (source)", [&] { return MoveFileLong(file.c_str(), L"moved.txt") != FALSE; }},
        {"MoveFileLong (target)", [&] { return MoveFileLong(L"short.txt", newFolder.c_str()) != FALSE; }},
        {"CreateDirectoryLong", [&] { return CreateDirectoryLong(newFolder.c_str(), nullptr) != FALSE; }},
        {"SetFileAttributesLong",
         [&] { return SetFileAttributesLong(file.c_str(), FILE_ATTRIBUTE_HIDDEN) != FALSE; }},
        {"DeleteFileLong", [&] { return DeleteFileLong(file.c_str()) != FALSE; }},
        {"RemoveDirectoryLong", [&] { return RemoveDirectoryLong(folder.c_str()) != FALSE; }},
        {"GetFileAttributesLong",
         [&] { return GetFileAttributesLong(file.c_str()) != INVALID_FILE_ATTRIBUTES; }},
        {"GetFileAttributesExLong",
         [&] {
             WIN32_FILE_ATTRIBUTE_DATA data;
             return GetFileAttributesExLong(file.c_str(), GetFileExInfoStandard, &data) != FALSE;
         }},
        {"MoveFileExLong (source)", [&] { return MoveFileExLong(file.c_str(), L"moved.txt", 0) != FALSE; }},
        {"MoveFileExLong (target)",
         [&] { return MoveFileExLong(L"short.txt", newFolder.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE; }},
        {"CopyFileLong (source)", [&] { return CopyFileLong(file.c_str(), L"copy.txt", FALSE) != FALSE; }},
        {"GetFileSecurityLong",
         [&] {
             BYTE descriptor[1024];
             DWORD needed = 0;
             return GetFileSecurityLong(file.c_str(), DACL_SECURITY_INFORMATION, descriptor,
                                        sizeof descriptor, &needed) != FALSE;
         }},
        {"GetNamedSecurityInfoLong",
         [&] {
             PSECURITY_DESCRIPTOR descriptor = nullptr;
             DWORD result = GetNamedSecurityInfoLong(file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                                     nullptr, nullptr, nullptr, nullptr, &descriptor);
             if (descriptor != nullptr)
                 LocalFree(descriptor);
             return result == ERROR_SUCCESS;
         }},
        {"CopyFileLong (target)",
         [&] { return CopyFileLong(L"short.txt", newFolder.c_str(), FALSE) != FALSE; }},
        {"AccessLong", [&] { return AccessLong(file.c_str(), 0) == 0; }},
    };
    for (const Call& call : calls)
        EXPECT_FALSE(call.succeeds()) << call.what;

    EXPECT_EQ(FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesW((dir + L"\\" + file).c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((dir + L"\\" + folder).c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((dir + L"\\short.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((dir + L"\\" + newFolder).c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((dir + L"\\copy.txt").c_str()));
}

// The log's calls hand the same long relative path on as it stands, and find it.
TEST(LongPathWrappers, AsGivenCallsPassThePathUnchanged)
{
    std::wstring dir = qvtest::ScratchDir();
    CurrentDirGuard guard;
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    const std::wstring file(248, L'g');
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\" + file, "x"));

    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileAsGiven(file.c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    EXPECT_EQ(file, fd.cFileName);
    FindClose(find);
    HANDLE h =
        CreateFileAsGiven(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);

    // The short form of a relative name stays relative, without the "\\?\" form.
    std::vector<wchar_t> shortName(1024);
    const DWORD length = GetShortPathNameAsGiven(file.c_str(), shortName.data(), 1024);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, 1024u);
    EXPECT_NE(L'\\', shortName[0]) << shortName.data();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(shortName.data())) << shortName.data();
}

// The current folder reads back in the form it was set in, and the shell's delete
// takes a path as it stands.
TEST(LongPathWrappers, CurrentFolderAndShellOperationTakeThePathAsItStands)
{
    std::wstring dir = qvtest::ScratchDir();
    CurrentDirGuard guard;
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryAsGiven(dir.c_str()));
    ASSERT_TRUE(SetCurrentDirectoryAsGiven(L"sub"));
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(dir + L"\\sub", current);

    const std::wstring victim = dir + L"\\sub\\victim.txt";
    ASSERT_TRUE(qvtest::WriteFileBytes(victim, "x"));
    // The shell reads a list of paths, each ended by a zero, the list by one more.
    std::wstring from = victim + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    EXPECT_EQ(0, SHFileOperationAsGiven(&operation));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(victim.c_str()));
}

TEST(SetFileTimeLong, SetsTheTimesAndLeavesTheRecordsAttributes)
{
    std::wstring dir = qvtest::ScratchDir();
    struct Case
    {
        const wchar_t* name;
        bool folder;
        DWORD before;
        DWORD wanted;
    } cases[] = {
        {L"readonly.txt", false, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
        {L"becomes-writable.txt", false, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_ARCHIVE},
        {L"plain.txt", false, FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
        {L"folder", true, FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const Case& c : cases)
    {
        std::wstring path = dir + L"\\" + c.name;
        if (c.folder)
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        else
            ASSERT_TRUE(qvtest::WriteFileBytes(path, "data"));
        SetFileAttributesW(path.c_str(), c.before);

        WIN32_FIND_DATAW wanted = {};
        wanted.dwFileAttributes = c.wanted;
        wanted.ftCreationTime = MakeFileTime(2001, 2, 3, 4);
        wanted.ftLastAccessTime = MakeFileTime(2002, 3, 4, 5);
        wanted.ftLastWriteTime = MakeFileTime(2003, 4, 5, 6);
        EXPECT_TRUE(SetFileTimeLong(path.c_str(), &wanted)) << c.name;

        WIN32_FIND_DATAW now = {};
        ASSERT_TRUE(FindEntry(path, &now));
        EXPECT_EQ(c.wanted, now.dwFileAttributes) << c.name;
        // Wine keeps no creation time on the host's file system: only these two show.
        EXPECT_EQ(0, CompareFileTime(&wanted.ftLastWriteTime, &now.ftLastWriteTime)) << c.name;
        EXPECT_EQ(0, CompareFileTime(&wanted.ftLastAccessTime, &now.ftLastAccessTime)) << c.name;
    }

    WIN32_FIND_DATAW missing = {};
    missing.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    EXPECT_FALSE(SetFileTimeLong((dir + L"\\missing.txt").c_str(), &missing));
}

TEST(NamesInFolder, TakeOnlyNamesAPathWouldGiveTheSameFile)
{
    struct Case
    {
        const wchar_t* name;
        BOOL plain;
    } cases[] = {
        {L"report.txt", TRUE},  {L"a.b.c", TRUE},    {L"~qv001.tmp", TRUE}, {L" lead", TRUE},
        {L"CONSOLE.txt", TRUE}, {L"COM10", TRUE},    {L"nullable", TRUE},   {L"日本語.dat", TRUE},
        {L"", FALSE},           {L"dot.", FALSE},    {L"space ", FALSE},    {L"sub\\name", FALSE},
        {L"sub/name", FALSE},   {L"c:name", FALSE},  {L"wild*", FALSE},     {L"que?", FALSE},
        {L"nul", FALSE},        {L"NUL.txt", FALSE}, {L"con .log", FALSE},  {L"Com1", FALSE},
        {L"lpt9.dat", FALSE},   {L"AUX", FALSE},     {L"prn.x.y", FALSE},   {L"conin$", FALSE},
        {L"tab\there", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.plain, IsPlainNameInFolder(c.name)) << W(c.name);
}

// A file made and named inside a folder held open: the taken names are refused as the
// path calls refuse them, nothing is replaced, and a folder beyond the classic path
// limit is no different.
TEST(NamesInFolder, MakeAndNameFilesInTheFolderHeldOpen)
{
    const std::wstring folder =
        qvtest::ScratchDir() + L"\\" + std::wstring(120, L'a') + L"\\" + std::wstring(120, L'b');
    ASSERT_TRUE(CreateDirectoryLong((folder.substr(0, folder.rfind(L'\\'))).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryLong(folder.c_str(), nullptr));
    HANDLE held = OpenFolderForNamesLong(folder.c_str());
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    HANDLE made = CreateFileInFolder(held, L"new.~qv000", GENERIC_WRITE | DELETE, FILE_SHARE_WRITE,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    ASSERT_NE(INVALID_HANDLE_VALUE, made);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(made, "copy", 4, &written, nullptr));
    HANDLE again = CreateFileInFolder(held, L"NEW.~QV000", GENERIC_WRITE, FILE_SHARE_WRITE, CREATE_NEW, 0);
    EXPECT_EQ(INVALID_HANDLE_VALUE, again);
    EXPECT_EQ((DWORD)ERROR_FILE_EXISTS, GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              CreateFileInFolder(held, L"missing.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              CreateFileInFolder(held, L"x", GENERIC_READ, 0, OPEN_EXISTING, FILE_FLAG_OVERLAPPED));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());

    // A file of the name that appeared meanwhile stays as it was.
    const std::wstring taken = folder + L"\\taken.txt";
    HANDLE other = CreateFileLong(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    ASSERT_TRUE(WriteFile(other, "theirs", 6, &written, nullptr));
    CloseHandle(other);
    EXPECT_FALSE(RenameOpenFileInFolder(made, held, L"Taken.txt", FALSE));
    const DWORD refusal = GetLastError();
    EXPECT_TRUE(refusal == ERROR_ALREADY_EXISTS || refusal == ERROR_FILE_EXISTS) << refusal;

    EXPECT_TRUE(RenameOpenFileInFolder(made, held, L"new.txt", FALSE)) << GetLastError();
    CloseHandle(made);
    CloseHandle(held);

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExLong((folder + L"\\new.txt").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(4u, data.nFileSizeLow);
    ASSERT_TRUE(GetFileAttributesExLong(taken.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(6u, data.nFileSizeLow);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesLong((folder + L"\\new.~qv000").c_str()));
}

// A file written into a drive's root has the folder "X:", which alone would name the
// drive's current folder: the folder held open is the root.
TEST(NamesInFolder, ADriveLetterAloneIsItsRoot)
{
    const std::wstring dir = qvtest::ScratchDir();
    ASSERT_GE(dir.size(), 3u);
    ASSERT_EQ(L':', dir[1]);
    CurrentDirGuard guard;
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    auto identity = [](HANDLE handle) {
        BY_HANDLE_FILE_INFORMATION info = {};
        GetFileInformationByHandle(handle, &info);
        CloseHandle(handle);
        return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    };
    HANDLE held = OpenFolderForNamesLong(dir.substr(0, 2).c_str());
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const ULONGLONG root = identity(CreateFileW(dir.substr(0, 3).c_str(), FILE_READ_ATTRIBUTES, 7, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const ULONGLONG current = identity(CreateFileW(dir.c_str(), FILE_READ_ATTRIBUTES, 7, nullptr,
                                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_NE(root, current);
    EXPECT_EQ(root, identity(held));
}
