// Menu 1089 through the view: the zoom dialog's choice becomes the zoom new pictures
// start with, "倍率設定しない" unsets it, and the check box is stored.
#include "app/Settings.h"
#include "res/GraphicViewerDialogs.h"
#include "view/QvView.h"

#include <gtest/gtest.h>

namespace
{
// The row the timer chooses in the open zoom dialog before it presses OK.
int g_row = 0;
int g_check = 0;

void CALLBACK AnswerZoomDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", L"画像の拡大縮小");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    SendDlgItemMessageW(dialog, IDC_GRAPHIC_ZOOM_LIST, LB_SETCURSEL, WPARAM(g_row), 0);
    CheckDlgButton(dialog, IDC_GRAPHIC_ZOOM_CHANGE_ENABLE, g_check ? BST_CHECKED : BST_UNCHECKED);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}
} // namespace

TEST(GraphicZoomSetting, TheChosenRowBecomesTheKeptZoomAndNoZoomUnsetsIt)
{
    const int savedChange = g_CHANGEZOOMENABLE;
    CQvView view;
    struct Case
    {
        int row;
        int check;
        bool unset;
        int numerator, denominator;
    };
    const Case cases[] = {{2, 1, false, 1, 4}, {7, 0, false, 2, 1}, {0, 1, true, 0, 0}};
    for (const Case& c : cases)
    {
        g_row = c.row;
        g_check = c.check;
        SetTimer(nullptr, 0, 50, AnswerZoomDialog);
        view.OnGraphicZoomSettings();
        EXPECT_EQ(c.unset, view.m_graphic.keptZoom.IsUnset()) << c.row;
        if (!c.unset)
        {
            EXPECT_EQ(c.numerator, view.m_graphic.keptZoom.Numerator()) << c.row;
            EXPECT_EQ(c.denominator, view.m_graphic.keptZoom.Denominator()) << c.row;
        }
        EXPECT_EQ(c.check, g_CHANGEZOOMENABLE) << c.row;
    }
    g_CHANGEZOOMENABLE = savedChange;
}
