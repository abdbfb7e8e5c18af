#include "filer/FileInfo.h"

#include "app/Directories.h"
#include "app/NameSortKey.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "filer/PaneHooks.h"
#include "util/StringHelpers.h"
#include "util/Wildcard.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

namespace
{
// Lets go of an entry's keys (see CNameKeyBlocks).
void ReleaseNameKeys(BYTE* keys);
} // namespace

namespace
{

void CopyName(WIN32_FIND_DATAW& findData, LPCWSTR name)
{
    wcsncpy(findData.cFileName, name, MAX_PATH - 1);
    findData.cFileName[MAX_PATH - 1] = L'\0';
}

// The two halves of a FILETIME compared as the record stores them: high word
// first, then low word, both unsigned.
int CompareFileTimeWords(const FILETIME& a, const FILETIME& b)
{
    if (a.dwHighDateTime != b.dwHighDateTime)
        return a.dwHighDateTime < b.dwHighDateTime ? COMPARE_LESS : COMPARE_GREATER;
    if (a.dwLowDateTime != b.dwLowDateTime)
        return a.dwLowDateTime < b.dwLowDateTime ? COMPARE_LESS : COMPARE_GREATER;
    return COMPARE_EQUAL;
}

// A name comparison that fails counts as equal.
int CompareNames(LPCWSTR a, LPCWSTR b)
{
    int result = CompareNamesForSort(a, b);
    return result == 0 ? COMPARE_EQUAL : result;
}

template <class T> int CompareNumbers(T a, T b)
{
    return a < b ? COMPARE_LESS : (b < a ? COMPARE_GREATER : COMPARE_EQUAL);
}

} // namespace

// ---- CEntryFindData -------------------------------------------------------------------

namespace
{
const int kShortNameRoom = sizeof(WIN32_FIND_DATAW::cAlternateFileName) / sizeof(wchar_t);

bool SameFieldsAs(const CEntryFindData& a, DWORD attributes, const FILETIME& creation, const FILETIME& access,
                  const FILETIME& write, DWORD sizeHigh, DWORD sizeLow, DWORD reserved0, DWORD reserved1)
{
    return a.dwFileAttributes == attributes && a.ftCreationTime.dwLowDateTime == creation.dwLowDateTime &&
           a.ftCreationTime.dwHighDateTime == creation.dwHighDateTime &&
           a.ftLastAccessTime.dwLowDateTime == access.dwLowDateTime &&
           a.ftLastAccessTime.dwHighDateTime == access.dwHighDateTime &&
           a.ftLastWriteTime.dwLowDateTime == write.dwLowDateTime &&
           a.ftLastWriteTime.dwHighDateTime == write.dwHighDateTime && a.nFileSizeHigh == sizeHigh &&
           a.nFileSizeLow == sizeLow && a.dwReserved0 == reserved0 && a.dwReserved1 == reserved1;
}

int ClassOf(DWORD attributes, LPCWSTR name)
{
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ENTRY_CLASS_FILE;
    if (name[0] != L'.')
        return ENTRY_CLASS_DIRECTORY;
    if (name[1] == L'.' && name[2] == L'\0')
        return ENTRY_CLASS_PARENT;
    if (name[1] == L'\0')
        return ENTRY_CLASS_CURRENT;
    return ENTRY_CLASS_DIRECTORY;
}
} // namespace

CEntryFindData::CEntryFindData()
    : dwFileAttributes(0), ftCreationTime{}, ftLastAccessTime{}, ftLastWriteTime{}, nFileSizeHigh(0),
      nFileSizeLow(0), dwReserved0(0), dwReserved1(0)
{
}

CEntryFindData& CEntryFindData::operator=(const WIN32_FIND_DATAW& data)
{
    dwFileAttributes = data.dwFileAttributes;
    ftCreationTime = data.ftCreationTime;
    ftLastAccessTime = data.ftLastAccessTime;
    ftLastWriteTime = data.ftLastWriteTime;
    nFileSizeHigh = data.nFileSizeHigh;
    nFileSizeLow = data.nFileSizeLow;
    dwReserved0 = data.dwReserved0;
    dwReserved1 = data.dwReserved1;
    // Set in place: an entry refilled by a walk reuses its buffers.
    cFileName.SetString(data.cFileName, static_cast<int>(wcsnlen(data.cFileName, MAX_PATH - 1)));
    if (data.cAlternateFileName[0] || !cAlternateFileName.IsEmpty())
        cAlternateFileName.SetString(data.cAlternateFileName,
                                     static_cast<int>(wcsnlen(data.cAlternateFileName, kShortNameRoom - 1)));
    return *this;
}

WIN32_FIND_DATAW CEntryFindData::ToFindData() const
{
    WIN32_FIND_DATAW data;
    memset(&data, 0, sizeof(data));
    data.dwFileAttributes = dwFileAttributes;
    data.ftCreationTime = ftCreationTime;
    data.ftLastAccessTime = ftLastAccessTime;
    data.ftLastWriteTime = ftLastWriteTime;
    data.nFileSizeHigh = nFileSizeHigh;
    data.nFileSizeLow = nFileSizeLow;
    data.dwReserved0 = dwReserved0;
    data.dwReserved1 = dwReserved1;
    wcsncpy(data.cFileName, cFileName, MAX_PATH - 1);
    wcsncpy(data.cAlternateFileName, cAlternateFileName, kShortNameRoom - 1);
    return data;
}

bool CEntryFindData::SameFields(const CEntryFindData& other) const
{
    return SameFieldsAs(*this, other.dwFileAttributes, other.ftCreationTime, other.ftLastAccessTime,
                        other.ftLastWriteTime, other.nFileSizeHigh, other.nFileSizeLow, other.dwReserved0,
                        other.dwReserved1);
}

void CEntryFindData::TakeFields(const CEntryFindData& other)
{
    dwFileAttributes = other.dwFileAttributes;
    ftCreationTime = other.ftCreationTime;
    ftLastAccessTime = other.ftLastAccessTime;
    ftLastWriteTime = other.ftLastWriteTime;
    nFileSizeHigh = other.nFileSizeHigh;
    nFileSizeLow = other.nFileSizeLow;
    dwReserved0 = other.dwReserved0;
    dwReserved1 = other.dwReserved1;
}

bool CEntryFindData::operator==(const CEntryFindData& other) const
{
    return SameFields(other) && cFileName == other.cFileName &&
           cAlternateFileName == other.cAlternateFileName;
}

bool CEntryFindData::SameAs(const WIN32_FIND_DATAW& data) const
{
    return SameFieldsAs(*this, data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime,
                        data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow, data.dwReserved0,
                        data.dwReserved1) &&
           wcsncmp(cFileName, data.cFileName, MAX_PATH - 1) == 0 &&
           wcsncmp(cAlternateFileName, data.cAlternateFileName, kShortNameRoom - 1) == 0;
}

// ---- CFoundStrings --------------------------------------------------------------------

const CString* CFoundStrings::FindExtension(LPCWSTR text, int length) const
{
    for (const CString& kept : m_kept)
    {
        if (kept.GetLength() == length && wmemcmp(kept, text, static_cast<size_t>(length)) == 0)
            return &kept;
    }
    return nullptr;
}

void CFoundStrings::KeepExtension(const CString& extension)
{
    m_kept[m_next] = extension;
    m_next = (m_next + 1) % kKept;
}

// ---- CFileInfo ------------------------------------------------------------------------

CFileInfo::CFileInfo()
    : m_itemIndex(-1), m_titleLoaded(FALSE), m_mark(0), m_changed(FALSE), m_source(0), m_entryClass(0),
      m_size(0), m_componentMode(0), m_pathComponents(nullptr), m_readPosition(-1), m_owner(nullptr),
      m_nameKeys(nullptr)
{
}

CFileInfo::CFileInfo(const CFileInfo& src) : CFileInfo()
{
    CopyFields(src);
}

CFileInfo::CFileInfo(CFileInfo&& src) noexcept
    : m_findData(std::move(src.m_findData)), m_itemIndex(src.m_itemIndex), m_titleLoaded(src.m_titleLoaded),
      m_displayName(std::move(src.m_displayName)), m_baseName(std::move(src.m_baseName)),
      m_extension(std::move(src.m_extension)), m_mark(src.m_mark), m_changed(src.m_changed),
      m_source(src.m_source), m_entryClass(src.m_entryClass), m_size(src.m_size),
      m_componentMode(src.m_componentMode), m_pathComponents(src.m_pathComponents),
      m_readPosition(src.m_readPosition), m_directory(std::move(src.m_directory)),
      m_realDirectory(std::move(src.m_realDirectory)), m_owner(src.m_owner), m_nameKeys(src.m_nameKeys)
{
    src.m_pathComponents = nullptr;
    src.m_componentMode = 0;
    src.m_nameKeys = nullptr;
}

CFileInfo::CFileInfo(const CString& directory, const WIN32_FIND_DATAW& found, LONGLONG readPosition,
                     CFoundStrings& shared)
    : m_itemIndex(-1), m_titleLoaded(FALSE), m_mark(0), m_changed(FALSE), m_source(ENTRY_SOURCE_DISK),
      m_entryClass(ClassOf(found.dwFileAttributes, found.cFileName)),
      m_size((static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow), m_componentMode(0),
      m_pathComponents(nullptr), m_readPosition(readPosition), m_directory(directory), m_owner(nullptr),
      m_nameKeys(nullptr)
{
    m_findData.dwFileAttributes = found.dwFileAttributes;
    m_findData.ftCreationTime = found.ftCreationTime;
    m_findData.ftLastAccessTime = found.ftLastAccessTime;
    m_findData.ftLastWriteTime = found.ftLastWriteTime;
    m_findData.nFileSizeHigh = found.nFileSizeHigh;
    m_findData.nFileSizeLow = found.nFileSizeLow;
    m_findData.dwReserved0 = found.dwReserved0;
    m_findData.dwReserved1 = found.dwReserved1;
    // The name split as SplitName splits it: a base name that is the whole name
    // shares the name's string.
    // The lengths and the last dot are found in one pass here: the runtime's wcsnlen,
    // a call per string that steps a character at a time, cost as much as the rest of
    // the record.
    LPCWSTR name = found.cFileName;
    int length = 0;
    int lastDot = 0;
    while (length < MAX_PATH - 1 && name[length] != 0)
    {
        if (name[length] == L'.')
            lastDot = length;
        ++length;
    }
    const int dot = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : lastDot;
    int shortLength = 0;
    while (shortLength < kShortNameRoom - 1 && found.cAlternateFileName[shortLength] != 0)
        ++shortLength;
    CString* strings[3] = {&m_findData.cFileName, &m_findData.cAlternateFileName, &m_baseName};
    const LPCWSTR texts[3] = {name, found.cAlternateFileName, name};
    const int lengths[3] = {length, shortLength, dot};
    shared.m_names.SetTogether(strings, texts, lengths, 3);
    if (dot <= 0)
        m_baseName = m_findData.cFileName;
    const int extensionLength = dot > 0 ? length - dot - 1 : 0;
    if (extensionLength > 0)
    {
        if (const CString* kept = shared.FindExtension(name + dot + 1, extensionLength))
            m_extension = *kept;
        else
        {
            m_extension.SetString(name + dot + 1, extensionLength);
            shared.KeepExtension(m_extension);
        }
    }
}

CFileInfo::~CFileInfo()
{
    delete m_pathComponents;
    ReleaseNameKeys(m_nameKeys);
}

CFileInfo& CFileInfo::operator=(const CFileInfo& src)
{
    if (this != &src)
        CopyFields(src);
    return *this;
}

CFileInfo& CFileInfo::operator=(CFileInfo&& src) noexcept
{
    if (this != &src)
    {
        m_findData = std::move(src.m_findData);
        m_itemIndex = src.m_itemIndex;
        m_titleLoaded = src.m_titleLoaded;
        m_displayName = std::move(src.m_displayName);
        m_baseName = std::move(src.m_baseName);
        m_extension = std::move(src.m_extension);
        m_mark = src.m_mark;
        m_changed = src.m_changed;
        m_source = src.m_source;
        m_entryClass = src.m_entryClass;
        m_size = src.m_size;
        delete m_pathComponents;
        m_componentMode = src.m_componentMode;
        m_pathComponents = src.m_pathComponents;
        src.m_pathComponents = nullptr;
        src.m_componentMode = 0;
        m_readPosition = src.m_readPosition;
        m_directory = std::move(src.m_directory);
        m_realDirectory = std::move(src.m_realDirectory);
        m_owner = src.m_owner;
        ReleaseNameKeys(m_nameKeys);
        m_nameKeys = src.m_nameKeys;
        src.m_nameKeys = nullptr;
    }
    return *this;
}

void CFileInfo::CopyFields(const CFileInfo& src)
{
    m_findData = src.m_findData;
    m_itemIndex = src.m_itemIndex;
    m_titleLoaded = src.m_titleLoaded;
    m_displayName = src.m_displayName;
    m_baseName = src.m_baseName;
    m_extension = src.m_extension;
    m_changed = src.m_changed;
    m_source = src.m_source;
    m_entryClass = src.m_entryClass;
    m_size = src.m_size;
    ClearPathComponents();
    m_readPosition = src.m_readPosition;
    m_directory = src.m_directory;
    m_realDirectory = src.m_realDirectory;
    m_owner = src.m_owner;
    ClearNameKeys();
}

int CFileInfo::GetEntryClass(const WIN32_FIND_DATAW& findData)
{
    return ClassOf(findData.dwFileAttributes, findData.cFileName);
}

int CFileInfo::GetEntryClass(const CEntryFindData& findData)
{
    return ClassOf(findData.dwFileAttributes, findData.cFileName);
}

void CFileInfo::NormalizeFindData(WIN32_FIND_DATAW& findData)
{
    findData.cFileName[MAX_PATH - 1] = L'\0';
    size_t length = wcslen(findData.cFileName);
    memset(findData.cFileName + length, 0, (MAX_PATH - length) * sizeof(wchar_t));
    const size_t shortSize = sizeof(findData.cAlternateFileName) / sizeof(wchar_t);
    findData.cAlternateFileName[shortSize - 1] = L'\0';
    length = wcslen(findData.cAlternateFileName);
    memset(findData.cAlternateFileName + length, 0, (shortSize - length) * sizeof(wchar_t));
}

void CFileInfo::SplitName()
{
    // A base name that is the whole name shares the name's string; the others are
    // set in place, so that an entry refilled by a walk reuses their buffers.
    LPCWSTR name = m_findData.cFileName;
    const int length = m_findData.cFileName.GetLength();
    if (IsDirectory())
    {
        m_baseName = m_findData.cFileName;
        m_extension.Empty();
        return;
    }
    // A dot in the first place starts a hidden-style name (".profile"), not an
    // extension.
    int dot = length - 1;
    while (dot > 0 && name[dot] != L'.')
        --dot;
    if (dot > 0)
    {
        m_baseName.SetString(name, dot);
        // A walk hands each found entry the extension of the one before (see
        // TakeFound): names of one folder mostly share a few extensions.
        const int extensionLength = length - dot - 1;
        if (m_extension.GetLength() != extensionLength ||
            wmemcmp(m_extension, name + dot + 1, static_cast<size_t>(extensionLength)) != 0)
            m_extension.SetString(name + dot + 1, extensionLength);
    }
    else
    {
        m_baseName = m_findData.cFileName;
        m_extension.Empty();
    }
}

CFileInfo& CFileInfo::SetFromFindData(int source, IPaneArchive* owner, LPCWSTR directory,
                                      LPCWSTR realDirectory, const WIN32_FIND_DATAW& findData, int itemIndex,
                                      LONGLONG readPosition)
{
    // The name keys stand for the name as split: another name, or the same name
    // turned from file to directory or back, needs new ones.
    const bool nameChanged =
        wcsncmp(m_findData.cFileName, findData.cFileName, MAX_PATH - 1) != 0 ||
        ((m_findData.dwFileAttributes ^ findData.dwFileAttributes) & FILE_ATTRIBUTE_DIRECTORY) != 0;
    m_findData = findData;
    return FinishFill(source, owner, directory, realDirectory, itemIndex, readPosition, nameChanged);
}

CFileInfo& CFileInfo::SetFromFindData(int source, IPaneArchive* owner, LPCWSTR directory,
                                      LPCWSTR realDirectory, const CEntryFindData& findData, int itemIndex,
                                      LONGLONG readPosition)
{
    bool nameChanged = false;
    if (&findData != &m_findData)
    {
        nameChanged =
            m_findData.cFileName != findData.cFileName ||
            ((m_findData.dwFileAttributes ^ findData.dwFileAttributes) & FILE_ATTRIBUTE_DIRECTORY) != 0;
        m_findData = findData;
    }
    return FinishFill(source, owner, directory, realDirectory, itemIndex, readPosition, nameChanged);
}

CFileInfo& CFileInfo::FinishFill(int source, IPaneArchive* owner, LPCWSTR directory, LPCWSTR realDirectory,
                                 int itemIndex, LONGLONG readPosition, bool nameChanged)
{
    if (readPosition != -1)
        m_readPosition = readPosition;
    if (nameChanged)
        ClearNameKeys();
    // The directories may be strings of this very entry: take them first. An entry
    // refilled by a walk already holds them, and keeps its (shared) copies.
    const bool sameDirectory = directory && m_directory == directory;
    const bool sameRealDirectory = realDirectory && m_realDirectory == realDirectory;
    if (!sameDirectory || !sameRealDirectory)
    {
        CString listing = sameDirectory ? m_directory : CString(directory);
        CString real = sameRealDirectory ? m_realDirectory : CString(realDirectory);
        m_directory = listing;
        m_realDirectory = real;
    }
    SplitName();
    m_titleLoaded = FALSE;
    m_displayName.Empty();
    m_mark = 0;
    m_changed = FALSE;
    m_entryClass = GetEntryClass(m_findData);
    m_size = (static_cast<ULONGLONG>(m_findData.nFileSizeHigh) << 32) | m_findData.nFileSizeLow;
    m_source = source;
    m_owner = owner;
    m_itemIndex = itemIndex;
    ClearPathComponents();
    return *this;
}

CFileInfo& CFileInfo::SetFromDisk(LPCWSTR directory, const WIN32_FIND_DATAW& findData)
{
    return SetFromFindData(ENTRY_SOURCE_DISK, nullptr, directory, L"", findData, -1);
}

CFileInfo& CFileInfo::SetFromArchive(IPaneArchive* owner, LPCWSTR folder, const WIN32_FIND_DATAW& findData,
                                     int itemIndex)
{
    return SetFromFindData(ENTRY_SOURCE_ARCHIVE, owner, folder, L"", findData, itemIndex);
}

CFileInfo& CFileInfo::SetFromVirtualDrive(LPCWSTR directory, LPCWSTR realDirectory,
                                          const WIN32_FIND_DATAW& findData)
{
    return SetFromFindData(ENTRY_SOURCE_VIRTUAL, nullptr, directory, realDirectory, findData, -1);
}

CFileInfo& CFileInfo::SetFromPath(IPaneArchive* owner, LPCWSTR path)
{
    WIN32_FIND_DATAW findData;
    memset(&findData, 0, sizeof(findData));
    findData.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    findData.ftCreationTime = now;
    findData.ftLastAccessTime = now;
    findData.ftLastWriteTime = now;

    CString text(path);
    CString directory, name;
    if (text.Find(L'\\') >= 0)
        SplitPath(text, &directory, &name);
    else
        directory = text;
    CopyName(findData, name);

    if (owner)
        return SetFromArchive(owner, directory, findData, -1);
    if (directory.GetLength() >= 2 && directory[1] == L':' && IsVirtualDrive(directory[0], 1))
        return SetFromVirtualDrive(L"", directory, findData);
    return SetFromDisk(directory, findData);
}

void CFileInfo::Clear()
{
    m_findData = CEntryFindData();
    m_displayName.Empty();
    m_baseName.Empty();
    m_extension.Empty();
    m_directory.Empty();
    m_realDirectory.Empty();
    m_mark = 0;
    m_titleLoaded = FALSE;
    m_changed = FALSE;
    m_entryClass = 0;
    m_size = 0;
    m_source = 0;
    m_itemIndex = -1;
    m_readPosition = -1;
    ClearPathComponents();
    m_owner = nullptr;
    ClearNameKeys();
}

CString CFileInfo::GetRealDirectory(BOOL asStored) const
{
    if (asStored || !m_realDirectory.IsEmpty())
        return m_realDirectory;
    return m_directory;
}

namespace
{
CString JoinPath(const CString& directory, LPCWSTR name)
{
    if (directory.IsEmpty())
        return CString(name);
    if (!*name)
        return directory;
    CString path(directory);
    path += L'\\';
    path += name;
    return path;
}
} // namespace

CString CFileInfo::GetFullPath() const
{
    return JoinPath(m_directory, m_findData.cFileName);
}

CString CFileInfo::GetRealFullPath() const
{
    if (m_realDirectory.IsEmpty())
        return GetFullPath();
    return JoinPath(m_realDirectory, m_findData.cFileName);
}

const CStringArray& CFileInfo::GetPathComponents(int mode)
{
    if (m_pathComponents && m_componentMode == mode)
        return *m_pathComponents;
    if (!m_pathComponents)
        m_pathComponents = new CStringArray;
    SplitString(GetRealDirectory(FALSE), L'\\', *m_pathComponents);
    if (IsDirectory())
        m_pathComponents->Add(CString(m_findData.cFileName));
    m_componentMode = mode;
    return *m_pathComponents;
}

void CFileInfo::ClearPathComponents()
{
    delete m_pathComponents;
    m_pathComponents = nullptr;
    m_componentMode = 0;
}

BOOL CFileInfo::IsExtension(LPCWSTR extension) const
{
    return m_extension.CompareNoCase(extension ? extension : L"") == 0;
}

BOOL CFileInfo::IsExtensionInList(const CStringArray& extensions) const
{
    for (INT_PTR i = 0; i < extensions.GetSize(); ++i)
    {
        if (IsExtension(extensions[i]))
            return TRUE;
    }
    return FALSE;
}

BOOL CFileInfo::MatchesPatterns(LPCWSTR patterns) const
{
    return MatchesAnyExtension(m_findData.cFileName, patterns);
}

int CFileInfo::SetMark(int mark)
{
    if (IsDots() || m_mark == mark)
        return 0;
    m_mark = mark;
    return 1;
}

int CFileInfo::RefreshFindData(WIN32_FIND_DATAW& out) const
{
    // A virtual-drive entry's file lies in its real directory; its listing path
    // names no disk location.
    HANDLE find = FindFirstFileLong(GetRealFullPath(), &out);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindCloseLong(find);
    NormalizeFindData(out);
    out.dwReserved0 = m_findData.dwReserved0;
    out.dwReserved1 = m_findData.dwReserved1;
    return 1;
}

void CFileInfo::LoadAudioTitle()
{
    if (!g_MPEGNAMEDISPLAY || m_titleLoaded)
        return;
    m_titleLoaded = TRUE;
    if (IsDirectory())
        return;
    static const LPCWSTR kAudioExtensions[] = {L"WAV", L"MP2", L"MP3", L"RMP"};
    for (LPCWSTR extension : kAudioExtensions)
    {
        if (IsExtension(extension))
        {
            CString title = g_PaneHooks.readAudioTitle(*this);
            if (!title.IsEmpty())
                m_displayName = title;
            return;
        }
    }
}

int CFileInfo::CompareBy(int key, CFileInfo& other)
{
    switch (key)
    {
    case COMPARE_BASE_NAME:
        return CompareNames(m_baseName, other.m_baseName);
    case COMPARE_READ_ORDER:
        return CompareNumbers(m_readPosition, other.m_readPosition);
    case COMPARE_EXTENSION:
        return CompareNames(m_extension, other.m_extension);
    case COMPARE_ATTRIBUTES:
        return CompareNumbers(m_findData.dwFileAttributes & 0x7, other.m_findData.dwFileAttributes & 0x7);
    case COMPARE_CREATION_TIME:
        return CompareFileTimeWords(m_findData.ftCreationTime, other.m_findData.ftCreationTime);
    case COMPARE_ACCESS_TIME:
        return CompareFileTimeWords(m_findData.ftLastAccessTime, other.m_findData.ftLastAccessTime);
    case COMPARE_WRITE_TIME:
        return CompareFileTimeWords(m_findData.ftLastWriteTime, other.m_findData.ftLastWriteTime);
    case COMPARE_SIZE: {
        BOOL thisDirectory = IsDirectory();
        BOOL otherDirectory = other.IsDirectory();
        if (thisDirectory != otherDirectory)
            return thisDirectory ? COMPARE_LESS : COMPARE_GREATER;
        // Larger first: the key's natural order lists the biggest entries on top.
        return CompareNumbers(other.m_size, m_size);
    }
    case COMPARE_COMPONENTS_2:
    case COMPARE_COMPONENTS_1: {
        int mode = key == COMPARE_COMPONENTS_2 ? 2 : 1;
        const CStringArray& mine = GetPathComponents(mode);
        const CStringArray& theirs = other.GetPathComponents(mode);
        INT_PTR common = mine.GetSize() < theirs.GetSize() ? mine.GetSize() : theirs.GetSize();
        for (INT_PTR i = 0; i < common; ++i)
        {
            int result = CompareNames(mine[i], theirs[i]);
            if (result != COMPARE_EQUAL)
                return result;
        }
        if (mine.GetSize() != theirs.GetSize())
            return mine.GetSize() < theirs.GetSize() ? COMPARE_LESS : COMPARE_GREATER;
        if (IsDirectory())
            return COMPARE_LESS;
        if (other.IsDirectory())
            return COMPARE_GREATER;
        return COMPARE_EQUAL;
    }
    default:
        return COMPARE_EQUAL;
    }
}

namespace
{
// Keys are held in blocks that start with the count of entries' keys in them (the
// block's holder counting as one); the keys of each entry follow the four-byte
// distance back to the start of their block.
const size_t kBlockHeader = 8;
const size_t kBlockBytes = 4096;

BYTE* NewKeyBlock(size_t capacity)
{
    BYTE* block = static_cast<BYTE*>(malloc(capacity));
    if (block)
        *reinterpret_cast<volatile LONG*>(block) = 1;
    return block;
}

void ReleaseKeyBlock(BYTE* block)
{
    if (block && InterlockedDecrement(reinterpret_cast<volatile LONG*>(block)) == 0)
        free(block);
}

// Gives room at `at` in `block` to keys and counts them in.
BYTE* PlaceKeys(BYTE* block, size_t at)
{
    const DWORD distance = static_cast<DWORD>(at);
    memcpy(block + at, &distance, sizeof distance);
    InterlockedIncrement(reinterpret_cast<volatile LONG*>(block));
    return block + at + sizeof distance;
}

void ReleaseNameKeys(BYTE* keys)
{
    if (!keys)
        return;
    DWORD distance;
    memcpy(&distance, keys - sizeof distance, sizeof distance);
    ReleaseKeyBlock(keys - sizeof distance - distance);
}
} // namespace

CNameKeyBlocks::~CNameKeyBlocks()
{
    ReleaseKeyBlock(m_block);
}

BYTE* CNameKeyBlocks::Take(size_t size)
{
    const size_t needed = sizeof(DWORD) + size;
    if (!m_block || m_used + needed > m_capacity)
    {
        ReleaseKeyBlock(m_block);
        m_capacity = kBlockHeader + needed > kBlockBytes ? kBlockHeader + needed : kBlockBytes;
        m_block = NewKeyBlock(m_capacity);
        m_used = kBlockHeader;
        if (!m_block)
            return nullptr;
    }
    BYTE* keys = PlaceKeys(m_block, m_used);
    m_used += needed;
    return keys;
}

namespace
{
// Keys of one entry alone: a block of their own.
BYTE* TakeSingleKeys(size_t size)
{
    BYTE* block = NewKeyBlock(kBlockHeader + sizeof(DWORD) + size);
    if (!block)
        return nullptr;
    BYTE* keys = PlaceKeys(block, kBlockHeader);
    ReleaseKeyBlock(block); // the keys are the block's only holder
    return keys;
}

// A key block: the kind, the two key lengths, then the two keys.
const int kKeyHeader = 5;
// Room for the key of any name: the system's keys take a few bytes per character.
const int kKeyRoom = 8 * MAX_PATH + 64;

int ReadKeyLength(const BYTE* at)
{
    return at[0] | (at[1] << 8);
}
} // namespace

BOOL CFileInfo::PrepareNameKeys(int kind, const CFileInfo* sameExtension, CNameKeyBlocks* blocks)
{
    if (m_nameKeys && m_nameKeys[0] == kind)
        return TRUE;
    ClearNameKeys();
    BYTE buffer[2 * kKeyRoom];
    int baseLength = MakeNameSortKey(kind, m_baseName, m_baseName.GetLength(), buffer, kKeyRoom);
    int extensionLength = 0;
    if (baseLength > 0 && sameExtension && sameExtension->m_nameKeys &&
        sameExtension->m_nameKeys[0] == kind &&
        sameExtension->m_extension.GetString() == m_extension.GetString())
    {
        const BYTE* key = sameExtension->GetExtensionKey(extensionLength);
        memcpy(buffer + baseLength, key, static_cast<size_t>(extensionLength));
    }
    else
        extensionLength =
            MakeNameSortKey(kind, m_extension, m_extension.GetLength(), buffer + baseLength, kKeyRoom);
    if (baseLength <= 0 || extensionLength <= 0)
        return FALSE;
    const size_t size = static_cast<size_t>(kKeyHeader + baseLength + extensionLength);
    BYTE* block = blocks ? blocks->Take(size) : TakeSingleKeys(size);
    if (!block)
        return FALSE;
    block[0] = static_cast<BYTE>(kind);
    block[1] = static_cast<BYTE>(baseLength);
    block[2] = static_cast<BYTE>(baseLength >> 8);
    block[3] = static_cast<BYTE>(extensionLength);
    block[4] = static_cast<BYTE>(extensionLength >> 8);
    memcpy(block + kKeyHeader, buffer, static_cast<size_t>(baseLength + extensionLength));
    m_nameKeys = block;
    return TRUE;
}

const BYTE* CFileInfo::GetBaseNameKey(int& length) const
{
    length = ReadKeyLength(m_nameKeys + 1);
    return m_nameKeys + kKeyHeader;
}

const BYTE* CFileInfo::GetExtensionKey(int& length) const
{
    length = ReadKeyLength(m_nameKeys + 3);
    return m_nameKeys + kKeyHeader + ReadKeyLength(m_nameKeys + 1);
}

void CFileInfo::ClearNameKeys()
{
    ReleaseNameKeys(m_nameKeys);
    m_nameKeys = nullptr;
}

// ---- CArrayFileInfo -------------------------------------------------------------------

CArrayFileInfo::CArrayFileInfo() : m_scratch(malloc(sizeof(CFileInfo)))
{
    if (!m_scratch)
        AfxThrowMemoryException();
}

CArrayFileInfo::CArrayFileInfo(const CArrayFileInfo& src) : CArrayFileInfo()
{
    Copy(src);
}

CArrayFileInfo& CArrayFileInfo::operator=(const CArrayFileInfo& src)
{
    Copy(src);
    return *this;
}

CArrayFileInfo::~CArrayFileInfo()
{
    free(m_scratch);
}

INT_PTR CArrayFileInfo::AddFromFindData(int source, IPaneArchive* owner, LPCWSTR directory,
                                        LPCWSTR realDirectory, const WIN32_FIND_DATAW& findData,
                                        int itemIndex)
{
    // The arguments may live in an element of this array, which is about to move.
    WIN32_FIND_DATAW data = findData;
    CString listing(directory);
    CString real(realDirectory);
    INT_PTR index = GetSize();
    SetSize(index + 1, GetArrayGrowStep(index));
    ElementAt(index).SetFromFindData(source, owner, listing, real, data, itemIndex, index);
    return index;
}

INT_PTR CArrayFileInfo::AddFromFindData(int source, IPaneArchive* owner, LPCWSTR directory,
                                        LPCWSTR realDirectory, const CEntryFindData& findData, int itemIndex)
{
    // The arguments may live in an element of this array, which is about to move
    // (the copies share the strings).
    CEntryFindData data = findData;
    CString listing(directory);
    CString real(realDirectory);
    INT_PTR index = GetSize();
    SetSize(index + 1, GetArrayGrowStep(index));
    ElementAt(index).SetFromFindData(source, owner, listing, real, data, itemIndex, index);
    return index;
}

INT_PTR CArrayFileInfo::AddEntry(const CFileInfo& entry)
{
    return AddFromFindData(entry.m_source, entry.m_owner, entry.m_directory, entry.GetRealDirectory(TRUE),
                           entry.m_findData, entry.m_itemIndex);
}

INT_PTR CArrayFileInfo::AddFoundEntry(CFileInfo&& entry)
{
    INT_PTR index = GetSize();
    // A walk appends one record at a time to lists of any length: growing by a fixed
    // step moves (and makes the system hand out fresh pages for) the whole list again
    // and again, growing by half of it keeps that to a few times the list.
    INT_PTR step = GetArrayGrowStep(index);
    if (step < index / 2)
        step = index / 2;
    SetSize(index + 1, step);
    TakeFound(ElementAt(index), index, entry);
    return index;
}

INT_PTR CArrayFileInfo::AddDiskEntry(const CString& directory, const WIN32_FIND_DATAW& found,
                                     CFoundStrings& shared)
{
    // Grown as AddFoundEntry grows the list.
    const INT_PTR index = GetSize();
    INT_PTR step = GetArrayGrowStep(index);
    if (step < index / 2)
        step = index / 2;
    return AddConstructed(step, directory, found, static_cast<LONGLONG>(index), shared);
}

INT_PTR CArrayFileInfo::PutFoundEntry(INT_PTR index, CFileInfo&& entry)
{
    if (index >= GetSize())
        return AddFoundEntry(std::move(entry));
    CFileInfo& slot = ElementAt(index);
    // A re-read of a folder meets its files again in the same order: the stored
    // entry's strings, and the keys made for its name by the last sort, still
    // stand for the found one.
    if (slot.m_findData.cFileName == entry.m_findData.cFileName && slot.IsDirectory() == entry.IsDirectory())
    {
        TakeFoundInPlace(slot, index, entry);
        return index;
    }
    TakeFound(slot, index, entry);
    return index;
}

void CArrayFileInfo::TakeFound(CFileInfo& slot, INT_PTR index, CFileInfo& entry)
{
    slot = std::move(entry);
    slot.m_readPosition = index;
    slot.m_mark = 0;
    slot.m_changed = FALSE;
    slot.m_titleLoaded = FALSE;
    slot.m_displayName.Empty();
    slot.ClearPathComponents();
    entry.m_directory = slot.m_directory;
    entry.m_realDirectory = slot.m_realDirectory;
    entry.m_extension = slot.m_extension;
}

void CArrayFileInfo::RenewFoundEntry(INT_PTR index, const CString& directory)
{
    CFileInfo& slot = ElementAt(index);
    if (slot.m_directory != directory)
        slot.m_directory = directory;
    if (!slot.m_realDirectory.IsEmpty())
        slot.m_realDirectory.Empty();
    slot.m_source = ENTRY_SOURCE_DISK;
    slot.m_owner = nullptr;
    slot.m_itemIndex = -1;
    slot.m_readPosition = index;
    slot.m_mark = 0;
    slot.m_changed = FALSE;
    slot.m_titleLoaded = FALSE;
    slot.m_displayName.Empty();
    slot.ClearPathComponents();
}

void CArrayFileInfo::TakeFoundInPlace(CFileInfo& slot, INT_PTR index, const CFileInfo& entry)
{
    slot.m_findData.TakeFields(entry.m_findData);
    if (slot.m_findData.cAlternateFileName != entry.m_findData.cAlternateFileName)
        slot.m_findData.cAlternateFileName = entry.m_findData.cAlternateFileName;
    if (slot.m_directory != entry.m_directory)
        slot.m_directory = entry.m_directory;
    if (slot.m_realDirectory != entry.m_realDirectory)
        slot.m_realDirectory = entry.m_realDirectory;
    slot.m_size = entry.m_size;
    slot.m_entryClass = entry.m_entryClass;
    slot.m_source = entry.m_source;
    slot.m_owner = entry.m_owner;
    slot.m_itemIndex = entry.m_itemIndex;
    slot.m_readPosition = index;
    slot.m_mark = 0;
    slot.m_changed = FALSE;
    slot.m_titleLoaded = FALSE;
    slot.m_displayName.Empty();
    slot.ClearPathComponents();
}

INT_PTR CArrayFileInfo::AddArchiveEntry(IPaneArchive* owner, LPCWSTR folder, const WIN32_FIND_DATAW& findData,
                                        int itemIndex)
{
    return AddFromFindData(ENTRY_SOURCE_ARCHIVE, owner, folder, L"", findData, itemIndex);
}

INT_PTR CArrayFileInfo::AddVirtualDriveEntry(LPCWSTR directory, LPCWSTR realDirectory,
                                             const WIN32_FIND_DATAW& findData)
{
    return AddFromFindData(ENTRY_SOURCE_VIRTUAL, nullptr, directory, realDirectory, findData, -1);
}

void CArrayFileInfo::ClearMarks()
{
    for (INT_PTR i = 0; i < GetSize(); ++i)
        ElementAt(i).m_mark = 0;
}

void CArrayFileInfo::ClearChangedFlags()
{
    for (INT_PTR i = 0; i < GetSize(); ++i)
        ElementAt(i).m_changed = FALSE;
}

void CArrayFileInfo::ClearPathComponents()
{
    for (INT_PTR i = 0; i < GetSize(); ++i)
        ElementAt(i).ClearPathComponents();
}

void CArrayFileInfo::Reorder(INT_PTR first, const INT_PTR* source, INT_PTR count)
{
    if (count <= 0)
        return;
    CFileInfo* base = &ElementAt(first);
    ElementAt(first + count - 1); // the whole range lies in the array
    std::vector<char> placed(static_cast<size_t>(count), 0);
    for (INT_PTR start = 0; start < count; ++start)
    {
        if (placed[static_cast<size_t>(start)] || source[start] - first == start)
            continue;
        memcpy(m_scratch, static_cast<void*>(base + start), sizeof(CFileInfo));
        INT_PTR slot = start;
        for (;;)
        {
            placed[static_cast<size_t>(slot)] = 1;
            INT_PTR from = source[slot] - first;
            if (from == start)
            {
                memcpy(static_cast<void*>(base + slot), m_scratch, sizeof(CFileInfo));
                break;
            }
            memcpy(static_cast<void*>(base + slot), static_cast<void*>(base + from), sizeof(CFileInfo));
            slot = from;
        }
    }
}

void CArrayFileInfo::SwapEntries(INT_PTR i, INT_PTR j)
{
    if (i == j)
        return;
    CFileInfo* a = &ElementAt(i);
    CFileInfo* b = &ElementAt(j);
    memcpy(m_scratch, static_cast<void*>(a), sizeof(CFileInfo));
    memcpy(static_cast<void*>(a), static_cast<void*>(b), sizeof(CFileInfo));
    memcpy(static_cast<void*>(b), m_scratch, sizeof(CFileInfo));
}
