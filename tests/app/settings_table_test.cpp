// The integer settings tables: their shape, the defaults from a file without the
// sections, values from the file, the key of both sections, and a write-read round
// trip.
#include "util/IniFile.h"
#include "app/Settings.h"
#include "app/settings/PrintSettings.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace
{

struct TableRef
{
    const wchar_t* section;
    const IntSettingRow* rows;
    int count;
};

const TableRef kTables[] = {
    {L"ALLDATA", g_AllDataSettings, kAllDataSettingCount},
    {L"ALLDATA2", g_AllData2Settings, kAllData2SettingCount},
};

using qvtest::Utf16Bytes;

// Every setting variable is a program-wide global: keep them as they were for the
// other tests.
class SettingsTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const TableRef& t : kTables)
            for (int i = 0; i < t.count; ++i)
                m_saved.push_back(*t.rows[i].variable);
        m_savedSize = g_DIR_HISTORY_DIALOG;
        m_dir = qvtest::ScratchDir();
    }
    void TearDown() override
    {
        size_t n = 0;
        for (const TableRef& t : kTables)
            for (int i = 0; i < t.count; ++i)
                *t.rows[i].variable = m_saved[n++];
        g_DIR_HISTORY_DIALOG = m_savedSize;
    }

    static void FillVariables(int value)
    {
        for (const TableRef& t : kTables)
            for (int i = 0; i < t.count; ++i)
                *t.rows[i].variable = value;
        g_DIR_HISTORY_DIALOG = {value, value};
    }

    void ReadFrom(const std::wstring& text)
    {
        std::wstring path = m_dir + L"\\qv.ini";
        ASSERT_TRUE(qvtest::WriteFileBytes(path, Utf16Bytes(text)));
        CIniFile ini;
        ini.filePath = path.c_str();
        ASSERT_EQ(INI_LOAD_OK, ini.Load());
        ReadIntSettings(ini);
    }

    std::vector<int> m_saved;
    SettingSize m_savedSize = {};
    std::wstring m_dir;
};

TEST_F(SettingsTableTest, TablesHoldEveryKeyOnceWithItsOwnVariable)
{
    std::set<const int*> variables;
    for (const TableRef& t : kTables)
    {
        std::set<std::wstring> keys;
        for (int i = 0; i < t.count; ++i)
        {
            const IntSettingRow& row = t.rows[i];
            std::wstring key(row.key);
            EXPECT_FALSE(key.empty()) << t.section << " row " << i;
            EXPECT_LT(key.size(), 36u);
            EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << key;
            EXPECT_TRUE(variables.insert(row.variable).second) << "shared variable " << key;
            EXPECT_EQ(0, row.reserved);
        }
        const IntSettingRow& end = t.rows[t.count];
        EXPECT_EQ(L'\0', end.key[0]);
        EXPECT_EQ(nullptr, end.variable);
    }
    EXPECT_EQ(302u, variables.size());

    // Position, key and default of rows that mark the order.
    struct Mark
    {
        const IntSettingRow* rows;
        int index;
        const wchar_t* key;
        int defaultValue;
        const int* variable;
    } marks[] = {
        {g_AllDataSettings, 0, L"STARTSIZE", 0, &g_STARTSIZE},
        {g_AllDataSettings, 6, L"FIRSTWIDE", 640, &g_FIRSTWIDE},
        {g_AllDataSettings, 20, L"FONTHEIGHT", -16, &g_FONTHEIGHT},
        {g_AllDataSettings, 54, L"FILERBMPNEXTYEAR", 1999, &g_FILERBMPNEXTYEAR},
        {g_AllDataSettings, 99, L"7Z_PACK_TYPE", 0, &g_7Z_PACK_TYPE},
        {g_AllDataSettings, 138, L"DRIVELISTCURJUMPCTRL", 0, &g_DRIVELISTCURJUMPCTRL},
        {g_AllData2Settings, 0, L"SHIFTRETURNREADREGIST", 0, &g_SHIFTRETURNREADREGIST},
        {g_AllData2Settings, 14, L"DISABLETWIN", 0, &g_DISABLETWIN},
        {g_AllData2Settings, 137, L"MCI_VOLUME", 1000, &g_MCI_VOLUME},
        {g_AllData2Settings, 138, L"DRIVELISTCURJUMPCTRL", 0, &g_DRIVELISTCURJUMPCTRL2},
        {g_AllData2Settings, 162, L"COPY_BUFFER_SIZE_OTHER", 1000, &g_COPY_BUFFER_SIZE_OTHER},
    };
    for (const Mark& m : marks)
    {
        EXPECT_STREQ(m.key, m.rows[m.index].key) << m.index;
        EXPECT_EQ(m.defaultValue, m.rows[m.index].defaultValue) << m.key;
        EXPECT_EQ(m.variable, m.rows[m.index].variable) << m.key;
    }
    EXPECT_STREQ(L"DIR_HISTORY_DIALOG", g_SizeInfoSettings[0].name);
    EXPECT_EQ(&g_DIR_HISTORY_DIALOG, g_SizeInfoSettings[0].size);
}

TEST_F(SettingsTableTest, FileWithoutTheSectionsGivesEveryDefault)
{
    FillVariables(0x5A5A5A);
    ReadFrom(L"[OTHER]\r\nSTARTSIZE=7\r\n");
    for (const TableRef& t : kTables)
        for (int i = 0; i < t.count; ++i)
            EXPECT_EQ(t.rows[i].defaultValue, *t.rows[i].variable) << t.section << " " << t.rows[i].key;
    EXPECT_EQ(0, g_DIR_HISTORY_DIALOG.width);
    EXPECT_EQ(0, g_DIR_HISTORY_DIALOG.height);
}

TEST_F(SettingsTableTest, ValuesInTheFileWin)
{
    FillVariables(0x5A5A5A);
    ReadFrom(L"[ALLDATA]\r\nSTARTSIZE=3\r\nFIRSTWIDE=\r\nFONTHEIGHT=x\r\nFILENAMELONG=12ab\r\nstartpos=9\r\n"
             L"DRIVELISTCURJUMPCTRL=1\r\nDISABLETWIN=1\r\n"
             L"[ALLDATA2]\r\nDISABLETWIN=1\r\nUSE_STR_CMP_LOGICAL_W=1\r\nMCI_VOLUME=-"
             L"20\r\nDRIVELISTCURJUMPCTRL=2\r\n"
             L"[SIZE_INFO]\r\nDIR_HISTORY_DIALOG_W=300\r\nDIR_HISTORY_DIALOG_H=200\r\n");
    struct Case
    {
        const wchar_t* key;
        int* variable;
        int expected;
    } cases[] = {
        {L"STARTSIZE", &g_STARTSIZE, 3},
        {L"FIRSTWIDE (empty value)", &g_FIRSTWIDE, 640},
        {L"FONTHEIGHT (letters)", &g_FONTHEIGHT, 0},
        {L"FILENAMELONG (digits, letters)", &g_FILENAMELONG, 12},
        {L"STARTPOS (key in lower case)", &g_STARTPOS, 0},
        {L"DISABLETWIN", &g_DISABLETWIN, 1},
        {L"USE_STR_CMP_LOGICAL_W", &g_USE_STR_CMP_LOGICAL_W, 1},
        {L"MCI_VOLUME", &g_MCI_VOLUME, -20},
        {L"ALLDATA DRIVELISTCURJUMPCTRL", &g_DRIVELISTCURJUMPCTRL, 1},
        {L"ALLDATA2 DRIVELISTCURJUMPCTRL", &g_DRIVELISTCURJUMPCTRL2, 2},
        {L"DIR_HISTORY_DIALOG_W", &g_DIR_HISTORY_DIALOG.width, 300},
        {L"DIR_HISTORY_DIALOG_H", &g_DIR_HISTORY_DIALOG.height, 200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, *c.variable) << c.key;
}

TEST_F(SettingsTableTest, WrittenSettingsReadBackInTableOrder)
{
    int value = -150;
    for (const TableRef& t : kTables)
        for (int i = 0; i < t.count; ++i)
            *t.rows[i].variable = value++;
    g_DIR_HISTORY_DIALOG = {640, 480};

    std::wstring path = m_dir + L"\\written.ini";
    {
        CIniFile ini;
        ASSERT_TRUE(ini.Create(path.c_str()));
        WriteIntSettings(ini);
    }
    std::string bytes = qvtest::ReadFileBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    std::wstring expected;
    value = -150;
    for (const TableRef& t : kTables)
    {
        expected += L"[" + std::wstring(t.section) + L"]\r\n";
        for (int i = 0; i < t.count; ++i)
            expected += std::wstring(t.rows[i].key) + L"=" + std::to_wstring(value++) + L"\r\n";
    }
    expected += L"[SIZE_INFO]\r\nDIR_HISTORY_DIALOG_W=640\r\nDIR_HISTORY_DIALOG_H=480\r\n";
    EXPECT_EQ(expected, text);

    FillVariables(0x5A5A5A);
    CIniFile ini;
    ini.filePath = path.c_str();
    ASSERT_EQ(INI_LOAD_OK, ini.Load());
    ReadIntSettings(ini);
    value = -150;
    for (const TableRef& t : kTables)
        for (int i = 0; i < t.count; ++i)
            EXPECT_EQ(value++, *t.rows[i].variable) << t.section << " " << t.rows[i].key;
    EXPECT_EQ(640, g_DIR_HISTORY_DIALOG.width);
    EXPECT_EQ(480, g_DIR_HISTORY_DIALOG.height);
}

} // namespace

namespace
{

// A wrong default in the table is read back as that wrong default: these are the
// documented values, written out, not taken from the table.
TEST_F(SettingsTableTest, AFileWithoutTheSectionsGivesTheDocumentedDefaults)
{
    ReadFrom(L"[OTHER]\r\nX=1\r\n");
    struct Case
    {
        const wchar_t* key;
        const int* variable;
        int expected;
    } cases[] = {
        {L"GETVIEWMEM", &g_GETVIEWMEM, 320},
        {L"FILERBMPNEXTYEAR", &g_FILERBMPNEXTYEAR, 1999},
        {L"COPYTOSENDTODIR", &g_COPYTOSENDTODIR, 4},
        {L"ZIPPACKTYPE", &g_ZIPPACKTYPE, 6},
        {L"MCI_ZOOM", &g_MCI_ZOOM, 100},
        {L"PRINTFONTCHARSET", &g_PrintSettings.fontCharSet, 128},
        {L"NETRESOURCECOMMENT", &g_NETRESOURCECOMMENT, 30},
        {L"FONTWEIGHT", &g_FONTWEIGHT, 400},
        {L"NO_DIALOG_LOADING_SIZE", &g_NO_DIALOG_LOADING_SIZE, 500},
        {L"MAX_PREVIEW_FILES", &g_MAX_PREVIEW_FILES, 10000},
        {L"COPY_BUFFER_SIZE_REMOTE", &g_COPY_BUFFER_SIZE_REMOTE, 2000},
        // Most text is UTF-8 today: a first start detects the code.
        {L"VIEWER_CHAR_CODE", &g_VIEWER_CHAR_CODE, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, *c.variable) << c.key;
}

// The print record's integers are rows of the tables: the file fills them, the writer
// writes them.
TEST_F(SettingsTableTest, ThePrintRecordIsFilledAndWrittenByTheTables)
{
    ReadFrom(L"[ALLDATA]\r\nSETUPPRINTER=1\r\nPRINTFONTHEIGHT=-20\r\n[ALLDATA2]\r\nPRINT_SPACE_LEFT=15\r\n"
             L"PRINT_SPACE_BOTTOM=7\r\n");
    EXPECT_EQ(1, g_PrintSettings.selectPrinter);
    EXPECT_EQ(-20, g_PrintSettings.fontHeight);
    EXPECT_EQ(0, g_PrintSettings.fontWidth);
    EXPECT_EQ(15, g_PrintSettings.marginLeft);
    EXPECT_EQ(0, g_PrintSettings.marginRight);
    EXPECT_EQ(7, g_PrintSettings.marginBottom);

    g_PrintSettings.marginTop = 12;
    std::wstring path = m_dir + L"\\out.ini";
    {
        CIniFile out;
        ASSERT_TRUE(out.Create(path.c_str()));
        WriteIntSettings(out);
    }
    CIniFile in;
    in.filePath = path.c_str();
    ASSERT_EQ(INI_LOAD_OK, in.Load());
    EXPECT_EQ(12, in.GetInt(L"ALLDATA2", L"PRINT_SPACE_TOP", -1));
    EXPECT_EQ(-20, in.GetInt(L"ALLDATA", L"PRINTFONTHEIGHT", 0));
}

TEST(StrCmpLogicalW, IsLookedUpAndComparesNumbersByValue)
{
    StrCmpLogicalWProc saved = g_pfnStrCmpLogicalW;
    g_pfnStrCmpLogicalW = nullptr;
    ResolveStrCmpLogicalW();
    ASSERT_NE(nullptr, g_pfnStrCmpLogicalW);
    EXPECT_LT(g_pfnStrCmpLogicalW(L"a9", L"a10"), 0);
    g_pfnStrCmpLogicalW = saved;
}

} // namespace
