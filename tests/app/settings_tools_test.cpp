// The settings sections of the viewers, pictures, media, archivers, display and own
// plug-ins: value formats read and written, and a load-save round trip.
#include "app/settings/SettingsSections.h"
#include "app/DisplayModeSlots.h"
#include "util/IniFile.h"
#include "app/Settings.h"
#include "app/records/ViewFileHistory.h"
#include "app/settings/ArchiverSettings.h"
#include "app/settings/GraphicSettings.h"
#include "tests/common/TestSupport.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/DisplayMode.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/ViewerSettings.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
// Each resolution twice, as displays report one per colour depth and frequency.
BOOL WINAPI RepeatedResolutions(LPCWSTR, DWORD modeNumber, DEVMODEW* mode)
{
    static const DWORD sizes[][2] = {{1024, 768}, {1024, 768}, {1920, 1080}, {1920, 1080}};
    if (modeNumber >= 4)
        return FALSE;
    mode->dmPelsWidth = sizes[modeNumber][0];
    mode->dmPelsHeight = sizes[modeNumber][1];
    mode->dmBitsPerPel = 32;
    return TRUE;
}
LONG WINAPI NeverChange(DEVMODEW*, DWORD)
{
    return DISP_CHANGE_FAILED;
}
BOOL WINAPI NoWallpaper(LPCWSTR)
{
    return FALSE;
}

using qvtest::Utf16File;

class ToolSectionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedHighLoad = g_HIGHLOADSPI;
        m_savedPlugInLoad = g_QVPLUGINLOADTYPE;
        m_dir = qvtest::ScratchDir();
        ResetSettingsSections();
        g_HIGHLOADSPI = 2; // long lines, no folder scan
    }
    void TearDown() override
    {
        g_HIGHLOADSPI = m_savedHighLoad;
        g_QVPLUGINLOADTYPE = m_savedPlugInLoad;
        ResetSettingsSections();
    }

    // Loads the text as a settings file into `ini`.
    void Load(CIniFile& ini, const std::wstring& text)
    {
        std::wstring path = m_dir + L"\\in.ini";
        ASSERT_TRUE(qvtest::WriteFileBytes(path, Utf16File(text)));
        ini.filePath = path.c_str();
        ASSERT_EQ(INI_LOAD_OK, ini.Load());
    }

    // Runs `save` on a fresh file and returns the file's text after the BOM.
    template <class F> std::wstring Save(F save)
    {
        std::wstring path = m_dir + L"\\out.ini";
        CIniFile out;
        EXPECT_TRUE(out.Create(path.c_str()));
        save(out);
        out.Close();
        std::string bytes = qvtest::ReadFileBytes(path);
        if (bytes.size() < 2)
            return L"";
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    }

    std::wstring m_dir;
    ScopedDisplayApi m_display{DisplayApi{RepeatedResolutions, NeverChange, NoWallpaper}};

private:
    int m_savedHighLoad = 0;
    int m_savedPlugInLoad = 0;
};

TEST_F(ToolSectionsTest, DisplayModeValuesNeedTheExactShape)
{
    struct Case
    {
        const wchar_t* value;
        DisplayModeSlot slot;
        const wchar_t* written;
    };
    const Case cases[] = {
        {L"01920,01080,032", {32, 1920, 1080}, L"01920,01080,032"},
        {L"1920,1080,32", {0, 0, 0}, L""},        // not 15 characters
        {L"01920;01080,032", {0, 0, 0}, L""},     // comma missing
        {L"01920,01080,0321", {0, 0, 0}, L""},    // 16 characters
        {L"abcde,01080,032", {32, 0, 1080}, L""}, // letters read as zero; incomplete slot written empty
        {L"00800,00600,008", {8, 800, 600}, L"00800,00600,008"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "value " << std::wstring(c.value).c_str());
        CIniFile ini;
        Load(ini, std::wstring(L"[DISPLAYMODE]\r\nDISPLAYMODE3=") + c.value + L"\r\n");
        LoadSectionDisplayMode(ini);
        EXPECT_EQ(c.slot.width, g_DisplayModeSlots[3].width);
        EXPECT_EQ(c.slot.height, g_DisplayModeSlots[3].height);
        EXPECT_EQ(c.slot.bitsPerPixel, g_DisplayModeSlots[3].bitsPerPixel);
        std::wstring text = Save([](CIniFile& out) { SaveSectionDisplayMode(out); });
        EXPECT_NE(std::wstring::npos, text.find(std::wstring(L"DISPLAYMODE3=") + c.written + L"\r\n"));
        EXPECT_NE(std::wstring::npos, text.find(L"DISPLAYMODE9=\r\n"));
    }
}

TEST_F(ToolSectionsTest, DisplayFontFieldCountsDecideWhatComesFromTheMainFont)
{
    g_FONTHEIGHT = -12;
    g_FONTWIDE = 6;
    g_FONTCHARSET = 1;
    g_FONTWEIGHT = 300;
    struct Case
    {
        const wchar_t* value; // the 1024 x 768 key's value; nullptr: no key
        int height, width;
        const wchar_t* face;
        int charSet, weight;
    };
    const Case cases[] = {
        {L"-20,10,Face,128,700,", -20, 10, L"Face", 128, 700},
        {L"-20,10,Face,128,700,ignored", -20, 10, L"Face", 128, 700},
        {L"-20,10,Face,128,", -20, 10, L"Face", 128, 300}, // no weight: FONTWEIGHT
        {L"-20,10,Face,", -12, 6, L"MainFace", 1, 300},    // three fields: main font
        {L"-20,10,,128,700,", -20, 10, L"", 128, 700},     // empty face stays empty
        {nullptr, -12, 6, L"MainFace", 1, 300},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "value " << (c.value ? std::wstring(c.value) : L"(none)").c_str());
        CIniFile ini;
        Load(ini, std::wstring(L"[DISPLAYFONT]\r\n") +
                      (c.value ? std::wstring(L"1024X0768=") + c.value + L"\r\n" : L"") +
                      L"1920X1080=-30,15,Big,128,400,\r\n");
        LoadSectionDisplayFont(ini, L"MainFace");
        ASSERT_EQ(2, g_DisplayFontSizes.GetCount()); // each resolution once
        const CDisplayFontSize& entry = g_DisplayFontSizes[0];
        EXPECT_EQ(CString(L"1024X0768"), entry.m_resolution);
        EXPECT_EQ(c.height, entry.m_height);
        EXPECT_EQ(c.width, entry.m_width);
        EXPECT_EQ(CString(c.face), entry.m_faceName);
        EXPECT_EQ(c.charSet, entry.m_charSet);
        EXPECT_EQ(c.weight, entry.m_weight);
        EXPECT_EQ(CString(L"1920X1080"), g_DisplayFontSizes[1].m_resolution);
        EXPECT_EQ(CString(L"Big"), g_DisplayFontSizes[1].m_faceName);
    }
    std::wstring text = Save([](CIniFile& out) { SaveSectionDisplayFont(out); });
    EXPECT_EQ(L"[DISPLAYFONT]\r\n1024X0768=-12,6,MainFace,1,300,\r\n1920X1080=-30,15,Big,128,400,\r\n", text);
}

TEST_F(ToolSectionsTest, DisplayFontsOfResolutionsNotOfferedNowAreWrittenBackUnchanged)
{
    g_FONTHEIGHT = -12;
    g_FONTWIDE = 6;
    g_FONTCHARSET = 1;
    g_FONTWEIGHT = 300;
    CIniFile ini;
    Load(ini, L"[DISPLAYFONT]\r\n3840X2160=-40,20,Wide,128,700,\r\n1024X0768=-20,10,Face,128,700,\r\n"
              L"2560X1440=-30,15,Mid,128,\r\n");
    LoadSectionDisplayFont(ini, L"MainFace");
    ASSERT_EQ(2, g_DisplayFontSizes.GetCount()) << "only the offered resolutions are listed";
    const std::wstring expected = L"[DISPLAYFONT]\r\n1024X0768=-20,10,Face,128,700,\r\n"
                                  L"1920X1080=-12,6,MainFace,1,300,\r\n"
                                  L"2560X1440=-30,15,Mid,128,\r\n3840X2160=-40,20,Wide,128,700,\r\n";
    EXPECT_EQ(expected, Save([](CIniFile& out) { SaveSectionDisplayFont(out); }));

    // Read back, the same file comes out again.
    CIniFile again;
    Load(again, expected);
    LoadSectionDisplayFont(again, L"MainFace");
    EXPECT_EQ(expected, Save([](CIniFile& out) { SaveSectionDisplayFont(out); }));
}

TEST_F(ToolSectionsTest, LongPlugInLinesAreParsedAndWrittenBack)
{
    struct Case
    {
        const wchar_t* line;
        const wchar_t* written; // nullptr: dropped
    };
    const Case cases[] = {
        {L"@a.sph,00IN,*.gif&*.png,rest", L"@a.sph,00IN,*.gif&*.png,rest"},
        {L"b.sph,123456789,*.x,", L"b.sph,,*.x,"}, // nine characters: kept without version
        {L"c.sph,12345678,*.x,a,b", L"c.sph,12345678,*.x,a,b"},
        {L"d.sph,00IN,*.JPG,", L"d.sph,00IN,*.JPG&*.jpeg,"},
        {L"e.sph,00IN,*.jpg&*.JPEG,", L"e.sph,00IN,*.jpg&*.JPEG,"},
        {L"f.sph,00IN,,", nullptr}, // no pattern
        {L",00IN,*.x,", nullptr},   // no name
        {L"g.sph", nullptr},        // no fields at all
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "line " << std::wstring(c.line).c_str());
        CIniFile ini;
        Load(ini, std::wstring(L"[SUSIEDATA]\r\nTEMPDIRECTORY=C:\\tmp\r\nPLUGINFILE0=") + c.line + L"\r\n");
        CString temp;
        LoadSectionSusieData(ini, temp);
        ASSERT_EQ(c.written ? 1 : 0, g_SusiePlugIns.GetCount());
        std::wstring text = Save([&](CIniFile& out) { SaveSectionSusieData(out, temp); });
        std::wstring expected = c.written
                                    ? std::wstring(L"PLUGINFILE0=") + c.written + L"\r\nPLUGINFILE1=\r\n"
                                    : std::wstring(L"PLUGINFILE0=\r\n");
        EXPECT_EQ(L"[SUSIEDATA]\r\n" + expected + L"SUSIEDIRECTORY=\r\nTEMPDIRECTORY=C:\\tmp\r\n", text);
    }
}

TEST_F(ToolSectionsTest, ShortPlugInLinesKeepEveryNameAndTheSwitch)
{
    g_HIGHLOADSPI = 3; // short lines, no scan
    CIniFile ini;
    Load(ini, L"[SUSIEDATA]\r\nTEMPDIRECTORY=C:\\tmp\\\r\nPLUGINFILE0=@x.sph\r\nPLUGINFILE1=y,z.sph\r\n"
              L"PLUGINFILE2=\r\nPLUGINFILE3=after.sph\r\n");
    CString temp;
    LoadSectionSusieData(ini, temp);
    EXPECT_EQ(CString(L"C:\\tmp"), temp); // the trailing backslash goes
    ASSERT_EQ(2, g_SusiePlugIns.GetCount());
    EXPECT_EQ(1, g_SusiePlugIns[0].m_enabled);
    EXPECT_EQ(CString(L"x.sph"), g_SusiePlugIns[0].m_fileName);
    EXPECT_EQ(0, g_SusiePlugIns[1].m_enabled);
    std::wstring text = Save([&](CIniFile& out) { SaveSectionSusieData(out, temp); });
    EXPECT_EQ(L"[SUSIEDATA]\r\nPLUGINFILE0=@x.sph\r\nPLUGINFILE1=y,z.sph\r\nPLUGINFILE2=\r\n"
              L"SUSIEDIRECTORY=\r\nTEMPDIRECTORY=C:\\tmp\r\n",
              text);
}

TEST_F(ToolSectionsTest, MouseOperationNoneSurvivesWhereTheDefaultIsAnOperation)
{
    CIniFile empty;
    LoadSectionMouseOpeGraphic(empty);
    std::wstring defaults = Save([](CIniFile& out) { SaveSectionMouseOpeGraphic(out); });
    EXPECT_EQ(
        L"[MOUSE_OPE_GRAPHIC]\r\nN_LEFT_DOUBLE_CLICK=1\r\nN_WHELL_UP=2\r\nS_WHELL_UP=0\r\nC_WHELL_UP=4\r\n"
        L"N_WHEEL_DOWN=3\r\nS_WHEEL_DOWN=0\r\nC_WHEEL_DOWN=5\r\n",
        defaults);

    // The user turned the double-click off and bound Alt+left click.
    g_GraphicMouseOperations[2][0] = -1;
    g_GraphicMouseOperations[0][3] = 7;
    std::wstring text = Save([](CIniFile& out) { SaveSectionMouseOpeGraphic(out); });
    CIniFile ini;
    Load(ini, text);
    ResetSettingsSections();
    LoadSectionMouseOpeGraphic(ini);
    EXPECT_EQ(-1, g_GraphicMouseOperations[2][0]);
    EXPECT_EQ(7, g_GraphicMouseOperations[0][3]);
}

TEST_F(ToolSectionsTest, ListsAndTablesTakeTheirDocumentedShapes)
{
    g_QVPLUGINLOADTYPE = 1;
    CIniFile ini;
    Load(ini, L"[NONLOADCPL]\r\nCPL1=b.cpl\r\n"
              L"[PLUGINDATA]\r\nPLUGINDIR=D:\\p\r\nP_NAME0=one.dll\r\nP_VER0=125\r\nP_KEYSTR0=#1\r\nP_NAME2="
              L"gap.dll\r\n"
              L"[VIEW_HISTORY]\r\nFILE_NAME0=new.txt\r\nPATH0=C:\\a\r\nFILE_NAME1=nopath.txt\r\n"
              L"PATH3=C:\\nameless\r\nFILE_NAME5=old.txt\r\nARCHIVE_PATH5=C:\\x.zip\r\n"
              L"[ALPHA_CHANNEL_PROCESS]\r\nCOLOR0=12345g\r\nCOLOR1=ABCDEF99\r\n"
              L"[VIEWERSETTING]\r\nLINE_RETURN_CODE=\r\n");
    LoadSectionNonLoadCpl(ini);
    LoadSectionPlugInData(ini);
    LoadSectionViewHistory(ini);
    LoadSectionAlphaChannelProcess(ini);
    LoadSectionViewerSetting(ini);

    ASSERT_EQ(NON_LOAD_CPL_COUNT, g_NonLoadCplList.GetCount()); // empty ones included
    EXPECT_EQ(CString(L"b.cpl"), g_NonLoadCplList[1]);
    ASSERT_EQ(1, g_PlugInList.GetCount()); // the list ends at the first empty name
    EXPECT_EQ(125, g_PlugInList[0].m_version);
    ASSERT_EQ(2, g_ViewHistory.GetCount()); // entry 1 has neither path nor archive, 3 no name
    EXPECT_EQ(CString(L"new.txt"), g_ViewHistory[0].m_name);
    EXPECT_EQ(CString(L"old.txt"), g_ViewHistory[1].m_name);
    EXPECT_EQ(0xd3d1ceu, g_AlphaChannelTypes[0].colour); // not hexadecimal: default
    EXPECT_EQ(0xabcdefu, g_AlphaChannelTypes[1].colour);
    EXPECT_EQ(0, g_LineReturnCodeLength); // an empty mark stays empty

    std::wstring text = Save([](CIniFile& out) {
        SaveSectionPlugInData(out);
        SaveSectionViewHistory(out);
    });
    EXPECT_EQ(
        L"[PLUGINDATA]\r\nPLUGINDIR=D:\\p\r\nP_NAME0=one.dll\r\nP_VER0=125\r\nP_TYPE0=\r\nP_VIEWKEY0=\r\n"
        L"P_KEYSTR0=#1\r\nP_VIEWMENU0=0\r\nP_NAME1=\r\n"
        L"[VIEW_HISTORY]\r\nFILE_NAME0=new.txt\r\nPATH0=C:\\a\r\nARCHIVE_PATH0=\r\n"
        L"FILE_NAME1=old.txt\r\nPATH1=\r\nARCHIVE_PATH1=C:\\x.zip\r\n",
        text);

    g_QVPLUGINLOADTYPE = 0; // the list is neither read nor written
    LoadSectionPlugInData(ini);
    EXPECT_EQ(0, g_PlugInList.GetCount());
    EXPECT_EQ(L"[PLUGINDATA]\r\nPLUGINDIR=D:\\p\r\n",
              Save([](CIniFile& out) { SaveSectionPlugInData(out); }));
}

// Every section of this group, in the writer's order.
void SaveAll(CIniFile& out, const CString& temp)
{
    SaveSectionScsiCommand(out);
    SaveSectionZoomData(out);
    SaveSectionViewerSetting(out);
    SaveSectionViewerSearchString(out);
    SaveSectionSusieData(out, temp);
    SaveSectionLoadPreview(out);
    SaveSectionWav(out);
    SaveSectionSound(out);
    SaveSectionDisplayMode(out);
    SaveSectionUnpackData(out);
    SaveSectionPackData(out);
    SaveSectionDebugData(out);
    SaveSectionDisplayFont(out);
    SaveSectionPlugInData(out);
    SaveSectionNonLoadCpl(out);
    SaveSectionMouseOpeGraphic(out);
    SaveSectionAlphaChannelProcess(out);
    SaveSectionViewHistory(out);
}

void LoadAll(CIniFile& ini, CString& temp)
{
    LoadSectionScsiCommand(ini);
    LoadSectionZoomData(ini);
    LoadSectionDebugData(ini);
    LoadSectionUnpackData(ini);
    LoadSectionPackData(ini);
    LoadSectionDisplayFont(ini, L"ＭＳ 明朝");
    LoadSectionViewerSetting(ini);
    LoadSectionViewerSearchString(ini);
    LoadSectionSusieData(ini, temp);
    LoadSectionLoadPreview(ini);
    LoadSectionWav(ini);
    LoadSectionSound(ini);
    LoadSectionDisplayMode(ini);
    LoadSectionPlugInData(ini);
    LoadSectionNonLoadCpl(ini);
    LoadSectionMouseOpeGraphic(ini);
    LoadSectionAlphaChannelProcess(ini);
    LoadSectionViewHistory(ini);
}

TEST_F(ToolSectionsTest, LoadSaveLoadGivesIdenticalBytes)
{
    g_QVPLUGINLOADTYPE = 1;
    const std::wstring handWritten =
        L"[SCSICOMMAND]\r\nSCSI2=1201\r\n[ZOOMDATA]\r\n1_5=0\r\n[DEBUGDATA]\r\nDEBUG4=1\r\n"
        L"[UNPACKDATA]\r\nUNBYPASS_DLL_PATH=C:\\bridge\r\nUNPACK0000=0\r\nUNPACK0701=1\r\n[PACKDATA]"
        L"\r\nPACK0111=1\r\n"
        L"[DISPLAYFONT]\r\n1920X1080=-24,0,ＭＳ ゴシック,128,700,\r\n"
        L"[VIEWERSETTING]\r\nSETTING2=132\r\nKIND0=TXT\r\nKINDWORDS0=100\r\nKINDTAB0=4\r\nRIGHTDBLCLICKACT=@"
        L"Up\r\n"
        L"[VIEWER_SEARCH_STRING]\r\n0=検索\r\n1=abc\r\n"
        L"[SUSIEDATA]\r\nPLUGINFILE0=@ifjpeg.sph,00IN,*.jpg,\r\nSUSIEDIRECTORY=C:\\spi\r\nTEMPDIRECTORY=C:"
        L"\\tmp\r\n"
        L"[LOAD_PREVIEW]\r\nINIT=1\r\nDIR0=C:\\pics\r\nTYPE0=2\r\nDISABLE_DIR0=C:\\pics\\raw\r\nDISP_FILE_"
        L"KIND0=PNG\r\n"
        L"[WAV]\r\nCOPY=C:\\copy.wav\r\n[SOUND]\r\nLASTLOAD=C:\\list.m3u\r\nAUDIOKIND05=OGG\r\n"
        L"[DISPLAYMODE]\r\nDISPLAYMODE0=01920,01080,032\r\n"
        L"[PLUGINDATA]\r\nPLUGINDIR=C:\\own\r\nP_NAME0=own.dll\r\nP_VER0=101\r\nP_TYPE0=T\r\nP_VIEWKEY0=F\r\n"
        L"P_KEYSTR0=#F\r\nP_VIEWMENU0=1\r\n"
        L"[NONLOADCPL]\r\nCPL0=a.cpl\r\n[MOUSE_OPE_GRAPHIC]\r\nA_RIGHT_CLICK=6\r\n"
        L"[ALPHA_CHANNEL_PROCESS]\r\nTYPE9=2\r\nCOLOR9=102030\r\n"
        L"[VIEW_HISTORY]\r\nFILE_NAME0=a.txt\r\nPATH0=C:\\d\r\nARCHIVE_PATH0=\r\n";
    CIniFile first;
    Load(first, handWritten);
    CString temp;
    LoadAll(first, temp);
    EXPECT_EQ(CString(L"C:\\spi"), g_SusiePlugInDir);
    ASSERT_EQ(1, g_SusiePlugIns.GetCount());
    EXPECT_EQ(2, g_SusiePlugIns[0].m_patterns.GetCount()); // "*.jpeg" added
    EXPECT_EQ(0, g_LzhUnpackOptions[0].flag);
    EXPECT_EQ(1, g_ZipPackOptions[11].flag);
    std::wstring once = Save([&](CIniFile& out) { SaveAll(out, temp); });

    ResetSettingsSections();
    CIniFile second;
    Load(second, once);
    LoadAll(second, temp);
    std::wstring twice = Save([&](CIniFile& out) { SaveAll(out, temp); });
    EXPECT_EQ(once, twice);
    EXPECT_NE(std::wstring::npos, once.find(L"PLUGINFILE0=@ifjpeg.sph,00IN,*.jpg&*.jpeg,\r\n"));
    EXPECT_NE(std::wstring::npos, once.find(L"AUDIOKIND05=OGG\r\n"));
    EXPECT_NE(std::wstring::npos, once.find(L"MOVIEKIND29=WAV\r\n"));
}
} // namespace
