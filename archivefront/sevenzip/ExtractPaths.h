// Where an archive member may be written: a member's stored path is untrusted text
// ("..\..\x", "C:\x", "\\server\share\x", "a:b"), so the output path is rebuilt part
// by part below the destination folder, and an output that would pass through a
// link already standing in the destination is refused.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The member path as a relative path of safe parts joined by backslashes: split at
// '\' and '/', empty and "." parts dropped, a drive or root dropped, ".." climbing
// within the path, characters Windows does not allow in names replaced by '_',
// trailing dots and blanks (which Windows would cut) replaced, and device names
// (CON, NUL, COM1 ...) given a leading '_'. FALSE when a ".." would climb above the
// start or nothing is left.
BOOL MakeSafeRelativePath(LPCWSTR itemPath, CString& out);

// TRUE when no folder between the destination and the relative path's last part
// is a link (a reparse point) or a file, and no link stands at the last part itself:
// writing there stays inside the destination.
BOOL PathStaysInside(const CString& destination, const CString& relativePath);

// TRUE when a link (a reparse point) stands at the path.
BOOL IsLinkAt(const CString& path);
