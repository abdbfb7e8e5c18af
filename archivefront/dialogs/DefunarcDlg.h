// The unpack options dialog: per format of the archiver table, which unpack switches
// are on, where the bridge library lies, and the libraries' own settings dialogs.
// It works on a copy of every row's flags and puts them back into the table, with
// the bridge folder, only on OK; the settings writer stores them on exit.
#pragma once
#include "app/settings/ArchiverSettings.h"
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"

#include <vector>

class CDefunarcDlg : public CDialog
{
public:
    explicit CDefunarcDlg(CWnd* pParent = nullptr);

    // The row whose options the list shows.
    int GetCurrentRow() const { return m_currentRow; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnFormatChange();
    void OnBrowse();
    void OnLibraryUnpackSettings();
    void OnLibraryPackSettings();
    DECLARE_MESSAGE_MAP()

    void FillList();
    void StoreList();

    CCheckListBox m_list;
    std::vector<int> m_flags[ARCHIVER_ROW_COUNT];
    int m_currentRow = 0;
};
