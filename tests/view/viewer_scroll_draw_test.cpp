// A text viewer or binary editor pane scrolled in a real window: the rows that come
// into sight show their lines at once, with nothing left for a later paint, the same
// as the pane drawn afresh; with a background picture every row is drawn again. A
// switch to the other pane takes the selection and the caret off the old one at
// once, and where the viewer fills the window the whole view is painted again.
#include "tests/view/SettingsTestSupport.h"

#include "app/StartDirs.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"
#include "graphics/picture/PictureData.h"
#include "viewers/binary/BinaryData.h"
#include "viewers/text/TextPaneViewer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

using qvtest::W;
using settingstest::SettingsBench;

class ViewerScrollDraw : public SettingsBench
{
protected:
    void SetUp() override
    {
        SettingsBench::SetUp();
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "line " + std::to_string(i) + std::string(i % 7, '#') + "\r\n";
        ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\v.txt", text));
        g_StartDirs[0] = m_dir.c_str();
        g_StartDirs[1] = m_dir.c_str();
        m_frame = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 640, 480,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_frame);
        m_pView = new CQvView;
        RECT rect = {0, 0, 600, 400};
        ASSERT_TRUE(m_pView->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, CWnd::FromHandle(m_frame),
                                    AFX_IDW_PANE_FIRST));
        std::string bytes;
        for (int i = 0; i < 16 * 200; ++i)
            bytes += static_cast<char>('A' + i / 16 % 26);
        ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\b.bin", bytes));
    }

    // The file opened by the keyword in pane 0, drawn and with nothing left to paint.
    void Open(LPCWSTR keyword, LPCWSTR name, UINT mode)
    {
        CFilerPane& pane = *g_Panes[0];
        pane.ReadDirectory(TRUE);
        for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
            if (std::wstring(pane.m_entries[i].GetName()) == name)
                pane.m_cursor = i;
        m_pView->ExecuteFilerCommand(keyword);
        ASSERT_EQ(pane.m_mode, mode);
        for (int i = 0; i < 200 && mode == PANE_MODE_TEXT_VIEWER && !pane.IsViewerLoadDone(); ++i)
            Sleep(10);
        Repaint();
    }

    void TearDown() override
    {
        for (CFilerPane* pane : g_Panes)
            if (pane != nullptr)
                pane->ReleaseViewerData();
        if (g_MainView == m_pView && m_pView != nullptr && m_pView->m_hWnd)
            m_pView->DestroyWindow();
        m_pView = nullptr;
        if (m_frame)
            DestroyWindow(m_frame);
        SettingsBench::TearDown();
    }

    void Repaint()
    {
        InvalidateRect(m_pView->m_hWnd, nullptr, TRUE);
        UpdateWindow(m_pView->m_hWnd);
    }

    // The pixels of pane 0's body as the window shows them now.
    std::vector<DWORD> Body()
    {
        CRect body;
        m_pView->GetPaneRect(nullptr, 0, &body);
        const int width = body.Width();
        const int height = body.Height();
        std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
        HDC window = GetDC(m_pView->m_hWnd);
        HDC memory = CreateCompatibleDC(window);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, window, body.left, body.top, SRCCOPY);
        GdiFlush();
        memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(m_pView->m_hWnd, window);
        return pixels;
    }

    HWND m_frame = nullptr;
    CQvView* m_pView = nullptr;
};

TEST_F(ViewerScrollDraw, TheRowsThatComeIntoSightShowTheirLinesWithoutWaitingForAPaint)
{
    Open(L"@View", L"v.txt", PANE_MODE_TEXT_VIEWER);
    CFilerPane& pane = *g_Panes[0];
    ASSERT_TRUE(pane.IsViewerLoadDone());
    const int rows = m_pView->m_layout.panes[0].rowsFull;
    ASSERT_GE(rows, 5);
    struct
    {
        int backPicture;
        INT64 lines;
    } cases[] = {{0, 3}, {0, -2}, {0, 1}, {1, 3}, {1, -3}};
    for (const auto& c : cases)
    {
        g_BACKBITMAPFLAG = c.backPicture;
        const std::vector<DWORD> before = Body();
        ASSERT_EQ(c.lines, pane.ScrollViewerLines(c.lines, rows, FALSE));
        m_pView->ScrollViewerPane(0, static_cast<int>(c.lines));
        RECT pending;
        EXPECT_FALSE(GetUpdateRect(m_pView->m_hWnd, &pending, FALSE))
            << "nothing is left for a paint: " << c.lines << " " << c.backPicture;
        const std::vector<DWORD> scrolled = Body();
        EXPECT_NE(before, scrolled) << "the text moved";
        Repaint();
        EXPECT_TRUE(scrolled == Body())
            << "the scrolled pane shows what a fresh drawing shows: " << c.lines << " " << c.backPicture;
    }
}

TEST_F(ViewerScrollDraw, CursorKeysAndTheWheelShowTheNewLinesAtOnce)
{
    Open(L"@View", L"v.txt", PANE_MODE_TEXT_VIEWER);
    CFilerPane& pane = *g_Panes[0];
    const int rows = m_pView->m_layout.panes[0].rowsFull;
    CRect body;
    m_pView->GetPaneRect(nullptr, 0, &body);
    POINT inside = {body.left + 10, body.top + body.Height() / 2};
    ClientToScreen(m_pView->m_hWnd, &inside);
    struct
    {
        LPCWSTR how;
        std::function<void()> act;
        INT64 top;
    } steps[] = {
        {L"down", [&] { m_pView->MovePaneCursor(0, 1, 0, 0, 0); }, 1},
        {L"page down", [&] { m_pView->MovePaneCursor(0, rows, 0, 0, 0); }, 1 + rows},
        {L"wheel down", [&] { m_pView->ScrollViewerByWheel(0, -2 * WHEEL_DELTA, inside); }, 3 + rows},
        {L"wheel up", [&] { m_pView->ScrollViewerByWheel(0, WHEEL_DELTA, inside); }, 2 + rows},
        {L"up", [&] { m_pView->MovePaneCursor(0, -2, 0, 0, 0); }, rows},
    };
    for (const auto& step : steps)
    {
        step.act();
        EXPECT_EQ(step.top, pane.m_viewer->GetTopLine()) << W(step.how);
        RECT pending;
        EXPECT_FALSE(GetUpdateRect(m_pView->m_hWnd, &pending, FALSE)) << W(step.how);
        const std::vector<DWORD> shown = Body();
        Repaint();
        EXPECT_TRUE(shown == Body()) << W(step.how);
    }
}

TEST_F(ViewerScrollDraw, TheLinesDrawnAfterAScrollShowTheBackgroundPictureBesideTheirText)
{
    Open(L"@View", L"v.txt", PANE_MODE_TEXT_VIEWER);
    // A picture of one pixel, tiled over the view.
    std::string bmp(58, '\0');
    BITMAPFILEHEADER file = {0x4D42, 58, 0, 0, 54};
    BITMAPINFOHEADER info = {40, 1, 1, 1, 24, 0, 4, 0, 0, 0, 0};
    memcpy(&bmp[0], &file, 14);
    memcpy(&bmp[14], &info, 40);
    bmp[54] = 30; // blue, green, red
    bmp[55] = 20;
    bmp[56] = 10;
    const std::wstring path = m_dir + L"\\back.bmp";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, bmp));
    m_pView->m_graphic.backgroundPicture = std::make_unique<CPictureData>();
    ASSERT_TRUE(m_pView->m_graphic.backgroundPicture->LoadBmp(path.c_str()));
    g_BACKBMPTILE = 1;
    // The middle of the first text row, right of its short line.
    CRect body;
    m_pView->GetPaneRect(nullptr, 0, &body);
    const int lh = m_pView->m_layout.lineHeight;
    const size_t probe = static_cast<size_t>(lh + lh / 2) * body.Width() + body.Width() / 2;
    for (int on : {0, 1})
    {
        g_BACKBITMAPFLAG = on;
        ASSERT_EQ(2, g_Panes[0]->ScrollViewerLines(2, m_pView->m_layout.panes[0].rowsFull, FALSE));
        m_pView->ScrollViewerPane(0, 2);
        const DWORD pixel = Body()[probe] & 0xFFFFFF;
        EXPECT_EQ(on != 0, pixel == 0x0A141E) << on << " " << std::hex << pixel;
    }
}

TEST_F(ViewerScrollDraw, ABinaryEditorDrawsTheRowsItsScrollUncoversAtOnce)
{
    Open(L"@Binaryedit", L"b.bin", PANE_MODE_BINARY);
    CBinaryData& data = *g_Panes[0]->m_binaryData;
    data.m_firstLine = 20;
    Repaint();
    for (int lines : {3, -2, 1})
    {
        const std::vector<DWORD> before = Body();
        data.m_firstLine += lines;
        m_pView->ScrollViewerPane(0, lines);
        RECT pending;
        EXPECT_FALSE(GetUpdateRect(m_pView->m_hWnd, &pending, FALSE)) << lines;
        const std::vector<DWORD> scrolled = Body();
        EXPECT_NE(before, scrolled) << lines;
        Repaint();
        EXPECT_TRUE(scrolled == Body()) << "the rows after a scroll of " << lines;
    }
}

// The switch away from a viewer and back, in both layouts: where both panes stay on
// screen the old pane is drawn at once without its selection or caret, as a fresh
// drawing shows it; where the viewer fills the window the whole view waits for a
// paint that shows the newly active pane.
void SwitchAwayAndBack(CQvView& view, HWND window, const std::function<std::vector<DWORD>()>& body,
                       const std::function<void()>& repaint, const std::function<void()>& focus)
{
    g_WINDOWDEVIDEWAY = 0;
    g_DISPLAY_FULL_SCREEN_NOT_FILER = 0;
    view.CalcLayout();
    repaint();
    focus();
    const std::vector<DWORD> focused = body();
    view.SwitchActivePane(-1);
    ASSERT_EQ(static_cast<UINT>(PANE_POS_OTHER), g_Panes[0]->m_position);
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(window, &pending, FALSE)) << "nothing waits for a paint";
    const std::vector<DWORD> unfocused = body();
    EXPECT_NE(focused, unfocused) << "the old pane lost its focus marks";
    repaint();
    const std::vector<DWORD> fresh = body();
    EXPECT_TRUE(unfocused == fresh) << "as a fresh drawing of the pane";
    view.SwitchActivePane(-1);

    const struct
    {
        const char* layout;
        int split;
        int fullScreen;
    } layouts[] = {{"side by side", 1, 0}, {"full screen", 0, 1}};
    for (const auto& layout : layouts)
    {
        SCOPED_TRACE(layout.layout);
        g_WINDOWDEVIDEWAY = layout.split;
        g_DISPLAY_FULL_SCREEN_NOT_FILER = layout.fullScreen;
        view.CalcLayout();
        repaint();
        ASSERT_TRUE(view.IsPaneVisible(0));
        ASSERT_FALSE(view.IsPaneVisible(1)) << "the viewer fills the window";
        RECT client;
        GetClientRect(window, &client);
        for (int shown : {1, 0})
        {
            view.SwitchActivePane(-1);
            EXPECT_EQ(1, view.IsPaneVisible(shown));
            EXPECT_EQ(0, view.IsPaneVisible(1 - shown));
            EXPECT_EQ(shown, view.GetActivePaneIndex()) << "the keys go to the pane shown";
            ASSERT_TRUE(GetUpdateRect(window, &pending, FALSE)) << "the view is painted again";
            EXPECT_TRUE(EqualRect(&pending, &client));
            UpdateWindow(window);
        }
    }
}

TEST_F(ViewerScrollDraw, ASwitchAwayFromATextViewerTakesItsSelectionAndShowsTheActivePane)
{
    Open(L"@View", L"v.txt", PANE_MODE_TEXT_VIEWER);
    SwitchAwayAndBack(
        *m_pView, m_pView->m_hWnd, [&] { return Body(); }, [&] { Repaint(); },
        [&] {
            m_pView->m_viewer.selection.anchor = 0;
            m_pView->m_viewer.selection.end = 30;
            m_pView->m_viewer.selection.active = TRUE;
            m_pView->RedrawViewerSpan(0, 0, 30);
        });
}

TEST_F(ViewerScrollDraw, ASwitchAwayFromABinaryEditorTakesItsCaretAndShowsTheActivePane)
{
    Open(L"@Binaryedit", L"b.bin", PANE_MODE_BINARY);
    SwitchAwayAndBack(
        *m_pView, m_pView->m_hWnd, [&] { return Body(); }, [&] { Repaint(); },
        [&] { m_pView->DrawBinaryPane(0, 1); });
}

} // namespace
