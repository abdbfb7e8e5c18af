// The unpack dialog and the unpack options dialog as a user meets them: jobs that
// queue behind each other, the to-temporary-folder mode, and the option rows kept
// per format until OK.
#include <gtest/gtest.h>
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/DefunarcDlg.h"
#include "archivefront/dialogs/UnpackDlg.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "res/ArchiveDialogs.h"
#include "tests/archivefront/unpack_test_support.h"
#include "tests/common/DialogHarness.h"

#include <vector>

namespace
{

class CDrivenUnpackDlg : public qvtest::CDrivenDialog<CDrivenUnpackDlg, CUnpackDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

class CDrivenDefunarcDlg : public qvtest::CDrivenDialog<CDrivenDefunarcDlg, CDefunarcDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
    CCheckListBox& List() { return m_list; }
    void ChooseFormat(int row)
    {
        ::SendDlgItemMessageW(m_hWnd, IDC_UNPACKOPT_FORMAT, CB_SETCURSEL, row, 0);
        Command(IDC_UNPACKOPT_FORMAT, CBN_SELCHANGE);
    }
    void Flip(int item) { m_list.SetCheck(item, m_list.GetCheck(item) ? 0 : 1); }
};

void Pump(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

bool Visible(const CUnpackDlg& dialog, int id)
{
    return dialog.m_hWnd != nullptr && IsWindowVisible(::GetDlgItem(dialog.m_hWnd, id));
}

// The flags of every unpack option of every row, to compare and to put back.
std::vector<WORD> UnpackFlags()
{
    std::vector<WORD> flags;
    for (const CArchiverDllEntry& row : g_ArchiverDllTable)
        for (int i = 0; i < row.unpackOptionCount; ++i)
            flags.push_back(row.unpackOptions[i].flag);
    return flags;
}

void RestoreUnpackFlags(const std::vector<WORD>& flags)
{
    size_t at = 0;
    for (const CArchiverDllEntry& row : g_ArchiverDllTable)
        for (int i = 0; i < row.unpackOptionCount; ++i)
            row.unpackOptions[i].flag = flags[at++];
}

class UnpackDialogTest : public unpacktest::StubFolderTest
{
};

} // namespace

TEST_F(UnpackDialogTest, TwoJobsStartedTogetherRunOneAfterTheOther)
{
    UseStubs(L"Unlha", L"m.txt");
    FakeArchive(L"x.lzh");
    // The test holds the busy flag as a running job would, so that both wait.
    ASSERT_EQ(1, TryTakeUnpackBusy());
    CUnpackDlg* dialogs[2] = {new CUnpackDlg, new CUnpackDlg};
    for (int i = 0; i < 2; ++i)
    {
        CUnpackDlg& dialog = *dialogs[i];
        dialog.m_sourceMode = UNPACK_FROM_FILER;
        dialog.m_baseFolder = dir.c_str();
        dialog.m_destination = i == 0 ? L"out1" : L"out2";
        dialog.m_selection.m_directory = dir.c_str();
        CFileInfo entry;
        entry.m_findData.cFileName = L"x.lzh";
        dialog.m_selection.m_entries.Add(entry);
        ASSERT_TRUE(dialog.Create(IDD_UNPACK, nullptr));
        dialog.ShowWindow(SW_SHOWNOACTIVATE);
        dialog.SendMessage(WM_COMMAND, IDOK, 0);
    }
    Pump(350);
    for (CUnpackDlg* dialog : dialogs)
    {
        EXPECT_TRUE(dialog->IsWaiting());
        EXPECT_FALSE(Visible(*dialog, IDC_UNPACKDLG_PROGRESS));
    }

    ReleaseUnpackBusy();
    int bothRunning = 0;
    for (int round = 0; round < 400 && !(dialogs[0]->m_bWorkerDone && dialogs[1]->m_bWorkerDone); ++round)
    {
        Pump(10);
        bothRunning += dialogs[0]->IsRunning() && dialogs[1]->IsRunning();
    }
    EXPECT_EQ(0, bothRunning);
    for (CUnpackDlg* dialog : dialogs)
    {
        EXPECT_EQ(1, dialog->m_bWorkerDone);
        EXPECT_EQ(UNPACK_DONE, dialog->m_result);
        delete dialog;
    }
    EXPECT_TRUE(IsDirectory(P(L"out1")));
    EXPECT_TRUE(IsDirectory(P(L"out2")));
    EXPECT_EQ(0, IsUnpackBusy());
}

TEST_F(UnpackDialogTest, ToTempModeStartsByItselfWithOkDisabledAndReplacesAnOlderCopy)
{
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(unpacktest::SevenZipFixture(L"tree.7z").c_str(), 0));
    front.UnloadLibraries();
    ASSERT_TRUE(CreateDirectoryW(P(L"temp").c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"temp\\top.txt"), "older copy"));
    ASSERT_TRUE(SetFileAttributesW(P(L"temp\\top.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    CDrivenUnpackDlg dialog;
    dialog.m_sourceMode = UNPACK_FROM_ARCHIVE;
    dialog.m_toTemp = 1;
    dialog.m_baseFolder = dir.c_str();
    dialog.m_destination = P(L"temp").c_str();
    dialog.m_sourceArchive = &front;
    for (int i = 0; i < front.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* member = nullptr;
        if (front.GetEntry(&member, i) && lstrcmpW(member->m_findData.cFileName, L"top.txt") == 0)
            dialog.m_members.Add(*member);
    }
    ASSERT_EQ(1, dialog.m_members.GetSize());
    BOOL okEnabled = TRUE;
    dialog.drive = [&](CDrivenUnpackDlg& d) { okEnabled = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK)); };
    CDialogAnswerScript script;
    EXPECT_EQ(UNPACK_DONE, dialog.DoModal());
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(script.GetQuestions().empty());
    EXPECT_EQ("top\n", qvtest::ReadFileBytes(P(L"temp\\top.txt")));
    EXPECT_EQ(P(L"temp\\top.txt"), qvtest::W(dialog.m_extractedFile));
}

TEST_F(UnpackDialogTest, ADestinationAboveTheRootIsRefusedAndTheDialogStays)
{
    CDrivenUnpackDlg dialog;
    dialog.m_sourceMode = UNPACK_FROM_ARCHIVE;
    dialog.m_baseFolder = L"C:";
    dialog.m_destination = L"..\\..";
    CDialogAnswerScript script;
    script.Add(IDOK);
    bool stayed = false;
    dialog.drive = [&](CDrivenUnpackDlg& d) {
        d.Command(IDOK);
        stayed = !d.IsRunning() && !d.IsWaiting() && ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK));
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(UNPACK_FAILED, dialog.DoModal());
    EXPECT_TRUE(stayed);
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"入力したディレクトリ名が不正です", qvtest::W(script.GetQuestions()[0].text));
}

TEST_F(UnpackDialogTest, UnpackOptionsDialogKeepsEveryRowsChangesUntilOkOnly)
{
    const std::vector<WORD> before = UnpackFlags();
    const CString bridgeBefore = g_UnbypassDllPath;
    struct Case
    {
        int endWith;
        bool kept;
    };
    for (const Case c : {Case{IDCANCEL, false}, Case{IDOK, true}})
    {
        SCOPED_TRACE(c.endWith);
        CDrivenDefunarcDlg dialog;
        std::vector<std::wstring> tarLines;
        dialog.drive = [&](CDrivenDefunarcDlg& d) {
            d.Flip(0); // LZH
            d.ChooseFormat(ARCHIVER_ROW_ZIP);
            d.Flip(1);
            d.ChooseFormat(ARCHIVER_ROW_TAR);
            tarLines = d.ListBoxLines(IDC_UNPACKOPT_LIST);
            d.SetDlgItemText(IDC_UNPACKOPT_BRIDGE, L"C:\\bridge");
            d.Command(c.endWith);
        };
        EXPECT_EQ(c.endWith, dialog.DoModal());
        EXPECT_EQ(std::vector<std::wstring>{L"オプションなし"}, tarLines);
        EXPECT_EQ(c.kept, g_LzhUnpackOptions[0].flag != before[0]);
        EXPECT_EQ(c.kept, g_ZipUnpackOptions[1].flag !=
                              before[static_cast<size_t>(g_ArchiverDllTable[0].unpackOptionCount) + 1]);
        EXPECT_EQ(c.kept ? std::wstring(L"C:\\bridge") : qvtest::W(bridgeBefore),
                  qvtest::W(g_UnbypassDllPath));
        RestoreUnpackFlags(before);
        g_UnbypassDllPath = bridgeBefore;
    }
}

TEST_F(UnpackDialogTest, UnpackOptionsConfigurationButtonsActOnTheLastChosenRowThroughTheBridge)
{
    UseStubs(L"", L"");
    CDrivenDefunarcDlg dialog;
    dialog.drive = [&](CDrivenDefunarcDlg& d) {
        d.ChooseFormat(ARCHIVER_ROW_RAR);
        d.ChooseFormat(ARCHIVER_ROW_ZIP);
        d.Command(IDC_UNPACKOPT_LIBRARY_UNPACK);
        d.Command(IDC_UNPACKOPT_LIBRARY_PACK);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("Unbypass.dll\tUnZipConfigDialog\t1")) << log;
    EXPECT_NE(std::string::npos, log.find("Unbypass.dll\tZipConfigDialog\t2")) << log;
    EXPECT_EQ(std::string::npos, log.find("Unrar")) << log;
}

TEST_F(UnpackDialogTest, TheItemShareCountsThreeQuartersAndAnswersTheCancel)
{
    struct CRecord
    {
        static void OnProgress(UINT events, CProgressInfo* info)
        {
            *static_cast<UINT*>(info->userData) |= events;
        }
    };
    UINT events = 0;
    CProgressInfo progress;
    progress.userData = &events;
    progress.progressCallback = &CRecord::OnProgress;
    EXPECT_FALSE(CUnpackDlg::OnItemPercent(40, 0, &progress));
    EXPECT_EQ(30, progress.currentAmount);
    EXPECT_EQ(static_cast<UINT>(PROGRESS_DONE), events);
    progress.cancelFlag = 1;
    EXPECT_TRUE(CUnpackDlg::OnItemPercent(100, 0, &progress));
    EXPECT_EQ(75, progress.currentAmount);
}

TEST_F(UnpackDialogTest, TheBusyFlagIsTakenOnlyUnderItsMutex)
{
    HANDLE saved = g_UnpackMutex;
    g_UnpackMutex = CreateMutexW(nullptr, TRUE, nullptr);
    struct CTaker
    {
        static DWORD WINAPI Run(LPVOID) { return static_cast<DWORD>(TryTakeUnpackBusy()); }
    };
    HANDLE thread = CreateThread(nullptr, 0, &CTaker::Run, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(thread, 200));
    ReleaseMutex(g_UnpackMutex);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    DWORD taken = 0;
    GetExitCodeThread(thread, &taken);
    CloseHandle(thread);
    EXPECT_EQ(1u, taken);
    EXPECT_EQ(1, IsUnpackBusy());
    ReleaseUnpackBusy();
    EXPECT_EQ(0, IsUnpackBusy());
    CloseHandle(g_UnpackMutex);
    g_UnpackMutex = saved;
}
