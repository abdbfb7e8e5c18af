// What is at a path, and what a directory or a file holds: the entry record, the
// system find handle and the directory and alternate-stream enumerators. Every find
// call goes through the process's CFindApi, so tests can stand in for the parts the
// file system under test cannot show (alternate streams, reparse points).
#pragma once
#include "fs/ArcString.h"

struct CFsEntryInfo
{
    uint64_t Size = 0;
    FILETIME CTime = {};
    FILETIME ATime = {};
    FILETIME MTime = {};
    uint32_t Attrib = 0;
    bool IsAltStream = false;
    bool ExtraFlag = false; // the directory scan's own mark; look-ups clear it
    UString Name;           // the entry's own name, not its path

    bool IsDir() const { return (Attrib & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A junction or a symbolic link.
    bool IsReparsePoint() const { return (Attrib & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    // Zeroes everything but the name.
    void Clear();
    bool FindForPath(const wchar_t* path);
};

struct CStreamEntry
{
    UString Name; // ":name:$DATA" as the system reports it
    uint64_t Size = 0;
};

// The system's find functions. The default object calls the real ones; a test may
// install its own with SetFindApi.
class CFindApi
{
public:
    virtual ~CFindApi() = default;
    virtual HANDLE FirstFile(const wchar_t* path, WIN32_FIND_DATAW* data);
    virtual BOOL NextFile(HANDLE handle, WIN32_FIND_DATAW* data);
    virtual HANDLE FirstStream(const wchar_t* path, WIN32_FIND_STREAM_DATA* data);
    virtual BOOL NextStream(HANDLE handle, WIN32_FIND_STREAM_DATA* data);
    virtual BOOL Close(HANDLE handle);
};

CFindApi& GetFindApi();
// Installs api (null: the real functions again); returns the one installed before.
CFindApi* SetFindApi(CFindApi* api);

// Binds FindFirstStreamW and FindNextStreamW from kernel32.dll; runs at start-up.
void BindStreamFunctions();

class CFindHandle
{
public:
    CFindHandle() = default;
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;
    ~CFindHandle() { Close(); }

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Close();
    bool FindFirst(const wchar_t* wildcardPath, CFsEntryInfo& entry);
    bool FindNext(CFsEntryInfo& entry);
    bool FindFirstStream(const wchar_t* filePath, CStreamEntry& entry);
    bool FindNextStream(CStreamEntry& entry);

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

class CDirEnumerator
{
public:
    explicit CDirEnumerator(const wchar_t* wildcardPath) : m_wildcard(wildcardPath) {}
    // Skips "." and ".."; false at the end or on an error.
    bool NextEntry(CFsEntryInfo& entry);
    // True with found false at the end of the listing.
    bool NextEntryOrEnd(CFsEntryInfo& entry, bool& found);

private:
    CFindHandle m_find;
    UString m_wildcard;
};

class CStreamEnumerator
{
public:
    explicit CStreamEnumerator(const wchar_t* filePath) : m_path(filePath) {}
    bool NextStream(CStreamEntry& entry, bool& found);

private:
    CFindHandle m_find;
    UString m_path;
};

bool PathExists(const wchar_t* path);
bool IsExistingFile(const wchar_t* path);
bool IsExistingDirectory(const wchar_t* path);
