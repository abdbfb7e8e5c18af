// The series-save defaults dialog, driven as a user would.
#include "util/Globals.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "graphics/picture/SaveBmpDefDlg.h"
#include "res/GraphicsDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
class CDrivenSaveBmpDefDlg : public qvtest::CDrivenDialog<CDrivenSaveBmpDefDlg, CSaveBmpDefDlg>
{
};

bool Enabled(CDrivenSaveBmpDefDlg& d, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, id)) != FALSE;
}
} // namespace

TEST(SaveBmpDefDlgTest, TheSameNameBoxTurnsOffPrefixAndNumberAndOkStoresTheDefaults)
{
    const BmpSaveSettings saved = g_BmpSaveSettings;
    g_BmpSaveSettings.prefix = L"pic";
    g_BmpSaveSettings.folder = L"out";
    g_BmpSaveSettings.sameName = 1;
    g_BmpSaveSettings.startNumber = 7;

    CDrivenSaveBmpDefDlg dlg;
    bool initial[2] = {};
    bool toggled[2] = {};
    CString shown;
    dlg.drive = [&](CDrivenSaveBmpDefDlg& d) {
        initial[0] = Enabled(d, IDC_BMPDEF_PREFIX);
        initial[1] = Enabled(d, IDC_BMPDEF_START_NUMBER);
        d.GetDlgItemText(IDC_BMPDEF_START_NUMBER, shown);
        d.CheckDlgButton(IDC_BMPDEF_SAME_NAME, BST_UNCHECKED);
        d.Command(IDC_BMPDEF_SAME_NAME);
        toggled[0] = Enabled(d, IDC_BMPDEF_PREFIX);
        toggled[1] = Enabled(d, IDC_BMPDEF_START_NUMBER);
        d.SetDlgItemText(IDC_BMPDEF_PREFIX, L"shot");
        d.SetDlgItemText(IDC_BMPDEF_START_NUMBER, L"9999");
        d.SetDlgItemText(IDC_BMPDEF_FOLDER, L"C:\\pictures");
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(initial[0]);
    EXPECT_FALSE(initial[1]);
    EXPECT_EQ(L"7", qvtest::W(shown));
    EXPECT_TRUE(toggled[0]);
    EXPECT_TRUE(toggled[1]);
    EXPECT_EQ(L"shot", qvtest::W(g_BmpSaveSettings.prefix));
    EXPECT_EQ(L"C:\\pictures", qvtest::W(g_BmpSaveSettings.folder));
    EXPECT_EQ(0, g_BmpSaveSettings.sameName);
    EXPECT_EQ(9999, g_BmpSaveSettings.startNumber);

    // Cancel stores nothing.
    CDrivenSaveBmpDefDlg cancelled;
    cancelled.drive = [](CDrivenSaveBmpDefDlg& d) {
        d.SetDlgItemText(IDC_BMPDEF_PREFIX, L"lost");
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ(L"shot", qvtest::W(g_BmpSaveSettings.prefix));
    g_BmpSaveSettings = saved;
}
