// Pane drawing on a memory bitmap: entries, title, marks, the cursor line, the divider.
#include <gtest/gtest.h>

#include "DrawTestSupport.h"
#include "tests/common/TestSupport.h"
#include "app/DriveSeam.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/draw/EntryText.h"
#include "view/layout/Layout.h"
#include "view/QvView.h"
#include "app/settings/ViewSettings.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

using qvtest::CellGrid;
using qvtest::MemoryCanvas;

constexpr int kWidth = 640;
constexpr int kHeight = 400;

class DrawPaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::copy(std::begin(g_DisplayColors), std::end(g_DisplayColors), m_colors);
        for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
            g_DisplayColors[i] = kDisplayColorRows[i].defaultValue;
        m_presets = g_FilerInfoPresets[0];
        g_FilerInfoPresets[0] = FilerInfoPreset();
        Set(g_FILERINFONUMBER, 0);
        Set(g_WRITEHEADERTYPE, 1);
        Set(g_WINDOWDEVIDEWAY, 0);
        Set(g_NOTSCROLLFILER, 0);
        Set(g_FILENAMELONG, 12);
        Set(g_FILEKINDMAXLONG, 3);
        Set(g_AUTO_FILE_NAME_WIDTH, 0);
        Set(g_WRITEFILERFREESIZE, 0);
        m_dir = qvtest::ScratchDir().c_str();
        for (int i = 0; i < 2; ++i)
        {
            m_panes[i] = std::make_unique<CFilerPane>(i);
            m_panes[i]->m_position = i == 0 ? PANE_POS_ACTIVE : PANE_POS_OTHER;
            m_panes[i]->m_mode = PANE_MODE_FILER;
            m_panes[i]->m_subMode = PANE_SUB_DIRECTORY;
            m_panes[i]->m_currentDir = m_dir;
            m_raw[i] = m_panes[i].get();
        }
        for (LPCWSTR name : {L"alpha.txt", L"beta.txt", L"gamma.txt"})
        {
            WIN32_FIND_DATAW fd = {};
            fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
            wcscpy_s(fd.cFileName, name);
            m_panes[0]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
        }
    }
    void TearDown() override
    {
        std::copy(std::begin(m_colors), std::end(m_colors), g_DisplayColors.begin());
        g_FilerInfoPresets[0] = m_presets;
        // Newest first, so that a setting changed twice gets its first value back.
        for (auto it = m_ints.rbegin(); it != m_ints.rend(); ++it)
            *it->first = it->second;
    }
    void Set(int& variable, int value)
    {
        m_ints.push_back({&variable, variable});
        variable = value;
    }
    void Layout()
    {
        TEXTMETRICW tm = {};
        m_canvas.dc()->GetTextMetrics(&tm);
        ComputeLayout(tm, kWidth, kHeight, m_raw, m_layout);
    }
    COLORREF Back() const { return g_DisplayColors[COLOR_BACK_GROUND]; }
    COLORREF PixelMid(int column, int row) const
    {
        GdiFlush();
        return m_canvas.Pixel(column * m_layout.charWidth + m_layout.charWidth / 2,
                              row * m_layout.lineHeight + m_layout.lineHeight / 2);
    }

    MemoryCanvas m_canvas{kWidth, kHeight};
    CellGrid m_grid{m_canvas.cw(), m_canvas.lh()};
    CString m_dir;
    std::unique_ptr<CFilerPane> m_panes[2];
    CFilerPane* m_raw[2] = {};
    ViewLayout m_layout;

private:
    DWORD m_colors[DISPLAY_COLOR_COUNT];
    FilerInfoPreset m_presets;
    std::vector<std::pair<int*, int>> m_ints;
};

TEST_F(DrawPaneTest, FilerPaneShowsTitleAndEntriesButNoEntriesOnAMissingDrive)
{
    Layout();
    const PaneLayout& geo = m_layout.panes[0];
    ASSERT_EQ(geo.originRow, 6); // five status rows and the title row
    CPaneDrawer drawer(m_canvas.dc(), m_layout, m_raw);
    drawer.DrawPane(0);
    EXPECT_EQ(m_grid.Row(geo.originRow - 1), std::wstring(L" ") + m_dir.GetString());
    EXPECT_EQ(m_grid.Row(geo.originRow), L" alpha       .txt");
    EXPECT_EQ(m_grid.Row(geo.originRow + 2), L" gamma       .txt");
    EXPECT_EQ(m_grid.ColorAt(geo.originRow, 1), g_DisplayColors[COLOR_ARCHIVE]);
    // The title row is filled in its colour (its first cell is always a blank; the
    // scratch path is long enough to reach the row's end).
    EXPECT_EQ(PixelMid(0, geo.originRow - 1), g_DisplayColors[COLOR_INTRO_VOLUME]);

    DriveSeam saved = g_DriveSeam;
    g_DriveSeam.GetLogicalDrives = []() -> DWORD { return 1u << ('C' - 'A'); };
    m_panes[0]->m_currentDir = L"Q:\\gone";
    m_grid.Clear();
    drawer.DrawPane(0);
    g_DriveSeam = saved;
    EXPECT_EQ(m_grid.Row(geo.originRow - 1), L" Q:\\gone");
    EXPECT_EQ(m_grid.Row(geo.originRow), L"");
    EXPECT_EQ(PixelMid(2, geo.originRow), Back()) << "old entries painted over";
}

// An archive object that stands for one open archive file.
class COpenArchive : public IPaneArchive
{
public:
    explicit COpenArchive(LPCWSTR path) : m_path(path) {}
    int ListDirectory(CArrayFileInfo&, LPCWSTR, LPCWSTR, BOOL, const FindCondition*) override { return 0; }
    const CString& GetCurrentFolder() const override { return m_folder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_folder = folder; }
    CErrorIF& GetErrors() override { return m_errors; }
    void GetArchivePath(CString& out) override { out = m_path; }

private:
    CString m_path;
    CString m_folder;
    CErrorIF m_errors;
};

// A drawer that keeps the frame titles it is given.
class CTitleDrawer : public CPaneDrawer
{
public:
    using CPaneDrawer::CPaneDrawer;
    void SetDocumentTitle(int, const CString& title) override { titles.push_back(title.GetString()); }
    std::vector<std::wstring> titles;
};

TEST_F(DrawPaneTest, ArchiveListingShowsTheArchivePathAndTheFrameItsFileName)
{
    m_panes[0]->m_mode = PANE_MODE_ARCHIVE;
    delete m_panes[0]->m_archive;
    m_panes[0]->m_archive = new COpenArchive(L"C:\\docs\\set.zip");
    m_panes[0]->m_archive->SetCurrentFolder(L"inner");
    Layout();
    const PaneLayout& geo = m_layout.panes[0];
    CTitleDrawer drawer(m_canvas.dc(), m_layout, m_raw);
    drawer.DrawPane(0);
    EXPECT_EQ(m_grid.Row(geo.originRow - 1), L" C:\\docs\\set.zip");
    EXPECT_EQ(drawer.titles, std::vector<std::wstring>{L"set.zip"});
}

TEST_F(DrawPaneTest, FreeSpaceEndsWhereTheStackedTitleLeavesRoomForTheStrip)
{
    Set(g_WRITEFILERFREESIZE, 1);
    m_panes[0]->m_driveFreeBytes = 2048;
    m_panes[0]->m_currentDir = L"C:\\work";
    Layout();
    const int titleRow = m_layout.panes[0].originRow - 1;
    // Whatever the window held before: the strip's room must not keep it.
    m_canvas.dc()->FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
    CPaneDrawer drawer(m_canvas.dc(), m_layout, m_raw);
    drawer.DrawPaneTitle(0);
    EXPECT_EQ(PixelMid(kWidth / m_layout.charWidth - 1, titleRow), Back());
    std::wstring row = m_grid.Row(titleRow);
    // The strip is shown, so the title ends at three quarters of the width.
    const int end = (kWidth - kWidth / 4) / m_layout.charWidth;
    ASSERT_EQ(static_cast<int>(row.size()), end);
    EXPECT_EQ(row.substr(row.size() - 6), L" FREE)");
    EXPECT_EQ(row.substr(0, 9), L" C:\\work ");
}

TEST_F(DrawPaneTest, MarksAndCursorLine)
{
    Layout();
    const PaneLayout& geo = m_layout.panes[0];
    m_panes[0]->m_entries[1].m_mark = 1;
    m_panes[0]->m_cursor = 2;
    CPaneDrawer drawer(m_canvas.dc(), m_layout, m_raw);

    drawer.DrawMarks(0);
    EXPECT_EQ(m_grid.Row(geo.originRow + 1), L"*");
    EXPECT_EQ(m_grid.ColorAt(geo.originRow + 1, 0), g_DisplayColors[COLOR_TAG]);
    EXPECT_EQ(m_grid.Row(geo.originRow), L"") << "unmarked entries get a blank";
    EXPECT_GT(m_canvas.CountOther(CRect(0, (geo.originRow + 1) * m_layout.lineHeight, m_layout.charWidth,
                                        (geo.originRow + 2) * m_layout.lineHeight),
                                  Back()),
              0);

    const COLORREF entryColour = g_DisplayColors[COLOR_ARCHIVE];
    const int row = geo.originRow + 2;
    // The bar runs from the first text cell to two cells before the end of the entry's cell.
    const int lastBarCell = 1 + geo.cellWidth - 3;
    drawer.DrawCursorLine(0, 1);
    EXPECT_EQ(PixelMid(lastBarCell, row), entryColour);
    EXPECT_EQ(PixelMid(lastBarCell + 1, row), Back());
    EXPECT_EQ(PixelMid(0, row), Back()) << "mark column stays";
    EXPECT_EQ(m_grid.ColorAt(row, 1), Back()) << "text in the background colour";

    drawer.DrawCursorLine(0, 0);
    EXPECT_EQ(PixelMid(lastBarCell, row), Back());
    EXPECT_EQ(m_grid.ColorAt(row, 1), entryColour);
}

TEST_F(DrawPaneTest, RedrawOfChangedEntriesLeavesTheirRowNeighboursStanding)
{
    for (int i = 0; i < 40; ++i)
    {
        WIN32_FIND_DATAW fd = {};
        fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
        swprintf_s(fd.cFileName, L"file%02d.txt", i);
        m_panes[0]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
    }
    Layout();
    const PaneLayout& geo = m_layout.panes[0];
    ASSERT_GE(geo.columnsFull, 2) << "the stacked list needs a second column";
    CPaneDrawer drawer(m_canvas.dc(), m_layout, m_raw);
    drawer.DrawPane(0);

    // The first entry of the second column changed in place.
    INT64 changed = 0, neighbour = 0;
    int column = 0, row = 0, neighbourColumn = 0, neighbourRow = 0;
    ComputeEntryCell(m_layout, *m_panes[0], 0, 1, 0, FALSE, changed, column, row);
    ComputeEntryCell(m_layout, *m_panes[0], 0, 0, 0, FALSE, neighbour, neighbourColumn, neighbourRow);
    ASSERT_EQ(row, neighbourRow);
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        m_panes[0]->m_entries[i].m_changed = i == changed;
    drawer.DrawPane(0, 2);

    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    EXPECT_GT(m_canvas.CountOther(
                  CRect(neighbourColumn * cw, row * lh, (neighbourColumn + 4) * cw, (row + 1) * lh), Back()),
              0)
        << "the unchanged entry beside it was painted over";
    EXPECT_GT(m_canvas.CountOther(CRect(column * cw, row * lh, (column + 4) * cw, (row + 1) * lh), Back()),
              0);
}

TEST_F(DrawPaneTest, DividerOnlyWithoutTheLeftPanesScrollStrip)
{
    Set(g_WINDOWDEVIDEWAY, 1);
    for (int hideStrip : {1, 0})
    {
        SCOPED_TRACE(hideStrip);
        Set(g_NOTSCROLLFILER, hideStrip);
        Layout();
        ASSERT_EQ(m_layout.split, 1);
        m_canvas.Fill(Back());
        CPaneDrawer drawer(m_canvas.dc(), m_layout, m_raw);
        drawer.DrawPaneDivider(0, -1);
        GdiFlush();
        const int x = m_layout.panes[1].originColumn * m_layout.charWidth - 1;
        const int y = (m_layout.panes[1].originRow + 3) * m_layout.lineHeight;
        EXPECT_EQ(m_canvas.Pixel(x, y), hideStrip ? g_DisplayColors[COLOR_LINE] : Back());
        EXPECT_EQ(m_canvas.Pixel(x, kHeight - 1), hideStrip ? g_DisplayColors[COLOR_LINE] : Back());
        EXPECT_EQ(m_canvas.Pixel(x - 1, y), Back());
    }
}

} // namespace

namespace
{

TEST_F(DrawPaneTest, ViewDrawsOnTheGivenContextAndNothingWithoutAWindow)
{
    CFilerPane* saved[2] = {g_Panes[0], g_Panes[1]};
    g_Panes[0] = m_raw[0];
    g_Panes[1] = m_raw[1];
    m_panes[0]->m_cursor = 0;
    {
        CQvView view;
        view.DrawPane(0); // no window, no context: nothing to draw on
        EXPECT_EQ(m_grid.Row(6), L"");
        // Without a window the view lays out its own cells; read the grid in those.
        view.CalcLayout();
        const ViewLayout& layout = view.m_layout;
        CellGrid grid(layout.charWidth, layout.lineHeight);
        view.DrawPane(0, m_canvas.dc());
        view.DrawCursorLine(0, 1, m_canvas.dc());
        const int row = layout.panes[0].originRow;
        EXPECT_EQ(grid.Row(row), L" alpha       .txt");
        const int cw = layout.charWidth;
        const int lh = layout.lineHeight;
        EXPECT_GT(
            m_canvas.CountOther(CRect(0, (row - 1) * lh, cw, row * lh), g_DisplayColors[COLOR_INTRO_VOLUME]),
            0)
            << "active-pane mark";
        EXPECT_EQ(grid.ColorAt(row, 1), Back()) << "cursor entry highlighted";
        GdiFlush();
        EXPECT_EQ(m_canvas.Pixel(8 * layout.charWidth + layout.charWidth / 2,
                                 row * layout.lineHeight + layout.lineHeight / 2),
                  g_DisplayColors[COLOR_ARCHIVE])
            << "blank cell inside the bar";
    }
    g_Panes[0] = saved[0];
    g_Panes[1] = saved[1];
}

TEST_F(DrawPaneTest, AnUnreadableDriveShowsItsStateBesideTheCursorCell)
{
    Layout();
    const PaneLayout& geo = m_layout.panes[0];
    CPaneDrawer drawer(m_canvas.dc(), m_layout, m_raw);
    struct Case
    {
        UINT position;
        BOOL notReady;
        DWORD error;
        const wchar_t* text;
        COLORREF colour;
    } cases[] = {
        {PANE_POS_ACTIVE, TRUE, 0, L"NOT READY", g_DisplayColors[COLOR_BACK_GROUND]},
        {PANE_POS_OTHER, TRUE, ERROR_ACCESS_DENIED, L"NOT READY", g_DisplayColors[COLOR_ALARM]},
        {PANE_POS_ACTIVE, FALSE, ERROR_ACCESS_DENIED, L"ACCESS DENIED", g_DisplayColors[COLOR_BACK_GROUND]},
        {PANE_POS_ACTIVE, FALSE, 0, nullptr, 0},
    };
    for (const Case& c : cases)
    {
        m_panes[0]->m_entries.RemoveAll();
        m_panes[0]->m_position = c.position;
        m_panes[0]->m_bDriveNotReady = c.notReady;
        m_panes[0]->m_lastListingError = c.error;
        m_grid.Clear();
        drawer.DrawPane(0);
        std::wstring row = m_grid.Row(geo.originRow);
        if (c.text == nullptr)
        {
            EXPECT_EQ(row, L"");
            continue;
        }
        EXPECT_EQ(row, std::wstring(static_cast<size_t>(geo.originColumn + 1), L' ') + c.text);
        EXPECT_EQ(m_grid.ColorAt(geo.originRow, geo.originColumn + 1), c.colour) << c.position;
    }
}

} // namespace
