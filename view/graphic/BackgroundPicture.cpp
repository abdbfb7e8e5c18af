// The picture behind the filer panes: chosen from the user's list on a schedule,
// loaded (a BMP directly, anything else through the image plug-ins), brightened or
// darkened, and drawn placed or tiled wherever a pane paints its background.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/settings/ViewSettings.h"
#include "framework/FwLock.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/viewer/BackgroundSchedule.h"
#include "view/QvView.h"

#include <cstdlib>
#include <ctime>

namespace
{

bool AcceptedByPlugIn(const CString& path, void*)
{
    return FindSusiePlugIn(path, SUSIE_KIND_IMAGE, 0, nullptr) >= 0;
}

bool AcceptedAsBmp(const CString& path, void*)
{
    return IsBmpFileName(path);
}

SYSTEMTIME StoredChangeTime()
{
    SYSTEMTIME next = {};
    next.wYear = static_cast<WORD>(g_FILERBMPNEXTYEAR);
    next.wMonth = static_cast<WORD>(g_FILERBMPNEXTMONTH);
    next.wDay = static_cast<WORD>(g_FILERBMPNEXTDAY);
    next.wHour = static_cast<WORD>(g_FILERBMPNEXTHOUR);
    next.wMinute = static_cast<WORD>(g_FILERBMPNEXTMINUTE);
    return next;
}

// Where the picture starts on one axis: mode 0 at 0, 1 centred, 2 at the far edge,
// 3 at the given position.
int PlaceOnAxis(int client, int size, int mode, int position)
{
    switch (mode)
    {
    case 1:
        return (client - size) / 2;
    case 2:
        return client - size;
    case 3:
        return position;
    default:
        return 0;
    }
}

} // namespace

void CQvView::LoadPaneBackgroundPicture(int reason)
{
    const int type = g_FILERBMPCHANGETYPE;
    SYSTEMTIME now;
    GetLocalTime(&now);
    SYSTEMTIME next = StoredChangeTime();
    const int actions = DecideBackgroundActions(reason, type, IsLaterThan(now, next));
    if (actions == 0)
        return;
    if (g_FILERBMPCHANGEDAY == 0 && g_FILERBMPCHANGEHOUR == 0 && g_FILERBMPCHANGEMINUTE == 0)
        g_FILERBMPCHANGEDAY = 1;
    if (actions & BACKGROUND_RETIME)
        next = NextBackgroundChangeTime(type, now, g_FILERBMPCHANGEDAY, g_FILERBMPCHANGEHOUR,
                                        g_FILERBMPCHANGEMINUTE);
    CString current;
    {
        CHandleLock lock(g_DataMutex);
        if (actions & BACKGROUND_NEXT)
        {
            int randomValue = 0;
            if (g_FIELRBMPCHANGERANDOM)
            {
                srand(static_cast<unsigned>(time(nullptr)) & 0x7FFF);
                rand();
                randomValue = rand();
            }
            ChooseNextBackgroundPicture(g_WallpaperFiles, g_BACKBITMAPNAME, g_FIELRBMPCHANGERANDOM != 0,
                                        randomValue, g_FILERBMPUSEPLUGIN ? AcceptedByPlugIn : AcceptedAsBmp,
                                        nullptr);
        }
        current = g_BACKBITMAPNAME;
    }
    g_FILERBMPNEXTYEAR = next.wYear;
    g_FILERBMPNEXTMONTH = next.wMonth;
    g_FILERBMPNEXTDAY = next.wDay;
    g_FILERBMPNEXTHOUR = next.wHour;
    g_FILERBMPNEXTMINUTE = next.wMinute;
    if ((actions & BACKGROUND_LOAD) && g_BACKBITMAPFLAG && !current.IsEmpty())
    {
        if (!m_graphic.backgroundPicture)
            m_graphic.backgroundPicture = std::make_unique<CPictureData>();
        CPictureData& picture = *m_graphic.backgroundPicture;
        picture.Free();
        int loaded = 0;
        if (IsBmpFileName(current))
            loaded = picture.LoadBmp(current);
        else
        {
            CSusiePlugInHost host;
            loaded = host.GetPicture(current, picture, nullptr) == 0 && picture.IsValid();
        }
        if (loaded)
            picture.AdjustBrightness(g_BACKPALLETCHANGE);
        else
            picture.Free();
    }
    if (reason != 0 && m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CQvView::DrawPaneBackgroundPicture(CDC* pDC, const CRect& rect, COLORREF colour)
{
    CPictureData* picture = m_graphic.backgroundPicture.get();
    if (!g_BACKBITMAPFLAG || picture == nullptr || !picture->IsValid())
    {
        pDC->FillSolidRect(&rect, colour);
        return;
    }
    const CAlphaChannelRow alpha = {1, colour};
    const SIZE size = {picture->GetWidth(),
                       picture->GetHeight() < 0 ? -picture->GetHeight() : picture->GetHeight()};
    CRect client(0, 0, 300, 300);
    if (m_hWnd != nullptr)
        GetClientRect(&client);
    HDC dc = pDC->GetSafeHdc();
    if (!g_BACKBMPTILE)
    {
        const bool wide = client.Width() >= size.cx;
        const bool low = client.Height() < size.cy;
        const POINT origin = {PlaceOnAxis(client.Width(), size.cx, wide ? g_BACKBMPLARGEX : g_BACKBMPSMALLX,
                                          wide ? g_BACKBMPLARGEXPOS : g_BACKBMPSMALLXPOS),
                              PlaceOnAxis(client.Height(), size.cy, low ? g_BACKBMPSMALLY : g_BACKBMPLARGEY,
                                          low ? g_BACKBMPSMALLYPOS : g_BACKBMPLARGEYPOS)};
        DrawPictureClipped(dc, rect, origin, size, *picture, &alpha, colour, 0);
        return;
    }
    if (size.cx <= 0 || size.cy <= 0)
        return;
    // Tiles leave no gaps, so only the bands outside the client need no filling.
    for (int i = 0; i <= client.Width() / size.cx; ++i)
        for (int j = 0; j <= client.Height() / size.cy; ++j)
        {
            const POINT origin = {i * size.cx, j * size.cy};
            const RECT tile = {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
            RECT meet;
            if (IntersectRect(&meet, &rect, &tile))
                DrawPictureClipped(dc, rect, origin, size, *picture, &alpha, colour, 1);
        }
}
