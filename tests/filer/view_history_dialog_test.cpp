// The view-history dialog: the records in list order and the chosen one.
#include "filer/dialogs/ViewHistoryDlg.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace
{
class DrivenViewHistoryDlg : public qvtest::CDrivenDialog<DrivenViewHistoryDlg, CViewHistoryDlg>
{
};

class ViewHistoryDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { m_saved.Copy(g_ViewHistory); }
    void TearDown() override { g_ViewHistory.Copy(m_saved); }
    CArrayViewFile m_saved;
};
} // namespace

TEST_F(ViewHistoryDialogTest, ListsTheRecordsAndReturnsTheChosenOne)
{
    g_ViewHistory.RemoveAll();
    g_ViewHistory.AddPath(L"C:\\d\\old.txt");
    g_ViewHistory.AddPath(L"sub\\m.jpg", L"C:\\x.zip");
    DrivenViewHistoryDlg dialog;
    dialog.drive = [](DrivenViewHistoryDlg& dlg) {
        HWND list = ::GetDlgItem(dlg.m_hWnd, IDC_VIEW_HISTORY_LIST);
        ASSERT_EQ(2, ListView_GetItemCount(list));
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(list, 0, 2, text, MAX_PATH);
        EXPECT_STREQ(L"C:\\x.zip", text);
        EXPECT_EQ(0, ListView_GetNextItem(list, -1, LVNI_SELECTED));
        ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetItemState(list, 0, 0, LVIS_SELECTED);
        dlg.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ(L"old.txt", dialog.m_result.m_name);
    EXPECT_STREQ(L"C:\\d", dialog.m_result.m_folder);
    EXPECT_TRUE(dialog.m_result.m_archive.IsEmpty());
}

TEST_F(ViewHistoryDialogTest, AnEmptyHistoryHasNothingToView)
{
    g_ViewHistory.RemoveAll();
    DrivenViewHistoryDlg dialog;
    dialog.drive = [](DrivenViewHistoryDlg& dlg) {
        EXPECT_EQ(0, ListView_GetItemCount(::GetDlgItem(dlg.m_hWnd, IDC_VIEW_HISTORY_LIST)));
        dlg.Command(IDOK);
        dlg.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}
