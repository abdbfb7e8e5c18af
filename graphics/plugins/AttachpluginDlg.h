// Edits the file patterns one plug-in of g_SusiePlugIns is applied to, ten to a page.
// OK drops the emptied patterns and puts the list into the plug-in's record; Cancel
// leaves the record as it was.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"

class CAttachpluginDlg : public CDialog
{
public:
    explicit CAttachpluginDlg(CWnd* parent = nullptr);

    INT_PTR m_plugInIndex = -1; // in g_SusiePlugIns, set by the opener
    int m_page = 0;
    CStringArray m_patterns;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void StorePage();
    void ShowPage();
};
