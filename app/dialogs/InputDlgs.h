// The small text and choice dialogs: a one-line input (masked on request), a
// password with confirmation, a choice from a drop-down list, a one-name editor
// and the directory-jump entry editor. Each is filled through its public
// members before DoModal and read back after it; Cancel leaves them as they were.
#pragma once

#include "app/dialogs/DialogAnswerScript.h"
#include "framework/FwCollections.h"

class CInputDlg : public CScriptedDialog
{
public:
    explicit CInputDlg(CWnd* pParent = nullptr);

    CString m_caption;
    CString m_text;   // in: initial text; out (OK): the edited text
    int m_masked = 0; // non-zero: the edit shows "*" for every character

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};

class CInputPasswordDlg : public CScriptedDialog
{
public:
    explicit CInputPasswordDlg(CWnd* pParent = nullptr);

    CString m_password; // out (OK): the password typed twice alike

protected:
    void OnOK() override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};

class CComboDlg : public CScriptedDialog
{
public:
    explicit CComboDlg(CWnd* pParent = nullptr);

    CString m_caption;
    CStringArray m_items;
    int m_index = 0; // out (OK): the chosen item

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};

class COnlyEditNameDlg : public CScriptedDialog
{
public:
    explicit COnlyEditNameDlg(CWnd* pParent = nullptr);

    CString m_name;    // in: initial name; out (OK): the edited name
    CString m_caption; // empty keeps "名前の設定"

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;
};

// Adds or edits one directory-jump entry: destination, content and key.
class CInputBookMarkDlg : public CScriptedDialog
{
public:
    explicit CInputBookMarkDlg(CWnd* pParent = nullptr);

    CString m_caption;
    CString m_target;  // in: initial destination; out (OK): the destination
    CString m_content; // in and out (OK)
    // in: a key name of the key table, or empty; out (OK): the chosen key's
    // name, empty for "無し".
    CString m_keyName;
    // Offered in the destination's drop-down list when not empty.
    CString m_suggestedTarget1;
    CString m_suggestedTarget2;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnBrowse();
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

    DECLARE_MESSAGE_MAP()
};
