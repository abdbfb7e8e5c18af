// "壁紙の設定": how Windows places the desktop wallpaper, then applies the picture.
#pragma once
#include "framework/FwDialog.h"

class CSetWallPaperDlg : public CDialog
{
public:
    explicit CSetWallPaperDlg(CWnd* pParent = nullptr);

    CString m_bitmapPath; // set by the caller
    int m_originX = 0;
    int m_originY = 0;
    // The desktop key under HKEY_CURRENT_USER; tests point it at a key of their own.
    CString m_desktopKey = L"Control Panel\\desktop";

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
