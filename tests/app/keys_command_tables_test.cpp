// The command tables: their rows and categories as listed, the lookups by menu id
// and keyword, and the display names that follow the settings read.
#include "app/KeywordBuilders.h"
#include "app/keys/CommandTables.h"
#include "app/settings/FilerSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <string>
#include <vector>

namespace
{

std::string Narrow(LPCWSTR text)
{
    std::string out;
    for (; *text; ++text)
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

TEST(CommandTables, RowCountsAndCategoriesAsListed)
{
    struct Case
    {
        int family;
        int rows;
        std::vector<int> categories;
    } cases[] = {
        {COMMAND_FAMILY_FILER, 292, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {COMMAND_FAMILY_VIEWER, 114, {4, 5, 6, 8, 9, 11}},
        {COMMAND_FAMILY_GRAPHIC, 106, {4, 5, 6, 8, 9, 11}},
        {COMMAND_FAMILY_BINARY, 117, {4, 5, 6, 7, 8, 9, 11, 12, 13}},
        {COMMAND_FAMILY_COMMON, 40, {4, 5, 9}},
    };
    for (const Case& c : cases)
    {
        int count = 0;
        const CommandTableRow* rows = GetCommandTable(c.family, &count);
        ASSERT_EQ(count, c.rows) << "family " << c.family
                                 << ": the rows as shipped; a keyword added or removed changes this count";
        std::vector<int> seen;
        int common = 0;
        for (int i = 0; i < count; ++i)
        {
            EXPECT_EQ(rows[i].keyword[0], L'@');
            EXPECT_NE(rows[i].displayName[0], 0) << Narrow(rows[i].keyword);
            if (std::find(seen.begin(), seen.end(), rows[i].category) == seen.end())
                seen.push_back(rows[i].category);
            common += rows[i].common;
        }
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, c.categories);
        EXPECT_EQ(common, c.family == COMMAND_FAMILY_COMMON ? 38 : 0);
    }
    EXPECT_EQ(FindCommandRowByMenuId(COMMAND_FAMILY_FILER, 57665),
              FindCommandRowByKeyword(COMMAND_FAMILY_FILER, L"@Quit"));
    EXPECT_EQ(FindCommandRowByMenuId(COMMAND_FAMILY_FILER, 6119)->keyword, std::wstring(L"@Makenewfile20"));
}

TEST(CommandTables, NumberedRowsAreNamedAfterWhatWasRead)
{
    CString savedNames[LINE_WIDTH_COMMAND_COUNT];
    for (int i = 0; i < LINE_WIDTH_COMMAND_COUNT; ++i)
        savedNames[i] = g_LineWidthCommandNames[i];
    CArray<CMakeNewFile> savedKinds;
    savedKinds.Copy(g_MakeNewFileKinds);

    const int widths[LINE_WIDTH_COMMAND_COUNT] = {40, 60, 80, 100, 120};
    SetLineWidthCommandNames(widths);
    g_MakeNewFileKinds.RemoveAll();
    CMakeNewFile kind;
    kind.m_extension = L"txt";
    kind.m_displayName = L"テキスト文書";
    g_MakeNewFileKinds.Add(kind);

    struct Case
    {
        int family;
        LPCWSTR keyword;
        LPCWSTR name;
    } cases[] = {
        {COMMAND_FAMILY_VIEWER, L"@Lineword2", L"１行の文字数を60文字に設定"},
        {COMMAND_FAMILY_FILER, L"@Makenewfile01", L"新規テキスト文書作成"},
        // Beyond the kinds the fixed name stands.
        {COMMAND_FAMILY_FILER, L"@Makenewfile02", L"新規ファイル作成2"},
        {COMMAND_FAMILY_FILER, L"@Quit", L"Quarvelの終了"},
        {COMMAND_FAMILY_BINARY, L"@Quit", L"Quarvel終了"},
    };
    for (const Case& c : cases)
    {
        const CommandTableRow* row = FindCommandRowByKeyword(c.family, c.keyword);
        ASSERT_NE(row, nullptr) << Narrow(c.keyword);
        EXPECT_EQ(std::wstring(GetCommandDisplayName(*row).GetString()), c.name) << Narrow(c.keyword);
    }
    EXPECT_EQ(FindCommandRowByKeyword(COMMAND_FAMILY_FILER, L"@makenewfile01"),
              FindCommandRowByKeyword(COMMAND_FAMILY_FILER, L"@Makenewfile01"))
        << "the dialogs search without case";

    g_MakeNewFileKinds.Copy(savedKinds);
    for (int i = 0; i < LINE_WIDTH_COMMAND_COUNT; ++i)
        g_LineWidthCommandNames[i] = savedNames[i];
}

// Each command's menu id as its handler gives it; the same keyword carries the same id
// in every table that lists it. A row whose keyword stands here carries its id, every
// other row none.
TEST(CommandTables, RowsCarryTheMenuIdsOfTheirHandlers)
{
    struct Pair
    {
        LPCWSTR keyword;
        int menuId;
    };
    // clang-format off
    static const Pair kPairs[] = {
        {L"@10Before", 116}, {L"@10Next", 117}, {L"@180Rot", 118}, {L"@AddDirJump", 127}, {L"@Allcpldata", 139},
        {L"@Filesupdir", 142}, {L"@AllmakeMp3Tag", 143}, {L"@Fullscreen", 148}, {L"@Allscsiclose", 149},
        {L"@Allscsiopen", 150}, {L"@Attribute", 171}, {L"@AutoFileNameWidth", 175}, {L"@Before", 184},
        {L"@Beforesearch", 187}, {L"@Binaryallselect", 190}, {L"@Binaryeditend", 204}, {L"@Binaryedit", 206},
        {L"@Binarykey", 209},
        {L"@CdBefore", 223}, {L"@CdNext", 225}, {L"@CdPause", 226}, {L"@CdPlay", 227}, {L"@CdPlayConfig", 228},
        {L"@CdRandom", 229}, {L"@CdRepeat", 230}, {L"@CdStop", 231}, {L"@Chainnetwork", 233},
        {L"@Changebinary", 243}, {L"@Changeddata", 246}, {L"@Changedisplay", 250}, {L"@Changedmenu", 251},
        {L"@Changedposout", 254}, {L"@Changefilerdata", 257}, {L"@Linenumber", 259}, {L"@CharCodeAuto", 262},
        {L"@CharCodeEUC", 264}, {L"@CharCodeJIS", 265}, {L"@CharCodeShiftJIS", 266}, {L"@CharCodeUNICODE", 267},
        {L"@CharCodeUTF8", 268}, {L"@ClipToFileNameWithoutExt", 272}, {L"@ClipToFullPathWithUnpack", 273},
        {L"@ClipToSize", 274}, {L"@Cliptofilename", 276}, {L"@Cliptofullpath", 277}, {L"@Cliptopath", 278},
        {L"@Closeviewer", 279}, {L"@Cmpbinary", 282}, {L"@Cmpbinaryfile", 283}, {L"@ConfigSave", 294}, {L"@Copy", 297},
        {L"@Clipcopy", 298}, {L"@Copydata", 302}, {L"@Toalldir", 308}, {L"@CtlEasySearch", 314},
        {L"@CtlIncSearch", 315}, {L"@Delete", 333}, {L"@Dirchange", 344}, {L"@Dirchangedlg", 345},
        {L"@Dirhistory", 349}, {L"@Dirjump", 351}, {L"@Dirsize", 354}, {L"@Dirtreeview", 357},
        {L"@DispFileSetting", 358}, {L"@Displayset0", 369}, {L"@Displayset1", 370}, {L"@Displayset2", 371},
        {L"@Displayset3", 372}, {L"@Displayset4", 373}, {L"@Displayset5", 374}, {L"@Displayset6", 375},
        {L"@Displayset7", 376}, {L"@Displayset8", 377}, {L"@Displayset9", 378}, {L"@Changedevide", 379},
        {L"@Dosshell", 381}, {L"@Drivelist", 389}, {L"@Drivetreeview", 390}, {L"@Eachpack", 391},
        {L"@Eachpackzip", 392}, {L"@Edit", 393}, {L"@Execute", 422}, {L"@ExpandEasySearch", 428},
        {L"@ExpandIncSearch", 429}, {L"@Filelistview", 470}, {L"@Filenamepack", 472}, {L"@Filesave", 503},
        {L"@Filetime", 506}, {L"@TimeAttribute", 507}, {L"@Findfile", 513}, {L"@Diskformat", 523},
        {L"@Fromclipfiles", 533}, {L"@Exitgraphic", 536}, {L"@GraphicList", 537}, {L"@Graphicclipcopy", 538},
        {L"@Graphickey", 539}, {L"@GraphiconeviewB", 540}, {L"@GraphicviewB", 541}, {L"@H_Reverse", 546},
        {L"@Inputpaste", 565}, {L"@Inputpasteloop", 566}, {L"@Jumpendline", 572}, {L"@Jumpfirstline", 573},
        {L"@Jumpline", 574}, {L"@Jumptext", 575}, {L"@Filerkey", 576}, {L"@Killnetwork", 578}, {L"@Lancher", 606},
        {L"@LeftRot", 615}, {L"@Lineword1", 618}, {L"@Lineword2", 619}, {L"@Lineword3", 620}, {L"@Lineword4", 621},
        {L"@Lineword5", 622}, {L"@MakeMp3Tag", 641}, {L"@Makeshortcut", 643}, {L"@Manualreload", 644},
        {L"@MciVolumeDown", 653}, {L"@MciVolumeUp", 656}, {L"@Mkdir", 662}, {L"@Move", 666},
        {L"@Mpegnamedisplay", 679}, {L"@NotEasySearch", 682}, {L"@NotIncSearch", 683}, {L"@Neglectdir", 685},
        {L"@Next", 697}, {L"@Nextfilerbmp", 701}, {L"@Nextsearch", 704}, {L"@NorEasySearch", 706},
        {L"@NorIncSearch", 707}, {L"@Opencpl", 738}, {L"@OtherAlwaysDispDir", 740}, {L"@Otheralwaysviewer", 741},
        {L"@Pack", 744}, {L"@Packview", 750}, {L"@Packzip", 751}, {L"@Pastedata", 755}, {L"@Pasteshortcut", 756},
        {L"@PauseGraphic", 758}, {L"@Predirectory", 771}, {L"@PreviewEnable", 772}, {L"@PreviewDisable", 774},
        {L"@PreviewDispMagExpansion", 775}, {L"@PreviewDispMagReduction", 776}, {L"@PreviewDispMagReset", 777},
        {L"@PreviewDispPictureFile", 778}, {L"@PreviewEnableWithChild", 782}, {L"@ReloadFile", 811},
        {L"@Rename", 816}, {L"@RightRot", 820}, {L"@Rootdirectory", 833}, {L"@Samedirectory", 834}, {L"@Sameotherdir", 837},
        {L"@SaveBmp", 839}, {L"@NextSaveBmp", 840}, {L"@Scsi01", 855}, {L"@Scsi02", 856}, {L"@Scsi03", 857},
        {L"@Scsi04", 858}, {L"@Scsi05", 859}, {L"@Scsi06", 860}, {L"@Scsi07", 861}, {L"@Scsi08", 862},
        {L"@Scsi09", 863}, {L"@Searchdata", 875}, {L"@Selectrange", 909}, {L"@Searchstr", 933},
        {L"@Setwallpaper", 936}, {L"@ShiEasySearch", 938}, {L"@ShiIncSearch", 939}, {L"@Smallgraphicview", 945},
        {L"@Sort", 948}, {L"@Sound100", 950}, {L"@Sound150", 951}, {L"@Sound200", 952}, {L"@Sound300", 953},
        {L"@Sound400", 954}, {L"@Sound50", 955}, {L"@Soundfullscreen", 956}, {L"@Soundlistbefore", 967},
        {L"@Setsoundload", 968}, {L"@Soundlistnext", 969}, {L"@Setsoundpause", 970}, {L"@Soundlistrandom", 971},
        {L"@Soundlistrepeat", 972}, {L"@Soundlistsave", 973}, {L"@Setsoundlist", 974}, {L"@Soundliststop", 975},
        {L"@Soundload", 976}, {L"@Soundloadstop", 977}, {L"@Soundpause", 978}, {L"@Soundstop", 979},
        {L"@Syncrocopyex", 1002}, {L"@Changetab4", 1004}, {L"@Changetab8", 1005}, {L"@TextBox", 1016},
        {L"@Textprint", 1017}, {L"@Toclipfiles", 1032}, {L"@Tocutclipfiles", 1035}, {L"@Tolinkpos", 1038},
        {L"@Unpack", 1042}, {L"@V_Reverse", 1060}, {L"@View", 1061}, {L"@Viewallselect", 1062},
        {L"@Viewerkey", 1072}, {L"@Viewtagview", 1076}, {L"@Wide", 1082}, {L"@Wildcard", 1083}, {L"@Zoomin", 1090},
        {L"@Zoomout", 1092}, {L"@Pack7z", 1460}, {L"@EachPack7z", 1462},
        {L"@ExeByFuncList", 1468}, {L"@AlphaChannelType1", 1488}, {L"@AlphaChannelType2", 1490},
        {L"@AlphaChannelType3", 1493}, {L"@AlphaChannelType5", 1498}, {L"@AlphaChannelType6", 1500},
        {L"@AlphaChannelType7", 1502}, {L"@AlphaChannelType8", 1504}, {L"@AlphaChannelType9", 1505},
        {L"@AlphaChannelType10", 1506}, {L"@AlphaChannelType4", 1507}, {L"@PackViewExit", 1510},
        {L"@GraphicClipCopyWithoutAlpha", 1514}, {L"@ViewHistory", 3000}, {L"@NextDirectory", 3003},
        {L"@ScalingOnOff", 3009}, {L"@TempScalingOnOff", 3011}, {L"@DosShellRunAs", 3013},
        {L"@PowerShellRunAs", 3014}, {L"@PowerShell", 3016}, {L"@FindFileNewDlg", 3017},
        {L"@PreviewSwitchAlsoSubDir", 3019}, {L"@Makenewfile01", 6100}, {L"@Makenewfile02", 6101},
        {L"@Makenewfile03", 6102}, {L"@Makenewfile04", 6103}, {L"@Makenewfile05", 6104}, {L"@Makenewfile06", 6105},
        {L"@Makenewfile07", 6106}, {L"@Makenewfile08", 6107}, {L"@Makenewfile09", 6108}, {L"@Makenewfile10", 6109},
        {L"@Makenewfile11", 6110}, {L"@Makenewfile12", 6111}, {L"@Makenewfile13", 6112}, {L"@Makenewfile14", 6113},
        {L"@Makenewfile15", 6114}, {L"@Makenewfile16", 6115}, {L"@Makenewfile17", 6116}, {L"@Makenewfile18", 6117},
        {L"@Makenewfile19", 6118}, {L"@Makenewfile20", 6119}, {L"@Quit", 57665},
    };
    // clang-format on
    for (int family = 0; family < COMMAND_FAMILY_COUNT; ++family)
    {
        int count = 0;
        const CommandTableRow* rows = GetCommandTable(family, &count);
        for (int i = 0; i < count; ++i)
        {
            int expected = 0;
            for (const Pair& pair : kPairs)
                if (wcscmp(pair.keyword, rows[i].keyword) == 0)
                    expected = pair.menuId;
            EXPECT_EQ(rows[i].menuId, expected) << family << " " << Narrow(rows[i].keyword);
        }
    }
}

// A menu id finds the first row that carries it; whichever table the routing takes it
// from, the id names one keyword.
TEST(CommandTables, AMenuIdNamesOneKeywordAcrossTheTables)
{
    std::vector<std::pair<int, std::wstring>> seen;
    for (int family = 0; family < COMMAND_FAMILY_COUNT; ++family)
    {
        int count = 0;
        const CommandTableRow* rows = GetCommandTable(family, &count);
        for (int i = 0; i < count; ++i)
        {
            if (rows[i].menuId == 0)
                continue;
            EXPECT_EQ(FindCommandRowByMenuId(family, rows[i].menuId), &rows[i])
                << "a later row with the id of an earlier one never wins: " << Narrow(rows[i].keyword);
            for (const auto& other : seen)
                if (other.first == rows[i].menuId)
                    EXPECT_EQ(other.second, rows[i].keyword) << rows[i].menuId;
            seen.emplace_back(rows[i].menuId, rows[i].keyword);
        }
    }
}

} // namespace

// The media keywords carry their short names in every table that lists them.
TEST(CommandTables, MediaKeywordsCarryTheirShortNames)
{
    // clang-format off
    static const std::pair<LPCWSTR, LPCWSTR> kNames[] = {
        {L"@Soundload", L"再生"}, {L"@Soundloadstop", L"再生停止"}, {L"@Soundpause", L"一時停止"},
        {L"@Soundstop", L"停止"}, {L"@Setsoundlist", L"リスト設定"}, {L"@Setsoundload", L"リスト再生"},
        {L"@Setsoundpause", L"リスト再生一時停止"}, {L"@Soundliststop", L"リスト再生の停止"},
        {L"@Soundlistnext", L"リスト再生次のファイルへ"}, {L"@Soundlistbefore", L"リスト再生前のファイルへ"},
        {L"@Soundlistsave", L"リスト保存"}, {L"@Soundlistrepeat", L"リストリピート再生"},
        {L"@Soundlistrandom", L"リストランダム再生"}, {L"@CdPlayConfig", L"CDの再生の設定"},
        {L"@CdPlay", L"CDの再生"}, {L"@CdPause", L"CDの一時停止"}, {L"@CdStop", L"CDの停止"},
        {L"@CdNext", L"CDの次のトラックへ"}, {L"@CdBefore", L"CDの前のトラックへ"},
        {L"@CdRepeat", L"CDをリピート再生"}, {L"@CdRandom", L"CDをランダム再生"},
        {L"@Sound50", L"表示倍率50%"}, {L"@Sound400", L"表示倍率400%"}, {L"@Soundfullscreen", L"全画面化"},
        {L"@MciVolumeUp", L"音量上げる"}, {L"@MciVolumeDown", L"音量下げる"},
    };
    // clang-format on
    for (int family : {COMMAND_FAMILY_FILER, COMMAND_FAMILY_VIEWER, COMMAND_FAMILY_GRAPHIC,
                       COMMAND_FAMILY_BINARY, COMMAND_FAMILY_COMMON})
        for (const auto& name : kNames)
        {
            const CommandTableRow* row = FindCommandRowByKeyword(family, name.first);
            if (family == COMMAND_FAMILY_FILER)
            {
                ASSERT_NE(nullptr, row) << Narrow(name.first);
            }
            if (row != nullptr)
            {
                EXPECT_EQ(std::wstring(name.second), row->displayName) << family << " " << Narrow(name.first);
            }
        }
}
