// The run dialog: a program and a parameter line, each with its history, for the
// view to run in a pane.
#pragma once
#include "filer/dialogs/InputComplement.h"
#include "app/dialogs/DialogAnswerScript.h"

#include <commctrl.h>

// The tip over both boxes: the macros a command line may hold.
extern const wchar_t kExecuteMacroTip[];

class CExecuteDlg : public CScriptedDialog
{
public:
    explicit CExecuteDlg(CWnd* pParent = nullptr);
    ~CExecuteDlg() override;

    CString m_directory;  // in: the pane's folder, shown under the boxes
    CString m_program;    // in/out
    CString m_parameters; // in/out
    int m_bShowKeep = 0;  // in: the check box "入力値を保持" is offered
    int m_keep = 0;       // in/out: its state
    int m_pane = 0;       // in

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The scripted answer: text the program, content the parameters, index the
    // check box.
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

private:
    void Browse();
    HWND m_hTip = nullptr;
    // Ctrl+Tab completes paths in both boxes, from the pane's folder.
    CInputComplement m_programComplement;
    CInputComplement m_parametersComplement;
};
