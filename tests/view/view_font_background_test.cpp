// The view font per screen resolution, and the picture behind the filer panes:
// chosen on the next-picture command, read and brightened, and drawn behind a pane.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "tests/common/TestSupport.h"
#include "view/QvView.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace
{

class ViewFontBackgroundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_fonts.Copy(g_DisplayFontSizes);
        m_wallpapers.Copy(g_WallpaperFiles);
        m_strings = {g_FONTNAME, g_BACKBITMAPNAME};
        m_dir = qvtest::ScratchDir();
    }
    void TearDown() override
    {
        g_DisplayFontSizes.Copy(m_fonts);
        g_WallpaperFiles.Copy(m_wallpapers);
        g_FONTNAME = m_strings.first;
        g_BACKBITMAPNAME = m_strings.second;
        for (auto it = m_ints.rbegin(); it != m_ints.rend(); ++it)
            *it->first = it->second;
    }
    void Set(int& variable, int value)
    {
        m_ints.push_back({&variable, variable});
        variable = value;
    }
    static LOGFONTW FontOf(CQvView& view)
    {
        LOGFONTW font = {};
        view.m_viewFont.GetLogFont(&font);
        return font;
    }

    CArray<CDisplayFontSize> m_fonts;
    CArrayCommonFileEx m_wallpapers;
    std::pair<CString, CString> m_strings;
    std::vector<std::pair<int*, int>> m_ints;
    std::wstring m_dir;
};

TEST_F(ViewFontBackgroundTest, TheResolutionsOwnFontWinsOnlyWhenSwitchedOnAndListed)
{
    CString here;
    here.Format(L"%04dX%04d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    g_FONTNAME = L"General";
    Set(g_FONTHEIGHT, -20);
    const struct
    {
        int switchedOn;
        const wchar_t* listed;
        int height;
    } cases[] = {
        {1, here, -30},         // the entry of this resolution
        {1, L"0001X0001", -20}, // no entry for this resolution: the general font
        {0, here, -20},         // switched off: the general font
    };
    for (const auto& c : cases)
    {
        Set(g_DISPLAYFONTSIZE, c.switchedOn);
        g_DisplayFontSizes.RemoveAll();
        CDisplayFontSize entry;
        entry.m_resolution = CString(c.listed).MakeLower();
        entry.m_faceName = L"Listed";
        entry.m_height = -30;
        g_DisplayFontSizes.Add(entry);
        CQvView view;
        view.CreateViewFont();
        const LOGFONTW font = FontOf(view);
        EXPECT_EQ(c.height, font.lfHeight) << c.listed << " " << c.switchedOn;
        EXPECT_EQ(std::wstring(c.height == -30 ? L"Listed" : L"General"), font.lfFaceName);
    }
}

TEST_F(ViewFontBackgroundTest, TheNextPictureCommandSkipsWhatNoReaderTakesAndBrightensTheOneLoaded)
{
    // A 1 x 1 24-bit BMP of grey 100.
    std::string bmp(58, '\0');
    BITMAPFILEHEADER file = {0x4D42, 58, 0, 0, 54};
    BITMAPINFOHEADER info = {40, 1, 1, 1, 24, 0, 4, 0, 0, 0, 0};
    memcpy(&bmp[0], &file, 14);
    memcpy(&bmp[14], &info, 40);
    bmp[54] = bmp[55] = bmp[56] = 100;
    const std::wstring picture = m_dir + L"\\back.bmp";
    ASSERT_TRUE(qvtest::WriteFileBytes(picture, bmp));
    Set(g_BACKBITMAPFLAG, 1);
    Set(g_BACKPALLETCHANGE, 10);
    Set(g_FILERBMPUSEPLUGIN, 0);
    Set(g_FILERBMPCHANGETYPE, 1);
    Set(g_FIELRBMPCHANGERANDOM, 0);
    g_BACKBITMAPNAME.Empty();
    g_WallpaperFiles.RemoveAll();
    g_WallpaperFiles.AddUnique(L"C:\\a.jpg");
    g_WallpaperFiles.AddUnique(L"C:\\b.jpg");
    CQvView view;
    view.LoadPaneBackgroundPicture(3);
    EXPECT_TRUE(g_BACKBITMAPNAME.IsEmpty()) << "a picture no reader takes was chosen";
    g_WallpaperFiles.AddUnique(picture.c_str());
    view.LoadPaneBackgroundPicture(3);
    EXPECT_EQ(CString(picture.c_str()), g_BACKBITMAPNAME);
    ASSERT_TRUE(view.m_graphic.backgroundPicture && view.m_graphic.backgroundPicture->IsValid());
    EXPECT_EQ(110, view.m_graphic.backgroundPicture->GetBits()[0]);
}

} // namespace
