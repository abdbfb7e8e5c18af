// Asks for the text viewer's search text (offering the search history) and the three
// search options.
#pragma once
#include "app/dialogs/DialogAnswerScript.h"

class CStrSearchDlg : public CScriptedDialog
{
public:
    explicit CStrSearchDlg(CWnd* pParent = nullptr);

    CString m_text;       // in: initial text; out (OK): the combo box's edit text
    int m_ignoreCase = 0; // 1: case does not matter
    int m_from = -1;      // -1 none, 0 from the start, 1 from the shown line
    int m_upward = -1;    // -1 none, 0 upwards, 1 downwards

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    CDialogQuestion GetQuestion() const override;
    // The answer's text is the search text; its checks, when given, are the ignore-case
    // check, the start radio and the direction radio in that order.
    void ApplyAnswer(const CDialogAnswer& answer) override;
};
