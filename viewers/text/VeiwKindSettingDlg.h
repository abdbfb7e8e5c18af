// The per-extension widths of the text viewer, five rows a page, edited on a working
// copy that OK puts back into the global table.
#pragma once
#include "framework/FwDialog.h"
#include "app/settings/ViewerSettings.h"

class CVeiwKindSettingDlg : public CDialog
{
public:
    explicit CVeiwKindSettingDlg(CWnd* pParent = nullptr);

    static constexpr int kRowsPerPage = 5;
    // The working copy; the first row of the page shown.
    ViewerKindRow m_rows[VIEWER_KIND_ROW_COUNT];
    int m_firstRow = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnBefore();
    void OnNext();
    void ShowPage();
    void StorePage();

    DECLARE_MESSAGE_MAP()
};
