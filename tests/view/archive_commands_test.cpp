// The pane commands on a real zip written by the 7-Zip library: a member renamed
// inside the archive, a member extracted to the temporary folder, and files of a
// folder listing packed into the other pane's folder; and the volume label of a
// drive-list row.
#include "tests/view/CommandTestSupport.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/records/ViewFileHistory.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/GeneralToolSettings.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "framework/FwLock.h"
#include "graphics/plugins/ArchivePlugInAdapter.h"
#include "res/ArchiveDialogs.h"
#include "res/FilerDialogs.h"
#include "res/RenameDialogs.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"
#include "util/Globals.h"
#include "view/navigation/FileKindActions.h"
#include "view/shell/ShellSeam.h"
#include "viewers/text/TextPaneViewer.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace
{

using qvtest::W;

// The rename dialog's answer: a new name (accepted) or none (cancelled).
const wchar_t* g_newName = nullptr;
int g_renameDialogs = 0;

void CALLBACK AnswerRename(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"名前の変更");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    ++g_renameDialogs;
    if (g_newName == nullptr)
    {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    SetDlgItemTextW(dialog, IDC_RENAME_PATTERN, g_newName);
    SetDlgItemTextW(dialog, IDC_RENAME_EDIT, g_newName);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

bool g_packAccepted = false;

void CALLBACK AcceptPack(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ファイルの圧縮(ZIP)");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_packAccepted = true;
    SetDlgItemTextW(dialog, IDC_PACKDLG_NAME, L"packed");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// The file-kind rows run, with the folder their file lies in.
struct KindRun
{
    std::wstring program;
    std::wstring fileDirectory;
};
std::vector<KindRun> g_kindRuns;

void RecordKindRow(CQvView&, int, LPCWSTR program, LPCWSTR, LPCWSTR fileDirectory)
{
    g_kindRuns.push_back({program, fileDirectory ? fileDirectory : L""});
}

// The tree dialog, once shown, jumps to its second row (the first folder below the top).
bool g_treeJumped = false;

void CALLBACK JumpToFirstFolder(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"DIRのTREE");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_treeJumped = true;
    SendDlgItemMessageW(dialog, IDC_DIR_TREE_LIST, LB_SETCARETINDEX, 1, FALSE);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DIR_TREE_GO, BN_CLICKED), 0);
}

std::vector<std::wstring> Members(const std::wstring& archive)
{
    CSevenZipArchive reader;
    std::vector<std::wstring> paths;
    if (reader.Open(archive.c_str(), SEVENZIP_OPEN_READ) != 0 || reader.ListEntries(archive.c_str()) != 1)
        return paths;
    for (INT_PTR i = 0; i < reader.m_listing.GetSize(); ++i)
        paths.push_back(W(reader.m_listing[i].m_storedPath));
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The container the stand-in archive plug-in reads: "BMAR", then per member a
// 32-byte name, its size and its bytes. Names are kept as they stand.
std::string Container(const std::vector<std::pair<std::string, std::string>>& members)
{
    std::string out = "BMAR";
    for (const auto& member : members)
    {
        std::string name(32, '\0');
        memcpy(&name[0], member.first.data(), member.first.size());
        const DWORD size = DWORD(member.second.size());
        out += name;
        out.append(reinterpret_cast<const char*>(&size), 4);
        out += member.second;
    }
    return out;
}

// The stand-in archive plug-in installed for "*.bma" while the object lives.
class BmaPlugIn
{
public:
    BmaPlugIn()
    {
        CHandleLock lock(g_DataMutex);
        m_saved.Copy(g_SusiePlugIns);
        m_savedDir = g_SusiePlugInDir;
        CSusieDllFile record;
        memcpy(record.m_apiVersion, "00AM", 4);
        record.m_fileName = L"spi_bma.sph";
        record.m_patterns.Add(L"*.bma");
        record.m_enabled = 1;
        g_SusiePlugIns.RemoveAll();
        g_SusiePlugIns.Add(record);
        g_SusiePlugInDir = qvtest::ProgramDir().c_str();
    }
    ~BmaPlugIn()
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_saved);
        g_SusiePlugInDir = m_savedDir;
    }

private:
    CArray<CSusieDllFile> m_saved;
    CString m_savedDir;
};

class ArchiveCommands : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_NOTVIEWCURRENTDIR, 1);
        Set(g_NOTVIEWUPDIR, 1);
        Set(g_MOVECURSORAFTERRENAME, 0);
        m_source = W(m_dir) + L"\\source";
        m_work = W(m_dir) + L"\\work";
        m_out = W(m_dir) + L"\\out";
        for (const std::wstring& dir : {m_source, m_work, m_out})
            CreateDirectoryW(dir.c_str(), nullptr);
        qvtest::WriteFileBytes(m_source + L"\\a.txt", "alpha");
        qvtest::WriteFileBytes(m_source + L"\\b.txt", "bravo");
        CSevenZipArchive packer;
        packer.SetOption(0, m_source.c_str());
        packer.SetOption(1, (m_work + L"\\arc.zip").c_str());
        packer.SetOption(13, L"a.txt");
        packer.SetOption(13, L"b.txt");
        CProgressInfo progress;
        ASSERT_EQ(1, CSevenZipArchive::CreateArchive(&packer, nullptr, &progress));
        View().ChangePaneDirectory(0, m_work.c_str(), 1, 0, FALSE);
        View().ChangePaneDirectory(1, m_out.c_str(), 1, 0, FALSE);
        m_panes[0]->m_position = PANE_POS_ACTIVE;
        m_panes[1]->m_position = PANE_POS_OTHER;
    }
    void TearDown() override
    {
        for (int i = 0; i < 2; ++i)
            m_panes[i]->m_archive->Close();
        CommandBench::TearDown();
    }
    void OpenListing()
    {
        m_panes[0]->SetCursorToName(L"arc.zip", FALSE, 0);
        View().OnBrowseArchive();
        ASSERT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
    }
    void PutCursorOn(const wchar_t* name)
    {
        m_panes[0]->SetCursorToName(name, FALSE, -1);
        ASSERT_EQ(std::wstring(name), W(m_panes[0]->GetCursorEntry()->GetName()));
    }
    std::wstring m_source;
    std::wstring m_work;
    std::wstring m_out;
};

TEST_F(ArchiveCommands, LeavingTheListingAsksAndCancelKeepsIt)
{
    OpenListing();
    CDialogAnswerScript script;
    script.Add(IDCANCEL);
    script.Add(IDOK);
    EXPECT_EQ(View().DispatchCommandKeyword(L"@PackViewExit"), 1);
    EXPECT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
    EXPECT_EQ(View().DispatchCommandKeyword(L"@PackViewExit"), 1);
    EXPECT_EQ(PANE_MODE_FILER, m_panes[0]->m_mode);
    ASSERT_NE(m_panes[0]->GetCursorEntry(), nullptr);
    EXPECT_EQ(W(m_panes[0]->GetCursorEntry()->GetName()), L"arc.zip");
    std::vector<CDialogQuestion> asked = script.GetQuestions();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(W(asked[0].text), L"圧縮ファイルの閲覧を終了しますか");
    EXPECT_EQ(W(asked[0].caption), L"確認");
    // Not in a listing: no question.
    EXPECT_EQ(View().DispatchCommandKeyword(L"@PackViewExit"), 1);
    EXPECT_EQ(script.GetQuestions().size(), 2u);
}

} // namespace

TEST_F(ArchiveCommands, RenameOneFileRenamesTheMemberInsideTheArchiveAndACancelRenamesNothing)
{
    OpenListing();
    struct Case
    {
        const wchar_t* newName;
        std::vector<std::wstring> members;
    } const cases[] = {
        {nullptr, {L"a.txt", L"b.txt"}},
        {L"renamed.txt", {L"b.txt", L"renamed.txt"}},
    };
    for (const Case& c : cases)
    {
        PutCursorOn(L"a.txt");
        g_newName = c.newName;
        g_renameDialogs = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerRename);
        View().ExecuteFilerCommand(L"@RenameOneFile");
        KillTimer(nullptr, timer);
        EXPECT_EQ(1, g_renameDialogs);
        EXPECT_EQ(c.members, Members(m_work + L"\\arc.zip"));
        // The listing was read again from the changed archive.
        ASSERT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
        std::vector<std::wstring> listed;
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            if (!m_panes[0]->m_entries[i].IsDots())
                listed.push_back(W(m_panes[0]->m_entries[i].GetName()));
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(c.members, listed);
    }
}

TEST_F(ArchiveCommands, ShowingAFolderInTheListingPaneClosesTheArchive)
{
    OpenListing();
    ASSERT_GT(m_panes[0]->m_archive->GetEntryCount(), 0);
    View().ChangePaneDirectory(0, m_out.c_str(), 1, 0, FALSE);
    EXPECT_EQ(PANE_MODE_FILER, m_panes[0]->m_mode);
    EXPECT_EQ(0, m_panes[0]->m_archive->GetEntryCount()) << "the archive was left open";
}

TEST_F(ArchiveCommands, TheCursorMemberIsExtractedToTheTemporaryFolderWithItsBytes)
{
    const std::wstring temp = W(m_dir) + L"\\temp";
    CreateDirectoryW(temp.c_str(), nullptr);
    View().m_tempDirectory = temp.c_str();
    OpenListing();
    PutCursorOn(L"b.txt");
    ASSERT_EQ(1, View().ExtractCursorMemberToTemp());
    EXPECT_EQ(std::wstring(L"b.txt"), W(View().m_shell.extractedName));
    const std::wstring extracted = W(View().m_shell.extractedFolder) + L"\\b.txt";
    EXPECT_EQ(0, extracted.compare(0, temp.size(), temp));
    EXPECT_EQ("bravo", qvtest::ReadFileBytes(extracted));
    // The copy is the program's only while it runs: it is listed for the tear-down.
    ASSERT_EQ(1, View().m_tempFiles.GetSize());
    EXPECT_EQ(extracted, W(View().m_tempFiles[0]));

    // A folder listing has no member to extract.
    m_panes[0]->SetMode(0, PANE_MODE_FILER, 0);
    EXPECT_EQ(0, View().ExtractCursorMemberToTemp());
}

// The temporary folder is shared with other programs: a member goes into a folder the
// program makes for itself there, one for the whole run, and a file of the member's
// name beside it is never touched. A folder that already stands under the name the
// program would take is someone else's and is not used.
TEST_F(ArchiveCommands, AMemberGoesIntoTheProgramsOwnFolderAndAFileOfItsNameInTheTemporaryFolderIsLeftAlone)
{
    const std::wstring temp = W(m_dir) + L"\\temp";
    CreateDirectoryW(temp.c_str(), nullptr);
    View().m_tempDirectory = temp.c_str();
    ASSERT_TRUE(qvtest::WriteFileBytes(temp + L"\\b.txt", "SOMEONE ELSES NOTES"));
    const std::wstring theirs = L"qv" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW((temp + L"\\" + theirs).c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(temp + L"\\" + theirs + L"\\b.txt", "THEIRS TOO"));
    OpenListing();
    PutCursorOn(L"b.txt");
    std::wstring own;
    CDialogAnswerScript script;
    for (int open = 0; open < 2; ++open)
    {
        SCOPED_TRACE(open);
        ASSERT_EQ(1, View().ExtractCursorMemberToTemp());
        if (open == 0)
            own = W(View().m_shell.extractedFolder);
        EXPECT_EQ(own, W(View().m_shell.extractedFolder)) << "one folder for the run";
        ASSERT_EQ(temp + L"\\", own.substr(0, temp.size() + 1));
        EXPECT_EQ(std::wstring::npos, own.find(L'\\', temp.size() + 1)) << "directly in the folder";
        EXPECT_NE(temp + L"\\" + theirs, own);
        EXPECT_EQ("bravo", qvtest::ReadFileBytes(own + L"\\b.txt"));
        EXPECT_EQ("SOMEONE ELSES NOTES", qvtest::ReadFileBytes(temp + L"\\b.txt"));
        EXPECT_EQ("THEIRS TOO", qvtest::ReadFileBytes(temp + L"\\" + theirs + L"\\b.txt"));
    }
    EXPECT_EQ((std::set<std::wstring>{L"b.txt", theirs, own.substr(temp.size() + 1)}),
              qvtest::ListFolder(temp));
    EXPECT_TRUE(script.GetQuestions().empty());

    // A temporary folder where nothing can be made: the member is not extracted and the
    // user is told.
    View().m_tempDirectory = (W(m_dir) + L"\\missing\\deeper").c_str();
    script.Add(IDOK);
    EXPECT_EQ(0, View().ExtractCursorMemberToTemp());
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(0u, W(script.GetQuestions()[0].text).find(L"テンポラリフォルダの作成に失敗しました"));
    EXPECT_EQ(1, View().m_tempFiles.GetSize());
}

TEST_F(ArchiveCommands, AMemberIsOpenedFromTheFileExtractionWroteAndALeftoverIsReplacedWithoutAQuestion)
{
    const std::wstring temp = W(m_dir) + L"\\temp";
    CreateDirectoryW(temp.c_str(), nullptr);
    View().m_tempDirectory = temp.c_str();
    sztest::WriteStoredZip(m_work + L"\\odd.zip", {{"report 10:30.txt", "minutes"}, {"sub/in.txt", "inner"}});
    View().ChangePaneDirectory(0, m_work.c_str(), 1, 0, FALSE);
    m_panes[0]->SetCursorToName(L"odd.zip", FALSE, 0);
    View().OnBrowseArchive();
    ASSERT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
    // Listed under the name extraction writes.
    PutCursorOn(L"report 10_30.txt");
    CString own;
    ASSERT_TRUE(GetOwnTempFolder(View(), own));
    const std::wstring written = W(own) + L"\\report 10_30.txt";
    // Any question (the overwrite question above all) is recorded and declined.
    CDialogAnswerScript script;
    for (int open = 0; open < 2; ++open)
    {
        SCOPED_TRACE(open);
        ASSERT_EQ(1, View().ExtractCursorMemberToTemp());
        EXPECT_EQ(written, W(View().m_shell.extractedFolder) + L"\\" + W(View().m_shell.extractedName));
        EXPECT_EQ("minutes", qvtest::ReadFileBytes(written));
        // What a program did to the copy, and left read-only, stands in the folder
        // when the member is opened again.
        ASSERT_TRUE(qvtest::WriteFileBytes(written, "edited"));
        SetFileAttributesW(written.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_TRUE(script.GetQuestions().empty());
    // Listed for the tear-down once.
    ASSERT_EQ(1, View().m_tempFiles.GetSize());
    EXPECT_EQ(written, W(View().m_tempFiles[0]));
    SetFileAttributesW(written.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A folder row is refused: nothing below it is extracted. The view's timers
    // (a scroll repeat here) stop all the same.
    PutCursorOn(L"sub");
    View().m_scrollRepeatDir = 1;
    EXPECT_EQ(0, View().ExtractCursorMemberToTemp());
    EXPECT_EQ(0, View().m_scrollRepeatDir);
    EXPECT_EQ((std::set<std::wstring>{L"report 10_30.txt"}), qvtest::ListFolder(W(own)));
    EXPECT_EQ(1, View().m_tempFiles.GetSize());
}

TEST_F(ArchiveCommands, AMemberNamedToClimbOutOfTheTemporaryFolderDeletesNothingOutsideIt)
{
    BmaPlugIn plugIn;
    const std::wstring temp = W(m_dir) + L"\\t1\\t2";
    CreateDirectoryW((W(m_dir) + L"\\t1").c_str(), nullptr);
    CreateDirectoryW(temp.c_str(), nullptr);
    View().m_tempDirectory = temp.c_str();
    // The member climbs two levels from the program's own folder inside t2; files
    // stand where it would land and one level higher.
    const std::wstring precious = W(m_dir) + L"\\x";
    const std::wstring nearer = W(m_dir) + L"\\t1\\x";
    ASSERT_TRUE(qvtest::WriteFileBytes(precious, "precious"));
    ASSERT_TRUE(qvtest::WriteFileBytes(nearer, "nearer"));
    ASSERT_TRUE(qvtest::WriteFileBytes(m_work + L"\\box.bma",
                                       Container({{"..\\..\\x", "hostile"}, {"ok.txt", "fine"}})));
    View().ChangePaneDirectory(0, m_work.c_str(), 1, 0, FALSE);
    m_panes[0]->SetCursorToName(L"box.bma", FALSE, 0);
    View().OnBrowseArchive();
    ASSERT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);

    PutCursorOn(L"..\\..\\x");
    CDialogAnswerScript script;
    script.Add(IDOK);
    EXPECT_EQ(0, View().ExtractCursorMemberToTemp());
    EXPECT_EQ("precious", qvtest::ReadFileBytes(precious));
    EXPECT_EQ("nearer", qvtest::ReadFileBytes(nearer));
    CString own;
    ASSERT_TRUE(GetOwnTempFolder(View(), own));
    EXPECT_TRUE(qvtest::ListFolder(W(own)).empty());
    EXPECT_EQ(1u, qvtest::ListFolder(temp).size()) << "only the program's own folder";
    EXPECT_EQ(0, View().m_tempFiles.GetSize());

    // The plug-in's other member still opens.
    PutCursorOn(L"ok.txt");
    ASSERT_EQ(1, View().ExtractCursorMemberToTemp());
    EXPECT_EQ("fine", qvtest::ReadFileBytes(W(own) + L"\\ok.txt"));
}

TEST_F(ArchiveCommands, EnterOnAMemberRunsItsFileKindOnACopyElseViewsItAndEnterInTheViewerReturns)
{
    const std::wstring temp = W(m_dir) + L"\\temp";
    CreateDirectoryW(temp.c_str(), nullptr);
    View().m_tempDirectory = temp.c_str();
    Set(g_ARCINFOREADREGIST, 0);
    CFileOpenSeamOverride seam;
    g_FileOpenSeam.runKindRow = RecordKindRow;
    g_kindRuns.clear();
    std::vector<CKindExeEntry> savedRows(g_KindExeTable, g_KindExeTable + kKindExeEntryCount);
    CArrayViewFile savedHistory;
    savedHistory.Copy(g_ViewHistory);
    g_ViewHistory.RemoveAll();
    for (int i = 0; i < kKindExeEntryCount; ++i)
        g_KindExeTable[i] = CKindExeEntry();
    g_KindExeTable[0].m_extension = L"txt";
    g_KindExeTable[0].m_action = L"reader.exe";
    g_KindExeTable[0].m_parameters = L"%c";
    OpenListing();
    PutCursorOn(L"b.txt");

    // "@InDir" leaves a member alone; Enter hands the program a copy on disk.
    View().OpenCursorEntry(1, 1);
    EXPECT_TRUE(g_kindRuns.empty());
    View().OpenCursorEntry(1, 0);
    ASSERT_EQ(1u, g_kindRuns.size());
    EXPECT_EQ(L"reader.exe", g_kindRuns[0].program);
    EXPECT_EQ(W(View().m_shell.extractedFolder), g_kindRuns[0].fileDirectory);
    EXPECT_EQ("bravo", qvtest::ReadFileBytes(g_kindRuns[0].fileDirectory + L"\\b.txt"));
    EXPECT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);

    // Without a row the member is shown in the text viewer and remembered.
    g_KindExeTable[0] = CKindExeEntry();
    View().OpenCursorEntry(1, 0);
    EXPECT_EQ(PANE_MODE_ARCHIVE_TEXT_VIEWER, m_panes[0]->m_mode);
    ASSERT_EQ(1, g_ViewHistory.GetSize());
    EXPECT_EQ(L"b.txt", W(g_ViewHistory[0].m_name));
    EXPECT_EQ(L"", W(g_ViewHistory[0].m_folder));
    EXPECT_EQ(m_work + L"\\arc.zip", W(g_ViewHistory[0].m_archive));

    // Enter in the member's viewer goes back to the listing, on the member.
    View().OpenCursorEntry(1, 0);
    EXPECT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
    EXPECT_EQ(L"b.txt", W(m_panes[0]->GetCursorEntry()->GetName()));

    std::copy(savedRows.begin(), savedRows.end(), g_KindExeTable);
    g_ViewHistory.Copy(savedHistory);
}

TEST_F(ArchiveCommands, AKeptListingComesBackFromItsArchiveAndTheFiltersListItAgainFromThere)
{
    Set(g_KEEP_FILER_INFO, 1);
    Set(g_HIDDENVIEWFLAG, 1);
    OpenListing();
    auto names = [&] {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            out.push_back(W(m_panes[0]->m_entries[i].GetName()));
        return out;
    };
    const std::vector<std::wstring> members = {L"a.txt", L"b.txt"};
    ASSERT_EQ(members, names());
    PutCursorOn(L"b.txt");

    View().ToggleDisplayFilter(0);
    EXPECT_EQ(members, names());
    EXPECT_EQ(L"b.txt", W(m_panes[0]->GetCursorEntry()->GetName()));

    // Hidden, then shown again: the pane lists the archive, not its folder.
    m_panes[0]->m_position = PANE_POS_HIDDEN;
    m_panes[1]->m_position = PANE_POS_ACTIVE;
    View().SwitchActivePane(-1);
    EXPECT_EQ(static_cast<UINT>(PANE_POS_ACTIVE), m_panes[0]->m_position);
    EXPECT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
    EXPECT_EQ(members, names());
}

TEST_F(ArchiveCommands, TheTreeDialogsJumpOpensTheChosenFolderOfTheArchive)
{
    CreateDirectoryW((m_source + L"\\deep").c_str(), nullptr);
    qvtest::WriteFileBytes(m_source + L"\\deep\\c.txt", "charlie");
    {
        CSevenZipArchive packer;
        packer.SetOption(0, m_source.c_str());
        packer.SetOption(1, (m_work + L"\\tree.zip").c_str());
        packer.SetOption(13, L"a.txt");
        packer.SetOption(13, L"deep\\c.txt");
        CProgressInfo progress;
        ASSERT_EQ(1, CSevenZipArchive::CreateArchive(&packer, nullptr, &progress));
    }
    View().ChangePaneDirectory(0, m_work.c_str(), 1, 0, FALSE);
    m_panes[0]->SetCursorToName(L"tree.zip", FALSE, 0);
    View().OnBrowseArchive();
    ASSERT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);

    g_treeJumped = false;
    SetTimer(nullptr, 0, 20, JumpToFirstFolder);
    View().ExecuteFilerCommand(L"@Dirtreeview");
    ASSERT_TRUE(g_treeJumped);
    EXPECT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
    EXPECT_EQ(L"deep", W(m_panes[0]->m_archive->GetCurrentFolder()));
    ASSERT_NE(nullptr, m_panes[0]->GetCursorEntry());
    bool listsMember = false;
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        listsMember = listsMember || W(m_panes[0]->m_entries[i].GetName()) == L"c.txt";
    EXPECT_TRUE(listsMember);
}

TEST_F(ArchiveCommands, PlayingAMediaMemberExtractsItToTheTemporaryFolderFirst)
{
    const std::wstring temp = W(m_dir) + L"\\temp";
    CreateDirectoryW(temp.c_str(), nullptr);
    View().m_tempDirectory = temp.c_str();
    qvtest::WriteFileBytes(m_source + L"\\s.mp3", "ID3");
    CSevenZipArchive packer;
    packer.SetOption(0, m_source.c_str());
    packer.SetOption(1, (m_work + L"\\media.zip").c_str());
    packer.SetOption(13, L"a.txt");
    packer.SetOption(13, L"s.mp3");
    CProgressInfo progress;
    ASSERT_EQ(1, CSevenZipArchive::CreateArchive(&packer, nullptr, &progress));
    View().ChangePaneDirectory(0, m_work.c_str(), 1, 0, FALSE);
    m_panes[0]->SetCursorToName(L"media.zip", FALSE, 0);
    View().OnBrowseArchive();
    ASSERT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);

    PutCursorOn(L"a.txt");
    View().PlaySoundFile();
    EXPECT_EQ(0, View().m_tempFiles.GetSize()) << "a member of no media kind stays packed";

    PutCursorOn(L"s.mp3");
    View().PlaySoundFile();
    EXPECT_EQ(std::wstring(L"s.mp3"), W(View().m_shell.extractedName));
    EXPECT_EQ("ID3", qvtest::ReadFileBytes(W(View().m_shell.extractedFolder) + L"\\s.mp3"));
}

TEST_F(ArchiveCommands, PackingMarkedFilesOfAFolderWritesTheArchiveIntoTheOtherPanesFolder)
{
    View().ChangePaneDirectory(0, m_source.c_str(), 1, 0, FALSE);
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        if (!m_panes[0]->m_entries[i].IsDirectory())
            m_panes[0]->SetEntryMark(i, 1);
    CStringArray savedHistory;
    savedHistory.Copy(g_SelectDirHistory);
    g_packAccepted = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AcceptPack);
    View().ExecuteFilerCommand(L"@Packzip");
    KillTimer(nullptr, timer);
    ASSERT_TRUE(g_packAccepted);
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"b.txt"}), Members(m_out + L"\\packed.zip"));
    // The other pane, re-read, lists the new archive; the folder heads the history.
    bool listed = false;
    for (INT_PTR i = 0; i < m_panes[1]->m_entries.GetSize(); ++i)
        listed = listed || std::wstring(m_panes[1]->m_entries[i].GetName()) == L"packed.zip";
    EXPECT_TRUE(listed);
    ASSERT_GT(g_SelectDirHistory.GetSize(), 0);
    EXPECT_EQ(0, W(g_SelectDirHistory[0]).compare(0, m_out.size(), m_out));
    g_SelectDirHistory.Copy(savedHistory);
}

TEST_F(ArchiveCommands, TheVolumeLabelOfADriveRowIsAskedWithTheDriveInTheCaption)
{
    CFilerPane& pane = *m_panes[0];
    pane.SetMode(0, PANE_MODE_DRIVE_LIST, 1);
    pane.m_driveList.RemoveAll();
    CDriveInfo network;
    network.m_kind = DRIVE_KIND_NETWORK_ROOT;
    network.m_name = L"ネットワーク";
    CDriveInfo drive;
    drive.m_kind = DRIVE_FIXED;
    drive.m_name = L"Z:";
    pane.m_driveList.Add(network);
    pane.m_driveList.Add(drive);
    wchar_t label[1040] = {};
    ASSERT_TRUE(GetVolumeInformationW(L"Z:\\", label, 1040, nullptr, nullptr, nullptr, nullptr, 0));
    struct Case
    {
        INT64 cursor;
        size_t questions;
    } const cases[] = {{0, 0}, {1, 1}};
    for (const Case& c : cases)
    {
        // The row list is read again afterwards: the rows are put back for each case.
        pane.SetMode(0, PANE_MODE_DRIVE_LIST, 1);
        pane.m_driveList.RemoveAll();
        pane.m_driveList.Add(network);
        pane.m_driveList.Add(drive);
        pane.m_cursor = c.cursor;
        CDialogAnswerScript script;
        script.Add(IDCANCEL);
        View().ExecuteFilerCommand(L"@Rename");
        ASSERT_EQ(c.questions, script.GetQuestions().size()) << c.cursor;
        if (c.questions == 0)
            continue;
        EXPECT_EQ(std::wstring(L"Zドライブのボリュームラベルの変更"), W(script.GetQuestions()[0].caption));
        EXPECT_EQ(std::wstring(label), W(script.GetQuestions()[0].text));
    }
}
