// The move-to-directory dialog: a path typed (with Ctrl+Tab completion of folder
// names), chosen from the recent directories or browsed for.
#pragma once
#include "filer/dialogs/InputComplement.h"
#include "framework/FwDialog.h"

class CLogDiskDlg : public CDialog
{
public:
    explicit CLogDiskDlg(CWnd* pParent = nullptr);

    // Set by the caller: the pane's directory, never offered in the list.
    CString m_baseDirectory;
    int m_paneNumber = -1;
    // After IDOK: the text as typed or chosen.
    CString m_result;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnBrowse();

    DECLARE_MESSAGE_MAP()

private:
    CInputComplement m_complement;
};

// What the dialog's text asks for, as the pane should go there: trimmed, environment
// variables expanded, "/" read as "\". FALSE with the message when a relative path
// climbs above the root of `base`.
BOOL ResolveLogDiskTarget(LPCWSTR base, LPCWSTR text, CString& out, CString& message);
