// "起動の選択": which of several file-kind rows that match a file runs.
#pragma once
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/GeneralToolSettings.h"

#include <vector>

// Whether the file name's text after its last "." is the extension (case aside);
// an empty extension never matches.
bool KindExtensionMatches(LPCWSTR fileName, const CString& extension);

// The text a file-kind row shows in a list: its display name, else the own plug-in's
// command text, else the filer command's display name, else the action itself.
CString GetKindRowText(const CKindExeEntry& row);

class CSelectKindDlg : public CScriptedDialog
{
public:
    // The table holds kKindExeEntryCount rows.
    CSelectKindDlg(LPCWSTR fileName, const CKindExeEntry* table, CWnd* pParent = nullptr);

    // The matching rows in table order, and the line of each.
    std::vector<int> m_matches;
    std::vector<CString> m_lines;
    int m_result = -1; // the chosen row's index in the table after OK

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    // The scripted answer's index is the chosen line.
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

private:
    // Ends with the n-th match, or as cancelled when n is no line.
    void Choose(int line);
};
