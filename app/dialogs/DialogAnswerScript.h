// Scripted answers for the small common dialogs, so that the messages and
// questions of the program (Tell and Ask, the password prompts, the name and list
// dialogs) can be answered by tests without a person.
//
// While a CDialogAnswerScript object lives, DoModal of every dialog derived
// from CScriptedDialog shows no window: it records the question and returns
// the script's next answer, with the answer's values put where the dialog would
// have put the user's input. When the script has run out, the question is still
// recorded and the dialog returns -1 (as a dialog that could not be shown).
// Any thread may ask; one script at a time.
//
//     CDialogAnswerScript script;
//     script.Add(IDYES);
//     script.Add(IDOK, L"secret");                // CInputDlg: the typed text
//     RunTheWorker();
//     ASSERT_EQ(2u, script.GetQuestions().size());
//     EXPECT_EQ(L"上書きしますか", script.GetQuestions()[0].text);
#pragma once

#include "framework/FwDialog.h"

#include <vector>

// The answer to one question.
struct CDialogAnswer
{
    INT_PTR result = IDOK; // the dialog's end code
    // CInputDlg, CInputPasswordDlg and COnlyEditNameDlg: the entered text;
    // CInputBookMarkDlg: the destination.
    CString text;
    CString content; // CInputBookMarkDlg: the content text
    CString keyName; // CInputBookMarkDlg: the key name (empty for none)
    int index = 0;   // CComboDlg: the chosen item
    // CCheckListBoxDlg: the check state of every item (missing ones keep theirs).
    // COrderListWithCheckDlg: the shown flag of every record after reordering.
    std::vector<int> checks;
    // COrderListWithCheckDlg: the new order, as positions in the caller's
    // records (empty keeps the order).
    std::vector<int> order;
};

// One question as a dialog would have shown it.
struct CDialogQuestion
{
    UINT dialogId = 0; // the dialog's template id
    CString caption;   // the caption the dialog would show
    // CMessageBoxDlg: the message; the text dialogs: their initial text.
    CString text;
    int type = 0;               // CMessageBoxDlg: its type (0, 1 or 4)
    std::vector<CString> items; // the list dialogs: their item texts
};

class CDialogAnswerScript
{
public:
    // Starts answering every question from this script.
    CDialogAnswerScript();
    // Stops it; the dialogs show themselves again.
    ~CDialogAnswerScript();
    CDialogAnswerScript(const CDialogAnswerScript&) = delete;
    CDialogAnswerScript& operator=(const CDialogAnswerScript&) = delete;

    void Add(INT_PTR result);
    void Add(INT_PTR result, LPCWSTR text);
    void Add(const CDialogAnswer& answer);

    // The questions asked so far, oldest first.
    std::vector<CDialogQuestion> GetQuestions() const;
    // Answers not used yet.
    size_t GetRemaining() const;
    // Questions asked after the answers had run out.
    int GetUnanswered() const;

    // For the dialogs: FALSE when no script runs. Otherwise records the question
    // and gives the next answer (result -1 when there is none left).
    static BOOL Answer(const CDialogQuestion& question, CDialogAnswer& answer);

private:
    std::vector<CDialogAnswer> m_answers;
    size_t m_nextAnswer = 0;
    std::vector<CDialogQuestion> m_questions;
    int m_unanswered = 0;
};

// A dialog that a running CDialogAnswerScript answers in place of the user.
class CScriptedDialog : public CDialog
{
public:
    explicit CScriptedDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd)
    {
    }

    INT_PTR DoModal() override;

protected:
    // The question as the dialog would show it.
    virtual CDialogQuestion GetQuestion() const = 0;
    // Takes a scripted answer's values as the user's input; called for every
    // answer, whose result says whether the dialog was accepted.
    virtual void ApplyAnswer(const CDialogAnswer& answer) = 0;
};
