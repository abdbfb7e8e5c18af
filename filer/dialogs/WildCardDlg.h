// The wildcard filter of a listing: the patterns (with the history of typed ones),
// whether directories are filtered too, whether short names are left out, whether a
// "*" is added to plain names, and the extra conditions of dates, sizes and
// attributes.
#pragma once
#include "filer/FindCondition.h"
#include "framework/FwDialog.h"

class CWildCardDlg : public CDialog
{
public:
    explicit CWildCardDlg(CWnd* pParent = nullptr);

    CString m_text;
    int m_bApplyToDirectories = 0;
    int m_bNotDosNames = 0;
    int m_bAddAsterisk = 0;
    FindCondition m_condition;

    // The extra-condition dialog lies with the file operations, above the panes: the
    // program installs it. It edits `condition` and returns the dialog's end code;
    // without one the button does nothing.
    using EditConditionFn = INT_PTR (*)(CWnd* parent, FindCondition& condition);
    static void SetEditCondition(EditConditionFn edit);
    static EditConditionFn GetEditCondition();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCondition();

    DECLARE_MESSAGE_MAP()
};
