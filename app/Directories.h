// The program's fixed directories, the joining of a typed or stored path to a base
// directory the way a command line would, the check that a directory is reachable
// (real drive, virtual drive or network share) and the creation of a directory path
// level by level. Paths carry no trailing backslash; a drive root is "X:".
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The last directory visited on each drive A to Z: set 0, and set 1 for pane 1 while
// USE_EACH_LAST_DIRECTORY is on. The pane's directory reader stores into them.
extern CString g_DriveLastDirs[2][26];

// ---- Fixed directories ----------------------------------------------------------------

// The Windows directory; 1 when a trailing backslash was removed.
int GetWindowsDir(CString& out);
// The full path of the program file.
void GetModulePath(CString& out);
// The program file's folder (the module path up to its last backslash).
void GetProgramDir(CString& out);
void GetSystemDir(CString& out);
// "<system folder>\<relative path>": a system tool is started by its full path, never
// looked for in the current folder, which follows the active pane.
CString SystemProgramPath(LPCWSTR relativePath);
// The Windows user name; empty when it cannot be read.
void GetLogonUserName(CString& out);
void GetCurrentDir(CString& out);
void GetTempDirectory(CString& out);
// SetCurrentDirectoryW of the path with a trailing backslash; its result.
BOOL SetCurrentDir(LPCWSTR path);

// Removes one trailing backslash while holding g_DataMutex (the string may be shared);
// 1 when one was removed.
int RemoveTrailingBackslash(CString& path);
// The same on a plain buffer, without the mutex.
int RemoveTrailingBackslashRaw(wchar_t* path);
// "<directory>\<name>", one trailing backslash of the directory removed first.
void MakePath(LPCWSTR directory, LPCWSTR name, CString& out);
// The element after the n-th backslash (n = 0: the first element) up to the next one;
// 0 when the path has fewer than n backslashes.
int GetPathElement(int n, LPCWSTR path, CString& out);

// ---- Resolution and checks --------------------------------------------------------------

// Joins the target to the base: relative, root-relative ("\x"), drive-relative
// ("D:x", continued from the drive's last directory of the pane's set) or absolute;
// "." and ".." are folded. When ".." would climb above the root the base comes back
// unchanged. Never fails; the result may be empty.
void CombinePath(LPCWSTR base, LPCWSTR target, CString& out, int paneIndex);

// 1 when the target, applied to the base, climbs above the root.
int RelativePathEscapesRoot(LPCWSTR target, LPCWSTR base);

// Modes of ResolvePaneTargetDirectory.
enum
{
    RESOLVE_MUST_EXIST = 1,       // the joined directory must exist
    RESOLVE_CHECK_DRIVE = 2,      // only the drive must exist (destination fields)
    RESOLVE_NEAREST_EXISTING = 4, // walk up to the nearest existing directory
    RESOLVE_FALLBACK = 8,         // anything beyond a bare drive gives the Windows directory
};

// Turns what the user typed into a directory to use: 1 with `out` set, or 0 with
// `out` empty (mode 8 never fails: it falls back to the Windows directory).
int ResolvePaneTargetDirectory(LPCWSTR base, LPCWSTR target, CString& out, int mode, int paneIndex);

// 1 when the directory is there and reachable.
int DirectoryExists(LPCWSTR path);

// Creates every missing level of the path; when it exists afterwards, applies the
// attributes (when not 0) and the times of `findData` (when given). 1 on success.
int CreateDirectoryTree(LPCWSTR path, DWORD attributes, const WIN32_FIND_DATAW* findData);

// 1 when the letter (either case) is a virtual drive with a loaded folder store; in
// any mode but 1 also only when no real drive has that letter.
int IsVirtualDrive(wchar_t letter, int mode);
