// The cursor keywords: each hands its direction to one of the view's movers.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int CursorHorizontal(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorHorizontal(0, static_cast<int>(value), 1);
    return 1;
}

int CursorHorizontalSelect(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorHorizontal(1, static_cast<int>(value), 1);
    return 1;
}

int CursorLines(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorByLines(1, 0, static_cast<int>(value), 1);
    return 1;
}

int CursorLinesSelect(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorByLines(1, 1, static_cast<int>(value), 1);
    return 1;
}

int CursorPage(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorByPage(0, static_cast<int>(value));
    return 1;
}

int CursorPageSelect(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorByPage(1, static_cast<int>(value));
    return 1;
}

int CursorHalfPage(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorByHalfPage(0, static_cast<int>(value));
    return 1;
}

int CursorHalfPageSelect(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorByHalfPage(1, static_cast<int>(value));
    return 1;
}

int CursorToEnd(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorToEnd(0, static_cast<int>(value));
    return 1;
}

int CursorToEndSelect(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.MoveCursorToEnd(1, static_cast<int>(value));
    return 1;
}

int AutoScroll(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.StartAutoScroll(static_cast<int>(value));
    return 1;
}

} // namespace commands
