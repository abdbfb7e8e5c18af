// The options of the newer-file marking: mark in both panes, and always mark the
// files that exist on one side only.
#pragma once
#include "app/dialogs/DialogAnswerScript.h"

class CNewSelectConfDlg : public CScriptedDialog
{
public:
    explicit CNewSelectConfDlg(CWnd* pParent = nullptr);

    int m_bothPanes = 0; // in/out
    int m_oneSide = 0;   // in/out

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The scripted answer's checks: both panes, one side.
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};
