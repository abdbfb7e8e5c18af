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
