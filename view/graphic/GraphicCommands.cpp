// The keywords of graphic mode, among them where it places a picture, and the filer
// keywords that enter it.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

void CQvView::PausePictureDisplay()
{
    if (FindGraphicPane() >= 0)
    {
        m_graphic.paused = m_graphic.paused ? 0 : 1;
        if (m_hWnd != nullptr)
            Invalidate(FALSE);
    }
}

void CQvView::NextWallpaper()
{
    if (FindGraphicPane() < 0)
        LoadPaneBackgroundPicture(3);
}

void CQvView::SetPicturePlacement(int value)
{
    // 0-2 are the horizontal choices, 10-12 the vertical ones.
    int& setting = value >= 10 ? g_GRAPHIC_VIEW_V_POS : g_GRAPHIC_VIEW_H_POS;
    int choice = static_cast<int>(value % 10);
    if (setting != choice)
    {
        setting = choice;
        UpdatePictureLayout(PICTURE_LAYOUT_ALL);
    }
}
