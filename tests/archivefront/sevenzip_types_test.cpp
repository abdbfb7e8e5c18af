#include "archivefront/sevenzip/ExtractPaths.h"
#include "archivefront/sevenzip/SevenZipTypes.h"

#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

namespace
{

class SevenZipTypesTest : public qvtest::ScratchFolderTest
{
};

TEST_F(SevenZipTypesTest, TheHeadDecidesBeforeTheNameAndAShortHeadFallsBackToTheName)
{
    struct Case
    {
        const wchar_t* name;
        std::string head;
        int format; // 0: none
    } cases[] = {
        {L"x.7z", std::string("PK\x03\x04", 4) + "rest", 0x01},
        {L"x.zip", "nothing known here", 0x01},
        {L"x.zip", "", 0x01},
        {L"x.bin", std::string("7z\xBC\xAF\x27\x1C", 6), 0x07},
        {L"x.gz", "P", 0xEF},
        {L"x.tar.gz", std::string("\x1F\x8B\x08", 3), 0xEF},
        {L"x.iso", std::string(8, '\0') + "NullsoftInst", 0x09},
        {L"x.dat", std::string("Rar!\x1A\x07\x01\x00", 8), 0xCC},
        {L"x.txt", "plain text", 0},
        {L"noext", "plain text", 0},
    };
    for (const Case& c : cases)
    {
        std::wstring path = P(c.name);
        sztest::WriteFile(path, c.head);
        EXPECT_EQ(c.format, SevenZipFormatNumber(DetectSevenZipType(path.c_str(), TRUE)))
            << qvtest::W(c.name);
    }
    // Without the signature test only the extension speaks; a dot in a folder name is
    // no extension.
    sztest::WriteFile(P(L"y.7z"), "PK\x03\x04");
    EXPECT_EQ(0x07, SevenZipFormatNumber(DetectSevenZipType(P(L"y.7z").c_str(), FALSE)));
    EXPECT_EQ(nullptr, DetectSevenZipType(L"C:\\a.b\\file", FALSE));
    const GUID* id = DetectSevenZipType(P(L"y.7z").c_str(), FALSE);
    ASSERT_NE(nullptr, id);
    EXPECT_EQ(0x23170F69u, id->Data1);
    EXPECT_EQ(0x10, id->Data4[0]);
}

TEST(SevenZipTypes, NamesForReadingAndPacking)
{
    struct Case
    {
        const wchar_t* name;
        int readable;
        int packable;
        BOOL packSuffix; // any dotted suffix in the packing list
    } cases[] = {
        {L"x.tar.gz", 1, 0, TRUE},  {L"x.gzip", 1, 1, TRUE}, {L"x.BZIP2", 1, 1, TRUE},
        {L"x.gz", 1, 0, FALSE},     {L"x.7Z", 1, 1, TRUE},   {L"x.zip", 1, 1, TRUE},
        {L"x.lzh", 1, 0, FALSE},    {L"x.txt", 0, 0, FALSE}, {L"archive", 0, 0, FALSE},
        {L"x.zip.txt", 0, 0, TRUE},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.readable, IsSupportedSevenZipName(c.name, 1)) << qvtest::W(c.name);
        EXPECT_EQ(c.packable, CSevenZipArchive::IsSupportedName(c.name, 4)) << qvtest::W(c.name);
        EXPECT_EQ(c.packSuffix, HasListedSuffix(c.name, kSevenZipWritableTypes)) << qvtest::W(c.name);
    }
    EXPECT_TRUE(HasListedSuffix(L"a.tar.gz", kSevenZipReadableTypes));
}

TEST(SevenZipTypes, DefaultItemNames)
{
    struct Case
    {
        const wchar_t* archive;
        const wchar_t* item;
    } cases[] = {
        {L"C:\\d\\x.tgz", L"x.tar"},
        {L"x.gz", L"x"},
        {L"C:\\d\\a.TBZ2", L"a.tar"},
        {L"y.txz", L"y.tar"},
        {L"a.b.xz", L"a.b"},
        {L"noext", L"noext"},
        {L"d.x\\file.tlz", L"file.tar"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.item), qvtest::W(MakeSevenZipDefaultItemName(c.archive)))
            << qvtest::W(c.archive);
}

TEST(SevenZipTypes, MemberPathsBecomeSafeRelativePathsOrAreRefused)
{
    struct Case
    {
        const wchar_t* member;
        const wchar_t* relative; // null: refused
    } cases[] = {
        {L"a\\b.txt", L"a\\b.txt"},
        {L"a/b/./c.txt", L"a\\b\\c.txt"},
        {L"..\\evil", nullptr},
        {L"../evil", nullptr},
        {L"a\\..\\..\\evil", nullptr},
        {L"a\\..\\b", L"b"},
        {L"C:\\x", L"x"},
        {L"C:x", L"C_x"},
        {L"\\\\server\\share\\x", L"server\\share\\x"},
        {L"\\root.txt", L"root.txt"},
        {L"a:b", L"a_b"},
        {L"q?<>|\"*.txt", L"q______.txt"},
        {L"dots.. ", L"dots___"},
        {L"CON", L"_CON"},
        {L"nul.txt", L"_nul.txt"},
        {L"", nullptr},
        {L".\\.", nullptr},
    };
    for (const Case& c : cases)
    {
        CString out;
        BOOL ok = MakeSafeRelativePath(c.member, out);
        EXPECT_EQ(c.relative != nullptr, ok != FALSE) << qvtest::W(c.member);
        if (c.relative != nullptr && ok)
        {
            EXPECT_EQ(std::wstring(c.relative), qvtest::W(out)) << qvtest::W(c.member);
        }
    }
}

TEST_F(SevenZipTypesTest, OnlyAPathThatReallyLiesInTheFolderIsInsideIt)
{
    const std::wstring temp = P(L"temp");
    CreateDirectoryW(temp.c_str(), nullptr);
    CreateDirectoryW(P(L"outside").c_str(), nullptr);
    ASSERT_TRUE(qvtest::MakeFolderLink(P(L"temp\\link"), P(L"outside")));
    ASSERT_TRUE(qvtest::MakeFolderLink(P(L"alias"), temp));
    struct Case
    {
        std::wstring path;
        bool inside;
    } cases[] = {
        {temp + L"\\a.txt", true},
        {temp + L"\\sub\\a.txt", true},
        {temp + L"/./a.txt", true},
        {P(L"TEMP\\a.txt"), true},
        {temp + L"\\..\\..\\x", false},
        {temp + L"\\..\\tempest\\x", false},
        {P(L"tempest\\a.txt"), false},
        {temp, false},
        {temp + L"\\link\\a.txt", false},
        // Another spelling of the folder itself: the same folder by identity.
        {P(L"alias\\a.txt"), true},
        {temp + L"\\nul", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.inside, PathLiesInside(CString(c.path.c_str()), CString(temp.c_str())) != FALSE)
            << c.path;
}

TEST(SevenZipTypes, AListedMemberTakesTheFolderAndNameExtractionWritesItAs)
{
    struct Case
    {
        const wchar_t* stored;
        const wchar_t* folder;
        const wchar_t* name;
        bool written;
    } cases[] = {
        {L"/abs/evil4.txt", L"abs", L"evil4.txt", true},
        {L"dir/../x.txt", L"", L"x.txt", true},
        {L"./dot/y.txt", L"dot", L"y.txt", true},
        {L"report 10:30.txt", L"", L"report 10_30.txt", true},
        {L"d/con.txt", L"d", L"_con.txt", true},
        {L"../../x", L"", L"..\\..\\x", false},
    };
    CArrayArchiveFileInfo listing;
    for (const Case& c : cases)
    {
        CArchiveFileInfo member;
        member.m_storedPath = c.stored;
        member.SetName(L"raw");
        listing.Add(member);
    }
    CleanArchiveListing(listing);
    for (INT_PTR i = 0; i < listing.GetSize(); i++)
    {
        const Case& c = cases[i];
        EXPECT_EQ(std::wstring(c.folder), qvtest::W(listing[i].m_folder)) << qvtest::W(c.stored);
        EXPECT_EQ(std::wstring(c.name), std::wstring(listing[i].m_findData.cFileName)) << qvtest::W(c.stored);
        // Extraction of the listed member below its folder writes that very name.
        CString target;
        const BOOL written = ExtractedMemberPath(L"D:\\t", listing[i], listing[i].m_folder, 0, target);
        EXPECT_EQ(c.written, written != FALSE) << qvtest::W(c.stored);
        if (written)
            EXPECT_EQ(L"D:\\t\\" + std::wstring(c.name), qvtest::W(target));
    }
}

} // namespace
