#include "filer/ZoomRatio.h"

int CZoomRatio::Compare(const ZoomStepRow& row) const
{
    // 64 bits: a percent ratio times a step denominator stays exact either way.
    long long mine = static_cast<long long>(m_numerator) * row.denominator;
    long long theirs = static_cast<long long>(row.numerator) * m_denominator;
    if (mine < theirs)
        return 1;
    return mine > theirs ? 3 : 2;
}

bool CZoomRatio::IsSameAs(int numerator, int denominator) const
{
    return !IsUnset() && m_numerator == numerator && m_denominator == denominator;
}

bool CZoomRatio::Differs(const CZoomRatio& other) const
{
    return m_unset != other.m_unset || m_numerator != other.m_numerator ||
           m_denominator != other.m_denominator;
}

int CZoomRatio::FindStep(int direction) const
{
    if (direction == 0 && IsUnset())
        return 0;
    int result = direction == 0 ? 0 : -1;
    bool found = false;
    int firstLarger = -1;
    int lastSmaller = -1;
    for (int i = 0; i < ZOOM_STEP_COUNT; ++i)
    {
        const ZoomStepRow& row = g_ZoomSteps[i];
        if ((direction == 1 || direction == 2) && !row.enabled)
            continue;
        int order = Compare(row);
        if (order == 2)
        {
            result = direction == 1 ? i + 1 : direction == 2 ? i - 1 : i;
            found = true;
            break;
        }
        if (order == 1)
        {
            if (firstLarger < 0)
                firstLarger = i;
        }
        else
            lastSmaller = i;
    }
    if (!found && result == -1)
    {
        if (direction == 1)
            result = firstLarger;
        else if (direction == 2)
            result = lastSmaller;
        if (result < 0)
            return -1;
    }
    result += 1;
    if (result < 1)
        result = 1;
    if (result > ZOOM_STEP_COUNT)
        result = ZOOM_STEP_COUNT;
    return result;
}

int CZoomRatio::Percent() const
{
    if (m_denominator <= 0)
        return 100;
    return static_cast<int>(static_cast<long long>(m_numerator) * 100 / m_denominator);
}

int CZoomRatio::SetPercent(int percent)
{
    if (percent < 1)
        percent = 1;
    bool same = !IsUnset() && m_numerator == percent && m_denominator == 100;
    m_numerator = percent;
    m_denominator = 100;
    return same ? 0 : 1;
}

int CZoomRatio::ZoomInPercent()
{
    int p = Percent();
    p = p > 9 ? p / 10 * 10 + 10 : p + 1;
    return SetPercent(p);
}

int CZoomRatio::ZoomOutPercent()
{
    int p = Percent();
    if (p > 10)
        p = p % 10 == 0 ? p - 10 : p / 10 * 10;
    else
        p -= 1;
    return SetPercent(p);
}
