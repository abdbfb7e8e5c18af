#include "util/Formatting.h"
#include "util/Clock.h"
#include "util/PathHelpers.h"

#include <climits>
#include <cwchar>

namespace
{

bool IsDecimalDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

// Value of a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    return -1;
}

// Reads `length` decimal digits; values beyond `limit` stop growing at limit + 1, so
// that long digit strings fail range checks instead of wrapping.
bool ReadDecimal(LPCWSTR text, int length, unsigned long long limit, unsigned long long& value)
{
    value = 0;
    for (int i = 0; i < length; ++i)
    {
        if (!IsDecimalDigit(text[i]))
            return false;
        if (value <= limit)
            value = value * 10 + (text[i] - L'0');
        if (value > limit)
            value = limit + 1;
    }
    return true;
}

// Splits "a<sep>b<sep>c" (exactly three parts) or reads a fixed-width "aaaabbcc"-like
// text whose part widths are given; every part must be decimal digits.
bool ReadThreeParts(LPCWSTR text, wchar_t separator, const int widths[3], unsigned long long parts[3])
{
    if (text == nullptr)
        return false;
    const unsigned long long limit = 100000; // far above every valid part
    if (wcschr(text, separator))
    {
        LPCWSTR start = text;
        for (int i = 0; i < 3; ++i)
        {
            LPCWSTR end = wcschr(start, separator);
            if (i == 2 && end)
                return false; // a third separator
            int length = end ? static_cast<int>(end - start) : static_cast<int>(wcslen(start));
            if (!ReadDecimal(start, length, limit, parts[i]))
                return false;
            if (end == nullptr)
            {
                for (int j = i + 1; j < 3; ++j)
                    parts[j] = 0; // missing parts read as 0 and fail the range checks
                return true;
            }
            start = end + 1;
        }
        return false; // not reached: the third part always returns
    }
    int total = widths[0] + widths[1] + widths[2];
    if (static_cast<int>(wcslen(text)) != total)
        return false;
    LPCWSTR p = text;
    for (int i = 0; i < 3; ++i)
    {
        if (!ReadDecimal(p, widths[i], limit, parts[i]))
            return false;
        p += widths[i];
    }
    return true;
}

} // namespace

// ---- Formatting ---------------------------------------------------------------------

void FormatSizeShort(LONGLONG bytes, CString& out, BOOL addUnit)
{
    if (bytes < 1000)
    {
        out.Format(L"%5I64d", bytes);
        if (addUnit)
            out += L'B';
    }
    else if (bytes < 1000000)
        out.Format(L"%3d.%dK", static_cast<int>(bytes / 1000), static_cast<int>((bytes / 100) % 10));
    else if (bytes < 1000000000)
        out.Format(L"%3d.%dM", static_cast<int>(bytes / 1000000), static_cast<int>((bytes / 100000) % 10));
    else
        out.Format(L"%3I64d.%dG", bytes / 1000000000, static_cast<int>((bytes / 100000000) % 10));
}

void FormatNumberWithSeparators(ULONGLONG value, CString& out, int& width)
{
    wchar_t digits[32];
    int count = 0;
    do
    {
        if (count % 4 == 3)
            digits[count++] = L',';
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (width < count)
        width = count;
    out = CString(L' ', width - count);
    for (int i = count - 1; i >= 0; --i)
        out += digits[i];
}

void FormatNumberInt(ULONGLONG value, CString& out, int width)
{
    FormatNumberWithSeparators(value, out, width);
}

void FormatFileTimeLocal(const FILETIME& fileTime, CString* date, CString* time, BOOL slash)
{
    FILETIME local = {};
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&fileTime, &local);
    FileTimeToSystemTime(&local, &st);
    if (date)
        date->Format(slash ? L"%04d/%02d/%02d" : L"%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    if (time)
        time->Format(L"%02d:%02d:%02d", st.wHour, st.wMinute, st.wSecond);
}

void FormatFindDataTime(int which, const WIN32_FIND_DATAW& findData, CString* date, CString* time, BOOL slash)
{
    switch (which)
    {
    case 0:
        FormatFileTimeLocal(findData.ftCreationTime, date, time, slash);
        break;
    case 1:
        FormatFileTimeLocal(findData.ftLastAccessTime, date, time, slash);
        break;
    case 2:
        FormatFileTimeLocal(findData.ftLastWriteTime, date, time, slash);
        break;
    default:
        break;
    }
}

void ExpandTimePattern(LPCWSTR pattern, CString& out)
{
    static const wchar_t letters[6] = {L'Y', L'M', L'D', L'h', L'm', L's'};
    SYSTEMTIME now = {};
    QvGetLocalTime(&now);
    const unsigned values[6] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    wchar_t digits[6][16];
    int digitCount[6];
    int occurrences[6] = {};
    int seen[6] = {};
    LPCWSTR text = pattern ? pattern : L"";
    for (int c = 0; c < 6; ++c)
    {
        digitCount[c] = swprintf(digits[c], 16, L"%u", values[c]);
        for (LPCWSTR p = text; *p; ++p)
            if (*p == letters[c])
                ++occurrences[c];
    }
    out.Empty();
    for (LPCWSTR p = text; *p; ++p)
    {
        const wchar_t* hit = wmemchr(letters, *p, 6);
        if (hit == nullptr)
        {
            out += *p;
            continue;
        }
        int c = static_cast<int>(hit - letters);
        int index = digitCount[c] + seen[c]++ - occurrences[c];
        out += index < 0 ? L'0' : digits[c][index];
    }
}

void QuoteIfContainsBlank(CString& text)
{
    if (text.Find(L' ') >= 0)
        text = L'"' + text + L'"';
}

void SplitAtFirstBlank(LPCWSTR text, CString& head, CString& tail)
{
    CString whole(text);
    int blank = whole.Find(L' ');
    if (blank < 0)
    {
        head = whole;
        tail.Empty();
        return;
    }
    head = whole.Left(blank);
    tail = whole.Mid(blank + 1);
}

int FindCharIndex(LPCWSTR text, wchar_t ch)
{
    if (text == nullptr)
        return -1;
    LPCWSTR hit = wcschr(text, ch);
    return hit && ch != 0 ? static_cast<int>(hit - text) : -1;
}

int CountAnsiChars(LPCSTR text)
{
    if (text == nullptr)
        return 0;
    int count = 0;
    for (LPCSTR p = text; *p; ++p, ++count)
    {
        // A lead byte at the very end has no trail byte to swallow.
        if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != 0)
            ++p;
    }
    return count;
}

// ---- Parsing ------------------------------------------------------------------------

int ParseHexNumber(LPCWSTR text, int& value, BOOL allowMinus)
{
    if (text == nullptr)
        return 0;
    bool negative = false;
    if (*text == L'-')
    {
        if (!allowMinus)
            return 0;
        negative = true;
        ++text;
    }
    // Eight digits fill 32 bits; a ninth would shift the top digit out unnoticed.
    size_t length = wcslen(text);
    if (length == 0 || length > 8)
        return 0;
    DWORD result = 0;
    for (; *text; ++text)
    {
        int digit = HexDigitValue(*text);
        if (digit < 0)
            return 0;
        result = (result << 4) | static_cast<DWORD>(digit);
    }
    if (negative)
        result = 0u - result;
    value = static_cast<int>(result);
    return 1;
}

int ParseSearchBytes(LPCWSTR text, BYTE* bytes, int capacity, int& count, int kind, BOOL isSigned)
{
    count = 0;
    if (text == nullptr || *text == 0)
        return 0;
    const int length = static_cast<int>(wcslen(text));
    switch (kind)
    {
    case 0: {
        int produced = WideToAnsiBuffer(text, reinterpret_cast<char*>(bytes), capacity);
        if (produced <= 0)
            return 0;
        count = produced;
        return 1;
    }
    case 1: {
        if (length % 2 != 0 || length / 2 > capacity)
            return 0;
        for (int i = 0; i < length; i += 2)
        {
            int high = HexDigitValue(text[i]);
            int low = HexDigitValue(text[i + 1]);
            if (high < 0 || low < 0)
            {
                count = 0;
                return 0;
            }
            bytes[count++] = static_cast<BYTE>(high << 4 | low);
        }
        return 1;
    }
    case 2:
    case 3:
    case 4: {
        const int size = kind == 2 ? 1 : kind == 3 ? 2 : 4;
        if (size > capacity)
            return 0;
        LPCWSTR digits = text;
        bool negative = false;
        if (*digits == L'-' && isSigned)
        {
            negative = true;
            ++digits;
        }
        int digitCount = length - static_cast<int>(digits - text);
        if (digitCount == 0)
            return 0;
        DWORD stored = 0;
        if (kind == 4)
        {
            // No range check: the number wraps like the 32-bit field it fills.
            for (LPCWSTR p = digits; *p; ++p)
            {
                if (!IsDecimalDigit(*p))
                    return 0;
                stored = stored * 10 + static_cast<DWORD>(*p - L'0');
            }
            if (negative)
                stored = 0u - stored;
        }
        else
        {
            const long long maxPositive = isSigned ? (kind == 2 ? 127 : 32767) : (kind == 2 ? 255 : 65535);
            const long long maxNegative = kind == 2 ? 128 : 32768;
            unsigned long long magnitude = 0;
            if (!ReadDecimal(digits, digitCount, 1000000, magnitude))
                return 0;
            long long signedValue =
                negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
            if (negative ? static_cast<long long>(magnitude) > maxNegative : signedValue > maxPositive)
                return 0;
            stored = static_cast<DWORD>(signedValue);
        }
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<BYTE>(stored >> (8 * i));
        count = size;
        return 1;
    }
    default:
        return 1;
    }
}

int ParseDateText(LPCWSTR text, SYSTEMTIME& date)
{
    static const int widths[3] = {4, 2, 2};
    unsigned long long parts[3];
    if (!ReadThreeParts(text, L'/', widths, parts))
        return 0;
    if (parts[0] <= 1600 || parts[0] > 30827 || parts[1] < 1 || parts[1] > 12 || parts[2] < 1 ||
        parts[2] > 31)
        return 0;
    date.wYear = static_cast<WORD>(parts[0]);
    date.wMonth = static_cast<WORD>(parts[1]);
    date.wDay = static_cast<WORD>(parts[2]);
    return 1;
}

int ParseTimeText(LPCWSTR text, SYSTEMTIME& time)
{
    static const int widths[3] = {2, 2, 2};
    unsigned long long parts[3];
    if (!ReadThreeParts(text, L':', widths, parts))
        return 0;
    if (parts[0] >= 24 || parts[1] >= 60 || parts[2] >= 60)
        return 0;
    time.wHour = static_cast<WORD>(parts[0]);
    time.wMinute = static_cast<WORD>(parts[1]);
    time.wSecond = static_cast<WORD>(parts[2]);
    return 1;
}

int ParseScsiSetting(int& adapter, int& target, int& unit, int& closeFlag, LPCWSTR setting)
{
    if (setting == nullptr || wcslen(setting) != 4)
        return 0;
    if (!IsDecimalDigit(setting[0]) || !IsDecimalDigit(setting[1]) || !IsDecimalDigit(setting[2]))
        return 0;
    if (setting[3] != L'0' && setting[3] != L'1')
        return 0;
    adapter = setting[0] - L'0';
    target = setting[1] - L'0';
    unit = setting[2] - L'0';
    closeFlag = setting[3] - L'0';
    return 1;
}

DWORD ParseColorHex(LPCWSTR text, DWORD defaultValue)
{
    if (text == nullptr)
        return defaultValue;
    DWORD value = 0;
    for (int i = 0; i < 6; ++i)
    {
        int digit = HexDigitValue(text[i]); // the NUL of a short text is no digit
        if (digit < 0)
            return defaultValue;
        value = value << 4 | static_cast<DWORD>(digit);
    }
    return value;
}
