// Small helpers that the section code of the settings layer shares: indexed keys,
// string reads with a default, colour texts and list clearing under g_DataMutex.
#pragma once
#include <windows.h>
#include <climits>
#include "util/Globals.h"
#include "util/IniFile.h"
#include "framework/FwCollections.h"
#include "framework/FwLock.h"
#include "framework/FwString.h"

inline CString IndexedKey(LPCWSTR format, int index)
{
    CString key;
    key.Format(format, index);
    return key;
}

inline CString IndexedKey2(LPCWSTR format, int first, int second)
{
    CString key;
    key.Format(format, first, second);
    return key;
}

inline CString ReadString(CIniFile& ini, LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue = L"")
{
    CString value;
    ini.GetString(section, key, defaultValue, &value);
    return value;
}

// Six lower-case hexadecimal digits of the colour's low 24 bits.
inline CString FormatColour(COLORREF colour)
{
    CString text;
    text.Format(L"%06x", static_cast<unsigned>(colour & 0xffffff));
    return text;
}

// The lists are shared with the workers that read them.
inline void ClearListLocked(CStringArray& list)
{
    CHandleLock lock(g_DataMutex);
    list.RemoveAll();
}

// Lists read until their first empty key with no maximum of their own.
constexpr int kUnlimitedList = INT_MAX;
