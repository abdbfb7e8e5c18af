// The launcher opened for real over lists of its own: the key box, the keys that
// choose an entry, and the edits that keep the four lists of equal length.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialogs/DialogAnswerScript.h"
#include "res/LauncherDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tools/launcher/LancherDlg.h"

namespace
{

class DrivenLancherDlg : public qvtest::CDrivenDialog<DrivenLancherDlg, CLancherDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

struct Lists
{
    Lists(std::vector<std::vector<LPCWSTR>> rows)
    {
        for (const auto& row : rows)
        {
            exe.Add(row[0]);
            par.Add(row[1]);
            key.Add(row[2]);
            dir.Add(row[3]);
        }
    }
    std::vector<std::wstring> Row(int i) const
    {
        return {std::wstring(exe[i]), std::wstring(par[i]), std::wstring(key[i]), std::wstring(dir[i])};
    }
    CStringArray exe, par, key, dir;
};

int KeyBox(HWND dialog)
{
    return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_LANCHER_KEY, CB_GETCURSEL, 0, 0));
}

int RowCount(HWND dialog)
{
    return ListView_GetItemCount(::GetDlgItem(dialog, IDC_LANCHER_LIST));
}

std::wstring Cell(HWND dialog, int row, int column)
{
    wchar_t text[256] = {};
    ListView_GetItemText(::GetDlgItem(dialog, IDC_LANCHER_LIST), row, column, text, 256);
    return text;
}

TEST(Launcher, KeysCycleThroughSharedEntriesAndRunAnEntryOfItsOwn)
{
    Lists lists({{L"C:\\a\\one.exe", L"", L"A", L""},
                 {L"C:\\b\\two.exe", L"%m", L"NOSUCH", L""},
                 {L"C:\\c\\three.exe", L"", L"A", L"C:\\c"},
                 {L"C:\\d\\four.exe", L"", L"B", L""}});
    DrivenLancherDlg dialog(lists.exe, lists.par, lists.key, lists.dir);
    std::vector<int> selections;
    int keyAtStart = -1, keyOfUnknown = -1, rows = 0;
    BOOL unboundConsumed = TRUE;
    std::wstring name, keyCell;
    dialog.drive = [&](DrivenLancherDlg& d) {
        rows = RowCount(d.m_hWnd);
        name = Cell(d.m_hWnd, 0, 0);
        keyCell = Cell(d.m_hWnd, 1, 3);
        keyAtStart = KeyBox(d.m_hWnd);
        d.SelectRow(1);
        keyOfUnknown = KeyBox(d.m_hWnd);
        unboundConsumed = d.ChooseByKey('C');
        for (int press = 0; press < 3; ++press)
        {
            d.ChooseByKey('A');
            selections.push_back(d.GetSelectedRow());
        }
        d.ChooseByKey('B');
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(4, rows);
    EXPECT_EQ(L"one.exe", name);
    EXPECT_EQ(L"NOSUCH", keyCell) << "the key column shows once any entry has a key";
    EXPECT_EQ(0, keyAtStart) << "row 0's key A is the key table's first row";
    EXPECT_EQ(89, keyOfUnknown) << "an unknown key name shows as 無し";
    EXPECT_FALSE(unboundConsumed);
    EXPECT_EQ((std::vector<int>{2, 0, 2}), selections) << "shared keys only move the selection";
    EXPECT_EQ(3, dialog.m_result) << "a key of one entry runs it at once";
}

TEST(Launcher, EditsKeepTheListsTogether)
{
    Lists lists({{L"C:\\a\\one.exe", L"1", L"", L"D1"}, {L"C:\\b\\two.exe", L"2", L"", L"D2"}});
    DrivenLancherDlg dialog(lists.exe, lists.par, lists.key, lists.dir);
    std::wstring header3;
    int afterDelete = -2, rowsAfterAdd = 0, selectedAfterAdd = -1;
    dialog.drive = [&](DrivenLancherDlg& d) {
        d.SelectRow(0);
        d.Command(IDC_LANCHER_DOWN);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_LANCHER_KEY, CB_SETCURSEL, 1, 0); // "B"
        d.Command(IDC_LANCHER_ASSIGN_KEY);
        header3 = Cell(d.m_hWnd, 1, 3);
        {
            CDialogAnswerScript script;
            script.Add(IDOK, L"C:\\e\\new.exe\n%f\nC:\\e");
            d.Command(IDC_LANCHER_ADD);
        }
        rowsAfterAdd = RowCount(d.m_hWnd);
        selectedAfterAdd = d.GetSelectedRow();
        d.Command(IDC_LANCHER_DELETE); // the new last row
        afterDelete = d.GetSelectedRow();
        d.EndDialog(IDCANCEL);
    };
    ASSERT_EQ(IDCANCEL, dialog.DoModal());
    ASSERT_EQ(2, lists.exe.GetSize());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\b\\two.exe", L"2", L"", L"D2"}), lists.Row(0));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a\\one.exe", L"1", L"B", L"D1"}), lists.Row(1));
    EXPECT_EQ(L"B", header3);
    EXPECT_EQ(3, rowsAfterAdd);
    EXPECT_EQ(2, selectedAfterAdd);
    EXPECT_EQ(1, afterDelete) << "deleting the last row selects the new last row";
    EXPECT_EQ(-1, dialog.m_result) << "Cancel runs nothing";
}

TEST(Launcher, DeletingTheOnlyEntryLeavesNothingToRun)
{
    Lists lists({{L"C:\\a\\one.exe", L"", L"", L""}});
    DrivenLancherDlg dialog(lists.exe, lists.par, lists.key, lists.dir);
    size_t questions = 0;
    CString message;
    dialog.drive = [&](DrivenLancherDlg& d) {
        d.Command(IDC_LANCHER_DELETE);
        CDialogAnswerScript script;
        script.Add(IDOK);
        d.Command(IDOK);
        questions = script.GetQuestions().size();
        if (questions)
            message = script.GetQuestions()[0].text;
        d.EndDialog(IDCANCEL);
    };
    ASSERT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(0, lists.exe.GetSize());
    EXPECT_EQ(0, lists.key.GetSize());
    ASSERT_EQ(1u, questions);
    EXPECT_EQ(CString(L"実行ファイルが選択されていません"), message);
}

TEST(Launcher, TheEntryEditorRefusesAnEmptyProgram)
{
    class DrivenEdit : public qvtest::CDrivenDialog<DrivenEdit, CEditLancherDlg>
    {
    };
    DrivenEdit dialog;
    dialog.m_exe = L"C:\\x.exe";
    CString message;
    bool stayed = false;
    dialog.drive = [&](DrivenEdit& d) {
        ::SetDlgItemTextW(d.m_hWnd, IDC_LANCHER_EDIT_EXE, L"");
        {
            CDialogAnswerScript script;
            script.Add(IDOK);
            d.Command(IDOK);
            if (!script.GetQuestions().empty())
                message = script.GetQuestions()[0].text;
        }
        stayed = ::IsWindowVisible(d.m_hWnd) != FALSE;
        ::SetDlgItemTextW(d.m_hWnd, IDC_LANCHER_EDIT_EXE, L"C:\\y.exe");
        ::SetDlgItemTextW(d.m_hWnd, IDC_LANCHER_EDIT_DIR, L"C:\\w");
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"実行ファイル名が入力されていません"), message);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(CString(L"C:\\y.exe"), dialog.m_exe);
    EXPECT_EQ(CString(L"C:\\w"), dialog.m_exeDir);
}

} // namespace
