// The extra conditions of a file search (dates, attributes, size), and the rules the
// dialog reads and checks them by.
#pragma once
#include <windows.h>
#include "filer/FindCondition.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

// The unit a size pair is shown in: 1,000,000 when both are whole millions, else 1
// when either is not a whole thousand, else 1000.
LONGLONG ChooseSizeUnit(LONGLONG minimum, LONGLONG maximum);

// The date presets in the order the combo box lists them.
enum
{
    DATE_PRESET_TODAY = 0,
    DATE_PRESET_DAY_BACK = 1,
    DATE_PRESET_DAY_FORWARD = 2,
    DATE_PRESET_MONTH_BACK = 3,
    DATE_PRESET_MONTH_FORWARD = 4,
    DATE_PRESET_YEAR_BACK = 5,
    DATE_PRESET_YEAR_FORWARD = 6,
};

// The date text after the preset: today's local date, or the typed date moved by 1,
// 31 or 365 days. FALSE (and `out` untouched) when the text is no date or the result
// lies before 1980.
BOOL ApplyDatePreset(LPCWSTR dateText, int preset, const SYSTEMTIME& today, CString& out);

// What the conditions dialog holds when OK is pressed.
struct FindOptionInput
{
    struct Range
    {
        BOOL enabled;
        CString fromDate, fromTime, toDate, toTime;
    };
    Range ranges[3]; // creation, last access, update
    DWORD attributeMask;
    BOOL noAttribute;
    CString minimum, maximum;
    LONGLONG unit;
};

// Reads the input into the record as OK does. FALSE with the message to show when
// something does not hold; the record may then be partly changed.
BOOL ReadFindOptions(const FindOptionInput& input, FindCondition& condition, CString& message);

class CFindOptionDlg : public CDialog
{
public:
    explicit CFindOptionDlg(CWnd* pParent = nullptr);

    FindCondition m_condition;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void EnableRange(int range);
    void ShowUnitLabels();
    LONGLONG SelectedUnit() const;
    void RunPreset();
    int m_radio = 0; // the date edit the preset acts on
};
