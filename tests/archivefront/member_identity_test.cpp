// One row, one member: members whose names differ only in case are each read as
// themselves through their row, a name given alone that several members share names
// none of them, a member whose name no folder can hold is refused before anything is
// written, device names with superscript digits are renamed, and the unpack target
// leaves the pane's folder out only as a whole folder.
#include <gtest/gtest.h>
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/UnpackJob.h"
#include "archivefront/sevenzip/ExtractPaths.h"
#include "app/records/LocalMemory.h"
#include "filer/FileInfo.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/archivefront/unpack_test_support.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <map>
#include <set>
#include <string>

namespace
{
// The block's bytes, freed.
std::string Taken(void* buffer, LONGLONG size)
{
    std::string bytes = buffer != nullptr ? std::string(static_cast<const char*>(buffer), size_t(size)) : "";
    if (buffer != nullptr)
        LocalFreeLocked(buffer);
    return bytes;
}

// The listed member whose stored path is `stored` (the library gives its paths with
// backslashes).
CArchiveFileInfo* MemberStoredAs(CArchiveFront& front, const std::string& stored)
{
    std::wstring wanted(stored.begin(), stored.end());
    for (wchar_t& c : wanted)
        c = c == L'/' ? L'\\' : c;
    for (int i = 0; i < front.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* member = nullptr;
        std::wstring path;
        if (front.GetEntry(&member, i))
            path = qvtest::W(member->m_storedPath);
        for (wchar_t& c : path)
            c = c == L'/' ? L'\\' : c;
        if (member != nullptr && path == wanted)
            return member;
    }
    return nullptr;
}

class MemberIdentityTest : public unpacktest::StubFolderTest
{
};
} // namespace

TEST_F(MemberIdentityTest, EachRowOfMembersWhoseNamesDifferOnlyInCaseReadsItsOwnBytes)
{
    const std::wstring path = P(L"twins.zip");
    sztest::WriteStoredZip(path, {{"Makefile", "upper case\n"},
                                  {"makefile", "lower case\n"},
                                  {"sub/Notes.txt", "N\n"},
                                  {"sub/notes.txt", "n\n"}});
    const std::map<std::wstring, std::string> expected = {{L"Makefile", "upper case\n"},
                                                          {L"makefile", "lower case\n"},
                                                          {L"sub\\Notes.txt", "N\n"},
                                                          {L"sub\\notes.txt", "n\n"}};
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0)) << qvtest::W(front.m_errors.GetMessageText());
    front.UnloadLibraries();
    std::set<std::wstring> read;
    for (const wchar_t* folder : {L"", L"sub"})
    {
        CArrayFileInfo rows;
        front.ListDirectory(rows, folder, L"*", FALSE, nullptr);
        for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        {
            const CFileInfo& row = rows[i];
            if (row.IsDots() || row.IsDirectory())
                continue;
            const std::wstring shown =
                (*folder ? std::wstring(folder) + L"\\" : std::wstring()) + row.GetName();
            SCOPED_TRACE(shown);
            ASSERT_EQ(1u, expected.count(shown));
            // The text viewer's way: the row's index in the listing.
            void* buffer = nullptr;
            LONGLONG size = 0;
            ASSERT_EQ(1, front.ExtractEntryToMemory(row.m_itemIndex, &buffer, &size, nullptr))
                << qvtest::W(front.m_errors.GetMessageText());
            EXPECT_EQ(expected.at(shown), Taken(buffer, size));
            // The picture viewer's and the thumbnail loader's way: a copy of the
            // member's record.
            CArchiveFileInfo* member = nullptr;
            ASSERT_EQ(1, front.GetEntry(&member, row.m_itemIndex));
            const CArchiveFileInfo copy = *member;
            size = 0;
            ASSERT_EQ(1, front.ExtractToMemory(copy, &buffer, &size, nullptr));
            EXPECT_EQ(expected.at(shown), Taken(buffer, size));
            read.insert(shown);
        }
    }
    EXPECT_EQ(4u, read.size());

    // A name alone: its exact spelling names one member; a spelling that several
    // match case aside names none of them, and the message says which name.
    struct Case
    {
        const wchar_t* folder;
        const wchar_t* name;
        DWORD code;
        std::string bytes;
    };
    const Case cases[] = {
        {L"", L"makefile", 0, "lower case\n"},         {L"sub", L"Notes.txt", 0, "N\n"},
        {L"", L"MAKEFILE", ARCERR_AMBIGUOUS_NAME, ""}, {L"SUB", L"NOTES.TXT", ARCERR_AMBIGUOUS_NAME, ""},
        {L"", L"missing", ARCERR_NO_MEMBER, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(qvtest::W(c.name));
        void* buffer = nullptr;
        LONGLONG size = 0;
        EXPECT_EQ(c.code == 0 ? 1 : 0, front.ExtractToMemory(c.name, c.folder, &buffer, &size, nullptr));
        if (c.code == 0)
        {
            EXPECT_EQ(c.bytes, Taken(buffer, size));
            continue;
        }
        EXPECT_EQ(nullptr, buffer);
        ASSERT_EQ(1, front.m_errors.GetSize());
        EXPECT_EQ(c.code, front.m_errors[0]);
        if (c.code == ARCERR_AMBIGUOUS_NAME)
            EXPECT_NE(std::wstring::npos, qvtest::W(front.m_errors.GetMessageText()).find(c.name));
    }
}

TEST_F(MemberIdentityTest, ALibraryThatKnowsMembersOnlyByNameIsNotAskedForOneThatSharesItsName)
{
    UseStubs(L"Unlha", L"Makefile|makefile|c.txt");
    const std::wstring path = P(L"x.lzh");
    ASSERT_TRUE(qvtest::WriteFileBytes(path, "stand-in archive"));
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0)) << qvtest::W(front.m_errors.GetMessageText());
    ASSERT_EQ(ARCFRONT_ARCHIVER, front.m_activeBackEnd);
    front.UnloadLibraries();
    for (const char* stored : {"Makefile", "makefile", "c.txt"})
    {
        SCOPED_TRACE(stored);
        CArchiveFileInfo* member = MemberStoredAs(front, stored);
        ASSERT_NE(nullptr, member);
        const CArchiveFileInfo copy = *member;
        void* buffer = nullptr;
        LONGLONG size = 0;
        const bool shared = std::string(stored) != "c.txt";
        const std::string before = Log();
        EXPECT_EQ(shared ? 0 : 1, front.ExtractToMemory(copy, &buffer, &size, nullptr));
        if (!shared)
        {
            EXPECT_EQ("stub data", Taken(buffer, size));
            continue;
        }
        EXPECT_EQ(nullptr, buffer);
        EXPECT_TRUE(front.m_errors.HasCode(ARCERR_AMBIGUOUS_NAME));
        EXPECT_NE(
            std::wstring::npos,
            qvtest::W(front.m_errors.GetMessageText()).find(std::wstring(stored, stored + strlen(stored))));
        // The library's command was never run for it.
        EXPECT_EQ(std::string::npos, Log().substr(before.size()).find("Makefile"));
        EXPECT_EQ(std::string::npos, Log().substr(before.size()).find("makefile"));
    }
}

TEST_F(MemberIdentityTest, AMemberNameNoFolderCanHoldIsRefusedBeforeAnythingIsWritten)
{
    // 255 characters is the longest name a folder holds.
    const std::string fits = std::string(251, 'a') + ".txt";
    const std::string tooLong = std::string(296, 'b') + ".txt";
    const std::wstring path = P(L"long.zip");
    sztest::WriteStoredZip(path, {{fits, "fits"}, {"dir/" + tooLong, "too long"}, {"short.txt", "s"}});
    struct Case
    {
        const char* label;
        std::vector<std::string> chosen; // none: the whole archive
        int flat;
        bool refused;
    };
    const Case cases[] = {
        {"the 255-character name", {fits}, 0, false},
        {"the 300-character name", {"dir/" + tooLong}, 0, true},
        {"with a short one", {"short.txt", "dir/" + tooLong}, 0, true},
        {"without folders", {"dir/" + tooLong}, 1, true},
        {"the whole archive", {}, 0, true},
    };
    int run = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        const std::wstring out = P((L"out" + std::to_wstring(run++)).c_str());
        ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
        CArchiveFront front;
        ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0)) << qvtest::W(front.m_errors.GetMessageText());
        front.ResetOptions();
        front.SetOption(5, out.c_str());
        if (c.flat)
            front.SetOption(6, static_cast<LPCWSTR>(nullptr));
        for (const std::string& stored : c.chosen)
        {
            CArchiveFileInfo* member = MemberStoredAs(front, stored);
            ASSERT_NE(nullptr, member);
            front.SetOption(2, member);
        }
        const int result = front.Extract(nullptr, nullptr);
        front.UnloadLibraries();
        if (!c.refused)
        {
            EXPECT_EQ(1, result) << qvtest::W(front.m_errors.GetMessageText());
            EXPECT_EQ("fits", qvtest::ReadFileBytes(out + L"\\" + std::wstring(fits.begin(), fits.end())));
            continue;
        }
        EXPECT_EQ(0, result);
        ASSERT_EQ(1, front.m_errors.GetSize());
        EXPECT_EQ(static_cast<DWORD>(ARCERR_NAME_TOO_LONG), front.m_errors[0]);
        const std::wstring named = L"dir\\" + std::wstring(tooLong.begin(), tooLong.end());
        EXPECT_EQ(L"解凍後ファイル名が長すぎます(MAX=260)\n" + named,
                  qvtest::W(front.m_errors.GetMessageText()));
        EXPECT_TRUE(qvtest::ListFolder(out).empty());
    }
}

TEST(ExtractPathsDeviceNames, SuperscriptPortNumbersAreDeviceNamesToo)
{
    const struct
    {
        const wchar_t* stored;
        const wchar_t* written;
    } cases[] = {
        {L"COM\u00B9", L"_COM\u00B9"},
        {L"com\u00B2.txt", L"_com\u00B2.txt"},
        {L"dir\\LPT\u00B3", L"dir\\_LPT\u00B3"},
        {L"lpt\u00B9 .log", L"_lpt\u00B9 .log"},
        {L"COM1", L"_COM1"},
        // Other superscripts are no port numbers, nor is a longer base.
        {L"COM\u2074", L"COM\u2074"},
        {L"LPT\u00B9x", L"LPT\u00B9x"},
        {L"XCOM\u00B9", L"XCOM\u00B9"},
    };
    for (const auto& c : cases)
    {
        CString written;
        ASSERT_TRUE(MakeSafeRelativePath(c.stored, written)) << qvtest::W(c.stored);
        EXPECT_EQ(std::wstring(c.written), qvtest::W(written)) << qvtest::W(c.stored);
    }
}

TEST(UnpackTarget, ThePanesFolderIsLeftOutOnlyAsAWholeFolder)
{
    const struct
    {
        const wchar_t* folder;
        const wchar_t* inner;
        int ignoreFolders;
        const wchar_t* target;
    } cases[] = {
        {L"abc", L"ab", 0, L"C:\\out\\abc\\x.txt"},
        {L"abc", L"abc", 0, L"C:\\out\\x.txt"},
        {L"abc\\d", L"ABC", 0, L"C:\\out\\d\\x.txt"},
        {L"abc\\d", L"abc\\", 0, L"C:\\out\\d\\x.txt"},
        {L"abcd\\e", L"abc", 0, L"C:\\out\\abcd\\e\\x.txt"},
        {L"abc", L"", 0, L"C:\\out\\abc\\x.txt"},
        {L"abc", L"ab", 1, L"C:\\out\\x.txt"},
    };
    for (const auto& c : cases)
    {
        CArchiveFileInfo member;
        member.m_folder = c.folder;
        member.SetName(L"x.txt");
        EXPECT_EQ(std::wstring(c.target),
                  qvtest::W(UnpackTargetOf(member, L"C:\\out", c.inner, c.ignoreFolders)))
            << qvtest::W(c.folder) << L" / " << qvtest::W(c.inner);
    }
}
