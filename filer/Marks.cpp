// Marks, cursor movement and the remembered cursor entry of each directory.
#include "filer/FilerPane.h"
#include "app/Settings.h"

// ---- Marks ---------------------------------------------------------------------------

void CFilerPane::SetEntryMark(INT_PTR index, int value)
{
    if (index < 0 || index >= m_entries.GetSize())
        return;
    CFileInfo& entry = m_entries[index];
    bool wasMarked = entry.m_mark != 0;
    if (!entry.SetMark(value))
        return;
    bool isMarked = entry.m_mark != 0;
    if (isMarked && !wasMarked)
        ++m_markedCount;
    else if (!isMarked && wasMarked)
        --m_markedCount;
    ResetTargetIteration();
}

void CFilerPane::MarkAll(int kind)
{
    INT_PTR count = m_entries.GetSize();
    bool anyMarked = false;
    for (INT_PTR i = 0; i < count && !anyMarked; ++i)
        anyMarked = m_entries[i].m_mark != 0;

    auto setAll = [&](bool files, bool directories, int value) {
        for (INT_PTR i = 0; i < count; ++i)
        {
            CFileInfo& entry = m_entries[i];
            if (entry.IsDirectory() ? directories : files)
                entry.SetMark(value);
        }
    };
    auto invert = [&](bool files, bool directories) {
        for (INT_PTR i = 0; i < count; ++i)
        {
            CFileInfo& entry = m_entries[i];
            if (entry.IsDirectory() ? directories : files)
                entry.SetMark(entry.m_mark ? 0 : 1);
        }
    };

    switch (kind)
    {
    case 0:
    case 1:
        if (anyMarked)
            setAll(true, true, 0);
        else
            setAll(true, kind == 0, 1);
        break;
    case 2:
        setAll(true, true, 0);
        break;
    case 3:
    case 4:
        if (anyMarked)
            invert(true, kind == 3);
        else
            setAll(true, kind == 3, 1);
        break;
    case 5:
    case 6: {
        INT_PTR cursor = static_cast<INT_PTR>(m_cursor);
        INT_PTR first = kind == 5 ? 0 : cursor;
        INT_PTR last = kind == 5 ? cursor : count - 1;
        // Pressed again on the same range, the command takes its marks back.
        bool exactlyRange = true;
        for (INT_PTR i = 0; i < count && exactlyRange; ++i)
        {
            const CFileInfo& entry = m_entries[i];
            bool inRange = i >= first && i <= last && !entry.IsDirectory();
            exactlyRange = (entry.m_mark != 0) == inRange;
        }
        setAll(true, true, 0);
        if (!exactlyRange)
        {
            for (INT_PTR i = first < 0 ? 0 : first; i <= last && i < count; ++i)
                if (!m_entries[i].IsDirectory())
                    m_entries[i].SetMark(1);
        }
        break;
    }
    default:
        break;
    }

    m_markedCount = 0;
    for (INT_PTR i = 0; i < count; ++i)
        if (m_entries[i].m_mark)
            ++m_markedCount;
    ResetTargetIteration();
}

int CFilerPane::CountMarked(BOOL files, BOOL directories) const
{
    if (files && directories)
        return m_markedCount;
    int marked = 0;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = m_entries[i];
        if (entry.m_mark && (entry.IsDirectory() ? directories : files))
            ++marked;
    }
    return marked;
}

INT_PTR CFilerPane::CountEntries(BOOL files, BOOL directories) const
{
    if (files && directories)
        return m_entries.GetSize() - m_dotCount;
    INT_PTR counted = 0;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        if (m_entries[i].IsDirectory() ? directories : files)
            ++counted;
    return directories ? counted - m_dotCount : counted;
}

ULONGLONG CFilerPane::GetTotalFileSize() const
{
    ULONGLONG total = 0;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        if (!m_entries[i].IsDirectory())
            total += m_entries[i].m_size;
    return total;
}

ULONGLONG CFilerPane::GetMarkedFileSize() const
{
    ULONGLONG total = 0;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        if (m_entries[i].m_mark && !m_entries[i].IsDirectory())
            total += m_entries[i].m_size;
    return total;
}

// ---- Cursor --------------------------------------------------------------------------

int CFilerPane::MoveCursor(INT64 delta, BOOL mayWrap)
{
    if (m_columnCount <= 0)
        m_columnCount = m_columnsInUse = 1;
    if (m_lineCount <= 0)
        m_lineCount = m_linesInUse = 1;
    INT64 oldFirst = m_firstVisible;
    INT64 count = GetEntryCount();
    INT64 previous = m_cursor;

    if ((m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)) != 0)
    {
        if (count <= 0)
        {
            m_cursor = 0;
            m_firstVisible = 0;
            return m_firstVisible != oldFirst;
        }
        bool toggle = g_CURSORTOGGLE && mayWrap;
        INT64 cursor = previous + delta;
        if (cursor > count - 1)
            cursor = (toggle && delta != 0 && previous == count - 1) ? 0 : count - 1;
        if (cursor < 0)
            cursor = (toggle && previous == 0) ? count - 1 : 0;
        m_cursor = cursor;

        INT64 columns = m_columnsInUse > 0 ? m_columnsInUse : 1;
        INT64 lines = m_linesInUse > 0 ? m_linesInUse : 1;
        INT64 step = m_bPreviewLayout ? columns : lines;
        INT64 page = columns * lines;
        if (m_firstVisible < 0 || m_firstVisible % step != 0)
            m_firstVisible = 0;
        while (cursor < m_firstVisible && m_firstVisible > 0)
            m_firstVisible = m_firstVisible - step < 0 ? 0 : m_firstVisible - step;
        while (cursor >= m_firstVisible + page && m_firstVisible + step < count)
            m_firstVisible += step;
    }
    else if (m_mode & PANE_MODE_DRIVE_LIST)
    {
        INT64 cursor = previous + delta;
        if (cursor > count - 1)
            cursor = count - 1;
        if (cursor < 0)
            cursor = 0;
        m_cursor = cursor;
        INT64 lines = m_lineCount > 0 ? m_lineCount : 1;
        if (cursor < m_firstVisible)
            m_firstVisible = cursor;
        else if (cursor >= m_firstVisible + lines)
            m_firstVisible = cursor - lines + 1;
    }
    else
        return 0;
    return m_firstVisible != oldFirst ? 1 : 0;
}

int CFilerPane::SetCursorToName(LPCWSTR name, BOOL directoriesOnly, INT64 fallbackIndex)
{
    if (name)
    {
        INT64 found = -1;
        bool isFile = false;
        if (m_mode == PANE_MODE_NETWORK)
        {
            for (INT_PTR i = 0; i < m_networkList.GetSize() && found < 0; ++i)
                if (m_networkList[i].m_name.CompareNoCase(name) == 0)
                    found = i;
        }
        else
        {
            for (INT_PTR i = 0; i < m_entries.GetSize() && found < 0; ++i)
            {
                if (CString(m_entries[i].GetName()).CompareNoCase(name) == 0)
                {
                    found = i;
                    isFile = !m_entries[i].IsDirectory();
                }
            }
        }
        m_cursor = (found < 0 || (directoriesOnly && isFile)) ? fallbackIndex : found;
    }
    return MoveCursor(0, TRUE);
}

void CFilerPane::SetCursorToNameOrParent(LPCWSTR name)
{
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = m_entries[i];
        if (g_SAVECURSORPOSITION && name && CString(entry.GetName()).CompareNoCase(name) == 0)
        {
            m_cursor = i;
            return;
        }
        if (entry.m_entryClass == ENTRY_CLASS_PARENT)
            m_cursor = i;
    }
}

void CFilerPane::SaveCursorPosition()
{
    if (!(m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) || m_mode != PANE_MODE_FILER ||
        m_subMode != PANE_SUB_DIRECTORY || !g_SAVECURSORPOSITION || g_SaveCursorPositions.GetSize() == 0)
        return;
    INT_PTR found = -1;
    for (INT_PTR i = 0; i < g_SaveCursorPositions.GetSize() && found < 0; ++i)
        if (g_SaveCursorPositions[i].m_directory.CompareNoCase(m_currentDir) == 0)
            found = i;

    if (CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT))
    {
        // Nothing to remember here: the old record goes and an empty one takes its
        // slot, so the list keeps its length.
        if (found >= 0)
        {
            g_SaveCursorPositions.RemoveAt(found);
            g_SaveCursorPositions.Add(CSaveCursorPosition());
        }
        return;
    }
    CFileInfo* cursor = GetCursorEntry();
    if (!cursor || cursor->IsDots())
        return;
    CSaveCursorPosition record;
    record.m_directory = m_currentDir;
    record.m_name = cursor->GetName();
    g_SaveCursorPositions.RemoveAt(found >= 0 ? found : g_SaveCursorPositions.GetSize() - 1);
    g_SaveCursorPositions.InsertAt(0, record);
}
