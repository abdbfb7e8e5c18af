// The search dialog in its two modes: the pane search starts the pane's worker and
// closes; the search window lists the finds, sorts them and hands one to the view.
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/WorkerDialog.h"
#include "app/settings/ToolSettings.h"
#include "util/Globals.h"
#include "filer/FilerPane.h"
#include "fileops/find/FindFileDlg.h"
#include "fileops/find/FindThread.h"
#include "res/FindDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestSupport.h"
#include "tests/fileops/FileopsTestHelpers.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <set>
#include <string>

using fileopstest::MakeFile;

namespace
{

class DrivenFindFileDlg : public qvtest::CDrivenDialog<DrivenFindFileDlg, CFindFileDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

std::wstring WindowText(HWND window)
{
    wchar_t buffer[512] = L"";
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

TEST(FindFileDialog, PaneSearchAddsTheAsterisksStartsThePanesWorkerAndCloses)
{
    const std::wstring dir = qvtest::ScratchDir();
    MakeFile(dir, L"xabcx.txt", "1");
    MakeFile(dir, L"sub\\abc.log", "2");
    MakeFile(dir, L"other.txt", "3");
    qvtest::ScopedProgramWiring wiring;
    CFilerPane* saved = g_Panes[0];
    CFilerPane pane(0);
    g_Panes[0] = &pane;
    const int savedAsterisk = g_FIND_DIALOG_AUTO_ADD_ASTERRISK;
    g_FIND_DIALOG_AUTO_ADD_ASTERRISK = 1;

    DrivenFindFileDlg dialog(1);
    dialog.m_baseDirectory = dir.c_str();
    dialog.m_paneIndex = 0;
    std::wstring caption;
    BOOL listShown = TRUE;
    dialog.drive = [&](DrivenFindFileDlg& d) {
        listShown = IsWindowVisible(GetDlgItem(d.m_hWnd, IDC_FIND_RESULTS));
        SetDlgItemTextW(d.m_hWnd, IDC_FIND_PATTERN, L"abc");
        d.Command(IDOK);
        caption = WindowText(d.m_hWnd);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(listShown);
    EXPECT_EQ(caption, L"ファイル検索(検索条件:*abc*.*)");
    ASSERT_NE(pane.m_findResults.m_worker, nullptr);
    EXPECT_EQ(WaitForSingleObject(pane.m_findResults.m_worker->m_hThread, 10000), WAIT_OBJECT_0);
    std::set<std::wstring> names;
    for (INT_PTR i = 0; i < pane.m_findResults.m_results.GetSize(); ++i)
        names.insert(pane.m_findResults.m_results[i].GetName());
    EXPECT_EQ(names, (std::set<std::wstring>{L"xabcx.txt", L"abc.log"}));
    pane.m_findResults.StopSearch();
    g_Panes[0] = saved;
    g_FIND_DIALOG_AUTO_ADD_ASTERRISK = savedAsterisk;
}

TEST(FindFileDialog, EmptyFieldsAreRefusedWithTheirMessages)
{
    DrivenFindFileDlg dialog(1);
    CDialogAnswerScript script;
    script.Add(IDOK);
    script.Add(IDOK);
    dialog.drive = [](DrivenFindFileDlg& d) {
        SetDlgItemTextW(d.m_hWnd, IDC_FIND_DIRECTORY, L"");
        d.Command(IDOK);
        SetDlgItemTextW(d.m_hWnd, IDC_FIND_DIRECTORY, L"C:\\");
        SetDlgItemTextW(d.m_hWnd, IDC_FIND_PATTERN, L"");
        d.Command(IDOK);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(script.GetQuestions().size(), 2u);
    EXPECT_EQ(std::wstring(script.GetQuestions()[0].text), L"検索ディレクトリ名が無効です");
    EXPECT_EQ(std::wstring(script.GetQuestions()[1].text), L"検索条件が無効です");
}

TEST(FindFileDialog, SearchWindowListsSortsAndHandsTheChosenFindToTheView)
{
    const std::wstring dir = qvtest::ScratchDir();
    MakeFile(dir, L"small.txt", "needle");
    MakeFile(dir, L"sub\\large.txt", "a longer file with the needle");
    MakeFile(dir, L"none.txt", "nothing");
    HWND view = CreateWindowW(L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND savedView = GetWorkerDoneWindow();
    SetWorkerDoneWindow(view);

    auto* dialog = new CFindFileDlg(0);
    dialog->m_baseDirectory = dir.c_str();
    ASSERT_TRUE(dialog->Create(IDD_FIND_FILE, nullptr));
    HWND window = dialog->m_hWnd;
    HWND list = GetDlgItem(window, IDC_FIND_RESULTS);
    SetDlgItemTextW(window, IDC_FIND_TEXT, L"needle");
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDOK)));
    ASSERT_TRUE(qvtest::PumpUntil([&] { return dialog->m_searchState == FIND_STATE_ENDED; }, 10000));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDOK)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_FIND_STOP)));
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);

    // A click on the size column puts the smaller file first.
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_FIND_RESULTS;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 2;
    SendMessageW(window, WM_NOTIFY, IDC_FIND_RESULTS, reinterpret_cast<LPARAM>(&click));
    LVITEMW select = {};
    select.stateMask = select.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    SendMessageW(window, WM_COMMAND, IDC_FIND_GO_TO_FILE, 0);
    EXPECT_EQ(std::wstring(dialog->m_foundName), L"large.txt");
    EXPECT_EQ(std::wstring(dialog->m_foundDirectory), dir + L"\\sub");
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, view, WM_QV_OPEN_FOUND, WM_QV_OPEN_FOUND, PM_REMOVE));
    EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(dialog));

    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PeekMessageW(&msg, view, WM_QV_RELEASE_FOUND, WM_QV_RELEASE_FOUND, PM_REMOVE));
    dialog->DestroyWindow();
    delete dialog;
    SetWorkerDoneWindow(savedView);
    DestroyWindow(view);
}

// With DEBUG8 of DEBUGDATA on, the search window logs where it is put and how the
// screen is made up; off, it logs nothing.
TEST(FindFileDialog, PlacementIsLoggedOnlyWhenDebugEightIsOn)
{
    const std::wstring dir = qvtest::ScratchDir();
    const CString savedProgramDir = g_ProgramDir;
    const int savedFlag = g_DebugFlags[8];
    g_ProgramDir = dir.c_str();
    const std::wstring logPath = dir + L"\\qv.log";
    for (int flag : {0, 1})
    {
        DeleteFileW(logPath.c_str());
        g_DebugFlags[8] = flag;
        auto* dialog = new CFindFileDlg(0);
        dialog->m_baseDirectory = dir.c_str();
        ASSERT_TRUE(dialog->Create(IDD_FIND_FILE, nullptr));
        // Off every screen: showing the window brings it back to the first monitor.
        SetWindowPos(dialog->m_hWnd, nullptr, -30000, -30000, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        dialog->ShowWindow(SW_SHOWNOACTIVATE);
        RECT placed = {};
        GetWindowRect(dialog->m_hWnd, &placed);
        dialog->DestroyWindow();
        delete dialog;
        EXPECT_GT(placed.left, -30000) << flag;
        const std::string bytes = qvtest::ReadFileBytes(logPath);
        std::wstring log(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        for (const wchar_t* line : {L"CFindFileDlg(Show=", L"SM_CXSCREEN=", L"Monitor0 : Left=",
                                    L"CFindFileDlg move to (", L"CFindFileDlg(Move to x = "})
            EXPECT_EQ(log.find(line) != std::wstring::npos, flag == 1) << flag << " " << std::wstring(line);
    }
    DeleteFileW(logPath.c_str());
    g_DebugFlags[8] = savedFlag;
    g_ProgramDir = savedProgramDir;
}

} // namespace
