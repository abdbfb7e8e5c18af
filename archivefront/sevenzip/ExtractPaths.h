// Where an archive member may be written: a member's stored path is untrusted text
// ("..\..\x", "C:\x", "\\server\share\x", "a:b"), so the output path is rebuilt part
// by part below the destination folder, and an output that would pass through a
// link already standing in the destination is refused.
#pragma once
#include <windows.h>
#include "app/records/ArchiveFileInfo.h"
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

// The folder and name a member is listed under: its stored path cleaned as
// extraction cleans it (MakeSafeRelativePath). A member extraction refuses is still
// listed, at the archive's root under its whole stored path; FALSE then.
BOOL CleanMemberPath(LPCWSTR storedPath, CString& folder, CString& name);

// Gives every member of a back-end's listing the folder and name CleanMemberPath
// makes of its stored path (of folder and name when the back-end stores none).
void CleanArchiveListing(CArrayArchiveFileInfo& listing);

// The same for one member. The member takes `previousFolder` (the folder of the
// member cleaned before it) when its folder is the same, so that the members of one
// folder share one copy of its text.
void CleanListedMember(CArchiveFileInfo& member, const CString& previousFolder);

// The file extraction writes for the member below the destination: the member's
// folder below `innerFolder` (the folder a listing pane shows) and its name, or its
// name alone when `flat`, cleaned. FALSE when extraction refuses the member.
BOOL ExtractedMemberPath(const CString& destination, const CArchiveFileInfo& member,
                         const CString& innerFolder, int flat, CString& target);

// The longest name a file or folder may have on disk.
constexpr int MAX_MEMBER_NAME = 255;

// TRUE when the path extraction writes for the member (its stored path cleaned as
// MakeSafeRelativePath cleans it; its name alone when `flat`) has a part longer than
// MAX_MEMBER_NAME: no folder can hold it. `shown` gets that cleaned path.
BOOL HasOverlongName(const CArchiveFileInfo& member, int flat, CString& shown);

// TRUE when `path` lies below `folder`: after both are made full paths (".", ".."
// and "/" resolved) the path begins with the folder and no folder between them is a
// link, or the folder holding the path is the folder itself by file identity (a
// spelling with short names).
BOOL PathLiesInside(const CString& path, const CString& folder);

// TRUE when a link (a reparse point) stands at the path.
BOOL IsLinkAt(const CString& path);
