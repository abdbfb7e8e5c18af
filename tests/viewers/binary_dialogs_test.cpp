// The binary editor's dialogs opened for real: fields in and out, the controls a mode
// disables, the settings sliders' range, and the replace question's four answers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "res/BinaryDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "viewers/binary/BinaryEditorDialogs.h"

using qvtest::W;

namespace
{

class DrivenSearchDlg : public qvtest::CDrivenDialog<DrivenSearchDlg, CBinarySearchDlg>
{
};
class DrivenInputDlg : public qvtest::CDrivenDialog<DrivenInputDlg, CBinaryDataInputDlg>
{
};
class DrivenConfigDlg : public qvtest::CDrivenDialog<DrivenConfigDlg, CBinaryEditConfigDlg>
{
};
class DrivenAskDlg : public qvtest::CDrivenDialog<DrivenAskDlg, CAskChangedDataDlg>
{
};
class DrivenRangeDlg : public qvtest::CDrivenDialog<DrivenRangeDlg, CSelectRangeDlg>
{
};
class DrivenCmpDlg : public qvtest::CDrivenDialog<DrivenCmpDlg, CBinaryCmpDlg>
{
};
class DrivenColorDlg : public qvtest::CDrivenDialog<DrivenColorDlg, CBinaryColorDlg>
{
public:
    using qvtest::CDrivenDialog<DrivenColorDlg, CBinaryColorDlg>::CDrivenDialog;
};

bool Enabled(CWnd& dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog.GetSafeHwnd(), id)) != FALSE;
}

bool Checked(CWnd& dialog, int id)
{
    return ::IsDlgButtonChecked(dialog.GetSafeHwnd(), id) == BST_CHECKED;
}

TEST(BinaryDialogs, SearchFieldsGoInAndOut)
{
    const int modes[] = {0, 1};
    for (int searchOnly : modes)
    {
        DrivenSearchDlg dlg;
        dlg.m_searchOnly = searchOnly;
        dlg.m_kind = 2;
        dlg.m_direction = 1;
        dlg.m_start = 0;
        dlg.m_searchValue = L"41";
        bool replacementEnabled = false, kindShown = false, upShown = false;
        dlg.drive = [&](DrivenSearchDlg& d) {
            replacementEnabled = Enabled(d, IDC_BIN_REPLACEMENT);
            kindShown = Checked(d, IDC_BIN_KIND_CHAR);
            upShown = Checked(d, IDC_BIN_UP);
            d.SetDlgItemText(IDC_BIN_SEARCH_VALUE, L"ABC");
            d.SetDlgItemText(IDC_BIN_REPLACEMENT, L"xyz");
            ::CheckDlgButton(d.GetSafeHwnd(), IDC_BIN_KIND_SHORT, BST_CHECKED);
            ::CheckDlgButton(d.GetSafeHwnd(), IDC_BIN_KIND_CHAR, BST_UNCHECKED);
            ::CheckDlgButton(d.GetSafeHwnd(), IDC_BIN_SIGNED, BST_CHECKED);
            d.Command(IDOK);
        };
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(replacementEnabled, !searchOnly);
        EXPECT_TRUE(kindShown);
        EXPECT_TRUE(upShown);
        EXPECT_EQ(W(dlg.m_searchValue), L"ABC");
        EXPECT_EQ(W(dlg.m_replacement), L"xyz");
        EXPECT_EQ(dlg.m_kind, 3);
        EXPECT_EQ(dlg.m_signed, 1);
        EXPECT_EQ(dlg.m_direction, 1);
        EXPECT_EQ(dlg.m_start, 0);
    }
}

TEST(BinaryDialogs, InputInSingleModeDisablesTheCountAndTheModes)
{
    const int modes[] = {0, 1};
    for (int single : modes)
    {
        DrivenInputDlg dlg;
        dlg.m_single = single;
        dlg.m_number = 12;
        dlg.m_mode = 1;
        std::vector<bool> enabled;
        dlg.drive = [&](DrivenInputDlg& d) {
            const int ids[] = {IDC_BIN_INPUT_NUMBER, IDC_BIN_BY_COUNT, IDC_BIN_BY_END, IDC_BIN_BY_SELECTION};
            for (int id : ids)
                enabled.push_back(Enabled(d, id));
            d.SetDlgItemText(IDC_BIN_INPUT_VALUE, L"FF");
            d.Command(IDOK);
        };
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(enabled, std::vector<bool>(4, !single));
        EXPECT_EQ(W(dlg.m_value), L"FF");
        EXPECT_EQ(dlg.m_number, 12);
        EXPECT_EQ(dlg.m_mode, 1);
    }
}

TEST(BinaryDialogs, ConfigSlidersStayWithinTheirRange)
{
    DrivenConfigDlg dlg;
    dlg.m_scrollSpeed = 12;
    dlg.m_blinkSpeed = 3;
    dlg.m_scrollLines = 4;
    int shown = 0;
    dlg.drive = [&](DrivenConfigDlg& d) {
        shown = (int)::SendDlgItemMessageW(d.GetSafeHwnd(), IDC_BIN_SCROLL_SPEED, TBM_GETPOS, 0, 0);
        d.Command(IDOK);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, 10);
    EXPECT_EQ(dlg.m_scrollSpeed, 10);
    EXPECT_EQ(dlg.m_blinkSpeed, 3);
    EXPECT_EQ(dlg.m_scrollLines, 4u);
}

TEST(BinaryDialogs, ReplaceQuestionEndsWithTheChosenButton)
{
    const int buttons[] = {IDOK, IDCANCEL, IDC_BIN_REPLACE_ALL, IDC_BIN_STOP};
    for (int button : buttons)
    {
        DrivenAskDlg dlg;
        dlg.drive = [&](DrivenAskDlg& d) { d.Command(button); };
        EXPECT_EQ(dlg.DoModal(), button);
    }
    CDialogAnswerScript script;
    script.Add(IDC_BIN_STOP);
    CAskChangedDataDlg asked;
    EXPECT_EQ(asked.DoModal(), IDC_BIN_STOP);
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(W(script.GetQuestions()[0].caption), L"データを変換しますか");
}

TEST(BinaryDialogs, RangeAndCompareFieldsGoInAndOut)
{
    DrivenRangeDlg range;
    range.m_notation = 1;
    range.drive = [&](DrivenRangeDlg& d) {
        d.SetDlgItemText(IDC_RANGE_START, L"5");
        d.SetDlgItemText(IDC_RANGE_END, L"2");
        d.Command(IDOK);
    };
    ASSERT_EQ(range.DoModal(), IDOK);
    EXPECT_EQ(range.m_notation, 1);
    EXPECT_EQ(W(range.m_start), L"5");
    EXPECT_EQ(W(range.m_end), L"2");

    DrivenCmpDlg cmp;
    cmp.m_editFile = L"C:\\a.bin";
    cmp.m_kind = 4;
    cmp.m_direction = 0;
    cmp.m_start = 1;
    cmp.drive = [&](DrivenCmpDlg& d) {
        d.SetDlgItemText(IDC_BIN_COMPARE_FILE, L"C:\\b.bin");
        ::CheckDlgButton(d.GetSafeHwnd(), IDC_BIN_DIFFER, BST_CHECKED);
        d.SetDlgItemText(IDC_BIN_DIFFERENCE, L"-1");
        d.Command(IDOK);
    };
    ASSERT_EQ(cmp.DoModal(), IDOK);
    EXPECT_EQ(W(cmp.m_compareFile), L"C:\\b.bin");
    EXPECT_EQ(W(cmp.m_editFile), L"C:\\a.bin");
    EXPECT_EQ(cmp.m_differ, 1);
    EXPECT_EQ(W(cmp.m_difference), L"-1");
    EXPECT_EQ(cmp.m_kind, 4);
    EXPECT_EQ(cmp.m_start, 1);
}

} // namespace

TEST(BinaryDialogs, ColourGoesToEverySelectedByteValueAndOnlyOkKeepsIt)
{
    for (int ok : {1, 0})
    {
        DWORD colors[256];
        for (DWORD& c : colors)
            c = RGB(9, 9, 9);
        int useColors = 0;
        DrivenColorDlg dlg(colors, &useColors);
        std::vector<std::wstring> lines;
        DWORD working[3] = {};
        dlg.drive = [&](DrivenColorDlg& d) {
            lines = d.ListBoxLines(IDC_BIN_COLOR_LIST);
            HWND list = ::GetDlgItem(d.GetSafeHwnd(), IDC_BIN_COLOR_LIST);
            ::SendMessageW(list, LB_SETSEL, TRUE, 3);
            ::SendMessageW(list, LB_SETSEL, TRUE, 5);
            d.ApplyColorToSelection(RGB(1, 2, 3));
            working[0] = d.GetWorkingColor(3);
            working[1] = d.GetWorkingColor(4);
            working[2] = d.GetWorkingColor(5);
            ::CheckDlgButton(d.GetSafeHwnd(), IDC_BIN_COLOR_USE, BST_CHECKED);
            d.Command(ok ? IDOK : IDCANCEL);
        };
        dlg.DoModal();
        ASSERT_EQ(lines.size(), 256u);
        EXPECT_EQ(lines[0], L"00");
        EXPECT_EQ(lines[255], L"ff");
        EXPECT_EQ(working[0], RGB(1, 2, 3));
        EXPECT_EQ(working[1], RGB(9, 9, 9)) << "a value not selected keeps its colour";
        EXPECT_EQ(working[2], RGB(1, 2, 3));
        EXPECT_EQ(colors[3], ok ? RGB(1, 2, 3) : RGB(9, 9, 9)) << ok;
        EXPECT_EQ(colors[4], RGB(9, 9, 9));
        EXPECT_EQ(useColors, ok) << ok;
    }
}
