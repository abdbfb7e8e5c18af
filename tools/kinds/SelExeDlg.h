// "実行形式の選択": what a file-kind row runs — a filer command that takes a file, an
// own plug-in, or a program typed or browsed for ("ファイル実行").
#pragma once
#include "framework/FwDialog.h"

#include <vector>

class CSelExeDlg : public CDialog
{
public:
    explicit CSelExeDlg(CWnd* pParent = nullptr);

    CString m_action; // in/out

    // The list's lines: the commands, the plug-ins, then "ファイル実行".
    std::vector<CString> m_lines;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void EnableFileFields(bool enable);
    std::vector<CString> m_keywords; // of the command lines
    int m_plugInCount = 0;
};

// The action as a row's action box shows it: the plug-in's command text or the
// command's display name (`readOnly` set), else the action itself.
CString GetKindActionText(const CString& action, bool* readOnly);
