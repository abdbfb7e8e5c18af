// The view's text-viewer commands over a real file: V opens the cursor file, the
// width presets, the tab keys and the character-code keys load or wrap it again, the
// line-number key flips its setting, and Enter returns to the list on the file.
#include "tests/view/CommandTestSupport.h"

#include "app/settings/ViewerSettings.h"
#include "tests/common/TestHelpers.h"
#include "viewers/text/TextPaneViewer.h"

#include <string>

namespace
{

using commandtest::CommandBench;

class ViewerCommands : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        SetPaneViewerFactory(&CreateTextPaneViewer);
        Set(g_VIEWCHARWIDE, 80);
        Set(g_TABCARAMES, 8);
        Set(g_VIEWER_CHAR_CODE, 0);
        Set(g_VIEWNUMBER, 0);
        Set(g_NOTVIEWUPDIR, 1);
        Set(g_NOTVIEWCURRENTDIR, 1);
        Set(g_ViewerLineWidths[1], 50);
    }
    void TearDown() override
    {
        for (CFilerPane* pane : g_Panes)
            if (pane != nullptr)
                pane->ReleaseViewerData();
        SetPaneViewerFactory(nullptr);
        CommandBench::TearDown();
    }
    CFilerPane& Pane() { return *g_Panes[0]; }
    INT64 Lines() { return Pane().m_viewer ? Pane().m_viewer->LineCount() : -1; }
};

TEST_F(ViewerCommands, OpenRewrapRecodeAndReturn)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\b.txt", "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\t.txt", std::string(200, 'a')));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
        if (std::wstring(Pane().m_entries[i].GetName()) == L"t.txt")
            Pane().m_cursor = i;

    View().ExecuteFilerCommand(L"@View");
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    EXPECT_EQ(Lines(), 3) << "80, 80 and 40 columns";

    View().ExecuteViewerCommand(L"@Lineword2");
    EXPECT_EQ(g_VIEWCHARWIDE, 50);
    EXPECT_EQ(Pane().m_viewer->GetLineWidth(), 50);
    EXPECT_EQ(Lines(), 4);

    View().ExecuteViewerCommand(L"@Changetab4");
    EXPECT_EQ(g_TABCARAMES, 4);
    EXPECT_EQ(Pane().m_viewer->GetTabWidth(), 4);

    View().ExecuteViewerCommand(L"@CharCodeEUC");
    EXPECT_EQ(g_VIEWER_CHAR_CODE, 1);
    EXPECT_EQ(Pane().GetViewerEncoding(), 1);
    EXPECT_EQ(Lines(), 4) << "reopened with the pane's own widths";

    View().ExecuteViewerCommand(L"@Linenumber");
    EXPECT_EQ(g_VIEWNUMBER, 1);

    View().RouteKeyPress(VK_RETURN);
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER));
    CFileInfo* cursor = Pane().GetCursorEntry();
    ASSERT_NE(cursor, nullptr);
    EXPECT_STREQ(cursor->GetName(), L"t.txt");
    EXPECT_EQ(Lines(), 0) << "the text is released when the viewer closes";
}

} // namespace
