#include "app/records/SelectColorButton.h"

#include <commdlg.h>

namespace
{
BOOL SystemChooseColor(HWND owner, COLORREF& color)
{
    // The custom colours live as long as the program, as the dialog expects.
    static COLORREF customColors[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = color;
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choose))
    {
        return FALSE;
    }
    color = choose.rgbResult;
    return TRUE;
}
} // namespace

ColorChooserSeam g_ColorChooserSeam = {&SystemChooseColor};

void CSelectColorButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    RECT rect = drawItem->rcItem;
    InflateRect(&rect, -2, -2);
    // What FillSolidRect does, without a device-context object around the handle.
    COLORREF old = SetBkColor(drawItem->hDC, m_color);
    ExtTextOutW(drawItem->hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(drawItem->hDC, old);
}

BOOL CSelectColorButton::OnClicked()
{
    COLORREF color = m_color;
    HWND owner = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (!g_ColorChooserSeam.chooseColor(owner, color))
    {
        return FALSE;
    }
    m_color = color;
    if (m_hWnd != nullptr)
    {
        Invalidate();
    }
    return TRUE;
}

BOOL CSelectColorButton::ReflectParentMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
    {
        return FALSE;
    }
    if (message == WM_DRAWITEM)
    {
        LPDRAWITEMSTRUCT drawItem = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (drawItem != nullptr && drawItem->hwndItem == m_hWnd)
        {
            DrawItem(drawItem);
            return TRUE;
        }
    }
    else if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && (HWND)lParam == m_hWnd)
    {
        OnClicked();
        return TRUE;
    }
    return FALSE;
}
