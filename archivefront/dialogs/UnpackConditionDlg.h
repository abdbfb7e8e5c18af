// The question an extraction asks when its target file exists: overwrite, extract
// only a newer or an older member, or skip, with a check that keeps the answer for
// the rest of the job. The caller fills the members, runs it modally and reads them
// back after OK; any other end cancels the extraction.
//
// A running CDialogAnswerScript answers it: `index` is the chosen radio button's id
// (0 keeps the caller's choice), `checks[0]` the same-for-the-rest check and
// `checks[1]`, when given, the time-range setting.
#pragma once
#include "app/dialogs/DialogAnswerScript.h"

class CUnpackConditionDlg : public CScriptedDialog
{
public:
    explicit CUnpackConditionDlg(CWnd* pParent = nullptr);

    int m_sameForAll = 1;
    int m_choice = 4009; // the id of the chosen radio button, 4009 to 4012
    CString m_memberTime;
    CString m_memberSize;
    CString m_memberPath;
    CString m_existingTime;
    CString m_existingSize;
    CString m_targetPath;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};
