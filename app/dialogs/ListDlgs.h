// The list dialogs: a list of check boxes, and a list whose order and check
// marks the user edits. Both work on the caller's arrays, which only OK
// rewrites.
#pragma once

#include "app/dialogs/DialogAnswerScript.h"
#include "framework/FwCheckListBox.h"
#include "framework/FwCollections.h"

#include <vector>

// Width of one label field of CCheckListBoxDlg, in wide characters.
constexpr int CHECK_LIST_LABEL_LENGTH = 32;

class CCheckListBoxDlg : public CScriptedDialog
{
public:
    explicit CCheckListBoxDlg(CWnd* pParent = nullptr);

    CString m_caption; // empty keeps "設定一覧"
    // The labels: m_count fields of CHECK_LIST_LABEL_LENGTH wide characters one
    // after the other (a label that fills its field needs no terminator).
    const wchar_t* m_pLabels = nullptr;
    int m_count = 0;
    // One check state per label; OK writes 1 (ticked) or 0 into every one.
    int* m_pChecks = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

    CCheckListBox m_list;
};

// One row of the table that COrderListWithCheckDlg edits.
struct ListOrderItem
{
    int show;      // 1: ticked (shown)
    int nameIndex; // the row's name in the dialog's name array
    int extra;     // carried along unchanged
};
static_assert(sizeof(ListOrderItem) == 12, "three 32-bit ints, as the callers' tables");

class COrderListWithCheckDlg : public CScriptedDialog
{
public:
    explicit COrderListWithCheckDlg(CWnd* pParent = nullptr);

    CString m_caption; // empty keeps "リスト設定"
    CStringArray m_names;
    // The caller's rows; OK overwrites them with the edited order and ticks.
    ListOrderItem* m_pItems = nullptr;
    int m_count = 0;
    // Non-zero: OK needs at least one ticked row.
    int m_requireOne = 1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnUp();
    void OnDown();
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

    DECLARE_MESSAGE_MAP()

private:
    CString NameOf(const ListOrderItem& item) const;
    void FillList();
    void CopyTicks();
    // Swaps the selected row with its neighbour (step -1 up, +1 down).
    void MoveSelection(int step);

    CCheckListBox m_list;
    std::vector<ListOrderItem> m_work;
};
