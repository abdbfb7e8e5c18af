// "@Fullscreen" on a real frame: the view covers the monitor without caption, borders
// or menu bar, and the second call gives the frame back exactly as it was.
#include "tests/view/SettingsTestSupport.h"

#include "app/StartDirs.h"
#include "app/FolderChooser.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/windows/GraphicListDlg.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"
#include "view/system/ImeWindowPos.h"

#include <imm.h>

namespace
{

using settingstest::SettingsBench;

class FullScreen : public SettingsBench
{
protected:
    void SetUp() override
    {
        SettingsBench::SetUp();
        g_StartDirs[0] = m_dir.c_str();
        g_StartDirs[1] = m_dir.c_str();
        qvtest::WriteFileBytes(m_dir + L"\\a.txt", "a");
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 50, 640,
                                      480, nullptr, nullptr));
        m_view = new CQvView;
        RECT rect = {0, 0, 600, 400};
        ASSERT_TRUE(m_view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, m_frame, AFX_IDW_PANE_FIRST));
        ASSERT_EQ(m_view->GetParentFrame(), m_frame);
    }
    void TearDown() override
    {
        if (g_MainView == m_view && m_view != nullptr && m_view->m_hWnd)
            m_view->DestroyWindow();
        if (m_frame != nullptr && m_frame->m_hWnd)
            m_frame->DestroyWindow();
        SettingsBench::TearDown();
    }
    CRect FrameRect() const
    {
        CRect rect;
        m_frame->GetWindowRect(&rect);
        return rect;
    }
    LONG_PTR FrameStyle() const { return GetWindowLongPtrW(m_frame->m_hWnd, GWL_STYLE); }

    CFrameWnd* m_frame = nullptr;
    CQvView* m_view = nullptr;
};

TEST_F(FullScreen, TwiceGivesBackStyleRectangleAndMenuBar)
{
    g_MENUDISPLAY = 1;
    m_view->UpdateMenuForMode();
    ASSERT_NE(GetMenu(m_frame->m_hWnd), nullptr);
    const CRect before = FrameRect();
    const LONG_PTR style = FrameStyle();
    ASSERT_EQ(style & WS_POPUP, 0);

    ASSERT_EQ(m_view->DispatchCommandKeyword(L"@Fullscreen"), 1);
    EXPECT_EQ(m_view->m_system.fullScreenOn, 1);
    EXPECT_EQ(FrameStyle() & (WS_CAPTION | WS_THICKFRAME | WS_POPUP), 0);
    EXPECT_EQ(GetMenu(m_frame->m_hWnd), nullptr);
    EXPECT_EQ(g_MENUDISPLAY, 0);
    CRect client;
    m_view->GetClientRect(&client);
    m_view->ClientToScreen(&client);
    RECT monitor = {};
    GetWindowMonitorRect(m_view->m_hWnd, &monitor);
    EXPECT_EQ(client.TopLeft(), CPoint(monitor.left, monitor.top));
    EXPECT_EQ(client.Width(), monitor.right - monitor.left + 1);
    EXPECT_EQ(client.Height(), monitor.bottom - monitor.top + 1);

    ASSERT_EQ(m_view->DispatchCommandKeyword(L"@Fullscreen"), 1);
    EXPECT_EQ(m_view->m_system.fullScreenOn, 0);
    EXPECT_EQ(FrameStyle(), style) << "no pop-up style the frame never had";
    EXPECT_EQ(FrameRect(), before);
    EXPECT_NE(GetMenu(m_frame->m_hWnd), nullptr);
    EXPECT_EQ(g_MENUDISPLAY, 1);
}

// The stand-in BMP plug-in as the only plug-in, small pictures loaded without the load
// dialog, and the cursor of the active pane on a picture; all given back at the end.
class CPictureBench
{
public:
    explicit CPictureBench(const std::wstring& dir)
    {
        qvtest::WriteFileBytes(dir + L"\\p.bmp", qvtest::SolidBmp(4, 2, 0, 0, 255));
        CHandleLock lock(g_DataMutex);
        m_savedPlugIns.Copy(g_SusiePlugIns);
        m_savedDir = g_SusiePlugInDir;
        g_SusiePlugIns.RemoveAll();
        CSusieDllFile record;
        memcpy(record.m_apiVersion, "00IN", 4);
        record.m_fileName = L"spi_bmp.sph";
        record.m_patterns.Add(L"*.bmp");
        record.m_enabled = 1;
        g_SusiePlugIns.Add(record);
        g_SusiePlugInDir = qvtest::ProgramDir().c_str();
        g_ENABLE_NO_DIALOG_LOADING = 1;
        g_NO_DIALOG_LOADING_SIZE = 500;
    }
    ~CPictureBench()
    {
        g_ENABLE_NO_DIALOG_LOADING = m_saved[0];
        g_NO_DIALOG_LOADING_SIZE = m_saved[1];
        g_CurrentPicture.Free();
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_savedPlugIns);
        g_SusiePlugInDir = m_savedDir;
    }
    // The active pane, read again, with its cursor on the picture.
    static int PointAtPicture(CQvView& view)
    {
        const int index = view.GetActivePaneIndex();
        CFilerPane& pane = *g_Panes[index];
        pane.ReadDirectory(TRUE);
        pane.SortEntries();
        for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
            if (std::wstring(pane.m_entries[i].GetName()) == L"p.bmp")
                pane.m_cursor = i;
        return index;
    }

private:
    CArray<CSusieDllFile> m_savedPlugIns;
    CString m_savedDir;
    const int m_saved[2] = {g_ENABLE_NO_DIALOG_LOADING, g_NO_DIALOG_LOADING_SIZE};
};

TEST_F(FullScreen, PicturesAskedToShowInFullScreenTakeItAndGiveItBack)
{
    CPictureBench bench(m_dir);
    const int savedBefore = g_BEFOREFULLSCREEN;
    g_BEFOREFULLSCREEN = 1;
    const int index = CPictureBench::PointAtPicture(*m_view);
    const CRect before = FrameRect();
    const LONG_PTR style = FrameStyle();

    m_view->OnViewGraphic(1);
    EXPECT_EQ(1, m_view->IsPictureShown());
    EXPECT_EQ(1, m_view->m_system.fullScreenOn);
    EXPECT_EQ(1, m_view->m_system.fullScreen.graphic);
    EXPECT_EQ(0, FrameStyle() & WS_CAPTION);
    m_view->LeaveGraphicMode(index, GRAPHIC_LEAVE_BY_USER);
    EXPECT_EQ(0, m_view->m_system.fullScreenOn);
    EXPECT_EQ(FrameStyle(), style);
    EXPECT_EQ(FrameRect(), before);
    g_BEFOREFULLSCREEN = savedBefore;
}

TEST_F(FullScreen, ThePictureListWindowBelongsToTheMainWindowUnlessItStandsAlone)
{
    CPictureBench bench(m_dir);
    CWinApp app;
    app.m_pMainWnd = m_frame;
    const int savedFlag = g_OtherWindowDialogs[0].flag;
    const int index = CPictureBench::PointAtPicture(*m_view);
    for (int standAlone : {0, 1})
    {
        SCOPED_TRACE(standAlone);
        g_OtherWindowDialogs[0].flag = standAlone;
        m_view->m_graphic.listWindowShown = 1;
        m_view->OnViewGraphic(1);
        ASSERT_NE(nullptr, m_view->m_pGraphicListDlg);
        ASSERT_NE(nullptr, m_view->m_pGraphicListDlg->m_hWnd);
        EXPECT_EQ(standAlone ? nullptr : m_frame->m_hWnd,
                  GetWindow(m_view->m_pGraphicListDlg->m_hWnd, GW_OWNER));
        m_view->LeaveGraphicMode(index, GRAPHIC_LEAVE_BY_USER);
        m_view->m_pGraphicListDlg->DestroyWindow();
    }
    g_OtherWindowDialogs[0].flag = savedFlag;
    app.m_pMainWnd = nullptr;
}

TEST_F(FullScreen, AMoveIsRememberedUnlessTheFrameIsMaximised)
{
    m_frame->MoveWindow(60, 70, 500, 400, TRUE);
    // The program's frame hands its WM_MOVE on to the view, as here.
    m_frame->SetWindowPos(nullptr, 80, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SendMessageW(m_view->m_hWnd, WM_MOVE, 0, MAKELPARAM(80, 90));
    EXPECT_EQ(g_ENDX, 80);
    EXPECT_EQ(g_ENDY, 90);
    EXPECT_EQ(g_ENDWIDE, 500);
    EXPECT_EQ(g_ENDHEIGHT, 400);
    m_frame->ShowWindow(SW_MAXIMIZE);
    ::SendMessageW(m_view->m_hWnd, WM_MOVE, 0, MAKELPARAM(0, 0));
    EXPECT_EQ(g_ENDX, 80);
    EXPECT_EQ(g_ENDY, 90);
    EXPECT_EQ(g_ENDWIDE, 500);
    EXPECT_EQ(g_ENDHEIGHT, 400);
}

TEST_F(FullScreen, TheInputMethodWindowsOpenBelowTheCursorCell)
{
    CPoint anchor = GetImeAnchor(*m_view);
    int column = 0;
    int row = 0;
    const CPoint cell = m_view->GetCursorCell(m_view->GetActivePaneIndex(), &column, &row)
                            ? CPoint(column * m_view->m_layout.charWidth, row * m_view->m_layout.lineHeight)
                            : CPoint(0, 0);
    EXPECT_EQ(anchor, cell);
    m_view->UpdateImeWindowPos();
    HIMC context = ImmGetContext(m_view->m_hWnd);
    if (context == nullptr)
        GTEST_SKIP() << "no input context here";
    COMPOSITIONFORM composition = {};
    ImmGetCompositionWindow(context, &composition);
    ImmReleaseContext(m_view->m_hWnd, context);
    EXPECT_EQ(composition.dwStyle, static_cast<DWORD>(CFS_POINT));
    // At 96 dots per inch the point is not scaled.
    HDC dc = ::GetDC(m_view->m_hWnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(m_view->m_hWnd, dc);
    if (dpi == 96)
    {
        EXPECT_EQ(composition.ptCurrentPos.x, anchor.x);
        EXPECT_EQ(composition.ptCurrentPos.y, anchor.y + 10);
    }
}

} // namespace
