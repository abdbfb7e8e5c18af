// A view without a window over two panes of known entries, with every binding set
// emptied and every command that runs recorded, for the key and command tests.
#pragma once
#include "app/Settings.h"
#include "app/keys/KeyBindings.h"
#include "filer/FilerPane.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestSupport.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace commandtest
{

struct RanCommand
{
    std::wstring handler;
    std::wstring keyword;
    std::wstring argument;
};

inline std::vector<RanCommand>* g_ran = nullptr;

inline void RecordCommand(const CommandEntry& entry, LPCWSTR keyword, LPCWSTR argument)
{
    if (g_ran != nullptr)
        g_ran->push_back({entry.handlerName, keyword, argument});
}

inline int RowOf(const wchar_t* keyName)
{
    for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        if (std::wstring(g_KeyTable[row].keyName) == keyName)
            return row;
    ADD_FAILURE() << "no key";
    return 0;
}

inline CArrayKeyCmdInfo* const kAllSets[] = {&g_FilerKeyCmds,   &g_ArcInfoKeyCmds, &g_ViewerKeyCmds,
                                             &g_GraphicKeyCmds, &g_BinaryKeyCmds,  &g_CommonKeyCmds};

// The view with its timer handler reachable.
class CBenchView : public CQvView
{
public:
    using CQvView::OnTimer;
};

class CommandBench : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 6; ++i)
        {
            m_savedSets[i].CopyFrom(*kAllSets[i]);
            kAllSets[i]->CopyFrom(CArrayKeyCmdInfo());
        }
        m_dir = qvtest::ScratchDir().c_str();
        for (int i = 0; i < 2; ++i)
        {
            m_savedPanes[i] = g_Panes[i];
            m_panes[i] = std::make_unique<CFilerPane>(i);
            m_panes[i]->m_position = i == 0 ? PANE_POS_ACTIVE : PANE_POS_OTHER;
            m_panes[i]->m_mode = PANE_MODE_FILER;
            m_panes[i]->m_subMode = PANE_SUB_DIRECTORY;
            m_panes[i]->m_currentDir = m_dir;
            g_Panes[i] = m_panes[i].get();
        }
        Set(g_CURSORTOGGLE, 0);
        Set(g_INCMODENEGLECTCURMOVE, 1);
        g_ran = &m_ran;
        m_savedObserver = g_CommandObserver;
        g_CommandObserver = RecordCommand;
    }
    void TearDown() override
    {
        g_CommandObserver = m_savedObserver;
        g_ran = nullptr;
        m_view.reset();
        for (int i = 0; i < 2; ++i)
            g_Panes[i] = m_savedPanes[i];
        for (int i = 0; i < 6; ++i)
            kAllSets[i]->CopyFrom(m_savedSets[i]);
        for (auto it = m_ints.rbegin(); it != m_ints.rend(); ++it)
            *it->first = it->second;
    }
    void Set(int& variable, int value)
    {
        m_ints.push_back({&variable, variable});
        variable = value;
    }
    // Pane 0 gets `count` entries named e00, e01 … in a grid of columns x rows.
    void FillPane(int count, int columns, int rows)
    {
        CFilerPane& pane = *m_panes[0];
        pane.m_entries.RemoveAll();
        for (int i = 0; i < count; ++i)
        {
            WIN32_FIND_DATAW fd = {};
            fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
            swprintf_s(fd.cFileName, L"e%02d", i);
            pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
        }
        pane.m_columnCount = pane.m_columnsInUse = columns;
        pane.m_lineCount = pane.m_linesInUse = rows;
        pane.m_cursor = 0;
        pane.m_firstVisible = 0;
    }
    // The marked entries of pane 0 by index.
    std::vector<int> Marked() const
    {
        std::vector<int> out;
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            if (m_panes[0]->m_entries[i].m_mark)
                out.push_back(static_cast<int>(i));
        return out;
    }
    void Bind(CArrayKeyCmdInfo& set, const wchar_t* key, int modifier, LPCWSTR keyword, int ime = 0)
    {
        CKeyCmdEntry& entry = set.GetBinding(modifier, RowOf(key));
        entry.command = keyword;
        entry.imeControl = ime;
    }
    std::vector<std::wstring> RanHandlers() const
    {
        std::vector<std::wstring> out;
        for (const RanCommand& ran : m_ran)
            out.push_back(ran.handler);
        return out;
    }
    CBenchView& View()
    {
        if (!m_view)
            m_view = std::make_unique<CBenchView>();
        return *m_view;
    }

    // The program's hooks, from before the panes and the view are made until after
    // they are gone; a test replaces only the hooks it controls.
    qvtest::ScopedProgramWiring m_wiring;
    CString m_dir;
    std::unique_ptr<CFilerPane> m_panes[2];
    std::vector<RanCommand> m_ran;

private:
    std::unique_ptr<CBenchView> m_view;
    CFilerPane* m_savedPanes[2] = {};
    CArrayKeyCmdInfo m_savedSets[6];
    CommandObserver m_savedObserver = nullptr;
    std::vector<std::pair<int*, int>> m_ints;
};

} // namespace commandtest
