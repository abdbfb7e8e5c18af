// The colour-choosing button of the colour settings: an owner-drawn push button
// that shows its colour and opens the system colour dialog when clicked.
//
// Owner-drawn buttons report drawing (WM_DRAWITEM) and clicks (BN_CLICKED) to their
// parent; the parent hands both to the button with ReflectParentMessage.
#pragma once
#include <windows.h>
#include "framework/FwWnd.h"

class CSelectColorButton : public CWnd
{
public:
    CSelectColorButton() = default;

    COLORREF m_color = RGB(255, 255, 255);

    // Draws the colour into the item rectangle shrunk by 2 pixels on every side;
    // nothing else.
    void DrawItem(LPDRAWITEMSTRUCT drawItem);

    // Opens the system colour dialog with the colour preselected and the custom
    // colours open; on OK keeps the chosen colour and repaints. TRUE on OK.
    BOOL OnClicked();

    // For the parent's window procedure: handles WM_DRAWITEM and the BN_CLICKED
    // command when they come from this button; TRUE when it did.
    BOOL ReflectParentMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

// The colour dialog the button opens, the system's; tests replace it to answer
// without a person.
struct ColorChooserSeam
{
    // Gets the owner and the colour to preselect; TRUE with the chosen colour.
    BOOL (*chooseColor)(HWND owner, COLORREF& color);
};

extern ColorChooserSeam g_ColorChooserSeam;
