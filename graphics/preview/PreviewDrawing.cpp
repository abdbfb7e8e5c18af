// The thumbnail cell as the filer pane shows it: the loaded picture with its overlay
// icon, or the entry's shell icon while there is no picture, and the cell's border.
#include "graphics/preview/LoadPreviewThread.h"

#include "util/Globals.h"
#include "app/Settings.h"
#include "app/PreviewSize.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FileInfo.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"

#include <shellapi.h>

namespace
{
void FillBox(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// The shell's large icon of the path, or null; the caller destroys it.
HICON ShellIcon(const CString& path)
{
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_ICON))
        return nullptr;
    return info.hIcon;
}

void DrawIconCentred(HDC dc, const RECT& box, const CString& path)
{
    HICON icon = ShellIcon(path);
    if (icon == nullptr)
        return;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    DrawIcon(dc, box.left + width / 2 - GetSystemMetrics(SM_CXICON) / 2,
             box.top + height / 2 - GetSystemMetrics(SM_CYICON) / 2, icon);
    DestroyIcon(icon);
}

// Where the overlay icon goes: the bottom-right corner, a folder's by its settings.
POINT OverlayPosition(const RECT& box, int kind)
{
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    POINT at = {box.left + width - iconWidth, box.top + height - iconHeight};
    if (kind != 2)
        return at;
    switch (g_PREVIEW_DIR_ICON_H_POS)
    {
    case 0:
        at.x = box.left;
        break;
    case 2:
        at.x = box.left + width / 2 - iconWidth / 2;
        break;
    default:
        break;
    }
    switch (g_PREVIEW_DIR_ICON_V_POS)
    {
    case 0:
        at.y = box.top;
        break;
    case 2:
        at.y = box.top + height / 2 - iconHeight / 2;
        break;
    default:
        break;
    }
    return at;
}

CString JoinEntryPath(const CString& folder, LPCWSTR name)
{
    CString path = folder;
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'\\')
        path += L'\\';
    return path + name;
}
} // namespace

void CLoadPreviewThread::GetThumbnailFrameRects(int x, int y, RECT rects[4])
{
    const int bw = GetPreviewWidthScaled();
    const int bh = GetPreviewHeightScaled();
    SetRect(&rects[0], x, y, x + bw + 6, y + 3);
    SetRect(&rects[1], x, y + 3 + bh, x + bw + 6, y + 6 + bh);
    SetRect(&rects[2], x, y + 3, x + 3, y + 3 + bh);
    SetRect(&rects[3], x + bw + 3, y + 3, x + bw + 6, y + 3 + bh);
}

void CLoadPreviewThread::DrawThumbnailFrame(HDC dc, int x, int y, COLORREF colour)
{
    RECT rects[4];
    GetThumbnailFrameRects(x, y, rects);
    for (const RECT& rect : rects)
        FillBox(dc, rect, colour);
}

void CLoadPreviewThread::DrawPreviews(int pane, HDC dc, int x, int y, const CFileInfo& entry,
                                      bool onlyIfChanged)
{
    if (pane < 0 || pane > 1 || dc == nullptr)
        return;
    const int bw = GetPreviewWidthScaled();
    const int bh = GetPreviewHeightScaled();
    const RECT box = {x + 3, y + 3, x + 3 + bw, y + 3 + bh};
    const COLORREF back = g_DisplayColors[COLOR_PREVIEW_BACK];
    const int entryClass = CFileInfo::GetEntryClass(entry.m_findData);
    if ((entryClass == 2 && !g_PREVIEW_DRAW_PICTURE_IN_DIR) || entryClass == 3 || entryClass == 4)
    {
        if (onlyIfChanged)
            return;
        FillBox(dc, box, back);
        DrawIconCentred(dc, box, g_ProgramDir);
        return;
    }

    AcquireReaderLock();
    CPreviewInfo* item = m_queue.Find(entry.GetRealDirectory(FALSE), entry.GetName());
    BYTE state = 0;
    if (item != nullptr)
    {
        CHandleLock lock(m_guard);
        state = item->state;
    }
    if (item == nullptr || (onlyIfChanged && item->drawnState[pane] == state))
    {
        ReleaseReaderLock();
        return;
    }
    const CString path = JoinEntryPath(entry.GetRealDirectory(FALSE), entry.GetName());
    if (state == PREVIEW_READY && item->thumbnail.bits != nullptr)
    {
        BITMAPINFO* header = reinterpret_cast<BITMAPINFO*>(&item->thumbnail.header);
        if (item->thumbnail.sourceBitCount == 32)
        {
            CPictureData picture;
            picture.AttachBorrowed(header, item->thumbnail.bits);
            const CAlphaChannelRow checker = {3, 0xD3D1CE};
            picture.Draw(dc, box, POINT{box.left, box.top}, SIZE{bw, bh}, &checker, back);
        }
        else if (SetDIBitsToDevice(dc, box.left, box.top, DWORD(bw), DWORD(bh), 0, 0, 0, UINT(bh),
                                   item->thumbnail.bits, header, DIB_RGB_COLORS) == 0)
            FillBox(dc, box, back);
        const bool overlay = item->kind == 2 || (item->kind == 0 && g_PREVIEW_DRAW_ICON_ON_PICTURE) ||
                             (item->kind == 1 && g_PREVIEW_DRAW_ICON_ON_ARCHIVE);
        if (overlay)
        {
            if (HICON icon = ShellIcon(path))
            {
                const POINT at = OverlayPosition(box, item->kind);
                if (item->kind == 2 && g_PREVIEW_DIR_ICON_BGCOLOR_FILL)
                {
                    const RECT square = {at.x, at.y, at.x + GetSystemMetrics(SM_CXICON),
                                         at.y + GetSystemMetrics(SM_CYICON)};
                    FillBox(dc, square, g_DisplayColors[COLOR_PREVIEW_DIR_ICON_BACK]);
                }
                DrawIcon(dc, at.x, at.y, icon);
                DestroyIcon(icon);
            }
        }
    }
    else
    {
        FillBox(dc, box, back);
        DrawIconCentred(dc, box, path);
    }
    item->drawnState[pane] = state;
    ReleaseReaderLock();
}
