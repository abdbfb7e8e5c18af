// The editor of the five time formats of %t1 to %t5.
#pragma once
#include "framework/FwDialog.h"

class CSetTimeMacroDlg : public CDialog
{
public:
    explicit CSetTimeMacroDlg(CWnd* pParent = nullptr);

    // in: the current formats; out (OK): the edited ones, also stored in g_TimeMacros.
    CString m_formats[5];

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
