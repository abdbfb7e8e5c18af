// The graphic viewer's zoom: a fraction, or unset (fit the picture to the window),
// measured against the ten zoom steps of g_ZoomSteps.
#pragma once
#include "app/settings/GraphicSettings.h"

class CZoomRatio
{
public:
    CZoomRatio() { SetUnset(); }
    CZoomRatio(int numerator, int denominator)
        : m_unset(0), m_numerator(numerator), m_denominator(denominator)
    {
    }
    explicit CZoomRatio(const ZoomStepRow& row) : CZoomRatio(row.numerator, row.denominator) {}

    bool IsUnset() const { return m_unset != 0; }
    void SetUnset()
    {
        m_unset = 1;
        m_numerator = -1;
        m_denominator = -1;
    }
    int Numerator() const { return m_numerator; }
    int Denominator() const { return m_denominator; }

    // 1 smaller than the row, 2 equal, 3 larger.
    int Compare(const ZoomStepRow& row) const;
    // Set, with the very same numbers (2/4 is not 1/2).
    bool IsSameAs(int numerator, int denominator) const;
    bool Differs(const CZoomRatio& other) const;
    // Direction 0 the ratio's own row, 1 the next enabled step up, 2 the next enabled
    // step down: a row number 1-10, -1 none that way, 0 for 0 on an unset ratio.
    int FindStep(int direction) const;
    // Whole-percent steps for fine zooming; 1 when the ratio changed.
    int ZoomInPercent();
    int ZoomOutPercent();

private:
    int Percent() const;
    int SetPercent(int percent);

    int m_unset;
    int m_numerator;
    int m_denominator;
};
