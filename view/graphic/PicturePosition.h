// Where the graphic viewer stands: a stack of list levels (the view's picture list,
// then an archive's members), the steps still to make and the earliest place shown.
#pragma once
#include "framework/FwCollections.h"

struct NUMBER_INFO
{
    int valid; // 0: an empty level keeping the place of an outer list
    int count;
    int index; // count: past the end
    int flag;  // 1 after a jump, until the next step
};

class CPicturePosition
{
public:
    CPicturePosition() { Reset(); }
    ~CPicturePosition() = default;

    // Forgets the levels and the steps; the remembered position stays.
    void Reset();
    // Forgets the remembered position as well (a new graphic session).
    void Clear();
    int IsNested() const { return m_levels.GetCount() > 1 ? 1 : 0; }
    void SetDirection(int value) { m_carry = m_direction = value; }
    int GetDirection() const { return m_direction; }
    int GetCarry() const { return m_carry; }
    void SetCarry(int value) { m_carry = value; }
    int PushLevel(int count, int valid);
    // 0 at the start and nothing moved, 1 moved or stayed, 2 steps left over past the
    // outermost level, 3 past the end of the outermost list, 4 as 1 after inner
    // levels were dropped.
    int Step();
    // Level 0 (and any other value) the first, 1 the second, -1 the innermost, -2 the
    // first valid level; -1 when it does not exist.
    int GetIndex(int level) const;
    int GetCount(int level) const;
    void JumpTo(int level, int index);
    int IsAtStart() const;
    void ResetDirection();
    int IsAtEnd() const;
    void RememberEarliest();

    int GetLevelCount() const { return static_cast<int>(m_levels.GetCount()); }
    const NUMBER_INFO& GetLevel(int level) const { return m_levels[level]; }
    NUMBER_INFO& GetLevel(int level) { return m_levels[level]; }
    const CArray<NUMBER_INFO>& GetRemembered() const { return m_remembered; }

private:
    const NUMBER_INFO* Select(int level) const;

    CArray<NUMBER_INFO> m_levels;
    CArray<NUMBER_INFO> m_remembered;
    int m_carry = 0;
    int m_direction = 0;
};
