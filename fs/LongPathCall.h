// The long-path rule shared by every wrapper of a file-system call by path.
#pragma once
#include "fs/PathRules.h"

// call(const wchar_t*) makes one system call and returns whether it succeeded. The
// plain path goes first unless it would address another file; the extended-length
// form follows when the plain call failed. The last error is the one of the attempt
// that failed last.
template <class Call> bool CallWithLongPath(const wchar_t* path, Call call)
{
    ELongPathUse use = GetLongPathUse(path);
    if (use != LongPathOnly)
    {
        if (call(path))
            return true;
        if (use == LongPathNever)
            return false;
    }
    DWORD error = GetLastError();
    UString longPath;
    if (!GetLongPathFor(path, longPath))
    {
        SetLastError(error);
        return false;
    }
    return call(longPath.Chars());
}
