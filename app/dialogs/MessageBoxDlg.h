// The program's own message box: OK only, OK and Cancel, or Yes and No, grown to
// fit its text; and ShowMessageBoxDlg, through which the workers ask.
#pragma once

#include "app/dialogs/DialogAnswerScript.h"

class CMessageBoxDlg : public CScriptedDialog
{
public:
    // pParent: the window to centre on (and the owner).
    explicit CMessageBoxDlg(CWnd* pParent = nullptr);

    CString m_text;    // may hold line feeds
    CString m_caption; // empty: "qv"
    // The caption stays empty instead of "qv" (ShowMessageBoxDlg given "").
    bool m_blankCaption = false;
    int m_type = 0; // 0 OK only, 1 OK and Cancel, 4 Yes and No

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // A box of Yes and No also takes the commands IDYES and IDNO, as the system's
    // message box does, so that a program driving it may send either.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer&) override {}

private:
    CString ShownCaption() const;
    void RemoveSystemMenu();
    // Grows the dialog when the text needs more room than the text field has.
    void FitText();
};

// Runs a CMessageBoxDlg with these values and returns its end code: IDOK (1),
// IDCANCEL (2), IDYES (6) or IDNO (7). caption may be null ("qv"); an empty one
// leaves the caption empty. Any thread. The program asks through Tell and Ask
// (app/dialogs/TellAndAsk.h), which run this.
int ShowMessageBoxDlg(CWnd* pParent, LPCWSTR text, LPCWSTR caption, int type);
