#include "view/scroll/ScrollRange.h"

namespace
{

// A scroll bar's range is a signed 32-bit number.
constexpr INT64 kLargestRange = 2147483647;
constexpr INT64 kScaledSteps = 2000;
// From here on the position is computed by dividing by lines per step, so that the
// product of the scaling cannot overflow.
constexpr INT64 kDivideFrom = 200000;

} // namespace

PaneScrollRange ListScrollRange(INT64 entries, INT64 firstVisible, int step)
{
    PaneScrollRange out;
    INT64 by = step < 1 ? 1 : step;
    INT64 steps = entries / by;
    if (steps > kLargestRange - 1)
    {
        out.maximum = static_cast<int>(kLargestRange);
        out.position = entries > 0 ? static_cast<int>(firstVisible * kLargestRange / entries) : 0;
        return out;
    }
    out.maximum = static_cast<int>(steps);
    out.position = static_cast<int>(firstVisible / by);
    return out;
}

PaneScrollRange LineScrollRange(INT64 lines, INT64 firstLine)
{
    PaneScrollRange out;
    if (lines < 0)
        lines = 0;
    if (lines < kScaledSteps)
    {
        out.maximum = static_cast<int>(lines);
        out.position = static_cast<int>(firstLine);
        return out;
    }
    out.maximum = static_cast<int>(kScaledSteps);
    if (lines < kDivideFrom)
        out.position = static_cast<int>(firstLine * kScaledSteps / lines);
    else
        out.position = static_cast<int>(firstLine / (lines / kScaledSteps));
    return out;
}

INT64 LineFromScrollThumb(INT64 lines, int thumb)
{
    if (thumb < 0)
        thumb = 0;
    if (lines < kScaledSteps)
        return thumb;
    if (lines <= kDivideFrom)
        return thumb * lines / kScaledSteps;
    return thumb * (lines / kScaledSteps);
}
