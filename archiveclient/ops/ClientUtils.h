// Small helpers of the archive operations: reading an unsigned item property, checking
// that a name a handler asks for stays inside its folder, and three-way comparisons.
// The privilege helper lives with the disk scan (scan/DiskItems.h), which needs it first.
#pragma once
#include "fs/ArcString.h"
#include <propidl.h>

// VT_EMPTY gives false and leaves out as it was; VT_UI1, VT_UI2, VT_UI4 and VT_UI8 give
// the value and true; any other type throws kUnexpectedPropTypeError (151199).
bool PropertyToUInt64(const PROPVARIANT& value, uint64_t& out);

// True only for a relative path that ends below its start: no root, no drive, no empty
// first part, and no ".." that climbs above the start ("a\.." is refused too). '/' and
// '\' both separate.
bool IsSafeRelativePath(const wchar_t* path);

// prefix (a folder with its separator) joined with a relative name; false unless the
// name is safe and the joined full path still lies inside the folder.
bool CombineFullPath(const UString& prefix, const UString& name, UString& out);

int CompareUInt32(uint32_t a, uint32_t b);
int CompareUInt64(uint64_t a, uint64_t b);
