// The binary editor in the view over real files: starting it from the filer, typing
// hex digits, saving, ending with and without the save question, the commands that
// ask through dialogs (answered here as a user would), the selection's look and the
// mapping of client points to nibbles.
#include "tests/view/CommandTestSupport.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/ViewSettings.h"
#include "tests/common/TestHelpers.h"
#include "res/BinaryDialogs.h"
#include "res/Menus.h"
#include "view/binary/BinaryEditorUi.h"
#include "view/binary/BinaryHexText.h"
#include "view/binary/BinaryJump.h"
#include "view/binary/BinaryLines.h"
#include "view/scroll/ScrollBars.h"
#include "viewers/binary/BinaryData.h"
#include "viewers/binary/BinaryEditorDialogs.h"
#include "viewers/binary/JumpLineDlg.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;
using qvtest::W;

// The dialogs' answers, in the order the command asks.
std::deque<std::function<INT_PTR(CDialog&, UINT)>> g_dialogAnswers;

INT_PTR AnswerDialog(CDialog& dialog, UINT templateId)
{
    if (g_dialogAnswers.empty())
    {
        ADD_FAILURE() << "unexpected dialog " << templateId;
        return IDCANCEL;
    }
    auto answer = g_dialogAnswers.front();
    g_dialogAnswers.pop_front();
    return answer(dialog, templateId);
}

BOOL AnswerSavePath(CWnd*, CString&)
{
    return FALSE;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

class BinaryEditor : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_NOTVIEWUPDIR, 1);
        Set(g_NOTVIEWCURRENTDIR, 1);
        g_BinaryEditorUi = {AnswerDialog, AnswerSavePath};
        g_dialogAnswers.clear();
    }
    void TearDown() override
    {
        for (CFilerPane* pane : g_Panes)
            if (pane != nullptr && pane->m_binaryData != nullptr)
            {
                delete pane->m_binaryData;
                pane->m_binaryData = nullptr;
            }
        g_BinaryEditorUi = DefaultBinaryEditorUi();
        EXPECT_TRUE(g_dialogAnswers.empty()) << "a dialog was not asked";
        g_dialogAnswers.clear();
        CommandBench::TearDown();
    }
    std::wstring PathOf(const wchar_t* name) const { return std::wstring(m_dir) + L"\\" + name; }
    CFilerPane& Pane() { return *g_Panes[0]; }
    CBinaryData& Data() { return *Pane().m_binaryData; }
    // Opens `name` with these bytes in the editor of pane 0.
    void Start(const wchar_t* name, const std::string& bytes)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(PathOf(name), bytes));
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
        Cursor(name);
        View().ExecuteFilerCommand(L"@Binaryedit");
        ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_BINARY));
        ASSERT_NE(Pane().m_binaryData, nullptr);
    }
    void Cursor(const wchar_t* name)
    {
        for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
            if (std::wstring(Pane().m_entries[i].GetName()) == name)
                Pane().m_cursor = i;
    }
    std::string Disk(const wchar_t* name) { return qvtest::ReadFileBytes(PathOf(name)); }
    void Binary(LPCWSTR keyword) { View().ExecuteBinaryCommand(keyword); }
};

TEST_F(BinaryEditor, TypedDigitsAreSavedAndTheEndReturnsToTheFileWithoutAsking)
{
    Start(L"a.bin", Bytes({0x3C, 0x11, 0x22}));
    Binary(L"@InputA");
    Binary(L"@Input5");
    EXPECT_EQ(Data().m_cursor, 2) << "on the high nibble of the next byte";
    EXPECT_EQ(Disk(L"a.bin"), Bytes({0x3C, 0x11, 0x22})) << "nothing written before the save";
    Binary(L"@Filesave");
    EXPECT_EQ(Disk(L"a.bin"), Bytes({0xA5, 0x11, 0x22}));

    CDialogAnswerScript script;
    Binary(L"@Binaryeditend");
    EXPECT_TRUE(script.GetQuestions().empty()) << "saved data asks nothing";
    EXPECT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER));
    EXPECT_EQ(Pane().m_binaryData, nullptr);
    EXPECT_EQ(std::wstring(Pane().m_entries[static_cast<INT_PTR>(Pane().m_cursor)].GetName()), L"a.bin");
}

TEST_F(BinaryEditor, DigitsAtTheLastNibbleOverwriteIt)
{
    Start(L"a.bin", Bytes({0x00, 0x00}));
    for (LPCWSTR key : {L"@Input1", L"@Input2", L"@Input3", L"@Input4", L"@Input5", L"@Input6"})
        Binary(key);
    EXPECT_EQ(Data().m_cursor, 3);
    Binary(L"@Filesave");
    EXPECT_EQ(Disk(L"a.bin"), Bytes({0x12, 0x36}));
}

TEST_F(BinaryEditor, StartDoesNothingOnAFolderAndReportsAFileThatCannotBeOpened)
{
    ASSERT_TRUE(CreateDirectoryW(PathOf(L"sub").c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(PathOf(L"locked.bin"), "abc"));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    CDialogAnswerScript script;
    Cursor(L"sub");
    View().ExecuteFilerCommand(L"@Binaryedit");
    EXPECT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER));
    EXPECT_TRUE(script.GetQuestions().empty());

    HANDLE held =
        CreateFileW(PathOf(L"locked.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Cursor(L"locked.bin");
    script.Add(IDOK);
    View().ExecuteFilerCommand(L"@Binaryedit");
    CloseHandle(held);
    EXPECT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER));
    EXPECT_EQ(Pane().m_binaryData, nullptr);
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(script.GetQuestions()[0].text, CString(L"ファイルを開くのに失敗しました"));
}

TEST_F(BinaryEditor, TheEndQuestionKeepsSavesOrDropsTheEdits)
{
    struct Case
    {
        INT_PTR answer;
        bool open;
        std::string disk;
    } cases[] = {
        {IDCANCEL, true, Bytes({0x10, 0x20})},
        {IDYES, false, Bytes({0x70, 0x20})},
        {IDNO, false, Bytes({0x10, 0x20})},
    };
    for (const Case& c : cases)
    {
        Start(L"a.bin", Bytes({0x10, 0x20}));
        Binary(L"@Input7");
        CDialogAnswerScript script;
        script.Add(c.answer);
        Binary(L"@Binaryeditend");
        ASSERT_EQ(script.GetQuestions().size(), 1u);
        EXPECT_EQ(script.GetQuestions()[0].caption, CString(L"ファイルの保存"));
        EXPECT_EQ(script.GetQuestions()[0].text,
                  CString(PathOf(L"a.bin").c_str()) + L"は変更しています。保存しますか");
        EXPECT_EQ(script.GetQuestions()[0].type, MB_YESNOCANCEL);
        EXPECT_EQ(Pane().m_binaryData != nullptr, c.open) << c.answer;
        if (c.open)
        {
            EXPECT_TRUE(Data().IsModified()) << "the edits stay";
            delete Pane().m_binaryData;
            Pane().m_binaryData = nullptr;
            Pane().m_mode = PANE_MODE_FILER;
        }
        EXPECT_EQ(Disk(L"a.bin"), c.disk) << c.answer;
    }
}

TEST_F(BinaryEditor, AFailedSaveOnTheEndCommandKeepsTheEditorAndItsEdits)
{
    Start(L"a.bin", Bytes({0x10, 0x20}));
    Binary(L"@Input7");
    // Another program holds the file without letting anyone write it.
    HANDLE held = CreateFileW(PathOf(L"a.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        CDialogAnswerScript script;
        script.Add(IDYES);
        script.Add(IDOK);
        Binary(L"@Binaryeditend");
        ASSERT_EQ(script.GetQuestions().size(), 2u);
        EXPECT_EQ(script.GetQuestions()[1].text, CString(PathOf(L"a.bin").c_str()) + L"の保存に失敗しました");
        ASSERT_NE(Pane().m_binaryData, nullptr) << "the editor stays open";
        EXPECT_TRUE(Data().IsModified());
    }
    CloseHandle(held);
    {
        // Once the file is free again, quitting saves the kept edits.
        CDialogAnswerScript script;
        script.Add(IDYES);
        View().QuerySaveBinaryPanes();
        EXPECT_EQ(script.GetQuestions().size(), 1u);
        EXPECT_EQ(Pane().m_binaryData, nullptr);
        EXPECT_EQ(Disk(L"a.bin"), Bytes({0x70, 0x20}));
    }
}

TEST_F(BinaryEditor, QuittingWithAFailingSaveDropsTheEditsAfterCancelAtTheRetry)
{
    Start(L"a.bin", Bytes({0x10, 0x20}));
    Binary(L"@Input7");
    HANDLE held = CreateFileW(PathOf(L"a.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CDialogAnswerScript script;
    script.Add(IDYES);
    script.Add(IDRETRY);
    script.Add(IDCANCEL);
    View().QuerySaveBinaryPanes();
    CloseHandle(held);
    ASSERT_EQ(script.GetQuestions().size(), 3u);
    EXPECT_EQ(script.GetQuestions()[0].type, MB_YESNO);
    EXPECT_EQ(script.GetQuestions()[1].type, MB_RETRYCANCEL);
    EXPECT_EQ(Pane().m_binaryData, nullptr);
    EXPECT_EQ(Disk(L"a.bin"), Bytes({0x10, 0x20}));
}

// Fills the search dialog: kind, search value and replacement, from the top, down.
std::function<INT_PTR(CDialog&, UINT)> SearchAnswer(int kind, LPCWSTR search, LPCWSTR replacement)
{
    return [=](CDialog& dialog, UINT id) {
        EXPECT_EQ(id, static_cast<UINT>(IDD_BINARY_SEARCH));
        auto& d = static_cast<CBinarySearchDlg&>(dialog);
        d.m_kind = kind;
        d.m_searchValue = search;
        d.m_replacement = replacement;
        d.m_start = 1;
        d.m_direction = 0;
        return static_cast<INT_PTR>(IDOK);
    };
}

TEST_F(BinaryEditor, ReplaceOverwritesItsOwnLengthAndStopEndsWithoutTheCount)
{
    struct Case
    {
        std::vector<INT_PTR> answers;
        std::string disk;
        bool countShown;
    } cases[] = {
        {{IDOK, IDOK}, "CDExxCDEx", true},
        {{IDOK, IDC_BIN_STOP}, "CDExxABxx", false},
        {{IDC_BIN_REPLACE_ALL}, "CDExxCDEx", true},
        {{IDCANCEL, IDOK}, "ABxxxCDEx", true},
    };
    for (const Case& c : cases)
    {
        Start(L"r.bin", "ABxxxABxx");
        g_dialogAnswers.push_back(SearchAnswer(0, L"AB", L"CDE"));
        CDialogAnswerScript script;
        for (INT_PTR a : c.answers)
            script.Add(a);
        if (c.countShown)
            script.Add(IDOK);
        Binary(L"@Changeddata");
        Binary(L"@Filesave");
        EXPECT_EQ(Disk(L"r.bin"), c.disk);
        const auto questions = script.GetQuestions();
        ASSERT_EQ(questions.size(), c.answers.size() + (c.countShown ? 1 : 0));
        if (c.countShown)
            EXPECT_NE(questions.back().text.Find(L"個のデータを変換しました"), -1);
        delete Pane().m_binaryData;
        Pane().m_binaryData = nullptr;
        Pane().m_mode = PANE_MODE_FILER;
    }
}

TEST_F(BinaryEditor, SearchSelectsTheHitAndReportsTheEnd)
{
    Start(L"s.bin", "..AB..AB");
    g_dialogAnswers.push_back(SearchAnswer(1, L"4142", L""));
    Binary(L"@Searchdata");
    EXPECT_EQ(Data().m_cursor, 4);
    EXPECT_EQ(Data().m_selAnchor, 4);
    EXPECT_EQ(Data().m_selEnd, 7);
    EXPECT_TRUE(Data().m_selectionShown);
    Binary(L"@Nextsearch");
    EXPECT_EQ(Data().m_cursor, 12);
    CDialogAnswerScript script;
    script.Add(IDOK);
    Binary(L"@Nextsearch");
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(script.GetQuestions()[0].text, CString(L"検索終了しました"));
}

TEST_F(BinaryEditor, CompareFindsTheFirstDifferenceAndRefusesMismatchedLengths)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(PathOf(L"other.bin"), Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9})));
    Start(L"c.bin", Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 0}));
    const std::wstring other = PathOf(L"other.bin");
    g_dialogAnswers.push_back([&](CDialog& dialog, UINT) {
        auto& d = static_cast<CBinaryCmpDlg&>(dialog);
        EXPECT_EQ(d.m_editFile, CString(PathOf(L"c.bin").c_str()));
        d.m_kind = 4;
        d.m_differ = 1;
        d.m_editEnabled = d.m_compareEnabled = d.m_differenceEnabled = 0;
        d.m_start = 1;
        d.m_direction = 0;
        d.m_compareFile = other.c_str();
        return static_cast<INT_PTR>(IDOK);
    });
    Binary(L"@Cmpbinaryfile");
    EXPECT_EQ(Data().m_cursor, 16) << "the four bytes at 8 differ";
    EXPECT_EQ(Data().m_selEnd, 23);

    g_dialogAnswers.push_back([&](CDialog& dialog, UINT) {
        auto& d = static_cast<CBinaryCmpDlg&>(dialog);
        d.m_kind = 1;
        d.m_editEnabled = d.m_compareEnabled = 1;
        d.m_editValue = L"0102";
        d.m_compareValue = L"010203";
        d.m_compareFile = other.c_str();
        return static_cast<INT_PTR>(IDOK);
    });
    CDialogAnswerScript script;
    script.Add(IDOK);
    Binary(L"@Cmpbinaryfile");
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(script.GetQuestions()[0].text, CString(L"比較のためのデータの長さが違います"));
}

// Fills the input dialog: hexadecimal value, mode and number.
std::function<INT_PTR(CDialog&, UINT)> InputAnswer(LPCWSTR value, int mode, int number)
{
    return [=](CDialog& dialog, UINT id) {
        EXPECT_EQ(id, static_cast<UINT>(IDD_BINARY_INPUT));
        auto& d = static_cast<CBinaryDataInputDlg&>(dialog);
        d.m_kind = 1;
        d.m_value = value;
        d.m_mode = mode;
        d.m_number = number;
        return static_cast<INT_PTR>(IDOK);
    };
}

TEST_F(BinaryEditor, RepeatedInputByCountByEndAddressAndATooLongValue)
{
    const std::string zeros(20, '\0');
    struct Case
    {
        int mode;
        int number;
        std::string expected;
    } cases[] = {
        {0, 3, zeros.substr(0, 10) + Bytes({0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD}) + zeros.substr(0, 4)},
        {1, 13, zeros.substr(0, 10) + Bytes({0xAB, 0xCD, 0xAB, 0xCD}) + zeros.substr(0, 6)},
        {0, 2000000000,
         zeros.substr(0, 10) + Bytes({0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD})},
    };
    for (const Case& c : cases)
    {
        Start(L"i.bin", zeros);
        Data().m_cursor = 20;
        g_dialogAnswers.push_back(InputAnswer(L"ABCD", c.mode, c.number));
        Binary(L"@Inputpasteloop");
        Binary(L"@Filesave");
        EXPECT_EQ(Disk(L"i.bin"), c.expected) << c.mode << " " << c.number;
        delete Pane().m_binaryData;
        Pane().m_binaryData = nullptr;
        Pane().m_mode = PANE_MODE_FILER;
    }
    Start(L"i.bin", zeros);
    g_dialogAnswers.push_back(InputAnswer(std::wstring(1002, L'A').c_str(), 0, 1));
    CDialogAnswerScript script;
    script.Add(IDOK);
    Binary(L"@Inputpasteloop");
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(script.GetQuestions()[0].text, CString(L"入力データが不正です"));
    EXPECT_FALSE(Data().IsModified());
}

TEST_F(BinaryEditor, RangeSelectionAcceptsAStartAboveItsEnd)
{
    Start(L"g.bin", std::string(40, 'x'));
    g_dialogAnswers.push_back([](CDialog& dialog, UINT) {
        auto& d = static_cast<CSelectRangeDlg&>(dialog);
        EXPECT_EQ(d.m_notation, 1) << "hexadecimal first";
        d.m_notation = 0;
        d.m_start = L"5";
        d.m_end = L"2";
        return static_cast<INT_PTR>(IDOK);
    });
    Binary(L"@Selectrange");
    EXPECT_EQ(Data().m_selAnchor, 10);
    EXPECT_EQ(Data().m_selEnd, 5);
    const BinarySelectionBand band = GetBinarySelectionBand(Data());
    std::vector<int> selected;
    for (int offset = 0; offset < 8; ++offset)
        if (IsBinaryByteSelected(band, offset))
            selected.push_back(offset);
    EXPECT_EQ(selected, (std::vector<int>{2, 3, 4}));

    for (LPCWSTR bad : {L"40", L"-1", L"x"})
    {
        g_dialogAnswers.push_back([bad](CDialog& dialog, UINT) {
            auto& d = static_cast<CSelectRangeDlg&>(dialog);
            d.m_notation = 0;
            d.m_start = L"1";
            d.m_end = bad;
            return static_cast<INT_PTR>(IDOK);
        });
        CDialogAnswerScript script;
        script.Add(IDOK);
        Binary(L"@Selectrange");
        ASSERT_EQ(script.GetQuestions().size(), 1u) << W(CString(bad));
        EXPECT_EQ(script.GetQuestions()[0].text, CString(L"範囲指定データが不正です"));
    }
}

TEST_F(BinaryEditor, CopiedBytesPasteAtTheCursorAndMoveIt)
{
    Start(L"p.bin", "0123456789");
    Data().m_selAnchor = 2;
    Data().m_selEnd = 5; // bytes 1 and 2
    Data().m_selectionShown = 1;
    Binary(L"@Copydata");
    EXPECT_FALSE(Data().m_selectionShown) << "the selection is cleared";
    Data().m_cursor = 12;
    Binary(L"@Pastedata");
    EXPECT_EQ(Data().m_cursor, 16);
    Data().m_cursor = 18;
    Binary(L"@Pastedata"); // the second byte falls past the end
    Binary(L"@Filesave");
    EXPECT_EQ(Disk(L"p.bin"), "0123451281");
}

TEST_F(BinaryEditor, SelectionKeysExtendFromTheCursorAndAPlainMoveEndsExtending)
{
    Start(L"k.bin", std::string(100, 'x'));
    Binary(L"@Selectright");
    Binary(L"@Selectdown");
    EXPECT_EQ(Data().m_selAnchor, 0);
    EXPECT_EQ(Data().m_selEnd, 33);
    EXPECT_EQ(Data().m_cursor, 33);
    Binary(L"@Right");
    EXPECT_FALSE(Data().m_extending);
    EXPECT_EQ(Data().m_selEnd, 33) << "the selection stays";
    Binary(L"@Binaryallselect");
    EXPECT_EQ(Data().m_selAnchor, 0);
    EXPECT_EQ(Data().m_selEnd, 199);
}

TEST_F(BinaryEditor, DownOnTheSecondLastShownRowScrollsByOneLine)
{
    Start(L"d.bin", std::string(16 * 40, 'x'));
    View().m_layout.panes[0].rowsFull = 10; // a header and nine lines
    Data().m_cursor = 7 * 32;
    Binary(L"@Down");
    EXPECT_EQ(Data().m_firstLine, 1);
    EXPECT_EQ(Data().m_cursor, 8 * 32);
}

TEST_F(BinaryEditor, ScrollCodesMoveTheShownRowsAndTheBarFollows)
{
    // 5000 rows of 16 bytes: the bar is scaled to 2000 steps.
    Start(L"s.bin", std::string(16 * 5000, 'x'));
    View().DrawBinaryPane(0, 1);
    const INT64 shown = View().BinaryShownLines(0);
    const INT64 last = 5000 - shown;
    struct
    {
        UINT code;
        int thumb, amount;
        INT64 first;
    } steps[] = {
        {SB_PAGEDOWN, 0, 1, shown},
        {SB_LINEDOWN, 0, 2, shown + 2},
        {SB_LINEUP, 0, 1, shown + 1},
        {SB_PAGEUP, 0, 2, 0},
        {SB_THUMBPOSITION, 1000, 1, 1000 * last / 2000},
        {SB_BOTTOM, 0, 1, last},
        {SB_LINEDOWN, 0, 3, last},
        {SB_TOP, 0, 1, 0},
    };
    for (const auto& step : steps)
    {
        View().ScrollPane(0, step.code, step.thumb, 0, 2000, step.amount);
        EXPECT_EQ(Data().m_firstLine, step.first) << step.code << " " << step.thumb;
        const PaneScrollRange bar = ComputePaneScrollRange(Pane(), 1, View().m_layout.panes[0].rowsFull);
        EXPECT_EQ(bar.maximum, 2000);
        EXPECT_EQ(bar.position, LineScrollRange(last, step.first).position);
    }
    EXPECT_EQ(Data().m_cursor, 0) << "scrolling leaves the cursor where it was";
}

TEST_F(BinaryEditor, JumpGoesToTheTypedLineOrRefusesAMalformedNumber)
{
    Start(L"j.bin", std::string(16 * 40, 'x'));
    Data().m_cursor = 5;
    auto jump = [](LPCWSTR text, int hex, int relative) {
        return [=](CDialog& dialog, UINT) {
            auto& d = static_cast<CJumpLineDlg&>(dialog);
            d.m_text = text;
            d.m_notation = hex;
            d.m_relative = relative;
            return static_cast<INT_PTR>(IDOK);
        };
    };
    g_dialogAnswers.push_back(jump(L"12", 1, 0));
    Binary(L"@Jumpline");
    EXPECT_EQ(Data().m_cursor, 0x12 * 32) << "line 18, the nibble column lost";
    g_dialogAnswers.push_back(jump(L"-3", 0, 1));
    Binary(L"@Jumpline");
    EXPECT_EQ(Data().m_cursor, 15 * 32);
    g_dialogAnswers.push_back(jump(L"xyz", 1, 0));
    CDialogAnswerScript script;
    script.Add(IDOK);
    Binary(L"@Jumpline");
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(script.GetQuestions()[0].text, CString(L"行数データが不正です"));
    EXPECT_EQ(Data().m_cursor, 15 * 32);
}

TEST_F(BinaryEditor, AClickPlacesTheCursorAndADragSelectsUpToThePoint)
{
    Start(L"m.bin", std::string(16 * 40, 'x'));
    View().CalcLayout();
    View().m_layout.panes[0].rowsFull = 6; // five shown lines
    const PaneLayout& geo = View().m_layout.panes[0];
    const int cw = View().m_layout.charWidth;
    const int lh = View().m_layout.lineHeight;
    auto at = [&](int row, int nibble) {
        const int column = geo.originColumn + 11 + 3 * (nibble / 2) + (nibble & 1);
        return CPoint(column * cw + 1, (geo.originRow + 1 + row) * lh + 1);
    };
    View().ClickBinaryPane(0, at(1, 4), 0);
    EXPECT_EQ(Data().m_cursor, 32 + 4);
    EXPECT_FALSE(Data().m_selectionShown) << "a plain click selects nothing";
    View().DragBinarySelection(0, at(2, 9));
    EXPECT_EQ(Data().m_selAnchor, 36);
    EXPECT_EQ(Data().m_selEnd, 64 + 9);
    EXPECT_TRUE(Data().m_selectionShown);
    // Below the shown rows: the selection follows one line further and the pane scrolls.
    View().DragBinarySelection(0, CPoint(at(0, 0).x, (geo.originRow + 1 + 8) * lh));
    EXPECT_EQ(Data().m_selEnd, 5 * 32);
    EXPECT_EQ(Data().m_firstLine, 2);
    // Shift with a click extends from the anchor that is there.
    View().ClickBinaryPane(0, at(0, 1), MK_SHIFT);
    EXPECT_EQ(Data().m_selAnchor, 36);
    EXPECT_EQ(Data().m_selEnd, 2 * 32 + 1);
}

TEST_F(BinaryEditor, TheMouseMessagesDragASelectionUntilTheButtonComesUp)
{
    Start(L"d.bin", std::string(16 * 40, 'x'));
    View().CalcLayout();
    const PaneLayout& geo = View().m_layout.panes[0];
    const int cw = View().m_layout.charWidth;
    const int lh = View().m_layout.lineHeight;
    auto at = [&](int row, int nibble) {
        const int column = geo.originColumn + 11 + 3 * (nibble / 2) + (nibble & 1);
        return CPoint(column * cw + 1, (geo.originRow + 1 + row) * lh + 1);
    };
    View().OnLButtonDown(0, at(1, 4));
    View().OnMouseMove(MK_LBUTTON, at(2, 9));
    View().OnLButtonUp(0, at(2, 9));
    EXPECT_EQ(Data().m_selAnchor, 36);
    EXPECT_EQ(Data().m_selEnd, 64 + 9);
    EXPECT_TRUE(Data().m_selectionShown);
    // Once the button is up, moving the mouse selects nothing more.
    View().OnMouseMove(0, at(3, 0));
    View().OnMouseMove(MK_LBUTTON, at(3, 0));
    EXPECT_EQ(Data().m_selEnd, 64 + 9);
}

// The mouse held still below the pane: each tick of the drag timer scrolls on and
// moves the selection's end with it, until the button comes up.
TEST_F(BinaryEditor, ADragHeldBelowThePaneKeepsScrollingOnTheTimer)
{
    Start(L"t.bin", std::string(16 * 40, 'x'));
    View().CalcLayout();
    View().m_layout.panes[0].rowsFull = 6; // five shown lines
    const PaneLayout& geo = View().m_layout.panes[0];
    const int cw = View().m_layout.charWidth;
    const int lh = View().m_layout.lineHeight;
    const int x = (geo.originColumn + 11) * cw + 1;
    View().OnLButtonDown(0, CPoint(x, (geo.originRow + 2) * lh + 1));
    View().OnMouseMove(MK_LBUTTON, CPoint(x, (geo.originRow + 1 + 8) * lh));
    for (int tick = 0; tick < 3; ++tick)
    {
        const LONGLONG first = Data().m_firstLine;
        const LONGLONG end = Data().m_selEnd;
        View().OnTimer(VIEW_TIMER_DRAG_SCROLL_2);
        EXPECT_GT(Data().m_firstLine, first) << tick;
        EXPECT_EQ(Data().m_selEnd - end, (Data().m_firstLine - first) * 32) << tick;
    }
    View().OnLButtonUp(0, CPoint(x, (geo.originRow + 1 + 8) * lh));
    const LONGLONG first = Data().m_firstLine;
    View().OnTimer(VIEW_TIMER_DRAG_SCROLL_2);
    EXPECT_EQ(Data().m_firstLine, first) << "the drag ended with the button";
}

TEST_F(BinaryEditor, MenuItemsAreEnabledAndRunTheirCommands)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(PathOf(L"u.bin"), Bytes({0x10})));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    Cursor(L"u.bin");
    HMENU menu = CreatePopupMenu();
    for (UINT id : {206u, 503u, 204u})
    {
        AppendMenuW(menu, MF_STRING | MF_GRAYED, id, L"item");
        CCmdUI ui;
        ui.m_nID = id;
        ui.m_hMenu = menu;
        ui.m_nIndexMax = GetMenuItemCount(menu);
        ui.m_nIndex = GetMenuItemCount(menu) - 1;
        View().OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        EXPECT_EQ(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED), 0u) << id;
    }
    DestroyMenu(menu);
    View().OnCmdMsg(206, CN_COMMAND, nullptr, nullptr);
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_BINARY));
    Binary(L"@Input2");
    View().OnCmdMsg(503, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Disk(L"u.bin"), Bytes({0x20}));
    View().OnCmdMsg(204, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER));
}

// The popup of `menu` (searched through its submenus) that holds `id`, and the item's place.
HMENU PopupHolding(HMENU menu, UINT id, int& place)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
    {
        if (HMENU sub = GetSubMenu(menu, i))
        {
            if (HMENU found = PopupHolding(sub, id, place))
                return found;
        }
        else if (GetMenuItemID(menu, i) == id)
        {
            place = i;
            return menu;
        }
    }
    return nullptr;
}

TEST_F(BinaryEditor, EditorSettingsStandBesideTheColoursInTheEditorsBarOnly)
{
    const UINT bars[] = {IDR_MENU_FILER,       IDR_MENU_NETWORK, IDR_MENU_DRIVE_LIST, IDR_MENU_ARCHIVE,
                         IDR_MENU_TEXT_VIEWER, IDR_MENU_BINARY,  IDR_MENU_GRAPHIC};
    for (UINT bar : bars)
    {
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bar));
        ASSERT_NE(menu, nullptr) << bar;
        int colours = -1;
        int editor = -1;
        HMENU coloursPopup = PopupHolding(menu, 203, colours);
        HMENU editorPopup = PopupHolding(menu, 207, editor);
        EXPECT_NE(coloursPopup, nullptr) << bar;
        if (bar == IDR_MENU_BINARY)
        {
            EXPECT_EQ(editorPopup, coloursPopup);
            EXPECT_EQ(editor, colours + 1);
        }
        else
        {
            // Without a binary pane the editor's settings command does nothing.
            EXPECT_EQ(editorPopup, nullptr) << bar;
        }
        DestroyMenu(menu);
    }
}

TEST_F(BinaryEditor, EditorSettingsItemStoresTheDialogsValuesOnOkOnly)
{
    Set(g_BINARYSCROLLSPEED, 5);
    Set(g_BINARYSCURSORSPEED, 5);
    Set(g_BINARYSCROLLLINE, 1);
    View().OnCmdMsg(207, CN_COMMAND, nullptr, nullptr);
    EXPECT_TRUE(g_dialogAnswers.empty()) << "no dialog without a binary pane";

    Start(L"s.bin", Bytes({0x01}));
    struct Case
    {
        INT_PTR answer;
        int scroll, blink, lines;
    } cases[] = {{IDCANCEL, 5, 5, 1}, {IDOK, 7, 3, 4}};
    for (const Case& c : cases)
    {
        const INT_PTR answer = c.answer;
        g_dialogAnswers.push_back([answer](CDialog& dialog, UINT templateId) {
            EXPECT_EQ(templateId, static_cast<UINT>(IDD_BINARY_EDIT_CONFIG));
            auto& config = static_cast<CBinaryEditConfigDlg&>(dialog);
            EXPECT_EQ(config.m_scrollSpeed, g_BINARYSCROLLSPEED) << "the dialog starts from the settings";
            config.m_scrollSpeed = 7;
            config.m_blinkSpeed = 3;
            config.m_scrollLines = 4;
            return answer;
        });
        View().OnCmdMsg(207, CN_COMMAND, nullptr, nullptr);
        EXPECT_TRUE(g_dialogAnswers.empty()) << c.answer;
        EXPECT_EQ(g_BINARYSCROLLSPEED, c.scroll) << c.answer;
        EXPECT_EQ(g_BINARYSCURSORSPEED, c.blink) << c.answer;
        EXPECT_EQ(g_BINARYSCROLLLINE, c.lines) << c.answer;
    }
}

TEST_F(BinaryEditor, ColourItemOpensItsDialogInEveryMode)
{
    // No binary pane is needed: the colours are kept for the next file shown as bytes.
    for (UINT mode : {PANE_MODE_FILER, PANE_MODE_DRIVE_LIST, PANE_MODE_ARCHIVE, PANE_MODE_NETWORK,
                      PANE_MODE_TEXT_VIEWER, PANE_MODE_GRAPHIC})
    {
        Pane().m_mode = mode;
        g_dialogAnswers.push_back([](CDialog&, UINT templateId) {
            EXPECT_EQ(templateId, static_cast<UINT>(IDD_BINARY_COLOR));
            return INT_PTR(IDCANCEL);
        });
        EXPECT_TRUE(View().OnCmdMsg(203, CN_COMMAND, nullptr, nullptr)) << mode;
        EXPECT_TRUE(g_dialogAnswers.empty()) << "the colour dialog was not opened in mode " << mode;
        g_dialogAnswers.clear();
    }
    Pane().m_mode = PANE_MODE_FILER;
    Start(L"c.bin", Bytes({0x01}));
    g_dialogAnswers.push_back([](CDialog&, UINT templateId) {
        EXPECT_EQ(templateId, static_cast<UINT>(IDD_BINARY_COLOR));
        return INT_PTR(IDOK);
    });
    View().OnCmdMsg(203, CN_COMMAND, nullptr, nullptr);
}

TEST_F(BinaryEditor, HidingTheOtherPaneAsksWhetherToSaveItsEdits)
{
    Set(g_KEEP_FILER_INFO, 0);
    ASSERT_TRUE(qvtest::WriteFileBytes(PathOf(L"w.bin"), Bytes({0x10})));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    CBinaryData* other = new CBinaryData;
    ASSERT_TRUE(other->Open(PathOf(L"w.bin").c_str()));
    other->SetByte(0, 0x99, BINEDIT_BYTE);
    m_panes[1]->m_binaryData = other;
    m_panes[1]->m_mode = PANE_MODE_BINARY;
    CDialogAnswerScript script;
    script.Add(IDYES);
    View().ExecuteFilerCommand(L"@Wide");
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(script.GetQuestions()[0].type, MB_YESNO);
    EXPECT_EQ(m_panes[1]->m_binaryData, nullptr);
    EXPECT_EQ(m_panes[1]->m_mode, static_cast<UINT>(PANE_MODE_FILER));
    EXPECT_EQ(m_panes[1]->m_position, static_cast<UINT>(PANE_POS_HIDDEN));
    EXPECT_EQ(Disk(L"w.bin"), Bytes({0x99}));
}

TEST_F(BinaryEditor, OtherPaneOnTheSameFileSeesTheSave)
{
    Start(L"o.bin", Bytes({0x00, 0x00}));
    // Pane 1 edits the same file.
    CBinaryData* other = new CBinaryData;
    ASSERT_TRUE(other->Open(PathOf(L"o.bin").c_str()));
    BYTE before = 0;
    other->Read(&before, 0, 1);
    m_panes[1]->m_binaryData = other;
    m_panes[1]->m_mode = PANE_MODE_BINARY;
    Binary(L"@InputF");
    Binary(L"@Filesave");
    BYTE after = 0;
    other->Read(&after, 0, 1);
    EXPECT_EQ(after, 0xF0) << "the other pane reads the file again";
}

struct CellCall
{
    int column;
    std::string bytes;
    COLORREF back;
};

class CRecordingCanvas : public CCellCanvas
{
public:
    int CharWidth() const override { return 8; }
    int LineHeight() const override { return 16; }
    int ClientWidth() const override { return 800; }
    void TextOutCell(int, int, LPCWSTR, COLORREF, COLORREF) override {}
    void TextOutCellA(int column, int, const char* bytes, int count, COLORREF, COLORREF back) override
    {
        calls.push_back({column, std::string(bytes, count), back});
    }
    void ClearRect(const RECT&) override {}
    void FillRect(const RECT&, COLORREF) override {}
    void DrawLine(int, int, int, int, COLORREF) override {}
    void DrawTextInRect(const RECT&, LPCWSTR, COLORREF, UINT) override {}
    const CellCall* At(int column) const
    {
        for (const CellCall& call : calls)
            if (call.column == column)
                return &call;
        return nullptr;
    }
    std::vector<CellCall> calls;
};

TEST(BinaryLines, ALeadByteEndingTheLineStandsAloneAndSelectedCellsAreInverted)
{
    const std::wstring path = qvtest::ScratchDir() + L"\\l.bin";
    // Line 0 ends with the lead byte of a double-byte character whose trail byte
    // starts line 1; line 1 has one whole character at bytes 1 and 2.
    std::string bytes(15, 'a');
    bytes += "\x82\xa0\x82\xa0";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
    CBinaryData data;
    ASSERT_TRUE(data.Open(path.c_str()));
    data.m_selAnchor = 8; // nibbles 8 to 9: byte 4 only
    data.m_selEnd = 9;
    data.m_selectionShown = 1;
    BinaryLineFrame frame;
    CRecordingCanvas line0, line1;
    DrawBinaryLineCells(line0, frame, data, 5, 0, BINARY_PARTS_ALL);
    DrawBinaryLineCells(line1, frame, data, 6, 1, BINARY_PARTS_ALL);
    ASSERT_NE(line0.At(60 + 15), nullptr);
    EXPECT_EQ(line0.At(60 + 15)->bytes, "\x82");
    EXPECT_EQ(line0.At(11 + 3 * 15)->bytes, "82");
    ASSERT_NE(line1.At(60), nullptr);
    EXPECT_EQ(line1.At(60)->bytes, "\xa0") << "the trail byte alone";
    EXPECT_EQ(line1.At(61)->bytes, "\x82\xa0") << "a whole character";
    EXPECT_EQ(line1.At(62), nullptr) << "no second cell for its trail byte";
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    EXPECT_NE(line0.At(11 + 3 * 4)->back, back) << "byte 4 selected";
    EXPECT_EQ(line0.At(11 + 3 * 3)->back, back);
    EXPECT_EQ(line0.At(11 + 3 * 5)->back, back);
}

TEST(BinaryHexText, CrLfFollowsTheByteAtOffsetFifteenOnly)
{
    const std::wstring path = qvtest::ScratchDir() + L"\\h.bin";
    std::string bytes;
    for (int i = 0; i < 20; ++i)
        bytes += static_cast<char>(i);
    ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
    CBinaryData data;
    ASSERT_TRUE(data.Open(path.c_str()));
    EXPECT_EQ(FormatBinaryHexText(data, 14, 4), CString(L"0E 0F \r\n10 11 "));
    EXPECT_EQ(FormatBinaryHexText(data, 18, 10), CString(L"12 13 ")) << "stops at the end of the file";
}

TEST(BinaryPointMapping, ColumnsAndRowsWithAndWithoutClamp)
{
    // Origin column 2, cells 8 x 16, header row 3, nine shown lines.
    struct XCase
    {
        int x;
        int nibble;
    } xs[] = {
        {0, 0},                          // left of the hex area
        {(2 + 11) * 8, 0},               // byte 0, high nibble
        {(2 + 12) * 8, 0},               // the shared edge goes to the high nibble
        {(2 + 12) * 8 + 1, 1},           // low nibble
        {(2 + 11 + 3 * 15) * 8 + 1, 30}, // byte 15, high nibble
        {(2 + 11 + 3 * 15) * 8, 29},     // the edge still belongs to byte 14's low nibble
        {(2 + 59) * 8 + 1, 31},          // right of it
    };
    for (const XCase& c : xs)
        EXPECT_EQ(BinaryNibbleAtX(c.x, 2, 8), c.nibble) << c.x;
    struct YCase
    {
        int y;
        int clamp;
        int row;
    } ys[] = {
        {4 * 16, 0, 0},      {4 * 16 + 17, 0, 1}, {3 * 16, 0, -1}, {3 * 16, 1, 0},
        {13 * 16 - 1, 0, 8}, {13 * 16, 0, 9},     {20 * 16, 1, 8},
    };
    for (const YCase& c : ys)
        EXPECT_EQ(BinaryRowAtY(c.y, 3, 9, 16, c.clamp), c.row) << c.y << " " << c.clamp;
}

TEST(BinaryJump, HexadecimalDecimalRelativeAndAbsolute)
{
    struct Case
    {
        LPCWSTR text;
        int hex;
        int relative;
        BOOL ok;
        LONGLONG delta;
    } cases[] = {
        {L"10", 1, 0, TRUE, 16 * 32 - 40}, {L"-2", 1, 1, TRUE, -64},
        {L"10", 0, 0, TRUE, 10 * 32 - 40}, {L"3", 0, 1, TRUE, 96},
        {L"zz", 1, 0, FALSE, 0},
    };
    for (const Case& c : cases)
    {
        LONGLONG delta = 0;
        EXPECT_EQ(ComputeBinaryJumpDelta(c.text, c.hex, c.relative, 40, &delta), c.ok) << W(CString(c.text));
        if (c.ok)
            EXPECT_EQ(delta, c.delta) << W(CString(c.text));
    }
}

} // namespace
