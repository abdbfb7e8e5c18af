// Directory synchronisation on real trees in the scratch folder: the rows the walks
// build (links included), and the dialog carrying them out with the real worker,
// its questions answered by scripts.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "archivefront/ArchiveFront.h"
#include "fileops/sync/SyncCopyDlgThread.h"
#include "fileops/sync/SyncWalk.h"
#include "fileops/sync/SynccopyDlg.h"
#include "res/SyncDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/fileops/FileOpsTestData.h"

using fileopstest::DiskEntry;
using fileopstest::Exists;
using fileopstest::MakeTree;
using qvtest::W;

namespace
{

const LONGLONG kSecond = 10000000;

void SetWriteTime(const std::wstring& path, LONGLONG secondsFromBase)
{
    const ULONGLONG value = 130000000000000000ULL + static_cast<ULONGLONG>(secondsFromBase * kSecond);
    FILETIME time = {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << W(path.c_str());
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

LONGLONG WriteSeconds(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    const ULONGLONG value = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                            data.ftLastWriteTime.dwLowDateTime;
    return static_cast<LONGLONG>(value - 130000000000000000ULL) / kSecond;
}

// "folder\name" (a folder row ends in "\") -> the action text of every row.
std::map<std::wstring, std::wstring> Actions(const CSyncDataArray& rows)
{
    std::map<std::wstring, std::wstring> out;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
    {
        std::wstring key = W(JoinSyncPath(rows[i].m_relativeFolder, rows[i].m_entry.GetName()));
        if (rows[i].m_entry.IsDirectory())
            key += L"\\";
        out[key] = W(SyncActionText(rows[i]));
    }
    return out;
}

class SyncTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        CreateDirectoryW(P(L"src").c_str(), nullptr);
        CreateDirectoryW(P(L"dst").c_str(), nullptr);
    }
    std::wstring S(const std::wstring& name) const { return dir + L"\\src\\" + name; }
    std::wstring D(const std::wstring& name) const { return dir + L"\\dst\\" + name; }

    CSyncDataArray Build(const std::vector<std::wstring>& targets, const SyncSettings& settings)
    {
        CSyncDataArray rows;
        SyncSide source, destination;
        source.base = (dir + L"\\src").c_str();
        destination.base = (dir + L"\\dst").c_str();
        CSyncRowBuilder builder(source, destination, rows);
        for (const auto& name : targets)
            builder.AddTarget(DiskEntry(dir + L"\\src", name));
        builder.DecideActions(settings);
        return rows;
    }
};

TEST_F(SyncTest, WalksPairFilesByNameAndTime)
{
    MakeTree(dir,
             {L"src\\d\\", L"src\\d\\newer.txt", L"src\\d\\same.txt", L"src\\d\\older.txt",
              L"src\\d\\missing.txt", L"src\\d\\sub\\", L"src\\d\\sub\\deep.txt", L"src\\d\\asfolder",
              L"src\\top.txt", L"dst\\d\\", L"dst\\d\\newer.txt", L"dst\\d\\same.txt", L"dst\\d\\older.txt",
              L"dst\\d\\extra.txt", L"dst\\d\\asfolder\\", L"dst\\d\\gone\\", L"dst\\d\\gone\\inner.txt"});
    SetWriteTime(S(L"d\\newer.txt"), 100);
    SetWriteTime(D(L"d\\newer.txt"), 50);
    SetWriteTime(S(L"d\\same.txt"), 100);
    SetWriteTime(D(L"d\\same.txt"), 102); // within the slack
    SetWriteTime(S(L"d\\older.txt"), 50);
    SetWriteTime(D(L"d\\older.txt"), 100);
    SyncSettings settings; // defaults: copy missing files, newer wins, keep extras
    const std::map<std::wstring, std::wstring> expected = {
        {L"d\\newer.txt", L"▼"},
        {L"d\\same.txt", L"×"},
        {L"d\\older.txt", L"▲"},
        {L"d\\missing.txt", L"▽"},
        {L"d\\sub\\deep.txt", L"▽"},
        {L"d\\asfolder", L"▽"}, // a folder of the file's name counts as missing
        {L"d\\asfolder\\", L"×"},
        {L"top.txt", L"▽"},
        {L"d\\extra.txt", L"×"},
        {L"d\\gone\\", L"×"},
        {L"d\\gone\\inner.txt", L"×"},
    };
    EXPECT_EQ(expected, Actions(Build({L"d", L"top.txt"}, settings)));

    settings.olderWins = 1;
    settings.deleteMissing = 1;
    settings.copyMissing = 0;
    const std::map<std::wstring, std::wstring> reversed = Actions(Build({L"d", L"top.txt"}, settings));
    EXPECT_EQ(L"▲", reversed.at(L"d\\newer.txt"));
    EXPECT_EQ(L"▼", reversed.at(L"d\\older.txt"));
    EXPECT_EQ(L"×", reversed.at(L"d\\missing.txt"));
    EXPECT_EQ(L"削除", reversed.at(L"d\\extra.txt"));
    EXPECT_EQ(L"削除", reversed.at(L"d\\gone\\inner.txt"));
}

TEST_F(SyncTest, LinksAreNeverWalkedAndNeverWrittenThrough)
{
    MakeTree(dir, {L"outside\\", L"outside\\precious.txt", L"outside\\shared.txt", L"src\\d\\",
                   L"src\\d\\a.txt", L"src\\d\\pair\\", L"src\\d\\pair\\shared.txt", L"dst\\d\\"});
    if (!fileopstest::MakeFolderLink(D(L"d\\link"), P(L"outside")) ||
        !fileopstest::MakeFolderLink(D(L"d\\pair"), P(L"outside")))
        GTEST_SKIP() << "no host link";
    SyncSettings settings;
    settings.deleteMissing = 1;
    CSyncDataArray rows = Build({L"d"}, settings);
    const std::map<std::wstring, std::wstring> expected = {
        {L"d\\a.txt", L"▽"},
        {L"d\\link\\", L"削除"},        // one row for the link, none for what it shows
        {L"d\\pair\\", L"×"},           // a folder at the source, a link here
        {L"d\\pair\\shared.txt", L"×"}, // would be written through the link
    };
    EXPECT_EQ(expected, Actions(rows));
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
    {
        ApplySyncButton(rows[i], SYNC_TO_DEST);
        if (W(rows[i].m_entry.GetName()) == L"shared.txt")
        {
            EXPECT_EQ(SYNC_NOTHING, rows[i].m_action);
        }
    }
}

// The dialog, driven from inside its modal loop.
class CDrivenSyncDlg : public qvtest::CDrivenDialog<CDrivenSyncDlg, CSynccopyDlg>
{
public:
    std::wstring browseTo;

    void Select(const std::wstring& relative)
    {
        HWND list = ::GetDlgItem(m_hWnd, IDC_SYNC_LIST);
        for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
            if (W(JoinSyncPath(m_rows[i].m_relativeFolder, m_rows[i].m_entry.GetName())) == relative)
                ListView_SetItemState(list, static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
    }
    BOOL Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(m_hWnd, id)); }

protected:
    BOOL ChooseDestinationFolder(CString& path) override
    {
        path = browseTo.c_str();
        return TRUE;
    }
};

// A drive probe whose writes can fail from a given call on, or take their time.
struct ProbeState
{
    int failFromCall = -1;
    int calls = 0;
    DWORD delay = 0;
};
ProbeState g_probe;

BOOL WINAPI ProbeWrite(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (g_probe.delay)
        Sleep(g_probe.delay);
    if (g_probe.failFromCall >= 0 && g_probe.calls++ >= g_probe.failFromCall)
    {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, buffer, bytes, written, overlapped);
}

class SyncDialogTest : public SyncTest
{
protected:
    void SetUp() override
    {
        SyncTest::SetUp();
        g_probe = ProbeState();
        m_probe = g_SystemDriveProbe;
        m_probe.writeFile = ProbeWrite;
        // Small chunks whatever the drives are, so that a copy takes many writes.
        for (int* size : {&g_COPY_BUFFER_SIZE_FIXED, &g_COPY_BUFFER_SIZE_REMOTE,
                          &g_COPY_BUFFER_SIZE_REMOVABLE, &g_COPY_BUFFER_SIZE_OTHER})
        {
            m_savedSizes.push_back({size, *size});
            *size = 64;
        }
    }
    void TearDown() override
    {
        for (auto& saved : m_savedSizes)
            *saved.first = saved.second;
    }
    std::vector<std::pair<int*, int>> m_savedSizes;
    void Prepare(CDrivenSyncDlg& dialog, const std::vector<std::wstring>& targets)
    {
        dialog.m_sourceDirectory = (dir + L"\\src").c_str();
        dialog.m_destination = (dir + L"\\dst").c_str();
        for (const auto& name : targets)
            dialog.m_targets.AddEntry(DiskEntry(dir + L"\\src", name));
        dialog.m_copierProbe = &m_probe;
    }
    CopierDriveProbe m_probe;
};

TEST_F(SyncDialogTest, CarriesOutCopiesBothWaysDeletionsAndNewFolders)
{
    MakeTree(dir,
             {L"src\\d\\", L"src\\d\\up.txt", L"src\\d\\back.txt", L"src\\d\\new\\", L"src\\d\\new\\n.txt",
              L"dst\\d\\", L"dst\\d\\up.txt", L"dst\\d\\back.txt", L"dst\\d\\old\\", L"dst\\d\\old\\x.txt"});
    qvtest::WriteFileBytes(S(L"d\\up.txt"), "fresh source");
    qvtest::WriteFileBytes(D(L"d\\back.txt"), "fresh destination");
    SetWriteTime(S(L"d\\up.txt"), 200);
    SetWriteTime(D(L"d\\up.txt"), 100);
    SetWriteTime(S(L"d\\back.txt"), 100);
    SetWriteTime(D(L"d\\back.txt"), 200);
    SetFileAttributesW(S(L"d\\new").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    SetWriteTime(S(L"d\\new"), 300);
    CDialogAnswerScript script;
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"d"});
    dialog.m_settings.deleteMissing = 1;
    dialog.drive = [&](CDrivenSyncDlg& d) { d.Command(IDOK); };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.GetQuestions().empty());
    EXPECT_EQ("fresh source", qvtest::ReadFileBytes(D(L"d\\up.txt")));
    EXPECT_EQ("fresh destination", qvtest::ReadFileBytes(S(L"d\\back.txt")));
    EXPECT_EQ("data", qvtest::ReadFileBytes(D(L"d\\new\\n.txt")));
    EXPECT_TRUE(GetFileAttributesW(D(L"d\\new").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(300, WriteSeconds(D(L"d\\new")));
    EXPECT_FALSE(Exists(D(L"d\\old\\x.txt")));
    EXPECT_FALSE(Exists(D(L"d\\old")));
    EXPECT_EQ(nullptr, dialog.m_worker);
}

TEST_F(SyncDialogTest, VanishedSourceStopsTheRunWithItsMessage)
{
    MakeTree(dir, {L"src\\a.txt", L"src\\b.txt"});
    CDialogAnswerScript script;
    script.Add(IDOK);
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"a.txt", L"b.txt"});
    dialog.drive = [&](CDrivenSyncDlg& d) {
        DeleteFileW(S(L"b.txt").c_str());
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    const auto questions = script.GetQuestions();
    ASSERT_EQ(1u, questions.size());
    // The list runs in descending path order: b.txt comes first and ends the run.
    EXPECT_EQ(L"コピー元ファイルb.txtが見つかりません", W(questions[0].text));
    EXPECT_FALSE(Exists(D(L"a.txt")));
}

TEST_F(SyncDialogTest, AFolderThatCannotBeMadeIsNamedInItsMessage)
{
    // A file on the destination side stands where the folder must go.
    MakeTree(dir, {L"src\\d\\", L"src\\d\\x.txt", L"dst\\d"});
    CDialogAnswerScript script;
    script.Add(IDOK);
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"d"});
    dialog.drive = [&](CDrivenSyncDlg& d) { d.Command(IDOK); };
    EXPECT_EQ(IDOK, dialog.DoModal());
    const auto questions = script.GetQuestions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(L"ディレクトリの作成に失敗しました\n" + D(L"d") + L"\n(CreateDirectory:Error Code=183)",
              W(questions[0].text));
    EXPECT_EQ("data", qvtest::ReadFileBytes(D(L"d"))); // the file stays as it was
}

TEST_F(SyncDialogTest, WriteFailureLeavesNoTruncatedFileAndTheOverwrittenOneIntact)
{
    MakeTree(dir, {L"src\\fresh.bin", L"src\\over.bin", L"dst\\over.bin"});
    qvtest::WriteFileBytes(S(L"fresh.bin"), std::string(3000000, 'f'));
    qvtest::WriteFileBytes(S(L"over.bin"), std::string(3000000, 'n'));
    qvtest::WriteFileBytes(D(L"over.bin"), "the good old one");
    SetWriteTime(S(L"over.bin"), 200);
    SetWriteTime(D(L"over.bin"), 100);
    g_probe.failFromCall = 1; // every file gets its first chunk written, then the disk is full
    CDialogAnswerScript script;
    script.Add(IDOK);
    script.Add(IDOK);
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"fresh.bin", L"over.bin"});
    dialog.drive = [&](CDrivenSyncDlg& d) { d.Command(IDOK); };
    EXPECT_EQ(IDOK, dialog.DoModal());
    const auto questions = script.GetQuestions();
    ASSERT_EQ(2u, questions.size());
    // Each question names the file that failed, with the step and the system's code.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(L"ファイルのコピーに失敗しました。続けますか\n" + D(i == 0 ? L"over.bin" : L"fresh.bin") +
                      L"\n(WriteFile:Error Code=112)",
                  W(questions[i].text));
    EXPECT_FALSE(Exists(D(L"fresh.bin")));
    EXPECT_EQ("the good old one", qvtest::ReadFileBytes(D(L"over.bin")));
    EXPECT_EQ(100, WriteSeconds(D(L"over.bin")));
    EXPECT_EQ(std::set<std::wstring>({L"over.bin"}), qvtest::ListFolder(dir + L"\\dst"));
}

TEST_F(SyncDialogTest, AbortDuringALongCopyDeletesThePartialTarget)
{
    MakeTree(dir, {L"src\\big.bin"});
    qvtest::WriteFileBytes(S(L"big.bin"), std::string(2000000, 'b'));
    g_probe.delay = 50;
    CDialogAnswerScript script;
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"big.bin"});
    bool sawTarget = false;
    dialog.drive = [&](CDrivenSyncDlg& d) {
        d.Command(IDOK);
        EXPECT_FALSE(d.Enabled(IDCANCEL));
        EXPECT_TRUE(d.Enabled(IDC_SYNC_ABORT));
        // The file being written appears (beside the target, under a temporary name).
        sawTarget = qvtest::PumpUntil([&] { return !qvtest::ListFolder(dir + L"\\dst").empty(); }, 10000);
        d.Command(IDC_SYNC_ABORT);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(sawTarget);
    EXPECT_FALSE(Exists(D(L"big.bin")));
    EXPECT_TRUE(qvtest::ListFolder(dir + L"\\dst").empty());
}

TEST_F(SyncDialogTest, FolderStillHoldingFilesAsksAndKeepsItsAttributes)
{
    MakeTree(dir, {L"src\\d\\", L"dst\\d\\", L"dst\\d\\gone\\", L"dst\\d\\gone\\x.txt"});
    CDialogAnswerScript script;
    script.Add(IDOK);
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"d"});
    dialog.m_settings.deleteMissing = 1;
    const DWORD attributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
    dialog.drive = [&](CDrivenSyncDlg& d) {
        // Put there after the list was built: the folder is not empty when its turn comes.
        MakeTree(dir, {L"dst\\d\\gone\\late.txt"});
        SetFileAttributesW(D(L"d\\gone").c_str(), attributes);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    const auto questions = script.GetQuestions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(0, W(questions[0].text).find(D(L"d\\gone") + L"の削除に失敗しました(Error="));
    EXPECT_FALSE(Exists(D(L"d\\gone\\x.txt")));
    EXPECT_TRUE(Exists(D(L"d\\gone\\late.txt")));
    EXPECT_EQ(attributes, GetFileAttributesW(D(L"d\\gone").c_str()) & ~FILE_ATTRIBUTE_ARCHIVE);
    SetFileAttributesW(D(L"d\\gone").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SyncDialogTest, BrowsingRebuildsTheRowsForTheNewDestination)
{
    MakeTree(dir, {L"src\\d\\", L"src\\d\\a.txt", L"dst\\d\\", L"dst\\d\\only-old.txt", L"other\\",
                   L"other\\d\\", L"other\\d\\a.txt", L"other\\d\\only-new.txt"});
    SetWriteTime(S(L"d\\a.txt"), 100);
    SetWriteTime(P(L"other\\d\\a.txt"), 100);
    CDialogAnswerScript script;
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"d"});
    dialog.m_settings.deleteMissing = 1;
    dialog.browseTo = P(L"other");
    std::map<std::wstring, std::wstring> before, after;
    dialog.drive = [&](CDrivenSyncDlg& d) {
        before = Actions(d.m_rows);
        d.Command(IDC_SYNC_BROWSE);
        after = Actions(d.m_rows);
        EXPECT_EQ(P(L"other"), W(d.m_destination));
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"d\\a.txt", L"▽"}, {L"d\\only-old.txt", L"削除"}}),
              before);
    EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"d\\a.txt", L"×"}, {L"d\\only-new.txt", L"削除"}}),
              after);
    EXPECT_TRUE(Exists(D(L"d\\only-old.txt")));
    EXPECT_FALSE(Exists(P(L"other\\d\\only-new.txt")));
}

TEST_F(SyncDialogTest, DestinationJunctionKeepsTheFilesOfItsTarget)
{
    MakeTree(dir, {L"outside\\", L"outside\\precious.txt", L"src\\d\\", L"dst\\d\\"});
    if (!fileopstest::MakeFolderLink(D(L"d\\link"), P(L"outside")))
        GTEST_SKIP() << "no host link";
    CDialogAnswerScript script;
    script.Add(IDOK); // a link Wine cannot remove is reported
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"d"});
    dialog.m_settings.deleteMissing = 1;
    dialog.drive = [&](CDrivenSyncDlg& d) { d.Command(IDOK); };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(Exists(P(L"outside\\precious.txt")));
}

TEST_F(SyncDialogTest, ButtonsFollowTheDestinationAndTheRowKinds)
{
    MakeTree(dir, {L"src\\d\\", L"src\\d\\s.txt", L"dst\\d\\", L"dst\\d\\t.txt"});
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"d"});
    dialog.drive = [&](CDrivenSyncDlg& d) {
        d.Select(L"d\\s.txt");
        d.Select(L"d\\t.txt");
        d.Command(IDC_SYNC_TO_SRC); // the source-only row stays ▽
        d.Command(IDC_SYNC_DELETE); // only the destination-only row takes it
        EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"d\\s.txt", L"▽"}, {L"d\\t.txt", L"削除"}}),
                  Actions(d.m_rows));
        d.Command(IDC_SYNC_TO_DEST); // a destination-only row cannot go there
        EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"d\\s.txt", L"▽"}, {L"d\\t.txt", L"×"}}),
                  Actions(d.m_rows));
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());

    CDrivenSyncDlg empty;
    Prepare(empty, {L"d"});
    empty.m_destination.Empty();
    empty.drive = [&](CDrivenSyncDlg& d) {
        for (int id : {IDOK, IDC_SYNC_TO_DEST, IDC_SYNC_TO_SRC, IDC_SYNC_NOTHING})
            EXPECT_FALSE(d.Enabled(id)) << id;
        EXPECT_TRUE(d.Enabled(IDC_SYNC_DELETE));
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, empty.DoModal());
}

TEST_F(SyncDialogTest, ArchiveBelowItsTopClosesTheDialogWithItsMessage)
{
    CArchiveFront front;
    front.SetCurrentFolder(L"inner");
    for (int side = 0; side < 2; ++side)
    {
        CDialogAnswerScript script;
        script.Add(IDOK);
        CDrivenSyncDlg dialog;
        Prepare(dialog, {});
        (side == 0 ? dialog.m_sourceArchive : dialog.m_destinationArchive) = &front;
        dialog.drive = [&](CDrivenSyncDlg& d) { d.EndDialog(IDRETRY); };
        EXPECT_EQ(IDCANCEL, dialog.DoModal()) << side;
        const auto questions = script.GetQuestions();
        ASSERT_EQ(1u, questions.size()) << side;
        EXPECT_EQ(L"圧縮ファイル内のディレクトリが一番上でありません", W(questions[0].text));
    }
}

// The members of a zip, as stored paths.
std::set<std::wstring> ZipMembers(const std::wstring& path)
{
    CArchiveFront front;
    std::set<std::wstring> out;
    if (!front.OpenAndList(path.c_str(), 0))
        return out;
    for (int i = 0; i < front.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* member = nullptr;
        if (front.GetEntry(&member, i) && member &&
            !(member->m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            out.insert(W(JoinSyncPath(member->m_folder, member->m_findData.cFileName)));
    }
    return out;
}

TEST_F(SyncDialogTest, ZipDestinationGetsCopiesPackedAndDeletionsRemoved)
{
    MakeTree(dir, {L"src\\d\\", L"src\\d\\new.txt", L"pack\\", L"pack\\d\\", L"pack\\d\\old.txt",
                   L"pack\\d\\kept.txt", L"src\\d\\kept.txt"});
    const std::wstring zip = P(L"dst.zip");
    {
        CSevenZipArchive maker;
        maker.SetOption(0, P(L"pack").c_str());
        maker.SetOption(1, zip.c_str());
        maker.SetOption(13, L"d");
        ASSERT_EQ(1, maker.RunCreate(nullptr, nullptr));
    }
    ASSERT_EQ((std::set<std::wstring>{L"d\\kept.txt", L"d\\old.txt"}), ZipMembers(zip));
    CArchiveFront front;
    ASSERT_TRUE(front.OpenAndList(zip.c_str(), 0));
    CDialogAnswerScript script;
    CDrivenSyncDlg dialog;
    Prepare(dialog, {L"d"});
    dialog.m_destination = zip.c_str();
    dialog.m_destinationArchive = &front;
    dialog.m_settings.deleteMissing = 1;
    std::map<std::wstring, std::wstring> proposed;
    dialog.drive = [&](CDrivenSyncDlg& d) {
        proposed = Actions(d.m_rows);
        d.Select(L"d\\kept.txt");
        d.Command(IDC_SYNC_NOTHING);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"▽", proposed[L"d\\new.txt"]);
    EXPECT_EQ(L"削除", proposed[L"d\\old.txt"]);
    EXPECT_TRUE(script.GetQuestions().empty()) << W(script.GetQuestions()[0].text);
    front.Close();
    EXPECT_EQ((std::set<std::wstring>{L"d\\kept.txt", L"d\\new.txt"}), ZipMembers(zip));
}

} // namespace
