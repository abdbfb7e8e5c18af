// The status rows drawn onto a recording canvas: which fields show, how a wide
// figure moves the right part, the size cell of the cursor entry and the battery
// field's colours.
#include "view/status/StatusLine.h"

#include "tests/view/DrawTestSupport.h"

#include "util/Clock.h"
#include "app/DriveSeam.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "filer/IncrementalSearchState.h"
#include "app/settings/ViewSettings.h"
#include "view/QvView.h"
#include "graphics/picture/PictureData.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

struct TextCall
{
    int column;
    int row;
    std::wstring text;
    COLORREF fore;
    UINT format = 0;
};

class CRecordingCanvas : public CCellCanvas
{
public:
    int CharWidth() const override { return 8; }
    int LineHeight() const override { return 16; }
    int ClientWidth() const override { return 1200; }
    void TextOutCell(int column, int row, LPCWSTR text, COLORREF fore, COLORREF) override
    {
        texts.push_back({column, row, text, fore});
    }
    void TextOutCellA(int, int, const char*, int, COLORREF, COLORREF) override {}
    void ClearRect(const RECT& rect) override
    {
        // A clear of all five rows is the mark of a full redraw.
        if (rect.top == 0 && rect.bottom == 5 * LineHeight())
            ++fullClears;
    }
    void FillRect(const RECT&, COLORREF) override {}
    void DrawLine(int, int, int, int, COLORREF) override {}
    void DrawTextInRect(const RECT& rect, LPCWSTR text, COLORREF fore, UINT format) override
    {
        texts.push_back({rect.left / CharWidth(), rect.top / LineHeight(), text, fore, format});
    }

    const TextCall* Find(const std::wstring& text) const
    {
        const TextCall* found = nullptr;
        for (const TextCall& call : texts)
            if (call.text == text)
                found = &call; // the last drawing wins
        return found;
    }
    const TextCall* At(int column, int row) const
    {
        const TextCall* found = nullptr;
        for (const TextCall& call : texts)
            if (call.column == column && call.row == row)
                found = &call;
        return found;
    }

    std::vector<TextCall> texts;
    int fullClears = 0;
};

DWORD WINAPI AllDrives()
{
    return 0x3ffffff;
}

BOOL WINAPI LabelledVolume(LPCWSTR, LPWSTR label, DWORD size, LPDWORD, LPDWORD, LPDWORD, LPWSTR, DWORD)
{
    lstrcpynW(label, L"R&D", static_cast<int>(size));
    return TRUE;
}

WIN32_FIND_DATAW FileData(LPCWSTR name, ULONGLONG size, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE)
{
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = attributes;
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    lstrcpynW(data.cFileName, name, MAX_PATH);
    return data;
}

class StatusLineTest : public ::testing::Test
{
protected:
    StatusLineTest() : m_pane(0)
    {
        g_DriveSeam.GetLogicalDrives = AllDrives;
        g_DriveSeam.GetVolumeInformationW = LabelledVolume;
        m_pane.m_mode = PANE_MODE_FILER;
        m_pane.m_position = PANE_POS_ACTIVE;
        m_pane.m_currentDir = L"C:\\data";
        m_pane.m_driveTotalBytes = 1000;
        m_pane.m_driveFreeBytes = 500;
    }
    ~StatusLineTest() override
    {
        g_HVOLUME0 = m_saved[0], g_HVOLUME1 = m_saved[1], g_HVOLUME2 = m_saved[2];
        g_HVOLUME3 = m_saved[3], g_HVOLUME4 = m_saved[4], g_HVOLUME5 = m_saved[5];
        g_HVOLUME6 = m_saved[6], g_HVOLUME7 = m_saved[7], g_HVOLUME8 = m_saved[8];
        g_DISP_BATTERY_INFO = m_saved[9], g_BATTERY_INFO_ALARM_PERSENT = m_saved[10];
        g_PowerStatusSeam = m_savedPower;
        g_IncrementalSearchOn = FALSE;
        g_IncrementalSearchText.Empty();
    }
    void AddFile(LPCWSTR name, ULONGLONG size, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE)
    {
        m_pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\data", L"",
                                         FileData(name, size, attributes), -1);
    }

    int m_saved[11] = {g_HVOLUME0,
                       g_HVOLUME1,
                       g_HVOLUME2,
                       g_HVOLUME3,
                       g_HVOLUME4,
                       g_HVOLUME5,
                       g_HVOLUME6,
                       g_HVOLUME7,
                       g_HVOLUME8,
                       g_DISP_BATTERY_INFO,
                       g_BATTERY_INFO_ALARM_PERSENT};
    PowerStatusSeam m_savedPower = g_PowerStatusSeam;
    CDriveSeamOverride m_driveSeam;
    CFilerPane m_pane;
    CStatusLine m_status;
    CRecordingCanvas m_canvas;
};

TEST_F(StatusLineTest, AllVolumeSwitchesOnShowOnlyTheFirstFourFieldsInTableOrder)
{
    g_HVOLUME0 = g_HVOLUME1 = g_HVOLUME2 = g_HVOLUME3 = g_HVOLUME4 = 1;
    g_HVOLUME5 = g_HVOLUME6 = g_HVOLUME7 = g_HVOLUME8 = 1;
    AddFile(L"a.txt", 10);
    m_status.Draw(m_canvas, STATUS_PART_FULL, &m_pane);

    const wchar_t* expected[] = {L"VOL :", L"容量:", L"空き:", L"ｶﾚﾝﾄ:"};
    for (int row = 1; row <= 4; ++row)
    {
        const TextCall* label = m_canvas.Find(expected[row - 1]);
        ASSERT_NE(label, nullptr) << row;
        EXPECT_EQ(label->row, row);
        EXPECT_EQ(label->column, 0);
    }
    EXPECT_EQ(m_canvas.Find(L"ﾀｸﾞ :"), nullptr);
    EXPECT_EQ(m_canvas.Find(L"FILE:"), nullptr);
    // The volume label fills the first value cell; the free bytes stand at column 5.
    // An "&" in a label is a character like any other, not a mnemonic.
    const TextCall* volume = m_canvas.Find(L"R&D");
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->format & DT_NOPREFIX, static_cast<UINT>(DT_NOPREFIX));
    const TextCall* free = m_canvas.At(5, 3);
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(free->text, L"            500");
}

TEST_F(StatusLineTest, SeventeenCharacterFigureMovesTheRightPartWithOneRedraw)
{
    g_HVOLUME0 = g_HVOLUME1 = g_HVOLUME2 = g_HVOLUME3 = 1;
    g_HVOLUME4 = g_HVOLUME5 = g_HVOLUME6 = g_HVOLUME7 = g_HVOLUME8 = 0;
    AddFile(L"big.bin", 1234567890123ULL); // "1,234,567,890,123": 17 characters
    m_status.Draw(m_canvas, STATUS_PART_FULL, &m_pane);

    EXPECT_EQ(m_status.m_sizeWidth, 17);
    EXPECT_EQ(m_status.m_sizeGrowth, 2);
    EXPECT_EQ(m_status.RightShift(), 2);
    EXPECT_EQ(m_canvas.fullClears, 2); // the first pass and one redraw at the new columns
    const TextCall* heading = m_canvas.Find(L"ﾊﾟｽ");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->column, 32);
    EXPECT_EQ(m_canvas.Find(L"ﾌｧｲﾙ:")->column, 30);
    EXPECT_EQ(m_canvas.Find(L"1,234,567,890,123")->column, 5);

    // Nothing wider since: an update moves nothing and redraws nothing whole.
    m_canvas.fullClears = 0;
    m_status.Draw(m_canvas, STATUS_PART_UPDATE, &m_pane);
    EXPECT_EQ(m_canvas.fullClears, 0);
    EXPECT_EQ(m_status.m_sizeWidth, 17);

    // The widths stay until the settings are read again.
    m_status.Reset();
    EXPECT_EQ(m_status.RightShift(), 0);
}

TEST_F(StatusLineTest, SizeCellShowsTheWholeFigureInThirteenColumns)
{
    struct Case
    {
        ULONGLONG size;
        DWORD attributes;
        const wchar_t* shown;
    } cases[] = {
        {9999999999ULL, FILE_ATTRIBUTE_ARCHIVE, L"9,999,999,999"},
        // Fourteen grouped characters would not fit: the short form, never a figure
        // without its first digit.
        {12345678901ULL, FILE_ATTRIBUTE_ARCHIVE, L"        12.3G"},
        {123456789012ULL, FILE_ATTRIBUTE_ARCHIVE, L"       123.4G"},
        {1234, FILE_ATTRIBUTE_ARCHIVE, L"        1,234"},
        {0, FILE_ATTRIBUTE_DIRECTORY, L"<DIR>"},
    };
    for (const Case& c : cases)
    {
        m_pane.m_entries.RemoveAll();
        AddFile(L"file.dat", c.size, c.attributes);
        m_pane.m_cursor = 0;
        CRecordingCanvas canvas;
        m_status.Draw(canvas, STATUS_PART_FULL, &m_pane);
        const TextCall* cell = canvas.At(52, 3);
        ASSERT_NE(cell, nullptr) << c.size;
        EXPECT_EQ(cell->text, c.shown);
    }
    EXPECT_EQ(m_status.RightShift(), 0);
}

SYSTEM_POWER_STATUS g_power;
BOOL WINAPI FakePowerStatus(LPSYSTEM_POWER_STATUS status)
{
    *status = g_power;
    return TRUE;
}

TEST_F(StatusLineTest, BatteryAlarmsOnlyBelowTheLimitOnBatteryPower)
{
    g_DISP_BATTERY_INFO = 1;
    g_BATTERY_INFO_ALARM_PERSENT = 10;
    g_PowerStatusSeam.getSystemPowerStatus = FakePowerStatus;
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF intro = g_DisplayColors[COLOR_ALL_INTRO];
    struct Case
    {
        BYTE acLine;
        BYTE percent;
        DWORD seconds;
        const wchar_t* text;
        COLORREF colour;
    } cases[] = {
        {0, 9, 3723, L"01h02m(009%)", red},
        {0, 10, 3723, L"01h02m(010%)", intro},
        {0, 255, static_cast<DWORD>(-1), L"255%", intro},
        {0, 9, static_cast<DWORD>(-1), L"009%", red},
        {1, 5, static_cast<DWORD>(-1), L"AC電源", intro},
    };
    for (const Case& c : cases)
    {
        g_power = {};
        g_power.ACLineStatus = c.acLine;
        g_power.BatteryLifePercent = c.percent;
        g_power.BatteryLifeTime = c.seconds;
        CRecordingCanvas canvas;
        m_status.DrawBatteryStatus(canvas, 0, &m_pane);
        const TextCall* field = canvas.At(76, 0);
        ASSERT_NE(field, nullptr) << c.text;
        EXPECT_EQ(field->text, c.text);
        EXPECT_EQ(field->fore, c.colour) << c.text;

        // The one-second timer draws an unchanged text only once.
        CRecordingCanvas again;
        m_status.DrawBatteryStatus(again, 0, &m_pane);
        EXPECT_TRUE(again.texts.empty()) << c.text;
    }
}

TEST_F(StatusLineTest, IncrementalSearchRedrawsTheTopRowThenOnlyItsText)
{
    m_status.Draw(m_canvas, STATUS_PART_FULL, &m_pane);
    g_IncrementalSearchOn = TRUE;
    g_IncrementalSearchText = L"abc";

    CRecordingCanvas update;
    m_status.Draw(update, STATUS_PART_UPDATE, &m_pane);
    const TextCall* heading = update.Find(L"ｲﾝｸﾘﾒﾝﾀﾙｻｰﾁ");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->row, 0);
    EXPECT_EQ(update.Find(L"ﾌｧｲﾙ:"), nullptr); // the frame below stays
    ASSERT_NE(update.Find(L"abc"), nullptr);
    EXPECT_EQ(update.Find(L"abc")->column, 30);

    CRecordingCanvas typed;
    g_IncrementalSearchText = L"abcd";
    m_status.Draw(typed, STATUS_PART_SEARCH_TEXT, &m_pane);
    ASSERT_EQ(typed.texts.size(), 1u);
    EXPECT_EQ(typed.texts[0].text, L"abcd");

    // The state is remembered: a further update leaves the top row alone.
    CRecordingCanvas again;
    m_status.Draw(again, STATUS_PART_UPDATE, &m_pane);
    EXPECT_EQ(again.Find(L"ｲﾝｸﾘﾒﾝﾀﾙｻｰﾁ"), nullptr);
}

TEST_F(StatusLineTest, DeviceContextCanvasDrawsRulesAndClearsCells)
{
    HDC screen = GetDC(nullptr);
    CDC dc;
    dc.Attach(CreateCompatibleDC(screen));
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1000, 80);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc.GetSafeHdc(), bitmap);
    RECT all = {0, 0, 1000, 80};
    FillRect(dc.GetSafeHdc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    CDcCellCanvas canvas(&dc, 8, 16, 1000);
    m_status.Draw(canvas, STATUS_PART_FULL, &m_pane);
    // The top row's first rule runs at half a line height up to half a cell before
    // the heading at column 4; above it the cells were cleared.
    EXPECT_EQ(GetPixel(dc.GetSafeHdc(), 10, 8), g_DisplayColors[COLOR_LINE]);
    EXPECT_EQ(GetPixel(dc.GetSafeHdc(), 10, 4), g_DisplayColors[COLOR_BACK_GROUND]);
    // The vertical rule half a cell right of column 27 down to the fifth row's end.
    EXPECT_EQ(GetPixel(dc.GetSafeHdc(), 27 * 8 + 4, 70), g_DisplayColors[COLOR_LINE]);

    SelectObject(dc.GetSafeHdc(), old);
    DeleteObject(bitmap);
    DeleteDC(dc.Detach());
}

// The view's status drawing on a memory context: the header drive bar and the font.
class StatusDrawingTest : public StatusLineTest
{
protected:
    StatusDrawingTest()
    {
        g_Panes[0] = &m_pane;
        g_Panes[1] = nullptr;
        g_WRITEHEADERTYPE = 1;
        g_DisplayColors[COLOR_BACK_GROUND] = RGB(0, 0, 0);
        g_DisplayColors[COLOR_INTRO_VOLUME] = RGB(0, 200, 0);
        g_DisplayColors[COLOR_INFORMATION] = RGB(255, 255, 255);
    }
    ~StatusDrawingTest() override
    {
        g_Panes[0] = m_savedPanes[0];
        g_Panes[1] = m_savedPanes[1];
        g_WRITEHEADERTYPE = m_savedRows;
        g_DRIVE_LIST_ON_HEADER = m_savedBar;
        g_DisplayColors = m_savedColours;
    }
    void UseCellsOf(CQvView& view, const qvtest::MemoryCanvas& canvas)
    {
        view.m_layout.charWidth = canvas.cw();
        view.m_layout.lineHeight = canvas.lh();
        view.m_layout.clientWidth = kWidth;
    }
    // Pixels of the cell that show the colour.
    static int CountInCell(const qvtest::MemoryCanvas& canvas, int column, int row, COLORREF colour)
    {
        RECT cell = {column * canvas.cw(), row * canvas.lh(), (column + 1) * canvas.cw(),
                     (row + 1) * canvas.lh()};
        return (cell.right - cell.left) * (cell.bottom - cell.top) - canvas.CountOther(cell, colour);
    }

    static constexpr int kWidth = 1600;
    static constexpr int kHeight = 100;
    CFilerPane* m_savedPanes[2] = {g_Panes[0], g_Panes[1]};
    int m_savedRows = g_WRITEHEADERTYPE;
    int m_savedBar = g_DRIVE_LIST_ON_HEADER;
    const std::array<DWORD, DISPLAY_COLOR_COUNT> m_savedColours = g_DisplayColors;
};

// The letters stand in row 1 from column 33 on, moved right by as much as the size
// and count columns grew; the active drive is highlighted there, an update of the
// values leaves them standing, and a click on a drawn letter names that drive.
TEST_F(StatusDrawingTest, HeaderDriveBarStandsWhereItsClicksAreTakenAndSurvivesAnUpdate)
{
    g_DRIVE_LIST_ON_HEADER = 1;
    g_HVOLUME0 = 1;
    g_HVOLUME1 = g_HVOLUME2 = g_HVOLUME3 = g_HVOLUME4 = g_HVOLUME5 = g_HVOLUME6 = g_HVOLUME7 = g_HVOLUME8 = 0;
    struct Case
    {
        ULONGLONG totalBytes;
        bool grows;
    } const cases[] = {{1000, false}, {1000000000000000000ull, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.totalBytes);
        m_pane.m_driveTotalBytes = c.totalBytes;
        qvtest::MemoryCanvas canvas(kWidth, kHeight);
        CQvView view;
        UseCellsOf(view, canvas);
        view.DrawStatusLine(STATUS_PART_FULL, canvas.dc());
        const int shift = view.m_statusLine.RightShift();
        EXPECT_EQ(c.grows, shift > 0);
        const int highlight = g_DisplayColors[COLOR_INTRO_VOLUME];
        // Drives A, B, C...: the active C: is the third letter.
        const int column = shift + 33 + 3 * 2;
        const int cellArea = canvas.cw() * canvas.lh();
        EXPECT_GT(CountInCell(canvas, column, 1, highlight), cellArea / 2)
            << "no highlighted C: at " << column;
        // The path value keeps its own cells, with no letter drawn over it.
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(0, CountInCell(canvas, shift + 70 + i, 1, highlight)) << "column " << shift + 70 + i;

        view.DrawStatusLine(STATUS_PART_UPDATE, canvas.dc());
        EXPECT_GT(CountInCell(canvas, column, 1, highlight), cellArea / 2) << "the update wiped the bar";

        CPoint inCell(column * canvas.cw() + canvas.cw() / 2, canvas.lh() + canvas.lh() / 2);
        EXPECT_EQ(L'C', view.DriveBarClick(inCell));
        CPoint firstLetter((shift + 33) * canvas.cw() + 1, canvas.lh() + 1);
        EXPECT_EQ(L'A', view.DriveBarClick(firstLetter));
    }
}

// The pane background picture shows through the cleared status cells and between the
// drive bar's letters when it is switched on; off, the background colour does.
TEST_F(StatusDrawingTest, ClearedCellsAndTheDriveBarShowTheBackgroundPicture)
{
    const COLORREF pictureColour = RGB(10, 20, 30);
    std::string bmp(58, '\0');
    BITMAPFILEHEADER file = {0x4D42, 58, 0, 0, 54};
    BITMAPINFOHEADER info = {40, 1, 1, 1, 24, 0, 4, 0, 0, 0, 0};
    memcpy(&bmp[0], &file, 14);
    memcpy(&bmp[14], &info, 40);
    bmp[54] = 30; // blue, green, red
    bmp[55] = 20;
    bmp[56] = 10;
    const std::wstring path = qvtest::ScratchDir() + L"\\back.bmp";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, bmp));
    const int savedFlag = g_BACKBITMAPFLAG;
    const int savedTile = g_BACKBMPTILE;
    g_BACKBMPTILE = 1;
    g_DRIVE_LIST_ON_HEADER = 1;
    for (int on : {0, 1})
    {
        g_BACKBITMAPFLAG = on;
        qvtest::MemoryCanvas canvas(kWidth, kHeight);
        CQvView view;
        view.m_graphic.backgroundPicture = std::make_unique<CPictureData>();
        ASSERT_TRUE(view.m_graphic.backgroundPicture->LoadBmp(path.c_str()));
        UseCellsOf(view, canvas);
        view.DrawStatusLine(STATUS_PART_FULL, canvas.dc());
        const int cellArea = canvas.cw() * canvas.lh();
        RECT topRow = {0, 0, kWidth, canvas.lh()};
        const int rowArea = kWidth * canvas.lh();
        EXPECT_EQ(on != 0, rowArea - canvas.CountOther(topRow, pictureColour) > cellArea) << on;
        // The blank cell after the first letter of the drive bar.
        const int gap = view.m_statusLine.RightShift() + 33 + 2;
        EXPECT_EQ(on != 0, CountInCell(canvas, gap, 1, pictureColour) == cellArea) << on;
    }
    g_BACKBITMAPFLAG = savedFlag;
    g_BACKBMPTILE = savedTile;
}

// The status rows go through the view font whatever font the given context holds
// (the paint context comes before the panes select it), and the context gets its own
// font back.
TEST_F(StatusDrawingTest, StatusRowsUseTheViewFontOnAnyContextAndGiveTheContextsFontBack)
{
    SYSTEMTIME fixed = {2026, 12, 4, 10, 1, 2, 3, 0};
    CClockOverride clock(fixed);
    for (int bar : {0, 1})
    {
        SCOPED_TRACE(bar);
        g_DRIVE_LIST_ON_HEADER = bar;
        CQvView view;
        view.m_viewFont.CreateFont(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                   L"ＭＳ ゴシック");
        qvtest::MemoryCanvas plain(kWidth, kHeight);
        qvtest::MemoryCanvas prepared(kWidth, kHeight);
        UseCellsOf(view, plain);
        HGDIOBJ plainFont = ::GetCurrentObject(plain.dc()->GetSafeHdc(), OBJ_FONT);
        HGDIOBJ preparedFont = prepared.dc()->SelectObject(view.m_viewFont.GetSafeHandle());

        view.DrawStatusLine(STATUS_PART_FULL, plain.dc());
        view.DrawStatusLine(STATUS_PART_FULL, prepared.dc());
        EXPECT_EQ(plainFont, ::GetCurrentObject(plain.dc()->GetSafeHdc(), OBJ_FONT));
        ::GdiFlush();
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                differing += plain.Pixel(x, y) != prepared.Pixel(x, y);
        EXPECT_EQ(0, differing) << "the rows were drawn in the context's own font";
        prepared.dc()->SelectObject(preparedFont);
    }
}

} // namespace
