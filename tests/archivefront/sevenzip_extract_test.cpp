#include "archivefront/sevenzip/SevenZipArchive.h"

#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "res/SevenZipDialogs.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <set>

namespace
{

using sztest::Entry;
using sztest::Exists;
using sztest::ReadFile;
using sztest::WriteFile;

CDialogAnswer Answer(INT_PTR result, LPCWSTR text = L"")
{
    CDialogAnswer answer;
    answer.result = result;
    answer.text = text;
    return answer;
}

class SevenZipExtractTest : public qvtest::ScratchFolderTest
{
protected:
    void TearDown() override { g_UNPACK_FILE_TIME_USED_RANGE = 0; }

    // Extracts the whole archive (or the chosen stored paths) into `out`.
    int Extract(CSevenZipArchive& backEnd, const std::wstring& arc, const std::wstring& out,
                std::vector<const wchar_t*> chosen = {}, CProgressInfo* progress = nullptr)
    {
        if (backEnd.m_listing.GetSize() == 0 && !sztest::OpenAndList(backEnd, arc))
            return -1;
        backEnd.ResetOptions();
        backEnd.SetOption(1, arc.c_str());
        backEnd.SetOption(5, out.c_str());
        for (const wchar_t* path : chosen)
            backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(Entry(backEnd, path)));
        return backEnd.Extract(nullptr, progress);
    }
    static FILETIME Shift(FILETIME time, LONGLONG seconds)
    {
        ULARGE_INTEGER value;
        value.LowPart = time.dwLowDateTime;
        value.HighPart = time.dwHighDateTime;
        value.QuadPart += static_cast<ULONGLONG>(seconds * 10000000LL);
        return FILETIME{value.LowPart, value.HighPart};
    }
    static void SetWriteTime(const std::wstring& path, const FILETIME& time)
    {
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
    }
    static std::set<std::wstring> PartialFiles(const std::wstring& folder)
    {
        std::set<std::wstring> partial;
        for (const std::wstring& name : qvtest::ListFolder(folder))
            if (name.find(L".part") != std::wstring::npos)
                partial.insert(name);
        return partial;
    }
};

TEST_F(SevenZipExtractTest, APasswordIsAskedOncePerJob)
{
    const std::wstring arc = sztest::Fixture(L"secret.7z");
    struct Case
    {
        std::vector<CDialogAnswer> answers;
        int result;
        DWORD code; // 0: none
    } cases[] = {
        {{}, 0, 21},
        {{Answer(IDCANCEL)}, 0, 21},
        {{Answer(IDOK, L"nope")}, 0, 34},
        {{Answer(IDOK, L"secret")}, 1, 0},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        CSevenZipArchive backEnd;
        CDialogAnswerScript script;
        for (const CDialogAnswer& answer : c.answers)
            script.Add(answer);
        std::wstring out = P((L"out" + std::to_wstring(n++)).c_str());
        EXPECT_EQ(c.result, Extract(backEnd, arc, out)) << n;
        ASSERT_EQ(1u, script.GetQuestions().size()) << n;
        EXPECT_EQ(L"展開パスワード", qvtest::W(script.GetQuestions()[0].caption));
        if (c.code != 0)
            EXPECT_TRUE(backEnd.m_errors.HasCode(c.code))
                << n << " " << (backEnd.m_errors.GetSize() ? backEnd.m_errors[0] : 0) << " " << std::hex
                << backEnd.m_errors.GetParam(0);
        else
        {
            EXPECT_EQ("hidden text\n", ReadFile(out + L"\\s.txt"));
            EXPECT_EQ("second\n", ReadFile(out + L"\\t.txt"));
            // The password is known for the rest of the back-end's life.
            EXPECT_EQ(1, backEnd.m_passwordKnown);
            EXPECT_EQ(1, Extract(backEnd, arc, out + L"2"));
            EXPECT_EQ(1u, script.GetQuestions().size());
        }
        EXPECT_TRUE(PartialFiles(out).empty()) << n;
    }
}

TEST_F(SevenZipExtractTest, ABackEndThatMayNotAskRefusesAndAGivenPasswordServes)
{
    const std::wstring arc = sztest::Fixture(L"secret.7z");
    CDialogAnswerScript script;
    CSevenZipArchive quiet;
    quiet.Reset();
    EXPECT_EQ(0, Extract(quiet, arc, P(L"q")));
    EXPECT_TRUE(quiet.m_errors.HasCode(21));
    CSevenZipArchive given;
    ASSERT_TRUE(sztest::OpenAndList(given, arc));
    given.SetOption(5, P(L"g").c_str());
    given.SetOption(8, L"secret");
    EXPECT_EQ(1, given.Extract(nullptr, nullptr));
    EXPECT_EQ("second\n", ReadFile(P(L"g\\t.txt")));
    EXPECT_EQ(0u, script.GetQuestions().size());
}

TEST_F(SevenZipExtractTest, AFailedItemKeepsTheOldFileByteForByte)
{
    const std::wstring arc = sztest::Fixture(L"secret.7z");
    CreateDirectoryW(P(L"out").c_str(), nullptr);
    const std::string old = std::string("old\0bytes", 9);
    WriteFile(P(L"out\\s.txt"), old);
    CSevenZipArchive backEnd;
    CDialogAnswerScript script;
    script.Add(Answer(IDOK, L"wrong"));
    backEnd.SetOption(17, nullptr);
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    backEnd.SetOption(1, arc.c_str());
    backEnd.SetOption(5, P(L"out").c_str());
    EXPECT_EQ(0, backEnd.Extract(nullptr, nullptr));
    EXPECT_EQ(old, ReadFile(P(L"out\\s.txt")));
    EXPECT_TRUE(PartialFiles(P(L"out")).empty());

    // A cancel while the member is written keeps the old file too.
    const std::wstring tree = sztest::Fixture(L"tree.7z");
    WriteFile(P(L"out\\big.txt"), old);
    CSevenZipArchive other;
    CProgressInfo progress;
    progress.progressCallback = [](UINT events, CProgressInfo* info) {
        if ((events & PROGRESS_MAIN_TEXT) != 0)
            info->cancelFlag = 1;
    };
    ASSERT_TRUE(sztest::OpenAndList(other, tree));
    other.SetOption(17, nullptr);
    EXPECT_EQ(0, Extract(other, tree, P(L"out"), {L"big.txt"}, &progress));
    EXPECT_TRUE(other.m_errors.HasCode(21));
    EXPECT_EQ(old, ReadFile(P(L"out\\big.txt")));
    EXPECT_TRUE(PartialFiles(P(L"out")).empty());
}

TEST_F(SevenZipExtractTest, TheOverwriteAnswers)
{
    const std::wstring arc = sztest::Fixture(L"tree.7z");
    CSevenZipArchive lister;
    ASSERT_TRUE(sztest::OpenAndList(lister, arc));
    const FILETIME itemTime = Entry(lister, L"top.txt")->m_findData.ftLastWriteTime;
    struct Case
    {
        int choice;
        LONGLONG existingOffset; // seconds from the member's time
        int slack;
        bool replaced;
    } cases[] = {
        {IDC_UNPACK_OVERWRITE, 100, 0, true}, {IDC_UNPACK_NEWER, -1, 0, true},
        {IDC_UNPACK_NEWER, -1, 1, false},     {IDC_UNPACK_NEWER, -100, 1, true},
        {IDC_UNPACK_NEWER, 100, 0, false},    {IDC_UNPACK_NEWER, 0, 0, false},
        {IDC_UNPACK_OLDER, 100, 0, true},     {IDC_UNPACK_OLDER, 1, 1, false},
        {IDC_UNPACK_OLDER, -100, 0, false},   {IDC_UNPACK_SKIP, -100, 0, false},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        std::wstring out = P((L"o" + std::to_wstring(n++)).c_str());
        CreateDirectoryW(out.c_str(), nullptr);
        WriteFile(out + L"\\top.txt", "old");
        SetWriteTime(out + L"\\top.txt", Shift(itemTime, c.existingOffset));
        CDialogAnswer answer;
        answer.index = c.choice;
        answer.checks = {1, c.slack};
        CDialogAnswerScript script;
        script.Add(answer);
        CSevenZipArchive backEnd;
        EXPECT_EQ(1, Extract(backEnd, arc, out, {L"top.txt"})) << n;
        EXPECT_EQ(c.replaced ? "top\n" : "old", ReadFile(out + L"\\top.txt")) << n;
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(IDD_UNPACK_CONDITION, static_cast<int>(script.GetQuestions()[0].dialogId));
        EXPECT_EQ(c.slack, g_UNPACK_FILE_TIME_USED_RANGE);
    }
}

TEST_F(SevenZipExtractTest, OneAnswerForAllOrOneQuestionPerFile)
{
    const std::wstring arc = sztest::Fixture(L"tree.7z");
    for (int sameForAll = 0; sameForAll <= 1; sameForAll++)
    {
        std::wstring out = P(sameForAll ? L"all" : L"each");
        CreateDirectoryW(out.c_str(), nullptr);
        WriteFile(out + L"\\top.txt", "old");
        WriteFile(out + L"\\big.txt", "old");
        CDialogAnswer answer;
        answer.index = IDC_UNPACK_SKIP;
        answer.checks = {sameForAll};
        CDialogAnswerScript script;
        script.Add(answer);
        script.Add(answer);
        CSevenZipArchive backEnd;
        EXPECT_EQ(1, Extract(backEnd, arc, out, {L"top.txt", L"big.txt"}));
        EXPECT_EQ(sameForAll ? 1u : 2u, script.GetQuestions().size());
        EXPECT_EQ("old", ReadFile(out + L"\\top.txt"));
        EXPECT_EQ("old", ReadFile(out + L"\\big.txt"));
    }
    // Closing the question cancels the job; with the prompt off nothing is asked.
    CDialogAnswerScript script;
    script.Add(IDCANCEL);
    CSevenZipArchive backEnd;
    EXPECT_EQ(0, Extract(backEnd, arc, P(L"all"), {L"top.txt"}));
    EXPECT_TRUE(backEnd.m_errors.HasCode(21));
    backEnd.ResetOptions();
    backEnd.SetOption(1, arc.c_str());
    backEnd.SetOption(5, P(L"all").c_str());
    backEnd.SetOption(17, nullptr);
    EXPECT_EQ(1, backEnd.Extract(nullptr, nullptr));
    EXPECT_EQ("top\n", ReadFile(P(L"all\\top.txt")));
    EXPECT_EQ(1u, script.GetQuestions().size());
}

TEST_F(SevenZipExtractTest, HostileMemberNamesStayInsideTheDestination)
{
    CreateDirectoryW(P(L"outside").c_str(), nullptr);
    CreateDirectoryW(P(L"dest").c_str(), nullptr);
    ASSERT_TRUE(qvtest::MakeFolderLink(P(L"dest\\link"), P(L"outside")));
    struct Case
    {
        const char* member;
        const wchar_t* inside; // the file inside dest, or null when refused
    } cases[] = {
        {"..\\evil1", nullptr},
        {"../evil2", nullptr},
        {"a/../../evil3", nullptr},
        {"C:\\x1.txt", L"x1.txt"},
        {"\\\\server\\share\\x2", L"server\\share\\x2"},
        {"a:b", L"a_b"},
        {"/abs.txt", L"abs.txt"},
        {"link/through.txt", nullptr},
        {"link", nullptr},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        std::wstring arc = P((L"h" + std::to_wstring(n++) + L".zip").c_str());
        sztest::WriteStoredZip(arc, {{c.member, "payload"}});
        CSevenZipArchive backEnd;
        int result = Extract(backEnd, arc, P(L"dest"));
        if (c.inside != nullptr)
        {
            EXPECT_EQ(1, result) << c.member;
            EXPECT_EQ("payload", ReadFile(P(L"dest\\") + c.inside)) << c.member;
        }
        else
        {
            EXPECT_EQ(0, result) << c.member;
            EXPECT_TRUE(backEnd.m_errors.HasCode(7)) << c.member;
        }
    }
    // Nothing landed beside the destination or through the link.
    std::set<std::wstring> beside = qvtest::ListFolder(dir);
    for (const std::wstring& name : beside)
        EXPECT_TRUE(name == L"dest" || name == L"outside" || name.find(L".zip") != std::wstring::npos)
            << name;
    EXPECT_TRUE(qvtest::ListFolder(P(L"outside")).empty());
}

TEST_F(SevenZipExtractTest, OnlyTheWindowsAttributesOfAnItemAreApplied)
{
    // Besides read-only and archive the member asks for the temporary bit, which
    // is not the archive's to set on this system.
    const std::wstring arc = P(L"attrs.zip");
    sztest::WriteStoredZip(arc, {{"ro.txt", "read only"}}, 20,
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY);
    CSevenZipArchive backEnd;
    ASSERT_EQ(1, Extract(backEnd, arc, P(L"out")));
    EXPECT_EQ("read only", ReadFile(P(L"out\\ro.txt")));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
              GetFileAttributesW(P(L"out\\ro.txt").c_str()));
    // Extracting again over the read-only file replaces it.
    CSevenZipArchive again;
    again.SetOption(17, nullptr);
    ASSERT_TRUE(sztest::OpenAndList(again, arc));
    again.SetOption(1, arc.c_str());
    again.SetOption(5, P(L"out").c_str());
    EXPECT_EQ(1, again.Extract(nullptr, nullptr));
    SetFileAttributesW(P(L"out\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SevenZipExtractTest, ALongMemberNameIsCutInTheListingOnly)
{
    const std::string longName(300, 'n');
    const std::wstring arc = P(L"long.zip");
    sztest::WriteStoredZip(arc, {{"d/" + longName, "x"}});
    CSevenZipArchive backEnd;
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    ASSERT_EQ(1, backEnd.m_listing.GetSize());
    EXPECT_EQ(std::wstring(259, L'n'), std::wstring(backEnd.m_listing[0].m_findData.cFileName));
    EXPECT_EQ(L"d\\" + std::wstring(300, L'n'), qvtest::W(backEnd.m_listing[0].m_storedPath));
    // Deleting it goes by the whole name.
    sztest::WriteStoredZip(arc, {{"d/" + longName, "x"}, {"keep.txt", "k"}});
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    backEnd.SetOption(1, arc.c_str());
    backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(&backEnd.m_listing[0]));
    ASSERT_EQ(1, backEnd.RunDelete(nullptr, nullptr));
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    EXPECT_EQ(std::vector<std::wstring>{L"keep.txt"}, sztest::StoredPaths(backEnd));
}

TEST_F(SevenZipExtractTest, DeleteAndRenameInAnEncryptedArchiveUseThePasswordAlreadyGiven)
{
    struct Case
    {
        const wchar_t* fixture;
        bool extractFirst; // names in the clear: an extraction asks for the password
        bool rename;
        std::vector<std::wstring> after;
    } cases[] = {
        {L"secretnames.7z", false, false, {L"t.txt"}},
        {L"secretnames.7z", false, true, {L"t.txt", L"u.txt"}},
        {L"secret.7z", true, false, {L"t.txt"}},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(n);
        const std::wstring arc = P((L"arc" + std::to_wstring(n++) + L".7z").c_str());
        ASSERT_TRUE(CopyFileW(sztest::Fixture(c.fixture).c_str(), arc.c_str(), FALSE));
        CDialogAnswerScript script;
        script.Add(Answer(IDOK, L"secret"));
        CSevenZipArchive backEnd;
        ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
        if (c.extractFirst)
        {
            ASSERT_EQ(1, Extract(backEnd, arc, P(L"first")));
        }
        ASSERT_EQ(1u, script.GetQuestions().size());

        backEnd.ResetOptions();
        backEnd.SetOption(1, arc.c_str());
        if (c.rename)
        {
            CArrayRenameFileName renames;
            CRenameFileName pair(L"s.txt");
            pair.newName = L"u.txt";
            pair.hasNewName = 1;
            renames.Add(pair);
            backEnd.SetRenameList(renames);
            EXPECT_EQ(1, backEnd.RunRename(nullptr, nullptr));
        }
        else
        {
            backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(Entry(backEnd, L"s.txt")));
            EXPECT_EQ(1, backEnd.RunDelete(nullptr, nullptr));
        }
        EXPECT_EQ(1u, script.GetQuestions().size());

        // The rewritten archive still opens with the password and holds what is left.
        script.Add(Answer(IDOK, L"secret"));
        CSevenZipArchive reader;
        ASSERT_TRUE(sztest::OpenAndList(reader, arc));
        std::vector<std::wstring> paths = sztest::StoredPaths(reader);
        std::sort(paths.begin(), paths.end());
        EXPECT_EQ(c.after, paths);
        ASSERT_EQ(1, Extract(reader, arc, P((L"after" + std::to_wstring(n)).c_str())));
        EXPECT_EQ("second\n", ReadFile(P((L"after" + std::to_wstring(n) + L"\\t.txt").c_str())));
    }
}

} // namespace
