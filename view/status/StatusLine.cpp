#include "view/status/StatusLine.h"

#include "util/Clock.h"
#include "app/DriveSeam.h"
#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "filer/IncrementalSearchState.h"
#include "view/draw/EntryText.h"
#include "view/layout/Layout.h"
#include "view/QvView.h"
#include "app/settings/ViewSettings.h"

#include <memory>

PowerStatusSeam g_PowerStatusSeam = {::GetSystemPowerStatus};

// ---- Canvas over a device context ---------------------------------------------------

void CDcCellCanvas::TextOutCell(int column, int row, LPCWSTR text, COLORREF fore, COLORREF back)
{
    HDC dc = m_dc->GetSafeHdc();
    ::SetTextColor(dc, fore);
    ::SetBkColor(dc, back);
    ::SetBkMode(dc, OPAQUE);
    ::TextOutW(dc, column * m_charWidth, row * m_lineHeight, text, lstrlenW(text));
}

void CDcCellCanvas::TextOutCellA(int column, int row, const char* bytes, int count, COLORREF fore,
                                 COLORREF back)
{
    HDC dc = m_dc->GetSafeHdc();
    ::SetTextColor(dc, fore);
    ::SetBkColor(dc, back);
    ::SetBkMode(dc, OPAQUE);
    ::TextOutA(dc, column * m_charWidth, row * m_lineHeight, bytes, count);
}

void CDcCellCanvas::ClearRect(const RECT& rect)
{
    if (m_view != nullptr)
        m_view->DrawPaneBackgroundPicture(m_dc, CRect(rect), g_DisplayColors[COLOR_BACK_GROUND]);
    else
        FillRect(rect, g_DisplayColors[COLOR_BACK_GROUND]);
}

void CDcCellCanvas::FillRect(const RECT& rect, COLORREF colour)
{
    HDC dc = m_dc->GetSafeHdc();
    // ExtTextOut with ETO_OPAQUE fills without creating a brush per call.
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void CDcCellCanvas::DrawLine(int x1, int y1, int x2, int y2, COLORREF colour)
{
    RECT rect;
    if (x1 == x2)
        ::SetRect(&rect, x1, y1, x1 + 1, y2);
    else
        ::SetRect(&rect, x1, y1, x2, y1 + 1);
    if (rect.right > rect.left && rect.bottom > rect.top)
        FillRect(rect, colour);
}

void CDcCellCanvas::DrawTextInRect(const RECT& rect, LPCWSTR text, COLORREF fore, UINT format)
{
    HDC dc = m_dc->GetSafeHdc();
    RECT box = rect;
    ::SetTextColor(dc, fore);
    ::SetBkColor(dc, g_DisplayColors[COLOR_BACK_GROUND]);
    ::SetBkMode(dc, OPAQUE);
    ::DrawTextW(dc, text, -1, &box, format);
}

// ---- Fields ---------------------------------------------------------------------------

namespace
{

struct StatusFieldRow
{
    const wchar_t* label;
    const wchar_t* unit;
    int fieldId;
    int* shown;
};

const StatusFieldRow kStatusFields[] = {
    {L"VOL :", L"", 8, &g_HVOLUME8},   {L"容量:", L"", 0, &g_HVOLUME0},   {L"空き:", L"", 1, &g_HVOLUME1},
    {L"ｶﾚﾝﾄ:", L"個", 2, &g_HVOLUME2}, {L"ﾀｸﾞ :", L"個", 3, &g_HVOLUME3}, {L"FILE:", L"個", 4, &g_HVOLUME4},
    {L"DIR :", L"個", 5, &g_HVOLUME5}, {L"選_F:", L"個", 6, &g_HVOLUME6}, {L"選_D:", L"個", 7, &g_HVOLUME7},
};

const StatusFieldRow* FindField(int fieldId)
{
    for (const StatusFieldRow& row : kStatusFields)
        if (row.fieldId == fieldId)
            return &row;
    return nullptr;
}

const wchar_t kVolumeHeading[] = L"ﾎﾞﾘｭｰﾑ情報";
const wchar_t kClockPattern[] = L"0000-00-00   00:00:00";
const wchar_t kBatteryHeading[] = L"ﾊﾞｯﾃﾘ:";
const wchar_t kBatteryPattern[] = L"ﾊﾞｯﾃﾘ:00h00m(100%)";

COLORREF Colour(int index)
{
    return g_DisplayColors[index];
}

bool IsListingPane(const CFilerPane* pane)
{
    return pane && (pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0;
}

bool ShowsValues(const CFilerPane* pane)
{
    return pane && (pane->m_mode & (PANE_MODE_DRIVE_LIST | PANE_MODE_NETWORK)) == 0;
}

bool VolumeAtHeader(const CFilerPane* pane)
{
    return g_DISP_VOLUME_AT_HEADER && ShowsValues(pane);
}

bool IsGraphicPane(const CFilerPane* pane)
{
    return pane && (pane->m_mode & (PANE_MODE_GRAPHIC | PANE_MODE_ARCHIVE_GRAPHIC)) != 0;
}

// The heading over the path value when the drive list does not take its place.
LPCWSTR PathHeading(const CFilerPane* active)
{
    if (IsListingPane(active) && g_IncrementalSearchOn)
        return L"ｲﾝｸﾘﾒﾝﾀﾙｻｰﾁ";
    return g_EXCHANGEPASSFILE ? L"ﾌｧｲﾙ名" : L"ﾊﾟｽ";
}

RECT CellRange(const CCellCanvas& canvas, int firstColumn, int lastColumn, int row)
{
    RECT rect;
    ::SetRect(&rect, firstColumn * canvas.CharWidth(), row * canvas.LineHeight(),
              lastColumn * canvas.CharWidth(), (row + 1) * canvas.LineHeight());
    return rect;
}

// Clears columns c1..c2 of a row; an inverted range clears nothing.
void ClearCells(CCellCanvas& canvas, int firstColumn, int lastColumn, int row)
{
    if (firstColumn < lastColumn)
        canvas.ClearRect(CellRange(canvas, firstColumn, lastColumn, row));
}

void ClearCellsToEdge(CCellCanvas& canvas, int firstColumn, int row)
{
    RECT rect = CellRange(canvas, firstColumn, 0, row);
    rect.right = canvas.ClientWidth();
    if (rect.left < rect.right)
        canvas.ClearRect(rect);
}

// The rules of a heading row: each starts half a cell after the previous heading
// and ends half a cell before the next one.
class CRuleRow
{
public:
    CRuleRow(CCellCanvas& canvas, int row)
        : m_canvas(canvas), m_y(row * canvas.LineHeight() + canvas.LineHeight() / 2)
    {
    }
    void RuleToColumn(int column) { RuleToX(column * m_canvas.CharWidth() - m_canvas.CharWidth() / 2); }
    void RuleToX(int x)
    {
        if (x > m_x)
            m_canvas.DrawLine(m_x, m_y, x, m_y, Colour(COLOR_LINE));
    }
    void Heading(int column, LPCWSTR text)
    {
        RuleToColumn(column);
        m_canvas.TextOutCell(column, m_y / m_canvas.LineHeight(), text, Colour(COLOR_ALL_INTRO),
                             Colour(COLOR_BACK_GROUND));
        ContinueAfter(column, GetDisplayColumns(text));
    }
    void ContinueAfter(int column, int width)
    {
        m_x = (column + width) * m_canvas.CharWidth() + m_canvas.CharWidth() / 2;
    }
    void ContinueAtX(int x) { m_x = x; }

private:
    CCellCanvas& m_canvas;
    int m_y;
    int m_x = 0;
};

int HalfCellRightOf(const CCellCanvas& canvas, int column)
{
    return column * canvas.CharWidth() + canvas.CharWidth() / 2;
}

// The label of the pane's volume, read through the drive seam.
CString GetPaneVolumeLabel(const CFilerPane& pane)
{
    CString root;
    const CString& dir = pane.m_currentDir;
    if (dir.GetLength() >= 2 && dir[1] == L':')
        root = dir.Left(2) + L"\\";
    else if (dir.Left(2) == L"\\\\")
    {
        int share = dir.Find(L'\\', 2);
        if (share < 0)
            return CString();
        int end = dir.Find(L'\\', share + 1);
        root = (end < 0 ? dir : dir.Left(end)) + L"\\";
    }
    else
        return CString();
    wchar_t label[MAX_PATH + 1] = {};
    if (!g_DriveSeam.GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        return CString();
    return CString(label);
}

// The size text and count text of a field; false for a part the field lacks.
void GetFieldTexts(CFilerPane& pane, int fieldId, bool& hasFigure, ULONGLONG& figure, bool& hasCount,
                   INT_PTR& count)
{
    hasFigure = hasCount = false;
    figure = 0;
    count = 0;
    switch (fieldId)
    {
    case 0:
        hasFigure = true, figure = pane.m_driveTotalBytes;
        break;
    case 1:
        hasFigure = true, figure = pane.m_driveFreeBytes;
        break;
    case 2:
        hasFigure = true, figure = pane.GetTotalFileSize();
        hasCount = true, count = pane.CountEntries(TRUE, TRUE);
        break;
    case 3:
        hasFigure = true, figure = pane.GetMarkedFileSize();
        hasCount = true, count = pane.CountMarked(TRUE, TRUE);
        break;
    case 4:
        hasFigure = true, figure = pane.GetTotalFileSize();
        hasCount = true, count = pane.CountEntries(TRUE, FALSE);
        break;
    case 5:
        hasCount = true, count = pane.CountEntries(FALSE, TRUE);
        break;
    case 6:
        hasFigure = true, figure = pane.GetMarkedFileSize();
        hasCount = true, count = pane.CountMarked(TRUE, FALSE);
        break;
    case 7:
        hasCount = true, count = pane.CountMarked(FALSE, TRUE);
        break;
    default:
        break;
    }
}

} // namespace

int GetShownStatusFields(int fields[4])
{
    int shown = 0;
    for (const StatusFieldRow& row : kStatusFields)
        if (*row.shown && shown < 4)
            fields[shown++] = row.fieldId;
    return shown;
}

// ---- Status rows -----------------------------------------------------------------------

void CStatusLine::Reset()
{
    m_sizeWidth = 15;
    m_countWidth = 4;
    m_sizeGrowth = 0;
    m_countGrowth = 0;
}

int CStatusLine::PathColumn() const
{
    return (g_DRIVE_LIST_ON_HEADER ? 70 : 30) + RightShift();
}

int CStatusLine::GrowSize(int width)
{
    if (width <= m_sizeWidth)
        return 0;
    m_sizeWidth = width;
    m_sizeGrowth = m_sizeWidth - 15;
    return 1;
}

int CStatusLine::GrowCount(int width)
{
    if (width <= m_countWidth)
        return 0;
    m_countWidth = width;
    m_countGrowth = m_countWidth - 4;
    return 1;
}

void CStatusLine::Draw(CCellCanvas& canvas, int part, CFilerPane* active)
{
    if (!g_WRITEHEADERTYPE)
        return;
    int fields[4];
    const int shown = GetShownStatusFields(fields);
    int volumeRow = -1, freeRow = -1;
    for (int i = 0; i < shown; ++i)
    {
        if (fields[i] == 8)
            volumeRow = i + 1;
        else if (fields[i] == 1)
            freeRow = i + 1;
    }

    if (part == STATUS_PART_SEARCH_TEXT)
    {
        ClearCellsToEdge(canvas, PathColumn(), 1);
        canvas.TextOutCell(PathColumn(), 1, g_IncrementalSearchText, Colour(COLOR_INFORMATION),
                           Colour(COLOR_BACK_GROUND));
        return;
    }
    if (part == STATUS_PART_FREE_SPACE)
    {
        if (freeRow < 0)
            return;
        ClearCells(canvas, 5, m_sizeGrowth + 20, freeRow);
    }
    else
    {
        if (part == STATUS_PART_FULL || g_IncrementalSearchOn != m_bLastIncrementalSearch)
            DrawTopRow(canvas, part, active);
        if (part == STATUS_PART_FULL)
            DrawFrame(canvas);
        else
            ClearValueCells(canvas, volumeRow);
    }
    int grew = 0;
    if (ShowsValues(active))
        grew = DrawValues(canvas, part, *active, freeRow);
    if (part != STATUS_PART_FREE_SPACE)
    {
        m_bLastIncrementalSearch = g_IncrementalSearchOn;
    }
    // A figure that did not fit moved the whole right part: draw it all again at the
    // new columns.
    if (grew)
        Draw(canvas, STATUS_PART_FULL, active);
}

void CStatusLine::DrawTopRow(CCellCanvas& canvas, int part, CFilerPane* active)
{
    const int k = RightShift();
    RECT clear = {0, 0, canvas.ClientWidth(), (part == STATUS_PART_FULL ? 5 : 1) * canvas.LineHeight()};
    canvas.ClearRect(clear);

    CRuleRow rules(canvas, 0);
    const int headingColumn = g_DISP_VOLUME_AT_HEADER ? 1 : 4;
    rules.Heading(headingColumn, kVolumeHeading);
    if (VolumeAtHeader(active))
        rules.ContinueAtX((k + 27) * canvas.CharWidth());

    if (g_DRIVE_LIST_ON_HEADER)
    {
        rules.Heading(k + 30, L"ﾄﾞﾗｲﾌﾞ選択");
        const int x = HalfCellRightOf(canvas, k + 67);
        canvas.DrawLine(x, canvas.LineHeight() / 2, x, 2 * canvas.LineHeight() + canvas.LineHeight() / 2,
                        Colour(COLOR_LINE));
    }
    else
        rules.Heading(k + 30, PathHeading(active));

    rules.RuleToColumn(k + 45);
    DrawClock(canvas, active);
    DrawBatteryStatus(canvas, 1, active);
    rules.ContinueAfter(k + 45, GetDisplayColumns(kClockPattern));

    if (g_DRIVE_LIST_ON_HEADER)
        rules.Heading(k + 70, PathHeading(active));

    if (g_DISP_BATTERY_INFO)
    {
        const int batteryColumn = k + (g_DRIVE_LIST_ON_HEADER ? 85 : 70);
        rules.Heading(batteryColumn, kBatteryHeading);
        rules.ContinueAfter(batteryColumn, GetDisplayColumns(kBatteryPattern));
    }
    rules.RuleToX(canvas.ClientWidth());

    const int x = HalfCellRightOf(canvas, k + 27);
    canvas.DrawLine(x, canvas.LineHeight() / 2, x, 5 * canvas.LineHeight(), Colour(COLOR_LINE));
}

void CStatusLine::DrawFrame(CCellCanvas& canvas)
{
    const int k = RightShift();
    const COLORREF label = Colour(COLOR_INTRO_VOLUME);
    const COLORREF back = Colour(COLOR_BACK_GROUND);
    int fields[4];
    const int shown = GetShownStatusFields(fields);
    for (int i = 0; i < shown; ++i)
    {
        const StatusFieldRow* row = FindField(fields[i]);
        canvas.TextOutCell(0, i + 1, row->label, label, back);
        if (row->unit[0])
            canvas.TextOutCell(k + 25, i + 1, row->unit, label, back);
    }

    CRuleRow rules(canvas, 2);
    rules.ContinueAtX(HalfCellRightOf(canvas, k + 27));
    rules.Heading(k + 30, L"ﾌｧｲﾙ属性");
    rules.Heading(k + 70, L"ﾌｧｲﾙ情報");
    rules.RuleToX(canvas.ClientWidth());

    canvas.TextOutCell(k + 28, 3, L"ﾌｧｲﾙ:", label, back);
    canvas.TextOutCell(k + 28, 4, L"日付:", label, back);
    canvas.TextOutCell(k + 47, 3, L"ｻｲｽﾞ:", label, back);
    canvas.TextOutCell(k + 47, 4, L"時間:", label, back);
    canvas.TextOutCell(k + 67, 3, L"ﾏｽｸ :", label, back);
    canvas.TextOutCell(k + 67, 4, L"属性:", label, back);
    const int x = HalfCellRightOf(canvas, k + 65);
    canvas.DrawLine(x, 2 * canvas.LineHeight() + canvas.LineHeight() / 2, x, 5 * canvas.LineHeight(),
                    Colour(COLOR_LINE));
}

void CStatusLine::ClearValueCells(CCellCanvas& canvas, int volumeRow)
{
    const int k = RightShift();
    for (int row = 1; row <= 4; ++row)
        ClearCells(canvas, 5, k + (row == volumeRow ? 27 : 25), row);
    ClearCellsToEdge(canvas, PathColumn(), 1);
    ClearCellsToEdge(canvas, k + 72, 3);
    ClearCells(canvas, k + 33, k + 46, 3);
    ClearCells(canvas, k + 52, k + 65, 3);
    ClearCells(canvas, k + 33, k + 43, 4);
    ClearCells(canvas, k + 52, k + 60, 4);
    ClearCells(canvas, k + 72, k + 82, 4);
}

int CStatusLine::DrawValues(CCellCanvas& canvas, int part, CFilerPane& pane, int freeRow)
{
    const COLORREF info = Colour(COLOR_INFORMATION);
    const COLORREF back = Colour(COLOR_BACK_GROUND);
    int grew = 0;

    if (part == STATUS_PART_FREE_SPACE)
    {
        if (!pane.m_currentDir.IsEmpty() && pane.m_currentDir[0] == L'\\')
            return 0;
        CString text;
        int width = m_sizeWidth;
        FormatNumberWithSeparators(pane.m_driveFreeBytes, text, width);
        canvas.TextOutCell(5, freeRow, text, info, back);
        return GrowSize(width);
    }

    const int k = RightShift();
    // Row 1: the path, the cursor entry's name or the search text.
    CString path;
    const bool listing = IsListingPane(&pane);
    if (listing && g_IncrementalSearchOn)
        path = g_IncrementalSearchText;
    else if (!g_EXCHANGEPASSFILE)
    {
        if (pane.m_mode & PANE_MODE_FILER)
            path = pane.m_currentDir;
        else if (pane.m_mode & PANE_MODE_ARCHIVE)
            path = pane.m_archive->GetCurrentFolder();
    }
    else if (CFileInfo* entry = listing ? pane.GetCursorEntry() : nullptr)
    {
        if ((pane.m_mode & PANE_MODE_FILER) && !entry->IsDirectory() && pane.IsOnVirtualDrive())
            path = entry->GetFullPath();
        else
            path = entry->GetName();
    }
    canvas.TextOutCell(PathColumn(), 1, path, info, back);

    CString mask = pane.m_wildcard;
    if (pane.m_bFilterDirectories)
        mask.Format(L"%s (DIRにも適応)", static_cast<LPCWSTR>(pane.m_wildcard));
    canvas.TextOutCell(k + 72, 3, mask, info, back);

    const BOOL drivePresent = pane.CheckState(PANE_CHECK_DRIVE_PRESENT) == 0;
    if (VolumeAtHeader(&pane))
        DrawVolumeAtHeader(canvas, pane, drivePresent);
    if (drivePresent)
    {
        int fields[4];
        const int shown = GetShownStatusFields(fields);
        for (int i = 0; i < shown; ++i)
        {
            const int row = i + 1;
            if (fields[i] == 8)
            {
                RECT rect = CellRange(canvas, 5, k + 27, row);
                canvas.DrawTextInRect(rect, GetPaneVolumeLabel(pane), info, kPlainDrawFormat);
                continue;
            }
            bool hasFigure, hasCount;
            ULONGLONG figure;
            INT_PTR count;
            GetFieldTexts(pane, fields[i], hasFigure, figure, hasCount, count);
            if (hasFigure)
            {
                CString text;
                int width = m_sizeWidth;
                FormatNumberWithSeparators(figure, text, width);
                canvas.TextOutCell(5, row, text, info, back);
                grew |= GrowSize(width);
            }
            if (hasCount)
            {
                CString text;
                text.Format(L"%lld", static_cast<long long>(count));
                canvas.TextOutCell(m_sizeGrowth + 21, row, text, info, back);
                grew |= GrowCount(text.GetLength());
            }
        }
    }

    if (pane.CheckState(PANE_CHECK_NOT_EMPTY) == 0)
        DrawCursorEntry(canvas, pane);
    return grew;
}

void CStatusLine::DrawVolumeAtHeader(CCellCanvas& canvas, CFilerPane& pane, BOOL drivePresent)
{
    const int k = RightShift();
    const int start = GetDisplayColumns(kVolumeHeading) + 1;
    const int end = k + 27;
    ClearCells(canvas, start, end, 0);
    CRuleRow rules(canvas, 0);
    rules.ContinueAtX(start * canvas.CharWidth());
    CString label;
    if (drivePresent)
        label = GetPaneVolumeLabel(pane);
    if (!label.IsEmpty())
    {
        const COLORREF intro = Colour(COLOR_ALL_INTRO);
        const COLORREF back = Colour(COLOR_BACK_GROUND);
        int width = GetDisplayColumns(label);
        const int room = k + 25 - (start + 1);
        if (width > room)
            width = room > 0 ? room : 0;
        canvas.TextOutCell(start, 0, L"(", intro, back);
        canvas.DrawTextInRect(CellRange(canvas, start + 1, start + 1 + width, 0), label, intro,
                              kPlainDrawFormat);
        canvas.TextOutCell(start + 1 + width, 0, L")", intro, back);
        rules.ContinueAfter(start + 1 + width, 1);
    }
    rules.RuleToX(HalfCellRightOf(canvas, end));
}

void CStatusLine::DrawCursorEntry(CCellCanvas& canvas, CFilerPane& pane)
{
    CFileInfo* entry = pane.GetCursorEntry();
    if (!entry)
        return;
    const int k = RightShift();
    const COLORREF info = Colour(COLOR_INFORMATION);
    const COLORREF back = Colour(COLOR_BACK_GROUND);
    const WIN32_FIND_DATAW& data = entry->m_findData;

    LPCWSTR name = data.cAlternateFileName[0] ? data.cAlternateFileName : data.cFileName;
    canvas.DrawTextInRect(CellRange(canvas, k + 33, k + 45, 3), name, info, DT_NOPREFIX);

    CString date, time;
    FormatFindDataTime(g_VIEWFILETIMETYPE, data, &date, &time, FALSE);
    canvas.TextOutCell(k + 33, 4, date, info, back);
    canvas.TextOutCell(k + 52, 4, time, info, back);

    CString size;
    if (entry->IsDirectory())
        size = L"<DIR>";
    else
    {
        // The cell holds 13 columns; a wider figure (10 GB and up) comes in the short
        // form rather than cut.
        size = FormatSizeCell(entry->m_size, 13);
    }
    canvas.TextOutCell(k + 52, 3, size, info, back);

    static const DWORD kAttributes[5] = {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_DIRECTORY,
                                         FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY,
                                         FILE_ATTRIBUTE_SYSTEM};
    static const wchar_t kLetters[] = L"ADHRS";
    for (int i = 0; i < 5; ++i)
    {
        if (entry->HasAttribute(kAttributes[i]))
        {
            wchar_t letter[2] = {kLetters[i], 0};
            canvas.TextOutCell(k + 72 + 2 * i, 4, letter, info, back);
        }
    }
}

void CStatusLine::DrawClock(CCellCanvas& canvas, CFilerPane* active)
{
    if (!g_WRITEHEADERTYPE || IsGraphicPane(active))
        return;
    const int k = RightShift();
    ClearCells(canvas, k + 45, k + 66, 0);
    SYSTEMTIME now = {};
    QvGetLocalTime(&now);
    CString text;
    text.Format(L"%04d-%02d-%02d   %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                now.wSecond);
    canvas.TextOutCell(k + 45, 0, text, Colour(COLOR_TIME), Colour(COLOR_BACK_GROUND));
}

void CStatusLine::DrawBatteryStatus(CCellCanvas& canvas, int always, CFilerPane* active)
{
    if (!g_WRITEHEADERTYPE || !g_DISP_BATTERY_INFO || IsGraphicPane(active))
        return;
    SYSTEM_POWER_STATUS status = {};
    CString text;
    COLORREF colour = Colour(COLOR_ALL_INTRO);
    if (!g_PowerStatusSeam.getSystemPowerStatus(&status))
        text = L"---";
    else if (status.ACLineStatus == 1)
        text = L"AC電源";
    else
    {
        const int percent = status.BatteryLifePercent;
        if (status.BatteryLifeTime == static_cast<DWORD>(-1))
            text.Format(L"%03d%%", percent);
        else
            text.Format(L"%02dh%02dm(%03d%%)", static_cast<int>(status.BatteryLifeTime / 3600),
                        static_cast<int>((status.BatteryLifeTime / 60) % 60), percent);
        // 255 is the system's "unknown", never a low charge.
        if (percent != 255 && percent < g_BATTERY_INFO_ALARM_PERSENT)
            colour = RGB(255, 0, 0);
    }
    if (!always)
    {
        if (text == m_lastBatteryText)
            return;
        m_lastBatteryText = text;
    }
    const int column = RightShift() + (g_DRIVE_LIST_ON_HEADER ? 91 : 76);
    ClearCells(canvas, column, column + 12, 0);
    canvas.TextOutCell(column, 0, text, colour, Colour(COLOR_BACK_GROUND));
    const int y = canvas.LineHeight() / 2;
    const int x = HalfCellRightOf(canvas, column + GetDisplayColumns(text));
    if (x < canvas.ClientWidth())
        canvas.DrawLine(x, y, canvas.ClientWidth(), y, Colour(COLOR_LINE));
}

// ---- The view's status drawing ------------------------------------------------------------

namespace
{

// The given context, or the view's client context, with the view font selected for
// the life of this object; cells as the view's last layout gave them. The paint
// context of OnDraw reaches the status rows before the panes select the font, and
// cell columns only line up with the font the layout measured.
class CStatusDrawContext
{
public:
    CStatusDrawContext(CQvView* view, CDC* pDC) : m_pDC(pDC)
    {
        if (m_pDC == nullptr && view->m_hWnd != nullptr)
        {
            m_client = std::make_unique<CClientDC>(view);
            m_pDC = m_client.get();
        }
        if (m_pDC == nullptr)
            return;
        if (view->m_viewFont.GetSafeHandle())
            m_oldFont = m_pDC->SelectObject(view->m_viewFont.GetSafeHandle());
        m_canvas = std::make_unique<CDcCellCanvas>(m_pDC, view->m_layout.charWidth, view->m_layout.lineHeight,
                                                   view->m_layout.clientWidth, view);
    }
    ~CStatusDrawContext()
    {
        // A lent context goes back to its owner with the font it came with.
        if (m_pDC && m_oldFont)
            m_pDC->SelectObject(m_oldFont);
    }
    CStatusDrawContext(const CStatusDrawContext&) = delete;
    CStatusDrawContext& operator=(const CStatusDrawContext&) = delete;
    CDC* dc() const { return m_pDC; }
    CCellCanvas* canvas() const { return m_canvas.get(); }

private:
    CDC* m_pDC;
    std::unique_ptr<CClientDC> m_client;
    HGDIOBJ m_oldFont = nullptr;
    std::unique_ptr<CDcCellCanvas> m_canvas;
};

CFilerPane* ActivePane()
{
    int pane = -1;
    return FindPaneByMode(&pane, PANE_POS_ACTIVE, 0, 0) ? g_Panes[pane] : nullptr;
}

} // namespace

void CQvView::DrawStatusLine(int part, CDC* pDC)
{
    CStatusDrawContext context(this, pDC);
    if (!context.canvas())
        return;
    const int shiftBefore = m_statusLine.RightShift();
    m_statusLine.Draw(*context.canvas(), part, ActivePane());
    if (g_WRITEHEADERTYPE && (part == STATUS_PART_FULL || part == STATUS_PART_UPDATE))
    {
        // The drive bar moves right with the size and count columns (its own first
        // letter column is added where it is drawn and hit); a grown width redrew
        // the rows whole, so the bar is drawn whole too.
        const bool whole = part == STATUS_PART_FULL || m_statusLine.RightShift() != shiftBefore;
        m_driveBar.baseColumn = m_statusLine.RightShift();
        DrawDriveBar(context.dc(), whole ? 255 : 4);
    }
}

void CQvView::DrawClock(CDC* pDC)
{
    CStatusDrawContext context(this, pDC);
    if (context.canvas())
        m_statusLine.DrawClock(*context.canvas(), ActivePane());
}

void CQvView::DrawBatteryStatus(int always, CDC* pDC)
{
    CStatusDrawContext context(this, pDC);
    if (context.canvas())
        m_statusLine.DrawBatteryStatus(*context.canvas(), always, ActivePane());
}
