// One entry of a pane's listing (a directory entry on disk, an entry of a virtual
// drive or a member of a listed archive) and the array of them that a pane owns.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "framework/FwCollections.h"

class CArrayFileInfo;
class IPaneArchive;
struct FindCondition;

// Where an entry came from.
enum
{
    ENTRY_SOURCE_DISK = 1,
    ENTRY_SOURCE_VIRTUAL = 2,
    ENTRY_SOURCE_ARCHIVE = 3,
};

// What an entry is.
enum
{
    ENTRY_CLASS_FILE = 1,
    ENTRY_CLASS_DIRECTORY = 2,
    ENTRY_CLASS_PARENT = 3,  // ".."
    ENTRY_CLASS_CURRENT = 4, // "."
};

// Keys of CFileInfo::CompareBy.
enum
{
    COMPARE_BASE_NAME = 0,
    COMPARE_NOTHING = 1,
    COMPARE_READ_ORDER = 2,
    COMPARE_EXTENSION = 3,
    COMPARE_ATTRIBUTES = 4,
    COMPARE_CREATION_TIME = 5,
    COMPARE_ACCESS_TIME = 6,
    COMPARE_WRITE_TIME = 7,
    COMPARE_SIZE = 8,
    COMPARE_COMPONENTS_2 = 9,
    COMPARE_COMPONENTS_1 = 10,
};

// Three-way results of the comparisons.
enum
{
    COMPARE_LESS = 1,
    COMPARE_EQUAL = 2,
    COMPARE_GREATER = 3,
};

// The find data as an entry keeps it: the fields of the system's record under their
// own names, but the two names as strings. The system's record holds room for the
// longest name in every entry, some 550 bytes of which a listing uses a few dozen,
// and a pane holds one record per entry of its folder: moving and paging in those
// unused bytes cost more than the walk that listed them. Converts to the system's
// record for the calls that take one.
struct CEntryFindData
{
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CString cFileName;          // at most MAX_PATH - 1 characters, as the system's field holds
    CString cAlternateFileName; // the short (8.3) name, or empty

    CEntryFindData();
    explicit CEntryFindData(const WIN32_FIND_DATAW& data) : CEntryFindData() { *this = data; }
    // Takes the system's record; names are read up to their NUL (at most the
    // field's length).
    CEntryFindData& operator=(const WIN32_FIND_DATAW& data);
    // The system's record, zeroed behind both names' NULs.
    WIN32_FIND_DATAW ToFindData() const;
    operator WIN32_FIND_DATAW() const { return ToFindData(); }
    bool operator==(const CEntryFindData& other) const;
    bool operator!=(const CEntryFindData& other) const { return !(*this == other); }
    bool SameAs(const WIN32_FIND_DATAW& data) const;
    // Everything but the names.
    bool SameFields(const CEntryFindData& other) const;
    void TakeFields(const CEntryFindData& other);
};

// What the entries a walk makes share: the allocations their names are carved from,
// and the extensions met last (the files of a folder mostly share a few, and an entry
// takes the string of an equal one instead of a block of its own).
class CFoundStrings
{
public:
    // The kept extension equal to the `length` characters at `text`, or null.
    const CString* FindExtension(LPCWSTR text, int length) const;
    // Keeps the extension in the place of the one kept longest.
    void KeepExtension(const CString& extension);

    CStringPool m_names;

private:
    static const int kKept = 4;
    CString m_kept[kKept];
    int m_next = 0;
};

// Name keys of many entries carved from shared blocks of memory: a sort that makes
// the keys of a whole listing asks the heap for a block now and then rather than
// once per entry. A block is freed when the last entry whose keys lie in it lets go
// of them, wherever that entry has gone by then.
class CNameKeyBlocks
{
public:
    CNameKeyBlocks() = default;
    CNameKeyBlocks(const CNameKeyBlocks&) = delete;
    CNameKeyBlocks& operator=(const CNameKeyBlocks&) = delete;
    ~CNameKeyBlocks();

    // Room for keys of `size` bytes, to be let go of by the entry that holds them;
    // null when the heap has none.
    BYTE* Take(size_t size);

private:
    BYTE* m_block = nullptr;
    size_t m_used = 0;
    size_t m_capacity = 0;
};

// The record is moved between array slots as raw bytes (the array's exchange and
// the sort's qsort): every member must stay valid at another address, which holds
// for the framework's CString (one pointer to a heap block) and plain pointers, the
// owned name keys among them.
class CFileInfo
{
public:
    CFileInfo();
    // A copy as operator= makes it into a fresh entry: no mark, no component cache,
    // no name keys.
    CFileInfo(const CFileInfo& src);
    // Moves transfer everything, the mark, the component cache and the name keys
    // included: the array moves its elements this way when it grows or removes one.
    CFileInfo(CFileInfo&& src) noexcept;
    // The disk entry of `directory` that a walk found, at `readPosition`: as
    // SetFromDisk and the list's taking it over leave it, its name, short name and
    // base name carved together from the walk's pool and its extension shared with
    // an equal one the walk met (see CFoundStrings).
    CFileInfo(const CString& directory, const WIN32_FIND_DATAW& found, LONGLONG readPosition,
              CFoundStrings& shared);
    ~CFileInfo();

    // Copies every field except the cached path components and name keys (the copy
    // starts without them) and the mark (the target keeps its own).
    CFileInfo& operator=(const CFileInfo& src);
    CFileInfo& operator=(CFileInfo&& src) noexcept;

    // ---- Filling ----------------------------------------------------------------
    // Every fill goes through SetFromFindData. A readPosition of -1 keeps the stored
    // one. Returns this entry.
    CFileInfo& SetFromFindData(int source, IPaneArchive* owner, LPCWSTR directory, LPCWSTR realDirectory,
                               const WIN32_FIND_DATAW& findData, int itemIndex, LONGLONG readPosition = -1);
    CFileInfo& SetFromFindData(int source, IPaneArchive* owner, LPCWSTR directory, LPCWSTR realDirectory,
                               const CEntryFindData& findData, int itemIndex, LONGLONG readPosition = -1);
    CFileInfo& SetFromDisk(LPCWSTR directory, const WIN32_FIND_DATAW& findData);
    CFileInfo& SetFromArchive(IPaneArchive* owner, LPCWSTR folder, const WIN32_FIND_DATAW& findData,
                              int itemIndex);
    CFileInfo& SetFromVirtualDrive(LPCWSTR directory, LPCWSTR realDirectory,
                                   const WIN32_FIND_DATAW& findData);
    // Makes the entry stand for the directory named by the path (built find data:
    // directory attributes, the current time, the last path element as its name).
    CFileInfo& SetFromPath(IPaneArchive* owner, LPCWSTR path);
    void Clear();

    // ---- Names and paths --------------------------------------------------------
    LPCWSTR GetName() const { return m_findData.cFileName; }
    const CString& GetDirectory() const { return m_directory; }
    // asStored: the real directory as stored (empty except on virtual drives);
    // otherwise the real directory, or the listing directory when there is none.
    CString GetRealDirectory(BOOL asStored) const;
    // "directory\name"; the name alone without a directory, the directory alone
    // without a name.
    CString GetFullPath() const;
    // The same from the real directory when there is one.
    CString GetRealFullPath() const;
    // The real directory split at its backslashes, plus the own name for a
    // directory; cached per mode until ClearPathComponents.
    const CStringArray& GetPathComponents(int mode);
    void ClearPathComponents();

    // ---- Tests ------------------------------------------------------------------
    BOOL IsDirectory() const { return (m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    BOOL HasAttribute(DWORD mask) const { return (m_findData.dwFileAttributes & mask) != 0; }
    // "." or "..".
    BOOL IsDots() const { return m_entryClass == ENTRY_CLASS_PARENT || m_entryClass == ENTRY_CLASS_CURRENT; }
    BOOL IsExtension(LPCWSTR extension) const;
    BOOL IsExtensionInList(const CStringArray& extensions) const;
    // patterns: NUL-separated, ended by an empty one.
    BOOL MatchesPatterns(LPCWSTR patterns) const;
    // 0 (and no change) for "." and ".." and when the mark already has the value.
    int SetMark(int mark);
    // The entry's path looked up on disk; 0 when it is gone. The reserved words are
    // taken over from the stored find data.
    int RefreshFindData(WIN32_FIND_DATAW& out) const;
    // The listing filter and its condition test (defined with the directory reading).
    BOOL PassesDisplayFilter(BOOL hideCurrent, BOOL hideParent, BOOL filterDirectories, LPCWSTR pattern,
                             const FindCondition* condition, int use) const;
    BOOL MatchesFindCondition(const FindCondition* condition) const;
    // Loads the audio title as the display name, once per entry.
    void LoadAudioTitle();
    // 1 this entry less, 2 equal, 3 greater, by the COMPARE_* key.
    int CompareBy(int key, CFileInfo& other);

    // ---- Name keys (see app/NameSortKey.h) ----------------------------------------
    // Makes the keys of the base name and the extension for the kind unless the
    // entry holds them already; they are kept until the name changes (a refill with
    // another name, or the same name turned from file to directory, drops them) and
    // freed with the entry. FALSE when the system made no key.
    // `sameExtension`, when given, is an entry whose extension is this entry's very
    // string (one block, as a walk shares them) and that holds keys of the kind: its
    // extension key is taken over rather than made again.
    // `blocks`, when given, holds the keys of many entries in shared blocks of memory
    // rather than one allocation each (see CNameKeyBlocks).
    BOOL PrepareNameKeys(int kind, const CFileInfo* sameExtension = nullptr,
                         CNameKeyBlocks* blocks = nullptr);
    // The keys PrepareNameKeys made; only valid after it succeeded.
    const BYTE* GetBaseNameKey(int& length) const;
    const BYTE* GetExtensionKey(int& length) const;
    void ClearNameKeys();

    // The first entry inside this directory entry; null when there is none (see
    // FindFirstEntry).
    class CEntryFind* FindFirstChild(LPCWSTR pattern, CFileInfo& out) const;

    // ---- Pictures (defined with the picture walkers) ---------------------------------
    // Appends every picture file below this directory entry (see PictureFiles.h); 1.
    int CollectPictureFiles(CArrayFileInfo& out) const;
    // The same, then the whole array in picture order (ComparePictureOrder); 1.
    int ListPictureFilesSorted(CArrayFileInfo& out) const;
    // 1 when a picture back-end reads the file; a shortcut is first refilled as its
    // target.
    int IsPictureFile();

    // The class of a find record: 1 file, 2 directory, 3 "..", 4 ".".
    static int GetEntryClass(const WIN32_FIND_DATAW& findData);
    static int GetEntryClass(const CEntryFindData& findData);
    // Zeroes the two name fields behind their NULs. The system leaves those bytes
    // as it found them, and a caller may compare its records byte for byte.
    static void NormalizeFindData(WIN32_FIND_DATAW& findData);

    // ---- Fields, in this order --------------------------------------------------
    CEntryFindData m_findData;
    int m_itemIndex;                // member index in the owner's listing; -1 off archives
    BOOL m_titleLoaded;             // LoadAudioTitle has run
    CString m_displayName;          // the audio title, or empty
    CString m_baseName;             // name before the last dot (see SetFromFindData)
    CString m_extension;            // after the last dot, without it; empty for directories
    int m_mark;                     // nonzero when selected
    BOOL m_changed;                 // a re-read found different find data
    int m_source;                   // ENTRY_SOURCE_*
    int m_entryClass;               // ENTRY_CLASS_*
    ULONGLONG m_size;               // nFileSizeHigh * 2^32 + nFileSizeLow
    int m_componentMode;            // mode of the cached components; 0 when none
    CStringArray* m_pathComponents; // owned cache, never copied
    LONGLONG m_readPosition;        // position in the reading order; -1 when not appended
    CString m_directory;            // as the pane shows it, no trailing backslash
    CString m_realDirectory;        // disk directory of a virtual-drive entry, else empty
    IPaneArchive* m_owner;          // archive listing this member; not owned
    BYTE* m_nameKeys;               // owned: kind, two lengths, the two keys; null when none

private:
    void SplitName();
    void CopyFields(const CFileInfo& src);
    // The fill after the find data are in place; `nameChanged`: the name or its
    // directory bit differs from the entry's before.
    CFileInfo& FinishFill(int source, IPaneArchive* owner, LPCWSTR directory, LPCWSTR realDirectory,
                          int itemIndex, LONGLONG readPosition, bool nameChanged);
};

// Relocatable as said above: a pane's array grows by copying bytes.
template <> struct CArrayRelocatable<CFileInfo> : std::true_type
{
};

// A pane's entries. The array owns its elements.
class CArrayFileInfo : public CArray<CFileInfo>
{
public:
    CArrayFileInfo();
    CArrayFileInfo(const CArrayFileInfo& src);
    CArrayFileInfo& operator=(const CArrayFileInfo& src);
    ~CArrayFileInfo();

    // Appends an entry filled from the find data; its read position is its index.
    // Returns the new index.
    INT_PTR AddFromFindData(int source, IPaneArchive* owner, LPCWSTR directory, LPCWSTR realDirectory,
                            const WIN32_FIND_DATAW& findData, int itemIndex);
    INT_PTR AddFromFindData(int source, IPaneArchive* owner, LPCWSTR directory, LPCWSTR realDirectory,
                            const CEntryFindData& findData, int itemIndex);
    // Appends a copy re-filled from the entry's find data, source, owner, both
    // directories and item index (no mark, title or component cache).
    INT_PTR AddEntry(const CFileInfo& entry);
    // The same for an entry that a find just filled, taken over instead of copied;
    // the entry keeps only its directories (shared, not copied), ready for the next
    // find.
    INT_PTR AddFoundEntry(CFileInfo&& entry);
    // The same at `index` (appending when index is the size), overwriting the entry
    // there; when that one has the same name it keeps its strings and name keys and
    // takes only the new data, and the found entry is left as it was.
    INT_PTR PutFoundEntry(INT_PTR index, CFileInfo&& entry);
    // Appends the disk entry a walk of `directory` found (see the CFileInfo
    // constructor that takes one); its read position is its index. Returns the index.
    INT_PTR AddDiskEntry(const CString& directory, const WIN32_FIND_DATAW& found, CFoundStrings& shared);
    // The entry at `index` stands anew for the disk entry of `directory` it already
    // holds (the same find data): as PutFoundEntry would leave it, without a found
    // entry to take over.
    void RenewFoundEntry(INT_PTR index, const CString& directory);
    INT_PTR AddArchiveEntry(IPaneArchive* owner, LPCWSTR folder, const WIN32_FIND_DATAW& findData,
                            int itemIndex);
    INT_PTR AddVirtualDriveEntry(LPCWSTR directory, LPCWSTR realDirectory, const WIN32_FIND_DATAW& findData);

    void ClearMarks();
    void ClearChangedFlags();
    void ClearPathComponents();

    // Exchanges two elements as raw records; nothing happens when i equals j.
    void SwapEntries(INT_PTR i, INT_PTR j);
    // Puts element source[k] at position first + k for every k below count, where
    // source holds a permutation of first .. first + count - 1: each record moves
    // once, as raw bytes.
    void Reorder(INT_PTR first, const INT_PTR* source, INT_PTR count);

private:
    // Takes a found entry into `slot` at `index` (see AddFoundEntry).
    static void TakeFound(CFileInfo& slot, INT_PTR index, CFileInfo& entry);
    // The same for a slot that holds the found name already: only the data are
    // copied, and the found entry keeps its strings for the next find.
    static void TakeFoundInPlace(CFileInfo& slot, INT_PTR index, const CFileInfo& entry);

    void* m_scratch; // one record's worth of bytes for SwapEntries
};
