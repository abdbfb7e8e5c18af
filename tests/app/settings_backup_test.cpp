// Backups of the settings file: "<base>.bck" and the ten newest dated copies.
#include "app/SettingsBackup.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace
{

std::wstring DatedName(int day)
{
    wchar_t name[64];
    swprintf(name, 64, L"qv_202401%02d_000000.bck", day);
    return name;
}

// Gives the file a last-write time of the given local time.
void SetLocalWriteTime(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFileTime(file, nullptr, nullptr, &utc);
    CloseHandle(file);
}

} // namespace

TEST(SettingsBackup, FirstSaveMakesOnlyTheBackup)
{
    const std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\qv.ini", "settings"));

    EXPECT_TRUE(BackupSettingsFile((dir + L"\\qv.ini").c_str()));

    EXPECT_EQ((std::set<std::wstring>{L"qv.ini", L"qv.bck"}), qvtest::ListFolder(dir));
    EXPECT_EQ("settings", qvtest::ReadFileBytes(dir + L"\\qv.bck"));
}

TEST(SettingsBackup, TwelveDatedBackupsLeaveTheTenNewest)
{
    const std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\qv.ini", "new"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\qv.bck", "previous"));
    SetLocalWriteTime(dir + L"\\qv.bck", 2024, 1, 13, 12);
    for (int day = 1; day <= 12; day++)
        ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\" + DatedName(day), "old"));

    EXPECT_TRUE(BackupSettingsFile((dir + L"\\qv.ini").c_str()));

    // The previous save became the newest dated copy; with it, 13 dated copies
    // existed, and the three oldest are gone.
    std::set<std::wstring> expected = {L"qv.ini", L"qv.bck", L"qv_20240113_120000.bck"};
    for (int day = 4; day <= 12; day++)
        expected.insert(DatedName(day));
    EXPECT_EQ(expected, qvtest::ListFolder(dir));
    EXPECT_EQ("previous", qvtest::ReadFileBytes(dir + L"\\qv_20240113_120000.bck"));
    EXPECT_EQ("new", qvtest::ReadFileBytes(dir + L"\\qv.bck"));
}

TEST(SettingsBackup, NamesThatOnlyLookDatedAreNeverDeleted)
{
    const std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\qv.ini", "new"));
    for (int day = 1; day <= 12; day++)
        ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\" + DatedName(day), "old"));
    // Older by their text than every real dated copy, so they would be the first to go.
    const std::wstring lookalikes[] = {
        L"qv_200001011_000000.bck", // one digit more
        L"qv_2000010a_000000.bck",  // a letter among the digits
        L"qv_20000101_00000.bck",   // one digit less
        L"qv_20000101_000000x.bck", // a letter before the extension
    };
    for (const std::wstring& name : lookalikes)
        ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\" + name, "keep"));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\qv_20000101_000000.bck").c_str(), nullptr));

    EXPECT_TRUE(BackupSettingsFile((dir + L"\\qv.ini").c_str()));

    std::set<std::wstring> expected = {L"qv.ini", L"qv.bck", L"qv_20000101_000000.bck"};
    for (const std::wstring& name : lookalikes)
        expected.insert(name);
    for (int day = 3; day <= 12; day++)
        expected.insert(DatedName(day));
    EXPECT_EQ(expected, qvtest::ListFolder(dir));
}
