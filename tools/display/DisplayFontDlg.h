// "解像度ごとのフォントサイズの設定": a screen font of its own for every resolution
// the display offers.
#pragma once
#include "app/settings/ToolSettings.h"
#include "framework/FwDialog.h"

// The member below keeps the name the dialog's command has; the platform header
// maps that name to its font dialog function, which this file reaches as ChooseFontW.
#ifdef ChooseFont
#undef ChooseFont
#endif

class CDisplayFontDlg : public CDialog
{
public:
    CDisplayFontDlg();

    // The platform font dialog for the selected resolution; nothing without one.
    void ChooseFont();
    // Every resolution takes the main screen font.
    void UseMainFontForAll();

    int m_fontPerResolution = 0;      // in/out: "解像度毎にフォントを変える"
    CArray<CDisplayFontSize> m_fonts; // the working copy; OK stores it

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
};
