// The extra search conditions: the unit a size pair opens in, the date presets, and
// what OK accepts and refuses.
#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/find/FindOptionDlg.h"
#include "res/FindDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/fileops/FileopsTestHelpers.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

const LONGLONG kPeta = 1000000000000000LL;

TEST(FindOptions, SizesOpenInTheLargestUnitThatDividesBoth)
{
    struct Case
    {
        LONGLONG minimum, maximum, unit;
    } cases[] = {
        {1500, kPeta, 1}, {0, kPeta, 1000000}, {2000, kPeta, 1000}, {3000000, 5000000, 1000000}, {0, 999, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseSizeUnit(c.minimum, c.maximum), c.unit) << c.minimum << " " << c.maximum;
}

TEST(FindOptions, DatePresetsShiftByFixedDaysAndNeverBefore1980)
{
    SYSTEMTIME today = {};
    today.wYear = 2026;
    today.wMonth = 12;
    today.wDay = 10;
    struct Case
    {
        LPCWSTR text;
        int preset;
        LPCWSTR expected; // null: refused, the field stays
    } cases[] = {
        {L"2024/03/31", DATE_PRESET_MONTH_BACK, L"2024/02/29"},
        {L"2024/03/31", DATE_PRESET_MONTH_FORWARD, L"2024/05/01"},
        {L"20240229", DATE_PRESET_YEAR_FORWARD, L"2025/02/28"},
        {L"2000/01/01", DATE_PRESET_DAY_BACK, L"1999/12/31"},
        {L"1999/12/31", DATE_PRESET_DAY_FORWARD, L"2000/01/01"},
        {L"1980/01/10", DATE_PRESET_MONTH_BACK, nullptr},
        {L"1980/06/01", DATE_PRESET_YEAR_BACK, nullptr},
        {L"not a date", DATE_PRESET_DAY_BACK, nullptr},
        {L"not a date", DATE_PRESET_TODAY, L"2026/12/10"},
    };
    for (const Case& c : cases)
    {
        CString out = L"untouched";
        EXPECT_EQ(ApplyDatePreset(c.text, c.preset, today, out), c.expected != nullptr) << c.text;
        EXPECT_EQ(std::wstring(out), std::wstring(c.expected ? c.expected : L"untouched")) << c.text;
    }
}

FindOptionInput ValidInput()
{
    FindOptionInput input;
    for (auto& range : input.ranges)
    {
        range.enabled = FALSE;
        range.fromDate = L"2020/01/01";
        range.fromTime = L"00:00:00";
        range.toDate = L"2020/12/31";
        range.toTime = L"23:59:59";
    }
    input.attributeMask = 0x37;
    input.noAttribute = TRUE;
    input.minimum = L"0";
    input.maximum = L"1000";
    input.unit = 1;
    return input;
}

TEST(FindOptions, OkRefusesWhatDoesNotHoldWithThePartsOwnWords)
{
    struct Case
    {
        std::function<void(FindOptionInput&)> change;
        LPCWSTR message; // null: accepted
    } cases[] = {
        {[](FindOptionInput&) {}, nullptr},
        {[](FindOptionInput& in) { in.ranges[0].fromDate = L"junk"; }, nullptr}, // disabled: not read
        {[](FindOptionInput& in) {
             in.ranges[0].enabled = TRUE;
             in.ranges[0].toDate = L"2020/13/01";
         },
         L"作成日の日付が異常です"},
        {[](FindOptionInput& in) {
             in.ranges[1].enabled = TRUE;
             in.ranges[1].fromTime = L"25:00:00";
         },
         L"アクセス日の時間が異常です"},
        {[](FindOptionInput& in) {
             in.ranges[2].enabled = TRUE;
             in.ranges[2].toTime = L"x";
         },
         L"更新日の時間が異常です"},
        {[](FindOptionInput& in) {
             in.attributeMask = 0;
             in.noAttribute = FALSE;
         },
         L"属性の情報が有りません"},
        {[](FindOptionInput& in) { in.minimum = L"2000"; }, L"サイズのデータが不正です"},
        {[](FindOptionInput& in) { in.minimum = L"-1"; }, L"サイズのデータが不正です"},
        {[](FindOptionInput& in) { in.maximum = L"12a"; }, L"サイズのデータが不正です"},
        {[](FindOptionInput& in) {
             in.maximum = L"9300000000000"; // times a million passes 2^63
             in.unit = 1000000;
         },
         L"サイズの値が大きすぎます"},
        {[](FindOptionInput& in) { in.maximum = L"99999999999999999999"; }, L"サイズの値が大きすぎます"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        FindOptionInput input = ValidInput();
        cases[i].change(input);
        FindCondition condition;
        InitFindCondition(condition);
        CString message;
        EXPECT_EQ(ReadFindOptions(input, condition, message), cases[i].message == nullptr) << i;
        EXPECT_EQ(std::wstring(message), std::wstring(cases[i].message ? cases[i].message : L"")) << i;
    }
}

TEST(FindOptions, OkStoresRangesAsUtcAndSizesTimesTheDecimalUnit)
{
    FindOptionInput input = ValidInput();
    input.ranges[2].enabled = TRUE;
    input.ranges[2].fromDate = L"2021/02/03";
    input.ranges[2].fromTime = L"04:05:06";
    input.minimum = L"2";
    input.maximum = L"9223372036854";
    input.unit = 1000000;
    FindCondition condition;
    InitFindCondition(condition);
    CString message;
    ASSERT_TRUE(ReadFindOptions(input, condition, message));
    const FILETIME expected = fileopstest::LocalFileTime(2021, 2, 3, 4, 5, 6);
    EXPECT_EQ(CompareFileTime(&condition.updateFrom, &expected), 0);
    EXPECT_EQ(condition.updateEnabled, 1);
    EXPECT_EQ(condition.creationEnabled, 0);
    EXPECT_EQ(condition.sizeMinimum, 2000000);
    EXPECT_EQ(condition.sizeMaximum, 9223372036854000000LL);
}

class DrivenFindOptionDlg : public qvtest::CDrivenDialog<DrivenFindOptionDlg, CFindOptionDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
    std::wstring Text(int id) const
    {
        wchar_t buffer[256] = L"";
        ::GetDlgItemTextW(m_hWnd, id, buffer, 256);
        return buffer;
    }
};

TEST(FindOptionDialog, OpensInTheChosenUnitAndKeepsItselfOpenOnARefusal)
{
    struct Case
    {
        LONGLONG minimum;
        std::wstring shownMinimum, shownMaximum, label;
    } cases[] = {
        {1500, L"1500", L"1000000000000000", L"Byteから"},
        {0, L"0", L"1000000000", L"MByteから"},
    };
    for (const Case& c : cases)
    {
        DrivenFindOptionDlg dialog;
        dialog.m_condition.sizeMinimum = c.minimum;
        std::wstring minimum, maximum, label;
        dialog.drive = [&](DrivenFindOptionDlg& d) {
            minimum = d.Text(IDC_OPT_SIZE_MIN);
            maximum = d.Text(IDC_OPT_SIZE_MAX);
            label = d.Text(IDC_OPT_SIZE_MIN_LABEL);
            d.Command(IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(minimum, c.shownMinimum);
        EXPECT_EQ(maximum, c.shownMaximum);
        EXPECT_EQ(label, c.label);
    }

    DrivenFindOptionDlg dialog;
    CDialogAnswerScript script;
    script.Add(IDOK);
    dialog.drive = [](DrivenFindOptionDlg& d) {
        ::SetDlgItemTextW(d.m_hWnd, IDC_OPT_SIZE_MIN, L"5");
        ::SetDlgItemTextW(d.m_hWnd, IDC_OPT_SIZE_MAX, L"4");
        d.Command(IDOK); // refused: the dialog stays
        ::SetDlgItemTextW(d.m_hWnd, IDC_OPT_SIZE_MAX, L"6");
        // The unit switches to KByte.
        ::SendDlgItemMessageW(d.m_hWnd, IDC_OPT_SIZE_UNIT, CB_SETCURSEL, 1, 0);
        d.Command(IDC_OPT_SIZE_UNIT, CBN_SELCHANGE);
        d.Command(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(std::wstring(script.GetQuestions()[0].text), L"サイズのデータが不正です");
    EXPECT_EQ(dialog.m_condition.sizeMinimum, 5000);
    EXPECT_EQ(dialog.m_condition.sizeMaximum, 6000);
}

} // namespace
