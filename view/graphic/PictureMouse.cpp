// The mouse over a shown picture: the wheel and the double click do what the graphic
// settings' mouse page chose for them.
#include "app/settings/GraphicSettings.h"
#include "view/QvView.h"

namespace
{
// Rows of the mouse table.
constexpr int kLeftDoubleClick = 2;
constexpr int kWheelUp = 4;
constexpr int kWheelDown = 5;

// The wheel's operations.
enum
{
    WHEEL_SCROLL_BACK = 2,
    WHEEL_SCROLL_ON = 3,
    WHEEL_ZOOM_IN = 4,
    WHEEL_ZOOM_OUT = 5,
    WHEEL_NEXT_PICTURES = 6,
    WHEEL_PREVIOUS_PICTURES = 7,
};

// The double click's operation that acts as the Enter key.
constexpr int kDoubleClickEnter = 1;

// Columns of the mouse table: none, Shift, Ctrl; Shift wins when both are held.
int ModifierColumn(UINT flags)
{
    if ((flags & MK_SHIFT) != 0)
        return 1;
    if ((flags & MK_CONTROL) != 0)
        return 2;
    return 0;
}
} // namespace

BOOL CQvView::TurnWheelOverPicture(UINT flags, short delta)
{
    if (FindGraphicPane() < 0)
        return FALSE;
    const int notches = delta / WHEEL_DELTA;
    const int operation = g_GraphicMouseOperations[delta < 0 ? kWheelDown : kWheelUp][ModifierColumn(flags)];
    const int count = notches < 0 ? -notches : notches;
    switch (operation)
    {
    case WHEEL_SCROLL_BACK:
    case WHEEL_SCROLL_ON: {
        // Up and down while the picture is taller than the window, else left and right.
        const int bar = m_graphic.vMax > m_graphic.vMin ? SB_VERT : SB_HORZ;
        for (int i = 0; i < count; ++i)
            ScrollPictureBar(bar, operation == WHEEL_SCROLL_BACK ? SB_LINEUP : SB_LINEDOWN, 0);
        return TRUE;
    }
    case WHEEL_ZOOM_IN:
    case WHEEL_ZOOM_OUT:
        if (count > 0)
            StepZoom(operation == WHEEL_ZOOM_IN ? 1 : 2);
        return TRUE;
    case WHEEL_NEXT_PICTURES:
    case WHEEL_PREVIOUS_PICTURES:
        if (count > 0)
            ShowNextPicture(operation == WHEEL_NEXT_PICTURES ? count : -count);
        return TRUE;
    default:
        return FALSE;
    }
}

void CQvView::DoubleClickOnPicture()
{
    if (g_GraphicMouseOperations[kLeftDoubleClick][0] == kDoubleClickEnter)
        OpenCursorEntry(0, 0);
}
