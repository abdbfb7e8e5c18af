// The filer wallpaper dialog: the brightness slider's ends, the folder scan (also
// through a link back up its own tree), removing and moving rows, a refused interval
// that keeps the dialog open with the rest stored, the plug-in check that Cancel
// keeps, and menu 917 applying the dialog's choice.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/settings/ViewSettings.h"
#include "res/ViewSetupDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"
#include "view/QvView.h"
#include "view/dialogs/SetFilerBitmapDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

class CDrivenFilerBitmapDlg : public qvtest::CDrivenDialog<CDrivenFilerBitmapDlg, CSetFilerBitmapDlg>
{
public:
    CString m_chosenFolder;

    void SetChangeType(int type)
    {
        SendDlgItemMessageW(m_hWnd, IDC_FILERBMP_CHANGE_TYPE, CB_SETCURSEL, type, 0);
        Command(IDC_FILERBMP_CHANGE_TYPE, CBN_SELCHANGE);
    }

protected:
    BOOL ChooseFolder(CString& path) override
    {
        path = m_chosenFolder;
        return TRUE;
    }
    bool PlugInAccepts(LPCWSTR) override { return false; }
};

std::vector<std::wstring> Names(const CArrayCommonFileEx& files)
{
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < files.GetSize(); ++i)
        names.push_back(std::wstring(files[i].m_name));
    return names;
}

bool g_boxAnswered = false;
HWND g_openDialog = nullptr;

// Presses OK on the first message box this thread shows.
void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = qvtest::FindThreadDialog(nullptr, g_openDialog);
    if (box == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_boxAnswered = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class FilerWallpaperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_files.Copy(g_WallpaperFiles);
        for (int i = 0; i < WALLPAPER_PLACEMENT_ROW_COUNT; ++i)
        {
            m_placement[i] = *g_WallpaperPlacementRows[i].placement;
            m_coordinate[i] = *g_WallpaperPlacementRows[i].coordinate;
        }
        g_WallpaperFiles.RemoveAll();
    }
    void TearDown() override
    {
        g_WallpaperFiles.Copy(m_files);
        for (int i = 0; i < WALLPAPER_PLACEMENT_ROW_COUNT; ++i)
        {
            *g_WallpaperPlacementRows[i].placement = m_placement[i];
            *g_WallpaperPlacementRows[i].coordinate = m_coordinate[i];
        }
        for (auto& saved : m_ints)
            *saved.first = saved.second;
        g_BACKBITMAPNAME = m_name;
    }
    void Keep(int& setting, int value)
    {
        m_ints.push_back({&setting, setting});
        setting = value;
    }

    CArrayCommonFileEx m_files;
    int m_placement[WALLPAPER_PLACEMENT_ROW_COUNT] = {};
    int m_coordinate[WALLPAPER_PLACEMENT_ROW_COUNT] = {};
    std::vector<std::pair<int*, int>> m_ints;
    CString m_name = g_BACKBITMAPNAME;
};

TEST_F(FilerWallpaperTest, TheSliderEndsStoreTheBrightnessRange)
{
    Keep(g_BACKPALLETCHANGE, 0);
    Keep(g_FILERBMPCHANGETYPE, 0);
    struct Case
    {
        int position;
        int stored;
    };
    for (const Case& c : {Case{0, -255}, Case{511, 256}, Case{255, 0}})
    {
        g_BACKPALLETCHANGE = 0;
        LRESULT initial = -1;
        CDrivenFilerBitmapDlg dialog;
        dialog.drive = [&](CDrivenFilerBitmapDlg& d) {
            initial = SendDlgItemMessageW(d.m_hWnd, IDC_FILERBMP_BRIGHTNESS, TBM_GETPOS, 0, 0);
            SendDlgItemMessageW(d.m_hWnd, IDC_FILERBMP_BRIGHTNESS, TBM_SETPOS, TRUE, c.position);
            d.Command(IDOK);
        };
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(255, initial);
        EXPECT_EQ(c.stored, g_BACKPALLETCHANGE) << c.position;
        EXPECT_EQ(c.stored, dialog.m_brightness) << c.position;
    }
}

TEST_F(FilerWallpaperTest, AFolderTreeIsAddedOnceAndALinkBackUpItEnds)
{
    Keep(g_FILERBMPCHANGETYPE, 1);
    Keep(g_FILERBMPUSEPLUGIN, 0);
    const std::wstring root = qvtest::ScratchDir();
    CreateDirectoryW((root + L"\\sub").c_str(), nullptr);
    for (LPCWSTR name : {L"a.bmp", L"b.BMP", L"sub\\c.bmp", L"note.txt"})
        ASSERT_TRUE(qvtest::WriteFileBytes(root + L"\\" + name, "BM"));
    const bool linked = qvtest::MakeFolderLink(root + L"\\sub\\loop", root);
    std::vector<std::wstring> first, second;
    CDrivenFilerBitmapDlg dialog;
    dialog.m_chosenFolder = root.c_str();
    dialog.drive = [&](CDrivenFilerBitmapDlg& d) {
        d.Command(IDC_FILERBMP_ADD_FOLDER);
        first = d.ListBoxLines(IDC_FILERBMP_LIST);
        d.Command(IDC_FILERBMP_ADD_FOLDER);
        second = d.ListBoxLines(IDC_FILERBMP_LIST);
        d.Command(IDCANCEL);
    };
    dialog.DoModal();
    std::sort(first.begin(), first.end());
    EXPECT_EQ((std::vector<std::wstring>{root + L"\\a.bmp", root + L"\\b.BMP", root + L"\\sub\\c.bmp"}),
              first)
        << (linked ? "with a link back to the root" : "no host link could be made");
    EXPECT_EQ(3u, second.size());
    // Cancel leaves the user's list as it was.
    EXPECT_EQ(0, g_WallpaperFiles.GetSize());
}

TEST_F(FilerWallpaperTest, RowsAreRemovedAndMovedWithinTheEnds)
{
    Keep(g_FILERBMPCHANGETYPE, 1);
    for (LPCWSTR name : {L"C:\\a.bmp", L"C:\\b.bmp", L"C:\\c.bmp", L"C:\\d.bmp", L"C:\\e.bmp"})
        g_WallpaperFiles.AddUnique(name);
    std::vector<std::wstring> removed, atEnds;
    CDrivenFilerBitmapDlg dialog;
    dialog.drive = [&](CDrivenFilerBitmapDlg& d) {
        HWND list = GetDlgItem(d.m_hWnd, IDC_FILERBMP_LIST);
        SendMessageW(list, LB_SETSEL, FALSE, -1);
        SendMessageW(list, LB_SETSEL, TRUE, 1);
        SendMessageW(list, LB_SETSEL, TRUE, 3);
        d.Command(IDC_FILERBMP_REMOVE);
        removed = d.ListBoxLines(IDC_FILERBMP_LIST);
        SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
        d.Command(IDC_FILERBMP_UP);
        SendMessageW(list, LB_SETCARETINDEX, 2, FALSE);
        d.Command(IDC_FILERBMP_DOWN);
        atEnds = d.ListBoxLines(IDC_FILERBMP_LIST);
        SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
        d.Command(IDC_FILERBMP_DOWN);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a.bmp", L"C:\\c.bmp", L"C:\\e.bmp"}), removed);
    EXPECT_EQ(removed, atEnds);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\c.bmp", L"C:\\a.bmp", L"C:\\e.bmp"}), Names(g_WallpaperFiles));
}

TEST_F(FilerWallpaperTest, ARefusedIntervalKeepsTheDialogOpenWithTheRestStored)
{
    Keep(g_FILERBMPCHANGETYPE, 0);
    Keep(g_BACKPALLETCHANGE, 0);
    g_WallpaperFiles.AddUnique(L"C:\\a.bmp");
    const int savedDays = g_FILERBMPCHANGEDAY;
    bool stayedOpen = false;
    CDrivenFilerBitmapDlg dialog;
    dialog.drive = [&](CDrivenFilerBitmapDlg& d) {
        d.SetChangeType(2);
        SendDlgItemMessageW(d.m_hWnd, IDC_FILERBMP_BRIGHTNESS, TBM_SETPOS, TRUE, 100);
        // Row 0 at a coordinate of its own, then row 2 shown.
        d.Command(IDC_FILERBMP_AT_COORDINATE);
        CheckRadioButton(d.m_hWnd, IDC_FILERBMP_FIRST_EDGE, IDC_FILERBMP_AT_COORDINATE,
                         IDC_FILERBMP_AT_COORDINATE);
        SetDlgItemTextW(d.m_hWnd, IDC_FILERBMP_COORDINATE, L"42px");
        SendDlgItemMessageW(d.m_hWnd, IDC_FILERBMP_PLACEMENT, CB_SETCURSEL, 2, 0);
        d.Command(IDC_FILERBMP_PLACEMENT, CBN_SELCHANGE);
        SendMessageW(GetDlgItem(d.m_hWnd, IDC_FILERBMP_LIST), LB_SETSEL, TRUE, 0);
        d.Command(IDC_FILERBMP_REMOVE);
        SetDlgItemTextW(d.m_hWnd, IDC_FILERBMP_DAYS, L"366");
        g_boxAnswered = false;
        g_openDialog = d.m_hWnd;
        SetTimer(nullptr, 0, 50, AnswerMessageBox);
        d.Command(IDOK);
        // The range check's message came and went, and the dialog goes on.
        stayedOpen = g_boxAnswered && IsWindow(d.m_hWnd) != FALSE;
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(100 - 255, g_BACKPALLETCHANGE);
    EXPECT_EQ(3, *g_WallpaperPlacementRows[0].placement);
    EXPECT_EQ(42, *g_WallpaperPlacementRows[0].coordinate);
    EXPECT_EQ(0, g_WallpaperFiles.GetSize());
    EXPECT_EQ(2, g_FILERBMPCHANGETYPE);
    EXPECT_EQ(savedDays, g_FILERBMPCHANGEDAY);
}

TEST_F(FilerWallpaperTest, ThePlugInCheckSurvivesCancel)
{
    Keep(g_FILERBMPUSEPLUGIN, 0);
    CDrivenFilerBitmapDlg dialog;
    dialog.drive = [&](CDrivenFilerBitmapDlg& d) {
        CheckDlgButton(d.m_hWnd, IDC_FILERBMP_USE_PLUGIN, BST_CHECKED);
        d.Command(IDC_FILERBMP_USE_PLUGIN);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, g_FILERBMPUSEPLUGIN);
}

bool g_answered = false;
bool g_listEnabled = true;

void CALLBACK AnswerWallpaperDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindThreadDialog(L"ファイラー壁紙の設定");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_answered = true;
    g_listEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_FILERBMP_LIST)) != FALSE;
    SetDlgItemTextW(dialog, IDC_FILERBMP_PATH, L"C:\\typed.bmp");
    CheckDlgButton(dialog, IDC_FILERBMP_TILE, BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(FilerWallpaperTest, Menu917AppliesTheTypedPicture)
{
    Keep(g_FILERBMPCHANGETYPE, 0);
    Keep(g_BACKBMPTILE, 0);
    Keep(g_BACKBITMAPFLAG, 0);
    g_BACKBITMAPNAME = L"C:\\old.bmp";
    CQvView view;
    g_answered = false;
    SetTimer(nullptr, 0, 50, AnswerWallpaperDialog);
    EXPECT_TRUE(view.OnCmdMsg(917, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(g_answered);
    EXPECT_FALSE(g_listEnabled);
    EXPECT_EQ(L"C:\\typed.bmp", std::wstring(g_BACKBITMAPNAME));
    EXPECT_EQ(1, g_BACKBMPTILE);
}

} // namespace
