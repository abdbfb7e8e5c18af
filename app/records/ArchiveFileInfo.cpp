#include "app/NameSortKey.h"
#include "app/records/ArchiveFileInfo.h"

#include "util/PathHelpers.h"

#include <algorithm>
#include <cwchar>
#include <time.h>

namespace
{
struct ErrorText
{
    const wchar_t* text;
    bool withParam; // followed by "(Error=0x%x)"
};

const ErrorText kErrorTexts[] = {
    {L"対応するDLLがありません", false},                           // 1
    {L"パス名長すぎます(MAX260)", false},                          // 2
    {L"ファイルがありません", true},                               // 3
    {L"圧縮ファイル内に指定のファイルがありません", false},        // 4
    {L"DLL内関数が実装されていません", false},                     // 5
    {L"メモリが不足しています", true},                             // 6
    {L"解凍に失敗しました", true},                                 // 7
    {L"テンポラリファイルオープン失敗しました", false},            // 8
    {L"テンポラリファイル読込失敗しました", false},                // 9
    {L"内部処理異常", false},                                      // 10
    {L"DLL関数未対応", false},                                     // 11
    {L"圧縮ファイルのオープンに失敗しました(OpenArchive)", false}, // 12
    {L"ファイル一覧の取得に失敗しました", false},                  // 13
    {L"画像展開に失敗しました(GetPicture)", false},                // 14
    {L"対応するSusie Plug-inがありません", false},                 // 15
    {L"画像情報の取得に失敗しました(GetPictureInfo)", false},      // 16
    {L"画像プレビューの取得に失敗しました(GetPreview)", false},    // 17
    {L"ファイルリストがありません", false},                        // 18
    {L"ファイルオープンに失敗しました", true},                     // 19
    {L"ファイル読込に失敗しました", true},                         // 20
    {L"ユーザーキャンセル", false},                                // 21
    {L"圧縮に失敗しました", true},                                 // 22
    {L"出力先ディレクトリの作成に失敗しました", true},             // 23
    {L"解凍先パス名が長すぎます(MAX=260)", false},                 // 24
    {L"解凍先パス名が長すぎます(作成不可)(MAX=257)", false},       // 25
    {L"解凍後ファイル名が長すぎます(MAX=260)", false},             // 26
    {L"ファイルの書き込みに失敗しました", true},                   // 27
    {L"対応するDLL/Susie Plug-inがありません", false},             // 28
    {L"解凍に失敗しました(Susie Plug-in)", true},                  // 29
    {L"圧縮ファイルオープン失敗", true},                           // 30
    {L"ファイルオープン失敗(FileStream)", true},                   // 31
    {L"ファイル作成失敗(FileStream)", true},                       // 32
    {L"圧縮失敗(失敗ファイルあり)", true},                         // 33
    {L"パスワードが間違っています", false},                        // 34
    {L"圧縮失敗(ファイルとディレクトリの名前が重複)", false},      // 35
    {L"圧縮失敗(ファイル名変更)", true},                           // 36
    {L"未実装の機能です", false},                                  // 37
    {L"削除失敗", true},                                           // 38
    {L"カレントディレクトリ設定失敗", true},                       // 39
    {L"例外発生", true},                                           // 40
    {L"圧縮ファイル内に同じ名前のファイルが複数あります", false},  // 41
};

constexpr int kErrorTextCount = (int)(sizeof(kErrorTexts) / sizeof(kErrorTexts[0]));

bool IsLibraryCode(DWORD code)
{
    return code == ARCERR_NO_DLL || code == ARCERR_NO_PLUGIN || code == ARCERR_NO_DLL_OR_PLUGIN;
}

// The text of a fixed-size record field that need not end in a NUL.
template <typename Char> int BoundedLength(const Char* text, int field)
{
    int length = 0;
    while (length < field && text[length] != 0)
    {
        ++length;
    }
    return length;
}

void SplitFolderComponents(const CString& folder, CStringArray& out)
{
    CString path(folder);
    path.Replace(L'/', L'\\');
    out.RemoveAll();
    int start = 0;
    while (start < path.GetLength())
    {
        int end = path.Find(L'\\', start);
        if (end < 0)
        {
            end = path.GetLength();
        }
        if (end > start)
        {
            out.Add(path.Mid(start, end - start));
        }
        start = end + 1;
    }
}

// The program's name order as -1, 0 or 1.
int CompareNames(LPCWSTR a, LPCWSTR b)
{
    switch (CompareNamesForSort(a, b))
    {
    case 1:
        return -1;
    case 3:
        return 1;
    default:
        return 0;
    }
}

int AppendPlugInEntry(CArrayArchiveFileInfo& list, const CArchiveFileInfo::PlugInRecordFields& fields,
                      const CString& folderPath, const CString& fileName)
{
    if (fileName.IsEmpty())
    {
        return 0;
    }
    CArchiveFileInfo entry;
    entry.SetName(fileName);
    entry.m_findData.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    entry.m_findData.nFileSizeLow = (DWORD)fields.fileSize;
    entry.m_findData.nFileSizeHigh = (DWORD)(fields.fileSize >> 32);

    CString folder(folderPath);
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'\\')
    {
        folder.Delete(folder.GetLength() - 1);
    }
    entry.m_storedPath.Format(L"%s\\%s", folder.GetString(), fileName.GetString());
    CArchiveFileInfo::NormalizeArchiveItemPath(folder);
    entry.m_folder = folder;

    __time64_t seconds = (__time64_t)fields.timestamp;
    struct tm utc;
    FILETIME time{};
    if (_gmtime64_s(&utc, &seconds) == 0)
    {
        SYSTEMTIME system{};
        system.wYear = (WORD)(utc.tm_year + 1900);
        system.wMonth = (WORD)(utc.tm_mon + 1);
        system.wDay = (WORD)utc.tm_mday;
        system.wHour = (WORD)utc.tm_hour;
        system.wMinute = (WORD)utc.tm_min;
        system.wSecond = (WORD)utc.tm_sec;
        if (!SystemTimeToFileTime(&system, &time))
        {
            time = FILETIME{};
        }
    }
    entry.m_findData.ftCreationTime = time;
    entry.m_findData.ftLastAccessTime = time;
    entry.m_findData.ftLastWriteTime = time;
    entry.m_packedSize = fields.packedSize;
    entry.m_position = fields.position;
    list.Add(entry);
    return 1;
}
} // namespace

// ---- CArchiveFileInfo -----------------------------------------------------------------

CArchiveFileInfo::CArchiveFileInfo() : m_findData{}, m_packedSize(0), m_position(0), m_itemIndex(0) {}

CString CArchiveFileInfo::GetWholeName() const
{
    CString name = m_findData.cFileName;
    if (name.GetLength() >= MAX_PATH - 1)
    {
        const int slash = std::max(m_storedPath.ReverseFind(L'\\'), m_storedPath.ReverseFind(L'/'));
        if (m_storedPath.GetLength() - slash - 1 > name.GetLength())
            name = m_storedPath.Mid(slash + 1);
    }
    return name;
}

void CArchiveFileInfo::SetName(LPCWSTR name)
{
    // Back-ends deliver names of any length; the field holds MAX_PATH - 1
    // characters and its NUL, so a longer name is cut rather than overrun it.
    lstrcpynW(m_findData.cFileName, name != nullptr ? name : L"", MAX_PATH);
    // The 8.3 display form as MakeShortDisplayName makes it (at most 12 characters),
    // written straight into its field: a listing sets a name for every member.
    const wchar_t* full = m_findData.cFileName;
    const wchar_t* dot = wcsrchr(full, L'.');
    wchar_t* out = m_findData.cAlternateFileName;
    const size_t base = dot != nullptr ? static_cast<size_t>(dot - full) : wcslen(full);
    wmemcpy(out, full, base < 8 ? base : 8);
    out += base < 8 ? base : 8;
    if (dot != nullptr)
    {
        *out++ = L'.';
        const size_t extension = wcsnlen(dot + 1, 3);
        wmemcpy(out, dot + 1, extension);
        out += extension;
    }
    *out = 0;
}

void CArchiveFileInfo::MakeShortDisplayName(LPCWSTR name, CString& out)
{
    CString text(name);
    int dot = text.ReverseFind(L'.');
    if (dot < 0)
    {
        out = text.Left(8);
        return;
    }
    CString base = text.Left(dot).Left(8);
    CString extension = text.Mid(dot + 1).Left(3);
    out.Format(L"%s.%s", base.GetString(), extension.GetString());
}

void CArchiveFileInfo::NormalizeArchiveItemPath(CString& path)
{
    path.Replace(L'/', L'\\');
    int leading = 0;
    while (leading < path.GetLength() && path[leading] == L'\\')
    {
        ++leading;
    }
    if (leading > 0)
    {
        path.Delete(0, leading);
    }
    if (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
    {
        path.Delete(path.GetLength() - 1);
    }
}

int CArchiveFileInfo::Compare(const CArchiveFileInfo& other) const
{
    CStringArray mine, theirs;
    SplitFolderComponents(m_folder, mine);
    SplitFolderComponents(other.m_folder, theirs);
    INT_PTR common = mine.GetCount() < theirs.GetCount() ? mine.GetCount() : theirs.GetCount();
    for (INT_PTR i = 0; i < common; ++i)
    {
        int result = CompareNames(mine[i], theirs[i]);
        if (result != 0)
        {
            return result;
        }
    }
    if (mine.GetCount() != theirs.GetCount())
    {
        return mine.GetCount() < theirs.GetCount() ? -1 : 1;
    }
    BOOL myDirectory = (m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    BOOL theirDirectory = (other.m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (myDirectory != theirDirectory)
    {
        return myDirectory ? -1 : 1;
    }
    CString myBase, myExtension, theirBase, theirExtension;
    SplitExtension(m_findData.cFileName, &myBase, &myExtension);
    SplitExtension(other.m_findData.cFileName, &theirBase, &theirExtension);
    int result = CompareNames(myBase, theirBase);
    return result != 0 ? result : CompareNames(myExtension, theirExtension);
}

int CArchiveFileInfo::SetFromPlugInInfo(CArrayArchiveFileInfo& list, const PlugInRecordFields& fields,
                                        const char* folderPath, const char* fileName)
{
    CStringA folderA(folderPath, BoundedLength(folderPath, PLUGIN_TEXT_FIELD));
    CStringA nameA(fileName, BoundedLength(fileName, PLUGIN_TEXT_FIELD));
    return AppendPlugInEntry(list, fields, CString(folderA), CString(nameA));
}

int CArchiveFileInfo::SetFromPlugInInfoW(CArrayArchiveFileInfo& list, const PlugInRecordFields& fields,
                                         const wchar_t* folderPath, const wchar_t* fileName)
{
    return AppendPlugInEntry(list, fields, CString(folderPath, BoundedLength(folderPath, PLUGIN_TEXT_FIELD)),
                             CString(fileName, BoundedLength(fileName, PLUGIN_TEXT_FIELD)));
}

int CArchiveFileInfo::SetFromArchiverInfo(CArrayArchiveFileInfo& list, DWORD originalSize, WORD dosDate,
                                          WORD dosTime, const char* fileName, const char* attributeLetters)
{
    CArchiveFileInfo entry;
    entry.m_storedPath = CString(CStringA(fileName, BoundedLength(fileName, ARCHIVER_NAME_FIELD)));

    CString path(entry.m_storedPath);
    path.Replace(L'/', L'\\');
    int leading = 0;
    while (leading < path.GetLength() && path[leading] == L'\\')
    {
        ++leading;
    }
    path.Delete(0, leading);
    if (path.IsEmpty())
    {
        return 0;
    }
    BOOL directory = path[path.GetLength() - 1] == L'\\';
    int split = path.ReverseFind(L'\\');
    if (split < 0)
    {
        entry.SetName(path);
    }
    else
    {
        entry.m_folder = path.Left(split);
        entry.SetName(path.Mid(split + 1));
    }

    DWORD attributes = directory ? FILE_ATTRIBUTE_DIRECTORY : 0;
    for (int i = 0; attributeLetters != nullptr && i < ARCHIVER_ATTRIBUTE_FIELD && attributeLetters[i] != 0;
         ++i)
    {
        switch (attributeLetters[i] & ~0x20)
        {
        case 'A':
            attributes |= FILE_ATTRIBUTE_ARCHIVE;
            break;
        case 'D':
            attributes |= FILE_ATTRIBUTE_DIRECTORY;
            break;
        case 'H':
            attributes |= FILE_ATTRIBUTE_HIDDEN;
            break;
        case 'R':
            attributes |= FILE_ATTRIBUTE_READONLY;
            break;
        case 'S':
            attributes |= FILE_ATTRIBUTE_SYSTEM;
            break;
        default:
            break;
        }
    }
    entry.m_findData.dwFileAttributes = attributes;

    FILETIME local{}, utc{};
    if (DosDateTimeToFileTime(dosDate, dosTime, &local))
    {
        LocalFileTimeToFileTime(&local, &utc);
    }
    entry.m_findData.ftCreationTime = utc;
    entry.m_findData.ftLastAccessTime = utc;
    entry.m_findData.ftLastWriteTime = utc;
    entry.m_findData.nFileSizeLow = originalSize;
    entry.m_findData.nFileSizeHigh = 0;
    list.Add(entry);
    return 1;
}

// ---- CArrayArchiveFileInfo --------------------------------------------------------------

CArchiveFileInfo* CArrayArchiveFileInfo::FindEntry(LPCWSTR folder, LPCWSTR name, int* matches)
{
    CArchiveFileInfo* found = nullptr;
    CArchiveFileInfo* exact = nullptr;
    int count = 0;
    int exactCount = 0;
    for (INT_PTR i = 0; i < GetCount(); ++i)
    {
        CArchiveFileInfo& entry = GetAt(i);
        if (entry.m_folder.CompareNoCase(folder) != 0 || lstrcmpiW(entry.m_findData.cFileName, name) != 0)
        {
            continue;
        }
        if (count++ == 0)
        {
            found = &entry;
        }
        if (entry.m_folder.Compare(folder) == 0 && wcscmp(entry.m_findData.cFileName, name) == 0 &&
            exactCount++ == 0)
        {
            exact = &entry;
        }
    }
    if (matches != nullptr)
    {
        *matches = count;
    }
    if (count == 1)
    {
        return found;
    }
    return exactCount == 1 ? exact : nullptr;
}

CArchiveFileInfo* CArrayArchiveFileInfo::FindNamedEntry(LPCWSTR folder, LPCWSTR name, CErrorIF& errors)
{
    int matches = 0;
    CArchiveFileInfo* entry = FindEntry(folder, name, &matches);
    if (entry != nullptr)
    {
        return entry;
    }
    if (matches > 1)
    {
        errors.Add(ARCERR_AMBIGUOUS_NAME, matches);
        errors.SetSubject(folder != nullptr && *folder != 0 ? CString(folder) + L"\\" + name : CString(name));
    }
    else
    {
        errors.Add(ARCERR_NO_MEMBER, 0);
    }
    return nullptr;
}

// ---- CErrorIF ------------------------------------------------------------------------

void CErrorIF::Clear()
{
    RemoveAll();
    m_params.RemoveAll();
    m_details.RemoveAll();
    m_subject.Empty();
}

void CErrorIF::SetSubject(const CString& subject)
{
    if (m_subject.IsEmpty())
    {
        m_subject = subject;
    }
}

void CErrorIF::Add(DWORD code, int param)
{
    Add(code, param, CString());
}

void CErrorIF::Add(DWORD code, int param, const CString& detail)
{
    for (INT_PTR i = 0; i < GetCount(); ++i)
    {
        DWORD held = GetAt(i);
        if (held == code)
        {
            return;
        }
        if (IsLibraryCode(code) && IsLibraryCode(held))
        {
            SetAt(i, ARCERR_NO_DLL_OR_PLUGIN);
            return;
        }
    }
    CDWordArray::Add(code);
    m_params.Add(param);
    m_details.Add(detail);
}

void CErrorIF::AddFrom(const CErrorIF& other)
{
    for (INT_PTR i = 0; i < other.GetCount(); ++i)
    {
        Add(other.GetAt(i), other.GetParam(i), other.GetDetail(i));
    }
    SetSubject(other.m_subject);
}

void CErrorIF::CopyFrom(const CErrorIF& other)
{
    if (&other == this)
    {
        return;
    }
    Copy(other);
    m_params.Copy(other.m_params);
    m_details.Copy(other.m_details);
    m_subject = other.m_subject;
}

int CErrorIF::HasCode(DWORD code) const
{
    for (INT_PTR i = 0; i < GetCount(); ++i)
    {
        if (GetAt(i) == code)
        {
            return 1;
        }
    }
    return 0;
}

int CErrorIF::GetParam(INT_PTR index) const
{
    if (index < 0 || index >= m_params.GetCount())
    {
        return 0;
    }
    return m_params[index];
}

CString CErrorIF::GetDetail(INT_PTR index) const
{
    if (index < 0 || index >= m_details.GetCount())
    {
        return CString();
    }
    return m_details[index];
}

CString CErrorIF::GetMessageText() const
{
    CString text;
    if (IsEmpty())
    {
        return text;
    }
    DWORD code = GetAt(0);
    if (code < 1 || code > (DWORD)kErrorTextCount)
    {
        text.Format(L"エラーコード:%u", code);
        return text;
    }
    const ErrorText& entry = kErrorTexts[code - 1];
    text = entry.text;
    if (entry.withParam)
    {
        CString suffix;
        suffix.Format(L"(Error=0x%x)", (unsigned)GetParam(0));
        text += suffix;
    }
    if (!m_subject.IsEmpty())
    {
        text += L"\n" + m_subject;
    }
    const CString detail = GetDetail(0);
    if (!detail.IsEmpty())
    {
        text += L"\n" + detail;
    }
    return text;
}
