#include "fileops/copy/CopyRules.h"
#include "fileops/copy/CopyJob.h"
#include "app/Directories.h"

namespace
{

CString Joined(LPCWSTR directory, LPCWSTR name)
{
    CString path;
    MakePath(directory, name, path);
    return path;
}

// The moves started in a pane; a dropped move is not among them.
BOOL IsPaneMove(int kind)
{
    return kind == MOVE || kind == UP_MOVE || kind == NEGLECT_DIR;
}

} // namespace

BOOL ConflictRuleCopies(int rule, int timeOrder, ULONGLONG sourceSize, ULONGLONG existingSize)
{
    switch (rule)
    {
    case COPY_RULE_NEWER:
        return timeOrder == -1;
    case COPY_RULE_OLDER:
        return timeOrder == 1;
    case COPY_RULE_LARGER:
        return sourceSize > existingSize;
    case COPY_RULE_SKIP:
        return FALSE;
    default:
        return TRUE;
    }
}

ConflictOutcome ConflictRuleOutcome(int rule, int timeOrder, ULONGLONG sourceSize, ULONGLONG existingSize)
{
    if (rule == COPY_RULE_RENAME)
        return CONFLICT_TYPED_NAME;
    if (rule == COPY_RULE_NUMBERED)
        return CONFLICT_NUMBERED_NAME;
    return ConflictRuleCopies(rule, timeOrder, sourceSize, existingSize) ? CONFLICT_REPLACE : CONFLICT_LEAVE;
}

CString NumberedCopyName(LPCWSTR baseName, LPCWSTR extension, int n)
{
    CString name;
    name.Format(L"%s%03d.%s", baseName, n, extension);
    return name;
}

BOOL IsAnotherFilesShortName(LPCWSTR foundName, LPCWSTR sourceName)
{
    return CompareStringOrdinal(foundName, -1, sourceName, -1, TRUE) != CSTR_EQUAL;
}

BOOL FileMoveTriesRename(int kind, BOOL virtualSource, BOOL nameTaken)
{
    if (virtualSource)
        return FALSE;
    return nameTaken ? IsPaneMove(kind) : IsMovingOperation(kind);
}

BOOL DirectoryMoveTriesRename(int kind, BOOL isLink, BOOL virtualSource, BOOL filtered)
{
    return (kind == MOVE || kind == UP_MOVE || kind == DROP_MOVE) && !isLink && !virtualSource && !filtered;
}

BOOL RenameFailureFallsBackToCopy(DWORD error)
{
    return error == ERROR_NOT_SAME_DEVICE;
}

BOOL MovedDirectoryLeftIsAFailure(DWORD error)
{
    return error != ERROR_DIR_NOT_EMPTY && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

BOOL VirtualAddRemovesSource(int kind, BOOL virtualSource)
{
    return virtualSource && IsPaneMove(kind);
}

BOOL CopiedFileRemovesSource(int kind, int result, int copied)
{
    return result == 1 && copied && IsMovingOperation(kind);
}

CString CopyTargetForFile(int kind, BOOL inWalk, LPCWSTR destination, LPCWSTR walkRelative, LPCWSTR belowTop)
{
    if (!inWalk || kind == NEGLECT_DIR)
        return destination;
    if (kind == UP_MOVE)
        return belowTop[0] == 0 ? CString(destination) : Joined(destination, belowTop);
    return Joined(destination, walkRelative);
}

CString CopyTargetForDirectory(int kind, BOOL inWalk, BOOL isLink, LPCWSTR destination, LPCWSTR walkRelative,
                               LPCWSTR belowTop, LPCWSTR name)
{
    if (!inWalk)
        return kind == UP_MOVE || kind == NEGLECT_DIR ? CString(destination) : Joined(destination, name);
    if (kind == UP_MOVE)
        return belowTop[0] == 0 ? Joined(destination, name) : Joined(Joined(destination, belowTop), name);
    if (kind == NEGLECT_DIR)
        return isLink ? Joined(destination, name) : CString(destination);
    return Joined(Joined(destination, walkRelative), name);
}

BOOL CopyJobCountsTotals(int kind, BOOL sameRoot)
{
    if (kind == MOVE || kind == DROP_MOVE)
        return !sameRoot;
    return kind == COPY || kind == DROP_COPY;
}

BOOL HasRoomForCopy(ULONGLONG freeBytes, LONGLONG existingSize, LONGLONG size)
{
    return freeBytes == 0 || (LONGLONG)freeBytes + existingSize >= size;
}

FreeSpaceVerdict JudgeFreeSpace(ULONGLONG freeBytes, LONGLONG existingSize, LONGLONG size, BOOL freshFigure)
{
    if (HasRoomForCopy(freeBytes, existingSize, size))
        return FREE_SPACE_ENOUGH;
    return freshFigure ? FREE_SPACE_ASK_FOR_DISK : FREE_SPACE_READ_AGAIN;
}

ULONGLONG FreeBytesAfterCopy(ULONGLONG freeBytes, LONGLONG existingSize, LONGLONG size)
{
    const LONGLONG grown = size - existingSize;
    return grown >= (LONGLONG)freeBytes ? 0 : freeBytes - (grown > 0 ? grown : 0);
}

DWORD NoCopyTakenAttributes(DWORD sourceAttributes)
{
    const DWORD attributes = sourceAttributes & kCopiedDirectoryAttributes;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

DWORD NoCopyAttributesAfterTimes(BOOL takeAttributes, DWORD sourceAttributes, DWORD ownBefore)
{
    return takeAttributes || ownBefore == INVALID_FILE_ATTRIBUTES ? NoCopyTakenAttributes(sourceAttributes)
                                                                  : ownBefore;
}
