// One property value as it crosses the boundary to the archive library, and the
// conversions of file times to the DOS, Unix and text forms that archives store.
#pragma once
#include "fs/ArcString.h"
#include <propidl.h>

// A PROPVARIANT that owns what its type owns (the system string of VT_BSTR).
// Thrown: the narrow text "out of memory" when a string cannot be allocated.
class CPropValue : public PROPVARIANT
{
public:
    CPropValue();
    CPropValue(const CPropValue& other);
    CPropValue& operator=(const CPropValue& other);
    ~CPropValue() { Clear(); }

    // A failing clear leaves VT_ERROR with the failure code and returns it.
    HRESULT Clear();
    void SetString(const UString& text);
    void SetBool(bool value);
    void SetUInt32(uint32_t value);
    void SetUInt64(uint64_t value);
    void SetFileTime(const FILETIME& value);
    void Assign(const PROPVARIANT& other);
    // Moves this value into dest (cleared first) and leaves this one VT_EMPTY.
    HRESULT DetachTo(PROPVARIANT* dest);
};

bool FileTimeToText(const FILETIME& time, CNarrowString& out, bool withTime, bool withSeconds);
bool FileTimeToDosTime(const FILETIME& time, uint32_t& dosTime);
bool FileTimeToUnixTime(const FILETIME& time, uint32_t& unixTime);
void GetCurrentUtcFileTime(FILETIME& time);
