// The editor of the five time formats of %t1 to %t5.
#pragma once
#include "app/dialogs/DialogAnswerScript.h"

class CSetTimeMacroDlg : public CScriptedDialog
{
public:
    explicit CSetTimeMacroDlg(CWnd* pParent = nullptr);

    // in: the current formats; out (OK): the edited ones, also stored in g_TimeMacros.
    CString m_formats[5];

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    CDialogQuestion GetQuestion() const override;
    // The answer's text holds the five formats, one a line.
    void ApplyAnswer(const CDialogAnswer& answer) override;
};
