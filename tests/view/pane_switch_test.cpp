// The switch between the panes: the other pane becomes active; a pane that was not
// shown opens where the active pane is (unless its own place is to be kept); a
// picture on screen keeps the keys where they are.
#include "tests/view/CommandTestSupport.h"

#include "tests/common/TestHelpers.h"

#include <string>

namespace
{

class PaneSwitch : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_KEEP_FILER_INFO, 0);
        Set(g_NOTVIEWUPDIR, 1);
        Set(g_NOTVIEWCURRENTDIR, 1);
        m_inner = m_dir + L"\\inner";
        CreateDirectoryW(m_inner, nullptr);
        for (LPCWSTR name : {L"\\a.txt", L"\\b.txt", L"\\c.txt"})
            qvtest::WriteFileBytes(std::wstring(m_dir + name), "x");
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
        m_panes[1]->m_currentDir = m_inner;
        m_panes[0]->m_sortSetting.m_fileKey = 3;
        m_panes[1]->m_sortSetting.m_fileKey = 0;
    }
    CString m_inner;
};

TEST_F(PaneSwitch, TheOtherOrTheHiddenPaneBecomesActive)
{
    struct Case
    {
        UINT otherPosition;
        UINT otherMode;
        int keepFilerInfo;
        LPCWSTR expectedDir; // of pane 1 afterwards; null: its own
        int expectedSortKey;
    };
    const Case cases[] = {
        {PANE_POS_OTHER, PANE_MODE_FILER, 0, nullptr, 0},
        {PANE_POS_HIDDEN, PANE_MODE_DRIVE_LIST, 0, L"<active>", 3},
        {PANE_POS_HIDDEN, PANE_MODE_FILER, 1, nullptr, 0},
    };
    for (const Case& c : cases)
    {
        m_panes[0]->m_position = PANE_POS_ACTIVE;
        m_panes[1]->m_position = c.otherPosition;
        m_panes[1]->m_mode = c.otherMode;
        m_panes[1]->m_currentDir = m_inner;
        m_panes[1]->m_sortSetting.m_fileKey = 0;
        g_KEEP_FILER_INFO = c.keepFilerInfo;
        View().SwitchActivePane(-1);
        EXPECT_EQ(m_panes[1]->m_position, static_cast<UINT>(PANE_POS_ACTIVE)) << c.otherPosition;
        EXPECT_EQ(m_panes[0]->m_position, static_cast<UINT>(PANE_POS_OTHER)) << c.otherPosition;
        CString expected = c.expectedDir == nullptr ? m_inner : m_dir;
        EXPECT_EQ(std::wstring(m_panes[1]->m_currentDir), std::wstring(expected)) << c.otherPosition;
        EXPECT_EQ(m_panes[1]->m_sortSetting.m_fileKey, c.expectedSortKey) << c.otherPosition;
        if (c.expectedDir != nullptr)
        {
            EXPECT_EQ(m_panes[1]->m_mode, static_cast<UINT>(PANE_MODE_FILER));
            EXPECT_EQ(m_panes[1]->m_entries.GetSize(), 4) << "the hidden pane lists its new folder";
        }
    }
}

TEST_F(PaneSwitch, ACursorIndexIsTakenAndClampedAndAPictureBlocksTheSwitch)
{
    m_panes[0]->m_position = PANE_POS_OTHER;
    m_panes[1]->m_position = PANE_POS_ACTIVE;
    View().SwitchActivePane(99);
    EXPECT_EQ(m_panes[0]->m_position, static_cast<UINT>(PANE_POS_ACTIVE));
    EXPECT_EQ(m_panes[0]->m_cursor, m_panes[0]->m_entries.GetSize() - 1);
    View().SwitchActivePane(-1);
    View().SwitchActivePane(1);
    EXPECT_EQ(m_panes[0]->m_cursor, 1);

    m_panes[1]->m_mode = PANE_MODE_GRAPHIC;
    View().SwitchActivePane(-1);
    EXPECT_EQ(m_panes[0]->m_position, static_cast<UINT>(PANE_POS_ACTIVE));
}

} // namespace
