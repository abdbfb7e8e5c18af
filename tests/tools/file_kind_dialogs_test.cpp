// The choice among several file-kind rows of one file: which rows match, the text of
// each line, and the row a choice gives back.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/dialogs/DialogAnswerScript.h"
#include "res/FileKindDialogs.h"
#include "tests/common/DialogHarness.h"
#include "app/Settings.h"
#include "app/settings/ToolSettings.h"
#include "tools/kinds/KindExeDlg.h"
#include "tools/kinds/SelExeDlg.h"
#include "tools/kinds/SelectKindDlg.h"

namespace
{

class DrivenSelectKindDlg : public qvtest::CDrivenDialog<DrivenSelectKindDlg, CSelectKindDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

struct KindTable
{
    KindTable()
    {
        Set(2, L"txt", L"C:\\Tools\\first.exe", L"");
        Set(5, L".txt", L"C:\\Tools\\dotted.exe", L"Dotted"); // a leading dot never matches
        Set(9, L"TXT", L"@Packview", L"");
        Set(11, L"doc", L"C:\\Tools\\other.exe", L"Other");
        Set(40, L"Txt", L"C:\\Tools\\last.exe", L"Last");
        Set(41, L"", L"C:\\Tools\\empty.exe", L"Empty"); // an empty extension neither
    }
    void Set(int i, LPCWSTR extension, LPCWSTR action, LPCWSTR name)
    {
        rows[i].m_extension = extension;
        rows[i].m_action = action;
        rows[i].m_displayName = name;
    }
    CKindExeEntry rows[kKindExeEntryCount];
};

TEST(SelectKind, ListsTheMatchingRowsInTableOrderWithTheirTexts)
{
    KindTable table;
    CSelectKindDlg dialog(L"readme.v2.txt", table.rows);
    EXPECT_EQ((std::vector<int>{2, 9, 40}), dialog.m_matches);
    EXPECT_EQ((std::vector<CString>{L"C:\\Tools\\first.exe", L"書庫の内容表示", L"Last"}), dialog.m_lines);
    EXPECT_TRUE(CSelectKindDlg(L"txt", table.rows).m_matches.empty()) << "no dot, no extension";
}

TEST(SelectKind, AChosenLineGivesItsRowAndCancelOrNoLineGivesNone)
{
    KindTable table;
    struct Case
    {
        INT_PTR answer;
        int line;
        INT_PTR result;
        int row;
    } cases[] = {
        {IDOK, 1, IDOK, 9}, {IDOK, 2, IDOK, 40}, {IDCANCEL, 1, IDCANCEL, -1}, {IDOK, 7, IDCANCEL, -1}};
    for (const Case& c : cases)
    {
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.result = c.answer;
        answer.index = c.line;
        script.Add(answer);
        CSelectKindDlg dialog(L"a.txt", table.rows);
        dialog.DoModal();
        EXPECT_EQ(c.row, dialog.m_result) << c.line;
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(CString(L"起動の選択"), script.GetQuestions()[0].caption);
    }
}

TEST(SelectKind, TheShownDialogSelectsTheFirstLineAndTakesADoubleClick)
{
    KindTable table;
    DrivenSelectKindDlg dialog(L"a.TXT", table.rows);
    std::vector<std::wstring> lines;
    LRESULT firstSelection = -1;
    dialog.drive = [&](DrivenSelectKindDlg& d) {
        lines = d.ListBoxLines(IDC_SELECT_KIND_LIST);
        firstSelection = ::SendDlgItemMessageW(d.m_hWnd, IDC_SELECT_KIND_LIST, LB_GETCURSEL, 0, 0);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_SELECT_KIND_LIST, LB_SETCURSEL, 2, 0);
        d.Command(IDC_SELECT_KIND_LIST, LBN_DBLCLK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Tools\\first.exe", L"書庫の内容表示", L"Last"}), lines);
    EXPECT_EQ(0, firstSelection);
    EXPECT_EQ(40, dialog.m_result);
}

class DrivenSelExeDlg : public qvtest::CDrivenDialog<DrivenSelExeDlg, CSelExeDlg>
{
};
class DrivenKindExeDlg : public qvtest::CDrivenDialog<DrivenKindExeDlg, CKindExeDlg>
{
};

std::wstring Text(HWND dialog, int id)
{
    wchar_t text[256] = {};
    ::GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

bool Editable(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return ::IsWindowEnabled(item) && !(::GetWindowLongW(item, GWL_STYLE) & ES_READONLY);
}

TEST(SelExe, OffersTheFileCommandsAndTurnsACommandBackIntoAProgram)
{
    CArray<CQvPlugIn> savedPlugIns;
    savedPlugIns.Copy(g_PlugInList);
    g_PlugInList.RemoveAll();
    DrivenSelExeDlg dialog;
    dialog.m_action = L"@Packview";
    size_t lines = 0;
    LRESULT selected = -1;
    bool editableAtStart = true, editableAfter = false;
    std::wstring textAtStart = L"?";
    dialog.drive = [&](DrivenSelExeDlg& d) {
        lines = d.ListBoxLines(IDC_SEL_EXE_LIST).size();
        selected = ::SendDlgItemMessageW(d.m_hWnd, IDC_SEL_EXE_LIST, LB_GETCURSEL, 0, 0);
        editableAtStart = Editable(d.m_hWnd, IDC_SEL_EXE_TEXT);
        textAtStart = Text(d.m_hWnd, IDC_SEL_EXE_TEXT);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_SEL_EXE_LIST, LB_SETCURSEL, lines - 1, 0);
        d.Command(IDC_SEL_EXE_LIST, LBN_SELCHANGE);
        editableAfter = Editable(d.m_hWnd, IDC_SEL_EXE_TEXT);
        ::SetDlgItemTextW(d.m_hWnd, IDC_SEL_EXE_TEXT, L"C:\\Tools\\view.exe");
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    g_PlugInList.Copy(savedPlugIns);
    EXPECT_EQ(19u, lines) << "18 file commands and ファイル実行";
    EXPECT_EQ(L"ファイル実行", std::wstring(dialog.m_lines.back()));
    EXPECT_EQ(CString(L"書庫の内容表示"), dialog.m_lines[selected]);
    EXPECT_FALSE(editableAtStart);
    EXPECT_EQ(L"", textAtStart);
    EXPECT_TRUE(editableAfter);
    EXPECT_EQ(CString(L"C:\\Tools\\view.exe"), dialog.m_action);
}

TEST(SelExe, APlugInRowKeepsItsReferenceSoThatItIsFoundAgain)
{
    CArray<CQvPlugIn> savedPlugIns;
    savedPlugIns.Copy(g_PlugInList);
    g_PlugInList.RemoveAll();
    CQvPlugIn plugIn;
    plugIn.m_fileName = L"tool.qpi";
    plugIn.m_functionName = L"Resize";
    plugIn.m_keyString = L"#R1";
    g_PlugInList.Add(plugIn);
    DrivenSelExeDlg dialog;
    dialog.m_action = L"#R1,TOOL.QPI";
    LRESULT selected = -1;
    dialog.drive = [&](DrivenSelExeDlg& d) {
        selected = ::SendDlgItemMessageW(d.m_hWnd, IDC_SEL_EXE_LIST, LB_GETCURSEL, 0, 0);
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    bool readOnly = false;
    const CString shown = GetKindActionText(dialog.m_action, &readOnly);
    g_PlugInList.Copy(savedPlugIns);
    EXPECT_EQ(18, selected);
    EXPECT_EQ(CString(L"Resize,tool.qpi"), dialog.m_lines[18]);
    EXPECT_EQ(CString(L"#R1,tool.qpi"), dialog.m_action);
    EXPECT_EQ(CString(L"Resize,tool.qpi"), shown);
    EXPECT_TRUE(readOnly);
}

// Both tables, the shortcut choices and the option variables, put back after a test.
class KindExeState : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < kKindExeEntryCount; ++i)
        {
            m_saved[0][i] = g_KindExeTable[i];
            m_saved[1][i] = g_KindExeShiftTable[i];
            g_KindExeTable[i] = g_KindExeShiftTable[i] = CKindExeEntry();
        }
        for (size_t i = 0; i < m_ints.size(); ++i)
            m_savedInts.push_back(*m_ints[i]);
    }
    void TearDown() override
    {
        for (int i = 0; i < kKindExeEntryCount; ++i)
        {
            g_KindExeTable[i] = m_saved[0][i];
            g_KindExeShiftTable[i] = m_saved[1][i];
        }
        for (size_t i = 0; i < m_ints.size(); ++i)
            *m_ints[i] = m_savedInts[i];
    }
    CKindExeEntry m_saved[2][kKindExeEntryCount];
    std::vector<int*> m_ints = {&g_KINDWINEXE, &g_KINDSHIFTWINEXE, &g_LNK_FILE_ACT_RETURN_KEY_STD,
                                &g_LNK_FILE_ACT_RETURN_KEY_SHIFT, &g_SELECTSAMEKIND};
    std::vector<int> m_savedInts;
};

TEST_F(KindExeState, PagesTablesAndOptionsReachTheSettingsAsStated)
{
    g_KindExeTable[0].m_extension = L"lzh";
    g_KindExeTable[0].m_action = L"@Packview";
    g_KindExeTable[1].m_extension = L"txt";
    g_KindExeTable[1].m_action = L"C:\\Tools\\edit.exe";
    g_KindExeTable[9].m_extension = L"jpg";
    g_KindExeShiftTable[0].m_extension = L"doc";
    for (const INT_PTR result : {IDCANCEL, IDOK})
    {
        g_KINDWINEXE = 1;
        g_KINDSHIFTWINEXE = 0;
        g_LNK_FILE_ACT_RETURN_KEY_STD = 0;
        DrivenKindExeDlg dialog;
        std::wstring action0, row1OnPage2, shiftExt;
        int shiftOption = -1;
        bool readOnly0 = false, editable1 = false, beforeAtStart = true, nextOnLast = true;
        dialog.drive = [&](DrivenKindExeDlg& d) {
            action0 = Text(d.m_hWnd, IDC_KIND_ACTION0);
            readOnly0 = !Editable(d.m_hWnd, IDC_KIND_ACTION0);
            editable1 = Editable(d.m_hWnd, IDC_KIND_ACTION0 + 1);
            beforeAtStart = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_KIND_BEFORE)) != FALSE;
            ::SetDlgItemTextW(d.m_hWnd, IDC_KIND_ACTION0, L"typed over"); // read only: kept
            ::SetDlgItemTextW(d.m_hWnd, IDC_KIND_ACTION0 + 1, L"C:\\Tools\\new.exe");
            d.Command(IDC_KIND_NEXT);
            row1OnPage2 = Text(d.m_hWnd, IDC_KIND_EXT0 + 1);
            for (int i = 0; i < 9; ++i)
                d.Command(IDC_KIND_NEXT); // stops at the tenth page
            nextOnLast = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_KIND_NEXT)) != FALSE;
            d.Command(IDC_KIND_BEFORE);
            EXPECT_EQ(64, d.m_offset);
            for (int i = 0; i < 8; ++i)
                d.Command(IDC_KIND_BEFORE);
            // "Windowsの設定でも起動" off for Return, then on to the Shift+Return table.
            d.m_options.SetCheck(2, 0);
            ::CheckRadioButton(d.m_hWnd, IDC_KIND_LNK_FILE0, IDC_KIND_LNK_FILE2, IDC_KIND_LNK_FILE2);
            ::CheckRadioButton(d.m_hWnd, IDC_KIND_RETURN, IDC_KIND_SHIFT, IDC_KIND_SHIFT);
            d.Command(IDC_KIND_SHIFT);
            shiftExt = Text(d.m_hWnd, IDC_KIND_EXT0);
            shiftOption = d.m_options.GetCheck(2);
            d.m_options.SetCheck(2, 1);
            if (result == IDOK)
                d.Command(IDOK);
            else
                d.EndDialog(IDCANCEL);
        };
        ASSERT_EQ(result, dialog.DoModal());
        EXPECT_EQ(L"書庫の内容表示", action0);
        EXPECT_TRUE(readOnly0);
        EXPECT_TRUE(editable1);
        EXPECT_FALSE(beforeAtStart);
        EXPECT_FALSE(nextOnLast);
        EXPECT_EQ(L"jpg", row1OnPage2);
        EXPECT_EQ(L"doc", shiftExt);
        EXPECT_EQ(0, shiftOption) << "the Shift+Return table shows its own variable";
        EXPECT_EQ(0, g_KINDWINEXE) << "written when the table was switched, Cancel or not";
        EXPECT_EQ(result == IDOK ? 1 : 0, g_KINDSHIFTWINEXE);
        if (result == IDCANCEL)
        {
            EXPECT_EQ(CString(L"C:\\Tools\\edit.exe"), g_KindExeTable[1].m_action)
                << "Cancel keeps the tables";
            EXPECT_EQ(0, g_LNK_FILE_ACT_RETURN_KEY_STD);
        }
        else
        {
            EXPECT_EQ(CString(L"@Packview"), g_KindExeTable[0].m_action)
                << "a shown command is not typed over";
            EXPECT_EQ(CString(L"C:\\Tools\\new.exe"), g_KindExeTable[1].m_action);
            EXPECT_EQ(CString(L"doc"), g_KindExeShiftTable[0].m_extension);
            EXPECT_EQ(2, g_LNK_FILE_ACT_RETURN_KEY_STD);
        }
    }
}

} // namespace
