// The quit question: end the program (IDOK), cancel (IDCANCEL), or end the
// program and shut Windows down (IDC_QUIT_SHUTDOWN) or restart it
// (IDC_QUIT_REBOOT). What follows is the caller's business.
#pragma once

#include "app/dialogs/DialogAnswerScript.h"

class CQuitDlg : public CScriptedDialog
{
public:
    explicit CQuitDlg(CWnd* pParent = nullptr);

protected:
    void OnShutdown();
    void OnReboot();
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer&) override {}

    DECLARE_MESSAGE_MAP()
};
