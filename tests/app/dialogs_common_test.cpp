// The small common dialogs on the display: the message box's ends and growth,
// the order list, the combo and text dialogs, and the scripted answers that
// stand in for the user.
#include "app/dialogs/SmallDialogs.h"
#include "framework/FwGdi.h"
#include "res/CommonDialogs.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace
{

using qvtest::W;
using qvtest::WaitFor;

CRect ClientRectOf(HWND hDlg, int nID)
{
    CRect rect;
    GetWindowRect(GetDlgItem(hDlg, nID), &rect);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring ListText(HWND hList, int nIndex)
{
    wchar_t text[64] = {};
    SendMessageW(hList, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)text);
    return text;
}

void SendCommand(CWnd& dialog, int nID)
{
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(dialog.m_hWnd, nID));
}

// ---- CMessageBoxDlg ------------------------------------------------------------

struct EndCase
{
    const char* name;
    int type;
    std::function<void(HWND)> action;
    INT_PTR expected;
    bool staysOpenAfterAction;
};

void PressEscape(HWND hDlg)
{
    HWND hOk = GetDlgItem(hDlg, IDOK);
    PostMessageW(hOk, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(hOk, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

void CloseCommand(HWND hDlg)
{
    PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(hDlg, WM_CLOSE, 0, 0);
}

void ClickOk(HWND hDlg)
{
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, IDOK));
}

TEST(CMessageBoxDlg, EndsByTypeAndAnOkOnlyBoxIgnoresEscapeAndClose)
{
    const EndCase cases[] = {
        {"OK only: Escape", 0, PressEscape, IDOK, true},
        {"OK only: close", 0, CloseCommand, IDOK, true},
        {"OK only: OK", 0, ClickOk, IDOK, false},
        {"OK and Cancel: Escape", 1, PressEscape, IDCANCEL, false},
        {"OK and Cancel: close", 1, CloseCommand, IDCANCEL, false},
        {"Yes and No: OK is Yes", 4, ClickOk, IDYES, false},
        {"Yes and No: Escape is No", 4, PressEscape, IDNO, false},
    };
    for (const EndCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CMessageBoxDlg dialog;
        dialog.m_text = L"テスト";
        dialog.m_caption = L"message box test";
        dialog.m_type = c.type;
        bool stayedOpen = false;
        std::thread driver([&] {
            HWND hDlg = nullptr;
            if (!WaitFor([&] { return (hDlg = FindWindowW(L"#32770", L"message box test")) != nullptr; },
                         5000))
                return;
            c.action(hDlg);
            // A box that must close gets ample time on a loaded machine; one that must
            // stay open is watched for a moment.
            stayedOpen = !WaitFor([&] { return !IsWindow(hDlg); }, c.staysOpenAfterAction ? 300 : 10000);
            // Whatever happened, the dialog must not outlive the case.
            if (stayedOpen)
                ClickOk(hDlg);
        });
        EXPECT_EQ(c.expected, dialog.DoModal());
        driver.join();
        EXPECT_EQ(c.staysOpenAfterAction, stayedOpen);
    }
}

TEST(CMessageBoxDlg, ButtonsFollowTheType)
{
    CMessageBoxDlg okOnly;
    okOnly.m_type = 0;
    ASSERT_TRUE(okOnly.Create(IDD_MESSAGE_BOX));
    EXPECT_EQ(0, GetWindowLongW(GetDlgItem(okOnly.m_hWnd, IDCANCEL), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(0, okOnly.GetStyle() & WS_SYSMENU);

    CMessageBoxDlg yesNo;
    yesNo.m_type = 4;
    ASSERT_TRUE(yesNo.Create(IDD_MESSAGE_BOX));
    CString yes, no;
    yesNo.GetDlgItemText(IDOK, yes);
    yesNo.GetDlgItemText(IDCANCEL, no);
    EXPECT_EQ(L"はい(&Y)", W(yes));
    EXPECT_EQ(L"いいえ(&N)", W(no));
    EXPECT_EQ(0, yesNo.GetStyle() & WS_SYSMENU);

    CMessageBoxDlg noCaption;
    noCaption.m_type = 1;
    ASSERT_TRUE(noCaption.Create(IDD_MESSAGE_BOX));
    CString caption;
    noCaption.GetWindowText(caption);
    EXPECT_EQ(L"qv", W(caption));
    EXPECT_NE(0, noCaption.GetStyle() & WS_SYSMENU);
}

struct SizeCase
{
    const char* name;
    int type;
    std::wstring text;
    bool wider;
    bool taller;
};

TEST(CMessageBoxDlg, GrowsForALongTextWithTheButtonsCentredUnderIt)
{
    const std::wstring longLine(120, L'あ');
    const SizeCase cases[] = {
        {"one short line", 1, L"短い", false, false},
        {"one long line", 1, longLine, true, false},
        {"many lines", 1, L"1\n2\n3\n4\n5\n6\n7\n8\n9\n10", false, true},
        {"long and many lines, OK only", 0, longLine + L"\r\n2\n3\n4\n5\n6\n7\n8", true, true},
    };
    CMessageBoxDlg baseline;
    baseline.m_text = L"x";
    baseline.m_type = 1;
    ASSERT_TRUE(baseline.Create(IDD_MESSAGE_BOX));
    CRect baseRect;
    baseline.GetWindowRect(&baseRect);

    for (const SizeCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CMessageBoxDlg dialog;
        dialog.m_text = c.text.c_str();
        dialog.m_type = c.type;
        ASSERT_TRUE(dialog.Create(IDD_MESSAGE_BOX));
        CRect rect;
        dialog.GetWindowRect(&rect);
        EXPECT_EQ(c.wider, rect.Width() > baseRect.Width());
        EXPECT_EQ(c.taller, rect.Height() > baseRect.Height());
        EXPECT_GE(rect.Width(), baseRect.Width());
        EXPECT_GE(rect.Height(), baseRect.Height());

        const CRect text = ClientRectOf(dialog.m_hWnd, IDC_MESSAGE_TEXT);
        const CRect ok = ClientRectOf(dialog.m_hWnd, IDOK);
        const CRect cancel = ClientRectOf(dialog.m_hWnd, IDCANCEL);
        const int textCentre = (text.left + text.right) / 2;
        const int buttonsCentre = c.type == 0 ? (ok.left + ok.right) / 2 : (ok.left + cancel.right) / 2;
        EXPECT_NEAR(textCentre, buttonsCentre, 3);
        EXPECT_GT(ok.top, text.bottom - 1);
        if (c.taller)
        {
            // Every line fits: the text field is at least as tall as the lines.
            CClientDC dc(dialog.GetDlgItem(IDC_MESSAGE_TEXT));
            HGDIOBJ old = dc.SelectObject((HGDIOBJ)dialog.GetDlgItem(IDC_MESSAGE_TEXT)->GetFont());
            TEXTMETRICW metrics{};
            dc.GetTextMetrics(&metrics);
            dc.SelectObject(old);
            EXPECT_GE(text.Height(), 8 * metrics.tmHeight);
        }
    }
}

// ---- COrderListWithCheckDlg -------------------------------------------------------

class OrderDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (LPCWSTR name : {L"DIR名", L"キー", L"内容"})
            m_dialog.m_names.Add(name);
        m_dialog.m_pItems = m_items;
        m_dialog.m_count = 3;
        m_dialog.m_caption = L"ディレクトリジャンプダイアログ表示設定";
        ASSERT_TRUE(m_dialog.Create(IDD_ORDER_LIST));
        m_dialog.ShowWindow(SW_SHOWNA);
        m_hList = GetDlgItem(m_dialog.m_hWnd, IDC_ORDER_LIST);
    }

    std::wstring Order() const
    {
        std::wstring order;
        for (int i = 0; i < (int)SendMessageW(m_hList, LB_GETCOUNT, 0, 0); ++i)
            order += ListText(m_hList, i) + L"|";
        return order;
    }

    void Toggle(int nIndex)
    {
        SendMessageW(m_hList, LB_SETCURSEL, (WPARAM)nIndex, 0);
        SendMessageW(m_hList, WM_KEYDOWN, VK_SPACE, 1);
    }

    ListOrderItem m_items[3] = {{1, 0, 10}, {1, 1, 20}, {0, 2, 30}};
    COrderListWithCheckDlg m_dialog;
    HWND m_hList = nullptr;
};

TEST_F(OrderDialogTest, MovesTheSelectedRowButNotPastEitherEdge)
{
    EXPECT_EQ(L"DIR名|キー|内容|", Order());
    SendMessageW(m_hList, LB_SETCURSEL, 2, 0);
    SendCommand(m_dialog, IDC_ORDER_DOWN);
    EXPECT_EQ(L"DIR名|キー|内容|", Order());
    SendMessageW(m_hList, LB_SETCURSEL, 0, 0);
    SendCommand(m_dialog, IDC_ORDER_UP);
    EXPECT_EQ(L"DIR名|キー|内容|", Order());

    SendCommand(m_dialog, IDC_ORDER_DOWN);
    EXPECT_EQ(L"キー|DIR名|内容|", Order());
    EXPECT_EQ(1, (int)SendMessageW(m_hList, LB_GETCURSEL, 0, 0));
    Toggle(2); // 内容 shown; its tick moves with it
    SendCommand(m_dialog, IDC_ORDER_UP);
    EXPECT_EQ(L"キー|内容|DIR名|", Order());
    EXPECT_EQ(1, (int)SendMessageW(m_hList, LB_GETCURSEL, 0, 0));
    // Nothing reaches the caller before OK.
    EXPECT_EQ(0, m_items[0].nameIndex);

    SendCommand(m_dialog, IDOK);
    EXPECT_FALSE(m_dialog.IsWindowVisible());
    const int expected[3][3] = {{1, 1, 20}, {1, 2, 30}, {1, 0, 10}};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(expected[i][0], m_items[i].show) << i;
        EXPECT_EQ(expected[i][1], m_items[i].nameIndex) << i;
        EXPECT_EQ(expected[i][2], m_items[i].extra) << i;
    }
}

TEST_F(OrderDialogTest, NeedsOneShownRowUnlessTheRuleIsOff)
{
    Toggle(0);
    Toggle(1); // now no row is ticked
    {
        CDialogAnswerScript script;
        script.Add(IDOK);
        SendCommand(m_dialog, IDOK);
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(L"１つ以上の項目を表示にしてください", W(script.GetQuestions()[0].text));
    }
    EXPECT_TRUE(m_dialog.IsWindowVisible());
    EXPECT_EQ(1, m_items[0].show);

    m_dialog.m_requireOne = 0;
    SendCommand(m_dialog, IDOK);
    EXPECT_FALSE(m_dialog.IsWindowVisible());
    for (const ListOrderItem& item : m_items)
        EXPECT_EQ(0, item.show);
}

// ---- Combo, password and entry dialogs ---------------------------------------------

TEST(CComboDlg, AcceptsOnlyAChosenItem)
{
    CComboDlg empty;
    empty.m_caption = L"グループの選択";
    empty.m_index = 7;
    ASSERT_TRUE(empty.Create(IDD_COMBO));
    empty.ShowWindow(SW_SHOWNA);
    SendCommand(empty, IDOK);
    EXPECT_TRUE(empty.IsWindowVisible());
    EXPECT_EQ(7, empty.m_index);

    CComboDlg filled;
    filled.m_items.Add(L"一");
    filled.m_items.Add(L"二");
    ASSERT_TRUE(filled.Create(IDD_COMBO));
    filled.ShowWindow(SW_SHOWNA);
    HWND hCombo = GetDlgItem(filled.m_hWnd, IDC_COMBO_LIST);
    EXPECT_EQ(0, (int)SendMessageW(hCombo, CB_GETCURSEL, 0, 0));
    SendMessageW(hCombo, CB_SETCURSEL, 1, 0);
    SendCommand(filled, IDOK);
    EXPECT_FALSE(filled.IsWindowVisible());
    EXPECT_EQ(1, filled.m_index);
}

TEST(CInputPasswordDlg, AcceptsOnlyTwoEqualTexts)
{
    struct Case
    {
        LPCWSTR first, second;
        bool accepted;
    } cases[] = {{L"", L"", true}, {L"Secret", L"secret", false}, {L"秘密", L"秘密", true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        CInputPasswordDlg dialog;
        ASSERT_TRUE(dialog.Create(IDD_INPUT_PASSWORD));
        dialog.ShowWindow(SW_SHOWNA);
        dialog.SetDlgItemText(IDC_PASSWORD_EDIT, c.first);
        dialog.SetDlgItemText(IDC_PASSWORD_CONFIRM, c.second);
        CDialogAnswerScript script;
        script.Add(IDOK);
        SendCommand(dialog, IDOK);
        EXPECT_EQ(c.accepted, !dialog.IsWindowVisible());
        EXPECT_EQ(c.accepted ? 0u : 1u, script.GetQuestions().size());
        if (c.accepted)
        {
            EXPECT_EQ(std::wstring(c.first), W(dialog.m_password));
        }
    }
}

TEST(CInputBookMarkDlg, SelectsTheKeyByItsExactNameElseNone)
{
    struct Case
    {
        LPCWSTR given;
        int row;
        LPCWSTR returned;
    } cases[] = {{L"F1", 47, L"F1"}, {L"f1", 89, L""}, {L"", 89, L""}, {L"PAUSE", 88, L"PAUSE"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "key " << std::string(c.given, c.given + wcslen(c.given)));
        CInputBookMarkDlg dialog;
        dialog.m_caption = L"編集";
        dialog.m_keyName = c.given;
        dialog.m_target = L"C:\\tmp";
        dialog.m_suggestedTarget1 = L"C:\\a";
        ASSERT_TRUE(dialog.Create(IDD_BOOKMARK));
        HWND hKeys = GetDlgItem(dialog.m_hWnd, IDC_BOOKMARK_KEY);
        EXPECT_EQ(90, (int)SendMessageW(hKeys, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(c.row, (int)SendMessageW(hKeys, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(1, (int)SendMessageW(GetDlgItem(dialog.m_hWnd, IDC_BOOKMARK_TARGET), CB_GETCOUNT, 0, 0));
        dialog.SetDlgItemText(IDC_BOOKMARK_CONTENT, L"作業");
        SendCommand(dialog, IDOK);
        EXPECT_EQ(std::wstring(c.returned), W(dialog.m_keyName));
        EXPECT_EQ(L"C:\\tmp", W(dialog.m_target));
        EXPECT_EQ(L"作業", W(dialog.m_content));
    }
}

// ---- Scripted answers ------------------------------------------------------------

TEST(CDialogAnswerScript, AnswersQuestionsOfAWorkerThreadWithoutAWindow)
{
    CDialogAnswerScript script;
    script.Add(IDNO);
    int results[2] = {};
    std::thread worker([&] {
        results[0] = ShowMessageBoxDlg(nullptr, L"上書きしますか\nC:\\a.txt", L"確認", 4);
        // The script has run out: answered as a dialog that could not be shown.
        results[1] = ShowMessageBoxDlg(nullptr, L"二つ目", nullptr, 0);
    });
    worker.join();
    EXPECT_EQ(IDNO, results[0]);
    EXPECT_EQ(-1, results[1]);
    const std::vector<CDialogQuestion> questions = script.GetQuestions();
    ASSERT_EQ(2u, questions.size());
    EXPECT_EQ(IDD_MESSAGE_BOX, (int)questions[0].dialogId);
    EXPECT_EQ(L"上書きしますか\nC:\\a.txt", W(questions[0].text));
    EXPECT_EQ(L"確認", W(questions[0].caption));
    EXPECT_EQ(4, questions[0].type);
    EXPECT_EQ(L"qv", W(questions[1].caption));
    EXPECT_EQ(0u, script.GetRemaining());
    EXPECT_EQ(1, script.GetUnanswered());
}

TEST(CDialogAnswerScript, PutsTheAnswersValuesWhereTheUsersInputGoes)
{
    CDialogAnswerScript script;
    script.Add(IDOK, L"pass");
    script.Add(IDCANCEL, L"ignored");
    CDialogAnswer order;
    order.order = {2, 0, 1};
    order.checks = {0, 1, 1};
    script.Add(order);

    CInputDlg input;
    input.m_caption = L"展開パスワード";
    input.m_masked = 1;
    EXPECT_EQ(IDOK, input.DoModal());
    EXPECT_EQ(L"pass", W(input.m_text));

    COnlyEditNameDlg name;
    name.m_name = L"old";
    EXPECT_EQ(IDCANCEL, name.DoModal());
    EXPECT_EQ(L"old", W(name.m_name));

    ListOrderItem items[3] = {{1, 0, 10}, {1, 1, 20}, {0, 2, 30}};
    COrderListWithCheckDlg list;
    list.m_pItems = items;
    list.m_count = 3;
    EXPECT_EQ(IDOK, list.DoModal());
    EXPECT_EQ(30, items[0].extra);
    EXPECT_EQ(0, items[0].show);
    EXPECT_EQ(10, items[1].extra);
    EXPECT_EQ(1, items[2].show);

    ASSERT_EQ(3u, script.GetQuestions().size());
    EXPECT_EQ(L"展開パスワード", W(script.GetQuestions()[0].caption));
    EXPECT_EQ(L"名前の設定", W(script.GetQuestions()[1].caption));
}

} // namespace
