// The archive layer's shared records: one archive member as every back-end
// delivers it, a back-end's listing of them, and the numbered error list that every
// back-end and the archive front fill and that turns its first code into the text
// shown to the user.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

class CArrayArchiveFileInfo;
class CErrorIF;

// One archive member (a copyable value; a new one is all zero).
class CArchiveFileInfo
{
public:
    CArchiveFileInfo();

    // Attributes, the three times (UTC), size, cFileName = the member's own name,
    // cAlternateFileName = its 8.3 display form.
    WIN32_FIND_DATAW m_findData;
    // Compressed size and position in the archive (plug-in listings only). Kept in
    // 64 bits as the plug-ins deliver them: archives pass 4 GiB.
    ULONGLONG m_packedSize;
    ULONGLONG m_position;
    // Folder inside the archive, backslash-separated, no leading or trailing
    // backslash; empty for the root.
    CString m_folder;
    // The member's path as its back-end addresses it.
    CString m_storedPath;
    int m_itemIndex; // index in the 7-Zip library's item list (7-Zip back-end only)

    // Sets cFileName (cut to the 259 characters the field holds) and the 8.3 form.
    void SetName(LPCWSTR name);
    // The member's whole name: cFileName holds only the start of a longer one, and
    // the stored path's last part then gives it.
    CString GetWholeName() const;

    // Sort order for the preview loader: folders component by component (the
    // program's name order; fewer components first when all compared are equal),
    // then directories before files, then base names, then extensions.
    // -1, 0 or 1.
    int Compare(const CArchiveFileInfo& other) const;

    // The 8.3 display form: base cut to 8 characters and extension to 3, joined
    // by a dot when the name has one ("abc." stays "abc."); without a dot the first
    // 8 characters.
    static void MakeShortDisplayName(LPCWSTR name, CString& out);

    // Every "/" becomes "\", leading backslashes go, one trailing backslash goes.
    static void NormalizeArchiveItemPath(CString& path);

    // The fields of a plug-in's archive-information record that a listing uses.
    // The folder path and the name are fields of 200 characters, not necessarily
    // NUL-ended.
    struct PlugInRecordFields
    {
        ULONGLONG position;
        ULONGLONG packedSize;
        ULONGLONG fileSize;
        LONGLONG timestamp; // seconds since 1970-01-01 UTC
    };
    static constexpr int PLUGIN_TEXT_FIELD = 200;

    // Appends the member of a plug-in record (narrow texts in the ANSI code page,
    // respectively wide); a record with an empty name is skipped. 1 when appended.
    static int SetFromPlugInInfo(CArrayArchiveFileInfo& list, const PlugInRecordFields& fields,
                                 const char* folderPath, const char* fileName);
    static int SetFromPlugInInfoW(CArrayArchiveFileInfo& list, const PlugInRecordFields& fields,
                                  const wchar_t* folderPath, const wchar_t* fileName);

    // Field sizes of a common-archiver library's per-file record.
    static constexpr int ARCHIVER_NAME_FIELD = 513;
    static constexpr int ARCHIVER_ATTRIBUTE_FIELD = 8;

    // Appends the member of a common-archiver library's per-file record: size, DOS
    // date and time (local), the name as the library gives it ("/" or "\"
    // separated; a trailing separator marks a directory) and the attribute letters
    // ("A", "D", "H", "R", "S"). A name that is empty after its leading separators
    // is skipped. 1 when appended.
    static int SetFromArchiverInfo(CArrayArchiveFileInfo& list, DWORD originalSize, WORD dosDate,
                                   WORD dosTime, const char* fileName, const char* attributeLetters);
};

// A back-end's listing, in the order the back-end delivered it.
class CArrayArchiveFileInfo : public CArray<CArchiveFileInfo>
{
public:
    // The one entry of the folder with the name (both case aside), or null. Members
    // that differ only in case, or that clean to one name, share the name: then the
    // one whose folder and name match exactly is taken, and when none or several do
    // the name names no member at all (null, and `matches` > 1). `matches` gets the
    // number of entries the name matched case aside.
    CArchiveFileInfo* FindEntry(LPCWSTR folder, LPCWSTR name, int* matches = nullptr);
    // FindEntry for a name given alone (not a listed row): when it names no member,
    // null with code 4 in `errors`, or code 41 with the name as the subject when
    // several members share it.
    CArchiveFileInfo* FindNamedEntry(LPCWSTR folder, LPCWSTR name, CErrorIF& errors);
};

// Error codes of the archive layer (1 to 41, texts in CErrorIF::GetMessageText).
enum
{
    ARCERR_NO_DLL = 1,
    ARCERR_NO_MEMBER = 4,
    ARCERR_NO_PLUGIN = 15,
    ARCERR_USER_CANCEL = 21,
    ARCERR_NAME_TOO_LONG = 26,
    ARCERR_NO_DLL_OR_PLUGIN = 28,
    ARCERR_EXCEPTION = 40,
    ARCERR_AMBIGUOUS_NAME = 41,
};

// The numbered error codes of an archive operation, each with one parameter (a
// system error number, a library result or a caught value) and an optional detail
// text (what the code is about, e.g. the files a pack left out). A code is held once;
// "no library" (1), "no plug-in" (15) and "neither" (28) merge into one entry 28.
class CErrorIF : public CDWordArray
{
public:
    void Clear();
    // Appends unless the code is already in the list; 1, 15 and 28 merge.
    void Add(DWORD code, int param);
    void Add(DWORD code, int param, const CString& detail);
    // Add of each code of `other` with its parameter and detail, in order.
    void AddFrom(const CErrorIF& other);
    // Replaces codes, parameters and details by copies of `other`'s.
    void CopyFrom(const CErrorIF& other);
    int HasCode(DWORD code) const;
    // The parameter at the index, 0 when the index is out of range.
    int GetParam(INT_PTR index) const;
    // The detail at the index, empty when it has none or the index is out of range.
    CString GetDetail(INT_PTR index) const;
    // The member an error is about (a name too long to write, a name that names
    // several members); the first one given is kept until Clear.
    void SetSubject(const CString& subject);
    const CString& GetSubject() const { return m_subject; }
    // The text of the first code, with "(Error=0x%x)" and its parameter for the
    // codes that carry a system error; "エラーコード:%u" for an unknown code; empty
    // for an empty list. The subject, when there is one, follows on a line of its
    // own, and the first code's detail on the lines below.
    CString GetMessageText() const;

private:
    CArray<int, int> m_params;
    CStringArray m_details;
    CString m_subject;
};
