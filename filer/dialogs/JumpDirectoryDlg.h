// The user's jump directories: named groups of targets, each with an optional key
// and description; one group shown at a time, an entry chosen by the cursor or by its
// key, and the groups and entries edited in place.
#pragma once
#include <map>

#include "framework/FwDialog.h"

class CFilerPane;

class CJumpDirectoryDlg : public CDialog
{
public:
    explicit CJumpDirectoryDlg(CWnd* pParent = nullptr);
    ~CJumpDirectoryDlg() override;

    // Set by the caller: the pane whose directory and cursor entry "追加" offers.
    CFilerPane* m_pPane = nullptr;
    // After IDOK or IDC_JUMP_TO_LOCATION: the chosen group and entry.
    int m_resultGroup = -1;
    int m_resultEntry = -1;

    // The group shown and the selected row (-1 for none).
    int GetGroup() const { return m_group; }
    int GetSelectedRow() const;
    void SelectRow(int row);
    void ShowGroup(int group);
    // The entries before the first empty target.
    int CountVisibleEntries() const;
    // A key pressed in the list: the entries with that key after the selected row,
    // wrapping; the first is selected and, when it is the only one, chosen. FALSE
    // when no entry has the key (the key then goes on as usual).
    BOOL ChooseByKey(UINT virtualKey);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void OnGroupChange();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnGroupAdd();
    void OnGroupDelete();
    void OnGroupRename();
    void OnDisplaySettings();
    void OnIcons();
    void OnToLocation();

    DECLARE_MESSAGE_MAP()

private:
    void FillGroups();
    void LayoutColumns();
    void LoadIcons();
    void FillRows();
    void Rebuild(int selectRow);
    void StoreWidths();
    void Finish(int result);
    HICON IconOf(const CString& target);

    int m_group = 0;
    HIMAGELIST m_images = nullptr;
    // The shell's icon of a target, looked up once; null when it does not exist.
    std::map<CString, HICON> m_icons;
};
