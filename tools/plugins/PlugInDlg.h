// The own plug-in list: the folder, which entries the menu shows, and whether the
// list comes from the settings file at the next start.
#pragma once
#include "framework/FwDialog.h"

// "%d.%02d" of a version held as the version times 100.
CString FormatPlugInVersion(WORD version);

class CPlugInDlg : public CDialog
{
public:
    explicit CPlugInDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    // "閉じる": the folder and the load switch are taken; the list's own changes are
    // made as they happen.
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    virtual BOOL ChooseFolder(CString& path);

private:
    void FillList();
    // Every selected row's entry gets the menu flag.
    void SetShownInMenu(int shown);
};
