#include "view/binary/BinaryJump.h"

#include "util/Formatting.h"

#include <stdlib.h>

BOOL ComputeBinaryJumpDelta(LPCWSTR text, int hexNotation, int relative, LONGLONG cursor, LONGLONG* delta)
{
    LONGLONG number = 0;
    if (hexNotation)
    {
        int value = 0;
        if (!ParseHexNumber(text, value, TRUE))
            return FALSE;
        number = value;
    }
    else
        number = text != nullptr ? _wtoi64(text) : 0;
    *delta = relative ? number * 32 : number * 32 - cursor;
    return TRUE;
}

BOOL ParseBinaryOffset(LPCWSTR text, int hexNotation, LONGLONG size, LONGLONG* offset)
{
    if (text == nullptr || *text == 0)
        return FALSE;
    LONGLONG value = 0;
    if (hexNotation)
    {
        int parsed = 0;
        if (!ParseHexNumber(text, parsed, TRUE))
            return FALSE;
        value = parsed;
    }
    else
    {
        wchar_t* end = nullptr;
        value = _wcstoi64(text, &end, 10);
        if (end == text || *end != 0)
            return FALSE;
    }
    if (value < 0 || value >= size)
        return FALSE;
    *offset = value;
    return TRUE;
}
