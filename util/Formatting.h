// Numbers, sizes and times turned into the texts that panes, dialogs and menus show,
// and the parsers of what the user types into search, date and colour fields.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// ---- Formatting ---------------------------------------------------------------------

// A byte count in decimal units, five characters wide before the unit: "  999" (with
// "B" appended when `addUnit` is set), "  1.0K", "999.9K", "  1.0M", "  1.0G". The
// digit after the point is cut, never rounded.
void FormatSizeShort(LONGLONG bytes, CString& out, BOOL addUnit);

// The value with "," between groups of three digits, right-aligned in a field of
// max(width, needed characters); `width` is raised to the needed size.
void FormatNumberWithSeparators(ULONGLONG value, CString& out, int& width);
void FormatNumberInt(ULONGLONG value, CString& out, int width);

// The file time in local time: date "YYYY/MM/DD" (slash flag) or "YYYY-MM-DD", time
// "hh:mm:ss". Either output may be null.
void FormatFileTimeLocal(const FILETIME& fileTime, CString* date, CString* time, BOOL slash);

// FormatFileTimeLocal of the creation (0), last-access (1) or last-write (2) time;
// any other `which` leaves the outputs alone.
void FormatFindDataTime(int which, const WIN32_FIND_DATAW& findData, CString* date, CString* time,
                        BOOL slash);

// Replaces the letters Y, M, D, h, m, s of the pattern by the digits of the local
// year, month, day, hour, minute and second, right-aligned over each letter's
// occurrences ("YY" of 2026 is "26", "DDD" of the 8th is "008").
void ExpandTimePattern(LPCWSTR pattern, CString& out);

// Puts double quotes around the text when it contains a blank.
void QuoteIfContainsBlank(CString& text);

// The text before and after its first blank; without a blank the head is everything.
void SplitAtFirstBlank(LPCWSTR text, CString& head, CString& tail);

// Index of the first occurrence of the character, -1 when absent.
int FindCharIndex(LPCWSTR text, wchar_t ch);

// Characters of a text in the ANSI code page: a lead byte and its trail byte count as
// one.
int CountAnsiChars(LPCSTR text);

// ---- Parsing ------------------------------------------------------------------------

// Up to 8 hexadecimal digits (either case), after a '-' only when `allowMinus` is set
// (the result is then negated). 1 and the value, else 0 and `value` untouched.
int ParseHexNumber(LPCWSTR text, int& value, BOOL allowMinus);

// The value of a binary-editor search or input field as bytes, written to `bytes`
// (room for `capacity` bytes), their number to `count`:
//   kind 0 the text in the ANSI code page with its NUL, kind 1 pairs of hexadecimal
//   digits, kinds 2/3/4 a decimal number in 1/2/4 bytes little-endian (a leading '-'
//   only when `isSigned`; kinds 2 and 3 range-checked, kind 4 taken modulo 2^32).
// Other kinds give count 0 and 1. Failure (also when the bytes do not fit) gives 0.
int ParseSearchBytes(LPCWSTR text, BYTE* bytes, int capacity, int& count, int kind, BOOL isSigned);

// "YYYYMMDD" or "Y/M/D" into wYear, wMonth, wDay (year above 1600, month 1-12, day
// 1-31); 1 on success, else 0 and `date` untouched.
int ParseDateText(LPCWSTR text, SYSTEMTIME& date);

// "hhmmss" or "h:m:s" into wHour, wMinute, wSecond (below 24, 60, 60); 1 on
// success, else 0 and `time` untouched.
int ParseTimeText(LPCWSTR text, SYSTEMTIME& time);

// A SCSI command setting: host adapter, target and unit digit, then '0' (open) or
// '1' (close). 1 on success, else 0.
int ParseScsiSetting(int& adapter, int& target, int& unit, int& closeFlag, LPCWSTR setting);

// A colour setting: the first six characters as one hexadecimal number (either case),
// the first pair the most significant; `defaultValue` when they are not that.
DWORD ParseColorHex(LPCWSTR text, DWORD defaultValue);
