// File-system operations of the archive client. Each wrapper applies the long-path
// rule and returns whether it succeeded, leaving the system's last error for the caller.
#pragma once
#include "fs/ArcString.h"
#include "fs/Vectors.h"

DWORD FsGetFileAttributes(const wchar_t* path);
bool FsSetFileAttributes(const wchar_t* path, DWORD attributes);
bool FsMoveFile(const wchar_t* from, const wchar_t* to);
// Moves `from` over an existing `to` in one step: the plain paths first, then the
// extended-length forms of both.
bool FsMoveFileReplacing(const wchar_t* from, const wchar_t* to);
bool FsDeleteFile(const wchar_t* path);
// GetFileSecurityW: `needed` receives the size the descriptor takes.
bool FsGetFileSecurity(const wchar_t* path, SECURITY_INFORMATION requested, void* descriptor, DWORD size,
                       DWORD& needed);
bool FsRemoveDirectory(const wchar_t* path);
bool FsCreateDirectory(const wchar_t* path);
bool FsCreateDirectoryOrExisting(const wchar_t* path);
bool CreateDirectoryPath(const wchar_t* path);
// Never follows a junction or a symbolic link: the link itself is removed.
bool RemoveDirectoryWithSubItems(const wchar_t* path);
bool SetCurrentDirectoryPath(const wchar_t* path);
bool GetCurrentDirectoryPath(UString& out);
bool GetTempDirectoryPath(UString& out);
bool GetLogicalDriveList(COwnedPtrVector<UString>& roots);

// A uniquely named directory in the temporary folder, removed with everything in it
// by Remove or by the destructor.
class CTempDirectory
{
public:
    CTempDirectory() = default;
    CTempDirectory(const CTempDirectory&) = delete;
    CTempDirectory& operator=(const CTempDirectory&) = delete;
    ~CTempDirectory() { Remove(); }

    bool Create(const wchar_t* namePrefix);
    bool Remove();
    const UString& Path() const { return m_path; }

private:
    bool m_mustDelete = false;
    UString m_path;
};
