// The sort order of a pane: the first key, the key for equal data, the directory
// key, both orders and whether directories mix with files.
#pragma once
#include "filer/SortSetting.h"
#include "framework/FwDialog.h"

class CSortDlg : public CDialog
{
public:
    explicit CSortDlg(CWnd* pParent = nullptr);

    // Set before the dialog opens; after IDOK the edited order. The third, fifth and
    // sixth values go through unchanged.
    CSortSetting m_sort = {};
    // The pane's sort for this listing only, not the stored default.
    BOOL m_bTemporary = FALSE;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
