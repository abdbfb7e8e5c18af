// The graphic viewer's place in its picture list, as the picture load dialog steps
// through it. The position object itself belongs to the view, above this library;
// the view hands it over wrapped in CPictureStepperOf.
#pragma once

class IPictureStepper
{
public:
    virtual ~IPictureStepper() = default;
    // Makes the steps still due: 0 back at the start and nothing moved, 1 moved or
    // stayed, 2 steps left over past the outermost level, 3 past the end of the
    // outermost list, 4 moved after inner levels were dropped.
    virtual int Step() = 0;
    // The next Step goes on by one picture in the direction of the walk.
    virtual void MoveOn() = 0;
    // Level 0 the first, 1 the second, -1 the innermost, -2 the first valid level;
    // -1 when the level does not exist.
    virtual int GetIndex(int level) const = 0;
    virtual int GetCount(int level) const = 0;
};

// Any position type with Step, GetDirection, SetCarry, GetIndex and GetCount.
template <class TPosition> class CPictureStepperOf : public IPictureStepper
{
public:
    explicit CPictureStepperOf(TPosition& position) : m_position(position) {}
    int Step() override { return m_position.Step(); }
    void MoveOn() override { m_position.SetCarry(m_position.GetDirection() < 0 ? -1 : 1); }
    int GetIndex(int level) const override { return m_position.GetIndex(level); }
    int GetCount(int level) const override { return m_position.GetCount(level); }

private:
    TPosition& m_position;
};
