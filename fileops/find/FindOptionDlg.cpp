#include "fileops/find/FindOptionDlg.h"

#include "util/Formatting.h"
#include "app/dialogs/TellAndAsk.h"
#include "res/FindDialogs.h"

namespace
{

const LONGLONG kMega = 1000000;
const LONGLONG kKilo = 1000;
const ULONGLONG kTicksPerDay = 864000000000ULL;

struct RangeControls
{
    int enable, fromDate, fromTime, toDate, toTime, fromRadio, toRadio;
    LPCWSTR name;
};

// Creation, last access, update: the order of the dialog's rows and of its checks.
const RangeControls kRanges[3] = {
    {IDC_OPT_CREATION_ON, IDC_OPT_CREATION_FROM_DATE, IDC_OPT_CREATION_FROM_TIME, IDC_OPT_CREATION_TO_DATE,
     IDC_OPT_CREATION_TO_TIME, IDC_OPT_CREATION_FROM_RADIO, IDC_OPT_CREATION_TO_RADIO, L"作成日"},
    {IDC_OPT_ACCESS_ON, IDC_OPT_ACCESS_FROM_DATE, IDC_OPT_ACCESS_FROM_TIME, IDC_OPT_ACCESS_TO_DATE,
     IDC_OPT_ACCESS_TO_TIME, IDC_OPT_ACCESS_FROM_RADIO, IDC_OPT_ACCESS_TO_RADIO, L"アクセス日"},
    {IDC_OPT_UPDATE_ON, IDC_OPT_UPDATE_FROM_DATE, IDC_OPT_UPDATE_FROM_TIME, IDC_OPT_UPDATE_TO_DATE,
     IDC_OPT_UPDATE_TO_TIME, IDC_OPT_UPDATE_FROM_RADIO, IDC_OPT_UPDATE_TO_RADIO, L"更新日"},
};

const struct
{
    int id;
    DWORD bit;
} kAttributeBoxes[] = {
    {IDC_OPT_SYSTEM, FILE_ATTRIBUTE_SYSTEM},       {IDC_OPT_READONLY, FILE_ATTRIBUTE_READONLY},
    {IDC_OPT_HIDDEN, FILE_ATTRIBUTE_HIDDEN},       {IDC_OPT_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE},
    {IDC_OPT_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY},
};

const LPCWSTR kPresets[] = {L"現在の日付に",     L"１日前の日付に", L"１日後の日付に", L"１ヶ月前の日付に",
                            L"１ヶ月後の日付に", L"１年前の日付に", L"１年後の日付に"};

FILETIME* RangeFrom(FindCondition& c, int range)
{
    return range == 0 ? &c.creationFrom : range == 1 ? &c.lastAccessFrom : &c.updateFrom;
}

FILETIME* RangeTo(FindCondition& c, int range)
{
    return range == 0 ? &c.creationTo : range == 1 ? &c.lastAccessTo : &c.updateTo;
}

int* RangeEnabled(FindCondition& c, int range)
{
    return range == 0 ? &c.creationEnabled : range == 1 ? &c.lastAccessEnabled : &c.updateEnabled;
}

// A local date and time as the UTC file time the record keeps.
BOOL LocalToUtc(const SYSTEMTIME& date, const SYSTEMTIME& time, FILETIME& out)
{
    SYSTEMTIME local = {};
    local.wYear = date.wYear;
    local.wMonth = date.wMonth;
    local.wDay = date.wDay;
    local.wHour = time.wHour;
    local.wMinute = time.wMinute;
    local.wSecond = time.wSecond;
    FILETIME localTime;
    return SystemTimeToFileTime(&local, &localTime) && LocalFileTimeToFileTime(&localTime, &out);
}

// A signed decimal number; FALSE for anything else, `overflow` when it does not fit.
BOOL ParseSigned64(LPCWSTR text, LONGLONG& value, BOOL& overflow)
{
    overflow = FALSE;
    while (*text == L' ')
        ++text;
    BOOL negative = FALSE;
    if (*text == L'-' || *text == L'+')
        negative = *text++ == L'-';
    if (*text < L'0' || *text > L'9')
        return FALSE;
    ULONGLONG magnitude = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text)
    {
        const ULONGLONG digit = *text - L'0';
        if (magnitude > (0x7FFFFFFFFFFFFFFFULL - digit) / 10)
            overflow = TRUE;
        else
            magnitude = magnitude * 10 + digit;
    }
    while (*text == L' ')
        ++text;
    if (*text)
        return FALSE;
    value = negative ? -static_cast<LONGLONG>(magnitude) : static_cast<LONGLONG>(magnitude);
    return TRUE;
}

void FormatLocal(const FILETIME& utc, CString& date, CString& time)
{
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    date.Format(L"%04d/%02d/%02d", st.wYear, st.wMonth, st.wDay);
    time.Format(L"%02d:%02d:%02d", st.wHour, st.wMinute, st.wSecond);
}

} // namespace

LONGLONG ChooseSizeUnit(LONGLONG minimum, LONGLONG maximum)
{
    if (minimum % kMega == 0 && maximum % kMega == 0)
        return kMega;
    if (minimum % kKilo != 0 || maximum % kKilo != 0)
        return 1;
    return kKilo;
}

BOOL ApplyDatePreset(LPCWSTR dateText, int preset, const SYSTEMTIME& today, CString& out)
{
    SYSTEMTIME date = today;
    if (preset != DATE_PRESET_TODAY)
    {
        SYSTEMTIME typed = {};
        if (!ParseDateText(dateText, typed))
            return FALSE;
        static const int kDays[] = {0, -1, 1, -31, 31, -365, 365};
        SYSTEMTIME midnight = {};
        midnight.wYear = typed.wYear;
        midnight.wMonth = typed.wMonth;
        midnight.wDay = typed.wDay;
        FILETIME ft;
        if (!SystemTimeToFileTime(&midnight, &ft))
            return FALSE;
        ULARGE_INTEGER ticks;
        ticks.LowPart = ft.dwLowDateTime;
        ticks.HighPart = ft.dwHighDateTime;
        ticks.QuadPart += static_cast<LONGLONG>(kDays[preset]) * static_cast<LONGLONG>(kTicksPerDay);
        ft.dwLowDateTime = ticks.LowPart;
        ft.dwHighDateTime = ticks.HighPart;
        if (!FileTimeToSystemTime(&ft, &date) || date.wYear < 1980)
            return FALSE;
    }
    out.Format(L"%04d/%02d/%02d", date.wYear, date.wMonth, date.wDay);
    return TRUE;
}

BOOL ReadFindOptions(const FindOptionInput& input, FindCondition& condition, CString& message)
{
    for (int range = 0; range < 3; ++range)
    {
        const FindOptionInput::Range& r = input.ranges[range];
        *RangeEnabled(condition, range) = r.enabled ? 1 : 0;
        if (!r.enabled)
            continue;
        const LPCWSTR dates[2] = {r.fromDate, r.toDate};
        const LPCWSTR times[2] = {r.fromTime, r.toTime};
        FILETIME* targets[2] = {RangeFrom(condition, range), RangeTo(condition, range)};
        for (int end = 0; end < 2; ++end)
        {
            SYSTEMTIME date = {}, time = {};
            if (!ParseDateText(dates[end], date))
            {
                message.Format(L"%sの日付が異常です", kRanges[range].name);
                return FALSE;
            }
            if (!ParseTimeText(times[end], time))
            {
                message.Format(L"%sの時間が異常です", kRanges[range].name);
                return FALSE;
            }
            if (!LocalToUtc(date, time, *targets[end]))
            {
                message.Format(L"%sの日付が異常です", kRanges[range].name);
                return FALSE;
            }
        }
    }
    condition.attributeMask = input.attributeMask;
    condition.noAttributeFlag = input.noAttribute ? 1 : 0;
    if (!input.attributeMask && !input.noAttribute)
    {
        message = L"属性の情報が有りません";
        return FALSE;
    }
    LONGLONG minimum = 0, maximum = 0;
    BOOL overflowMin = FALSE, overflowMax = FALSE;
    const BOOL okMin = ParseSigned64(input.minimum, minimum, overflowMin);
    const BOOL okMax = ParseSigned64(input.maximum, maximum, overflowMax);
    const LONGLONG unit = input.unit > 0 ? input.unit : 1;
    // A size past 2^63 bytes would wrap to a negative or small bound and silently
    // change what the search finds.
    if (overflowMin || overflowMax || (okMin && (minimum > LLONG_MAX / unit || minimum < LLONG_MIN / unit)) ||
        (okMax && (maximum > LLONG_MAX / unit || maximum < LLONG_MIN / unit)))
    {
        message = L"サイズの値が大きすぎます";
        return FALSE;
    }
    if (!okMin || !okMax)
    {
        message = L"サイズのデータが不正です";
        return FALSE;
    }
    minimum *= unit;
    maximum *= unit;
    if (maximum < minimum || minimum < 0 || maximum < 0)
    {
        message = L"サイズのデータが不正です";
        return FALSE;
    }
    condition.sizeMinimum = minimum;
    condition.sizeMaximum = maximum;
    return TRUE;
}

// ---- The dialog ------------------------------------------------------------------------

CFindOptionDlg::CFindOptionDlg(CWnd* pParent) : CDialog(IDD_FIND_OPTION, pParent)
{
    InitFindCondition(m_condition);
}

BOOL CFindOptionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int range = 0; range < 3; ++range)
    {
        CheckDlgButton(kRanges[range].enable,
                       *RangeEnabled(m_condition, range) ? BST_CHECKED : BST_UNCHECKED);
        CString date, time;
        FormatLocal(*RangeFrom(m_condition, range), date, time);
        SetDlgItemText(kRanges[range].fromDate, date);
        SetDlgItemText(kRanges[range].fromTime, time);
        FormatLocal(*RangeTo(m_condition, range), date, time);
        SetDlgItemText(kRanges[range].toDate, date);
        SetDlgItemText(kRanges[range].toTime, time);
        EnableRange(range);
    }
    CheckDlgButton(IDC_OPT_NO_ATTRIBUTE, m_condition.noAttributeFlag ? BST_CHECKED : BST_UNCHECKED);
    for (const auto& box : kAttributeBoxes)
        CheckDlgButton(box.id, (m_condition.attributeMask & box.bit) ? BST_CHECKED : BST_UNCHECKED);

    HWND presets = ::GetDlgItem(m_hWnd, IDC_OPT_PRESET);
    for (LPCWSTR preset : kPresets)
        ::SendMessageW(presets, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(preset));
    ::SendMessageW(presets, CB_SETCURSEL, 0, 0);

    HWND units = ::GetDlgItem(m_hWnd, IDC_OPT_SIZE_UNIT);
    for (LPCWSTR unit : {L"Byte単位", L"KByte単位", L"MByte単位"})
        ::SendMessageW(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
    const LONGLONG unit = ChooseSizeUnit(m_condition.sizeMinimum, m_condition.sizeMaximum);
    ::SendMessageW(units, CB_SETCURSEL, unit == kMega ? 2 : unit == kKilo ? 1 : 0, 0);
    CString number;
    number.Format(L"%I64d", m_condition.sizeMinimum / unit);
    SetDlgItemText(IDC_OPT_SIZE_MIN, number);
    number.Format(L"%I64d", m_condition.sizeMaximum / unit);
    SetDlgItemText(IDC_OPT_SIZE_MAX, number);
    ShowUnitLabels();

    m_radio = IDC_OPT_CREATION_FROM_RADIO;
    CheckRadioButton(IDC_OPT_ACCESS_FROM_RADIO, IDC_OPT_UPDATE_TO_RADIO, m_radio);
    return TRUE;
}

void CFindOptionDlg::EnableRange(int range)
{
    const BOOL on = IsDlgButtonChecked(kRanges[range].enable) == BST_CHECKED;
    for (int id :
         {kRanges[range].fromDate, kRanges[range].fromTime, kRanges[range].toDate, kRanges[range].toTime})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), on);
}

LONGLONG CFindOptionDlg::SelectedUnit() const
{
    const LRESULT index = ::SendMessageW(::GetDlgItem(m_hWnd, IDC_OPT_SIZE_UNIT), CB_GETCURSEL, 0, 0);
    return index == 2 ? kMega : index == 1 ? kKilo : 1;
}

void CFindOptionDlg::ShowUnitLabels()
{
    const LONGLONG unit = SelectedUnit();
    LPCWSTR prefix = unit == kMega ? L"MByte" : unit == kKilo ? L"KByte" : L"Byte";
    SetDlgItemText(IDC_OPT_SIZE_MIN_LABEL, CString(prefix) + L"から");
    SetDlgItemText(IDC_OPT_SIZE_MAX_LABEL, CString(prefix) + L"まで");
}

void CFindOptionDlg::RunPreset()
{
    int dateEdit = 0;
    for (const RangeControls& r : kRanges)
    {
        if (m_radio == r.fromRadio)
            dateEdit = r.fromDate;
        if (m_radio == r.toRadio)
            dateEdit = r.toDate;
    }
    if (!dateEdit)
        return;
    CString text, result;
    GetDlgItemText(dateEdit, text);
    SYSTEMTIME today;
    GetLocalTime(&today);
    const int preset =
        static_cast<int>(::SendMessageW(::GetDlgItem(m_hWnd, IDC_OPT_PRESET), CB_GETCURSEL, 0, 0));
    if (preset >= 0 && ApplyDatePreset(text, preset, today, result))
        SetDlgItemText(dateEdit, result);
}

BOOL CFindOptionDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    for (int range = 0; range < 3; ++range)
    {
        const RangeControls& r = kRanges[range];
        if (id == r.enable && code == BN_CLICKED)
        {
            EnableRange(range);
            return TRUE;
        }
        if (code == BN_CLICKED && (id == r.fromRadio || id == r.toRadio))
            m_radio = id;
        // A date edit that takes the focus becomes the preset's target.
        if (code == EN_SETFOCUS && (id == r.fromDate || id == r.toDate))
        {
            m_radio = id == r.fromDate ? r.fromRadio : r.toRadio;
            CheckRadioButton(IDC_OPT_ACCESS_FROM_RADIO, IDC_OPT_UPDATE_TO_RADIO, m_radio);
        }
    }
    if (id == IDC_OPT_PRESET_RUN && code == BN_CLICKED)
    {
        RunPreset();
        return TRUE;
    }
    if (id == IDC_OPT_SIZE_UNIT && code == CBN_SELCHANGE)
    {
        ShowUnitLabels();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CFindOptionDlg::OnOK()
{
    FindOptionInput input;
    for (int range = 0; range < 3; ++range)
    {
        FindOptionInput::Range& r = input.ranges[range];
        r.enabled = IsDlgButtonChecked(kRanges[range].enable) == BST_CHECKED;
        GetDlgItemText(kRanges[range].fromDate, r.fromDate);
        GetDlgItemText(kRanges[range].fromTime, r.fromTime);
        GetDlgItemText(kRanges[range].toDate, r.toDate);
        GetDlgItemText(kRanges[range].toTime, r.toTime);
    }
    input.attributeMask = 0;
    for (const auto& box : kAttributeBoxes)
        if (IsDlgButtonChecked(box.id) == BST_CHECKED)
            input.attributeMask |= box.bit;
    input.noAttribute = IsDlgButtonChecked(IDC_OPT_NO_ATTRIBUTE) == BST_CHECKED;
    GetDlgItemText(IDC_OPT_SIZE_MIN, input.minimum);
    GetDlgItemText(IDC_OPT_SIZE_MAX, input.maximum);
    input.unit = SelectedUnit();
    FindCondition condition = m_condition;
    CString message;
    if (!ReadFindOptions(input, condition, message))
    {
        Tell(this, message);
        return;
    }
    m_condition = condition;
    EndDialog(IDOK);
}
