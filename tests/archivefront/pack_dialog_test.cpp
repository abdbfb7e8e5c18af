// The pack dialog's work as a function, with scripted answers: which back-end packs,
// how archives are named, the destinations it refuses and the switches it forces.
// Archives the 7-Zip library made are read back with it.
#include <gtest/gtest.h>
#include "archiveclient/codecs/SevenZipLibrary.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/PackDlg.h"
#include "archivefront/dialogs/PackJob.h"
#include "archivefront/dialogs/UnpackDlg.h"
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "res/ArchiveDialogs.h"
#include "tests/archivefront/unpack_test_support.h"
#include "tests/common/DialogHarness.h"

#include <algorithm>
#include <vector>

namespace
{

class PackDialogTest : public unpacktest::StubFolderTest
{
protected:
    void SetUp() override
    {
        StubFolderTest::SetUp();
        m_lzhShortName = g_LzhPackOptions[3].flag;
        m_zipShortName = g_ZipPackOptions[10].flag;
        m_overwrite = g_PACKEXISTOVERWRITE;
        ASSERT_TRUE(CreateDirectoryW(P(L"out").c_str(), nullptr));
    }
    void TearDown() override
    {
        g_LzhPackOptions[3].flag = m_lzhShortName;
        g_ZipPackOptions[10].flag = m_zipShortName;
        g_PACKEXISTOVERWRITE = m_overwrite;
        StubFolderTest::TearDown();
    }

    CPackRequest Request(int kind, std::vector<const wchar_t*> files)
    {
        CPackRequest request;
        request.sourceDir = dir.c_str();
        request.kind = kind;
        request.archiveName = L"arc";
        request.destination = L"out";
        for (const wchar_t* name : files)
        {
            EXPECT_TRUE(qvtest::WriteFileBytes(P(name), "content"));
            request.files.Add(name);
        }
        return request;
    }

    // The member names of an archive the 7-Zip library lists; empty when it cannot.
    static std::vector<std::wstring> Members(const std::wstring& path, int* backEnd = nullptr)
    {
        CArchiveFront front;
        std::vector<std::wstring> names;
        if (!front.OpenAndList(path.c_str(), ARCFRONT_NO_ARCHIVER))
            return names;
        if (backEnd)
            *backEnd = front.m_activeBackEnd;
        for (int i = 0; i < front.GetEntryCount(); ++i)
        {
            CArchiveFileInfo* member = nullptr;
            if (front.GetEntry(&member, i))
                names.push_back(member->m_findData.cFileName);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The line the stand-in's export received last.
    std::string CommandTo(const char* exportName) const
    {
        std::string key = std::string("\t") + exportName + "\t";
        std::string log = Log();
        size_t at = log.rfind(key);
        if (at == std::string::npos)
            return std::string();
        size_t start = at + key.size();
        return log.substr(start, log.find('\n', start) - start);
    }

    WORD m_lzhShortName = 0;
    WORD m_zipShortName = 0;
    int m_overwrite = 0;
};

} // namespace

TEST_F(PackDialogTest, PerFilePackingMakesOneArchivePerBaseName)
{
    CPackRequest request = Request(PACK_KIND_7Z, {L"a.txt", L"a.doc", L"b.txt"});
    request.perFile = 1;
    CDialogAnswerScript script;
    EXPECT_EQ(PACK_CLOSE, RunPackRequest(request, nullptr));
    EXPECT_TRUE(script.GetQuestions().empty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.doc", L"a.txt"}), Members(P(L"out\\a.7z")));
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt"}), Members(P(L"out\\b.7z")));
}

// A file another program holds open without read sharing: the pack dialog's job packs
// the rest and tells the user what it left out.
TEST_F(PackDialogTest, AFileThatCannotBeReadIsNamedToTheUserAndTheRestIsPacked)
{
    CPackRequest request = Request(PACK_KIND_7Z, {L"a.txt", L"held.txt"});
    HANDLE held = CreateFileW(P(L"held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CDialogAnswerScript script;
    script.Add(IDOK);
    EXPECT_EQ(PACK_CLOSE, RunPackRequest(request, nullptr));
    CloseHandle(held);
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"圧縮失敗", qvtest::W(script.GetQuestions()[0].caption));
    EXPECT_EQ(L"圧縮失敗(失敗ファイルあり)(Error=0x20)\n圧縮できなかったファイル: 1件\nheld.txt",
              qvtest::W(script.GetQuestions()[0].text));
    EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, Members(P(L"out\\arc.7z")));
}

TEST_F(PackDialogTest, ZipWithoutSelfExtractionIsMadeBySevenZipWhateverTheLevel)
{
    UseStubs(L"", L"");
    for (int level : {0, 9})
    {
        SCOPED_TRACE(level);
        CPackRequest request = Request(PACK_KIND_ZIP, {L"f.txt"});
        request.typeRow = level;
        request.archiveName = level == 0 ? L"zero.zip" : L"nine";
        EXPECT_EQ(PACK_CLOSE, RunPackRequest(request, nullptr));
        int backEnd = 0;
        EXPECT_EQ(std::vector<std::wstring>{L"f.txt"},
                  Members(P(level == 0 ? L"out\\zero.zip" : L"out\\nine.zip"), &backEnd));
        EXPECT_EQ(ARCFRONT_SEVENZIP, backEnd);
    }
    EXPECT_EQ(std::string(), CommandTo("Zip"));
}

TEST_F(PackDialogTest, WithoutThe7ZipLibraryZipIsMadeByTheArchiverLibraryAtTheChosenLevel)
{
    UseStubs(L"", L"");
    static const wchar_t* const kNoLibrary[] = {L"qv-no-such-7z.dll", nullptr};
    const wchar_t* const* usual = SetSevenZipLibraryNames(kNoLibrary);
    const int level = g_ZIPPACKTYPE;
    CPackRequest request = Request(PACK_KIND_ZIP, {L"f.txt"});
    request.typeRow = 9;
    const int result = RunPackRequest(request, nullptr);
    SetSevenZipLibraryNames(usual);
    const int stored = g_ZIPPACKTYPE;
    g_ZIPPACKTYPE = level;

    EXPECT_EQ(PACK_CLOSE, result);
    std::string line = CommandTo("Zip");
    EXPECT_NE(std::string::npos, line.find(" -9 ")) << line;
    EXPECT_NE(std::string::npos, line.find(unpacktest::Narrow(P(L"out\\arc.zip")))) << line;
    EXPECT_EQ(9, stored);
}

TEST_F(PackDialogTest, ExtensionCaseAsGivenLeavesTheNameBareOnlyForTheArchiverLibrary)
{
    UseStubs(L"", L"");
    CPackRequest lzh = Request(PACK_KIND_LHA, {L"f.txt"});
    lzh.archiveName = L"Arc";
    lzh.extensionCase = PACK_EXT_AS_GIVEN;
    EXPECT_EQ(PACK_CLOSE, RunPackRequest(lzh, nullptr));
    std::string line = CommandTo("Unlha");
    EXPECT_NE(std::string::npos, line.find(unpacktest::Narrow(P(L"out\\Arc")) + " ")) << line;
    EXPECT_EQ(std::string::npos, line.find(".lzh")) << line;

    CPackRequest sevenZip = Request(PACK_KIND_7Z, {L"f.txt"});
    sevenZip.archiveName = L"Arc";
    sevenZip.extensionCase = PACK_EXT_AS_GIVEN;
    EXPECT_EQ(PACK_CLOSE, RunPackRequest(sevenZip, nullptr));
    EXPECT_EQ(std::vector<std::wstring>{L"f.txt"}, Members(P(L"out\\Arc.7z")));
}

TEST_F(PackDialogTest, RefusedDestinationsAndOwnInputsKeepTheDialogOpen)
{
    UseStubs(L"", L"");
    struct Case
    {
        const wchar_t* source; // empty: the scratch folder
        const wchar_t* destination;
        const wchar_t* name;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"C:", L"..", L"arc", L"親ディレクトリがないため圧縮できません"},
        {L"", L"Q:\\nowhere", L"arc", L"入力したディレクトリ名が不正です"},
        {L"", L".", L"f", nullptr}, // f.lzh would be packed into itself
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(qvtest::W(CString(c.destination)));
        CPackRequest request = Request(PACK_KIND_LHA, {L"f.lzh"});
        if (*c.source)
            request.sourceDir = c.source;
        request.destination = c.destination;
        request.archiveName = c.name;
        CDialogAnswerScript script;
        EXPECT_EQ(PACK_STAY_OPEN, RunPackRequest(request, nullptr));
        ASSERT_EQ(1u, script.GetQuestions().size());
        if (c.message)
            EXPECT_EQ(std::wstring(c.message), qvtest::W(script.GetQuestions()[0].text));
        EXPECT_EQ(std::string(), CommandTo("Unlha"));
        EXPECT_EQ("content", qvtest::ReadFileBytes(P(L"f.lzh")));
    }
}

TEST_F(PackDialogTest, SelfExtractingRowsWithShortNamesForceTheShortNameSwitch)
{
    UseStubs(L"", L"");
    g_LzhPackOptions[3].flag = 0;
    g_ZipPackOptions[10].flag = 0;
    struct Case
    {
        int kind;
        int sfxRow;
        const char* exportName;
        const char* expected; // a word of the pack command
        bool present;
    };
    const Case cases[] = {{PACK_KIND_LHA, 3, "Unlha", " -ji1 ", true},
                          {PACK_KIND_LHA, 1, "Unlha", " -ji0 ", true},
                          {PACK_KIND_ZIP, 2, "Zip", " -k ", true},
                          {PACK_KIND_ZIP, 1, "Zip", " -k ", false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sfxRow);
        DeleteFileW(m_log.c_str());
        CPackRequest request = Request(c.kind, {L"f.txt"});
        request.sfxRow = c.sfxRow;
        EXPECT_EQ(PACK_CLOSE, RunPackRequest(request, nullptr));
        // The first call of the export packs, the second makes the program.
        std::string log = Log();
        std::string key = std::string("\t") + c.exportName + "\t";
        size_t at = log.find(key);
        ASSERT_NE(std::string::npos, at) << log;
        std::string pack = log.substr(at + key.size(), log.find('\n', at) - at - key.size());
        EXPECT_EQ(c.present, pack.find(c.expected) != std::string::npos) << pack;
        if (c.kind == PACK_KIND_LHA)
        {
            // The intermediate archive lived in a folder of its own, gone afterwards.
            size_t folderAt = pack.find("QvPack");
            ASSERT_NE(std::string::npos, folderAt) << pack;
            size_t start = pack.rfind(' ', folderAt) + 1;
            std::string folder = pack.substr(start, pack.find('\\', folderAt) - start);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.c_str())) << folder;
        }
    }
}

namespace
{
class CDrivenPackDlg : public qvtest::CDrivenDialog<CDrivenPackDlg, CPackDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

std::wstring WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}
} // namespace

TEST_F(PackDialogTest, TheDialogShowsItsKindAndStaysOpenWhenThereIsNoParentToPackInto)
{
    CDrivenPackDlg dialog;
    dialog.m_sourceDir = L"C:";
    dialog.m_kind = PACK_KIND_LHA;
    dialog.m_perFile = 1;
    dialog.m_destination = L"..";
    dialog.m_files.Add(L"f.txt");
    std::wstring caption;
    BOOL nameEnabled = TRUE, passwordEnabled = TRUE, listBefore = TRUE, listAfter = FALSE, stayed = FALSE;
    std::vector<std::wstring> switches;
    CDialogAnswerScript script;
    script.Add(IDOK);
    dialog.drive = [&](CDrivenPackDlg& d) {
        HWND hwnd = d.m_hWnd;
        caption = WindowText(hwnd);
        nameEnabled = IsWindowEnabled(GetDlgItem(hwnd, IDC_PACKDLG_NAME));
        passwordEnabled = IsWindowEnabled(GetDlgItem(hwnd, IDC_PACKDLG_PASSWORD));
        listBefore = IsWindowVisible(GetDlgItem(hwnd, IDC_PACKDLG_OPTIONS));
        d.Command(IDC_PACKDLG_MORE);
        listAfter = IsWindowVisible(GetDlgItem(hwnd, IDC_PACKDLG_OPTIONS));
        switches = d.ListBoxLines(IDC_PACKDLG_OPTIONS);
        d.Command(IDOK);
        stayed = IsWindow(hwnd) && IsWindowVisible(hwnd);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(L"個別ファイルの圧縮(LHA)", caption);
    EXPECT_FALSE(nameEnabled);
    EXPECT_FALSE(passwordEnabled);
    EXPECT_FALSE(listBefore);
    EXPECT_TRUE(listAfter);
    EXPECT_EQ(4u, switches.size());
    EXPECT_TRUE(stayed);
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"親ディレクトリがないため圧縮できません", qvtest::W(script.GetQuestions()[0].text));
}

TEST_F(PackDialogTest, PackAndUnpackDialogsHoldThePreviewReaderForTheirWholeLife)
{
    static int held = 0;
    const CPreviewReaderLockHooks saved = g_PreviewReaderLockHooks;
    g_PreviewReaderLockHooks.acquire = [] { ++held; };
    g_PreviewReaderLockHooks.release = [] { --held; };
    {
        CPackDlg pack;
        EXPECT_EQ(1, held);
        {
            CUnpackDlg unpack;
            EXPECT_EQ(2, held);
        }
        EXPECT_EQ(1, held);
    }
    EXPECT_EQ(0, held);
    g_PreviewReaderLockHooks = saved;
}
