// The sort dialog and the wildcard dialog, driven through their controls.
#include "filer/dialogs/SortDlg.h"
#include "filer/dialogs/WildCardDlg.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"

#include <gtest/gtest.h>

namespace
{
class DrivenSortDlg : public qvtest::CDrivenDialog<DrivenSortDlg, CSortDlg>
{
};
class DrivenWildCardDlg : public qvtest::CDrivenDialog<DrivenWildCardDlg, CWildCardDlg>
{
};

CSortSetting Sort(int fileKey, int secondKey, int directoryKey, int directoryOrder, int fileOrder, int mix)
{
    return {fileKey, secondKey, 33, directoryKey, 55, 66, directoryOrder, fileOrder, mix};
}
} // namespace

TEST(SortDialog, OutOfRangeValuesOpenClampedAndOkStoresWhatIsChecked)
{
    struct Case
    {
        CSortSetting stored;
        int checkedFirstKey;
        int clickFirstKey; // 0: leave as it opened
        CSortSetting expected;
    } cases[] = {
        // A first key of 9 shows "ソートしない(&N)" and is stored as 5.
        {Sort(9, 2, 3, 4, 7, 0), IDC_SORT_NONE, 0, Sort(5, 2, 3, 1, 1, 0)},
        {Sort(1, 0, 0, 0, 1, 1), IDC_SORT_BY_TIME, IDC_SORT_BY_EXTENSION, Sort(3, 0, 0, 0, 1, 1)},
    };
    for (const Case& c : cases)
    {
        DrivenSortDlg dialog;
        dialog.m_sort = c.stored;
        dialog.drive = [&c](DrivenSortDlg& dlg) {
            EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(c.checkedFirstKey));
            CString caption;
            dlg.GetWindowText(caption);
            EXPECT_STREQ(L"ソート方法", caption);
            if (c.clickFirstKey != 0)
            {
                dlg.CheckDlgButton(c.checkedFirstKey, BST_UNCHECKED);
                dlg.CheckDlgButton(c.clickFirstKey, BST_CHECKED);
            }
            dlg.Command(IDOK);
        };
        ASSERT_EQ(IDOK, dialog.DoModal());
        for (int value = 1; value <= CSortSetting::kValueCount; ++value)
            EXPECT_EQ(c.expected.GetValue(value), dialog.m_sort.GetValue(value)) << "value " << value;
    }
}

TEST(SortDialog, TemporarySortHasItsOwnCaptionAndCancelKeepsTheOrder)
{
    DrivenSortDlg dialog;
    dialog.m_bTemporary = TRUE;
    dialog.m_sort = Sort(0, 1, 2, 0, 0, 0);
    dialog.drive = [](DrivenSortDlg& dlg) {
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_STREQ(L"仮ファイルソート", caption);
        dlg.CheckDlgButton(IDC_SORT_BY_NAME, BST_UNCHECKED);
        dlg.CheckDlgButton(IDC_SORT_BY_SIZE, BST_CHECKED);
        dlg.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(0, dialog.m_sort.m_fileKey);
}

namespace
{
INT_PTR g_conditionResult = IDCANCEL;
INT_PTR EditCondition(CWnd*, FindCondition& condition)
{
    condition.sizeMinimum = 1234;
    condition.attributeMask = 0x10;
    return g_conditionResult;
}
} // namespace

TEST(WildCardDialog, ExtraConditionsAreTakenOnlyOnOk)
{
    const WildCardHooks saved = g_WildCardHooks;
    g_WildCardHooks.editCondition = EditCondition;
    for (INT_PTR result : {IDCANCEL, IDOK})
    {
        g_conditionResult = result;
        DrivenWildCardDlg dialog;
        dialog.m_text = L"*.txt";
        dialog.m_bNotDosNames = 1;
        const FindCondition before = dialog.m_condition;
        dialog.drive = [](DrivenWildCardDlg& dlg) {
            CString text;
            dlg.GetDlgItemText(IDC_WILDCARD_TEXT, text);
            EXPECT_STREQ(L"*.txt", text);
            EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(IDC_WILDCARD_NOT_DOS_NAMES));
            dlg.Command(IDC_WILDCARD_CONDITION);
            dlg.SetDlgItemText(IDC_WILDCARD_TEXT, L"*.c *.h");
            dlg.CheckDlgButton(IDC_WILDCARD_DIRECTORIES, BST_CHECKED);
            dlg.Command(IDOK);
        };
        ASSERT_EQ(IDOK, dialog.DoModal());
        EXPECT_STREQ(L"*.c *.h", dialog.m_text);
        EXPECT_EQ(1, dialog.m_bApplyToDirectories);
        if (result == IDOK)
        {
            EXPECT_EQ(1234, dialog.m_condition.sizeMinimum);
            EXPECT_EQ(0x10u, dialog.m_condition.attributeMask);
        }
        else
        {
            EXPECT_EQ(0, memcmp(&before, &dialog.m_condition, sizeof(before)));
        }
    }
    g_WildCardHooks = saved;
}
