// Entry lines and cell text: what lands in which cell, in which colour.
#include <gtest/gtest.h>

#include "DrawTestSupport.h"
#include "app/Settings.h"
#include "filer/PaneArchive.h"
#include "view/draw/EntryText.h"
#include "app/settings/ViewSettings.h"

#include <algorithm>
#include <iterator>

namespace
{

using qvtest::CellGrid;
using qvtest::MemoryCanvas;

// Every setting the entry drawing reads, restored after each test.
class EntryTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::copy(std::begin(g_DisplayColors), std::end(g_DisplayColors), m_colors);
        std::copy(std::begin(g_FilerInfoPresets), std::end(g_FilerInfoPresets), m_presets);
        for (int i = 0; i < kKindColorCount; ++i)
            m_kinds[i] = g_KindColors[i];
        // Distinct colours so that a wrong row shows.
        for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
            g_DisplayColors[i] = 0x010101 * (i + 1);
        for (KindColorEntry& row : g_KindColors)
            row = KindColorEntry();
        for (FilerInfoPreset& p : g_FilerInfoPresets)
            p = FilerInfoPreset();
    }
    void TearDown() override
    {
        std::copy(std::begin(m_colors), std::end(m_colors), g_DisplayColors.begin());
        std::copy(std::begin(m_presets), std::end(m_presets), g_FilerInfoPresets);
        for (int i = 0; i < kKindColorCount; ++i)
            g_KindColors[i] = m_kinds[i];
        // Newest first, so that a setting changed twice gets its first value back.
        for (auto it = m_ints.rbegin(); it != m_ints.rend(); ++it)
            *it->first = it->second;
    }
    void Set(int& variable, int value)
    {
        m_ints.push_back({&variable, variable});
        variable = value;
    }

    static CFileInfo Entry(LPCWSTR name, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE, LPCWSTR shortName = L"",
                           ULONGLONG size = 0)
    {
        WIN32_FIND_DATAW fd = {};
        fd.dwFileAttributes = attributes;
        wcscpy_s(fd.cFileName, name);
        wcscpy_s(fd.cAlternateFileName, shortName);
        fd.nFileSizeLow = static_cast<DWORD>(size);
        fd.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        SYSTEMTIME st = {2024, 3, 0, 5, 12, 34, 56, 0};
        FILETIME local;
        SystemTimeToFileTime(&st, &local);
        LocalFileTimeToFileTime(&local, &fd.ftLastWriteTime);
        fd.ftCreationTime = fd.ftLastAccessTime = fd.ftLastWriteTime;
        CFileInfo entry;
        entry.SetFromDisk(L"C:\\work", fd);
        return entry;
    }

    // Draws the entry at column 1, row 0 with N = 8, E = 3 and returns the row.
    std::wstring Line(const CFileInfo& entry, int n = 8, int e = 3)
    {
        m_grid.Clear();
        CCellText cells(m_canvas.dc(), m_canvas.cw(), m_canvas.lh());
        EntryLineGeometry geometry;
        geometry.nameWidth = n;
        geometry.extWidth = e;
        DrawEntryLine(cells, entry, 1, 0, kText, kBack, geometry);
        return m_grid.Row(0);
    }

    static constexpr COLORREF kText = 0x00c0c0;
    static constexpr COLORREF kBack = 0x000000;
    MemoryCanvas m_canvas{640, 64};
    CellGrid m_grid{m_canvas.cw(), m_canvas.lh()};

private:
    DWORD m_colors[DISPLAY_COLOR_COUNT];
    FilerInfoPreset m_presets[kFilerInfoPresetCount];
    KindColorEntry m_kinds[kKindColorCount];
    std::vector<std::pair<int*, int>> m_ints;
};

TEST_F(EntryTextTest, NamesSplitAtTheLastDotThatIsNotTheFirst)
{
    struct Case
    {
        LPCWSTR name;
        DWORD attributes;
        LPCWSTR shortName;
        int dosWrite;
        int charType;
        LPCWSTR expected; // from column 1: name field N = 8, extension field E + 1 = 4
    } cases[] = {
        {L".profile", FILE_ATTRIBUTE_ARCHIVE, L"", 0, 0, L" .profile"},
        {L"a.tar.gz", FILE_ATTRIBUTE_ARCHIVE, L"", 0, 0, L" a.tar   .gz"},
        {L"readme", FILE_ATTRIBUTE_ARCHIVE, L"", 0, 0, L" readme"},
        {L"dir.d", FILE_ATTRIBUTE_DIRECTORY, L"", 0, 0, L" dir.d"},
        // Upper case applies to the long name when there is no short one.
        {L"Long Name.txt", FILE_ATTRIBUTE_ARCHIVE, L"", 1, 1, L" LONG NAM.TXT"},
        {L"Long Name.txt", FILE_ATTRIBUTE_ARCHIVE, L"LONGNA~1.TXT", 1, 0, L" LONGNA~1.TXT"},
        {L"Long Name.txt", FILE_ATTRIBUTE_ARCHIVE, L"LONGNA~1.TXT", 0, 2, L" long nam.txt"},
        {L"Sub.Dir", FILE_ATTRIBUTE_DIRECTORY, L"SUBDIR~1", 1, 1, L" SUBDIR~1"},
        {L"Sub.Dir", FILE_ATTRIBUTE_DIRECTORY, L"", 0, 2, L" sub.dir"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.name << " dos " << c.dosWrite << " case " << c.charType);
        Set(g_DOSWRITEFLAG, c.dosWrite);
        Set(g_FILECHARTYPE, c.charType);
        EXPECT_EQ(Line(Entry(c.name, c.attributes, c.shortName)), c.expected);
    }
}

TEST_F(EntryTextTest, PackedNameCarriesItsExtensionAndEndsInAnEllipsisWhenTooWide)
{
    Set(g_FILENAMEPACK, 1);
    Set(g_FILENAMELASTELLIPSIS, 1);
    // N + E + 1 = 20 columns.
    EXPECT_EQ(Line(Entry(L"ab.txt"), 14, 5), L" ab.txt");
    EXPECT_EQ(Line(Entry(L"abcdefghijklmnopqrstuvwxyz0123.txt"), 14, 5), L" abcdefghijklmnopq...");
    // Without the ellipsis setting the name is cut at the field end.
    Set(g_FILENAMELASTELLIPSIS, 0);
    EXPECT_EQ(Line(Entry(L"abcdefghijklmnopqrstuvwxyz0123.txt"), 14, 5), L" abcdefghijklmnopqrst");
}

TEST_F(EntryTextTest, ColumnsFollowTheNameAndLoseThreeCellsWithoutSeconds)
{
    g_FilerInfoPresets[0] = {1, 1, 0, 1, 1};
    Set(g_FILERINFONUMBER, 0);
    Set(g_VIEWFILETIMETYPE, 2);
    // Name field from column 1 to 13 (N + E + 1 = 12), size 13..27, date 28..39, time 40..
    std::wstring file =
        Line(Entry(L"a.tar.gz", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, L"", 1234567));
    EXPECT_EQ(file, L" a.tar   .gz      1,234,567 2024-03-05  12:34:56  A R");
    std::wstring dir = Line(Entry(L"sub.dir", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(dir, L" sub.dir              <DIR> 2024-03-05  12:34:56   H");

    g_FilerInfoPresets[0].noSeconds = 1;
    std::wstring shortTime =
        Line(Entry(L"a.tar.gz", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, L"", 1234567));
    EXPECT_EQ(shortTime, L" a.tar   .gz      1,234,567 2024-03-05  12:34  A R");
    EXPECT_EQ(file.find(L"A R") - shortTime.find(L"A R"), 3u);

    // A figure wider than the size field comes short instead of running into the date.
    std::wstring big = Line(Entry(L"disk.img", FILE_ATTRIBUTE_ARCHIVE, L"", 1500000000000ULL));
    EXPECT_EQ(big.substr(13, 15), L"       1500.0G ");
    EXPECT_EQ(big.substr(28, 10), L"2024-03-05");
}

// An archive object whose listing does or does not give the sizes of its files.
class CSizedArchive : public IPaneArchive
{
public:
    explicit CSizedArchive(int state) : m_state(state) {}
    int ListDirectory(CArrayFileInfo&, LPCWSTR, LPCWSTR, BOOL, const FindCondition*) override { return 0; }
    const CString& GetCurrentFolder() const override { return m_folder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_folder = folder; }
    CErrorIF& GetErrors() override { return m_errors; }
    int GetSevenZipState() const override { return m_state; }

private:
    int m_state;
    CString m_folder;
    CErrorIF m_errors;
};

TEST_F(EntryTextTest, SizeStaysEmptyForMembersOfAnArchiveListedWithoutSizes)
{
    g_FilerInfoPresets[0] = {0, 0, 0, 1, 0};
    Set(g_FILERINFONUMBER, 0);
    // The size field: columns 13 to 27.
    auto sizeCells = [this](const CFileInfo& entry) {
        std::wstring line = Line(entry);
        line.resize(28, L' ');
        return line.substr(13, 15);
    };
    struct Case
    {
        int state;
        const wchar_t* size;
    };
    const Case cases[] = {{0, L"     1,234,567 "}, {1, L"               "}, {2, L"     1,234,567 "}};
    for (const Case& c : cases)
    {
        CSizedArchive archive(c.state);
        CFileInfo member;
        member.SetFromArchive(&archive, L"in",
                              Entry(L"a.txt", FILE_ATTRIBUTE_ARCHIVE, L"", 1234567).m_findData, 0);
        EXPECT_EQ(sizeCells(member), c.size) << c.state;
    }
    // A disk file keeps its size whatever archive the pane had open.
    EXPECT_EQ(sizeCells(Entry(L"a.txt", FILE_ATTRIBUTE_ARCHIVE, L"", 1234567)), L"     1,234,567 ");
}

TEST_F(EntryTextTest, ExtensionTakesItsKindColourOnlyWhileWholeLinesDoNot)
{
    g_KindColors[0].m_extensions = L"GZ";
    g_KindColors[0].m_color = 0x123456;
    g_KindColors[1].m_extensions = L"gz";
    g_KindColors[1].m_color = 0x654321;
    Set(g_DISP_FILE_KIND_COLOR, 0);
    Line(Entry(L"a.tar.gz"));
    EXPECT_EQ(m_grid.ColorAt(0, 1), kText);
    EXPECT_EQ(m_grid.ColorAt(0, 9), 0x123456u);
    // With whole-line kind colours the caller's colour is used for the extension too.
    Set(g_DISP_FILE_KIND_COLOR, 1);
    Line(Entry(L"a.tar.gz"));
    EXPECT_EQ(m_grid.ColorAt(0, 9), kText);
}

TEST_F(EntryTextTest, DoubleWidthCharacterIsCutAtTheFieldEdge)
{
    CCellText cells(m_canvas.dc(), m_canvas.cw(), m_canvas.lh());
    const COLORREF white = 0xffffff;
    // Three cells: "ab" and the left half of the wide character.
    int width = cells.TextOutCellFitted(L"abあc", -1, 0, 0, 3, kPlainDrawFormat, white, kBack);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(m_grid.Row(0), std::wstring(L"ab") + qvtest::kCutCell);
    const int cw = m_canvas.cw();
    const int lh = m_canvas.lh();
    EXPECT_GT(m_canvas.CountOther(RECT{2 * cw, 0, 3 * cw, lh}, kBack), 0) << "left half drawn";
    EXPECT_EQ(m_canvas.CountOther(RECT{3 * cw, 0, 8 * cw, lh}, kBack), 0) << "nothing past the field";
}

TEST_F(EntryTextTest, EntryColourRules)
{
    const DWORD kArchive = FILE_ATTRIBUTE_ARCHIVE;
    const DWORD kDir = FILE_ATTRIBUTE_DIRECTORY;
    g_KindColors[3].m_extensions = L"txt";
    g_KindColors[3].m_color = 0xaa0001;
    g_KindColors[7].m_extensions = L"TXT";
    g_KindColors[7].m_color = 0xaa0002;
    struct Case
    {
        LPCWSTR name;
        DWORD attributes;
        int neglect, kind, mpeg;
        DWORD expected;
    } cases[] = {
        {L"a", kArchive | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN, 0, 0, 0,
         g_DisplayColors[COLOR_SYSTEM]},
        {L"a", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, 0, 0, 0, g_DisplayColors[COLOR_HIDDEN]},
        {L"a", FILE_ATTRIBUTE_READONLY, 0, 0, 0, g_DisplayColors[COLOR_READ_ONLY]},
        {L"a", kArchive, 0, 0, 0, g_DisplayColors[COLOR_ARCHIVE]},
        {L"d", kDir, 0, 0, 0, g_DisplayColors[COLOR_DIRECTORY]},
        {L"d", kDir | FILE_ATTRIBUTE_HIDDEN, 0, 0, 0, g_DisplayColors[COLOR_HIDDEN]},
        {L"d", kDir | FILE_ATTRIBUTE_HIDDEN, 1, 0, 0, g_DisplayColors[COLOR_DIRECTORY]},
        {L"a", kArchive | FILE_ATTRIBUTE_HIDDEN, 1, 0, 0, g_DisplayColors[COLOR_HIDDEN]},
        // The first of two rows naming the extension wins; no extension keeps the
        // attribute colour.
        {L"x.Txt", kArchive, 0, 1, 0, 0xaa0001},
        {L"x.Txt", kArchive, 0, 0, 0, g_DisplayColors[COLOR_ARCHIVE]},
        {L"txt", kArchive, 0, 1, 0, g_DisplayColors[COLOR_ARCHIVE]},
        {L".txt", kArchive, 0, 1, 0, g_DisplayColors[COLOR_ARCHIVE]},
        // Audio files over everything.
        {L"x.wav", FILE_ATTRIBUTE_READONLY, 0, 1, 1, g_DisplayColors[COLOR_MPEGNAME]},
        {L"x.WAV", kArchive, 0, 0, 1, g_DisplayColors[COLOR_MPEGNAME]},
        // Other audio files take the title colour only with a title.
        {L"x.MP3", kArchive, 0, 0, 1, g_DisplayColors[COLOR_ARCHIVE]},
        {L"x.mp2", FILE_ATTRIBUTE_READONLY, 0, 0, 1, g_DisplayColors[COLOR_READ_ONLY]},
        {L"x.wav", kArchive, 0, 0, 0, g_DisplayColors[COLOR_ARCHIVE]},
        {L"x.txt", kArchive, 0, 1, 1, 0xaa0001},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.name << " attr " << c.attributes << " neglect " << c.neglect
                                        << " kind " << c.kind << " mpeg " << c.mpeg);
        Set(g_COLOR_NEGLECT_ATTIRUBTE, c.neglect);
        Set(g_DISP_FILE_KIND_COLOR, c.kind);
        Set(g_MPEGNAMEDISPLAY, c.mpeg);
        EXPECT_EQ(GetEntryColour(Entry(c.name, c.attributes)), c.expected);
    }
    // An audio title counts like the wave extension.
    Set(g_MPEGNAMEDISPLAY, 1);
    CFileInfo titled = Entry(L"x.dat");
    titled.m_displayName = L"Song";
    EXPECT_EQ(GetEntryColour(titled), g_DisplayColors[COLOR_MPEGNAME]);
}

TEST_F(EntryTextTest, NetworkRowsShowNameAndKind)
{
    CCellText cells(m_canvas.dc(), m_canvas.cw(), m_canvas.lh());
    Set(g_NETRESOURCELONG, 10);
    CNetResourceData server;
    server.m_name = L"\\\\HOST";
    server.m_displayType = 2;
    DrawNetworkEntryLine(cells, server, 1, 0, kText, kBack, 40);
    EXPECT_EQ(m_grid.Row(0), L" \\\\HOST     <SERVER>");
    CNetResourceData whole;
    DrawNetworkEntryLine(cells, whole, 1, 1, kText, kBack, 40);
    EXPECT_EQ(m_grid.Row(1), L" ネットワーク全体");
}

TEST_F(EntryTextTest, NetworkRowsShowCommentAndProviderWhereTheListingHasThem)
{
    CCellText cells(m_canvas.dc(), m_canvas.cw(), m_canvas.lh());
    Set(g_NETRESOURCELONG, 4);
    Set(g_NETRESOURCECOMMENT, 5);
    Set(g_NETRESOURCEPROVIDER, 6);
    Set(g_REMOTECOMMENTWRITE, 1);
    Set(g_REMOTEPROVIDERWRITE, 1);
    CNetResourceData share;
    share.m_name = L"docs";
    share.m_displayType = 3;
    share.m_comment = L"note";
    share.m_provider = L"NetP";
    const UINT server[10] = {2};
    const UINT whole[10] = {0};
    const UINT networks[10] = {0, 6};
    struct Case
    {
        int depth;
        const UINT* levels;
        const wchar_t* expected;
    } cases[] = {
        {1, server, L" docs <SHARE>   note  NetP"},
        {1, whole, L" docs <SHARE>   NetP"},
        {2, networks, L" docs <SHARE>   NetP"},
        {3, networks, L" docs <SHARE>   note  NetP"},
    };
    int row = 0;
    for (const Case& c : cases)
    {
        DrawNetworkEntryLine(cells, share, 1, row, kText, kBack, 40, c.depth, c.levels);
        EXPECT_EQ(m_grid.Row(row), c.expected) << row;
        ++row;
    }
}

} // namespace
