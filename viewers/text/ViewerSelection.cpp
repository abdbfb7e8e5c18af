#include "viewers/text/ViewerSelection.h"

#include "viewers/text/ViewDataThread.h"

namespace
{
INT64 LineEnd(const ViewerTextView& t, INT64 line)
{
    const INT64 end = t.lineIndex[line + 1];
    return end < t.textLength ? end : t.textLength;
}

BOOL IsBreak(char c)
{
    return c == '\r' || c == '\n';
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Bytes of the character at p, never past `end`.
INT64 CharSize(const ViewerTextView& t, INT64 p, INT64 end)
{
    return p + 1 < end && IsViewerLeadByte(static_cast<BYTE>(t.text[p])) ? 2 : 1;
}
} // namespace

INT64 FindViewerLine(const ViewerTextView& t, INT64 fromLine, INT64 offset)
{
    if (t.lineIndex == nullptr || t.lineCount <= 0 || offset < 0)
        return 0;
    INT64 l = fromLine < 0 ? 0 : (fromLine >= t.lineCount ? t.lineCount - 1 : fromLine);
    while (l > 0 && offset < t.lineIndex[l])
        --l;
    while (l < t.lineCount - 1 && offset >= t.lineIndex[l + 1])
        ++l;
    return l;
}

INT64 NextViewerCaret(const ViewerTextView& t, INT64 caret, INT64 byteStep, INT64 lineStep)
{
    if (t.lineIndex == nullptr || t.lineCount <= 0)
        return 0;
    if (caret < 0)
        caret = 0;
    if (caret > t.textLength)
        caret = t.textLength;
    if (byteStep > 0)
    {
        const INT64 target = caret + byteStep;
        if (target >= t.textLength)
            return t.textLength;
        const INT64 line = FindViewerLine(t, 0, target);
        const INT64 end = LineEnd(t, line);
        INT64 p = t.lineIndex[line];
        while (p < target && p < end)
        {
            if (IsBreak(t.text[p]))
                return end;
            p += CharSize(t, p, end);
        }
        return p < end ? p : end;
    }
    if (byteStep < 0)
    {
        const INT64 target = caret + byteStep;
        if (target <= 0)
            return 0;
        const INT64 line = FindViewerLine(t, 0, target);
        const INT64 end = LineEnd(t, line);
        INT64 p = t.lineIndex[line];
        INT64 last = p;
        while (p <= target && p < end)
        {
            last = p;
            if (IsBreak(t.text[p]))
                break;
            p += CharSize(t, p, end);
        }
        return last;
    }
    if (lineStep == 0)
        return caret;
    INT64 line = FindViewerLine(t, 0, caret);
    if (lineStep < 0 && caret > t.lineIndex[line])
        ++line;
    line += lineStep;
    if (line < 0)
        return 0;
    if (line >= t.lineCount)
        return t.textLength;
    return t.lineIndex[line];
}

std::string ViewerSelectedBytes(const ViewerTextView& t, INT64 a, INT64 b)
{
    if (t.text == nullptr)
        return std::string();
    INT64 lo = a < b ? a : b;
    INT64 hi = a < b ? b : a;
    if (lo < 0)
        lo = 0;
    if (hi > t.textLength)
        hi = t.textLength;
    if (hi <= lo)
        return std::string();
    return std::string(t.text + lo, static_cast<size_t>(hi - lo));
}

BOOL FindViewerUrl(const ViewerTextView& t, INT64 line, INT64 position, INT64* start, INT64* end)
{
    if (t.lineIndex == nullptr || line < 0 || line >= t.lineCount)
        return FALSE;
    const INT64 lineStart = t.lineIndex[line];
    const INT64 lineEnd = LineEnd(t, line);
    if (position < lineStart || position >= lineEnd)
        return FALSE;
    static const char* const kSchemes[] = {"http://", "ftp://", "https://"};
    for (INT64 p = lineStart; p < lineEnd;)
    {
        const BYTE c = static_cast<BYTE>(t.text[p]);
        if (IsViewerLeadByte(c))
        {
            p += CharSize(t, p, t.textLength);
            continue;
        }
        INT64 matched = 0;
        for (const char* scheme : kSchemes)
        {
            INT64 k = 0;
            while (scheme[k] != 0 && p + k < t.textLength && AsciiLower(t.text[p + k]) == scheme[k])
                ++k;
            if (scheme[k] == 0)
            {
                matched = k;
                break;
            }
        }
        if (matched == 0)
        {
            ++p;
            continue;
        }
        // A blank ends the address too: a sentence goes on after it.
        INT64 q = p;
        while (q < t.textLength)
        {
            const BYTE b = static_cast<BYTE>(t.text[q]);
            if (IsViewerLeadByte(b) || b <= ' ' || b == '"' || b == ',' || b == 0x7F)
                break;
            ++q;
        }
        if (p <= position && position <= q)
        {
            *start = p;
            *end = q;
            return TRUE;
        }
        p = q > p ? q : p + 1;
    }
    return FALSE;
}
