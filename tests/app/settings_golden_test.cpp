// The settings file as the writer leaves it and as the reader asks for it, held against
// runs taken from a known-good build: every section the writer writes with the number
// of its lines and a hash of its bytes, and every stretch of lookups the reader makes in
// one section with their number and a hash of the keys in their order. A round trip
// of the file cannot show the reader's order, and the reader does work between
// sections (the image plug-in scan after "SUSIEDATA") that depends on it.
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/ArchiverSettings.h"
#include "app/settings/DisplayMode.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/PrintSettings.h"
#include "app/settings/SettingsSchema.h"
#include "app/settings/SettingsSections.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// One stretch of the written file (a section's header and its lines) or of the
// reader's lookups (consecutive lookups in one section).
struct Stretch
{
    std::wstring section;
    int count;
    uint64_t hash;
    bool operator==(const Stretch& other) const
    {
        return section == other.section && count == other.count && hash == other.hash;
    }
};

uint64_t Fnv1a(uint64_t hash, const void* data, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
    {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}
constexpr uint64_t kFnvStart = 0xcbf29ce484222325ull;

std::vector<Stretch> StretchesOfWrittenFile(const std::string& bytes)
{
    std::vector<Stretch> runs;
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE", 2) != 0)
        return runs;
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                      (bytes.size() - 2) / sizeof(wchar_t));
    size_t at = 0;
    while (at < text.size())
    {
        size_t end = text.find(L"\r\n", at);
        end = end == std::wstring::npos ? text.size() : end + 2;
        std::wstring line = text.substr(at, end - at);
        if (!line.empty() && line[0] == L'[')
            runs.push_back(Stretch{line.substr(1, line.find(L']') - 1), 0, kFnvStart});
        else if (runs.empty())
            runs.push_back(Stretch{L"(before any section)", 0, kFnvStart});
        else
            ++runs.back().count;
        runs.back().hash = Fnv1a(runs.back().hash, line.data(), line.size() * sizeof(wchar_t));
        at = end;
    }
    return runs;
}

std::vector<Stretch>* s_lookups = nullptr;

// The six key sections are read binding by binding, one key of each in turn: they
// count as one stretch, with every lookup's section in its hash.
bool IsKeySection(const std::wstring& section)
{
    for (const wchar_t* name : {L"KEYEXEDATA", L"VIEWKEYEXEDATA", L"GRAPHICKEYEXEDATA", L"BINARYKEYEXEDATA",
                                L"ARC_INFO_KEY_EXE_DATA", L"COMMON_KEY_DATA"})
        if (section == name)
            return true;
    return false;
}

void RecordLookup(LPCWSTR section, LPCWSTR key)
{
    std::wstring name = section != nullptr ? section : L"(null)";
    std::wstring entry = name + L'\t' + (key != nullptr ? key : L"(every key)") + L'\n';
    if (IsKeySection(name))
        name = L"(key sections)";
    if (s_lookups->empty() || s_lookups->back().section != name)
        s_lookups->push_back(Stretch{name, 0, kFnvStart});
    ++s_lookups->back().count;
    s_lookups->back().hash = Fnv1a(s_lookups->back().hash, entry.data(), entry.size() * sizeof(wchar_t));
}

int RecordScan(BOOL)
{
    if (s_lookups != nullptr)
        s_lookups->push_back(Stretch{L"(image plug-in scan)", 0, kFnvStart});
    return 0;
}

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    return out;
}

// The runs as rows of a table like the ones below, for the failure message.
std::string Describe(const std::vector<Stretch>& runs)
{
    std::ostringstream out;
    for (const Stretch& run : runs)
        out << "    {L\"" << Utf8(run.section) << "\", " << run.count << ", 0x" << std::hex << run.hash
            << std::dec << "ull},\n";
    return out.str();
}

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

class SettingsGoldenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const IntSettingRow* table : {g_AllDataSettings, g_AllData2Settings})
            for (const IntSettingRow* row = table; row->key[0] != 0; ++row)
                m_savedInts.push_back(*row->variable);
        m_savedWindowsDir = g_WindowsDir;
        m_savedHooks = g_SettingsHooks;
        // The defaults of the start folders are the Windows folder: one fixed name keeps
        // the files the same on every machine.
        g_WindowsDir = L"C:\\QvWindows";
        m_dir = qvtest::ScratchDir();
        g_SettingsHooks = SettingsHooks();
        g_SettingsHooks.scanImagePlugIns = RecordScan;
        ReadDefaults();
    }

    void TearDown() override
    {
        CIniFile::s_lookupObserver = nullptr;
        s_lookups = nullptr;
        ResetSettingsSections();
        size_t n = 0;
        for (const IntSettingRow* table : {g_AllDataSettings, g_AllData2Settings})
            for (const IntSettingRow* row = table; row->key[0] != 0; ++row)
                *row->variable = m_savedInts[n++];
        g_WindowsDir = m_savedWindowsDir;
        g_SettingsHooks = m_savedHooks;
    }

    // Every setting as an empty file gives it; the view's temporary folder takes a
    // fixed name in place of the machine's.
    void ReadDefaults()
    {
        ResetSettingsSections();
        CIniFile empty;
        ReadIntSettings(empty);
        LoadSettingsSections(empty, Lent());
        m_tempDirectory = L"C:\\QvTemp";
    }

    // Every single-valued setting of every section a value that is no default.
    void SetEverySingleValueToAnother()
    {
        for (const IntSettingRow* table : {g_AllDataSettings, g_AllData2Settings})
            for (int i = 0; table[i].key[0] != 0; ++i)
                *table[i].variable = table[i].defaultValue + 1 + i;
        g_FONTNAME = L"画面フォント";
        g_PrintSettings.fontName = L"印刷フォント";
        g_EDITORNAME = L"editor.exe";
        g_ONEDEFEDIT = L"-one %F";
        g_SOMEDEFEDIT = L"-some %F";
        g_EDITOR_OPEN_UNICODE_OPTION = L"-u";
        g_DOSSHELL = L"cmd.exe";
        g_POWER_SHELL = L"pwsh.exe";
        g_BACKBITMAPNAME = L"C:\\絵\\back.bmp";
        g_FIRSTDIRECTORY = L"C:\\first";
        g_SECONDDIRECTORY = L"D:\\second";
        g_ENDDIRECTORY = L"C:\\end";
        g_ENDDIRECTORY2 = L"D:\\end2";
        g_SET_SAME_TIME = L"12:34:56";
        g_DIR_HISTORY_DIALOG = SettingSize{321, 123};
        g_FindFileDlgState.init = 1;
        g_FindFileDlgState.top = 11;
        g_FindFileDlgState.left = 12;
        g_FindFileDlgState.height = 13;
        g_FindFileDlgState.width = 14;
        g_UnbypassDllPath = L"C:\\bridge";
        for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
            g_DisplayColors[i] = static_cast<DWORD>(0x102030 + i * 0x010101);
        g_ViewerLeftDblClickAct = L"@Left";
        g_ViewerRightDblClickAct = L"@Right";
        g_LineReturnCode = L"<<";
        g_SusiePlugInDir = L"C:\\spi";
        m_tempDirectory = L"C:\\一時";
        g_LastPlayList = L"C:\\list.m3u";
        g_PlugInDir = L"C:\\plugins";
        g_ExecuteLastFile = L"run.exe";
        g_ExecuteLastParameter = L"/x";
        g_BmpSaveSettings.prefix = L"pic";
        g_BmpSaveSettings.folder = L"C:\\pics";
        g_BmpSaveSettings.lastFolder = L"C:\\last";
        g_BmpSaveSettings.sameName = 1;
        g_BmpSaveSettings.startNumber = 42;
    }

    SettingsViewData Lent()
    {
        SettingsViewData view;
        view.tempDirectory = &m_tempDirectory;
        return view;
    }

    std::wstring WriteFile(const wchar_t* name)
    {
        std::wstring path = m_dir + L"\\" + name;
        CIniFile out;
        EXPECT_TRUE(out.Create(path.c_str()));
        SaveSettingsSections(out, Lent());
        out.Close();
        return path;
    }

    // The reader's lookups over a whole file: start-up's integers, then the sections.
    std::vector<Stretch> ReadFileRecorded(const std::wstring& path)
    {
        ResetSettingsSections();
        CIniFile ini;
        ini.filePath = path.c_str();
        EXPECT_EQ(INI_LOAD_OK, ini.Load());
        std::vector<Stretch> lookups;
        s_lookups = &lookups;
        CIniFile::s_lookupObserver = RecordLookup;
        ReadIntSettings(ini);
        LoadSettingsSections(ini, Lent());
        CIniFile::s_lookupObserver = nullptr;
        s_lookups = nullptr;
        return lookups;
    }

    ScopedDisplayApi m_display{DisplayApi{OneResolution, RefuseChange, NoWallpaper}};
    std::wstring m_dir;
    std::vector<int> m_savedInts;
    CString m_savedWindowsDir;
    SettingsHooks m_savedHooks;
    CString m_tempDirectory;
};

void ExpectRuns(const std::vector<Stretch>& expected, const std::vector<Stretch>& actual)
{
    EXPECT_TRUE(expected == actual) << "the runs are now:\n" << Describe(actual);
}

// clang-format off
const std::vector<Stretch> kDefaultFile = {
    {L"FILERINFODATA", 5, 0x3615fa7ab8cc785bull},
    {L"SCSICOMMAND", 9, 0xdae2260e3005abd1ull},
    {L"ZOOMDATA", 10, 0xc26030d0ab58884aull},
    {L"ALLDATA", 153, 0x4e8f6fbc0957a659ull},
    {L"ALLDATA2", 163, 0x64ec09b7413776aaull},
    {L"SIZE_INFO", 2, 0x49f45af4cd76c947ull},
    {L"COLORDATA", 477, 0x27ba7dc15bd96c08ull},
    {L"KINDEXEDATA", 320, 0x23529417df4456f4ull},
    {L"KINDEXEDATASHIFT", 320, 0x669192d6a6e63ab4ull},
    {L"VIEWERSETTING", 98, 0x176063696dc7844bull},
    {L"JUMPDATA", 1, 0x94b78e467766bcbbull},
    {L"LANCHER", 1, 0xddf0864cac1559d9ull},
    {L"KEYEXEDATA", 712, 0xccd68a3fc376476ull},
    {L"VIEWKEYEXEDATA", 356, 0x509cecc0c8efbf9cull},
    {L"GRAPHICKEYEXEDATA", 356, 0x8ac3b6cb70b10713ull},
    {L"BINARYKEYEXEDATA", 356, 0xf384e5211eab1830ull},
    {L"ARC_INFO_KEY_EXE_DATA", 712, 0xf3b59c13e91d85a5ull},
    {L"COMMON_KEY_DATA", 712, 0xd0e68b23fb61737eull},
    {L"SUSIEDATA", 3, 0x284913d5b23e3d6bull},
    {L"LOAD_PREVIEW", 7, 0xbe723e69742d6551ull},
    {L"WAV", 23, 0x5e9e5eab9e5aa7e5ull},
    {L"SOUND", 61, 0x2493c83b77b21e88ull},
    {L"DISPLAYMODE", 10, 0x4c5158f89b4067b4ull},
    {L"UNPACKDATA", 32, 0x4205ff70b35852d6ull},
    {L"PACKDATA", 16, 0x521af1b879c3fa74ull},
    {L"DEBUGDATA", 9, 0xea252c30fba30a6eull},
    {L"DISPLAYFONT", 1, 0x9ed67f60f62bc602ull},
    {L"FILERUSERMENU", 20, 0x14a8a494992eabd2ull},
    {L"NOTVIEWMENU", 55, 0x6f990ee9ed3eeebcull},
    {L"VIRTUALDRIVE", 26, 0x4d57222bdc987fb2ull},
    {L"PLUGINDATA", 1, 0x803135789bbe85e1ull},
    {L"MAKENEWFILE", 60, 0x5b51975ff88d9a64ull},
    {L"NONLOADCPL", 10, 0x88f7040484e7adebull},
    {L"RELOAD_SETTING", 10, 0x2b3d0bf99ea90501ull},
    {L"ORDER_LIST_DIR_JUMP", 9, 0x85ffa41f8b573db0ull},
    {L"TIME_MACRO", 5, 0x1854a4a0c42c74fdull},
    {L"FIND_FILE_DLG_INF", 10, 0x59529a91e4763b57ull},
    {L"DISP_FILE_SETTING", 5, 0x4b8ba3ddbc989c6cull},
    {L"MOUSE_OPE_GRAPHIC", 7, 0xff9d52f0f5d1edbdull},
    {L"ALPHA_CHANNEL_PROCESS", 20, 0xedd7e66278c10f28ull},
    {L"DIALOG_OTHER_WINDOW", 3, 0x9acb03cd2257bd4ull},
    {L"EXECUTE", 2, 0xf73567c4d82594ecull},
    {L"SAVE_BMP", 5, 0x1ff710faaf08ce4cull},
};

const std::vector<Stretch> kOtherValuesFile = {
    {L"FILERINFODATA", 5, 0x3615fa7ab8cc785bull},
    {L"SCSICOMMAND", 9, 0xdae2260e3005abd1ull},
    {L"ZOOMDATA", 10, 0xc26030d0ab58884aull},
    {L"ALLDATA", 153, 0x3ba3e60b0d0d6a6bull},
    {L"ALLDATA2", 163, 0x8e54c05d7d7febcbull},
    {L"SIZE_INFO", 2, 0x4b3a40399eb700c7ull},
    {L"COLORDATA", 477, 0x5ab409056e93794cull},
    {L"KINDEXEDATA", 320, 0x23529417df4456f4ull},
    {L"KINDEXEDATASHIFT", 320, 0x669192d6a6e63ab4ull},
    {L"VIEWERSETTING", 98, 0x87d4e32948ebba4aull},
    {L"JUMPDATA", 1, 0x94b78e467766bcbbull},
    {L"LANCHER", 1, 0xddf0864cac1559d9ull},
    {L"KEYEXEDATA", 712, 0xccd68a3fc376476ull},
    {L"VIEWKEYEXEDATA", 356, 0x509cecc0c8efbf9cull},
    {L"GRAPHICKEYEXEDATA", 356, 0x8ac3b6cb70b10713ull},
    {L"BINARYKEYEXEDATA", 356, 0xf384e5211eab1830ull},
    {L"ARC_INFO_KEY_EXE_DATA", 712, 0xf3b59c13e91d85a5ull},
    {L"COMMON_KEY_DATA", 712, 0xd0e68b23fb61737eull},
    {L"SUSIEDATA", 3, 0x822c9ff4c77c8e45ull},
    {L"LOAD_PREVIEW", 7, 0xbe723e69742d6551ull},
    {L"WAV", 23, 0x5e9e5eab9e5aa7e5ull},
    {L"SOUND", 61, 0x64c1e0ed3a2aa8caull},
    {L"DISPLAYMODE", 10, 0x4c5158f89b4067b4ull},
    {L"UNPACKDATA", 32, 0x29808670041d3de4ull},
    {L"PACKDATA", 16, 0x521af1b879c3fa74ull},
    {L"DEBUGDATA", 9, 0xea252c30fba30a6eull},
    {L"DISPLAYFONT", 1, 0x9ed67f60f62bc602ull},
    {L"FILERUSERMENU", 20, 0x14a8a494992eabd2ull},
    {L"NOTVIEWMENU", 55, 0x6f990ee9ed3eeebcull},
    {L"VIRTUALDRIVE", 26, 0x4d57222bdc987fb2ull},
    {L"PLUGINDATA", 2, 0x5e71d4552521ccc4ull},
    {L"MAKENEWFILE", 60, 0x5b51975ff88d9a64ull},
    {L"NONLOADCPL", 10, 0x88f7040484e7adebull},
    {L"RELOAD_SETTING", 10, 0x2b3d0bf99ea90501ull},
    {L"ORDER_LIST_DIR_JUMP", 9, 0x85ffa41f8b573db0ull},
    {L"TIME_MACRO", 5, 0x1854a4a0c42c74fdull},
    {L"FIND_FILE_DLG_INF", 10, 0xb1018eb6aeca9772ull},
    {L"DISP_FILE_SETTING", 5, 0x4b8ba3ddbc989c6cull},
    {L"MOUSE_OPE_GRAPHIC", 7, 0xff9d52f0f5d1edbdull},
    {L"ALPHA_CHANNEL_PROCESS", 20, 0xedd7e66278c10f28ull},
    {L"DIALOG_OTHER_WINDOW", 3, 0x9acb03cd2257bd4ull},
    {L"EXECUTE", 2, 0xaf73daad20d51724ull},
    {L"SAVE_BMP", 5, 0x81f938e7adbc8492ull},
};

const std::vector<Stretch> kReadingDefaults = {
    {L"ALLDATA", 139, 0xc81bd9de9c5b1476ull},
    {L"ALLDATA2", 163, 0xaa2540d4a04d96ceull},
    {L"SIZE_INFO", 2, 0xa1686ab7c308382aull},
    {L"SPECIALCOPYTO", 1, 0xb15f618839a958eeull},
    {L"WILDCARD", 1, 0xbee04ddc5e56603cull},
    {L"SCSICOMMAND", 9, 0xf3c685b106ae3951ull},
    {L"ZOOMDATA", 10, 0x51039d6adeb33b9cull},
    {L"DEBUGDATA", 9, 0x879cf87cf29bfd16ull},
    {L"UNPACKDATA", 32, 0xe20874c1cd1d4525ull},
    {L"PACKDATA", 16, 0x5760bcada9900555ull},
    {L"FILERINFODATA", 5, 0x5be4ce702a3ccbaull},
    {L"COLORDATA", 277, 0xe249e9e2c9cfd3c3ull},
    {L"ALLDATA", 2, 0xd69ca7376732878cull},
    {L"DISPLAYFONT", 2, 0x12fa1f111d028650ull},
    {L"ALLDATA", 12, 0x3154da8cac111c0full},
    {L"COLORDATA", 200, 0x771870be80f4448dull},
    {L"KINDEXEDATA", 320, 0xf08936f0cec73255ull},
    {L"KINDEXEDATASHIFT", 320, 0x55c3f9d2f2e76c35ull},
    {L"VIEWERSETTING", 98, 0x2458207ca17dea84ull},
    {L"VIEWER_SEARCH_STRING", 1, 0xa1c03099b824068full},
    {L"JUMPDATA", 2, 0xc5baafae8aa5e6beull},
    {L"SELECTDIR", 1, 0xc4ddd0ecde7c8fbdull},
    {L"FILERBMP", 1, 0xbf236549c7214d02ull},
    {L"SOUNDLIST", 1, 0xf759fa58c12c0045ull},
    {L"RENAMEHISTORY", 1, 0x7144901c37dfe75bull},
    {L"EXEHISTORY", 2, 0x4bbebff8a625adeaull},
    {L"LANCHER", 1, 0xb718201501b83cf9ull},
    {L"(key sections)", 3204, 0xa6b3fd14ae77b04aull},
    {L"SUSIEDATA", 3, 0xe55f1719d237fc8dull},
    {L"(image plug-in scan)", 0, 0xcbf29ce484222325ull},
    {L"LOAD_PREVIEW", 10, 0xc2cba97afa1b2ab3ull},
    {L"WAV", 23, 0x7f5702269967c085ull},
    {L"SOUND", 61, 0xffdbeb382cb2f191ull},
    {L"DISPLAYMODE", 10, 0x5d779ea8ed2ae0ccull},
    {L"FILERUSERMENU", 20, 0xac3f75aad4e4fb05ull},
    {L"NOTVIEWMENU", 55, 0x4b4d2430eaf462acull},
    {L"VIRTUALDRIVE", 26, 0x22e1ef486ecf866ull},
    {L"PLUGINDATA", 1, 0xdc6882d767a6a1a9ull},
    {L"NETWORK", 1, 0x3da8063e6185aa9cull},
    {L"MAKENEWFILE", 61, 0x4a06b137f5b93accull},
    {L"NONLOADCPL", 10, 0x5ec23e825dd3de84ull},
    {L"RELOAD_SETTING", 10, 0x1b354ab0cc14b739ull},
    {L"ORDER_LIST_DIR_JUMP", 9, 0xcaba1edcfc6cc752ull},
    {L"TIME_MACRO", 5, 0xe8db5b876f7e3495ull},
    {L"FIND_FILE_DLG_INF", 13, 0x1fbe926a3beedec6ull},
    {L"DISP_FILE_SETTING", 5, 0xd09eda79a03f143cull},
    {L"MOUSE_OPE_GRAPHIC", 24, 0x83c8b815d1b247b5ull},
    {L"ALPHA_CHANNEL_PROCESS", 20, 0xe8dd8799c7edcad5ull},
    {L"VIEW_HISTORY", 300, 0xefc6c835e9d9fecdull},
    {L"DIALOG_OTHER_WINDOW", 3, 0x274cc052ad49af0cull},
    {L"EXECUTE", 2, 0xe31cfd3dac2373c2ull},
    {L"SAVE_BMP", 5, 0xc5761a6ec657ff74ull},
};

const std::vector<Stretch> kReadingOtherValues = {
    {L"ALLDATA", 139, 0xc81bd9de9c5b1476ull},
    {L"ALLDATA2", 163, 0xaa2540d4a04d96ceull},
    {L"SIZE_INFO", 2, 0xa1686ab7c308382aull},
    {L"SPECIALCOPYTO", 1, 0xb15f618839a958eeull},
    {L"WILDCARD", 1, 0xbee04ddc5e56603cull},
    {L"SCSICOMMAND", 9, 0xf3c685b106ae3951ull},
    {L"ZOOMDATA", 10, 0x51039d6adeb33b9cull},
    {L"DEBUGDATA", 9, 0x879cf87cf29bfd16ull},
    {L"UNPACKDATA", 32, 0xe20874c1cd1d4525ull},
    {L"PACKDATA", 16, 0x5760bcada9900555ull},
    {L"FILERINFODATA", 5, 0x5be4ce702a3ccbaull},
    {L"COLORDATA", 277, 0xe249e9e2c9cfd3c3ull},
    {L"ALLDATA", 2, 0xd69ca7376732878cull},
    {L"DISPLAYFONT", 2, 0x12fa1f111d028650ull},
    {L"ALLDATA", 12, 0x3154da8cac111c0full},
    {L"COLORDATA", 200, 0x771870be80f4448dull},
    {L"KINDEXEDATA", 320, 0xf08936f0cec73255ull},
    {L"KINDEXEDATASHIFT", 320, 0x55c3f9d2f2e76c35ull},
    {L"VIEWERSETTING", 98, 0x2458207ca17dea84ull},
    {L"VIEWER_SEARCH_STRING", 1, 0xa1c03099b824068full},
    {L"JUMPDATA", 96, 0x663232dc86ccc95dull},
    {L"SELECTDIR", 1, 0xc4ddd0ecde7c8fbdull},
    {L"FILERBMP", 1, 0xbf236549c7214d02ull},
    {L"SOUNDLIST", 1, 0xf759fa58c12c0045ull},
    {L"RENAMEHISTORY", 1, 0x7144901c37dfe75bull},
    {L"EXEHISTORY", 2, 0x4bbebff8a625adeaull},
    {L"LANCHER", 1, 0xb718201501b83cf9ull},
    {L"(key sections)", 3204, 0xa6b3fd14ae77b04aull},
    {L"SUSIEDATA", 3, 0xe55f1719d237fc8dull},
    {L"LOAD_PREVIEW", 10, 0xc2cba97afa1b2ab3ull},
    {L"WAV", 23, 0x7f5702269967c085ull},
    {L"SOUND", 61, 0xffdbeb382cb2f191ull},
    {L"DISPLAYMODE", 10, 0x5d779ea8ed2ae0ccull},
    {L"FILERUSERMENU", 20, 0xac3f75aad4e4fb05ull},
    {L"NOTVIEWMENU", 55, 0x4b4d2430eaf462acull},
    {L"VIRTUALDRIVE", 26, 0x22e1ef486ecf866ull},
    {L"PLUGINDATA", 2, 0xa8f28c409b2f0f83ull},
    {L"NETWORK", 1, 0x3da8063e6185aa9cull},
    {L"SAVECURPOS", 144, 0xe29fbca4cdea8badull},
    {L"MAKENEWFILE", 61, 0x4a06b137f5b93accull},
    {L"NONLOADCPL", 10, 0x5ec23e825dd3de84ull},
    {L"RELOAD_SETTING", 10, 0x1b354ab0cc14b739ull},
    {L"ORDER_LIST_DIR_JUMP", 9, 0xcaba1edcfc6cc752ull},
    {L"TIME_MACRO", 5, 0xe8db5b876f7e3495ull},
    {L"FIND_FILE_DLG_INF", 13, 0x1fbe926a3beedec6ull},
    {L"DISP_FILE_SETTING", 5, 0xd09eda79a03f143cull},
    {L"MOUSE_OPE_GRAPHIC", 24, 0x83c8b815d1b247b5ull},
    {L"ALPHA_CHANNEL_PROCESS", 20, 0xe8dd8799c7edcad5ull},
    {L"VIEW_HISTORY", 300, 0xefc6c835e9d9fecdull},
    {L"DIALOG_OTHER_WINDOW", 3, 0x274cc052ad49af0cull},
    {L"EXECUTE", 2, 0xe31cfd3dac2373c2ull},
    {L"SAVE_BMP", 5, 0xc5761a6ec657ff74ull},
};
// clang-format on

TEST_F(SettingsGoldenTest, TheWriterWritesTheDefaultsAsBefore)
{
    ExpectRuns(kDefaultFile, StretchesOfWrittenFile(qvtest::ReadFileBytes(WriteFile(L"defaults.ini"))));
}

TEST_F(SettingsGoldenTest, TheWriterWritesOtherValuesOfEverySingleValuedSettingAsBefore)
{
    SetEverySingleValueToAnother();
    ExpectRuns(kOtherValuesFile, StretchesOfWrittenFile(qvtest::ReadFileBytes(WriteFile(L"others.ini"))));
}

TEST_F(SettingsGoldenTest, TheReaderAsksForTheKeysInTheOrderOfBefore)
{
    std::wstring defaults = WriteFile(L"defaults.ini");
    SetEverySingleValueToAnother();
    std::wstring others = WriteFile(L"others.ini");
    ExpectRuns(kReadingDefaults, ReadFileRecorded(defaults));
    ExpectRuns(kReadingOtherValues, ReadFileRecorded(others));
}

// Every row of the schema, ints included, comes back from the file with a value of its
// own: a row is written and read by its section without code of its own.
using SettingsSchemaTest = SettingsGoldenTest;

TEST_F(SettingsSchemaTest, EveryRowComesBackFromTheFileItsSectionWrites)
{
    auto storageOf = [this](const SettingRow& row) -> void* {
        return row.storage != nullptr ? row.storage : static_cast<void*>(&m_tempDirectory);
    };
    auto textOf = [](int i) {
        CString text;
        text.Format(L"C:\\値%d", i);
        return text;
    };
    for (int i = 0; i < g_SettingRowCount; ++i)
    {
        const SettingRow& row = g_SettingRows[i];
        void* storage = storageOf(row);
        switch (row.type)
        {
        case SETTING_INT:
            // Small numbers: some counts are capped when they are read.
            *static_cast<int*>(storage) = 2 + i % 50;
            break;
        case SETTING_SWITCH:
            *static_cast<int*>(storage) = 1 - row.defaultNumber;
            break;
        case SETTING_SERIES_NUMBER:
            *static_cast<int*>(storage) = 9000 + i;
            break;
        case SETTING_STRING:
        case SETTING_FONT_FACE:
        case SETTING_WINDOWS_FOLDER:
        case SETTING_TEMP_FOLDER:
            *static_cast<CString*>(storage) = textOf(i);
            break;
        case SETTING_COLOR:
            *static_cast<DWORD*>(storage) = static_cast<DWORD>(0x010000 + i * 0x0101);
            break;
        case SETTING_SIZE:
            *static_cast<SettingSize*>(storage) = SettingSize{i + 1, i + 2};
            break;
        }
    }
    std::wstring path = WriteFile(L"rows.ini");
    ReadDefaults();
    CIniFile ini;
    ini.filePath = path.c_str();
    ASSERT_EQ(INI_LOAD_OK, ini.Load());
    ReadIntSettings(ini);
    LoadSettingsSections(ini, Lent());

    for (int i = 0; i < g_SettingRowCount; ++i)
    {
        const SettingRow& row = g_SettingRows[i];
        const void* storage = storageOf(row);
        std::string where = Utf8(row.section) + " " + Utf8(row.key);
        switch (row.type)
        {
        case SETTING_INT:
            EXPECT_EQ(2 + i % 50, *static_cast<const int*>(storage)) << where;
            break;
        case SETTING_SWITCH:
            EXPECT_EQ(1 - row.defaultNumber, *static_cast<const int*>(storage)) << where;
            break;
        case SETTING_SERIES_NUMBER:
            EXPECT_EQ(9000 + i, *static_cast<const int*>(storage)) << where;
            break;
        case SETTING_STRING:
        case SETTING_FONT_FACE:
        case SETTING_WINDOWS_FOLDER:
        case SETTING_TEMP_FOLDER:
            EXPECT_EQ(textOf(i), *static_cast<const CString*>(storage)) << where;
            break;
        case SETTING_COLOR:
            EXPECT_EQ(static_cast<DWORD>(0x010000 + i * 0x0101), *static_cast<const DWORD*>(storage))
                << where;
            break;
        case SETTING_SIZE:
            EXPECT_EQ(i + 1, static_cast<const SettingSize*>(storage)->width) << where;
            EXPECT_EQ(i + 2, static_cast<const SettingSize*>(storage)->height) << where;
            break;
        }
    }
}

// The rules of the types that change what the file says.
TEST_F(SettingsSchemaTest, TypesTurnOddValuesIntoTheirRules)
{
    std::wstring path = m_dir + L"\\odd.ini";
    std::wstring text = L"[ALLDATA]\r\nFIRSTDIRECTORY=\r\n[SUSIEDATA]\r\nTEMPDIRECTORY=C:\\t\\\r\n"
                        L"[SAVE_BMP]\r\nSAME_NAME=7\r\nSTART_NUMBER=10001\r\n";
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
    CIniFile ini;
    ini.filePath = path.c_str();
    ASSERT_EQ(INI_LOAD_OK, ini.Load());
    g_BmpSaveSettings.startNumber = 5;
    LoadSettingsSections(ini, Lent());
    EXPECT_EQ(CString(L"C:\\QvWindows"), g_FIRSTDIRECTORY); // empty: the Windows folder
    EXPECT_EQ(CString(L"C:\\QvWindows"), g_ENDDIRECTORY);   // missing: the Windows folder
    EXPECT_EQ(CString(L"C:\\t"), m_tempDirectory);          // no trailing backslash
    EXPECT_EQ(1, g_BmpSaveSettings.sameName);               // a switch is 0 or 1
    EXPECT_EQ(0, g_BmpSaveSettings.startNumber);            // beyond the series: 0
}

} // namespace
