// Menu 323, the thumbnail settings dialog as the view runs it: Cancel leaves every
// setting, list and thumbnail alone; OK stores the numbers and the three lists and
// has thumbnails made at the old size loaded again.
#include "tests/view/CommandTestSupport.h"

#include "util/Globals.h"
#include "app/records/SelectColorButton.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/ViewSettings.h"
#include "framework/FwLock.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "res/SettingsDialogs.h"
#include "tests/common/DialogHarness.h"
#include "view/menus/SettingsMenuItems.h"

#include <functional>
#include <string>

namespace
{
std::function<void(HWND)> g_driveDialog;

// Works the dialog once it shows inside the view's modal loop.
void CALLBACK DriveOpenDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindThreadDialog(L"画像プレビューの設定");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_driveDialog(dialog);
}

void Click(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class PreviewSettingsDialog : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        m_savedLoader = g_pLoadPreviewThread;
        g_pLoadPreviewThread = &m_loader;
        CHandleLock lock(g_DataMutex);
        m_savedLists.enabledDirs.Copy(g_PreviewSettings.enabledDirs);
        m_savedLists.disabledDirs.Copy(g_PreviewSettings.disabledDirs);
        m_savedLists.displayKinds.Copy(g_PreviewSettings.displayKinds);
        g_PreviewSettings.enabledDirs.RemoveAll();
        g_PreviewSettings.enabledDirs.Add(CPreviewEnableDirInfo{L"C:\\Pictures", 2});
        g_PreviewSettings.enabledDirs.Add(CPreviewEnableDirInfo{L"C:\\Scans", 3});
        g_PreviewSettings.disabledDirs.RemoveAll();
        g_PreviewSettings.disabledDirs.Add(L"C:\\Never");
        g_PreviewSettings.displayKinds.RemoveAll();
        g_PreviewSettings.displayKinds.Add(L"bmp");
    }
    void TearDown() override
    {
        {
            CHandleLock lock(g_DataMutex);
            g_PreviewSettings.enabledDirs.Copy(m_savedLists.enabledDirs);
            g_PreviewSettings.disabledDirs.Copy(m_savedLists.disabledDirs);
            g_PreviewSettings.displayKinds.Copy(m_savedLists.displayKinds);
        }
        g_pLoadPreviewThread = m_savedLoader;
        CommandBench::TearDown();
    }
    // Runs menu 323 with the dialog worked by `drive`; false when it never showed.
    bool RunMenu(std::function<void(HWND)> drive)
    {
        bool shown = false;
        g_driveDialog = [&](HWND dialog) {
            shown = true;
            drive(dialog);
        };
        SetTimer(nullptr, 0, 20, DriveOpenDialog);
        View().OnCmdMsg(323, CN_COMMAND, nullptr, nullptr);
        g_driveDialog = nullptr;
        return shown;
    }
    // Edits the width and a kind, and drops the second preview folder.
    static void EditEverything(HWND dialog)
    {
        SetDlgItemTextW(dialog, IDC_PREVIEW_WIDTH, L"200");
        SetDlgItemTextW(dialog, IDC_PREVIEW_KIND_TEXT, L"PNG");
        Click(dialog, IDC_PREVIEW_KIND_ADD);
        SetDlgItemTextW(dialog, IDC_PREVIEW_KIND_TEXT, L"BMP");
        Click(dialog, IDC_PREVIEW_KIND_ADD);
        SendDlgItemMessageW(dialog, IDC_PREVIEW_DIRS, LB_SETCURSEL, 1, 0);
        Click(dialog, IDC_PREVIEW_DIRS_REMOVE);
    }

    CLoadPreviewThread m_loader;
    CLoadPreviewThread* m_savedLoader = nullptr;
    PreviewSettings m_savedLists;
};

TEST_F(PreviewSettingsDialog, CancelChangesNothingAndOkStoresTheListsAndLoadsThumbnailsAgain)
{
    Set(g_PREVIEW_WIDTH, 100);
    Set(g_PREVIEW_HEIGHT, 100);
    Set(g_MAX_PREVIEW_FILES, 10000);
    Set(g_PREVIEW_DRAW_PICTURE_IN_DIR, 0);
    WIN32_FIND_DATAW fd = {};
    wcscpy_s(fd.cFileName, L"p.bmp");
    m_loader.AcquireReaderLock();
    m_loader.QueueEntry(1, m_dir, fd, CString());
    m_loader.ReleaseReaderLock();
    CPreviewInfo* item = m_loader.GetQueue().Find(m_dir, L"p.bmp");
    ASSERT_NE(item, nullptr);
    item->state = PREVIEW_READY;

    std::wstring shownWidth;
    ASSERT_TRUE(RunMenu([&](HWND dialog) {
        wchar_t text[16] = {};
        GetDlgItemTextW(dialog, IDC_PREVIEW_WIDTH, text, 16);
        shownWidth = text;
        EditEverything(dialog);
        Click(dialog, IDCANCEL);
    }));
    EXPECT_EQ(shownWidth, L"100");
    EXPECT_EQ(g_PREVIEW_WIDTH, 100);
    EXPECT_EQ(g_PreviewSettings.enabledDirs.GetSize(), 2);
    EXPECT_EQ(g_PreviewSettings.displayKinds.GetSize(), 1);
    EXPECT_EQ(item->state, PREVIEW_READY);

    ASSERT_TRUE(RunMenu([&](HWND dialog) {
        EditEverything(dialog);
        SetDlgItemTextW(dialog, IDC_PREVIEW_MAX_FILES, L"500");
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(g_PREVIEW_WIDTH, 200);
    EXPECT_EQ(g_PREVIEW_HEIGHT, 100);
    EXPECT_EQ(g_MAX_PREVIEW_FILES, 500);
    ASSERT_EQ(g_PreviewSettings.enabledDirs.GetSize(), 1);
    EXPECT_EQ(std::wstring(g_PreviewSettings.enabledDirs[0].folder), L"C:\\Pictures");
    EXPECT_EQ(g_PreviewSettings.enabledDirs[0].type, 2);
    ASSERT_EQ(g_PreviewSettings.disabledDirs.GetSize(), 1);
    // "BMP" is the kind already listed in another case.
    ASSERT_EQ(g_PreviewSettings.displayKinds.GetSize(), 2);
    EXPECT_EQ(std::wstring(g_PreviewSettings.displayKinds[1]), L"PNG");
    EXPECT_EQ(item->state, PREVIEW_QUEUED);
    EXPECT_EQ(m_loader.GetReaderCount(), 0);
}

TEST_F(PreviewSettingsDialog, AnotherThumbnailBackgroundMakesTheThumbnailsAgain)
{
    const DWORD savedBack = g_DisplayColors[COLOR_PREVIEW_BACK];
    WIN32_FIND_DATAW fd = {};
    wcscpy_s(fd.cFileName, L"p.bmp");
    m_loader.AcquireReaderLock();
    m_loader.QueueEntry(1, m_dir, fd, CString());
    m_loader.ReleaseReaderLock();
    CPreviewInfo* item = m_loader.GetQueue().Find(m_dir, L"p.bmp");
    ASSERT_NE(item, nullptr);
    const ColorChooserSeam savedChooser = g_ColorChooserSeam;
    g_ColorChooserSeam.chooseColor = [](HWND, COLORREF& colour) {
        colour = colour ^ 0x123456;
        return TRUE;
    };
    // The same colour chosen again leaves the thumbnails; another one remakes them.
    for (const bool another : {false, true})
    {
        item->state = PREVIEW_READY;
        ASSERT_TRUE(RunMenu([&](HWND dialog) {
            if (another)
                Click(dialog, IDC_PREVIEW_BACK_COLOR);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(g_DisplayColors[COLOR_PREVIEW_BACK], another ? savedBack ^ 0x123456 : savedBack);
        EXPECT_EQ(item->state, another ? PREVIEW_QUEUED : PREVIEW_READY);
    }
    g_ColorChooserSeam = savedChooser;
    g_DisplayColors[COLOR_PREVIEW_BACK] = savedBack;
}
} // namespace
