// Path and name rules of the archive client: prefix forms (drive, network share,
// the extended-length "\\?\" and "\\?\UNC\" forms, the device form "\\.\"), full paths
// built without the system's full-path service, and when a file-system call needs
// the extended-length form. '\\' and '/' are equal on input; added separators are '\\'.
#pragma once
#include "fs/ArcString.h"

enum ELongPathUse
{
    LongPathNever,   // the path already carries a prefix that needs no second form
    LongPathOnly,    // the plain call would address another file: use only the extended form
    LongPathOnRetry, // plain call first, the extended form when it fails
};

bool IsPathSeparator(wchar_t c);
bool IsDrivePath(const wchar_t* path);
bool IsDriveRootPath(const wchar_t* path);
bool IsDriveRootOnly(const wchar_t* path);
bool IsAbsolutePath(const wchar_t* path);
bool IsSuperPath(const wchar_t* path);
bool IsSuperUncPath(const wchar_t* path);
bool IsSuperOrDevicePath(const wchar_t* path);
bool IsDevicePath(const wchar_t* path);
int FindPathSeparator(const wchar_t* path);
int FindStreamColon(const wchar_t* path);
uint32_t GetNetworkRootLength(const wchar_t* afterTwoSeparators);
uint32_t GetServerPrefixLength(const wchar_t* path);
uint32_t GetRootPrefixLength(const wchar_t* path);
uint32_t GetSuperRootPrefixLength(const wchar_t* path);
uint32_t GetPlainRootPrefixLength(const wchar_t* path);

bool HasDotComponent(const wchar_t* path);
bool ResolveDotComponents(UString& path);
bool MakeFullPath(const wchar_t* path, UString& out);
// base may be null: the current directory is used then.
bool MakeFullPathFrom(const wchar_t* base, const wchar_t* path, UString& out);
bool GetFullPathParts(const wchar_t* path, UString& dirPrefix, UString& name);
bool GetFullPathPrefix(const wchar_t* path, UString& dirPrefix);
bool GetSuperPath(const wchar_t* path, UString& out);
ELongPathUse GetLongPathUse(const wchar_t* path);
// The path for the second attempt of a wrapper; false when no second attempt is to be made.
bool GetLongPathFor(const wchar_t* path, UString& out);
bool GetLongPathsFor(const wchar_t* path1, const wchar_t* path2, UString& out1, UString& out2);
UString StripDataStreamSuffix(const UString& name);
bool IsDataStreamName(const wchar_t* name);
