// Asks for the line the text viewer jumps to: a number, or a signed number of lines
// to move by.
#pragma once
#include "app/dialogs/DialogAnswerScript.h"

class CJumpTextDlg : public CScriptedDialog
{
public:
    explicit CJumpTextDlg(CWnd* pParent = nullptr);

    CString m_text; // in: initial text; out (OK): the typed text

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};
