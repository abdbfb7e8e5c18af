// The check-list box: drawn through its parent's requests, toggled by a click on
// the box and by the space bar, with the parent told of every toggle.
#include "framework/FwCheckListBox.h"
#include "app/dialogs/ListDlgs.h"
#include "framework/FwGdi.h"
#include "res/CommonDialogs.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

constexpr UINT kListId = 100;

class CountingCheckListBox : public CCheckListBox
{
public:
    int m_drawn = 0;

protected:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        ++m_drawn;
        CCheckListBox::DrawItem(lpDrawItemStruct);
    }
};

class NotifiedParent : public CWnd
{
public:
    int m_changes = 0;

protected:
    void OnCheckChange() { ++m_changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NotifiedParent, CWnd)
ON_CONTROL(CLBN_CHKCHANGE, kListId, OnCheckChange)
END_MESSAGE_MAP()

class CheckListBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      20, 20, 300, 200, nullptr, nullptr));
        ASSERT_TRUE(
            m_list.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY, CRect(10, 10, 250, 150), &m_parent, kListId));
        m_list.SetFont((HFONT)GetStockObject(DEFAULT_GUI_FONT));
        for (LPCWSTR text : {L"属性をコピーする", L"日時をコピーする", L"三番目"})
            m_list.AddString(text);
        m_list.SetCheck(2, 1);
    }

    POINT PointInItem(int nIndex, bool onBox) const
    {
        RECT rect;
        m_list.GetItemRect(nIndex, &rect);
        const int x = onBox ? rect.left + m_list.GetCheckAreaWidth() / 2 : rect.left + 60;
        return POINT{x, (rect.top + rect.bottom) / 2};
    }

    void Click(POINT pt)
    {
        m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        m_list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }

    NotifiedParent m_parent;
    CountingCheckListBox m_list;
};

TEST_F(CheckListBoxTest, DrawsItsItemsThroughTheParentsRequests)
{
    m_list.Invalidate();
    m_list.UpdateWindow();
    EXPECT_GE(m_list.m_drawn, 3);
    // Room for the box and the text of the font.
    EXPECT_GE(m_list.GetItemHeight(0), 14);
}

TEST_F(CheckListBoxTest, ClickOnTheBoxTogglesAndClickOnTheTextOnlySelects)
{
    Click(PointInItem(1, true));
    EXPECT_EQ(1, m_list.GetCheck(1));
    EXPECT_EQ(1, m_list.GetCurSel());
    Click(PointInItem(2, false));
    EXPECT_EQ(1, m_list.GetCheck(2));
    EXPECT_EQ(2, m_list.GetCurSel());
    Click(PointInItem(2, true));
    EXPECT_EQ(0, m_list.GetCheck(2));
    EXPECT_EQ(2, m_parent.m_changes);
}

TEST_F(CheckListBoxTest, SpaceTogglesTheCaretItem)
{
    m_list.SetFocus();
    m_list.SetCurSel(0);
    m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 1);
    m_list.SendMessage(WM_CHAR, L' ', 1);
    EXPECT_EQ(1, m_list.GetCheck(0));
    EXPECT_EQ(0, m_list.GetCurSel()); // the blank did not search for an item
    m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(0, m_list.GetCheck(0));
    EXPECT_EQ(2, m_parent.m_changes);
}

TEST_F(CheckListBoxTest, ChecksFollowTheirItemsWhenItemsComeAndGo)
{
    m_list.InsertString(0, L"新しい");
    EXPECT_EQ(0, m_list.GetCheck(0));
    EXPECT_EQ(1, m_list.GetCheck(3));
    m_list.DeleteString(1);
    EXPECT_EQ(1, m_list.GetCheck(2));
    m_list.ResetContent();
    m_list.AddString(L"x");
    EXPECT_EQ(0, m_list.GetCheck(0));
}

TEST(CCheckListBoxDlg, ShowsTheLabelsAndWritesTheChecksBackOnOkOnly)
{
    wchar_t labels[2][CHECK_LIST_LABEL_LENGTH] = {{L"属性をコピーする"}, {}};
    // A label that fills its whole field has no terminator.
    for (wchar_t& ch : labels[1])
        ch = L'x';
    int checks[2] = {0, 5};
    CCheckListBoxDlg dialog;
    dialog.m_caption = L"コピーしないときの処理";
    dialog.m_pLabels = &labels[0][0];
    dialog.m_count = 2;
    dialog.m_pChecks = checks;
    ASSERT_TRUE(dialog.Create(IDD_CHECK_LIST));
    HWND hList = GetDlgItem(dialog.m_hWnd, IDC_CHECK_LIST);
    wchar_t text[64] = {};
    SendMessageW(hList, LB_GETTEXT, 1, (LPARAM)text);
    EXPECT_EQ(std::wstring(CHECK_LIST_LABEL_LENGTH, L'x'), text);

    SendMessageW(hList, LB_SETCURSEL, 0, 0);
    SendMessageW(hList, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(0, checks[0]); // not before OK
    dialog.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1, checks[0]);
    EXPECT_EQ(1, checks[1]);
}

} // namespace
