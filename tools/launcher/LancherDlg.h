// The launcher: a user-kept list of programs with parameters, a key and a working
// folder each, edited in place and run by choice or by the entry's key.
#pragma once
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include "app/dialogs/DialogAnswerScript.h"
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"

// "編集": one entry's program, parameters and working folder.
class CEditLancherDlg : public CScriptedDialog
{
public:
    explicit CEditLancherDlg(CWnd* pParent = nullptr);

    CString m_exe;
    CString m_par;
    CString m_exeDir;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    // The scripted answer's text: program, parameters and folder, one a line.
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

private:
    void BrowseFile(int field, LPCWSTR filter, bool keepShortcuts);
};

// "ランチャー". Edits the view's four lists at once (Cancel only runs nothing); OK
// gives the entry to run in m_result.
class CLancherDlg : public CDialog
{
public:
    CLancherDlg(CStringArray& exe, CStringArray& par, CStringArray& key, CStringArray& exeDir,
                CWnd* pParent = nullptr);
    ~CLancherDlg() override;

    int m_result = -1;

    // The operations of the buttons on the selected entry.
    void AddEntry(const CString& exe, const CString& par, const CString& exeDir);
    void EditEntry(int index, const CString& exe, const CString& par, const CString& exeDir);
    void DeleteEntry(int index);
    void MoveEntry(int index, int step); // -1 up, +1 down
    // Key row (89 for "無し") of the entry.
    void AssignKey(int index, int keyRow);
    // A key pressed in the list: TRUE when an entry carries it (the dialog ends with
    // it when it is the only one, else the selection moves to the next one).
    BOOL ChooseByKey(UINT virtualKey);
    int GetSelectedRow() const;
    void SelectRow(int row);

    // The key-table row whose name is the text exactly; 89 when empty or unknown.
    static int FindKeyRowByName(const CString& name);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;

private:
    void RebuildIcons();
    void BuildColumns();
    void RefreshRows(int first, int last);
    void ShowKeyOf(int row);
    bool UpdateAnyKey(); // true when the flag changed

    CStringArray& m_exe;
    CStringArray& m_par;
    CStringArray& m_key;
    CStringArray& m_exeDir;
    HIMAGELIST m_images = nullptr;
    CArray<int> m_iconIndex;
    int m_keyColumnWidth = 0;
    bool m_anyKey = false;
};
