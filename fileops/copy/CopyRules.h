// The decisions of a copy or move job, each a small function of plain values so that
// a table of cases can show it: where an entry goes, what happens to a file whose name
// is taken, when a move renames instead of copying and when it removes its source, what
// a skipped file takes from its source, and whether there is room for a file. The job
// asks the file system, these decide from what it found.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The attributes a directory made by the job takes from its source, and a skipped file
// from its source when asked to; the directory and reparse bits are not among them.
const DWORD kCopiedDirectoryAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Whether a file whose name is taken is written over the existing one under the
// conflict rules that weigh the two files (COPY_RULE_NEWER, _OLDER, _LARGER, _SKIP,
// _OVERWRITE). `timeOrder` is CompareFileTimes(source, existing): -1 when the source
// is the newer, 1 when it is the older, 0 when they count as equal.
BOOL ConflictRuleCopies(int rule, int timeOrder, ULONGLONG sourceSize, ULONGLONG existingSize);

// What the conflict rule does with a file whose name is taken by another file: replace
// it, leave it (and the source skipped), or copy under a name the user types or under
// the first free numbered name. `timeOrder` as for ConflictRuleCopies.
enum ConflictOutcome
{
    CONFLICT_REPLACE,
    CONFLICT_LEAVE,
    CONFLICT_TYPED_NAME,
    CONFLICT_NUMBERED_NAME,
};
ConflictOutcome ConflictRuleOutcome(int rule, int timeOrder, ULONGLONG sourceSize, ULONGLONG existingSize);

// The numbered rule's n-th choice of a name, "<base>NNN.<extension>", for n from 0 to
// kNumberedCopyNameCount - 1; none free: the file is skipped.
const int kNumberedCopyNameCount = 999;
CString NumberedCopyName(LPCWSTR baseName, LPCWSTR extension, int n);

// The system finds a file by another file's 8.3 alias too: the entry found under the
// source's name is a different file unless its long name is the source's own.
BOOL IsAnotherFilesShortName(LPCWSTR foundName, LPCWSTR sourceName);

// Whether a file is moved by renaming it (one step, the source gone with it) before any
// copy is tried; the volumes are compared after this says yes. A name taken at the
// destination is renamed over only by the moves the user started in a pane: a dropped
// file that replaces another is copied, and its source removed after.
BOOL FileMoveTriesRename(int kind, BOOL virtualSource, BOOL nameTaken);
// Whether a directory is moved by renaming it whole: never a link (Wine would rename
// the directory it points to), an entry of a virtual folder or a filtered move, whose
// tree must be walked to leave the files the filter keeps. The volumes are compared and
// the destination looked for after this says yes.
BOOL DirectoryMoveTriesRename(int kind, BOOL isLink, BOOL virtualSource, BOOL filtered);

// Whether a move that failed to rename goes on to copy and remove instead: only when the
// two paths lie on different volumes, which one root does not rule out (a folder may
// have a volume mounted on it).
BOOL RenameFailureFallsBackToCopy(DWORD error);
// Whether a walked directory that a move could not remove is a failure to name: one that
// still holds entries left behind (skipped or filtered out) stays without a word, and one
// gone meanwhile needs none.
BOOL MovedDirectoryLeftIsAFailure(DWORD error);
// Whether a file added to a virtual folder is taken out of the virtual folder it came
// from: by the moves started in a pane only, and only from a virtual folder (a file on
// disk stays where it is).
BOOL VirtualAddRemovesSource(int kind, BOOL virtualSource);
// Whether the source goes after its copy (`result` and `copied` of the copy step): a
// moving kind, once the copy is whole.
BOOL CopiedFileRemovesSource(int kind, int result, int copied);

// Where a file of the walk is written. `inWalk`: the file lies inside a selected
// directory, `walkRelative` is its folder below the source's folder (the selected
// directory's name first) and `belowTop` the same below the selected directory itself.
CString CopyTargetForFile(int kind, BOOL inWalk, LPCWSTR destination, LPCWSTR walkRelative, LPCWSTR belowTop);
// Where a directory of the walk is made, named `name`; a link keeps its place under the
// flat kind NEGLECT_DIR, where other directories melt into the destination.
CString CopyTargetForDirectory(int kind, BOOL inWalk, BOOL isLink, LPCWSTR destination, LPCWSTR walkRelative,
                               LPCWSTR belowTop, LPCWSTR name);

// Whether the job counts its whole size first to show its progress (with the setting
// that asks for it): a copy always, a move only across volumes, where it copies; the
// kinds that melt trees together do not.
BOOL CopyJobCountsTotals(int kind, BOOL sameRoot);

// Whether a file of `size` bytes fits where `existingSize` bytes of the file it replaces
// are freed; a volume whose free space cannot be read reports 0, which holds nothing back.
BOOL HasRoomForCopy(ULONGLONG freeBytes, LONGLONG existingSize, LONGLONG size);
// The next step of waiting for room: a figure read before this file may be old, so a
// file that does not fit has the free space read once more before the user is asked
// for another disk; after that each answer reads it again.
enum FreeSpaceVerdict
{
    FREE_SPACE_ENOUGH,
    FREE_SPACE_READ_AGAIN,
    FREE_SPACE_ASK_FOR_DISK,
};
FreeSpaceVerdict JudgeFreeSpace(ULONGLONG freeBytes, LONGLONG existingSize, LONGLONG size, BOOL freshFigure);
// The free space left after such a file was written, never below 0.
ULONGLONG FreeBytesAfterCopy(ULONGLONG freeBytes, LONGLONG existingSize, LONGLONG size);

// The attributes a file left in place takes from its source when the user asked for
// them: the settable ones, or FILE_ATTRIBUTE_NORMAL when it has none.
DWORD NoCopyTakenAttributes(DWORD sourceAttributes);
// The attributes such a file keeps after its times were set (which needs them lifted):
// the source's when those were asked for too or the file's own could not be read, else
// its own.
DWORD NoCopyAttributesAfterTimes(BOOL takeAttributes, DWORD sourceAttributes, DWORD ownBefore);
