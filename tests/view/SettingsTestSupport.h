// A settings file test bench: the program folder is a scratch folder, every global the
// settings reader and writer touch is put back afterwards, and the display reports a
// fixed set of resolutions so that "DISPLAYFONT" does not depend on the machine.
#pragma once
#include "app/settings/SettingsSections.h"
#include "app/Directories.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/Settings.h"
#include "filer/DirTreeStore.h"
#include "filer/FilerPane.h"
#include "filer/PaneHooks.h"
#include "filer/PathHistory.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestSupport.h"
#include "view/QvView.h"
#include "view/graphic/PreviewPanes.h"
#include "app/settings/DisplayMode.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace settingstest
{

inline BOOL WINAPI TwoResolutions(LPCWSTR, DWORD modeNumber, DEVMODEW* mode)
{
    static const DWORD sizes[][2] = {{1024, 768}, {1920, 1080}, {1024, 768}};
    if (modeNumber >= 3)
        return FALSE;
    mode->dmPelsWidth = sizes[modeNumber][0];
    mode->dmPelsHeight = sizes[modeNumber][1];
    mode->dmBitsPerPel = 32;
    return TRUE;
}
inline LONG WINAPI RefuseChange(DEVMODEW*, DWORD)
{
    return DISP_CHANGE_FAILED;
}
inline BOOL WINAPI NoWallpaper(LPCWSTR)
{
    return FALSE;
}

using qvtest::Utf16File;

inline std::wstring ReadUtf16File(const std::wstring& path)
{
    std::string bytes = qvtest::ReadFileBytes(path);
    if (bytes.size() < 2)
        return L"";
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                        (bytes.size() - 2) / sizeof(wchar_t));
}

// The section lines of a written file, in file order.
inline std::vector<std::wstring> SectionOrder(const std::wstring& path)
{
    std::vector<std::wstring> names;
    std::wstring text = ReadUtf16File(path);
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line[0] == L'[')
            names.push_back(line.substr(1, line.find(L']') - 1));
        start = end + 2;
    }
    return names;
}

// section -> key -> value of a file, read the program's way.
using IniMap = std::map<std::wstring, std::map<std::wstring, std::wstring>>;
inline IniMap ReadIni(const std::wstring& path)
{
    IniMap map;
    CIniFile ini;
    ini.filePath = path.c_str();
    if (ini.Load() != INI_LOAD_OK)
        return map;
    CStringArray sections;
    ini.GetSectionNames(sections);
    for (INT_PTR i = 0; i < sections.GetSize(); ++i)
    {
        CStringArray keys, values;
        ini.GetSectionKeys(sections[i], keys, values);
        auto& section = map[static_cast<LPCWSTR>(sections[i])];
        for (INT_PTR k = 0; k < keys.GetSize(); ++k)
            section[static_cast<LPCWSTR>(keys[k])] = static_cast<LPCWSTR>(values[k]);
    }
    return map;
}

class SettingsBench : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const CString* value : {&g_ProgramDir, &g_HomeDir, &g_UserName, &g_UserIniPath, &g_StartDirs[0],
                                     &g_StartDirs[1], &g_WindowsDir})
            m_saved.push_back(static_cast<LPCWSTR>(*value));
        m_savedActive = g_UserIniActive;
        m_savedRetry = CIniFile::s_retryWaitMs;
        m_savedSettingsIni = g_SettingsIni;
        g_SettingsIni = nullptr;
        for (const IntSettingRow* table : {g_AllDataSettings, g_AllData2Settings})
            for (const IntSettingRow* row = table; row->key[0] != 0; ++row)
                m_savedInts.push_back(*row->variable);

        m_dir = qvtest::ScratchDir();
        g_ProgramDir = m_dir.c_str();
        g_HomeDir = m_dir.c_str();
        GetWindowsDir(g_WindowsDir);
        g_UserName = L"alice";
        g_UserIniPath.Empty();
        g_UserIniActive = 0;
        g_StartDirs[0].Empty();
        g_StartDirs[1].Empty();
        CIniFile::s_retryWaitMs = 1;
        m_display = std::make_unique<ScopedDisplayApi>(DisplayApi{TwoResolutions, RefuseChange, NoWallpaper});
        ResetAllSettings();
    }

    void TearDown() override
    {
        m_view.reset();
        g_DirTreeStore.Clear();
        delete g_SettingsIni;
        g_SettingsIni = m_savedSettingsIni;
        size_t n = 0;
        for (const IntSettingRow* table : {g_AllDataSettings, g_AllData2Settings})
            for (const IntSettingRow* row = table; row->key[0] != 0; ++row)
                *row->variable = m_savedInts[n++];
        g_ProgramDir = m_saved[0].c_str();
        g_HomeDir = m_saved[1].c_str();
        g_UserName = m_saved[2].c_str();
        g_UserIniPath = m_saved[3].c_str();
        g_StartDirs[0] = m_saved[4].c_str();
        g_StartDirs[1] = m_saved[5].c_str();
        g_WindowsDir = m_saved[6].c_str();
        g_UserIniActive = m_savedActive;
        CIniFile::s_retryWaitMs = m_savedRetry;
        m_display.reset();
    }

    // Every setting back to its default, as an empty file gives them.
    void ResetAllSettings()
    {
        ResetSettingsSections();
        CIniFile empty;
        ReadIntSettings(empty);
    }

    std::wstring MainPath() const { return m_dir + L"\\qv.ini"; }

    // What start-up and the view's creation do with a settings file: the integer
    // tables, then the view's reader (which frees g_SettingsIni).
    CQvView& LoadFile(const std::wstring& path)
    {
        m_view = std::make_unique<CQvView>();
        g_SettingsIni = new CIniFile;
        g_SettingsIni->filePath = path.c_str();
        g_SettingsIni->Load();
        ReadIntSettings(*g_SettingsIni);
        m_view->LoadViewSettings();
        return *m_view;
    }
    CQvView& LoadText(const std::wstring& text)
    {
        std::wstring path = m_dir + L"\\input.ini";
        EXPECT_TRUE(qvtest::WriteFileBytes(path, Utf16File(text)));
        return LoadFile(path);
    }

    std::wstring m_dir;
    std::unique_ptr<CQvView> m_view;
    // Made before SetUp reads a setting, as the program installs its hooks before it
    // reads one.
    qvtest::ScopedProgramWiring m_wiring;

private:
    std::vector<std::wstring> m_saved;
    std::vector<int> m_savedInts;
    int m_savedActive = 0;
    DWORD m_savedRetry = 0;
    CIniFile* m_savedSettingsIni = nullptr;
    std::unique_ptr<ScopedDisplayApi> m_display;
};

} // namespace settingstest
