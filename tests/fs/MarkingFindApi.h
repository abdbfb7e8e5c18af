// A find interface over the real functions for tests: a path can be sent elsewhere
// before it is looked up, and every entry found can be dressed up (made a reparse
// point, given a size) to show what the file system under Wine cannot.
#pragma once

#include "fs/FindEntries.h"

#include <string>

class CMarkingFindApi : public CFindApi
{
public:
    HANDLE FirstFile(const wchar_t* path, WIN32_FIND_DATAW* data) override
    {
        std::wstring real;
        if (!Redirect(path, real))
            return INVALID_HANDLE_VALUE;
        HANDLE handle = CFindApi::FirstFile(real.c_str(), data);
        if (handle != INVALID_HANDLE_VALUE)
            Mark(data);
        return handle;
    }
    BOOL NextFile(HANDLE handle, WIN32_FIND_DATAW* data) override
    {
        BOOL found = CFindApi::NextFile(handle, data);
        if (found)
            Mark(data);
        return found;
    }

protected:
    // The path to look up in place of `path`; false (with the last error set) when the
    // lookup is to fail.
    virtual bool Redirect(const wchar_t* path, std::wstring& real)
    {
        real = path;
        return true;
    }
    virtual void Mark(WIN32_FIND_DATAW* data) = 0;
};
