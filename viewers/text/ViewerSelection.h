// The text viewer's selection over a line-indexed text: the line that holds a byte,
// the caret's next place for a key, and the selected bytes for the clipboard. The
// caller holds the text's lock around each call.
#pragma once
#include <windows.h>

#include <string>

struct ViewerTextView
{
    const char* text = nullptr;
    INT64 textLength = 0;
    // lineCount + 1 entries: line l runs from lineIndex[l] to lineIndex[l + 1].
    const INT64* lineIndex = nullptr;
    INT64 lineCount = 0;
};

// The display line that holds `offset`, searched from `fromLine`; offsets before the
// text give 0, at or past its end the last line.
INT64 FindViewerLine(const ViewerTextView& t, INT64 fromLine, INT64 offset);

// Where the caret goes for a byte step (whole characters: a double-byte character is
// never split; a line break is stepped over whole) or, with byteStep 0, a line step
// (to a line's start; the first step up from inside a line goes to that line's start).
INT64 NextViewerCaret(const ViewerTextView& t, INT64 caret, INT64 byteStep, INT64 lineStep);

// The bytes between two offsets in either order, clipped to the text.
std::string ViewerSelectedBytes(const ViewerTextView& t, INT64 a, INT64 b);

// The URL ("http://", "ftp://" or "https://", any case) found from the start of `line`
// that holds `position`: it runs to the text's end, a double-byte character, a line
// break, a blank or control byte, '"' or ','. A URL is taken when it starts at or
// before `position` and reaches it (its end may be the byte clicked just after it);
// [*start, *end) is then set and TRUE returned. A position outside the line takes
// nothing.
BOOL FindViewerUrl(const ViewerTextView& t, INT64 line, INT64 position, INT64* start, INT64* end);
