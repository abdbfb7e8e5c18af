// Key bindings: the records, the rules that take a binding text apart, and the six
// sets as loaded from and saved to the settings file.
#include "util/IniFile.h"
#include "app/keys/KeyBindings.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace
{

using qvtest::ThrowsInvalidArg;
using qvtest::Utf16File;
using qvtest::W;

CArrayKeyCmdInfo* const s_allSets[] = {&g_FilerKeyCmds,   &g_ArcInfoKeyCmds, &g_ViewerKeyCmds,
                                       &g_GraphicKeyCmds, &g_BinaryKeyCmds,  &g_CommonKeyCmds};

int RowOf(const wchar_t* keyName)
{
    for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
    {
        if (std::wstring(g_KeyTable[row].keyName) == keyName)
            return row;
    }
    ADD_FAILURE() << "no key " << keyName;
    return 0;
}

// Puts something into every entry, so that a load that forgets an entry shows.
void DirtyAllSets()
{
    for (CArrayKeyCmdInfo* set : s_allSets)
    {
        for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        {
            for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
            {
                CKeyCmdEntry& entry = set->GetBinding(modifier, row);
                entry.command = L"@Stale";
                entry.hotKey = 1;
                entry.imeControl = 2;
            }
        }
    }
}

class KeyBindingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = qvtest::ScratchDir();
        DirtyAllSets();
    }

    std::wstring Path(const wchar_t* name) const { return m_dir + L"\\" + name; }

    // Loads the bindings from an ini file made of these UTF-16 lines.
    void LoadFrom(const std::wstring& text)
    {
        std::wstring path = Path(L"load.ini");
        ASSERT_TRUE(qvtest::WriteFileBytes(path, Utf16File(text)));
        CIniFile ini;
        ini.filePath = path.c_str();
        ASSERT_EQ(INI_LOAD_OK, ini.Load());
        LoadKeyBindings(ini);
    }

    std::string SaveTo(const wchar_t* name)
    {
        std::wstring path = Path(name);
        CIniFile ini;
        EXPECT_TRUE(ini.Create(path.c_str()));
        SaveKeyBindings(ini);
        ini.Close();
        return qvtest::ReadFileBytes(path);
    }

    std::wstring m_dir;
};

TEST_F(KeyBindingsTest, EmptyIniGivesTheKeyTableDefaults)
{
    std::wstring path = Path(L"empty.ini");
    ASSERT_TRUE(qvtest::WriteFileBytes(path, ""));
    CIniFile ini;
    ini.filePath = path.c_str();
    EXPECT_EQ(INI_LOAD_EMPTY, ini.Load());
    LoadKeyBindings(ini);

    for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
    {
        const KeyTableRow& key = g_KeyTable[row];
        for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
        {
            SCOPED_TRACE(testing::Message() << "key " << key.keyName << " modifier " << modifier);
            EXPECT_EQ(std::wstring(key.filerDefaults[modifier]),
                      W(g_FilerKeyCmds.GetBinding(modifier, row).command));
            EXPECT_EQ(std::wstring(key.viewerDefaults[modifier]),
                      W(g_ViewerKeyCmds.GetBinding(modifier, row).command));
            EXPECT_EQ(std::wstring(key.graphicDefaults[modifier]),
                      W(g_GraphicKeyCmds.GetBinding(modifier, row).command));
            EXPECT_EQ(std::wstring(key.binaryDefaults[modifier]),
                      W(g_BinaryKeyCmds.GetBinding(modifier, row).command));
            EXPECT_EQ(L"@SameAsFiler", W(g_ArcInfoKeyCmds.GetBinding(modifier, row).command));
            EXPECT_EQ(L"", W(g_CommonKeyCmds.GetBinding(modifier, row).command));
            EXPECT_EQ(0, g_FilerKeyCmds.GetBinding(modifier, row).imeControl);
            EXPECT_EQ(0, g_ArcInfoKeyCmds.GetBinding(modifier, row).imeControl);
            EXPECT_EQ(0, g_CommonKeyCmds.GetBinding(modifier, row).hotKey);
        }
    }
    EXPECT_EQ(L"@Copy", W(g_FilerKeyCmds.GetBinding(0, RowOf(L"C")).command));
    EXPECT_FALSE(HasCommonHotKey());
}

TEST_F(KeyBindingsTest, StoredKeysWinAndMissingOnesTakeTheSetDefault)
{
    const int f1 = RowOf(L"F1");
    g_FilerKeyCmds.GetBinding(0, f1).hotKey = 0;
    LoadFrom(L"[KEYEXEDATA]\r\n"
             L"C_F5=@Copy\r\n"
             L"C_F5_IME_CTRL=2\r\n"
             L"N_C=\r\n"
             L"N_F1_HOT_KEY=1\r\n"
             L"[ARC_INFO_KEY_EXE_DATA]\r\n"
             L"N_A=@Delete\r\n"
             L"N_A_IME_CTRL=1\r\n"
             L"N_B=\r\n"
             L"[VIEWKEYEXEDATA]\r\n"
             L"N_0(TENKEY)=@Quit\r\n");

    // `stored` is the integer that the set keeps: the IME control of the filer and
    // archive sets, the hot-key flag of the common set; -1 for the other sets.
    const struct
    {
        CArrayKeyCmdInfo* set;
        const wchar_t* key;
        int modifier;
        const wchar_t* command;
        int stored;
    } cases[] = {
        {&g_FilerKeyCmds, L"F5", 2, L"@Copy", 2},
        {&g_FilerKeyCmds, L"C", 0, L"", 0}, // present but empty: no default
        {&g_FilerKeyCmds, L"F1", 0, L"@Manualreload", 0},
        {&g_FilerKeyCmds, L"M", 1, L"@Filesupdir", 0},
        {&g_ArcInfoKeyCmds, L"A", 0, L"@Delete", 1},
        {&g_ArcInfoKeyCmds, L"B", 0, L"", 0},
        {&g_ArcInfoKeyCmds, L"C", 0, L"@SameAsFiler", 0},
        {&g_ArcInfoKeyCmds, L"C", 3, L"@SameAsFiler", 0},
        {&g_ViewerKeyCmds, L"0(TENKEY)", 0, L"@Quit", -1},
        {&g_ViewerKeyCmds, L"ESCAPE", 0, L"@Quit", -1},
        {&g_GraphicKeyCmds, L"S", 1, L"@NextSaveBmp", -1},
        {&g_BinaryKeyCmds, L"X", 2, L"@Editend", -1},
        {&g_CommonKeyCmds, L"F1", 0, L"", 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.key << " modifier " << c.modifier);
        const CKeyCmdEntry& entry = c.set->GetBinding(c.modifier, RowOf(c.key));
        EXPECT_EQ(std::wstring(c.command), W(entry.command));
        if (c.set == &g_CommonKeyCmds)
        {
            EXPECT_EQ(c.stored, entry.hotKey);
        }
        else if (c.stored >= 0)
        {
            EXPECT_EQ(c.stored, entry.imeControl);
        }
    }
    // A hot-key line outside the common section is not read.
    EXPECT_EQ(0, g_FilerKeyCmds.GetBinding(0, f1).hotKey);
    // No "COMMON_KEY_DATA" section: no common binding and no hot key.
    EXPECT_FALSE(HasCommonHotKey());
}

TEST_F(KeyBindingsTest, CommonSectionGivesTheHotKeyFlag)
{
    LoadFrom(L"[COMMON_KEY_DATA]\r\n"
             L"S_F1=@Soundlistnext\r\n"
             L"S_F1_HOT_KEY=1\r\n"
             L"N_F2=@Soundpause\r\n");
    const CKeyCmdEntry& shiftF1 = g_CommonKeyCmds.GetBinding(1, RowOf(L"F1"));
    EXPECT_EQ(L"@Soundlistnext", W(shiftF1.command));
    EXPECT_EQ(1, shiftF1.hotKey);
    EXPECT_EQ(0, g_CommonKeyCmds.GetBinding(0, RowOf(L"F2")).hotKey);
    EXPECT_TRUE(HasCommonHotKey());
}

// Gives every set a mix of texts and integers, different per set.
void FillSample()
{
    int n = 0;
    for (CArrayKeyCmdInfo* set : s_allSets)
    {
        for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        {
            for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier, ++n)
            {
                CKeyCmdEntry& entry = set->GetBinding(modifier, row);
                switch (n % 5)
                {
                case 0:
                    entry.command.Empty();
                    break;
                case 1:
                    entry.command.Format(L"@Keyjumpdir C:\\私の フォルダ\\%d", n);
                    break;
                case 2:
                    entry.command.Format(L"C:\\Program Files\\tool %d.exe, -x=%%c,%%m ", n);
                    break;
                case 3:
                    entry.command = L"@sameasfiler";
                    break;
                default:
                    entry.command = L"#KEY1,plugin.dll";
                    break;
                }
                entry.imeControl = n % 3;
                entry.hotKey = n % 2;
            }
        }
    }
}

TEST_F(KeyBindingsTest, SaveThenLoadRoundTripsEverySet)
{
    FillSample();
    std::vector<CArrayKeyCmdInfo> saved(6);
    for (int i = 0; i < 6; ++i)
        saved[i].CopyFrom(*s_allSets[i]);

    std::string first = SaveTo(L"first.ini");
    DirtyAllSets();
    CIniFile ini;
    ini.filePath = Path(L"first.ini").c_str();
    ASSERT_EQ(INI_LOAD_OK, ini.Load());
    LoadKeyBindings(ini);
    std::string second = SaveTo(L"second.ini");
    EXPECT_TRUE(first == second) << "the second save differs from the first";

    for (int i = 0; i < 6; ++i)
    {
        // Only the integers that the set stores come back.
        bool ime = s_allSets[i] == &g_FilerKeyCmds || s_allSets[i] == &g_ArcInfoKeyCmds;
        bool hot = s_allSets[i] == &g_CommonKeyCmds;
        for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        {
            for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
            {
                const CKeyCmdEntry& want = saved[i].GetBinding(modifier, row);
                const CKeyCmdEntry& got = s_allSets[i]->GetBinding(modifier, row);
                SCOPED_TRACE(testing::Message() << "set " << i << " row " << row << " modifier " << modifier);
                EXPECT_EQ(W(want.command), W(got.command));
                if (ime)
                {
                    EXPECT_EQ(want.imeControl, got.imeControl);
                }
                if (hot)
                {
                    EXPECT_EQ(want.hotKey, got.hotKey);
                }
            }
        }
    }
}

TEST_F(KeyBindingsTest, SavedFileLayout)
{
    for (CArrayKeyCmdInfo* set : s_allSets)
    {
        for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        {
            for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
            {
                CKeyCmdEntry& entry = set->GetBinding(modifier, row);
                entry.command.Empty();
                entry.hotKey = 0;
                entry.imeControl = 0;
            }
        }
    }
    g_FilerKeyCmds.GetBinding(2, RowOf(L"C")).command = L"@Copy";
    g_FilerKeyCmds.GetBinding(2, RowOf(L"C")).imeControl = 1;
    g_CommonKeyCmds.GetBinding(1, RowOf(L"F1")).command = L"@Soundstop";
    g_CommonKeyCmds.GetBinding(1, RowOf(L"F1")).hotKey = 1;

    std::string bytes = SaveTo(L"layout.ini");
    ASSERT_GE(bytes.size(), 2u);
    ASSERT_EQ(std::string("\xFF\xFE", 2), bytes.substr(0, 2));
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                      (bytes.size() - 2) / sizeof(wchar_t));

    // Every entry is written, empty ones included: one text line per entry, one IME
    // line in the filer and archive sets, one hot-key line in the common set.
    size_t lines = 0;
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2))
        ++lines;
    EXPECT_EQ(6u + 89u * 4u * (2 + 1 + 1 + 1 + 2 + 2), lines);

    size_t last = 0;
    for (const wchar_t* section : {L"[KEYEXEDATA]", L"[VIEWKEYEXEDATA]", L"[GRAPHICKEYEXEDATA]",
                                   L"[BINARYKEYEXEDATA]", L"[ARC_INFO_KEY_EXE_DATA]", L"[COMMON_KEY_DATA]"})
    {
        size_t at = text.find(section);
        ASSERT_NE(std::wstring::npos, at) << section;
        EXPECT_LE(last, at) << section;
        last = at;
    }
    EXPECT_EQ(0u, text.find(L"[KEYEXEDATA]\r\nN_A=\r\nN_A_IME_CTRL=0\r\nS_A=\r\nS_A_IME_CTRL=0\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"\r\nC_C=@Copy\r\nC_C_IME_CTRL=1\r\nA_C=\r\n"));
    EXPECT_NE(std::wstring::npos,
              text.find(L"\r\nS_F1=@Soundstop\r\nS_F1_HOT_KEY=1\r\nC_F1=\r\nC_F1_HOT_KEY=0\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"[VIEWKEYEXEDATA]\r\nN_A=\r\nS_A=\r\n"));
    const std::wstring end = L"\r\nA_PAUSE=\r\nA_PAUSE_HOT_KEY=0\r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(end, text.substr(text.size() - end.size()));
}

TEST(KeyBindingText, ProgramBindingsSplitAtTheFirstComma)
{
    const struct
    {
        const wchar_t* text;
        BOOL defaultExe;
        const wchar_t* program;
        const wchar_t* parameters;
    } cases[] = {
        {L"C:\\Program Files\\Tool\\tool.exe,%c", FALSE, L"C:\\Program Files\\Tool\\tool.exe", L"%c"},
        {L"C:\\My Tools\\a b.exe,-o x,y %m", FALSE, L"C:\\My Tools\\a b.exe", L"-o x,y %m"},
        {L"notepad.exe", FALSE, L"notepad.exe", L""},
        {L"@Defaultexe C:\\Program Files\\ed.exe", TRUE, L"C:\\Program Files\\ed.exe", L""},
        {L"@Defaultexe C:\\a b\\x.exe,-n %m", TRUE, L"C:\\a b\\x.exe", L"-n %m"},
        {L"@defaultexe x.exe", FALSE, L"@defaultexe x.exe", L""}, // the keyword's case counts
    };
    for (const auto& c : cases)
    {
        CString program = L"old", parameters = L"old";
        EXPECT_EQ(c.defaultExe, SplitProgramBinding(c.text, program, parameters)) << c.text;
        EXPECT_EQ(std::wstring(c.program), W(program)) << c.text;
        EXPECT_EQ(std::wstring(c.parameters), W(parameters)) << c.text;
    }
}

TEST(KeyBindingText, KeywordEndsAtTheFirstBlank)
{
    const struct
    {
        const wchar_t* text;
        const wchar_t* head;
        const wchar_t* tail;
    } cases[] = {
        {L"@Copy", L"@Copy", L""},
        {L"@Keyjumpdir C:\\My Documents\\a b", L"@Keyjumpdir", L"C:\\My Documents\\a b"},
        {L"@Defaultcpl main.cpl マウス", L"@Defaultcpl", L"main.cpl マウス"},
        {L"", L"", L""},
    };
    for (const auto& c : cases)
    {
        CString head = L"old", tail = L"old";
        SplitBindingText(c.text, head, tail);
        EXPECT_EQ(std::wstring(c.head), W(head)) << c.text;
        EXPECT_EQ(std::wstring(c.tail), W(tail)) << c.text;
    }
    EXPECT_TRUE(IsSameAsFilerBinding(L"@SameAsFiler"));
    EXPECT_TRUE(IsSameAsFilerBinding(L"@SAMEASFILER"));
    EXPECT_FALSE(IsSameAsFilerBinding(L"@SameAsFiler "));
    EXPECT_FALSE(IsSameAsFilerBinding(L""));
}

TEST(KeyCmdArray, BoundsAndCopy)
{
    CArrayKeyCmdInfo a;
    EXPECT_EQ(89, a.GetSize());
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetBinding(4, 0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetBinding(-1, 0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetBinding(0, 89); }));

    CKeyCmdEntry& entry = a.GetBinding(3, 88);
    entry.command = L"@Quit";
    entry.hotKey = 1;
    entry.imeControl = 2;
    a.SetSize(89 + 1);
    CArrayKeyCmdInfo b;
    b.CopyFrom(a);
    EXPECT_EQ(90, b.GetSize());
    EXPECT_EQ(L"@Quit", W(b.GetBinding(3, 88).command));
    EXPECT_EQ(1, b.GetBinding(3, 88).hotKey);
    EXPECT_EQ(2, b.GetBinding(3, 88).imeControl);
    EXPECT_EQ(L"", W(b.GetBinding(2, 88).command));
}

} // namespace
