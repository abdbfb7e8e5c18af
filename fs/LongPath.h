// The program's file-system calls by path. Each wrapper hands every path through
// LongPathArg to the Windows function of the same base name and returns that
// function's result unchanged; the security functions follow in LongPathSecurity.h.
// (The archive client has its own family, which tries the plain path first:
// FileSystem.h, FileHandles.h and FindEntries.h.)
#pragma once
#include <windows.h>
#include <shellapi.h>
#include "framework/FwString.h"

// Returns the text to hand to the system for the path: a path that does not begin
// with a backslash and has 248 or more characters comes back as "\\?\" + path, held
// in `holder`; every other path (network paths included) comes back as it is, and
// `holder` stays untouched. The result lives as long as the path and the holder.
LPCWSTR LongPathArg(LPCWSTR path, CString& holder);

HANDLE FindFirstFileLong(LPCWSTR path, WIN32_FIND_DATAW* findData);
BOOL FindCloseLong(HANDLE& findHandle);
HANDLE CreateFileLong(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                      DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE FindFirstChangeNotificationLong(LPCWSTR path, BOOL watchSubtree, DWORD notifyFilter);
BOOL MoveFileLong(LPCWSTR existingPath, LPCWSTR newPath);
BOOL CreateDirectoryLong(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
BOOL SetFileAttributesLong(LPCWSTR path, DWORD attributes);
BOOL DeleteFileLong(LPCWSTR path);
BOOL RemoveDirectoryLong(LPCWSTR path);
DWORD GetFileAttributesLong(LPCWSTR path);
BOOL GetFileAttributesExLong(LPCWSTR path, GET_FILEEX_INFO_LEVELS infoLevel, void* info);
BOOL MoveFileExLong(LPCWSTR existingPath, LPCWSTR newPath, DWORD flags);
BOOL CopyFileLong(LPCWSTR existingPath, LPCWSTR newPath, BOOL failIfExists);
// The run-time library's `_waccess`: 0 when the path is there for `mode`, -1 otherwise.
int AccessLong(LPCWSTR path, int mode);

// Deletes the folder with every file and folder in it, read-only ones included. A
// linked folder inside is only unlinked: what it leads to lies outside. What cannot
// go (a file another program holds open) stays, and so do the folders above it;
// TRUE only when the folder itself is gone.
BOOL RemoveFolderTreeLong(LPCWSTR folder);

// Gives the file open on `file` (opened with DELETE access) the name `newPath` in one
// step on the handle, without opening the file again by name. A file of that name is
// replaced only when `replace`; FALSE with the system's error otherwise.
BOOL RenameOpenFileLong(HANDLE file, LPCWSTR newPath, BOOL replace);

// Calls on a bare name inside a folder held open: a job that writes many files into
// one folder spares the system finding the folder by its path again for each of them.
// OpenFolderForNamesLong opens the folder for them (attribute access only, every kind
// of sharing: the handle keeps nobody from opening, renaming or removing the folder);
// INVALID_HANDLE_VALUE with the system's error. "X:" is the drive's root, as a file's
// folder cut from "X:\name" would be.
HANDLE OpenFolderForNamesLong(LPCWSTR folder);
// Whether the two calls below take the name as it stands, as CreateFileW would in
// that folder: no separator or wildcard, no trailing dot or space (which a path drops)
// and no device name (which a path opens instead of a file).
BOOL IsPlainNameInFolder(LPCWSTR name);
// CreateFileW of the plain name in the folder open on `folder`, with the same access,
// sharing, disposition, attributes and flags and the same errors; flags it cannot
// pass on (overlapped, backup semantics, reparse points) give ERROR_INVALID_PARAMETER.
HANDLE CreateFileInFolder(HANDLE folder, LPCWSTR name, DWORD desiredAccess, DWORD shareMode,
                          DWORD creationDisposition, DWORD flagsAndAttributes);
// RenameOpenFileLong to the plain name in the folder open on `folder`.
BOOL RenameOpenFileInFolder(HANDLE file, HANDLE folder, LPCWSTR name, BOOL replace);

// Applies the creation, last-access and last-write times of the record to the file or
// directory, and leaves it with the record's attributes, also when the times fail.
BOOL SetFileTimeLong(LPCWSTR path, const WIN32_FIND_DATAW* findData);

// Calls that hand the path to the system as it stands. The first two are for the one
// file the program opens by its plain path on purpose: the log.
HANDLE FindFirstFileAsGiven(LPCWSTR path, WIN32_FIND_DATAW* findData);
HANDLE CreateFileAsGiven(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                         DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
// The current folder is what relative names and the search for libraries start from,
// and what GetCurrentDirectoryW gives back: it keeps the form the program named.
BOOL SetCurrentDirectoryAsGiven(LPCWSTR path);
// The short form goes on command lines, whose readers know no "\\?\" form.
DWORD GetShortPathNameAsGiven(LPCWSTR path, LPWSTR shortPath, DWORD size);
// The shell's file operations fail on every path in the "\\?\" form, so the paths of
// the record go as they stand.
int SHFileOperationAsGiven(SHFILEOPSTRUCTW* operation);
