// The virtual-drive dialog: one check per drive letter A to Z.
#pragma once
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"

class CVirtualDriveDlg : public CDialog
{
public:
    explicit CVirtualDriveDlg(CWnd* pParent = nullptr);

protected:
    // The 26 lines, checked as g_VirtualDriveFlags says.
    BOOL OnInitDialog() override;
    // The checks go to g_VirtualDriveFlags; the caller then runs LoadVirtualDrives.
    void OnOK() override;

    CCheckListBox m_list;
};
