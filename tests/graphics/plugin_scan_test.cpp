// The image plug-in folder scan with stand-in plug-ins, and the display-mode change
// through a stand-in display.
#include "app/settings/SettingsSections.h"
#include "app/Settings.h"
#include "app/settings/GraphicSettings.h"
#include "tests/common/TestSupport.h"
#include "app/settings/DisplayMode.h"
#include "graphics/SusiePlugInScan.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
class PlugInScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedHighLoad = g_HIGHLOADSPI;
        g_HIGHLOADSPI = 0;
        ResetSettingsSections();
        m_dir = qvtest::ScratchDir();
        g_SusiePlugInDir = (m_dir + L"\\").c_str(); // the scan drops the backslash
    }
    void TearDown() override
    {
        g_HIGHLOADSPI = m_savedHighLoad;
        ResetSettingsSections();
    }

    // Copies stand-in plug-ins (names without ".sph") into the plug-in folder.
    void AddPlugIns(std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names)
        {
            std::wstring file = std::wstring(L"spi_") + name + L".sph";
            ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\" + file).c_str(),
                                  (m_dir + L"\\" + file).c_str(), FALSE))
                << "missing stand-in " << std::string(file.begin(), file.end());
        }
    }

    static INT_PTR Find(const wchar_t* fileName)
    {
        for (INT_PTR i = 0; i < g_SusiePlugIns.GetCount(); ++i)
            if (g_SusiePlugIns[i].m_fileName.CompareNoCase(fileName) == 0)
                return i;
        return -1;
    }

    static std::vector<std::wstring> Patterns(INT_PTR index)
    {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < g_SusiePlugIns[index].m_patterns.GetCount(); ++i)
            out.push_back(static_cast<LPCWSTR>(g_SusiePlugIns[index].m_patterns[i]));
        return out;
    }

    std::wstring m_dir;

private:
    int m_savedHighLoad = 0;
};

TEST_F(PlugInScanTest, EachStandInEndsWithItsPatternsOrIsDropped)
{
    using Patterns_t = std::vector<std::wstring>;
    struct Case
    {
        const wchar_t* name;
        bool kept;
        Patterns_t patterns;
        int kind;
    };
    const Case cases[] = {
        {L"jpg", true, {L"*.jpg", L"*.jpeg"}, 2},
        {L"xyz", true, {L"*.xyz", L"*.ab", L"*.q"}, 2}, // ".xyz" gains its star
        {L"archive", true, {L"*.arc"}, 1},
        {L"none", false, {}, 0},           // no pattern list
        {L"fault", false, {}, 0},          // faults while asked
        {L"latefault", true, {L"*.e"}, 2}, // faults past its last list, which ends the list
        {L"endless", true, Patterns_t(SUSIE_MAX_PATTERN_CALLS, L"*.e"), 2}, // never says it is done
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "stand-in " << std::wstring(c.name).c_str());
        // A folder per stand-in: the library of one that faulted stays loaded, so its
        // file cannot be removed.
        m_dir = qvtest::ScratchDir() + L"\\" + c.name;
        ASSERT_TRUE(CreateDirectoryW(m_dir.c_str(), nullptr));
        g_SusiePlugInDir = m_dir.c_str();
        AddPlugIns({c.name});
        EXPECT_EQ(1, ScanSusiePlugIns(FALSE));
        ASSERT_EQ(c.kept ? 1 : 0, g_SusiePlugIns.GetCount());
        if (!c.kept)
            continue;
        EXPECT_EQ(c.patterns, Patterns(0));
        EXPECT_EQ(c.kind, g_SusiePlugIns[0].GetKind());
        EXPECT_EQ(1, g_SusiePlugIns[0].m_enabled);
    }
}

TEST_F(PlugInScanTest, AFaultBeforeTheFirstPatternListDropsThePlugInAndTheScanGoesOn)
{
    AddPlugIns({L"fault", L"latefault", L"jpg", L"xyz"});
    // A listed record of the plug-in that faults before its first list goes as well;
    // the one that faults only past its lists stays listed with the user's switch.
    CSusieDllFile listed;
    listed.m_fileName = L"SPI_FAULT.SPH";
    listed.m_patterns.Add(L"*.f");
    g_SusiePlugIns.Add(listed);
    CSusieDllFile switchedOff;
    switchedOff.m_fileName = L"SPI_LATEFAULT.SPH";
    switchedOff.m_patterns.Add(L"*.old");
    g_SusiePlugIns.Add(switchedOff);

    EXPECT_EQ(1, ScanSusiePlugIns(TRUE));
    EXPECT_EQ(3, g_SusiePlugIns.GetCount());
    EXPECT_LT(Find(L"spi_fault.sph"), 0);
    ASSERT_EQ(0, Find(L"spi_latefault.sph"));
    EXPECT_EQ(0, g_SusiePlugIns[0].m_enabled);
    EXPECT_EQ(std::vector<std::wstring>{L"*.e"}, Patterns(0));
    EXPECT_GE(Find(L"spi_jpg.sph"), 0);
    EXPECT_GE(Find(L"spi_xyz.sph"), 0);

    // The process is still sound: a second scan finds the same.
    EXPECT_EQ(1, ScanSusiePlugIns(FALSE));
    EXPECT_EQ(3, g_SusiePlugIns.GetCount());
}

TEST_F(PlugInScanTest, BuffersFilledToTheBrimStillGiveTerminatedTexts)
{
    AddPlugIns({L"longversion"});
    EXPECT_EQ(1, ScanSusiePlugIns(FALSE));
    ASSERT_EQ(1, g_SusiePlugIns.GetCount());
    EXPECT_EQ(std::string(10, 'V'), std::string(g_SusiePlugIns[0].m_apiVersion, 10));
    EXPECT_EQ(CString(L'D', 260), g_SusiePlugIns[0].m_description);
}

TEST_F(PlugInScanTest, MergeKeepsOrderAndSwitchesAndAppendsNewOnes)
{
    AddPlugIns({L"jpg", L"xyz"});
    auto listed = [](const wchar_t* name, int enabled, const wchar_t* pattern) {
        CSusieDllFile record;
        record.m_fileName = name;
        record.m_enabled = enabled;
        record.m_patterns.Add(pattern);
        return record;
    };
    struct Case
    {
        int highLoad;
        std::vector<std::wstring> xyzPatterns;
    };
    const Case cases[] = {
        {0, {L"*.xyz", L"*.ab", L"*.q"}}, // listed plug-ins are asked again
        {1, {L"*.old"}},                  // listed plug-ins are not loaded at all
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "HIGHLOADSPI " << c.highLoad);
        g_HIGHLOADSPI = c.highLoad;
        g_SusiePlugIns.RemoveAll();
        g_SusiePlugIns.Add(listed(L"spi_xyz.sph", 0, L"*.old"));
        g_SusiePlugIns.Add(listed(L"gone.sph", 1, L"*.g"));

        EXPECT_EQ(1, ScanSusiePlugIns(TRUE));
        ASSERT_EQ(3, g_SusiePlugIns.GetCount());
        EXPECT_EQ(CString(L"spi_xyz.sph"), g_SusiePlugIns[0].m_fileName);
        EXPECT_EQ(0, g_SusiePlugIns[0].m_enabled);
        EXPECT_EQ(c.xyzPatterns, Patterns(0));
        EXPECT_EQ(CString(L"gone.sph"), g_SusiePlugIns[1].m_fileName);
        EXPECT_EQ(CString(L"spi_jpg.sph"), g_SusiePlugIns[2].m_fileName);
        EXPECT_EQ(1, g_SusiePlugIns[2].m_enabled);
    }
}

TEST_F(PlugInScanTest, AnEmptyFolderChangesNothingWhenMerging)
{
    CSusieDllFile listed;
    listed.m_fileName = L"kept.sph";
    g_SusiePlugIns.Add(listed); // no patterns, yet not cleaned away
    EXPECT_EQ(0, ScanSusiePlugIns(TRUE));
    EXPECT_EQ(1, g_SusiePlugIns.GetCount());
    EXPECT_EQ(0, ScanSusiePlugIns(FALSE));
    EXPECT_EQ(0, g_SusiePlugIns.GetCount());
}

// ---- Display mode --------------------------------------------------------------------

struct DisplayCall
{
    bool withMode;
    DWORD flags;
    bool operator==(const DisplayCall& other) const
    {
        return withMode == other.withMode && flags == other.flags;
    }
};
std::vector<DisplayCall> g_calls;
LONG g_changeResult = DISP_CHANGE_SUCCESSFUL;
int g_wallpaperSets = 0;

BOOL WINAPI ThreeModes(LPCWSTR, DWORD modeNumber, DEVMODEW* mode)
{
    static const DWORD modes[][3] = {{800, 600, 16}, {1024, 768, 32}, {1024, 768, 16}};
    if (modeNumber >= 3)
        return FALSE;
    mode->dmPelsWidth = modes[modeNumber][0];
    mode->dmPelsHeight = modes[modeNumber][1];
    mode->dmBitsPerPel = modes[modeNumber][2];
    return TRUE;
}
LONG WINAPI RecordChange(DEVMODEW* mode, DWORD flags)
{
    g_calls.push_back({mode != nullptr, flags});
    return mode ? g_changeResult : DISP_CHANGE_SUCCESSFUL;
}
BOOL WINAPI CountWallpaper(LPCWSTR)
{
    ++g_wallpaperSets;
    return TRUE;
}

TEST(DisplayModeTest, ChangesOnlyToAnOfferedModeAndFallsBackWhenRefused)
{
    ScopedDisplayApi display(DisplayApi{ThreeModes, RecordChange, CountWallpaper});
    const int savedRegister = g_REGISTDISPLAY;
    struct Case
    {
        int width, height, bits, registerFlag;
        LONG result;
        std::vector<DisplayCall> calls;
        int wallpaperSets;
    };
    const Case cases[] = {
        {1280, 1024, 32, 1, DISP_CHANGE_SUCCESSFUL, {}, 0}, // not offered: nothing
        {1024, 768, 16, 0, DISP_CHANGE_SUCCESSFUL, {{true, CDS_FULLSCREEN}}, 1},
        {1024, 768, 32, 1, DISP_CHANGE_SUCCESSFUL, {{true, CDS_FULLSCREEN}, {true, CDS_UPDATEREGISTRY}}, 1},
        {800, 600, 16, 1, DISP_CHANGE_BADMODE, {{true, CDS_FULLSCREEN}, {false, 0}}, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        g_calls.clear();
        g_wallpaperSets = 0;
        g_changeResult = c.result;
        g_REGISTDISPLAY = c.registerFlag;
        ChangeDisplayMode(c.width, c.height, c.bits);
        EXPECT_EQ(c.calls, g_calls);
        EXPECT_EQ(c.wallpaperSets, g_wallpaperSets);
    }
    g_REGISTDISPLAY = savedRegister;
}

TEST(DisplayModeTest, WallpaperPathComesFromTheUsersDesktopKey)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, nullptr, 0,
                                             KEY_READ | KEY_WRITE, nullptr, &key, nullptr));
    CString saved;
    bool hadValue = GetWallpaperPath(saved) == 1 && !saved.IsEmpty();
    const wchar_t path[] = L"C:\\pictures\\壁紙.bmp";
    RegSetValueExW(key, L"Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof(path));
    CString read;
    EXPECT_EQ(1, GetWallpaperPath(read));
    EXPECT_EQ(CString(path), read);
    if (hadValue)
        RegSetValueExW(key, L"Wallpaper", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(static_cast<LPCWSTR>(saved)),
                       (saved.GetLength() + 1) * sizeof(wchar_t));
    else
        RegDeleteValueW(key, L"Wallpaper");
    RegCloseKey(key);
}
} // namespace
