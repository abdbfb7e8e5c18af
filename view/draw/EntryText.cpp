#include "view/draw/EntryText.h"

#include "filer/PaneArchive.h"

#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/settings/ViewSettings.h"

#include <vector>

ICellTextRecorder* g_pCellTextRecorder = nullptr;

UINT GetNameDrawFormat()
{
    return g_FILENAMELASTELLIPSIS ? (kPlainDrawFormat | DT_END_ELLIPSIS) : kPlainDrawFormat;
}

CCellText::CCellText(CDC* pDC, int charWidth, int lineHeight)
    : m_pDC(pDC), m_charWidth(charWidth > 0 ? charWidth : 6), m_lineHeight(lineHeight > 0 ? lineHeight : 12),
      m_textColor(pDC->GetTextColor()), m_backColor(pDC->GetBkColor()), m_bkMode(pDC->GetBkMode())
{
}

void CCellText::SetCellColors(COLORREF text, COLORREF back)
{
    if (text != m_textColor)
    {
        m_pDC->SetTextColor(text);
        m_textColor = text;
    }
    if (back != m_backColor)
    {
        m_pDC->SetBkColor(back);
        m_backColor = back;
    }
    // With a background picture the glyphs are laid over it instead of boxed in colour.
    int mode = g_BACKBITMAPFLAG ? TRANSPARENT : OPAQUE;
    if (mode != m_bkMode)
    {
        m_pDC->SetBkMode(mode);
        m_bkMode = mode;
    }
}

void CCellText::Record(int x, int y, const CRect* clip, LPCWSTR text, int length, UINT format)
{
    if (g_pCellTextRecorder == nullptr)
        return;
    CellTextRecord record;
    record.x = x;
    record.y = y;
    record.clipped = clip != nullptr;
    if (clip)
        record.clip = *clip;
    record.text = CString(text, length);
    record.textColor = m_textColor;
    record.backColor = m_backColor;
    record.format = format;
    g_pCellTextRecorder->OnText(record);
}

void CCellText::TextOutCell(int column, int row, LPCWSTR text, int length, COLORREF textColor,
                            COLORREF backColor)
{
    if (text == nullptr)
        return;
    if (length < 0)
        length = static_cast<int>(wcslen(text));
    SetCellColors(textColor, backColor);
    int x = column * m_charWidth;
    int y = RowTop(row);
    m_pDC->TextOut(x, y, text, length);
    Record(x, y, nullptr, text, length, 0);
}

void CCellText::TextOutCellA(int column, int row, LPCSTR text, int length, COLORREF textColor,
                             COLORREF backColor)
{
    if (text == nullptr)
        return;
    if (length < 0)
        length = static_cast<int>(strlen(text));
    if (length == 0)
        return;
    // A byte never becomes more than two UTF-16 units.
    std::vector<wchar_t> wide(static_cast<size_t>(length) * 2);
    int count = MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), static_cast<int>(wide.size()));
    TextOutCell(column, row, wide.data(), count, textColor, backColor);
}

int CCellText::DrawTextInRect(LPCWSTR text, int length, const CRect& rect, UINT format, COLORREF textColor,
                              COLORREF backColor)
{
    if (text == nullptr)
        return 0;
    if (length < 0)
        length = static_cast<int>(wcslen(text));
    SetCellColors(textColor, backColor);
    CRect area = rect;
    // DrawText may rewrite the text with DT_MODIFYSTRING; it is never asked to.
    m_pDC->DrawText(text, length, area, format & ~static_cast<UINT>(DT_MODIFYSTRING));
    Record(rect.left, rect.top, &rect, text, length, format);
    return GetDisplayColumns(text, length);
}

int CCellText::TextOutFitted(LPCWSTR text, int length, const CRect& rect, UINT format, COLORREF textColor,
                             COLORREF backColor)
{
    if (text == nullptr)
        return 0;
    if (length < 0)
        length = static_cast<int>(wcslen(text));
    SetCellColors(textColor, backColor);
    int fieldCells = rect.Width() / m_charWidth;
    int textCells = GetDisplayColumns(text, length);
    bool ellipsis = (format & DT_END_ELLIPSIS) != 0 && textCells > fieldCells;
    int areaCells = ellipsis ? fieldCells - 3 : fieldCells;
    if (areaCells < 0)
        areaCells = 0;
    int areaRight = ellipsis ? rect.left + areaCells * m_charWidth : rect.right;
    // Drawn one character at a time so that every character starts on its own cell
    // whatever the font's real glyph widths are; the clipping of each call cuts a
    // double-width character that straddles the area's edge.
    const UINT charFormat = kPlainDrawFormat;
    int x = rect.left;
    for (int i = 0; i < length && x < areaRight;)
    {
        int units = (IS_HIGH_SURROGATE(text[i]) && i + 1 < length && IS_LOW_SURROGATE(text[i + 1])) ? 2 : 1;
        int cells = units == 2 ? 2 : GetDisplayColumns(text + i, 1);
        CRect charRect(x, rect.top, areaRight, rect.bottom);
        m_pDC->DrawText(text + i, units, charRect, charFormat);
        Record(x, rect.top, &charRect, text + i, units, charFormat);
        x += cells * m_charWidth;
        i += units;
    }
    if (ellipsis && fieldCells >= 3)
    {
        CRect dots(areaRight, rect.top, areaRight + 3 * m_charWidth, rect.bottom);
        m_pDC->DrawText(L"...", 3, dots, charFormat);
        Record(dots.left, dots.top, &dots, L"...", 3, charFormat);
    }
    return textCells;
}

int CCellText::TextOutCellFitted(LPCWSTR text, int length, int column, int row, int width, UINT format,
                                 COLORREF textColor, COLORREF backColor)
{
    int top = RowTop(row);
    CRect rect(column * m_charWidth, top, (column + width) * m_charWidth, top + m_lineHeight);
    return TextOutFitted(text, length, rect, format, textColor, backColor);
}

CString FormatSizeCell(ULONGLONG size, int width)
{
    CString text;
    FormatNumberInt(size, text, width);
    if (text.GetLength() <= width)
        return text;
    CString shortForm;
    FormatSizeShort(static_cast<LONGLONG>(size), shortForm, TRUE);
    shortForm.TrimLeft();
    if (shortForm.GetLength() < width)
        shortForm = CString(L' ', width - shortForm.GetLength()) + shortForm;
    return shortForm;
}

// ---- Entry colour -------------------------------------------------------------------

int GetAttributeColorIndex(const CFileInfo& entry)
{
    if (entry.IsDirectory() && g_COLOR_NEGLECT_ATTIRUBTE)
        return COLOR_DIRECTORY;
    if (entry.HasAttribute(FILE_ATTRIBUTE_SYSTEM))
        return COLOR_SYSTEM;
    if (entry.HasAttribute(FILE_ATTRIBUTE_HIDDEN))
        return COLOR_HIDDEN;
    if (entry.HasAttribute(FILE_ATTRIBUTE_READONLY))
        return COLOR_READ_ONLY;
    if (!entry.IsDirectory())
        return COLOR_ARCHIVE;
    return COLOR_DIRECTORY;
}

// The first row of the per-extension colours naming the extension (without its dot).
static const KindColorEntry* FindKindColor(const CString& extension)
{
    if (extension.IsEmpty())
        return nullptr;
    for (const KindColorEntry& row : g_KindColors)
    {
        if (!row.m_extensions.IsEmpty() && row.m_extensions.CompareNoCase(extension) == 0)
            return &row;
    }
    return nullptr;
}

// Wave files take the title colour by their extension alone; any other file only
// once a title was read from it, so an untitled one keeps its attribute colour.
static bool IsWaveExtension(const CString& extension)
{
    return extension.CompareNoCase(L"WAV") == 0;
}

COLORREF GetEntryColour(const CFileInfo& entry)
{
    COLORREF colour = g_DisplayColors[GetAttributeColorIndex(entry)];
    if (g_DISP_FILE_KIND_COLOR && !entry.m_extension.IsEmpty())
    {
        if (const KindColorEntry* row = FindKindColor(entry.m_extension))
            colour = row->m_color;
    }
    if (g_MPEGNAMEDISPLAY && (!entry.m_displayName.IsEmpty() || IsWaveExtension(entry.m_extension)))
        colour = g_DisplayColors[COLOR_MPEGNAME];
    return colour;
}

// ---- Entry line ---------------------------------------------------------------------

// A member of an archive whose listing gives no sizes.
static bool EntryHasNoSize(const CFileInfo& entry)
{
    return entry.m_source == ENTRY_SOURCE_ARCHIVE && entry.m_owner != nullptr &&
           (entry.m_owner->GetSevenZipState() & 1) != 0;
}

void DrawEntryLine(CCellText& cells, const CFileInfo& entry, int column, int row, COLORREF textColor,
                   COLORREF backColor, const EntryLineGeometry& geometry)
{
    const int n = geometry.nameWidth;
    const int e = geometry.extWidth;
    const int cw = cells.CharWidth();
    const int lh = cells.LineHeight();
    // Under a thumbnail the text line starts below the picture; the thumbnail itself
    // and its frame belong to the preview loader.
    cells.SetRowOffset(geometry.preview ? geometry.previewTop : 0);
    const int top = cells.RowTop(row);
    auto fieldRect = [&](int from, int width) {
        return CRect(from * cw, top, (from + width) * cw, top + lh);
    };

    CString text = (g_DOSWRITEFLAG && entry.m_findData.cAlternateFileName[0])
                       ? entry.m_findData.cAlternateFileName
                       : entry.m_findData.cFileName;
    if (g_FILECHARTYPE == 1)
        text.MakeUpper();
    else if (g_FILECHARTYPE == 2)
        text.MakeLower();
    const bool isFile = entry.m_entryClass == ENTRY_CLASS_FILE;
    // The extension starts at the last dot that is not the name's first character.
    CString base = text;
    CString extension; // with its dot
    if (isFile)
    {
        int dot = text.ReverseFind(L'.');
        if (dot > 0)
        {
            base = text.Left(dot);
            extension = text.Mid(dot);
        }
    }
    const CString& shownName =
        (g_MPEGNAMEDISPLAY && !entry.m_displayName.IsEmpty()) ? entry.m_displayName : base;

    COLORREF extensionColor = textColor;
    if (!entry.IsDirectory() && !g_DISP_FILE_KIND_COLOR && !extension.IsEmpty())
    {
        if (const KindColorEntry* kind = FindKindColor(extension.Mid(1)))
            extensionColor = kind->m_color;
    }

    const UINT nameFormat = GetNameDrawFormat();
    int c = column;
    if (isFile && g_FILENAMEPACK)
    {
        const int field = n + e + 1;
        int nameCells = GetDisplayColumns(shownName);
        cells.TextOutCellFitted(shownName, shownName.GetLength(), c, row, field,
                                nameCells > field ? nameFormat : kPlainDrawFormat, textColor, backColor);
        int used = nameCells < field ? nameCells : field;
        if (!extension.IsEmpty() && used < field)
        {
            int room = field - used;
            int extensionCells = GetDisplayColumns(extension);
            cells.TextOutCellFitted(extension, extension.GetLength(), c + used, row, room,
                                    extensionCells > room ? nameFormat : kPlainDrawFormat, extensionColor,
                                    backColor);
        }
        c += field;
    }
    else if (!isFile)
    {
        // Directories, "." and "..": the whole name, never split at a dot.
        cells.DrawTextInRect(text, text.GetLength(), fieldRect(c, n + e + 1), nameFormat, textColor,
                             backColor);
        c += n + e + 1;
    }
    else
    {
        cells.DrawTextInRect(shownName, shownName.GetLength(), fieldRect(c, n), nameFormat, textColor,
                             backColor);
        c += n;
        if (!extension.IsEmpty())
            cells.DrawTextInRect(extension, extension.GetLength(), fieldRect(c, e + 1), kPlainDrawFormat,
                                 extensionColor, backColor);
        c += e + 1;
    }

    if (!geometry.preview)
    {
        int preset = g_FILERINFONUMBER;
        if (preset < 0 || preset >= kFilerInfoPresetCount)
            preset = 0;
        const FilerInfoPreset& columns = g_FilerInfoPresets[preset];
        auto put = [&](const CString& s) {
            cells.TextOutCellFitted(s, s.GetLength(), c, row, GetDisplayColumns(s), kPlainDrawFormat,
                                    textColor, backColor);
        };
        if (columns.size)
        {
            CString size;
            if (entry.IsDirectory())
                size.Format(L"%14s", L"<DIR>");
            else if (!EntryHasNoSize(entry))
                size = FormatSizeCell(entry.m_size, 14);
            if (!size.IsEmpty())
                put(size);
            c += 15;
        }
        CString date, time;
        if (columns.date || columns.time)
            FormatFindDataTime(g_VIEWFILETIMETYPE, entry.m_findData, &date, &time, FALSE);
        if (columns.date)
        {
            put(date);
            c += 12;
        }
        if (columns.time)
        {
            if (columns.noSeconds)
                time = time.Left(5);
            put(time);
            c += time.GetLength() + 2;
        }
        if (columns.attributes)
        {
            wchar_t letters[5] = L"AHRS";
            const DWORD masks[4] = {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY,
                                    FILE_ATTRIBUTE_SYSTEM};
            for (int i = 0; i < 4; ++i)
            {
                if (!entry.HasAttribute(masks[i]))
                    letters[i] = L' ';
            }
            put(CString(letters));
            c += 6;
        }
        if (geometry.findResults)
        {
            CString directory = entry.GetRealDirectory(FALSE);
            cells.TextOutCell(c, row, directory, directory.GetLength(), textColor, backColor);
        }
    }
    cells.SetRowOffset(0);
}

// ---- Network row --------------------------------------------------------------------

void DrawNetworkEntryLine(CCellText& cells, const CNetResourceData& resource, int column, int row,
                          COLORREF textColor, COLORREF backColor, int rowWidth, int depth, const UINT* levels)
{
    const UINT nameFormat = GetNameDrawFormat();
    if (resource.m_name.IsEmpty())
    {
        cells.TextOutCellFitted(L"ネットワーク全体", -1, column, row, rowWidth, nameFormat, textColor,
                                backColor);
        return;
    }
    int c = column;
    cells.TextOutCellFitted(resource.m_name, resource.m_name.GetLength(), c, row, g_NETRESOURCELONG,
                            nameFormat, textColor, backColor);
    LPCWSTR kind = nullptr;
    switch (resource.m_displayType)
    {
    case RESOURCEDISPLAYTYPE_DOMAIN:
        kind = L"<DOMAIN>";
        break;
    case RESOURCEDISPLAYTYPE_SERVER:
        kind = L"<SERVER>";
        break;
    case RESOURCEDISPLAYTYPE_SHARE:
        kind = L"<SHARE>";
        break;
    case RESOURCEDISPLAYTYPE_NETWORK:
        kind = L"<NETWORK>";
        break;
    default:
        break;
    }
    if (kind)
        cells.TextOutCell(c + g_NETRESOURCELONG + 1, row, kind, -1, textColor, backColor);
    c += g_NETRESOURCELONG + 11;
    bool sameCommentForAll =
        levels != nullptr && ((depth == 1 && levels[0] == 0) || (depth == 2 && levels[1] == 6));
    if (g_REMOTECOMMENTWRITE && !sameCommentForAll)
    {
        cells.TextOutCellFitted(resource.m_comment, resource.m_comment.GetLength(), c, row,
                                g_NETRESOURCECOMMENT, nameFormat, textColor, backColor);
        c += g_NETRESOURCECOMMENT + 1;
    }
    if (g_REMOTEPROVIDERWRITE)
        cells.TextOutCellFitted(resource.m_provider, resource.m_provider.GetLength(), c, row,
                                g_NETRESOURCEPROVIDER, nameFormat, textColor, backColor);
}
