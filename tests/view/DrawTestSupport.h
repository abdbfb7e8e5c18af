// Drawing tests: a 32-bit memory bitmap with the view's kind of font, and a recorder
// that lays every text output onto a grid of character cells.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <utility>
#include <vector>
#include "framework/FwGdi.h"
#include "view/draw/EntryText.h"

namespace qvtest
{

// Marks the cell of a double-width character whose right half the clipping cut off.
constexpr wchar_t kCutCell = L'#';

class CellGrid : public ICellTextRecorder
{
public:
    CellGrid(int charWidth, int lineHeight) : m_cw(charWidth), m_lh(lineHeight)
    {
        g_pCellTextRecorder = this;
    }
    ~CellGrid() override { g_pCellTextRecorder = nullptr; }

    void OnText(const CellTextRecord& r) override
    {
        int row = r.y / m_lh;
        int column = r.x / m_cw;
        int limit = r.clipped ? r.clip.right : 0x7fffffff;
        for (int i = 0; i < r.text.GetLength(); ++i)
        {
            wchar_t ch = r.text[i];
            int cells = (ch < 0x80 || (ch >= 0xff61 && ch <= 0xff9f)) ? 1 : 2;
            if (column * m_cw >= limit)
                break;
            if ((column + cells) * m_cw > limit)
            {
                Put(row, column, kCutCell, r.textColor);
                break;
            }
            Put(row, column, ch, r.textColor);
            if (cells == 2)
                Put(row, column + 1, 0, r.textColor);
            column += cells;
        }
    }

    // The row as text: blanks where nothing was drawn, double-width characters once.
    std::wstring Row(int row) const
    {
        std::wstring out;
        auto it = m_cells.find(row);
        if (it == m_cells.end())
            return out;
        for (size_t i = 0; i < it->second.size(); ++i)
        {
            // 0 is the right half of a double-width character.
            if (it->second[i].first != 0)
                out += it->second[i].first;
        }
        while (!out.empty() && out.back() == L' ')
            out.pop_back();
        return out;
    }
    COLORREF ColorAt(int row, int column) const { return m_cells.at(row).at(column).second; }
    void Clear() { m_cells.clear(); }

private:
    void Put(int row, int column, wchar_t ch, COLORREF color)
    {
        auto& cells = m_cells[row];
        if (cells.size() <= static_cast<size_t>(column))
            cells.resize(column + 1, {L' ', 0});
        cells[column] = {ch, color};
    }
    int m_cw;
    int m_lh;
    std::map<int, std::vector<std::pair<wchar_t, COLORREF>>> m_cells;
};

// A memory device context on a 32-bit bitmap with a fixed-pitch font selected.
class MemoryCanvas
{
public:
    MemoryCanvas(int width, int height) : m_width(width), m_height(height)
    {
        m_dc.CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap.Attach(
            CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0));
        m_oldBitmap = m_dc.SelectObject(&m_bitmap);
        m_font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック");
        m_oldFont = m_dc.SelectObject(&m_font);
        TEXTMETRICW tm = {};
        m_dc.GetTextMetrics(&tm);
        m_cw = tm.tmAveCharWidth ? tm.tmAveCharWidth : 6;
        m_lh = tm.tmHeight + tm.tmExternalLeading ? tm.tmHeight + tm.tmExternalLeading : 12;
        Fill(0);
    }
    ~MemoryCanvas()
    {
        m_dc.SelectObject(m_oldFont);
        m_dc.SelectObject(m_oldBitmap);
    }
    CDC* dc() { return &m_dc; }
    int cw() const { return m_cw; }
    int lh() const { return m_lh; }
    void Fill(COLORREF color) { m_dc.FillSolidRect(0, 0, m_width, m_height, color); }
    // 0xBBGGRR like COLORREF.
    COLORREF Pixel(int x, int y) const
    {
        DWORD v = m_bits[y * m_width + x];
        return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
    }
    // Pixels in the rectangle that differ from the colour.
    int CountOther(const RECT& r, COLORREF color) const
    {
        GdiFlush();
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (Pixel(x, y) != color)
                    ++n;
        return n;
    }

private:
    int m_width;
    int m_height;
    CDC m_dc;
    CBitmap m_bitmap;
    CFont m_font;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    DWORD* m_bits = nullptr;
    int m_cw = 6;
    int m_lh = 12;
};

} // namespace qvtest
