// The rename pattern: from one pattern and each entry's old name, the new name of
// every entry of a rename job. "*" and "?" keep parts of the old name, "%text%"
// inserts text, "$n" (or "$" digit "n") numbers the entries with the first number
// that gives a free name, and the character kinds of the name part can be converted.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CFileInfo;
class CArrayRenameFileName;

// The conversion of character kinds, in the order of its settings.
struct CharConvertInfo
{
    int enable = 0;
    int save = 0;
    int katakana = 0; // 0 unchanged, 1 half-width, 2 full-width, 3 hiragana
    int hiragana = 0; // 0 unchanged, 1 half-width katakana
    int alphabet = 0; // 0 unchanged, 1 half-width, 2 full-width
    int digit = 0;    // the same
    int space = 0;    // the same
    int symbol = 0;   // kept with the others; nothing converts symbols

    // From and to the settings CHAR_CONVERT_INFO_*.
    static CharConvertInfo FromSettings();
    void ToSettings() const;
};

// One row of the kana table: the half-width katakana (0 when there is none), then
// the hiragana and the full-width katakana in their plain, voiced and semi-voiced
// forms, each up to two characters and a zero; empty where the form does not exist.
struct KanaTableRow
{
    wchar_t half;
    wchar_t hiragana[3][3];
    wchar_t katakana[3][3];
};
enum
{
    KANA_TABLE_ROWS = 59
};
// Built on first use.
const KanaTableRow* GetKanaTable();

// The first "%" that has another "%" after it, and the position of that one; both -1
// when there is no pair.
void FindPercentField(LPCWSTR text, int& start, int& end);
// The first "$n" (width 2) or "$" digit 1-9 "n" (width = the digit): the position of
// the "$" and of the "n", and the width; -1, -1 (width 0) when there is none.
void FindCounterField(LPCWSTR text, int& start, int& end, int& width);
// The pattern part expanded over the old part: "*" and "?" replaced, the percent
// field's signs and the counter token removed. The positions of the field and the
// counter are taken from the pattern before the old text goes in, so that a "%" or
// "$n" in an old name stays text. counterPosition is -1 without a counter.
CString ExpandPatternPart(LPCWSTR oldPart, LPCWSTR patternPart, int& counterPosition, int& counterWidth);
// The text with its character kinds converted; the counter position moves with it.
CString ConvertCharKinds(LPCWSTR text, const CharConvertInfo& info, int& counterPosition);

class CRenamePattern
{
public:
    // Starts a job (or a new directory of it): the directory in which names are
    // tested is the entry's listing directory.
    void Setup(const CFileInfo& entry, LPCWSTR pattern, int nameStart, int extensionStart,
               const CharConvertInfo* convert, CArrayRenameFileName* renameList);
    // The new name of the entry into m_newName; 1 when it can be used, 0 when the
    // pattern is invalid or no free name was found.
    int MakeNewName(const CFileInfo& entry, int alwaysIncrement);

    // Polled while free names are searched; the search stops when it becomes non-zero.
    void SetCancelFlag(volatile LONG* cancel) { m_cancel = cancel; }

    // Candidates tried at most for one name, however wide the counters are.
    static const LONGLONG MAX_CANDIDATES = 1000000;

    CString m_newName;
    CString m_directory;
    CString m_pattern;
    int m_nameStart = 0;
    int m_extensionStart = 0;
    CString m_lastText[2];
    int m_lastCounter[2] = {-1, -1};
    int m_nextNumber[2] = {0, 0};
    CharConvertInfo m_convert;
    CArrayRenameFileName* m_renameList = nullptr;

private:
    int IsUsable(const CFileInfo& entry, const CString& name) const;
    void ForgetSeries(int firstName, int alwaysIncrement);

    volatile LONG* m_cancel = nullptr;
};
