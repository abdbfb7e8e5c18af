// The archive entry record, the error list and the viewed-file history.
#include "app/records/ArchiveFileInfo.h"
#include "app/records/ViewFileHistory.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace
{

using qvtest::W;

// ---- CErrorIF ----

TEST(RecordsErrorIF, LibraryCodesMergeIntoOneEntry)
{
    CErrorIF errors;
    errors.Add(1, 7);
    errors.Add(15, 9);
    ASSERT_EQ(1, errors.GetCount());
    EXPECT_EQ(28u, errors[0]);
    EXPECT_EQ(7, errors.GetParam(0));
    errors.Add(1, 3);
    EXPECT_EQ(1, errors.GetCount());
    EXPECT_EQ(28u, errors[0]);

    errors.Add(3, 2);
    errors.Add(3, 5); // held once, first parameter kept
    ASSERT_EQ(2, errors.GetCount());
    EXPECT_EQ(2, errors.GetParam(1));
    EXPECT_EQ(0, errors.GetParam(2));
    EXPECT_TRUE(errors.HasCode(3));
    EXPECT_FALSE(errors.HasCode(1));

    CErrorIF other;
    other.Add(21, 0);
    other.Add(3, 9);
    errors.AddFrom(other);
    ASSERT_EQ(3, errors.GetCount());
    EXPECT_EQ(21u, errors[2]);
    EXPECT_EQ(2, errors.GetParam(1));

    CErrorIF copy;
    copy.Add(40, 1);
    copy.CopyFrom(other);
    ASSERT_EQ(2, copy.GetCount());
    EXPECT_EQ(9, copy.GetParam(1));
    copy.Clear();
    EXPECT_EQ(0, copy.GetCount());
    EXPECT_EQ(0, copy.GetParam(0));
}

TEST(RecordsErrorIF, MessageText)
{
    static const struct
    {
        DWORD code;
        int param;
        const wchar_t* text;
    } kCases[] = {
        {3, 2, L"ファイルがありません(Error=0x2)"},
        {6, (int)0x8007000e, L"メモリが不足しています(Error=0x8007000e)"},
        {1, 5, L"対応するDLLがありません"},
        {21, 0, L"ユーザーキャンセル"},
        {25, 0, L"解凍先パス名が長すぎます(作成不可)(MAX=257)"},
        {28, 0, L"対応するDLL/Susie Plug-inがありません"},
        {40, 255, L"例外発生(Error=0xff)"},
        {41, 9, L"圧縮ファイル内に同じ名前のファイルが複数あります"},
        {42, 9, L"エラーコード:42"},
        {0, 9, L"エラーコード:0"},
    };
    for (const auto& c : kCases)
    {
        CErrorIF errors;
        errors.Add(c.code, c.param);
        errors.Add(7, 1); // only the first code counts
        EXPECT_STREQ(c.text, errors.GetMessageText().GetString()) << c.code;
    }
    EXPECT_TRUE(CErrorIF().GetMessageText().IsEmpty());
}

// A code's detail (the files a pack left out) follows its text on the lines below, and
// goes along when the list is handed on from a back-end to the front.
TEST(RecordsErrorIF, ADetailFollowsItsCodesTextAndIsHandedOn)
{
    CErrorIF backEnd;
    backEnd.Add(33, 0x20, L"圧縮できなかったファイル: 1件\nlocked.txt");
    backEnd.Add(7, 1);
    CErrorIF front;
    front.AddFrom(backEnd);
    EXPECT_STREQ(L"圧縮失敗(失敗ファイルあり)(Error=0x20)\n圧縮できなかったファイル: 1件\nlocked.txt",
                 front.GetMessageText().GetString());
    EXPECT_TRUE(front.GetDetail(1).IsEmpty());
    CErrorIF copy;
    copy.CopyFrom(front);
    EXPECT_EQ(front.GetMessageText(), copy.GetMessageText());
    copy.Clear();
    copy.Add(33, 0x20);
    EXPECT_STREQ(L"圧縮失敗(失敗ファイルあり)(Error=0x20)", copy.GetMessageText().GetString());
}

// ---- CArchiveFileInfo ----

const char kNoAttributes[8] = {};

TEST(RecordsArchiveFileInfo, ArchiverRecords)
{
    CArrayArchiveFileInfo list;
    EXPECT_EQ(1, CArchiveFileInfo::SetFromArchiverInfo(list, 0, 0x21, 0, "dir/sub/", kNoAttributes));
    EXPECT_EQ(1, CArchiveFileInfo::SetFromArchiverInfo(list, 1234, 0x21, 0, "\\a.txt", "-r-ah---"));
    EXPECT_EQ(0, CArchiveFileInfo::SetFromArchiverInfo(list, 0, 0x21, 0, "/", kNoAttributes));
    ASSERT_EQ(2, list.GetCount());

    EXPECT_STREQ(L"dir\\sub", list[0].m_folder.GetString());
    EXPECT_STREQ(L"", list[0].m_findData.cFileName);
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_DIRECTORY, list[0].m_findData.dwFileAttributes);
    EXPECT_STREQ(L"dir/sub/", list[0].m_storedPath.GetString());

    EXPECT_STREQ(L"", list[1].m_folder.GetString());
    EXPECT_STREQ(L"a.txt", list[1].m_findData.cFileName);
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN),
              list[1].m_findData.dwFileAttributes);
    EXPECT_EQ(1234u, list[1].m_findData.nFileSizeLow);
    EXPECT_EQ(list[1].m_findData.ftCreationTime.dwLowDateTime,
              list[1].m_findData.ftLastWriteTime.dwLowDateTime);
    EXPECT_NE(0u, list[1].m_findData.ftLastWriteTime.dwHighDateTime);

    EXPECT_EQ(&list[1], list.FindEntry(L"", L"A.TXT"));
    EXPECT_EQ(&list[0], list.FindEntry(L"DIR\\SUB", L""));
    EXPECT_EQ(nullptr, list.FindEntry(L"dir", L"a.txt"));
}

TEST(RecordsArchiveFileInfo, LongNamesAreCutToTheField)
{
    // A 512-byte name from a library, and a plug-in name field without its NUL.
    std::string longName = "folder/" + std::string(400, 'n') + ".dat";
    CArrayArchiveFileInfo list;
    ASSERT_EQ(1, CArchiveFileInfo::SetFromArchiverInfo(list, 0, 0x21, 0, longName.c_str(), kNoAttributes));
    EXPECT_EQ(MAX_PATH - 1, (int)wcslen(list[0].m_findData.cFileName));
    EXPECT_STREQ(L"nnnnnnnn", list[0].m_findData.cAlternateFileName);
    EXPECT_EQ(std::wstring(longName.begin(), longName.end()), list[0].m_storedPath.GetString());

    char name[201];
    memset(name, 'p', sizeof(name));
    char folder[200] = "a\\b\\";
    CArchiveFileInfo::PlugInRecordFields fields = {5, 6, 0x100000007ULL, 0};
    ASSERT_EQ(1, CArchiveFileInfo::SetFromPlugInInfo(list, fields, folder, name));
    const CArchiveFileInfo& entry = list[1];
    EXPECT_EQ(200u, wcslen(entry.m_findData.cFileName));
    EXPECT_STREQ(L"a\\b", entry.m_folder.GetString());
    EXPECT_EQ(L"a\\b\\" + std::wstring(200, L'p'), entry.m_storedPath.GetString());
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_NORMAL, entry.m_findData.dwFileAttributes);
    EXPECT_EQ(7u, entry.m_findData.nFileSizeLow);
    EXPECT_EQ(1u, entry.m_findData.nFileSizeHigh);
    EXPECT_EQ(5u, entry.m_position);
    EXPECT_EQ(6u, entry.m_packedSize);
    // Second 0 of 1970 in file-time units.
    ULARGE_INTEGER time;
    time.LowPart = entry.m_findData.ftLastWriteTime.dwLowDateTime;
    time.HighPart = entry.m_findData.ftLastWriteTime.dwHighDateTime;
    EXPECT_EQ(116444736000000000ULL, time.QuadPart);

    wchar_t empty[200] = {};
    EXPECT_EQ(0, CArchiveFileInfo::SetFromPlugInInfoW(list, fields, L"x", empty));
    EXPECT_EQ(1, CArchiveFileInfo::SetFromPlugInInfoW(list, fields, L"", L"w.bmp"));
    EXPECT_STREQ(L"\\w.bmp", list[2].m_storedPath.GetString());
    EXPECT_STREQ(L"", list[2].m_folder.GetString());
}

TEST(RecordsArchiveFileInfo, ShortDisplayNameAndPathNormalisation)
{
    static const struct
    {
        const wchar_t* name;
        const wchar_t* shortName;
    } kCases[] = {{L"longfilename.jpeg", L"longfile.jpe"},
                  {L"abc.", L"abc."},
                  {L"abcdefghijk", L"abcdefgh"},
                  {L"a.b.cdef", L"a.b.cde"},
                  {L".profile", L".pro"}};
    for (const auto& c : kCases)
    {
        CString out;
        CArchiveFileInfo::MakeShortDisplayName(c.name, out);
        EXPECT_STREQ(c.shortName, out.GetString()) << c.name;
    }
    CString path(L"//a/b\\c//");
    CArchiveFileInfo::NormalizeArchiveItemPath(path);
    EXPECT_STREQ(L"a\\b\\c\\", path.GetString()); // only one trailing backslash goes
}

CArchiveFileInfo Member(LPCWSTR folder, LPCWSTR name, bool directory = false)
{
    CArchiveFileInfo entry;
    entry.m_folder = folder;
    entry.SetName(name);
    entry.m_findData.dwFileAttributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    return entry;
}

TEST(RecordsArchiveFileInfo, SortOrder)
{
    static const struct
    {
        CArchiveFileInfo a, b;
        int expected;
    } kCases[] = {
        {Member(L"b\\x", L"1.jpg"), Member(L"a\\x", L"1.jpg"), 1},
        {Member(L"a", L"z.jpg"), Member(L"a\\b", L"a.jpg"), -1},
        {Member(L"a/b", L"1.jpg"), Member(L"A\\B", L"1.jpg"), 0},
        {Member(L"a", L"z", true), Member(L"a", L"a.jpg"), -1},
        {Member(L"", L"a.zip"), Member(L"", L"b.bmp"), -1},
        {Member(L"", L"a.zip"), Member(L"", L"a.bmp"), 1},
        {Member(L"", L"A.BMP"), Member(L"", L"a.bmp"), 0},
    };
    for (const auto& c : kCases)
    {
        EXPECT_EQ(c.expected, c.a.Compare(c.b))
            << W(c.a.m_folder) << "|" << c.a.m_findData.cFileName << " vs " << W(c.b.m_folder);
        EXPECT_EQ(-c.expected, c.b.Compare(c.a));
    }
}

// ---- Viewed files ----

TEST(RecordsViewHistory, KeepsOneEntryPerFileAndAtMost300)
{
    CArrayViewFile history;
    history.AddPath(L"C:\\d\\a.txt");
    history.AddPath(L"C:\\d\\b.txt");
    history.AddPath(L"c:\\D\\A.TXT");
    ASSERT_EQ(2, history.GetCount());
    // The stored record moves to the top as it was first written.
    EXPECT_STREQ(L"a.txt", history[0].m_name.GetString());
    EXPECT_STREQ(L"C:\\d", history[0].m_folder.GetString());
    EXPECT_TRUE(history[0].m_archive.IsEmpty());

    history.AddPath(L"sub\\m.jpg", L"C:\\x.zip");
    history.AddPath(L"sub\\m.jpg", L"C:\\y.zip");
    ASSERT_EQ(4, history.GetCount());
    EXPECT_STREQ(L"C:\\y.zip", history[0].m_archive.GetString());
    EXPECT_STREQ(L"sub", history[1].m_folder.GetString());

    history.RemoveAll();
    for (int i = 0; i < 301; ++i)
    {
        CString name;
        name.Format(L"f%d", i);
        history.Add(name, L"C:\\d", L"");
    }
    ASSERT_EQ(300, history.GetCount());
    EXPECT_STREQ(L"f300", history[0].m_name.GetString());
    EXPECT_STREQ(L"f1", history[299].m_name.GetString());
}

} // namespace

TEST(RecordsArchiveFileInfo, APlugInMembersPositionAndSizesKeepAllSixtyFourBits)
{
    // A member that starts past 4 GiB and is itself larger than 4 GiB.
    const struct
    {
        ULONGLONG position, packed, size;
    } cases[] = {
        {0x100000000ULL, 0x100000001ULL, 0x100000002ULL},
        {0xFFFFFFFFULL, 0x80000000ULL, 0x7FFFFFFFULL},
        {0x123456789ABCULL, 0, 0x500000000ULL},
    };
    for (const auto& c : cases)
    {
        CArrayArchiveFileInfo list;
        CArchiveFileInfo::PlugInRecordFields fields = {c.position, c.packed, c.size, 0};
        ASSERT_EQ(1, CArchiveFileInfo::SetFromPlugInInfoW(list, fields, L"", L"big.bin"));
        const CArchiveFileInfo copy = list[0];
        EXPECT_EQ(c.position, copy.m_position);
        EXPECT_EQ(c.packed, copy.m_packedSize);
        EXPECT_EQ(c.size, (ULONGLONG(copy.m_findData.nFileSizeHigh) << 32) | copy.m_findData.nFileSizeLow);
    }
}
