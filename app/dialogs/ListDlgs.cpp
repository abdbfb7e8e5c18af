#include "app/dialogs/ListDlgs.h"

#include "app/dialogs/TellAndAsk.h"
#include "res/CommonDialogs.h"

#include <cwchar>
#include <utility>

namespace
{

CString LabelAt(const wchar_t* pLabels, int nIndex)
{
    const wchar_t* pLabel = pLabels + (size_t)nIndex * CHECK_LIST_LABEL_LENGTH;
    return CString(pLabel, (int)wcsnlen(pLabel, CHECK_LIST_LABEL_LENGTH));
}

} // namespace

// ---- CCheckListBoxDlg ----

CCheckListBoxDlg::CCheckListBoxDlg(CWnd* pParent) : CScriptedDialog(IDD_CHECK_LIST, pParent) {}

BOOL CCheckListBoxDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    if (!m_caption.IsEmpty())
        SetWindowText(m_caption);
    m_list.SubclassDlgItem(IDC_CHECK_LIST, this);
    m_list.SetFont(GetFont());
    for (int i = 0; i < m_count; ++i)
    {
        const int nIndex = m_list.AddString(LabelAt(m_pLabels, i));
        m_list.SetCheck(nIndex, m_pChecks[i] != 0 ? 1 : 0);
    }
    return TRUE;
}

void CCheckListBoxDlg::OnOK()
{
    for (int i = 0; i < m_count; ++i)
        m_pChecks[i] = m_list.GetCheck(i) != 0 ? 1 : 0;
    EndDialog(IDOK);
}

CDialogQuestion CCheckListBoxDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_CHECK_LIST;
    question.caption = m_caption.IsEmpty() ? CString(L"設定一覧") : m_caption;
    for (int i = 0; i < m_count; ++i)
        question.items.push_back(LabelAt(m_pLabels, i));
    return question;
}

void CCheckListBoxDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    for (int i = 0; i < m_count && (size_t)i < answer.checks.size(); ++i)
        m_pChecks[i] = answer.checks[(size_t)i] != 0 ? 1 : 0;
}

// ---- COrderListWithCheckDlg ----

BEGIN_MESSAGE_MAP(COrderListWithCheckDlg, CScriptedDialog)
ON_BN_CLICKED(IDC_ORDER_UP, OnUp)
ON_BN_CLICKED(IDC_ORDER_DOWN, OnDown)
END_MESSAGE_MAP()

COrderListWithCheckDlg::COrderListWithCheckDlg(CWnd* pParent) : CScriptedDialog(IDD_ORDER_LIST, pParent) {}

CString COrderListWithCheckDlg::NameOf(const ListOrderItem& item) const
{
    if (item.nameIndex < 0 || item.nameIndex >= m_names.GetSize())
        return CString();
    return m_names.GetAt(item.nameIndex);
}

BOOL COrderListWithCheckDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_ORDER_LIST, this);
    m_list.SetFont(GetFont());
    if (!m_caption.IsEmpty())
        SetWindowText(m_caption);
    m_work.assign(m_pItems, m_pItems + m_count);
    FillList();
    return TRUE;
}

void COrderListWithCheckDlg::FillList()
{
    m_list.ResetContent();
    for (size_t i = 0; i < m_work.size(); ++i)
    {
        const int nIndex = m_list.AddString(NameOf(m_work[i]));
        m_list.SetCheck(nIndex, m_work[i].show != 0 ? 1 : 0);
    }
}

void COrderListWithCheckDlg::CopyTicks()
{
    for (size_t i = 0; i < m_work.size(); ++i)
        m_work[i].show = m_list.GetCheck((int)i) != 0 ? 1 : 0;
}

void COrderListWithCheckDlg::MoveSelection(int step)
{
    CopyTicks();
    const int selected = m_list.GetCurSel();
    const int other = selected + step;
    if (selected < 0 || other < 0 || other >= (int)m_work.size())
        return;
    std::swap(m_work[(size_t)selected], m_work[(size_t)other]);
    FillList();
    m_list.SetCurSel(other);
}

void COrderListWithCheckDlg::OnUp()
{
    MoveSelection(-1);
}

void COrderListWithCheckDlg::OnDown()
{
    MoveSelection(+1);
}

void COrderListWithCheckDlg::OnOK()
{
    CopyTicks();
    if (m_requireOne)
    {
        bool anyShown = false;
        for (const ListOrderItem& item : m_work)
            anyShown = anyShown || item.show != 0;
        if (!anyShown)
        {
            Tell(this, L"１つ以上の項目を表示にしてください");
            return;
        }
    }
    std::copy(m_work.begin(), m_work.end(), m_pItems);
    EndDialog(IDOK);
}

CDialogQuestion COrderListWithCheckDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_ORDER_LIST;
    question.caption = m_caption.IsEmpty() ? CString(L"リスト設定") : m_caption;
    for (int i = 0; i < m_count; ++i)
        question.items.push_back(NameOf(m_pItems[i]));
    return question;
}

void COrderListWithCheckDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    std::vector<ListOrderItem> result(m_pItems, m_pItems + m_count);
    if (answer.order.size() == result.size())
    {
        std::vector<bool> used(result.size(), false);
        bool valid = true;
        for (int position : answer.order)
        {
            valid = valid && position >= 0 && position < m_count && !used[(size_t)position];
            if (valid)
                used[(size_t)position] = true;
        }
        if (valid)
        {
            for (size_t i = 0; i < result.size(); ++i)
                result[i] = m_pItems[answer.order[i]];
        }
    }
    for (size_t i = 0; i < result.size() && i < answer.checks.size(); ++i)
        result[i].show = answer.checks[i] != 0 ? 1 : 0;
    std::copy(result.begin(), result.end(), m_pItems);
}
