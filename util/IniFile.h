// The program's own reader and writer of ini-style settings files. The Windows profile
// functions are not used: they know neither the program's UTF-16 files with a
// byte-order mark nor its line rules.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// One section as it was read.
struct CIniData
{
    CString sectionName;          // as it stood in the file
    CMapStringToString keyValues; // keys compare exactly, case-sensitively
};

// Results of CIniFile::Load.
enum
{
    INI_LOAD_OK = 1,
    INI_LOAD_IN_USE = 2, // the file stayed locked through every try
    INI_LOAD_NO_FILE = 3,
    INI_LOAD_EMPTY = 4,      // zero bytes
    INI_LOAD_READ_ERROR = 5, // the read failed, or the file has at most 2 bytes
};

// An object is used either for reading (set filePath, Load, then look up) or for
// writing (Create, write in order, Close). Nothing is ever edited in place.
//
// Text as read: UTF-16LE when the file begins with FF FE, UTF-8 when it begins with
// EF BB BF, else the ANSI code page. Lines end at CR LF, CR or LF; "[name" starts a section
// (up to the first "]"), every other line is key=value split at its first "=";
// nothing is trimmed, and key lines before the first section are ignored.
// Text as written: UTF-16LE with FF FE, CR LF lines, a "[section]" line whenever the
// section differs from the one written last.
class CIniFile
{
public:
    CIniFile();
    ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // The file that Load reads; callers set it directly.
    CString filePath;

    // Reads filePath, replacing everything loaded before; one of INI_LOAD_*. Nothing
    // stays loaded unless the result is INI_LOAD_OK. A file that cannot be opened is
    // tried again s_retryWaitMs later, 20 tries in all, before INI_LOAD_IN_USE.
    int Load();

    // Index of the first section of that name ignoring case, or -1.
    int FindSection(LPCWSTR sectionName);

    // `out` = defaultValue, then the stored value when the section and key exist.
    // `out` may be null. Takes g_DataMutex.
    void GetString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, CString* out);
    // The default when the key is missing or its value empty; otherwise the value's
    // leading decimal number (white space and sign allowed; no digits give 0).
    int GetInt(LPCWSTR section, LPCWSTR key, int defaultValue);

    // A section and default for GetCurrentString.
    void SetCurrentSection(LPCWSTR section, LPCWSTR defaultValue);
    void GetCurrentString(LPCWSTR key, CString* out);

    // Values of the keys keyFormat(0), keyFormat(1), … (for example "DIR%d") up to
    // the first missing or empty one, at most maxCount. Takes g_DataMutex.
    void GetStringList(LPCWSTR section, LPCWSTR keyFormat, CStringArray& out, int maxCount);

    // Every key of the section with its value (parallel arrays, the map's order).
    void GetSectionKeys(LPCWSTR section, CStringArray& keys, CStringArray& values);
    // Every section name in file order, duplicates included.
    void GetSectionNames(CStringArray& names);

    // Creates (or truncates) the file for writing, shared with nobody, and writes the
    // byte-order mark; FALSE when either fails.
    BOOL Create(LPCWSTR path);
    // Write errors are not reported; nothing happens while no file is open.
    void WriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value);
    void WriteInt(LPCWSTR section, LPCWSTR key, int value);
    // Entry i under the key keyFormat(i), empty entries included. Takes g_DataMutex.
    void WriteStringList(LPCWSTR section, LPCWSTR keyFormat, const CStringArray& values);
    // Closes the written file and forgets everything loaded.
    void Close();

    // One line of `text` (at most `count` characters) into `line`: the number of
    // characters consumed with the line end, or -1 when nothing is left. A NUL ends
    // the line's text; the rest of that line is skipped.
    static int ReadLine(LPCWSTR text, int count, CString& line);

    // The pause between two tries of an opening that failed (100 ms).
    static DWORD s_retryWaitMs;

    // Told the section and key of every lookup (GetString, and the lookups of GetInt,
    // GetStringList and GetCurrentString) and, with a null key, every section that
    // GetSectionKeys lists; null unless a test records the reader's order of keys,
    // which a file written back does not show.
    static void (*s_lookupObserver)(LPCWSTR section, LPCWSTR key);

private:
    void RemoveSections();
    void WriteText(const CString& text);

    CString currentSection;
    CString currentDefault;
    CString cachedSectionName;
    int cachedSectionIndex;
    CArray<CIniData*, CIniData*> sectionList; // owned
    HANDLE writeHandle;
    CString lastWrittenSection;
};
