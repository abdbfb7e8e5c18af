// The general sections of the settings file: value formats, list limits, the
// per-user entries, and a load-save-load round trip of every section.
#include "app/settings/SettingsSections.h"
#include "app/settings/GeneralSections.h"

#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/NetworkAccounts.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/MediaSettings.h"
#include "tests/common/TestSupport.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace
{

using qvtest::Items;
using qvtest::W;

class GeneralSectionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = qvtest::ScratchDir();
        g_WindowsDir = L"C:\\windows";
        ResetSettingsSections();
    }
    void TearDown() override { ResetSettingsSections(); }

    // Loads `text` (lines separated by "\r\n") as a UTF-16 settings file.
    void Load(const std::wstring& text)
    {
        std::wstring path = dir + L"\\in.ini";
        std::string bytes("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
        reader.filePath = path.c_str();
        ASSERT_EQ(INI_LOAD_OK, reader.Load());
    }

    // What `save` writes into a new file, as text without the byte-order mark.
    std::wstring Save(const std::function<void(CIniFile&)>& save)
    {
        std::wstring path = dir + L"\\out.ini";
        CIniFile writer;
        EXPECT_TRUE(writer.Create(path.c_str()));
        save(writer);
        writer.Close();
        std::string bytes = qvtest::ReadFileBytes(path);
        EXPECT_GE(bytes.size(), 2u);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    }

    std::wstring dir;
    CIniFile reader;
};

// ---- Value formats ----------------------------------------------------------------

TEST_F(GeneralSectionsTest, ColourValuesReadSixHexDigitsAndWriteLowerCase)
{
    struct Case
    {
        const wchar_t* value;
        DWORD expected;
    } cases[] = {
        {L"0000ff", 0x0000ff}, {L"ABCDEF", 0xabcdef}, {L"1234567", 0x123456}, // rest ignored
        {L"12345", 0x0000ff},  {L"12345g", 0x0000ff}, {L"", 0x0000ff},        {L" 12345", 0x0000ff},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.value);
        Load(std::wstring(L"[COLORDATA]\r\nREAD_ONLY_COLOR=") + c.value + L"\r\n");
        LoadSectionColorNamed(reader);
        EXPECT_EQ(c.expected, g_DisplayColors[COLOR_READ_ONLY]);
    }
    // Red sits in the low byte; a key whose default is black tells a read value from
    // the default.
    const Case pure[] = {
        {L"0000ff", 0x0000ff}, {L"ff0000", 0xff0000}, {L"ff00", 0}, {L"ff00z0", 0}, {L"0x00ff", 0},
    };
    for (const Case& c : pure)
    {
        SCOPED_TRACE(c.value);
        Load(std::wstring(L"[COLORDATA]\r\nBACK_GROUND_COLOR=") + c.value + L"\r\n");
        LoadSectionColorNamed(reader);
        EXPECT_EQ(c.expected, g_DisplayColors[COLOR_BACK_GROUND]);
    }
    g_DisplayColors[COLOR_READ_ONLY] = 0xABCDEF;
    g_DisplayColors[COLOR_TAG] = 0x1123456; // more than 24 bits
    std::wstring text = Save(SaveSectionColorData);
    EXPECT_NE(std::wstring::npos, text.find(L"READ_ONLY_COLOR=abcdef\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"BINARYff=ffffff\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"TAG_COLOR=123456\r\n"));
    // Kind colours first, then the named ones, then the byte colours.
    EXPECT_LT(text.find(L"KINDCOLOR99="), text.find(L"READ_ONLY_COLOR="));
    EXPECT_LT(text.find(L"PREVIEW_DIR_ICON_BACK_COLOR="), text.find(L"BINARY00="));
}

TEST_F(GeneralSectionsTest, FilerInfoRecordsReadCharacterPerSwitch)
{
    struct Case
    {
        const wchar_t* value;
        FilerInfoPreset expected; // date, time, noSeconds, size, attributes
    } cases[] = {
        {L"1", {1, 0, 0, 0, 0}},      {L"01", {0, 1, 0, 0, 0}},    {L"001", {0, 0, 0, 1, 0}},
        {L"0001", {0, 0, 1, 0, 0}},   {L"00001", {0, 0, 0, 0, 1}}, {L"1x1", {1, 0, 0, 1, 0}},
        {L"111111", {1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.value);
        Load(std::wstring(L"[FILERINFODATA]\r\nFILERINFO0=00000\r\nFILERINFO2=") + c.value + L"\r\n");
        LoadSectionFilerInfo(reader);
        const FilerInfoPreset& p = g_FilerInfoPresets[2];
        EXPECT_EQ(c.expected.date, p.date);
        EXPECT_EQ(c.expected.time, p.time);
        EXPECT_EQ(c.expected.noSeconds, p.noSeconds);
        EXPECT_EQ(c.expected.size, p.size);
        EXPECT_EQ(c.expected.attributes, p.attributes);
    }
    // Written in the same character order: date, time, size, no seconds, attributes.
    g_FilerInfoPresets[1] = {1, 0, 1, 0, 0};
    EXPECT_NE(std::wstring::npos, Save(SaveSectionFilerInfo).find(L"FILERINFO1=10010\r\n"));
}

TEST_F(GeneralSectionsTest, FilerInfoRecordZeroMissingTakesTheOlderSettings)
{
    g_DATEWRITEFLAG = 1, g_TIMEWRITEFLAG = 1, g_NOTSECWRITE = 1, g_SIZEWRITEFLAG = 0, g_ATTRIBUTES_WRITE = 1;
    Load(L"[FILERINFODATA]\r\nFILERINFO1=1\r\n");
    LoadSectionFilerInfo(reader);
    g_DATEWRITEFLAG = 0, g_TIMEWRITEFLAG = 0, g_NOTSECWRITE = 0, g_SIZEWRITEFLAG = 1, g_ATTRIBUTES_WRITE = 0;
    const FilerInfoPreset& p = g_FilerInfoPresets[0];
    EXPECT_EQ(1, p.date);
    EXPECT_EQ(1, p.time);
    EXPECT_EQ(1, p.noSeconds);
    EXPECT_EQ(0, p.size);
    EXPECT_EQ(1, p.attributes);
    EXPECT_EQ(0, g_FilerInfoPresets[3].date + g_FilerInfoPresets[3].size); // others start off
}

TEST_F(GeneralSectionsTest, DisplayFilterSlotsReadLastCharacterAsBitZero)
{
    struct Case
    {
        const wchar_t* value;
        int mask;
    } cases[] = {
        {L"1", 0x01}, {L"10", 0x02}, {L"100000", 0x20}, {L"010101", 0x15}, {L"x1", 0x01}, {L"1111111", 0x3f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.value);
        Load(std::wstring(L"[DISP_FILE_SETTING]\r\n3=") + c.value + L"\r\n");
        LoadSectionDispFileSetting(reader);
        EXPECT_EQ(c.mask, g_DisplayFilterSlots[3]);
    }
    // A missing slot takes the six current settings.
    int saved[] = {g_HIDDENVIEWFLAG,      g_DISP_SYSTEM_FILE,  g_DISP_FIRST_DOT_FILE,
                   g_DISP_READ_ONLY_FILE, g_NOTVIEWCURRENTDIR, g_NOTVIEWUPDIR};
    g_HIDDENVIEWFLAG = 1, g_DISP_SYSTEM_FILE = 0, g_DISP_FIRST_DOT_FILE = 0, g_DISP_READ_ONLY_FILE = 1;
    g_NOTVIEWCURRENTDIR = 0, g_NOTVIEWUPDIR = 1;
    Load(L"[DISP_FILE_SETTING]\r\n");
    LoadSectionDispFileSetting(reader);
    g_HIDDENVIEWFLAG = saved[0], g_DISP_SYSTEM_FILE = saved[1], g_DISP_FIRST_DOT_FILE = saved[2];
    g_DISP_READ_ONLY_FILE = saved[3], g_NOTVIEWCURRENTDIR = saved[4], g_NOTVIEWUPDIR = saved[5];
    EXPECT_EQ(0x29, g_DisplayFilterSlots[0]);
    EXPECT_NE(std::wstring::npos, Save(SaveSectionDispFileSetting).find(L"4=101001\r\n"));
}

// ---- Lists ----------------------------------------------------------------------------

TEST_F(GeneralSectionsTest, NewFileKindsTakeTheFirstTwentyAndStopAtTheNextGap)
{
    Load(L"[MAKENEWFILE]\r\nKIND0=txt\r\nDISPLAY0=Text\r\nKIND25=doc\r\n");
    LoadSectionMakeNewFile(reader);
    ASSERT_EQ(20, g_MakeNewFileKinds.GetSize());
    EXPECT_EQ(L"txt", W(g_MakeNewFileKinds[0].m_extension));
    EXPECT_EQ(L"Text", W(g_MakeNewFileKinds[0].m_displayName));
    EXPECT_TRUE(g_MakeNewFileKinds[19].m_extension.IsEmpty());

    Load(L"[MAKENEWFILE]\r\nKIND19=a\r\nKIND20=b\r\nKIND21=c\r\nKIND23=d\r\n");
    LoadSectionMakeNewFile(reader);
    EXPECT_EQ(22, g_MakeNewFileKinds.GetSize());
}

TEST_F(GeneralSectionsTest, JumpGroupsStopAtTheirFirstGapAndUseTwoDigitKeysAfterGroupZero)
{
    g_SUMDIRJUMPGROUP = 2;
    Load(L"[JUMPDATA]\r\nGROUP0=main\r\nTODIR0=C:\\a\r\nDIRKEY0=A\r\nTODIR1=C:\\b\r\nTODIR3=C:\\d\r\n"
         L"GROUP1=more\r\nTODIR0100=D:\\x\r\nDISPLAY0100=x\r\nTODIR1=wrong\r\n");
    LoadSectionJumpData(reader);
    ASSERT_EQ(2, g_JumpGroups.GetSize());
    ASSERT_EQ(2, g_JumpGroups[0].m_entries.GetSize());
    EXPECT_EQ(L"A", W(g_JumpGroups[0].m_entries[0].m_keyName));
    ASSERT_EQ(1, g_JumpGroups[1].m_entries.GetSize());
    EXPECT_EQ(L"D:\\x", W(g_JumpGroups[1].m_entries[0].m_directory));
    EXPECT_EQ(L"x", W(g_JumpGroups[1].m_entries[0].m_display));
    EXPECT_NE(std::wstring::npos, Save(SaveSectionJumpData).find(L"GROUP1=more\r\nTODIR0100=D:\\x\r\n"));

    // Out of range counts from a hand-edited file: at least one group, and no more than
    // the two-digit keys can tell apart.
    const int counts[][2] = {{0, 1}, {-3, 1}, {100, 99}, {2000000000, 99}};
    for (const auto& count : counts)
    {
        g_SUMDIRJUMPGROUP = count[0];
        LoadSectionJumpData(reader);
        EXPECT_EQ(count[1], g_SUMDIRJUMPGROUP);
        EXPECT_EQ(count[1], g_JumpGroups.GetSize());
    }
}

TEST_F(GeneralSectionsTest, AHugeCursorListLengthIsCappedInsteadOfExhaustingMemory)
{
    const int saved = g_SUMSAVECURPOS;
    g_SUMSAVECURPOS = 2000000000;
    Load(L"[SAVECURPOS]\r\nDIR0=C:\\cur\r\n");
    LoadSectionSaveCurPos(reader);
    EXPECT_EQ(10000, g_SUMSAVECURPOS);
    EXPECT_EQ(10000, g_SaveCursorPositions.GetSize());
    g_SUMSAVECURPOS = saved;
    g_SaveCursorPositions.SetSize(saved);
}

TEST_F(GeneralSectionsTest, ListMaximaAndGaps)
{
    std::wstring text = L"[SPECIALCOPYTO]\r\n";
    for (int i = 0; i < 25; ++i)
        text += L"DIR" + std::to_wstring(i) + L"=d" + std::to_wstring(i) + L"\r\n";
    text += L"[SOUNDLIST]\r\n";
    for (int i = 0; i < 8; ++i)
        text += L"LIST" + std::to_wstring(i) + L"=s\r\n";
    text += L"[RENAMEHISTORY]\r\nNAME0=a\r\nNAME2=c\r\n[SELECTDIR]\r\nTODIR0=x\r\nTODIR1=y\r\nTODIR2=z\r\n";
    Load(text);
    int savedCount = g_SUMCOPYPASTDIRECTORY;
    g_SUMCOPYPASTDIRECTORY = 2;
    LoadSectionSpecialCopyTo(reader);
    LoadSectionSoundList(reader);
    LoadSectionRenameHistory(reader);
    LoadSectionSelectDir(reader);
    g_SUMCOPYPASTDIRECTORY = savedCount;
    EXPECT_EQ(20, g_SpecialCopyToDirs.GetSize());
    EXPECT_EQ(5, g_PlayedFileHistory.GetSize());
    EXPECT_EQ(std::vector<std::wstring>{L"a"}, Items(g_RenameHistory));
    EXPECT_EQ((std::vector<std::wstring>{L"x", L"y"}), Items(g_SelectDirHistory));
}

TEST_F(GeneralSectionsTest, SectionNamesIgnoreCaseKeysDoNotAndSectionsNeverMix)
{
    g_SAVECURSORPOSITION = 1;
    Load(L"[specialcopyto]\r\nDIR0=found\r\ndir1=lost\r\n[SaveCurPos]\r\nDIR0=C:\\cur\r\nNAME0=n\r\n"
         L"[DIR_HISTORY]\r\nDIR0=C:\\hist\r\n");
    LoadSectionSpecialCopyTo(reader);
    LoadSectionSaveCurPos(reader);
    g_SAVECURSORPOSITION = 0;
    EXPECT_EQ(std::vector<std::wstring>{L"found"}, Items(g_SpecialCopyToDirs));
    ASSERT_EQ(g_SUMSAVECURPOS, g_SaveCursorPositions.GetSize());
    EXPECT_EQ(L"C:\\cur", W(g_SaveCursorPositions[0].m_directory));
    EXPECT_TRUE(g_SaveCursorPositions[1].m_directory.IsEmpty());
}

TEST_F(GeneralSectionsTest, EmptyLauncherIsWrittenAsAnEmptyFirstKey)
{
    CStringArray exe, par, key, exeDir;
    EXPECT_EQ(L"[LANCHER]\r\nEXE0=\r\n",
              Save([&](CIniFile& ini) { SaveSectionLancher(ini, exe, par, key, exeDir); }));

    Load(L"[LANCHER]\r\nEXE0=a.exe\r\nKEY0=F1\r\nEXE1=b.exe\r\nEXE_DIR1=C:\\b\r\nEXE3=lost.exe\r\n");
    LoadSectionLancher(reader, exe, par, key, exeDir);
    EXPECT_EQ((std::vector<std::wstring>{L"a.exe", L"b.exe"}), Items(exe));
    EXPECT_EQ((std::vector<std::wstring>{L"F1", L""}), Items(key));
    EXPECT_EQ(L"[LANCHER]\r\nEXE0=a.exe\r\nPAR0=\r\nKEY0=F1\r\nEXE_DIR0=\r\n"
              L"EXE1=b.exe\r\nPAR1=\r\nKEY1=\r\nEXE_DIR1=C:\\b\r\nEXE2=\r\n",
              Save([&](CIniFile& ini) { SaveSectionLancher(ini, exe, par, key, exeDir); }));
}

// ---- "USERINI" and "ALLDATA" ------------------------------------------------------

TEST_F(GeneralSectionsTest, UserPathsAreSavedWithTheirFolder)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* saved;
    } cases[] = {
        {L"me.ini", L"C:\\qv\\me.ini"},
        {L"sub\\me.ini", L"sub\\me.ini"},
        {L"D:\\ini\\me.ini", L"D:\\ini\\me.ini"},
        {L"\\\\server\\share\\me.ini", L"\\\\server\\share\\me.ini"},
        {L"", L""},
    };
    for (const Case& c : cases)
    {
        CString saved;
        MakeSavedUserIniPath(c.path, L"C:\\qv", saved);
        EXPECT_EQ(c.saved, W(saved)) << c.path;
    }
}

TEST_F(GeneralSectionsTest, UserEntryIsReplacedByExactNameElseAppended)
{
    Load(L"[USERINI]\r\nalice=@C:\\a.ini\r\nbob=C:\\b.ini\r\n");
    CStringArray names, values;
    LoadUserIniEntries(reader, names, values);
    ASSERT_EQ(2, names.GetSize());

    CString bare;
    MakeSavedUserIniPath(L"b.ini", L"C:\\qv", bare);
    SetUserIniEntry(names, values, L"bob", bare, 1);
    SetUserIniEntry(names, values, L"Alice", L"C:\\qv\\A.ini", 0);
    ASSERT_EQ(3, names.GetSize());
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        if (names[i] == L"bob")
            EXPECT_EQ(L"@C:\\qv\\b.ini", W(values[i]));
        else if (names[i] == L"alice")
            EXPECT_EQ(L"@C:\\a.ini", W(values[i]));
        else
            EXPECT_EQ(L"C:\\qv\\A.ini", W(values[i]));
    }
    std::wstring text = Save([&](CIniFile& ini) { SaveUserIniEntries(ini, names, values); });
    EXPECT_NE(std::wstring::npos, text.find(L"Alice=C:\\qv\\A.ini\r\n"));
}

TEST_F(GeneralSectionsTest, AllDataStringsDefaultsAndWindowsDirectoryForEmptyStarts)
{
    Load(L"[ALLDATA]\r\nFIRSTDIRECTORY=\r\nDOSSHELL=cmd.exe\r\n");
    LoadAllDataFontNames(reader);
    LoadAllDataStrings(reader);
    EXPECT_EQ(L"ＭＳ 明朝", W(g_FONTNAME));
    EXPECT_EQ(L"cmd.exe", W(g_DOSSHELL));
    EXPECT_EQ(L"powershell.exe", W(g_POWER_SHELL));
    EXPECT_EQ(L"C:\\windows", W(g_FIRSTDIRECTORY));
    EXPECT_EQ(L"C:\\windows", W(g_ENDDIRECTORY));
    EXPECT_TRUE(g_ENDDIRECTORY2.IsEmpty());
    EXPECT_EQ(L"00:00:00", W(g_SET_SAME_TIME));
}

// ---- Round trip -----------------------------------------------------------------------

void LoadAll(CIniFile& ini, CStringArray* launcher)
{
    LoadAllDataFontNames(ini);
    LoadAllDataStrings(ini);
    LoadSectionFilerInfo(ini);
    LoadSectionSpecialCopyTo(ini);
    LoadSectionWildcard(ini);
    LoadSectionColorNamed(ini);
    LoadSectionColorKinds(ini);
    LoadSectionKindExe(ini);
    LoadSectionJumpData(ini);
    LoadSectionSelectDir(ini);
    LoadSectionFilerBmp(ini);
    LoadSectionSoundList(ini);
    LoadSectionRenameHistory(ini);
    LoadSectionExeHistory(ini);
    LoadSectionLancher(ini, launcher[0], launcher[1], launcher[2], launcher[3]);
    LoadSectionFilerUserMenu(ini);
    LoadSectionNotViewMenu(ini);
    LoadSectionVirtualDrive(ini);
    LoadSectionNetwork(ini);
    LoadSectionSaveCurPos(ini);
    LoadSectionMakeNewFile(ini);
    LoadSectionReloadSetting(ini);
    LoadSectionOrderListDirJump(ini);
    LoadSectionTimeMacro(ini);
    LoadSectionFindFileDlgInf(ini);
    LoadSectionDispFileSetting(ini);
    LoadSectionDialogOtherWindow(ini);
    LoadSectionExecute(ini);
}

void SaveAll(CIniFile& ini, CStringArray* launcher)
{
    SaveSectionFilerInfo(ini);
    SaveSectionSpecialCopyTo(ini);
    SaveSectionWildcard(ini);
    SaveAllDataStrings(ini);
    SaveSectionColorData(ini);
    SaveSectionKindExe(ini);
    SaveSectionJumpData(ini);
    SaveSectionSelectDir(ini);
    SaveSectionFilerBmp(ini);
    SaveSectionSoundList(ini);
    SaveSectionRenameHistory(ini);
    SaveSectionExeHistory(ini);
    SaveSectionLancher(ini, launcher[0], launcher[1], launcher[2], launcher[3]);
    SaveSectionFilerUserMenu(ini);
    SaveSectionNotViewMenu(ini);
    SaveSectionVirtualDrive(ini);
    SaveSectionNetwork(ini);
    SaveSectionSaveCurPos(ini);
    SaveSectionMakeNewFile(ini);
    SaveSectionReloadSetting(ini);
    SaveSectionOrderListDirJump(ini);
    SaveSectionTimeMacro(ini);
    SaveSectionFindFileDlgInf(ini);
    SaveSectionDispFileSetting(ini);
    SaveSectionDialogOtherWindow(ini);
    SaveSectionExecute(ini);
}

TEST_F(GeneralSectionsTest, EverySectionSurvivesLoadSaveLoadByteForByte)
{
    g_SAVECURSORPOSITION = 1;
    g_SUMDIRJUMPGROUP = 2;
    CStringArray launcher[4];
    Load(L"[ALLDATA]\r\nFONTNAME=Arial\r\nBACKBITMAPNAME=C:\\p\\b.bmp\r\nENDDIRECTORY2=D:\\\r\n"
         L"[FILERINFODATA]\r\nFILERINFO0=11010\r\nFILERINFO4=1\r\n"
         L"[SPECIALCOPYTO]\r\nDIR0=C:\\to\r\n[WILDCARD]\r\nFILTER0=*.txt\r\nFILTER1=*.c\r\n"
         L"[COLORDATA]\r\nTAG_COLOR=123ABC\r\nBINARY7f=00ff00\r\nKINDCOLORNAME3=txt "
         L"doc\r\nKINDCOLOR3=ff00ff\r\n"
         L"[KINDEXEDATA]\r\nKINDEXENAME0=txt\r\nKINDEXE0=notepad.exe\r\nKINDEXEPARAM0=%f\r\n"
         L"[KINDEXEDATASHIFT]\r\nDISPLAY_NAME79=last\r\n"
         L"[JUMPDATA]\r\nGROUP0=g\r\nTODIR0=C:\\j\r\nDIRKEY0=J\r\nGROUP1=h\r\nTODIR0100=E:\\\r\n"
         L"[SELECTDIR]\r\nTODIR0=C:\\s\r\n[FILERBMP]\r\nBMP0=C:\\p\\a.bmp\r\n[SOUNDLIST]\r\nLIST0=C:\\m."
         L"mp3\r\n"
         L"[RENAMEHISTORY]\r\nNAME0=*.bak\r\n[EXEHISTORY]\r\nEXE0=x.exe\r\nEXEPARAM0=-v\r\n"
         L"[LANCHER]\r\nEXE0=a.exe\r\nPAR0=%f\r\nKEY0=F2\r\nEXE_DIR0=C:\\\r\n"
         L"[FILERUSERMENU]\r\nMENU3=@Copy\r\nVIEW3=コピー\r\n[NOTVIEWMENU]\r\nMENU0503=1\r\n"
         L"[VIRTUALDRIVE]\r\nQDRIVE=1\r\n[NETWORK]\r\nRES0=\\\\srv\\s\r\nUSER0=u\r\nPASS0=p w\r\n"
         L"[SAVECURPOS]\r\nDIR0=C:\\c\r\nNAME0=f.txt\r\n[MAKENEWFILE]\r\nKIND0=txt\r\nSHELLNEW0=NullFile\r\n"
         L"[RELOAD_SETTING]\r\nENABLE1=1\r\nTIME4=9\r\n[ORDER_LIST_DIR_JUMP]\r\nITEM0=2\r\nWIDTH2=80\r\n"
         L"[TIME_MACRO]\r\nDEF2=YYYYMMDD\r\n[FIND_FILE_DLG_INF]\r\nINIT=1\r\nTOP=10\r\nCOLUMN4=7\r\n"
         L"SEARCH_STRING0=abc\r\n[DISP_FILE_SETTING]\r\n2=111111\r\n"
         L"[DIALOG_OTHER_WINDOW]\r\nCFindFileDlg=1\r\nDIR_HISTORY_DIALOG=1\r\n[EXECUTE]\r\nFILE=y."
         L"exe\r\nPARAMETER=-q\r\n");
    LoadAll(reader, launcher);
    std::wstring first = Save([&](CIniFile& ini) { SaveAll(ini, launcher); });

    Load(first);
    LoadAll(reader, launcher);
    std::wstring second = Save([&](CIniFile& ini) { SaveAll(ini, launcher); });
    g_SAVECURSORPOSITION = 0;
    g_SUMDIRJUMPGROUP = 1;

    EXPECT_EQ(first, second);
    for (const wchar_t* line : {L"FILERINFO0=11010\r\n",
                                L"FONTNAME=Arial\r\n",
                                L"TAG_COLOR=123abc\r\n",
                                L"BINARY7f=00ff00\r\n",
                                L"KINDCOLORNAME3=txt doc\r\nKINDCOLOR3=ff00ff\r\n",
                                L"KINDEXEPARAM0=%f\r\n",
                                L"DISPLAY_NAME79=last\r\n",
                                L"TODIR0100=E:\\\r\n",
                                L"MENU3=@Copy\r\nVIEW3=コピー\r\n",
                                L"MENU0503=1\r\n",
                                L"QDRIVE=1\r\n",
                                L"PASS0=p w\r\n",
                                L"NAME0=f.txt\r\n",
                                L"SHELLNEW0=NullFile\r\n",
                                L"KIND19=\r\n",
                                L"ENABLE1=1\r\n",
                                L"TIME4=9\r\n",
                                L"WIDTH2=80\r\n",
                                L"DEF2=YYYYMMDD\r\n",
                                L"COLUMN4=7\r\n",
                                L"SEARCH_STRING0=abc\r\n",
                                L"2=111111\r\n",
                                L"CFindFileDlg=1\r\nDIR_HISTORY_DIALOG=1\r\n",
                                L"PARAMETER=-q\r\n",
                                L"EXE_DIR0=C:\\\r\nEXE1=\r\n"})
        EXPECT_NE(std::wstring::npos, first.find(line)) << line;
}

} // namespace
