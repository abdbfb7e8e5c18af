// The view's text-viewer commands over a real file: V opens the cursor file, the
// width presets, the tab keys and the character-code keys load or wrap it again, the
// line-number key flips its setting, and Enter returns to the list on the file.
#include "tests/view/CommandTestSupport.h"

#include "app/SettingStrings.h"
#include "app/settings/ViewerSettings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "tests/common/TestHelpers.h"
#include "viewers/text/TextPaneViewer.h"

#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;

class ViewerCommands : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
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

std::string ClipboardBytes()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return "<not open>";
    if (HANDLE data = GetClipboardData(CF_TEXT))
    {
        if (auto* p = static_cast<const char*>(GlobalLock(data)))
        {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST_F(ViewerCommands, SelectionKeysMoveByCharactersAndLinesAndCopyTheBytes)
{
    const std::string text = "ab\r\n\x82\xA0x\r\nlast";
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\s.txt", text));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
        if (std::wstring(Pane().m_entries[i].GetName()) == L"s.txt")
            Pane().m_cursor = i;
    View().ExecuteFilerCommand(L"@View");
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));

    struct
    {
        const wchar_t* keyword;
        INT64 caret;
        const char* copied; // nullptr: no copy after this step
    } steps[] = {
        {L"@Selectdown", 4, nullptr},
        {L"@Selectright", 6, "ab\r\n\x82\xA0"},
        {L"@Selectup", 4, nullptr},
        {L"@Selectleft", 2, "ab"},
        {L"@Selectendline", static_cast<INT64>(text.size()), nullptr},
        {L"@Selectfirstline", 0, nullptr},
        {L"@Viewallselect", static_cast<INT64>(text.size()), "ab\r\n\x82\xA0x\r\nlast"},
    };
    for (const auto& step : steps)
    {
        View().ExecuteViewerCommand(step.keyword);
        EXPECT_TRUE(View().m_viewer.selection.active) << step.keyword;
        EXPECT_EQ(View().m_viewer.selection.end, step.caret) << step.keyword;
        if (step.copied != nullptr)
        {
            View().ExecuteViewerCommand(L"@Clipcopy");
            EXPECT_EQ(ClipboardBytes(), step.copied) << step.keyword;
        }
    }
    EXPECT_EQ(View().m_viewer.selection.anchor, 0);

    View().RouteKeyPress(VK_RETURN);
    EXPECT_FALSE(View().m_viewer.selection.active) << "leaving the viewer drops the selection";
}

TEST_F(ViewerCommands, SelectAllInTheHexadecimalFormSelectsNothing)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\h.txt", "some text"));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
        if (std::wstring(Pane().m_entries[i].GetName()) == L"h.txt")
            Pane().m_cursor = i;
    View().ExecuteFilerCommand(L"@View");
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    View().ExecuteViewerCommand(L"@Viewallselect");
    EXPECT_TRUE(View().m_viewer.selection.active);
    Pane().m_bHexDisplay = TRUE;
    View().ExecuteViewerCommand(L"@Viewallselect");
    EXPECT_FALSE(View().m_viewer.selection.active);
    EXPECT_EQ(0, View().m_viewer.selection.end);
    Pane().m_bHexDisplay = FALSE;
}

TEST_F(ViewerCommands, JumpGoesToALineOrMovesBySignedLines)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\r\n";
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\j.txt", text));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
        if (std::wstring(Pane().m_entries[i].GetName()) == L"j.txt")
            Pane().m_cursor = i;
    View().ExecuteFilerCommand(L"@View");
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    ASSERT_TRUE(Pane().IsViewerLoadDone());

    struct
    {
        INT_PTR result;
        const wchar_t* answer;
        INT64 top;
    } steps[] = {
        {IDOK, L"50", 50},    {IDOK, L"+5", 55}, {IDOK, L"-7", 48},
        {IDCANCEL, L"3", 48}, {IDOK, L"", 48},   {IDOK, L"-100", 0},
    };
    for (const auto& step : steps)
    {
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.result = step.result;
        answer.text = step.answer;
        script.Add(answer);
        View().ExecuteViewerCommand(L"@Jumptext");
        ASSERT_EQ(script.GetQuestions().size(), 1u) << step.answer;
        EXPECT_EQ(script.GetQuestions()[0].dialogId, 1246u);
        EXPECT_EQ(Pane().m_viewer->GetTopLine(), step.top) << step.answer;
    }

    CDialogAnswerScript script;
    CDialogAnswer answer;
    answer.text = L"99999";
    script.Add(answer);
    View().ExecuteViewerCommand(L"@Jumptext");
    const INT64 top = Pane().m_viewer->GetTopLine();
    EXPECT_GT(top, 50) << "a line past the end shows the last page";
    EXPECT_LT(top, Lines());
}

TEST_F(ViewerCommands, TheHexadecimalFormJumpsAndReloadsByRowsOfSixteenBytes)
{
    // Lines of 8 bytes: a row of the hexadecimal form holds two of them, so a count of
    // lines taken for rows lands at half the place, or is cut to the lines loaded.
    const int lines = 1000000;
    std::string text;
    text.reserve(static_cast<size_t>(lines) * 8);
    for (int i = 0; i < lines; ++i)
        text += "abcdefg\n";
    const INT64 rowCount = static_cast<INT64>(text.size()) / 16;
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\x.txt", text));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
        if (std::wstring(Pane().m_entries[i].GetName()) == L"x.txt")
            Pane().m_cursor = i;
    View().ExecuteFilerCommand(L"@View");
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    View().ExecuteViewerCommand(L"@Changebinary");
    ASSERT_TRUE(Pane().m_bHexDisplay);
    while (!Pane().IsViewerLoadDone())
        Sleep(10);

    struct
    {
        const wchar_t* answer;
        INT64 top;
    } const jumps[] = {{L"400000", 400000}, {L"+50000", 450000}, {L"-1000", 449000}};
    for (const auto& jump : jumps)
    {
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.text = jump.answer;
        script.Add(answer);
        View().ExecuteViewerCommand(L"@Jumptext");
        EXPECT_EQ(Pane().m_viewer->GetTopLine(), jump.top) << jump.answer;
    }
    {
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.text = L"999999999";
        script.Add(answer);
        View().ExecuteViewerCommand(L"@Jumptext");
        const INT64 top = Pane().m_viewer->GetTopLine();
        EXPECT_GT(top, rowCount - 100) << "past the end: the last page of rows";
        EXPECT_LE(top, rowCount);
    }

    // The reload comes back to the same row, not to the row of that line number, and
    // waits for the bytes of that row rather than for as many lines.
    const INT64 row = rowCount - 1000;
    Pane().m_viewer->SetTopLine(row);
    View().ExecuteViewerCommand(L"@ReloadFile");
    EXPECT_TRUE(Pane().m_bHexDisplay);
    EXPECT_EQ(Pane().m_viewer->GetTopLine(), row);
}

TEST_F(ViewerCommands, NextAndPreviousSearchSelectTheHitAndSayWhenTheSearchEnds)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\f.txt", "abc\r\n--\r\nabc\r\n"));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
        if (std::wstring(Pane().m_entries[i].GetName()) == L"f.txt")
            Pane().m_cursor = i;
    View().ExecuteFilerCommand(L"@View");
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    ASSERT_TRUE(Pane().IsViewerLoadDone());

    CDialogAnswerScript script;
    View().ExecuteViewerCommand(L"@Nextsearch");
    EXPECT_FALSE(View().m_viewer.selection.active) << "no search text: nothing happens";
    EXPECT_TRUE(script.GetQuestions().empty());

    Pane().m_viewer->SetSearch("abc", 3, FALSE, 0);
    Pane().m_viewer->SetSearchStart(12);
    View().ExecuteViewerCommand(L"@Beforesearch");
    EXPECT_TRUE(View().m_viewer.selection.active);
    EXPECT_EQ(View().m_viewer.selection.anchor, 9) << "backward from the end";
    Pane().m_viewer->SetSearchStart(0);
    struct
    {
        const wchar_t* keyword;
        BOOL found;
        INT64 anchor;
    } steps[] = {
        {L"@Nextsearch", TRUE, 0},
        {L"@Nextsearch", TRUE, 9},
    };
    for (const auto& step : steps)
    {
        View().ExecuteViewerCommand(step.keyword);
        EXPECT_EQ(View().m_viewer.selection.active, step.found) << step.keyword;
        EXPECT_EQ(View().m_viewer.selection.anchor, step.anchor) << step.keyword;
        EXPECT_EQ(View().m_viewer.selection.end, step.anchor + 3) << step.keyword;
    }
    EXPECT_TRUE(script.GetQuestions().empty());

    // The forward search wraps and ends before its start.
    script.Add(IDOK);
    View().ExecuteViewerCommand(L"@Nextsearch");
    EXPECT_FALSE(View().m_viewer.selection.active);
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_STREQ(script.GetQuestions()[0].text, L"検索終了しました");
}

// With VIEWFINDSCROLLPOSITION on, scrolling makes the next search start from the first
// line shown; off, the search goes on after its last hit.
TEST_F(ViewerCommands, ScrollingMovesTheSearchStartToTheTopLineWhenAsked)
{
    ASSERT_TRUE(
        qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\f.txt", "abc\r\n--\r\nabc\r\n--\r\nabc\r\n"));
    struct Case
    {
        int follow;
        INT64 anchor;
    };
    const Case cases[] = {{0, 9}, {1, 18}};
    for (const Case& c : cases)
    {
        Set(g_VIEWFINDSCROLLPOSITION, c.follow);
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
        for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
            if (std::wstring(Pane().m_entries[i].GetName()) == L"f.txt")
                Pane().m_cursor = i;
        View().ExecuteFilerCommand(L"@View");
        ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
        ASSERT_TRUE(Pane().IsViewerLoadDone());
        Pane().m_viewer->SetSearch("abc", 3, FALSE, 0);
        Pane().m_viewer->SetSearchStart(0);
        View().ExecuteViewerCommand(L"@Nextsearch");
        ASSERT_EQ(View().m_viewer.selection.anchor, 0);
        View().m_layout.panes[0].rowsFull = 2; // a window of two lines
        for (int i = 0; i < 3; ++i)
            View().ExecuteViewerCommand(L"@Down");
        ASSERT_EQ(Pane().m_viewer->GetTopLine(), 3);
        View().ExecuteViewerCommand(L"@Nextsearch");
        EXPECT_TRUE(View().m_viewer.selection.active) << c.follow;
        EXPECT_EQ(View().m_viewer.selection.anchor, c.anchor) << c.follow;
        View().RouteKeyPress(VK_RETURN);
        ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER));
    }
}

TEST_F(ViewerCommands, FindAsksForTheTextAndSelectsItsFirstPlace)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\s.txt", "abc\r\n--\r\nABC\r\nabc\r\n"));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
        if (std::wstring(Pane().m_entries[i].GetName()) == L"s.txt")
            Pane().m_cursor = i;
    View().ExecuteFilerCommand(L"@View");
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    ASSERT_TRUE(Pane().IsViewerLoadDone());
    g_ViewerSearchHistory.RemoveAll();

    struct
    {
        INT_PTR result;
        const wchar_t* text;
        std::vector<int> checks; // ignore case, start (1: shown line), direction (0: up)
        INT64 topLine;
        BOOL found;
        INT64 anchor;
        const wchar_t* message; // null: no message
    } steps[] = {
        {IDOK, L"abc", {}, 0, TRUE, 0, nullptr},
        {IDOK, L"ABC", {0, 0, 1}, 0, TRUE, 9, nullptr},
        {IDOK, L"ABC", {1, 0, 1}, 0, TRUE, 0, nullptr},
        {IDOK, L"abc", {0, 1, 1}, 2, TRUE, 14, nullptr},
        {IDOK, L"abc", {0, 1, 0}, 2, TRUE, 0, nullptr},
        {IDOK, L"zzz", {0, 0, 1}, 0, FALSE, 0, L"文字列は見つかりませんでした"},
        {IDCANCEL, L"--", {0, 0, 1}, 0, FALSE, 0, nullptr},
    };
    for (const auto& step : steps)
    {
        View().m_viewer.selection = ViewerSelection();
        Pane().m_viewer->SetTopLine(step.topLine);
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.result = step.result;
        answer.text = step.text;
        answer.checks = step.checks;
        script.Add(answer);
        script.Add(IDOK);
        View().ExecuteViewerCommand(L"@Searchstr");
        const auto questions = script.GetQuestions();
        ASSERT_EQ(questions.size(), step.message ? 2u : 1u) << step.text;
        EXPECT_EQ(questions[0].dialogId, 1286u);
        EXPECT_STREQ(questions[0].caption, L"文字列の検索の設定");
        if (step.message)
            EXPECT_STREQ(questions[1].text, step.message);
        EXPECT_EQ(View().m_viewer.selection.active, step.found) << step.text;
        if (step.found)
        {
            EXPECT_EQ(View().m_viewer.selection.anchor, step.anchor) << step.text;
            EXPECT_EQ(View().m_viewer.selection.end, step.anchor + 3) << step.text;
        }
    }
    // Each searched text went to the front of the history once (case aside, in its
    // latest spelling); the cancelled one not.
    ASSERT_EQ(g_ViewerSearchHistory.GetSize(), 2);
    EXPECT_STREQ(g_ViewerSearchHistory[0], L"zzz");
    EXPECT_STREQ(g_ViewerSearchHistory[1], L"abc");

    // The next search goes on from the text the dialog set.
    {
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.text = L"abc";
        answer.checks = {0, 0, 1};
        script.Add(answer);
        View().ExecuteViewerCommand(L"@Searchstr");
        ASSERT_EQ(script.GetQuestions().size(), 1u);
        EXPECT_EQ(script.GetQuestions()[0].items.size(), 2u) << "the history is offered";
        EXPECT_EQ(View().m_viewer.selection.anchor, 0);
    }
    View().ExecuteViewerCommand(L"@Nextsearch");
    EXPECT_EQ(View().m_viewer.selection.anchor, 14);
    g_ViewerSearchHistory.RemoveAll();
}

TEST_F(ViewerCommands, TimeMacroMenuEditsTheFiveFormats)
{
    CString saved[5];
    for (int i = 0; i < 5; ++i)
    {
        saved[i] = g_TimeMacros[i];
        g_TimeMacros[i] = L"old";
    }
    struct
    {
        INT_PTR result;
        const wchar_t* text;
        const wchar_t* first;
        const wchar_t* fifth;
    } steps[] = {
        {IDCANCEL, L"a\nb\nc\nd\ne", L"old", L"old"},
        {IDOK, L"YYYY\nMM\nDD\nhh\nmm", L"YYYY", L"mm"},
    };
    for (const auto& step : steps)
    {
        CDialogAnswerScript script;
        script.Add(step.result, step.text);
        EXPECT_TRUE(View().OnCmdMsg(913, CN_COMMAND, nullptr, nullptr));
        const auto questions = script.GetQuestions();
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_STREQ(questions[0].caption, L"時間マクロの設定");
        ASSERT_EQ(questions[0].items.size(), 5u);
        EXPECT_STREQ(questions[0].items[0], L"old") << "opens on the current formats";
        EXPECT_STREQ(g_TimeMacros[0], step.first);
        EXPECT_STREQ(g_TimeMacros[4], step.fifth);
    }
    for (int i = 0; i < 5; ++i)
        g_TimeMacros[i] = saved[i];
}

} // namespace
