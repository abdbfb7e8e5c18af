#include "archivefront/archiver/ArchiverDll.h"

#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/records/LocalMemory.h"
#include "archiveclient/ops/ClientUtils.h"
#include "framework/FwLock.h"
#include "fs/LongPath.h"

#include <new>
#include <vector>

namespace
{
enum
{
    ERR_PATH_TOO_LONG = 2,
    ERR_NO_FILE = 3,
    ERR_NO_MEMBER = 4,
    ERR_NO_EXPORT = 5,
    ERR_NO_MEMORY = 6,
    ERR_EXTRACT = 7,
    ERR_TEMP_OPEN = 8,
    ERR_TEMP_READ = 9,
    ERR_INTERNAL = 10,
    ERR_FUNCTION_UNSUPPORTED = 11,
    ERR_OPEN_ARCHIVE = 12,
    ERR_PACK = 22,
    ERR_MAKE_DESTINATION = 23,
    ERR_DESTINATION_TOO_LONG = 24,
    ERR_DESTINATION_UNCREATABLE = 25,
    ERR_TARGET_TOO_LONG = 26,
};

// What a library returns when the user cancelled inside it.
constexpr int kCancelledByUser = 0x8020;
constexpr int kOutputBufferBytes = 30000;
// The library's per-file record: the fields the listing reads, by byte offset.
constexpr int kRecordSizeOffset = 0;
constexpr int kRecordDateOffset = 22;
constexpr int kRecordTimeOffset = 24;
constexpr int kRecordNameOffset = 26;
constexpr int kRecordAttributeOffset = 542;
constexpr int kRecordBytes = 1024;

typedef int(WINAPI* CommandProc)(HWND, LPCSTR, LPSTR, DWORD);
typedef BOOL(WINAPI* CheckArchiveProc)(LPCSTR, int);
typedef HANDLE(WINAPI* OpenArchiveProc)(HWND, LPCSTR, DWORD);
typedef int(WINAPI* FindFirstProc)(HANDLE, LPCSTR, void*);
typedef int(WINAPI* FindNextProc)(HANDLE, void*);
typedef int(WINAPI* CloseArchiveProc)(HANDLE);
typedef BOOL(WINAPI* QueryFunctionListProc)(int);
typedef WORD(WINAPI* GetVersionProc)();
typedef BOOL(WINAPI* SetOwnerWindowProc)(HWND);
typedef BOOL(WINAPI* ClearOwnerWindowProc)();
typedef BOOL(WINAPI* ConfigDialogProc)(HWND, LPSTR, int);

// GetProcAddress gives every export one type; the calling convention of each is
// the library family's.
template <typename T> T ExportAs(FARPROC proc)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(proc));
}

CString Quoted(CString text)
{
    QuoteIfContainsBlank(text);
    return text;
}

CString WithTrailingBackslash(const CString& text)
{
    if (text.IsEmpty() || text[text.GetLength() - 1] == L'\\')
        return text;
    return text + L"\\";
}

CString WithoutTrailingBackslash(CString text)
{
    if (!text.IsEmpty() && text[text.GetLength() - 1] == L'\\')
        text = text.Left(text.GetLength() - 1);
    return text;
}

// The ZIP library reads "@" (and, in member paths, "!", "-", "[", "]" and "^") as
// pattern characters.
CString EscapeZipName(LPCWSTR name, bool backslashes)
{
    CString out;
    for (const wchar_t* p = name; *p; ++p)
    {
        if (*p == L'@')
            out += L"[@]";
        else
        {
            if (backslashes && wcschr(L"!-[]^", *p))
                out += L'\\';
            out += *p;
        }
    }
    return out;
}

// A stored name as the libraries compare it: either separator, no leading one,
// case aside.
CString StoredNameKey(const CString& stored)
{
    CString key = stored;
    key.Replace(L'/', L'\\');
    key.TrimLeft(L'\\');
    key.MakeLower();
    return key;
}

// The first member of the listing with that stored name; `count` gets how many
// members have it.
CArchiveFileInfo* FindStoredName(CArrayArchiveFileInfo& listing, const CString& stored, int* count)
{
    const CString key = StoredNameKey(stored);
    CArchiveFileInfo* first = nullptr;
    int found = 0;
    for (INT_PTR i = 0; i < listing.GetSize(); ++i)
    {
        if (StoredNameKey(listing[i].m_storedPath) != key)
            continue;
        if (found++ == 0)
            first = &listing[i];
    }
    if (count)
        *count = found;
    return first;
}

// The extension after the last "." of the name's last element; empty without one.
CString ExtensionOf(LPCWSTR name)
{
    CString text(name);
    int slash = text.ReverseFind(L'\\');
    int dot = text.ReverseFind(L'.');
    if (dot < 0 || dot < slash)
        return CString();
    return text.Mid(dot + 1);
}

bool RowListsExtension(const CArchiverLibraryRow& row, const CString& extension)
{
    if (extension.IsEmpty())
        return false;
    CString list(row.extensions);
    int start = 0;
    for (int comma = list.Find(L',', start); comma >= 0; start = comma + 1, comma = list.Find(L',', start))
        if (list.Mid(start, comma - start).CompareNoCase(extension) == 0)
            return true;
    return false;
}

int AnsiLength(LPCWSTR text)
{
    CStringA ansi;
    WideToAnsiString(text, ansi);
    return ansi.GetLength();
}

// Creates the folder and its missing parents; FALSE with the system's error.
BOOL MakeFolders(const CString& folder)
{
    CString path = WithoutTrailingBackslash(folder);
    if (path.IsEmpty())
    {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    DWORD attributes = GetFileAttributesLong(path);
    if (attributes != INVALID_FILE_ATTRIBUTES)
    {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return TRUE;
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    int slash = path.ReverseFind(L'\\');
    if (slash > 0 && path[slash - 1] != L':' && path[slash - 1] != L'\\' && !MakeFolders(path.Left(slash)))
        return FALSE;
    if (CreateDirectoryLong(path, nullptr))
        return TRUE;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

// A fresh folder under the system's temporary folder for one extraction: the
// library writes only there, and nothing that was there before is touched.
BOOL MakeJobFolder(CString& out)
{
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return FALSE;
    CString base = WithoutTrailingBackslash(CString(temp));
    static LONG s_counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        CString candidate;
        candidate.Format(L"%s\\qvarc%lx_%lx", base.GetString(), GetCurrentProcessId(),
                         static_cast<unsigned long>(InterlockedIncrement(&s_counter)));
        if (CreateDirectoryLong(candidate, nullptr))
        {
            out = candidate;
            return TRUE;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return FALSE;
    }
    return FALSE;
}

// A folder as the library's command line takes it: the line is split at blanks and
// a quoted folder would end in backslash-quote, so a folder with blanks goes in its
// short form, and is quoted only when it has none.
CString FolderArgument(const CString& folder)
{
    if (folder.Find(L' ') < 0)
        return folder + L"\\";
    wchar_t shortPath[MAX_PATH + 1] = {};
    DWORD length = GetShortPathNameAsGiven(folder, shortPath, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH && wcschr(shortPath, L' ') == nullptr)
        return CString(shortPath) + L"\\";
    return L"\"" + folder + L"\\\"";
}
} // namespace

CArchiverDll::CArchiverDll()
    : m_archiveFind(), m_ownerSet(0), m_row(-1), m_library(nullptr), m_viaBridge(0), m_ignoreFolders(0)
{
}

CArchiverDll::~CArchiverDll()
{
    FreeLibrary();
}

int CArchiverDll::IsSupportedName(LPCWSTR name, int flags)
{
    if (!name)
        return 0;
    CString extension = ExtensionOf(name);
    for (const CArchiverLibraryRow& row : g_ArchiverLibraryTable)
        if ((row.openMask & flags) && RowListsExtension(row, extension))
            return 1;
    return 0;
}

CString CArchiverDll::GetBridgeLibraryPath()
{
    CString folder;
    {
        CHandleLock lock(g_DataMutex);
        folder = g_UnbypassDllPath;
    }
    return WithTrailingBackslash(folder) + L"Unbypass.dll";
}

void CArchiverDll::FreeLibrary()
{
    if (m_library)
        ::FreeLibrary(m_library);
    m_library = nullptr;
}

FARPROC CArchiverDll::GetExport(const char* suffix) const
{
    if (!m_library || m_row < 0 || m_row >= ARCHIVER_ROW_COUNT)
        return nullptr;
    CStringA name(g_ArchiverLibraryTable[m_row].prefix);
    name += suffix;
    return GetProcAddress(m_library, name);
}

int CArchiverDll::LoadRowLibrary(int purpose, int row)
{
    m_viaBridge = 0;
    if (row < 0 || row >= ARCHIVER_ROW_COUNT || m_library)
        return 0;
    const CArchiverLibraryRow& entry = g_ArchiverLibraryTable[row];
    if (purpose == ARCOPEN_UNPACK && entry.library64[0])
    {
        m_library = LoadLibraryW(entry.library64);
        if (m_library)
        {
            m_libraryPath = entry.library64;
            return 1;
        }
    }
    CString bridge = GetBridgeLibraryPath();
    m_library = LoadLibraryW(bridge);
    if (!m_library)
        return 0;
    m_libraryPath = bridge;
    m_viaBridge = 1;
    return 1;
}

int CArchiverDll::Open(LPCWSTR path, int flags, int firstRow)
{
    if (!path || !path[0])
    {
        if (!m_library && !m_libraryPath.IsEmpty())
            m_library = LoadLibraryW(m_libraryPath);
        if (m_library)
            return m_row;
        m_errors.Add(ARCERR_NO_DLL, 0);
        return -1;
    }
    m_viaBridge = 0;
    FreeLibrary();
    m_errors.Clear();
    if (AnsiLength(path) >= MAX_PATH)
    {
        m_errors.Add(ERR_PATH_TOO_LONG, 0);
        return -1;
    }
    HANDLE find = FindFirstFileLong(path, &m_archiveFind);
    if (find == INVALID_HANDLE_VALUE)
    {
        m_errors.Add(ERR_NO_FILE, static_cast<int>(GetLastError()));
        return -1;
    }
    FindCloseLong(find);

    CStringA ansiPath;
    WideToAnsiString(path, ansiPath);
    CString extension = ExtensionOf(path);
    int purpose = (flags & ARCOPEN_PACK) ? ARCOPEN_PACK : ARCOPEN_UNPACK;
    for (int row = firstRow < 0 ? 0 : firstRow; row < ARCHIVER_ROW_COUNT; ++row)
    {
        const CArchiverLibraryRow& entry = g_ArchiverLibraryTable[row];
        // Every extension of a row is listed once, so a row is asked at most once.
        if (!(entry.openMask & flags) || !RowListsExtension(entry, extension))
            continue;
        if (!LoadRowLibrary(purpose, row))
            continue;
        int previousRow = m_row;
        m_row = row;
        if (flags & ARCOPEN_PACK)
        {
            m_archivePath = path;
            return row;
        }
        auto check = ExportAs<CheckArchiveProc>(GetExport("CheckArchive"));
        if (check && check(ansiPath, entry.checkMode))
        {
            m_archivePath = path;
            return row;
        }
        m_row = previousRow;
        FreeLibrary();
    }
    m_errors.Add(ARCERR_NO_DLL, 0);
    return -1;
}

int CArchiverDll::ListEntries(LPCWSTR path)
{
    m_errors.Clear();
    m_listing.RemoveAll();
    CString archive = path && path[0] ? CString(path) : m_archivePath;
    if (!m_library && Open(archive, ARCOPEN_MEMBER_TO_MEMORY | ARCOPEN_MEMBER_VIA_TEMP, 0) < 0)
        return 0;

    auto check = ExportAs<CheckArchiveProc>(GetExport("CheckArchive"));
    auto openArchive = ExportAs<OpenArchiveProc>(GetExport("OpenArchive"));
    auto closeArchive = ExportAs<CloseArchiveProc>(GetExport("CloseArchive"));
    auto findFirst = ExportAs<FindFirstProc>(GetExport("FindFirst"));
    auto findNext = ExportAs<FindNextProc>(GetExport("FindNext"));
    auto query = ExportAs<QueryFunctionListProc>(GetExport("QueryFunctionList"));
    if (!check || !openArchive || !closeArchive || !findFirst || !findNext || !query)
    {
        m_errors.Add(ERR_NO_EXPORT, 0);
        return 0;
    }
    for (int function : {16, 23, 24, 25, 26})
    {
        if (!query(function))
        {
            m_errors.Add(ERR_FUNCTION_UNSUPPORTED, 0);
            return 0;
        }
    }
    const CArchiverLibraryRow& row = g_ArchiverLibraryTable[m_row];
    CStringA ansiPath;
    WideToAnsiString(archive, ansiPath);
    HANDLE handle = openArchive(nullptr, ansiPath, static_cast<DWORD>(row.openMode));
    if (!handle)
    {
        m_errors.Add(ERR_OPEN_ARCHIVE, 0);
        return 0;
    }
    std::vector<char> record(kRecordBytes, 0);
    char* name = record.data() + kRecordNameOffset;
    memset(name, 0, CArchiveFileInfo::ARCHIVER_NAME_FIELD);
    if (findFirst(handle, row.wildcard, record.data()) != -1)
    {
        for (;;)
        {
            // A library may fill the name field to its end.
            name[CArchiveFileInfo::ARCHIVER_NAME_FIELD - 1] = 0;
            DWORD size;
            WORD date, time;
            memcpy(&size, record.data() + kRecordSizeOffset, sizeof size);
            memcpy(&date, record.data() + kRecordDateOffset, sizeof date);
            memcpy(&time, record.data() + kRecordTimeOffset, sizeof time);
            CArchiveFileInfo::SetFromArchiverInfo(m_listing, size, date, time, name,
                                                  record.data() + kRecordAttributeOffset);
            memset(name, 0, CArchiveFileInfo::ARCHIVER_NAME_FIELD);
            if (findNext(handle, record.data()) != 0)
                break;
        }
    }
    closeArchive(handle);
    return 1;
}

int CArchiverDll::ExtractToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer, DWORD* size)
{
    return ExtractMember(archive, nullptr, folder, name, buffer, size);
}

int CArchiverDll::ExtractToMemory(LPCWSTR archive, const CArchiveFileInfo& member, void** buffer, DWORD* size)
{
    // A copy: opening the library again lists the archive anew.
    const CArchiveFileInfo chosen = member;
    return ExtractMember(archive, &chosen, nullptr, nullptr, buffer, size);
}

int CArchiverDll::ExtractMember(LPCWSTR archive, const CArchiveFileInfo* chosen, LPCWSTR folder, LPCWSTR name,
                                void** buffer, DWORD* size)
{
    if (buffer)
        *buffer = nullptr;
    DWORD limit = size ? *size : 0;
    CErrorIF firstErrors;
    for (int method = ARCOPEN_MEMBER_TO_MEMORY; method <= ARCOPEN_MEMBER_VIA_TEMP; ++method)
    {
        m_errors.Clear();
        DWORD delivered = limit;
        void* block = nullptr;
        if (ExtractOne(method, archive, chosen, folder, name, &block, &delivered))
        {
            if (buffer)
                *buffer = block;
            else
                LocalFreeLocked(block);
            if (size)
                *size = delivered;
            return 1;
        }
        if (method == ARCOPEN_MEMBER_TO_MEMORY)
            firstErrors.CopyFrom(m_errors);
    }
    firstErrors.AddFrom(m_errors);
    m_errors.CopyFrom(firstErrors);
    return 0;
}

int CArchiverDll::ExtractOne(int method, LPCWSTR archive, const CArchiveFileInfo* chosen, LPCWSTR folder,
                             LPCWSTR name, void** buffer, DWORD* size)
{
    bool archiveGiven = archive && archive[0];
    if (!m_library)
    {
        if (Open(archiveGiven ? archive : nullptr, method, 0) < 0)
            return 0;
        if (archiveGiven && !ListEntries(archive))
            return 0;
    }
    const CArchiverLibraryRow& row = g_ArchiverLibraryTable[m_row];
    if (!(row.openMask & method))
    {
        m_errors.Add(ERR_INTERNAL, 0);
        return 0;
    }
    CArchiveFileInfo* member = nullptr;
    if (chosen)
    {
        member = FindStoredName(m_listing, chosen->m_storedPath, nullptr);
        if (!member)
        {
            m_errors.Add(ERR_NO_MEMBER, 0);
            return 0;
        }
    }
    else
    {
        member = m_listing.FindNamedEntry(folder ? folder : L"", name ? name : L"", m_errors);
        if (!member)
            return 0;
    }
    // The command line names the member by its stored name, which the library
    // matches against every member: with two of that name it would pick one itself.
    int sharing = 0;
    FindStoredName(m_listing, member->m_storedPath, &sharing);
    if (sharing > 1)
    {
        m_errors.Add(ARCERR_AMBIGUOUS_NAME, sharing);
        m_errors.SetSubject(chosen ? chosen->m_storedPath : member->m_storedPath);
        return 0;
    }
    CString archiveArg = Quoted(archiveGiven ? CString(archive) : m_archivePath);
    CString memberArg =
        Quoted(m_row == ARCHIVER_ROW_ZIP ? EscapeZipName(member->m_storedPath, true) : member->m_storedPath);
    DWORD memberSize = member->m_findData.nFileSizeLow;
    if (*size != 0 && *size < memberSize)
        memberSize = *size;
    // The library is told the block's size, one byte more than the member's, in 32 bits.
    if (memberSize == MAXDWORD)
    {
        m_errors.Add(ERR_NO_MEMORY, ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto command = ExportAs<CommandProc>(GetExport(""));
    if (!command)
    {
        m_errors.Add(ERR_NO_EXPORT, 0);
        return 0;
    }

    if (method == ARCOPEN_MEMBER_TO_MEMORY)
    {
        if (m_row != ARCHIVER_ROW_ZIP)
        {
            m_errors.Add(ARCERR_NO_DLL, 0);
            return 0;
        }
        CString line;
        line.Format(L"-p %s %s", archiveArg.GetString(), memberArg.GetString());
        void* block = LocalAllocLocked(LMEM_MOVEABLE | LMEM_ZEROINIT, memberSize + 1);
        if (!block)
        {
            m_errors.Add(ERR_NO_MEMORY, static_cast<int>(GetLastError()));
            return 0;
        }
        CStringA ansiLine;
        WideToAnsiString(line, ansiLine);
        int result = command(nullptr, ansiLine, static_cast<LPSTR>(block), memberSize + 1);
        if (result != 0)
        {
            m_errors.Add(ERR_EXTRACT, result);
            LocalFreeLocked(block);
            return 0;
        }
        *buffer = block;
        *size = memberSize;
        return 1;
    }

    // The member's path comes from the archive: one that leaves the folder it is
    // extracted into ("..", a drive, a root) is not extracted at all.
    CString relative = member->m_folder.IsEmpty() ? CString(member->m_findData.cFileName)
                                                  : member->m_folder + L"\\" + member->m_findData.cFileName;
    CString stored = member->m_storedPath;
    stored.TrimLeft(L"\\/");
    if (!IsSafeRelativePath(relative) || !IsSafeRelativePath(stored))
    {
        m_errors.Add(ERR_EXTRACT, ERROR_INVALID_NAME);
        return 0;
    }
    CString listed(row.extractListed);
    if (listed.IsEmpty())
    {
        m_errors.Add(ARCERR_NO_DLL, 0);
        return 0;
    }
    CString jobFolder;
    if (!MakeJobFolder(jobFolder))
    {
        m_errors.Add(ERR_TEMP_OPEN, static_cast<int>(GetLastError()));
        return 0;
    }
    CString line;
    line.Format(L"%s %s %s %s", listed.GetString(), archiveArg.GetString(),
                FolderArgument(jobFolder).GetString(), memberArg.GetString());
    CStringA ansiLine;
    WideToAnsiString(line, ansiLine);
    int result = command(nullptr, ansiLine, nullptr, 0);
    int done = 0;
    if (result != 0)
        m_errors.Add(ERR_EXTRACT, result);
    else
        done = ReadBackFromTemp(jobFolder, relative, memberSize, buffer);
    RemoveFolderTreeLong(jobFolder);
    if (done)
        *size = memberSize;
    return done;
}

int CArchiverDll::ReadBackFromTemp(const CString& jobFolder, const CString& relative, DWORD size,
                                   void** buffer)
{
    HANDLE file = CreateFileLong(jobFolder + L"\\" + relative, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        m_errors.Add(ERR_TEMP_OPEN, static_cast<int>(GetLastError()));
        return 0;
    }
    void* block = LocalAllocLocked(LMEM_MOVEABLE | LMEM_ZEROINIT, size + 1);
    if (!block)
    {
        m_errors.Add(ERR_NO_MEMORY, static_cast<int>(GetLastError()));
        CloseHandle(file);
        return 0;
    }
    DWORD read = 0;
    if (!ReadFile(file, block, size, &read, nullptr) || read != size)
    {
        m_errors.Add(ERR_TEMP_READ, static_cast<int>(GetLastError()));
        LocalFreeLocked(block);
        CloseHandle(file);
        return 0;
    }
    CloseHandle(file);
    *buffer = block;
    return 1;
}

int CArchiverDll::CheckTargetLength(const CString& member)
{
    int slash = member.ReverseFind(L'\\');
    CString folder = slash < 0 ? CString() : member.Left(slash);
    CString name = slash < 0 ? member : member.Mid(slash + 1);
    CString destination = WithoutTrailingBackslash(m_destination);
    CString targetFolder = (m_ignoreFolders || folder.IsEmpty()) ? destination : destination + L"\\" + folder;
    CString target = targetFolder + L"\\" + name;
    if (targetFolder.GetLength() > 254)
    {
        m_errors.Add(ERR_DESTINATION_TOO_LONG, 0);
        return 0;
    }
    if (targetFolder.GetLength() >= 247 && GetFileAttributesLong(targetFolder) == INVALID_FILE_ATTRIBUTES)
    {
        m_errors.Add(ERR_DESTINATION_UNCREATABLE, 0);
        return 0;
    }
    if (AnsiLength(target) >= MAX_PATH)
    {
        m_errors.Add(ERR_TARGET_TOO_LONG, 0);
        return 0;
    }
    return 1;
}

int CArchiverDll::Extract(HWND owner, CProgressInfo* /*progress*/)
{
    if (m_archiveArg.IsEmpty())
        m_archiveArg = Quoted(m_archivePath);
    m_errors.Clear();
    if (!m_library && !LoadRowLibrary(ARCOPEN_UNPACK, m_row))
    {
        m_errors.Add(ARCERR_NO_DLL, 0);
        return 0;
    }
    const CArchiverLibraryRow& row = g_ArchiverLibraryTable[m_row];
    bool sevenZip = m_row == ARCHIVER_ROW_7Z;
    CString line;
    if (m_fileList.IsEmpty())
    {
        CString command(m_ignoreFolders ? row.extractAllFlat : row.extractAll);
        if (!command.IsEmpty() && !m_switches.IsEmpty())
            command += L" " + m_switches;
        if (!MakeFolders(m_destination))
        {
            m_errors.Add(ERR_MAKE_DESTINATION, static_cast<int>(GetLastError()));
            return 0;
        }
        line.Format(sevenZip ? L"%s %s -o%s" : L"%s %s %s", command.GetString(), m_archiveArg.GetString(),
                    m_destinationArg.GetString());
        for (INT_PTR i = 0; i < m_listing.GetSize(); ++i)
        {
            const CArchiveFileInfo& member = m_listing[i];
            if (!member.m_findData.cFileName[0])
                continue;
            CString path = member.m_folder.IsEmpty() ? CString(member.m_findData.cFileName)
                                                     : member.m_folder + L"\\" + member.m_findData.cFileName;
            if (!CheckTargetLength(path))
                return 0;
        }
    }
    else
    {
        CString command(m_ignoreFolders ? row.extractListedFlat : row.extractListed);
        if (command.IsEmpty())
        {
            m_errors.Add(ARCERR_NO_DLL, 0);
            return 0;
        }
        if (!MakeFolders(m_destination))
        {
            m_errors.Add(ERR_MAKE_DESTINATION, static_cast<int>(GetLastError()));
            return 0;
        }
        line.Format(sevenZip ? L"%s %s -o%s %s" : L"%s %s %s %s", command.GetString(),
                    m_archiveArg.GetString(), m_destinationArg.GetString(), m_fileList.GetString());
    }
    return RunCommand(owner, line);
}

int CArchiverDll::RunCommand(HWND owner, const CString& command)
{
    auto setOwner = ExportAs<SetOwnerWindowProc>(GetExport("SetOwnerWindow"));
    auto clearOwner = ExportAs<ClearOwnerWindowProc>(GetExport("ClearOwnerWindow"));
    if (setOwner)
        m_ownerSet = setOwner(owner);
    auto release = [&]() {
        if (m_ownerSet && clearOwner)
            clearOwner();
    };
    std::vector<char> output;
    try
    {
        output.assign(kOutputBufferBytes, 0);
    }
    catch (const std::bad_alloc&)
    {
        release();
        m_errors.Add(ERR_NO_MEMORY, ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto run = ExportAs<CommandProc>(GetExport(""));
    if (!run)
    {
        release();
        m_errors.Add(ERR_NO_EXPORT, 0);
        return 0;
    }
    CStringA line;
    if (!WideToAnsiString(command, line))
    {
        release();
        m_errors.Add(ERR_NO_MEMORY, static_cast<int>(GetLastError()));
        return 0;
    }
    int result = run(owner, line, output.data(), kOutputBufferBytes - 1);
    release();
    if (owner && IsWindow(owner) && !GetActiveWindow())
        SetActiveWindow(owner);
    output[kOutputBufferBytes - 1] = 0;
    AnsiToWideString(output.data(), m_lastOutput);
    if (result == 0)
        return 1;
    if (result == kCancelledByUser)
        m_errors.Add(ARCERR_USER_CANCEL, 0);
    else
        m_errors.Add(ERR_EXTRACT, result);
    return 0;
}

int CArchiverDll::LoadForPacking(int row)
{
    m_viaBridge = 0;
    m_errors.Clear();
    // Packing goes through another library than reading may have loaded.
    FreeLibrary();
    if (!LoadRowLibrary(ARCOPEN_PACK, row))
    {
        m_errors.Add(ARCERR_NO_DLL, 0);
        return 0;
    }
    m_row = row;
    if (row == ARCHIVER_ROW_LZH)
    {
        auto version = ExportAs<GetVersionProc>(GetExport("GetVersion"));
        if (version && version() > 150)
        {
            for (LPCWSTR refused : {L"-gf1", L"-gf0"})
            {
                bool known = false;
                for (INT_PTR i = 0; i < m_refusedSwitches.GetSize(); ++i)
                    known = known || m_refusedSwitches[i] == refused;
                if (!known)
                    m_refusedSwitches.Add(refused);
            }
        }
    }
    return 1;
}

int CArchiverDll::CreateArchive(HWND packDialog, int /*flag*/)
{
    if (m_archiveArg.IsEmpty())
        m_archiveArg = Quoted(m_archivePath);
    m_errors.Clear();
    LPCWSTR command = m_row == ARCHIVER_ROW_LZH ? L"a" : m_row == ARCHIVER_ROW_ZIP ? L"-r" : nullptr;
    if (!command)
    {
        m_errors.Add(ARCERR_NO_DLL, 0);
        return 0;
    }
    CString line;
    line.Format(L"%s %s %s %s ", command, m_switches.GetString(), m_archiveArg.GetString(),
                m_baseFolder.GetString());
    line += m_fileList;
    return RunPackCommand(packDialog, line);
}

int CArchiverDll::MakeSelfExtracting(HWND packDialog, int /*flag*/)
{
    if (m_archiveArg.IsEmpty())
        m_archiveArg = Quoted(m_archivePath);
    m_errors.Clear();
    LPCWSTR command = m_row == ARCHIVER_ROW_LZH ? L"s " : m_row == ARCHIVER_ROW_ZIP ? L"" : nullptr;
    if (!command)
    {
        m_errors.Add(ARCERR_NO_DLL, 0);
        return 0;
    }
    CString line;
    line.Format(L"%s%s %s%s %s ", command, m_switches.GetString(), m_archiveArg.GetString(), L"",
                m_destinationArg.GetString());
    return RunPackCommand(packDialog, line);
}

int CArchiverDll::RunPackCommand(HWND packDialog, const CString& line)
{
    const char* exportName = m_row == ARCHIVER_ROW_LZH   ? "Unlha"
                             : m_row == ARCHIVER_ROW_ZIP ? "Zip"
                                                         : nullptr;
    if (!exportName)
    {
        m_errors.Add(ARCERR_NO_DLL, 0);
        return 0;
    }
    if (!m_library)
    {
        m_library = LoadLibraryW(GetBridgeLibraryPath());
        if (!m_library)
        {
            m_errors.Add(ARCERR_NO_DLL, 0);
            return 0;
        }
        m_libraryPath = GetBridgeLibraryPath();
        m_viaBridge = 1;
    }
    std::vector<char> output;
    try
    {
        output.assign(kOutputBufferBytes, 0);
    }
    catch (const std::bad_alloc&)
    {
        m_errors.Add(ERR_NO_MEMORY, ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto run = ExportAs<CommandProc>(GetProcAddress(m_library, exportName));
    if (!run)
    {
        m_errors.Add(ERR_NO_EXPORT, 0);
        return 0;
    }
    CStringA ansiLine;
    WideToAnsiString(line, ansiLine);
    HWND window = packDialog && IsWindow(packDialog) ? packDialog : nullptr;
    int result = run(window, ansiLine, output.data(), kOutputBufferBytes - 1);
    output[kOutputBufferBytes - 1] = 0;
    AnsiToWideString(output.data(), m_lastOutput);
    if (result == 0)
        return 1;
    if (result == kCancelledByUser)
        m_errors.Add(ARCERR_USER_CANCEL, 0);
    else
        m_errors.Add(ERR_PACK, result);
    return 0;
}

void CArchiverDll::AddSwitch(const CString& text)
{
    if (text.IsEmpty())
        return;
    for (INT_PTR i = 0; i < m_refusedSwitches.GetSize(); ++i)
        if (m_refusedSwitches[i] == text)
            return;
    if (!m_switches.IsEmpty())
        m_switches += L" ";
    m_switches += text;
}

void CArchiverDll::AddName(const CString& name, BOOL asFile)
{
    CString text = m_row == ARCHIVER_ROW_ZIP ? EscapeZipName(name, false) : name;
    // The libraries read any word that begins with "-" as a switch: a file named
    // "-m" would turn into "move into the archive" and lose its source.
    if (asFile && !text.IsEmpty() && text[0] == L'-')
        text = L".\\" + text;
    if (!m_fileList.IsEmpty())
        m_fileList += L" ";
    m_fileList += L"\"" + text + L"\"";
}

void CArchiverDll::SetOption(int index, LPCWSTR text)
{
    CString value(text ? text : L"");
    bool haveRow = m_row >= 0 && m_row < ARCHIVER_ROW_COUNT;
    switch (index)
    {
    case 0:
        m_baseFolder = Quoted(WithTrailingBackslash(value));
        break;
    case 1:
        m_archiveArg = Quoted(value.IsEmpty() ? m_archivePath : value);
        break;
    case 3:
        AddSwitch(value);
        break;
    case 4:
        if (m_row == ARCHIVER_ROW_ZIP)
            AddSwitch(L"-e");
        break;
    case 5:
        m_destination = value;
        m_destinationArg = Quoted(WithTrailingBackslash(value));
        break;
    case 6:
        m_ignoreFolders = 1;
        break;
    case 7:
        if (!m_viaBridge && haveRow)
            AddSwitch(g_ArchiverLibraryTable[m_row].hideSwitch);
        break;
    case 8:
        if (!value.IsEmpty() && haveRow && g_ArchiverLibraryTable[m_row].passwordSupported)
        {
            CString password;
            password.Format(g_ArchiverLibraryTable[m_row].passwordFormat, value.GetString());
            AddSwitch(password);
        }
        break;
    case 9:
        if (haveRow)
        {
            const CArchiverDllEntry& options = g_ArchiverDllTable[m_row];
            for (int i = 0; i < options.unpackOptionCount; ++i)
            {
                const CArchiverOption& option = options.unpackOptions[i];
                AddSwitch(option.flag == 1 ? option.switchOn : option.switchOff);
            }
        }
        break;
    case 12:
        if (haveRow)
            AddSwitch(g_ArchiverLibraryTable[m_row].packSwitches);
        break;
    case 13:
        AddName(value, TRUE);
        break;
    default:
        break;
    }
}

void CArchiverDll::SetOption(int index, const CArchiveFileInfo& member)
{
    if (index != 2)
        return;
    if (m_row == ARCHIVER_ROW_LZH && (member.m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    AddName(member.m_storedPath, FALSE);
}

void CArchiverDll::ResetOptions()
{
    m_baseFolder.Empty();
    m_switches.Empty();
    m_fileList.Empty();
    m_archiveArg.Empty();
    m_destinationArg.Empty();
    m_lastOutput.Empty();
    m_ignoreFolders = 0;
    m_ownerSet = 0;
}

void CArchiverDll::Close()
{
    FreeLibrary();
    m_listing.RemoveAll();
}

void CArchiverDll::UnloadLibrary()
{
    FreeLibrary();
}

CString CArchiverDll::GetLibraryName() const
{
    if (!m_library)
        return CString();
    int slash = m_libraryPath.ReverseFind(L'\\');
    return slash < 0 ? m_libraryPath : m_libraryPath.Mid(slash + 1);
}

void CArchiverDll::ShowConfigDialog(HWND owner, int row, int mode)
{
    if (row < 0 || row >= ARCHIVER_ROW_COUNT)
        return;
    HMODULE bridge = LoadLibraryW(GetBridgeLibraryPath());
    if (!bridge)
        return;
    CStringA name(mode == 2 ? g_ArchiverLibraryTable[row].packPrefix : g_ArchiverLibraryTable[row].prefix);
    name += "ConfigDialog";
    auto dialog = ExportAs<ConfigDialogProc>(GetProcAddress(bridge, name));
    if (dialog)
    {
        char buffer[513] = {};
        dialog(owner, buffer, mode);
    }
    ::FreeLibrary(bridge);
}
