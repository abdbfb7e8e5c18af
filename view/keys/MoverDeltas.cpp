#include "view/keys/MoverDeltas.h"

#include "filer/FilerPane.h"
#include "viewers/binary/BinaryData.h"

namespace
{

constexpr UINT kFilerLikeModes =
    PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;
constexpr UINT kPagedListModes = PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;

// A move to an end goes the whole document's length: its lines (rows of 16 bytes in
// the hexadecimal form), or the binary editor's nibbles.
INT64 WholeDocument(const CFilerPane& pane)
{
    if ((pane.m_mode & PANE_MODE_BINARY) != 0)
        return pane.m_binaryData != nullptr ? pane.m_binaryData->m_size * 2 : 0;
    if (pane.m_viewer == nullptr)
        return 0;
    return pane.m_bHexDisplay ? pane.m_viewer->TextLength() / 16 : pane.m_viewer->LineCount();
}

} // namespace

bool ComputeMoverDelta(int kind, const CFilerPane& pane, int lines, int dir, INT64* delta, int* wrap)
{
    const UINT mode = pane.m_mode;
    const INT64 columns = pane.m_columnsInUse > 0 ? pane.m_columnsInUse : 1;
    const INT64 rows = pane.m_linesInUse > 0 ? pane.m_linesInUse : 1;
    // In the preview layout the entries run along the rows, left to right.
    const bool alongRows = pane.m_bPreviewLayout != FALSE;
    const bool text = (mode & PANE_MODES_TEXT_VIEWERS) != 0;
    const bool binary = (mode & PANE_MODE_BINARY) != 0;
    *wrap = 1;
    switch (kind)
    {
    case MOVER_HORIZONTAL:
        if ((mode & kFilerLikeModes) != 0)
            *delta = alongRows ? dir : dir * rows;
        else if (binary)
            *delta = dir;
        else
            return false;
        return true;
    case MOVER_LINES:
        if ((mode & kFilerLikeModes) != 0)
            *delta = static_cast<INT64>(lines) * dir * (alongRows ? columns : 1);
        else if (text)
            *delta = static_cast<INT64>(lines) * dir;
        else if (binary)
            *delta = static_cast<INT64>(lines) * kBinaryLineNibbles * dir;
        else
            return false;
        return true;
    case MOVER_PAGE:
    case MOVER_HALF_PAGE: {
        INT64 page = 0;
        if ((mode & kPagedListModes) != 0)
            page = columns * rows * dir;
        else if (text || mode == PANE_MODE_DRIVE_LIST)
            page = rows * dir;
        else if (binary)
            // One line of the old page stays in sight.
            page = (rows * kBinaryLineNibbles - kBinaryLineNibbles) * dir;
        else
            return false;
        *delta = kind == MOVER_HALF_PAGE ? page / 2 : page;
        return true;
    }
    case MOVER_TO_END:
        *wrap = 0;
        if ((mode & kPagedListModes) != 0)
            *delta = static_cast<INT64>(pane.GetEntryCount()) * dir;
        else if (text || binary)
            *delta = WholeDocument(pane) * dir;
        else
            return false;
        return true;
    default:
        return false;
    }
}
