// The delete dialog: what it shows, its worker's run from OK to the end of the
// dialog, Cancel before OK, and the archive listing's modal form.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "archivefront/ArchiveFront.h"
#include "fileops/delete/DeleteDlg.h"
#include "filer/FilerPane.h"
#include "res/DeleteDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/fileops/FileOpsTestData.h"

#include <memory>

using fileopstest::DiskEntry;
using fileopstest::Exists;
using fileopstest::MakeTree;

namespace
{

std::wstring ControlText(HWND dialog, int id)
{
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

class DeleteDialogTest : public qvtest::ScratchFolderTest
{
protected:
    std::unique_ptr<CDeleteDlg> Open(const std::vector<std::wstring>& names)
    {
        auto dialog = std::make_unique<CDeleteDlg>();
        dialog->m_selection.m_directory = dir.c_str();
        for (const auto& name : names)
            dialog->m_selection.m_entries.AddEntry(DiskEntry(dir, name));
        dialog->m_paneIndex = -1;
        EXPECT_TRUE(dialog->Create(IDD_DELETE));
        return dialog;
    }
};

class CDrivenDeleteDlg : public qvtest::CDrivenDialog<CDrivenDeleteDlg, CDeleteDlg>
{
};

} // namespace

TEST_F(DeleteDialogTest, ShowsOneNameOrTagFiles)
{
    MakeTree(dir, {L"a.txt", L"b.txt"});
    auto one = Open({L"a.txt"});
    EXPECT_EQ(L"a.txt", ControlText(one->m_hWnd, IDC_DELETE_NAME));
    one->DestroyWindow();
    auto two = Open({L"a.txt", L"b.txt"});
    EXPECT_EQ(L"タグファイル", ControlText(two->m_hWnd, IDC_DELETE_NAME));
    two->DestroyWindow();
}

TEST_F(DeleteDialogTest, OkRunsTheWorkerStoresTheOptionsAndEndsTheDialog)
{
    MakeTree(dir, {L"t\\", L"t\\a.txt", L"b.txt"});
    const int savedWarn = g_DELETEASKNOTENMPTY;
    auto dialog = Open({L"t", L"b.txt"});
    ::CheckDlgButton(dialog->m_hWnd, IDC_DELETE_WARN_NOT_EMPTY, BST_CHECKED);
    CDialogAnswerScript script;
    script.Add(IDYES);
    ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(L"中止", ControlText(dialog->m_hWnd, IDCANCEL));
    EXPECT_TRUE(qvtest::PumpUntil([&] { return dialog->m_bWorkerDone != 0; }));
    EXPECT_EQ(nullptr, dialog->m_hWnd);
    EXPECT_EQ(1, g_DELETEASKNOTENMPTY);
    EXPECT_FALSE(Exists(P(L"t")));
    EXPECT_FALSE(Exists(P(L"b.txt")));
    EXPECT_EQ(1u, script.GetQuestions().size());
    g_DELETEASKNOTENMPTY = savedWarn;
}

TEST_F(DeleteDialogTest, CancelBeforeOkFinishesAtOnceAndDeletesNothing)
{
    MakeTree(dir, {L"a.txt"});
    auto dialog = Open({L"a.txt"});
    ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(1, dialog->m_bWorkerDone);
    EXPECT_TRUE(Exists(P(L"a.txt")));
}

TEST_F(DeleteDialogTest, ArchiveListingDisablesOptionsAndEndsModally)
{
    CFilerPane pane(0);
    CArchiveFront front;
    IPaneArchive* savedArchive = pane.m_archive;
    pane.m_archive = &front;
    pane.m_mode = PANE_MODE_ARCHIVE;
    CFilerPane* saved = g_Panes[0];
    g_Panes[0] = &pane;
    CDrivenDeleteDlg dialog;
    dialog.m_paneIndex = 0;
    dialog.m_paneMode = PANE_MODE_ARCHIVE;
    WIN32_FIND_DATAW data = {};
    wcscpy_s(data.cFileName, L"member.txt");
    dialog.m_selection.m_entries.AddArchiveEntry(&front, L"", data, 0);
    bool disabled = false;
    dialog.drive = [&](CDrivenDeleteDlg& d) {
        disabled = !::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_DELETE_TO_RECYCLE_BIN)) &&
                   !::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_DELETE_KEEP_DIRECTORIES));
        d.Command(IDOK);
    };
    CDialogAnswerScript script;
    EXPECT_EQ(1, dialog.DoModal());
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(script.GetQuestions().empty());
    g_Panes[0] = saved;
    pane.m_archive = savedArchive;
}

// The other pane stands below the chosen directory with its change watch open: OK first
// closes the watch and lists the folder that holds the directory in that pane, and the
// whole directory goes.
TEST_F(DeleteDialogTest, OtherPaneInsideTheDirectoryClimbsOutAndTheDirectoryGoes)
{
    MakeTree(dir, {L"t\\", L"t\\a.txt", L"t\\s\\", L"t\\s\\b.txt"});
    CFilerPane other(1);
    other.SetMode(PANE_POS_OTHER, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    other.ChangeDirectory(P(L"t\\s").c_str(), 0, FALSE, FALSE);
    ASSERT_NE(INVALID_HANDLE_VALUE, other.m_hChange);
    CFilerPane* saved = g_Panes[1];
    g_Panes[1] = &other;
    auto dialog = Open({L"t"});
    CDialogAnswerScript script;
    ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(qvtest::PumpUntil([&] { return dialog->m_bWorkerDone != 0; }));
    g_Panes[1] = saved;
    EXPECT_FALSE(Exists(P(L"t")));
    EXPECT_EQ(CString(dir.c_str()), other.m_currentDir);
    EXPECT_EQ(CString(dir.c_str()), other.m_lastListedDir);
    EXPECT_TRUE(script.GetQuestions().empty());
}

// The members to delete come from what the pane has chosen: a marked folder takes
// every member below it, a marked file itself, and the rest stays.
TEST_F(DeleteDialogTest, ArchiveMembersChosenInThePaneAreDeleted)
{
    const std::wstring path = dir + L"\\paths.zip";
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\archivefrontfixtures\\paths.zip").c_str(), path.c_str(),
                          FALSE));
    CFilerPane pane(0);
    delete pane.m_archive;
    auto* front = new CArchiveFront;
    pane.m_archive = front;
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.m_currentDir = dir.c_str();
    pane.ReadDirectory(TRUE);
    pane.SortEntries();
    pane.SetCursorToName(L"paths.zip", FALSE, 0);
    ASSERT_EQ(1, pane.OpenArchiveListing(FALSE));
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        if (std::wstring(pane.m_entries[i].GetName()) == L"a")
            pane.SetEntryMark(i, 1);
    ASSERT_EQ(1, pane.m_markedCount);
    CFilerPane* saved = g_Panes[0];
    g_Panes[0] = &pane;
    CDrivenDeleteDlg dialog;
    dialog.m_paneIndex = 0;
    dialog.m_paneMode = PANE_MODE_ARCHIVE;
    dialog.drive = [](CDrivenDeleteDlg& d) { d.Command(IDOK); };
    {
        CDialogAnswerScript script;
        EXPECT_EQ(1, dialog.DoModal());
        EXPECT_TRUE(script.GetQuestions().empty());
    }
    g_Panes[0] = saved;
    front->Close();

    CArchiveFront reread;
    ASSERT_EQ(1, reread.OpenAndList(path.c_str(), 0));
    std::vector<std::wstring> members;
    for (int i = 0; i < reread.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* member = nullptr;
        ASSERT_EQ(1, reread.GetEntry(&member, i));
        members.push_back(qvtest::W(member->m_storedPath));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"top.txt"}), members);
    reread.Close();
}
