#include "view/graphic/PicturePosition.h"

void CPicturePosition::Reset()
{
    m_carry = 0;
    m_direction = 0;
    m_levels.RemoveAll();
}

void CPicturePosition::Clear()
{
    Reset();
    m_remembered.RemoveAll();
}

int CPicturePosition::PushLevel(int count, int valid)
{
    NUMBER_INFO level = {valid, count, (count != 0 && m_direction < 0) ? count - 1 : 0, 0};
    if (count != 0)
        m_carry = 0;
    return static_cast<int>(m_levels.Add(level));
}

int CPicturePosition::Step()
{
    const int entryCount = GetLevelCount();
    if (entryCount == 0)
        return 1;
    const int entryIndex = m_levels[entryCount - 1].index;
    const int sign = m_carry > 0 ? 1 : (m_carry < 0 ? -1 : 0);
    bool dropped = false;
    int depth = 0;
    do
    {
        depth = GetLevelCount();
        NUMBER_INFO& level = m_levels[depth - 1];
        const int flag = level.flag;
        level.flag = 0;
        if (m_carry < 1 && IsAtStart())
        {
            m_carry = 0;
            if (depth == entryCount && level.index == entryIndex && flag == 0)
                return 0;
            return depth == entryCount ? 1 : 4;
        }
        level.index += sign;
        const bool outermost = depth == 1 || m_levels[depth - 2].valid == 0;
        if (level.index < 0)
        {
            if (outermost)
            {
                level.index = 0;
                m_carry = 0;
                return dropped ? 4 : 1;
            }
            m_carry = sign;
            m_levels.RemoveAt(depth - 1);
            dropped = true;
        }
        else if (level.index < level.count)
            m_carry -= sign;
        else
        {
            level.index = level.count;
            if (outermost)
            {
                m_carry = 0;
                return 3;
            }
            m_carry = sign;
            m_levels.RemoveAt(depth - 1);
            dropped = true;
        }
    } while (depth > 1 && m_carry != 0);
    return m_carry != 0 ? 2 : 1;
}

const NUMBER_INFO* CPicturePosition::Select(int level) const
{
    const int count = GetLevelCount();
    int at = 0;
    if (level == 1)
        at = 1;
    else if (level == -1)
        at = count - 1;
    else if (level == -2)
    {
        at = -1;
        for (int i = 0; i < count; ++i)
            if (m_levels[i].valid)
            {
                at = i;
                break;
            }
    }
    if (at < 0 || at >= count)
        return nullptr;
    return &m_levels[at];
}

int CPicturePosition::GetIndex(int level) const
{
    const NUMBER_INFO* info = Select(level);
    return info ? info->index : -1;
}

int CPicturePosition::GetCount(int level) const
{
    const NUMBER_INFO* info = Select(level);
    return info ? info->count : -1;
}

void CPicturePosition::JumpTo(int level, int index)
{
    if (level != 0 && level != 1)
        return;
    if (level >= GetLevelCount() || m_levels[level].index == index)
        return;
    m_levels[level].index = index;
    m_levels[level].flag = 1;
    m_levels.SetSize(level + 1);
}

int CPicturePosition::IsAtStart() const
{
    const int count = GetLevelCount();
    if (count == 0)
        return 1;
    bool allZero = true;
    for (int i = 0; i < count; ++i)
        if (m_levels[i].valid && m_levels[i].index != 0)
            allZero = false;
    if (allZero)
        return 1;
    if (m_remembered.GetCount() != count)
        return 0;
    for (int i = 0; i < count; ++i)
        if (m_levels[i].index != m_remembered[i].index)
            return 0;
    return 1;
}

void CPicturePosition::ResetDirection()
{
    if (IsAtStart())
        m_direction = m_carry = 1;
    else
        m_carry = m_direction < 0 ? -1 : 1;
}

int CPicturePosition::IsAtEnd() const
{
    const NUMBER_INFO* info = Select(-2);
    return info && info->index >= info->count ? 1 : 0;
}

void CPicturePosition::RememberEarliest()
{
    if (m_remembered.IsEmpty())
    {
        m_remembered.Copy(m_levels);
        return;
    }
    for (INT_PTR i = 0; i < m_remembered.GetCount(); ++i)
    {
        if (i >= m_levels.GetCount())
            return;
        if (m_levels[i].index != m_remembered[i].index)
        {
            if (m_levels[i].index < m_remembered[i].index)
                m_remembered.Copy(m_levels);
            return;
        }
    }
    m_remembered.Copy(m_levels);
}
