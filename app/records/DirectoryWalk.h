// Recursive walks over the entries inside a directory, shared by the size count,
// the play-list fillers and the picture collection. A walk never enters a folder
// that is a reparse point (junction, directory symbolic link, mount point): a
// junction that points at one of its own parents would make it endless.
#pragma once
#include <windows.h>
#include <functional>
#include "framework/FwString.h"

// The find calls a walk enumerates with, the long-path wrappers. Tests replace them to
// present a folder structure the file system under test cannot build (Wine makes no
// junctions).
struct DirectoryEnumHooks
{
    HANDLE (*findFirst)(LPCWSTR pattern, WIN32_FIND_DATAW* findData);
    BOOL (*findNext)(HANDLE find, WIN32_FIND_DATAW* findData);
    BOOL (*findClose)(HANDLE& find);
};

extern DirectoryEnumHooks g_DirectoryEnumHooks;

// TRUE for "." and "..".
BOOL IsDotEntry(const WIN32_FIND_DATAW& findData);
// TRUE when a walk may descend into the entry: a directory other than "." and
// "..", and not a reparse point.
BOOL IsWalkableDirectory(const WIN32_FIND_DATAW& findData);

// Called for every entry inside `folder` except "." and ".."; return FALSE to stop.
using DirectoryEntryVisitor = std::function<BOOL(LPCWSTR folder, const WIN32_FIND_DATAW& findData)>;

// Enumerates "*.*" inside `directory` (one level). Returns FALSE when the visitor
// stopped the enumeration, TRUE otherwise (also when the directory cannot be read).
BOOL ForEachDirectoryEntry(LPCWSTR directory, const DirectoryEntryVisitor& visit);

// Visits every file below `directory`, descending into walkable subdirectories;
// returns FALSE when the visitor stopped the walk.
BOOL ForEachFileBelow(LPCWSTR directory, const DirectoryEntryVisitor& visitFile);

// Adds this directory to `directoryCount` (when `countSelf`: the entry is a filled
// one), then every file below it to `fileCount` and its size to `byteTotal`, every
// subdirectory to `directoryCount`. Reparse-point folders are counted but not entered.
void CountDirectoryContents(LPCWSTR directory, BOOL countSelf, int& fileCount, ULONGLONG& byteTotal,
                            int& directoryCount);
