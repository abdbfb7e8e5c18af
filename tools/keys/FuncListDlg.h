// The function list: every command of the active pane's mode with the keys bound to
// it; the user picks one and the view runs it. The list is built without a window, so
// its content and the key look-up run in tests as well.
#pragma once
#include "app/keys/CommandTables.h"
#include "app/keys/KeyBindings.h"
#include "app/keys/KeyCategories.h"
#include "framework/FwDialog.h"
#include <vector>

struct structKeyInfo
{
    int keyRow;
    int modifier; // 0 none, 1 Shift, 2 Ctrl, 3 Alt
};

class CCmdInfo
{
public:
    int m_category = 0; // position in the category box
    CString m_keyword;
    CString m_text;
    std::vector<structKeyInfo> m_keys;
};

class CFuncListDlg : public CDialog
{
public:
    // paneMode: the mode word of the active pane.
    explicit CFuncListDlg(UINT paneMode, CWnd* pParent = nullptr);

    void BuildCommandList();
    // The entries of a category position, in build order.
    std::vector<int> EntriesOf(int categoryPosition) const;
    // "[A],[Shift + F1]" for the entry's keys.
    static CString FormatKeys(const CCmdInfo& info);
    // A key pressed in the list: FALSE when the list keeps its own meaning for it;
    // otherwise TRUE (the key is consumed), and the entry bound to the key, if any,
    // becomes the shown category and the selection.
    BOOL SelectByKey(UINT virtualKey, int modifier);
    // TRUE with the result filled when the selected entry has a keyword.
    BOOL ChooseSelected();
    int GetCategoryCount() const;

    int m_listMode = 8; // 8 filer, 16 viewer, 64 graphic, 1024 binary
    UINT m_paneMode = 0;
    std::vector<CCmdInfo> m_commands;
    int m_categoryPosition = 0;
    int m_selected = -1; // index into m_commands
    CString m_resultKeyword;
    int m_resultModifier = 0;
    UINT m_resultVirtualKey = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void FillList();
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    const CommandCategoryRow* m_categories = nullptr;
    int m_categoryCount = 0;
    const CommandTableRow* m_table = nullptr;
    int m_tableCount = 0;
    const CArrayKeyCmdInfo* m_set = nullptr;
    std::vector<int> m_shown; // entries in list order
};
