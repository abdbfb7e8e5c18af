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

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCondition();

    DECLARE_MESSAGE_MAP()
};

// The extra-condition dialog lies with the file operations, above the panes: the
// program installs it.
struct WildCardHooks
{
    // Edits `condition` and returns the dialog's end code; null: the button does
    // nothing.
    INT_PTR (*editCondition)(CWnd* parent, FindCondition& condition);
};

extern WildCardHooks g_WildCardHooks;
