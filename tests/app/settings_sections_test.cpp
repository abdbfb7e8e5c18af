// The settings layer as one table: its orders, the documented defaults of an empty
// file, the resets, and the hook of the image plug-in folder scan.
#include "app/KeywordBuilders.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/PrintSettings.h"
#include "app/settings/SettingsSections.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <string>

namespace
{

BOOL WINAPI OneResolution(LPCWSTR, DWORD modeNumber, DEVMODEW* mode)
{
    if (modeNumber >= 1)
        return FALSE;
    mode->dmPelsWidth = 1024;
    mode->dmPelsHeight = 768;
    mode->dmBitsPerPel = 32;
    return TRUE;
}
LONG WINAPI RefuseChange(DEVMODEW*, DWORD)
{
    return DISP_CHANGE_FAILED;
}
BOOL WINAPI NoWallpaper(LPCWSTR)
{
    return FALSE;
}

// The records are plain integers without padding.
template <typename T> bool SameBytes(const T& a, const T& b)
{
    return memcmp(&a, &b, sizeof(T)) == 0;
}

class SettingsSectionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedHighLoad = g_HIGHLOADSPI;
        m_savedHooks = g_SettingsHooks;
        ResetSettingsSections();
    }
    void TearDown() override
    {
        g_HIGHLOADSPI = m_savedHighLoad;
        g_SettingsHooks = m_savedHooks;
        ResetSettingsSections();
    }

    void LoadText(const std::wstring& text)
    {
        std::wstring path = qvtest::ScratchDir() + L"\\in.ini";
        std::string bytes("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
        CIniFile ini;
        ini.filePath = path.c_str();
        ASSERT_EQ(INI_LOAD_OK, ini.Load());
        LoadSettingsSections(ini, SettingsViewData());
    }

    ScopedDisplayApi m_display{DisplayApi{OneResolution, RefuseChange, NoWallpaper}};
    int m_savedHighLoad = 0;
    SettingsHooks m_savedHooks;
};

TEST(SettingsSectionTable, EveryRowIsInItsOrdersAndTheWriterWritesEachSectionOnce)
{
    std::set<int> read(g_SettingsReadOrder, g_SettingsReadOrder + g_SettingsReadOrderCount);
    std::set<int> written(g_SettingsWriteOrder, g_SettingsWriteOrder + g_SettingsWriteOrderCount);
    EXPECT_EQ(static_cast<size_t>(g_SettingsReadOrderCount), read.size()) << "a step read twice";
    EXPECT_EQ(static_cast<size_t>(g_SettingsWriteOrderCount), written.size()) << "a row written twice";
    std::set<std::wstring> writtenNames;
    for (int id = 0; id < SETTINGS_SECTION_COUNT; ++id)
    {
        const SettingsSectionRow& row = g_SettingsSections[id];
        ASSERT_NE(nullptr, row.name) << id;
        EXPECT_EQ(row.load != nullptr, read.count(id) == 1) << id;
        EXPECT_EQ(row.save != nullptr, written.count(id) == 1) << id;
        if (row.save != nullptr)
        {
            EXPECT_TRUE(writtenNames.insert(row.name).second) << "two rows write section " << id;
        }
    }
}

// Documented defaults, written out rather than taken from the declarations.
TEST_F(SettingsSectionsTest, AnEmptyFileGivesTheDocumentedStringsAndColours)
{
    g_HIGHLOADSPI = 2;
    LoadText(L"[OTHER]\r\nX=1\r\n");
    EXPECT_EQ(CString(L"ＭＳ 明朝"), g_FONTNAME);
    EXPECT_EQ(CString(L"ＭＳ 明朝"), g_PrintSettings.fontName);
    EXPECT_EQ(CString(L"command.com"), g_DOSSHELL);
    EXPECT_EQ(CString(L"00:00:00"), g_SET_SAME_TIME);
    EXPECT_EQ(0x0000ffu, g_DisplayColors[COLOR_READ_ONLY]);
    EXPECT_EQ(0xc0c0c0u, g_DisplayColors[COLOR_PREVIEW_DIR_ICON_BACK]);
    EXPECT_EQ(0xffffffu, g_BinaryByteColors[0x7f]);
    EXPECT_EQ(CString(L"@Closeviewer"), g_ViewerLeftDblClickAct);
    EXPECT_EQ(CString(L"\u00b6"), g_LineReturnCode);
    EXPECT_EQ(80, g_ViewerKindRows[29].lineWidth);
    EXPECT_EQ(8, g_ViewerKindRows[29].tabWidth);
    EXPECT_EQ(0, g_ReloadSettings[1].enable);
    EXPECT_EQ(1, g_ReloadSettings[1].ticks);
    EXPECT_EQ(3, g_AlphaChannelTypes[0].mode);
    EXPECT_EQ(0xd3d1ceu, g_AlphaChannelTypes[0].colour);
}

TEST_F(SettingsSectionsTest, ResetPutsBackWhatAFileChanged)
{
    g_HIGHLOADSPI = 2;
    LoadText(L"[COLORDATA]\r\nREAD_ONLY_COLOR=123456\r\nBINARY7f=010203\r\n"
             L"[VIEWERSETTING]\r\nSETTING2=132\r\nLEFTDBLCLICKACT=@Nothing\r\nLINE_RETURN_CODE=<<\r\n"
             L"[RELOAD_SETTING]\r\nENABLE1=1\r\nTIME1=9\r\n[ORDER_LIST_DIR_JUMP]\r\nWIDTH2=40\r\n"
             L"[ALPHA_CHANNEL_PROCESS]\r\nTYPE0=1\r\n[MOUSE_OPE_GRAPHIC]\r\nLDBL_N=-1\r\n");
    ASSERT_EQ(0x123456u, g_DisplayColors[COLOR_READ_ONLY]);
    ASSERT_EQ(132, g_ViewerLineWidths[2]);
    ASSERT_EQ(9, g_ReloadSettings[1].ticks);
    ASSERT_EQ(40, g_JumpListColumns[2].width);
    ASSERT_EQ(1, g_AlphaChannelTypes[0].mode);
    ResetSettingsSections();
    EXPECT_EQ(kDisplayColorRows[COLOR_READ_ONLY].defaultValue, g_DisplayColors[COLOR_READ_ONLY]);
    EXPECT_EQ(kBinaryByteColorDefault, g_BinaryByteColors[0x7f]);
    EXPECT_EQ(kDefaultViewerLineWidth, g_ViewerLineWidths[2]);
    EXPECT_EQ(CString(kDefaultViewerLeftDblClickAct), g_ViewerLeftDblClickAct);
    EXPECT_EQ(CString(kDefaultLineReturnCode), g_LineReturnCode);
    EXPECT_EQ(1, g_LineReturnCodeLength);
    EXPECT_TRUE(SameBytes(kDefaultReloadSettings, g_ReloadSettings)) << "g_ReloadSettings";
    EXPECT_TRUE(SameBytes(kDefaultJumpListColumns, g_JumpListColumns)) << "g_JumpListColumns";
    EXPECT_TRUE(SameBytes(kDefaultAlphaChannelTypes, g_AlphaChannelTypes)) << "g_AlphaChannelTypes";
    EXPECT_TRUE(SameBytes(kDefaultGraphicMouseOperations, g_GraphicMouseOperations))
        << "g_GraphicMouseOperations";
}

TEST_F(SettingsSectionsTest, TheLineWidthCommandsAreNamedAfterTheWidthsRead)
{
    LoadText(L"[VIEWERSETTING]\r\nSETTING0=40\r\nSETTING4=132\r\n");
    EXPECT_EQ(CString(L"１行の文字数を40文字に設定"), GetLineWidthCommandName(LINE_WIDTH_FIRST_MENU_ID));
    EXPECT_EQ(CString(L"１行の文字数を80文字に設定"), GetLineWidthCommandName(LINE_WIDTH_FIRST_MENU_ID + 1));
    EXPECT_EQ(CString(L"１行の文字数を132文字に設定"), GetLineWidthCommandName(LINE_WIDTH_FIRST_MENU_ID + 4));
}

int g_scanCalls = 0;
BOOL g_scanMerge = FALSE;
int CountScan(BOOL merge)
{
    ++g_scanCalls;
    g_scanMerge = merge;
    return 1;
}

TEST_F(SettingsSectionsTest, TheFolderScanRunsThroughTheHookOnlyWhileTheLoadPolicyAsksForIt)
{
    const struct
    {
        int highLoad;
        bool scans;
    } cases[] = {{0, true}, {1, true}, {2, false}, {3, false}};
    g_SettingsHooks.scanImagePlugIns = CountScan;
    for (const auto& c : cases)
    {
        g_HIGHLOADSPI = c.highLoad;
        g_scanCalls = 0;
        g_scanMerge = FALSE;
        LoadText(L"[SUSIEDATA]\r\nSUSIEDIRECTORY=C:\\spi\r\n");
        EXPECT_EQ(c.scans ? 1 : 0, g_scanCalls) << c.highLoad;
        EXPECT_EQ(c.scans ? TRUE : FALSE, g_scanMerge) << c.highLoad;
    }
    // Without an installed scan the read goes on.
    g_SettingsHooks.scanImagePlugIns = nullptr;
    g_HIGHLOADSPI = 0;
    LoadText(L"[SUSIEDATA]\r\nSUSIEDIRECTORY=C:\\spi\r\n");
    EXPECT_EQ(CString(L"C:\\spi"), g_SusiePlugInDir);
}

} // namespace

TEST_F(SettingsSectionsTest, TheBmpSaveSettingsComeBackFromTheFileTheyWereWrittenTo)
{
    g_HIGHLOADSPI = 2;
    LoadText(L"[SAVE_BMP]\r\nPREFIX=pic\r\nFOLDER=out\r\nLAST_FOLDER=C:\\shots\r\nSAME_NAME=1\r\n"
             L"START_NUMBER=42\r\n");
    EXPECT_EQ(CString(L"pic"), g_BmpSaveSettings.prefix);
    EXPECT_EQ(CString(L"C:\\shots"), g_BmpSaveSettings.lastFolder);
    EXPECT_EQ(42, g_BmpSaveSettings.startNumber);

    const std::wstring path = qvtest::ScratchDir() + L"\\savebmp.ini";
    CIniFile out;
    ASSERT_TRUE(out.Create(path.c_str()));
    SaveSectionSaveBmp(out);
    out.Close();
    ResetSettingsSections();
    EXPECT_EQ(0, g_BmpSaveSettings.startNumber);
    EXPECT_TRUE(g_BmpSaveSettings.prefix.IsEmpty());
    CIniFile in;
    in.filePath = path.c_str();
    ASSERT_EQ(INI_LOAD_OK, in.Load());
    LoadSectionSaveBmp(in);
    EXPECT_EQ(CString(L"pic"), g_BmpSaveSettings.prefix);
    EXPECT_EQ(CString(L"out"), g_BmpSaveSettings.folder);
    EXPECT_EQ(CString(L"C:\\shots"), g_BmpSaveSettings.lastFolder);
    EXPECT_EQ(1, g_BmpSaveSettings.sameName);
    EXPECT_EQ(42, g_BmpSaveSettings.startNumber);

    // A number no series can take reads as the start.
    LoadText(L"[SAVE_BMP]\r\nSTART_NUMBER=123456\r\n");
    EXPECT_EQ(0, g_BmpSaveSettings.startNumber);
}
