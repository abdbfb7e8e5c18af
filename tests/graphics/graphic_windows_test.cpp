// The graphic viewer's windows and dialogs: the zoom steps, the alpha-channel rows,
// the small picture window and the picture list window.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/records/SelectColorButton.h"
#include "app/settings/GraphicSettings.h"
#include "filer/FileInfo.h"
#include "framework/FwLock.h"
#include "graphics/windows/AlphaChannelProcessSettingDlg.h"
#include "graphics/windows/GraphicListDlg.h"
#include "graphics/windows/GraphicZoomDlg.h"
#include "graphics/windows/SmallGraphicDlg.h"
#include "res/GraphicViewerDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <cstring>
#include <string>

namespace
{
class CDrivenZoomDlg : public qvtest::CDrivenDialog<CDrivenZoomDlg, CGraphicZoomDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
    HWND ListBox() const { return ::GetDlgItem(m_hWnd, IDC_GRAPHIC_ZOOM_LIST); }
};

class CDrivenAlphaDlg : public qvtest::CDrivenDialog<CDrivenAlphaDlg, CAlphaChannelProcessSettingDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
    void ChooseMode(int mode)
    {
        SendDlgItemMessageW(m_hWnd, IDC_ALPHA_MODE, CB_SETCURSEL, WPARAM(mode), 0);
        Command(IDC_ALPHA_MODE, CBN_SELCHANGE);
    }
    void ChooseRow(int row)
    {
        SendDlgItemMessageW(m_hWnd, IDC_ALPHA_LIST, LB_SETCURSEL, WPARAM(row), 0);
        Command(IDC_ALPHA_LIST, LBN_SELCHANGE);
    }
};

BOOL ChooseRed(HWND, COLORREF& colour)
{
    colour = RGB(255, 0, 0);
    return TRUE;
}

// Restores the records the dialogs write.
class GraphicWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_zoom = g_ZoomSteps;
        m_alpha = g_AlphaChannelTypes;
        m_showInfo = g_SMALL_SHOW_INFO;
        m_getPicture = g_SMALLLOADGETPICTURE;
        m_colorChooser = g_ColorChooserSeam;
    }
    void TearDown() override
    {
        g_ZoomSteps = m_zoom;
        g_AlphaChannelTypes = m_alpha;
        g_SMALL_SHOW_INFO = m_showInfo;
        g_SMALLLOADGETPICTURE = m_getPicture;
        g_ColorChooserSeam = m_colorChooser;
    }
    std::array<ZoomStepRow, ZOOM_STEP_COUNT> m_zoom;
    std::array<CAlphaChannelRow, ALPHA_CHANNEL_ROW_COUNT> m_alpha;
    int m_showInfo = 0;
    int m_getPicture = 1;
    ColorChooserSeam m_colorChooser = {};
};
} // namespace

TEST_F(GraphicWindowsTest, ZoomDialogListsNoZoomAndTheStepsAndWritesChecksOnlyOnOk)
{
    g_ZoomSteps[5].enabled = 0;
    for (const bool ok : {false, true})
    {
        CDrivenZoomDlg dialog(4, 1);
        std::wstring first;
        int count = 0, selected = -1;
        dialog.drive = [&](CDrivenZoomDlg& d) {
            HWND list = d.ListBox();
            count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
            selected = int(SendMessageW(list, LB_GETCURSEL, 0, 0));
            wchar_t text[64] = {};
            SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
            first = text;
            // The user checks row "1.5" and chooses no zoom.
            ::CheckDlgButton(d.m_hWnd, IDC_GRAPHIC_ZOOM_CHANGE_ENABLE, BST_UNCHECKED);
            // Space on the focused row toggles its check as a click would.
            SendMessageW(list, LB_SETCARETINDEX, 6, 0);
            SendMessageW(list, LB_SETCURSEL, 6, 0);
            SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            d.Command(ok ? IDOK : IDCANCEL);
        };
        EXPECT_EQ(ok ? IDOK : IDCANCEL, dialog.DoModal());
        EXPECT_EQ(ZOOM_STEP_COUNT + 1, count);
        EXPECT_EQ(4, selected);
        EXPECT_EQ(L"倍率設定しない", first);
        EXPECT_EQ(ok ? 1 : 0, g_ZoomSteps[5].enabled) << ok;
        if (ok)
        {
            EXPECT_EQ(0, dialog.m_selection);
            EXPECT_EQ(0, dialog.m_changeZoomEnable);
        }
    }
}

TEST_F(GraphicWindowsTest, AlphaDialogKeepsARowsModeAcrossASwitchAndWritesOnlyOnOk)
{
    g_ColorChooserSeam.chooseColor = ChooseRed;
    const auto before = g_AlphaChannelTypes;
    for (const bool ok : {false, true})
    {
        CDrivenAlphaDlg dialog;
        int shownMode = -1;
        dialog.drive = [&](CDrivenAlphaDlg& d) {
            d.ChooseMode(2);
            d.ChooseRow(3);
            shownMode = int(SendDlgItemMessageW(d.m_hWnd, IDC_ALPHA_MODE, CB_GETCURSEL, 0, 0));
            d.Command(IDC_ALPHA_COLOUR);
            d.ChooseMode(1);
            d.Command(ok ? IDOK : IDCANCEL);
        };
        dialog.DoModal();
        EXPECT_EQ(before[3].mode, shownMode);
        EXPECT_EQ(2, dialog.m_rows[0].mode);
        EXPECT_EQ(1, dialog.m_rows[3].mode);
        EXPECT_EQ(RGB(255, 0, 0), dialog.m_rows[3].colour);
        if (!ok)
        {
            for (int i = 0; i < ALPHA_CHANNEL_ROW_COUNT; ++i)
                EXPECT_EQ(before[size_t(i)].mode, g_AlphaChannelTypes[size_t(i)].mode);
            EXPECT_EQ(before[3].colour, g_AlphaChannelTypes[3].colour);
        }
    }
    EXPECT_EQ(2, g_AlphaChannelTypes[0].mode);
    EXPECT_EQ(RGB(255, 0, 0), g_AlphaChannelTypes[3].colour);
}

TEST(SmallGraphicFit, PicturesShrinkIntoTheSquareAndAreNeverEnlarged)
{
    struct Case
    {
        int side, width, height;
        bool ok;
        int fittedWidth, fittedHeight;
    };
    const Case cases[] = {{128, 50, 20, true, 50, 20},    {100, 400, 100, true, 100, 25},
                          {100, 100, 400, true, 25, 100}, {100, 300, 300, true, 100, 100},
                          {100, 0, 10, false, 0, 0},      {100, 10, -1, false, 0, 0}};
    for (const Case& c : cases)
    {
        int w = 0, h = 0;
        EXPECT_EQ(c.ok, FitSmallPicture(c.side, c.width, c.height, &w, &h)) << c.width << "x" << c.height;
        if (c.ok)
        {
            EXPECT_EQ(c.fittedWidth, w) << c.width << "x" << c.height;
            EXPECT_EQ(c.fittedHeight, h) << c.width << "x" << c.height;
        }
    }
}

namespace
{
std::string SolidBmp(int width, int height)
{
    return qvtest::SolidBmp(width, height, 0x40, 0x40, 0x40);
}
} // namespace

TEST_F(GraphicWindowsTest, SmallWindowReadsOnlyTheFileTheCursorStopsOn)
{
    CArray<CSusieDllFile> saved;
    CString savedDir;
    {
        CHandleLock lock(g_DataMutex);
        saved.Copy(g_SusiePlugIns);
        savedDir = g_SusiePlugInDir;
        CSusieDllFile record;
        memcpy(record.m_apiVersion, "00IN", 4);
        record.m_fileName = L"spi_bmp.sph";
        record.m_patterns.Add(L"*.bmp");
        record.m_enabled = 1;
        g_SusiePlugIns.RemoveAll();
        g_SusiePlugIns.Add(record);
        g_SusiePlugInDir = qvtest::ProgramDir().c_str();
    }
    const std::wstring dir = qvtest::ScratchDir() + L"\\small_graphic";
    CreateDirectoryW(dir.c_str(), nullptr);
    for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp"})
        ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\" + name, SolidBmp(50, 20)));

    g_SMALL_SHOW_INFO = 0;
    int shown = 1;
    POINT position = {};
    CSmallGraphicDlg window(&shown, &position);
    ASSERT_TRUE(window.Create(nullptr));
    EXPECT_GT(window.m_side, 0);
    for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp"})
        window.SetFile(name, dir.c_str());
    qvtest::PumpMessages(500);
    EXPECT_EQ(1, window.m_loadCount);
    EXPECT_EQ(1, window.m_loaded);
    EXPECT_EQ(dir + L"\\c.bmp", qvtest::W(window.m_currentPath));

    // The stand-in gives no preview: without the whole picture there is nothing.
    g_SMALLLOADGETPICTURE = 0;
    window.SetFile(L"a.bmp", dir.c_str());
    qvtest::PumpMessages(400);
    EXPECT_EQ(2, window.m_loadCount);
    EXPECT_EQ(0, window.m_loaded);

    // No name: the title goes back and the path is forgotten.
    window.SetFile(nullptr, dir.c_str());
    wchar_t title[64] = {};
    ::GetWindowTextW(window.m_hWnd, title, 64);
    EXPECT_EQ(std::wstring(L"縮小画像の表示"), title);
    EXPECT_TRUE(window.m_currentPath.IsEmpty());

    ::SendMessageW(window.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, shown);
    window.DestroyWindow();
    CHandleLock lock(g_DataMutex);
    g_SusiePlugIns.Copy(saved);
    g_SusiePlugInDir = savedDir;
}

namespace
{
// Counts the list window's requests.
int g_requests = 0;
LRESULT CALLBACK RequestCounter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDM_SHOW_LISTED_PICTURE)
    {
        ++g_requests;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring RowText(HWND list, int row, int column, int room)
{
    std::wstring text(size_t(room), L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = &text[0];
    item.cchTextMax = room;
    SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return text.c_str();
}
} // namespace

TEST(GraphicListWindow, RowsComeFromTheListAndOnlyTheUsersChoiceAsksTheView)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = RequestCounter;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QvGraphicListRequests";
    RegisterClassW(&windowClass);
    HWND owner = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    g_requests = 0;

    CArrayFileInfo pictures;
    for (const wchar_t* name : {L"first.bmp", L"a-rather-long-picture-name.bmp"})
    {
        WIN32_FIND_DATAW data = {};
        wcscpy(data.cFileName, name);
        pictures.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\pictures", nullptr, data, -1);
    }
    int shown = 1;
    CGraphicListDlg window(&shown, owner);
    ASSERT_TRUE(window.Create(nullptr));
    window.SetPictureList(int(pictures.GetSize()), &pictures);
    HWND list = ::GetDlgItem(window.m_hWnd, IDC_GRAPHIC_LIST_PICTURES);
    EXPECT_EQ(2, ListView_GetItemCount(list));
    EXPECT_EQ(L"first.bmp", RowText(list, 0, 0, 64));
    EXPECT_EQ(L"C:\\pictures", RowText(list, 0, 1, 64));
    // A buffer shorter than the text gets the text cut, its last place the end.
    EXPECT_EQ(L"a-rather", RowText(list, 1, 0, 9));

    // The view's own selection while suppressed asks for nothing.
    window.SetNotifySuppressed(1);
    window.SelectPicture(1);
    qvtest::PumpMessages(50);
    EXPECT_EQ(0, g_requests);
    EXPECT_EQ(1, window.m_choice.picture);
    window.SetNotifySuppressed(0);
    window.SelectPicture(0);
    qvtest::PumpMessages(50);
    EXPECT_EQ(1, g_requests);
    EXPECT_EQ(0, window.m_choice.picture);

    // Closing empties both lists and clears the view's option.
    ::SendMessageW(window.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, shown);
    EXPECT_EQ(0, ListView_GetItemCount(list));
    EXPECT_EQ(-1, window.m_choice.picture);
    window.SetPictureList(int(pictures.GetSize()), &pictures);
    EXPECT_EQ(2, ListView_GetItemCount(list));
    window.DestroyWindow();
    DestroyWindow(owner);
}
