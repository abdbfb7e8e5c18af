// Menu 329, the graphic settings sheet as the view runs it over a shown picture:
// turning a scaling check on or off and pressing OK lays the picture out again.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/settings/GraphicSettings.h"
#include "filer/FilerPane.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "res/PictureDialogs.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"
#include "view/QvView.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

namespace
{

int g_rowToToggle = -1;
bool g_sheetShown = false;

HWND FindDescendant(HWND parent, int id)
{
    std::pair<int, HWND> state(id, nullptr);
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<std::pair<int, HWND>*>(param);
            if (GetDlgCtrlID(child) != s->first)
                return TRUE;
            s->second = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.second;
}

// Toggles one row of the general page's checks as the space key does, then presses OK.
void CALLBACK DriveSheet(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND sheet = qvtest::FindThreadDialog(L"画像表示設定");
    if (sheet == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_sheetShown = true;
    HWND checks = FindDescendant(sheet, IDC_GRAPHIC_CHECKS);
    if (checks != nullptr)
    {
        SendMessageW(checks, LB_SETCARETINDEX, WPARAM(g_rowToToggle), FALSE);
        SendMessageW(checks, WM_KEYDOWN, VK_SPACE, 0);
    }
    SendMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(sheet, IDOK)));
}

CSusieDllFile BmpPlugIn()
{
    CSusieDllFile record;
    memcpy(record.m_apiVersion, "00IN", 4);
    record.m_fileName = L"spi_bmp.sph";
    record.m_patterns.Add(L"*.bmp");
    record.m_enabled = 1;
    return record;
}

class GraphicSettingsCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        {
            CHandleLock lock(g_DataMutex);
            m_savedPlugIns.Copy(g_SusiePlugIns);
            m_savedDir = g_SusiePlugInDir;
            g_SusiePlugIns.RemoveAll();
            g_SusiePlugIns.Add(BmpPlugIn());
            g_SusiePlugInDir = qvtest::ProgramDir().c_str();
        }
        m_savedInts = {g_ENABLE_NO_DIALOG_LOADING, g_NO_DIALOG_LOADING_SIZE, g_HEIGHTSCALING, g_WIDTHSCALING};
        g_ENABLE_NO_DIALOG_LOADING = 1;
        g_NO_DIALOG_LOADING_SIZE = 500;
        g_HEIGHTSCALING = 0;
        g_WIDTHSCALING = 0;
        m_folder = qvtest::ScratchDir() + L"\\graphic-settings";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        // Wider than the view's 300 x 300 without a window.
        ASSERT_TRUE(qvtest::WriteFileBytes(m_folder + L"\\wide.bmp", qvtest::SolidBmp(600, 20, 0, 0, 0xFF)));
        for (int i = 0; i < 2; ++i)
        {
            m_savedPanes[i] = g_Panes[i];
            m_panes[i] = std::make_unique<CFilerPane>(i);
            m_panes[i]->m_position = i == 0 ? PANE_POS_ACTIVE : PANE_POS_OTHER;
            m_panes[i]->SetDirectory(m_folder.c_str(), TRUE);
            m_panes[i]->ReadDirectory(TRUE);
            m_panes[i]->SortEntries();
            g_Panes[i] = m_panes[i].get();
        }
        m_view = std::make_unique<CQvView>();
    }
    void TearDown() override
    {
        m_view.reset();
        g_CurrentPicture.Free();
        for (int i = 0; i < 2; ++i)
            g_Panes[i] = m_savedPanes[i];
        g_ENABLE_NO_DIALOG_LOADING = m_savedInts[0];
        g_NO_DIALOG_LOADING_SIZE = m_savedInts[1];
        g_HEIGHTSCALING = m_savedInts[2];
        g_WIDTHSCALING = m_savedInts[3];
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_savedPlugIns);
        g_SusiePlugInDir = m_savedDir;
    }

    qvtest::ScopedProgramWiring m_wiring;
    std::wstring m_folder;
    std::unique_ptr<CFilerPane> m_panes[2];
    CFilerPane* m_savedPanes[2] = {};
    std::unique_ptr<CQvView> m_view;
    CArray<CSusieDllFile> m_savedPlugIns;
    CString m_savedDir;
    std::array<int, 4> m_savedInts = {};
};

TEST_F(GraphicSettingsCommandTest, ChangingAScalingCheckLaysTheShownPictureOutAgain)
{
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        if (std::wstring(m_panes[0]->m_entries[i].GetName()) == L"wide.bmp")
            m_panes[0]->m_cursor = i;
    CQvView& view = *m_view;
    view.OnViewGraphic(1);
    ASSERT_EQ(1, view.IsPictureShown());
    ASSERT_EQ(600, view.m_graphic.displayed.cx);
    const struct
    {
        int row; // of the general page's checks
        int fitWidth;
        LONG width;
    } steps[] = {
        {1, 1, 300}, // "幅をスケーリングする" on: the picture fits the width
        {1, 0, 600}, // and off again: its own size
    };
    for (const auto& step : steps)
    {
        g_rowToToggle = step.row;
        g_sheetShown = false;
        SetTimer(nullptr, 0, 20, DriveSheet);
        view.OnGraphicSettings();
        ASSERT_TRUE(g_sheetShown);
        EXPECT_EQ(step.fitWidth, g_HEIGHTSCALING);
        EXPECT_EQ(step.fitWidth, view.m_graphic.fitWidth);
        EXPECT_EQ(step.width, view.m_graphic.displayed.cx);
    }
}

} // namespace
