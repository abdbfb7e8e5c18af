// "拡張子別実行形式": both file-kind tables (Return and Shift+Return), eight rows a
// page, with the options that go with each table.
#pragma once
#include "app/settings/GeneralToolSettings.h"
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"

class CKindExeDlg : public CDialog
{
public:
    explicit CKindExeDlg(CWnd* pParent = nullptr);

    enum
    {
        TABLE_RETURN = 0,
        TABLE_SHIFT = 1,
        ROWS_PER_PAGE = 8,
        OPTION_COUNT = 5,
    };

    // The page's rows into the edited table; an action box is read only while it
    // shows a command or plug-in, and then the row's action stays as it was.
    void SavePage();
    void LoadPage();
    // +8 or -8 rows, within the ten pages.
    void TurnPage(int step);
    void SwitchTable(int table);

    CKindExeEntry m_tables[2][kKindExeEntryCount];
    int m_table = TABLE_RETURN;
    int m_offset = 0;
    int m_linkDirAction[2] = {};
    int m_linkFileAction[2] = {};

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void ShowAction(int row);
    void LoadOptions();
    void StoreOptions();

public:
    // The five options of the edited table; written to their variables whenever the
    // edited table is switched, so such changes stay even after a Cancel.
    CCheckListBox m_options;
};
