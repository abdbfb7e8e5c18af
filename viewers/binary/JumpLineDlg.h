// Asks the binary editor for the line to jump to: the number, whether it is written
// in decimal or hexadecimal, and whether it is a position or a distance.
#pragma once
#include "framework/FwDialog.h"

class CJumpLineDlg : public CDialog
{
public:
    explicit CJumpLineDlg(CWnd* pParent = nullptr);

    CString m_text;      // in: initial text; out (OK): the typed text
    int m_notation = -1; // 0 decimal, 1 hexadecimal, -1 none chosen
    int m_relative = -1; // 0 absolute, 1 relative, -1 none chosen

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void ShowUnit();

    DECLARE_MESSAGE_MAP()
};
