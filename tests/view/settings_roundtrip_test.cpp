// The settings file as a whole: the writer's fixed section order, a load-save round
// trip that changes no byte, a hand-written file that survives, and the reader's
// decisions on start directories, jump groups and the background picture.
#include "tests/view/SettingsTestSupport.h"

#include "util/PathHelpers.h"
#include "archiveclient/codecs/SevenZipLibrary.h"
#include "tools/cpl/AppletCommands.h"

using namespace settingstest;

namespace
{

// The order the writer keeps; "USERINI" comes first because a user name is set.
const wchar_t* const kSectionOrder[] = {
    L"USERINI",
    L"FILERINFODATA",
    L"SPECIALCOPYTO",
    L"WILDCARD",
    L"SCSICOMMAND",
    L"ZOOMDATA",
    L"ALLDATA",
    L"ALLDATA2",
    L"SIZE_INFO",
    L"COLORDATA",
    L"KINDEXEDATA",
    L"KINDEXEDATASHIFT",
    L"VIEWERSETTING",
    L"VIEWER_SEARCH_STRING",
    L"JUMPDATA",
    L"SELECTDIR",
    L"FILERBMP",
    L"SOUNDLIST",
    L"RENAMEHISTORY",
    L"EXEHISTORY",
    L"LANCHER",
    L"KEYEXEDATA",
    L"VIEWKEYEXEDATA",
    L"GRAPHICKEYEXEDATA",
    L"BINARYKEYEXEDATA",
    L"ARC_INFO_KEY_EXE_DATA",
    L"COMMON_KEY_DATA",
    L"SUSIEDATA",
    L"LOAD_PREVIEW",
    L"WAV",
    L"SOUND",
    L"DISPLAYMODE",
    L"UNPACKDATA",
    L"PACKDATA",
    L"DEBUGDATA",
    L"DISPLAYFONT",
    L"FILERUSERMENU",
    L"NOTVIEWMENU",
    L"VIRTUALDRIVE",
    L"PLUGINDATA",
    L"NETWORK",
    L"SAVECURPOS",
    L"MAKENEWFILE",
    L"NONLOADCPL",
    L"RELOAD_SETTING",
    L"ORDER_LIST_DIR_JUMP",
    L"TIME_MACRO",
    L"DIR_HISTORY",
    L"FIND_FILE_DLG_INF",
    L"DISP_FILE_SETTING",
    L"MOUSE_OPE_GRAPHIC",
    L"ALPHA_CHANNEL_PROCESS",
    L"VIEW_HISTORY",
    L"DIALOG_OTHER_WINDOW",
    L"EXECUTE",
    L"SAVE_BMP",
};

// Lists that an empty file leaves empty write no key, so their sections are absent.
const wchar_t* const kListOnlySections[] = {
    L"SPECIALCOPYTO", L"WILDCARD",      L"VIEWER_SEARCH_STRING", L"SELECTDIR",    L"FILERBMP",
    L"SOUNDLIST",     L"RENAMEHISTORY", L"EXEHISTORY",           L"NETWORK",      L"SAVECURPOS",
    L"MAKENEWFILE",   L"DIR_HISTORY",   L"VIEW_HISTORY",         L"LOAD_PREVIEW", L"DISPLAYFONT",
};

std::vector<std::wstring> FullOrder()
{
    return std::vector<std::wstring>(std::begin(kSectionOrder), std::end(kSectionOrder));
}

// A file as a user's installation would have it: every section, values away from the
// defaults, Japanese text, paths with blanks.
std::wstring RealisticFile(const std::wstring& dir)
{
    std::wstring d = dir;
    return L"[USERINI]\r\nbob=@C:\\Users\\bob\\qv.ini\r\n"
           L"[FILERINFODATA]\r\nFILERINFO0=10101\r\nFILERINFO1=11111\r\nFILERINFO2=00000\r\nFILERINFO3="
           L"01010\r\n"
           L"FILERINFO4=11000\r\n"
           L"[SPECIALCOPYTO]\r\nDIR0=D:\\Backup\r\nDIR1=" +
           d +
           L"\\コピー先\r\n"
           L"[WILDCARD]\r\nFILTER0=*.txt\r\nFILTER1=*.c;*.h\r\n"
           L"[SCSICOMMAND]\r\nSCSI0=12 00 00\r\n"
           L"[ZOOMDATA]\r\n1_5=0\r\n2_1=0\r\n"
           L"[ALLDATA]\r\nSAVEDRIVETREETOFILE=0\r\nQVPLUGINLOADTYPE=1\r\nHIGHLOADSPI=2\r\n"
           L"FONTNAME=ＭＳ ゴシック\r\nPRINTFONTNAME=ＭＳ 明朝\r\nEDITORNAME=notepad.exe\r\n"
           L"DOSSHELL=cmd.exe\r\nBACKBITMAPNAME=C:\\Pics\\back.bmp\r\nFIRSTDIRECTORY=" +
           d +
           L"\r\n"
           L"ENDDIRECTORY=" +
           d +
           L"\r\nSET_SAME_TIME=12:34:56\r\n"
           L"[ALLDATA2]\r\nSUMDIRJUMPGROUP=2\r\nSAVECURSORPOSITION=1\r\nSUMSAVECURPOS=2\r\n"
           L"[SIZE_INFO]\r\nDIR_HISTORY_DIALOG_W=640\r\nDIR_HISTORY_DIALOG_H=480\r\n"
           L"[COLORDATA]\r\nREAD_ONLY_COLOR=123456\r\nBINARY00=abcdef\r\nKINDCOLORNAME0=*.exe;*.com\r\n"
           L"KINDCOLOR0=ff8000\r\n"
           L"[KINDEXEDATA]\r\nKINDEXENAME0=*.txt\r\nKINDEXE0=notepad.exe\r\nKINDEXEPARAM0=\"%f\"\r\n"
           L"DISPLAY_NAME0=メモ帳\r\n"
           L"[KINDEXEDATASHIFT]\r\nKINDEXENAME0=*.png\r\nKINDEXE0=mspaint.exe\r\n"
           L"[VIEWERSETTING]\r\nSETTING0=120\r\nKIND0=*.c;*.h\r\nKINDWORDS0=100\r\nKINDTAB0=4\r\n"
           L"LEFTDBLCLICKACT=@Closeviewer\r\nLINE_RETURN_CODE=↓\r\n"
           L"[VIEWER_SEARCH_STRING]\r\n0=検索\r\n1=main\r\n"
           L"[JUMPDATA]\r\nGROUP0=よく使う\r\nTODIR0=C:\\Windows\r\nDIRKEY0=W\r\nDISPLAY0=Windows\r\n"
           L"GROUP1=二番目\r\nTODIR0100=D:\\Work\r\nDIRKEY0100=K\r\nDISPLAY0100=仕事\r\n"
           L"[SELECTDIR]\r\nTODIR0=D:\\Dest\r\n"
           L"[FILERBMP]\r\nBMP0=C:\\Pics\\back.bmp\r\nBMP1=C:\\Pics\\other.bmp\r\n"
           L"[SOUNDLIST]\r\nLIST0=C:\\Music\\list.m3u\r\n"
           L"[RENAMEHISTORY]\r\nNAME0=*.bak\r\n"
           L"[EXEHISTORY]\r\nEXE0=notepad.exe\r\nEXEPARAM0=readme.txt\r\n"
           L"[LANCHER]\r\nEXE0=C:\\Tools\\tool.exe\r\nPAR0=-x\r\nKEY0=T\r\nEXE_DIR0=C:\\Tools\r\n"
           L"[KEYEXEDATA]\r\nC_F5=@Copy\r\nC_F5_IME_CTRL=1\r\nN_F1=\r\n"
           L"[VIEWKEYEXEDATA]\r\nN_F2=@Closeviewer\r\n"
           L"[GRAPHICKEYEXEDATA]\r\nN_F3=@Closeviewer\r\n"
           L"[BINARYKEYEXEDATA]\r\nN_F4=@Closeviewer\r\n"
           L"[ARC_INFO_KEY_EXE_DATA]\r\nN_F5=@Packview\r\n"
           L"[COMMON_KEY_DATA]\r\nA_F6=@ConfigSave\r\nA_F6_HOT_KEY=1\r\n"
           L"[SUSIEDATA]\r\nPLUGINFILE0=@ifjpeg.spi,1.00,*.jpg&*.jpe,JPEG\r\n"
           L"PLUGINFILE1=ifpng.spi,2.00,*.png,PNG\r\nSUSIEDIRECTORY=C:\\Susie\r\nTEMPDIRECTORY=" +
           d +
           L"\r\n"
           L"[WAV]\r\nCOPY=C:\\Sounds\\copy.wav\r\n"
           L"[SOUND]\r\nLASTLOAD=C:\\Music\\last.m3u\r\nAUDIOKIND03=OGG\r\n"
           L"[DISPLAYMODE]\r\nDISPLAYMODE0=01920,01080,032\r\n"
           L"[UNPACKDATA]\r\nUNBYPASS_DLL_PATH=C:\\Bridge\r\n"
           L"[PACKDATA]\r\n"
           L"[DEBUGDATA]\r\nDEBUG0=1\r\n"
           L"[DISPLAYFONT]\r\n1920X1080=16,8,ＭＳ ゴシック,128,400,\r\n"
           L"[FILERUSERMENU]\r\nMENU0=@Copy\r\nVIEW0=コピー\r\n"
           L"[NOTVIEWMENU]\r\nMENU0003=1\r\n"
           L"[VIRTUALDRIVE]\r\nQDRIVE=0\r\n"
           L"[PLUGINDATA]\r\nPLUGINDIR=C:\\Plugins\r\nP_NAME0=own.dll\r\nP_VER0=150\r\nP_TYPE0=1\r\n"
           L"P_VIEWKEY0=Run\r\nP_KEYSTR0=R\r\nP_VIEWMENU0=1\r\n"
           L"[NETWORK]\r\nRES0=\\\\server\\share\r\nUSER0=bob\r\nPASS0=secret\r\nPROV0=Microsoft Windows "
           L"Network\r\n"
           L"[SAVECURPOS]\r\nDIR0=C:\\Windows\r\nNAME0=system32\r\n"
           L"[MAKENEWFILE]\r\nKIND0=.txt\r\nDISPLAY0=テキスト\r\nSHELLNEW0=C:\\Templates\\new.txt\r\n"
           L"[NONLOADCPL]\r\nCPL0=joy.cpl\r\n"
           L"[RELOAD_SETTING]\r\nENABLE1=1\r\nTIME1=5\r\n"
           L"[ORDER_LIST_DIR_JUMP]\r\nWIDTH0=120\r\n"
           L"[TIME_MACRO]\r\nDEF0=%Y%m%d\r\n"
           L"[DIR_HISTORY]\r\nDIR0=C:\\Windows\r\nDIR1=D:\\Work\r\n"
           L"[FIND_FILE_DLG_INF]\r\nINIT=1\r\nTOP=10\r\nLEFT=20\r\nHEIGHT=300\r\nWIDTH=400\r\nCOLUMN0=80\r\n"
           L"SEARCH_FILE0=*.log\r\n"
           L"[DISP_FILE_SETTING]\r\n0=000011\r\n"
           L"[MOUSE_OPE_GRAPHIC]\r\nN_RIGHT_CLICK=7\r\n"
           L"[ALPHA_CHANNEL_PROCESS]\r\nTYPE1=2\r\nCOLOR1=808080\r\n"
           L"[VIEW_HISTORY]\r\nFILE_NAME0=readme.txt\r\nPATH0=C:\\Docs\r\nARCHIVE_PATH0=\r\n"
           L"[DIALOG_OTHER_WINDOW]\r\nCFindFileDlg=1\r\n"
           L"[EXECUTE]\r\nFILE=calc.exe\r\nPARAMETER=/x\r\n"
           L"[SAVE_BMP]\r\nPREFIX=shot\r\nFOLDER=..\\bmp\r\nLAST_FOLDER=C:\\Pictures\r\nSAME_NAME=0\r\n"
           L"START_NUMBER=12\r\n";
}

class SettingsRoundTrip : public SettingsBench
{
};

TEST_F(SettingsRoundTrip, EmptyFileWritesTheSectionsInTheFixedOrderAndASecondSaveChangesNoByte)
{
    CQvView& first = LoadText(L"");
    first.SaveAllSettings();
    std::vector<std::wstring> written = SectionOrder(MainPath());

    std::vector<std::wstring> expected;
    for (const std::wstring& name : FullOrder())
    {
        bool listOnly = false;
        for (const wchar_t* absent : kListOnlySections)
            listOnly = listOnly || name == absent;
        if (!listOnly || std::find(written.begin(), written.end(), name) != written.end())
            expected.push_back(name);
    }
    EXPECT_EQ(expected, written);
    // The fixed tables always write something.
    for (const wchar_t* always : {L"FILERINFODATA", L"ALLDATA", L"ALLDATA2", L"COLORDATA", L"KEYEXEDATA",
                                  L"COMMON_KEY_DATA", L"LANCHER", L"SUSIEDATA", L"NOTVIEWMENU", L"EXECUTE"})
        EXPECT_NE(written.end(), std::find(written.begin(), written.end(), always)) << always;

    const std::string firstBytes = qvtest::ReadFileBytes(MainPath());
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\first.ini", firstBytes));
    ResetAllSettings();
    CQvView& second = LoadFile(m_dir + L"\\first.ini");
    second.SaveAllSettings();
    EXPECT_EQ(firstBytes, qvtest::ReadFileBytes(MainPath()));
}

TEST_F(SettingsRoundTrip, AHandWrittenFileWithEverySectionSurvives)
{
    const std::wstring text = RealisticFile(m_dir);
    ASSERT_TRUE(qvtest::WriteFileBytes(MainPath(), Utf16File(text)));
    const IniMap input = ReadIni(MainPath());
    LoadFile(MainPath()).SaveAllSettings();

    EXPECT_EQ(FullOrder(), SectionOrder(MainPath()));
    IniMap output = ReadIni(MainPath());
    // Documented normalisations: a plug-in that reads "*.jpg" also reads "*.jpeg"; the
    // end directory is where pane 0 stands now; the directory history gains this run's
    // visits; this user gains an entry.
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> normalised = {
        {{L"SUSIEDATA", L"PLUGINFILE0"}, L"@ifjpeg.spi,1.00,*.jpg&*.jpe&*.jpeg,JPEG"},
    };
    for (const auto& section : input)
    {
        for (const auto& key : section.second)
        {
            SCOPED_TRACE(section.first + L"/" + key.first);
            auto found = output[section.first].find(key.first);
            ASSERT_NE(output[section.first].end(), found);
            auto special = normalised.find({section.first, key.first});
            if (special != normalised.end())
                EXPECT_EQ(special->second, found->second);
            else if (section.first == L"DIR_HISTORY")
            {
                // The run's own visits join the history; the old entries stay.
                bool kept = false;
                for (const auto& entry : output[section.first])
                    kept = kept || entry.second == key.second;
                EXPECT_TRUE(kept);
            }
            else if (key.first == L"ENDDIRECTORY")
                EXPECT_EQ(0, CString(found->second.c_str()).CompareNoCase(m_dir.c_str()));
            else
                EXPECT_EQ(key.second, found->second);
        }
    }
    EXPECT_EQ(L"", output[L"USERINI"][L"alice"]);

    // And a second round changes nothing further.
    const std::string once = qvtest::ReadFileBytes(MainPath());
    ResetAllSettings();
    LoadFile(MainPath()).SaveAllSettings();
    EXPECT_EQ(once, qvtest::ReadFileBytes(MainPath()));
}

// ---- The reader's own decisions -------------------------------------------------------

bool SamePath(CString a, CString b)
{
    while (a.GetLength() > 3 && a[a.GetLength() - 1] == L'\\')
        a.Delete(a.GetLength() - 1);
    while (b.GetLength() > 3 && b[b.GetLength() - 1] == L'\\')
        b.Delete(b.GetLength() - 1);
    return a.CompareNoCase(b) == 0;
}

TEST_F(SettingsRoundTrip, AJumpGroupCountBelowOneGivesOneGroup)
{
    for (const wchar_t* count : {L"0", L"-3"})
    {
        SCOPED_TRACE(count);
        LoadText(std::wstring(L"[ALLDATA2]\r\nSUMDIRJUMPGROUP=") + count +
                 L"\r\n[JUMPDATA]\r\nGROUP0=g\r\nTODIR0=C:\\A\r\n");
        EXPECT_EQ(1, g_SUMDIRJUMPGROUP);
        m_view->SaveAllSettings();
        IniMap out = ReadIni(MainPath());
        EXPECT_EQ(L"g", out[L"JUMPDATA"][L"GROUP0"]);
        EXPECT_EQ(L"C:\\A", out[L"JUMPDATA"][L"TODIR0"]);
        EXPECT_EQ(0u, out[L"JUMPDATA"].count(L"GROUP1"));
    }
}

TEST_F(SettingsRoundTrip, StartAtEndDirectoryWithAnEmptyOneStartsInTheWindowsDirectory)
{
    LoadText(L"[ALLDATA]\r\nSTARTENDDIR=1\r\nENDDIRECTORY=\r\nFIRSTDIRECTORY=" + m_dir + L"\r\n");
    ASSERT_NE(nullptr, g_Panes[0]);
    EXPECT_TRUE(SamePath(g_Panes[0]->m_currentDir, g_WindowsDir)) << g_Panes[0]->m_currentDir.GetString();
    EXPECT_EQ(static_cast<UINT>(PANE_POS_ACTIVE), g_Panes[0]->m_position);
}

TEST_F(SettingsRoundTrip, TheSecondPaneOpensOnlyWhenAskedOrGivenAnExistingDirectory)
{
    const std::wstring a = m_dir + L"\\a", b = m_dir + L"\\b", c = m_dir + L"\\c";
    for (const std::wstring& dir : {a, b, c})
        ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    struct Case
    {
        const wchar_t* name;
        std::wstring second;      // "SECONDDIRECTORY"
        std::wstring commandLine; // second command-line directory
        bool hidden;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"stored second, no command line", b, L"", true, b},
        {L"no second at all", L"", L"", true, a},
        {L"missing command-line directory", b, m_dir + L"\\none", true, b},
        {L"existing command-line directory", b, c, false, c},
    };
    for (const Case& t : cases)
    {
        SCOPED_TRACE(t.name);
        g_StartDirs[1] = t.commandLine.c_str();
        LoadText(L"[ALLDATA]\r\nSECONDFILEOPEN=0\r\nFIRSTDIRECTORY=" + a + L"\r\nSECONDDIRECTORY=" +
                 t.second + L"\r\n");
        ASSERT_NE(nullptr, g_Panes[1]);
        EXPECT_EQ(t.hidden, (g_Panes[1]->m_position & PANE_POS_HIDDEN) != 0);
        EXPECT_TRUE(SamePath(g_Panes[1]->m_currentDir, t.expected.c_str()))
            << g_Panes[1]->m_currentDir.GetString();
        EXPECT_TRUE(SamePath(g_Panes[0]->m_currentDir, a.c_str()));
    }
}

TEST_F(SettingsRoundTrip, ABackgroundPictureAlreadyListedInOtherCaseIsNotAddedAgain)
{
    LoadText(L"[ALLDATA]\r\nBACKBITMAPNAME=c:\\pics\\BACK.bmp\r\n[FILERBMP]\r\nBMP0=C:\\Pics\\back.bmp\r\n");
    m_view->SaveAllSettings();
    IniMap out = ReadIni(MainPath());
    EXPECT_EQ(L"C:\\Pics\\back.bmp", out[L"FILERBMP"][L"BMP0"]);
    EXPECT_EQ(0u, out[L"FILERBMP"].count(L"BMP1"));

    LoadText(L"[ALLDATA]\r\nBACKBITMAPNAME=C:\\Pics\\new.bmp\r\n[FILERBMP]\r\nBMP0=C:\\Pics\\back.bmp\r\n");
    m_view->SaveAllSettings();
    out = ReadIni(MainPath());
    EXPECT_EQ(L"C:\\Pics\\new.bmp", out[L"FILERBMP"][L"BMP1"]);
}

TEST_F(SettingsRoundTrip, TheReaderCreatesTheSharedObjectsAndReleasesTheSettingsFile)
{
    CloseSevenZipLoadMutex();
    LoadText(L"");
    EXPECT_EQ(nullptr, g_SettingsIni);
    EXPECT_NE(nullptr, g_UnpackMutex);
    EXPECT_NE(nullptr, g_CdMutex);
    EXPECT_NE(nullptr, m_view->m_hDialogListMutex);
    // The archive client's library loads are serialised from the start.
    EXPECT_NE(nullptr, g_SevenZipLoadMutex);
    EXPECT_EQ(m_view.get(), g_MainView);
    EXPECT_EQ(0, m_view->m_settings.startFailed);
    ASSERT_NE(nullptr, g_Panes[0]);
    ASSERT_NE(nullptr, g_Panes[1]);
    EXPECT_EQ(0, g_Panes[0]->m_paneSlot);
    EXPECT_EQ(1, g_Panes[1]->m_paneSlot);
}

TEST_F(SettingsRoundTrip, AppletsAreListedOnlyWhenAskedForAndAfterTheDontLoadList)
{
    const std::wstring folder = m_dir + L"\\system";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(folder + L"\\MAIN.CPL", "listed from the table, never loaded"));
    CplApi api = g_CplApi;
    api.folder = folder.c_str();
    ScopedCplApi applets(api);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const struct
    {
        const wchar_t* text;
        INT_PTR count;
    } cases[] = {
        {L"", 0}, // NEGLECTCPL is 1 unless the file says otherwise
        {L"[ALLDATA]\r\nNEGLECTCPL=0\r\n", 2},
        {L"[ALLDATA]\r\nNEGLECTCPL=0\r\n[NONLOADCPL]\r\nCPL3=main.CPL\r\n", 0},
    };
    for (const auto& c : cases)
    {
        g_CplList.RemoveAll();
        m_view.reset();
        LoadText(c.text);
        EXPECT_EQ(g_CplList.GetSize(), c.count) << c.text;
    }
    g_CplList.RemoveAll();
    SetCurrentDirectoryW(current);
}

} // namespace
