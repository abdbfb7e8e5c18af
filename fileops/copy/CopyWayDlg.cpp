#include "fileops/copy/CopyWayDlg.h"
#include "util/Formatting.h"
#include "app/dialogs/ListDlgs.h"
#include "res/CopyDialogs.h"

namespace
{

// The file controls, hidden when the question comes without a file.
const UINT kFileControls[] = {IDC_COPY_WAY_NAME,
                              IDC_COPY_WAY_SOURCE_GROUP,
                              IDC_COPY_WAY_SOURCE_SIZE_LABEL,
                              IDC_COPY_WAY_SOURCE_TIME,
                              IDC_COPY_WAY_SOURCE_TIME_LABEL,
                              IDC_COPY_WAY_SOURCE_SIZE,
                              IDC_COPY_WAY_TARGET_GROUP,
                              IDC_COPY_WAY_TARGET_SIZE_LABEL,
                              IDC_COPY_WAY_TARGET_TIME,
                              IDC_COPY_WAY_TARGET_TIME_LABEL,
                              IDC_COPY_WAY_TARGET_SIZE};
// The rule part, moved up in its place.
const UINT kRuleControls[] = {IDC_COPY_WAY_RULE_GROUP,
                              IDC_COPY_WAY_NEWER,
                              IDC_COPY_WAY_OLDER,
                              IDC_COPY_WAY_LARGER,
                              IDC_COPY_WAY_RENAME,
                              IDC_COPY_WAY_NUMBERED,
                              IDC_COPY_WAY_SKIP,
                              IDC_COPY_WAY_OVERWRITE,
                              IDC_COPY_WAY_SAME,
                              IDC_COPY_WAY_TIME_RANGE,
                              IDC_COPY_WAY_NO_COPY_ACTION,
                              IDOK,
                              IDCANCEL};

CString TimeText(const WIN32_FIND_DATAW& findData)
{
    CString date, time, text;
    FormatFindDataTime(2, findData, &date, &time, TRUE);
    text.Format(L"%s %s", date.GetString(), time.GetString());
    return text;
}

CString SizeText(const WIN32_FIND_DATAW& findData)
{
    CString text;
    FormatNumberInt(((ULONGLONG)findData.nFileSizeHigh << 32) + findData.nFileSizeLow, text, 14);
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CCopyWayDlg, CScriptedDialog)
ON_BN_CLICKED(IDC_COPY_WAY_NO_COPY_ACTION, OnNoCopyAction)
END_MESSAGE_MAP()

CCopyWayDlg::CCopyWayDlg(CWnd* pParent) : CScriptedDialog(IDD_COPY_WAY, pParent) {}

void CCopyWayDlg::DoDataExchange(CDataExchange* pDX)
{
    CScriptedDialog::DoDataExchange(pDX);
    int same = m_sameForRest ? 1 : 0;
    int range = m_timeRange ? 1 : 0;
    DDX_Check(pDX, IDC_COPY_WAY_SAME, same);
    DDX_Radio(pDX, IDC_COPY_WAY_NEWER, m_rule);
    DDX_Check(pDX, IDC_COPY_WAY_TIME_RANGE, range);
    m_sameForRest = same != 0;
    m_timeRange = range != 0;
}

BOOL CCopyWayDlg::OnInitDialog()
{
    m_pendingAttributes = m_noCopyAttributes;
    m_pendingDateTime = m_noCopyDateTime;
    CScriptedDialog::OnInitDialog();
    if (m_pEntry != nullptr)
    {
        CString text;
        SetDlgItemText(IDC_COPY_WAY_NAME, m_pEntry->GetName());
        text.Format(L"コピー元(%s)", m_pEntry->GetRealFullPath().GetString());
        SetDlgItemText(IDC_COPY_WAY_SOURCE_GROUP, text);
        text.Format(L"コピー先(%s)", m_directory.GetString());
        SetDlgItemText(IDC_COPY_WAY_TARGET_GROUP, text);
        SetDlgItemText(IDC_COPY_WAY_SOURCE_TIME, TimeText(m_pEntry->m_findData));
        SetDlgItemText(IDC_COPY_WAY_TARGET_TIME, TimeText(m_existing));
        SetDlgItemText(IDC_COPY_WAY_SOURCE_SIZE, SizeText(m_pEntry->m_findData));
        SetDlgItemText(IDC_COPY_WAY_TARGET_SIZE, SizeText(m_existing));
        return TRUE;
    }
    RECT name{}, group{};
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_COPY_WAY_NAME), &name);
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_COPY_WAY_RULE_GROUP), &group);
    int distance = group.top - name.top;
    for (UINT id : kFileControls)
        ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
    for (UINT id : kRuleControls)
    {
        HWND control = ::GetDlgItem(m_hWnd, id);
        RECT rect{};
        ::GetWindowRect(control, &rect);
        POINT topLeft = {rect.left, rect.top - distance};
        ::ScreenToClient(m_hWnd, &topLeft);
        ::SetWindowPos(control, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - distance,
                   SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

void CCopyWayDlg::OnNoCopyAction()
{
    static const wchar_t labels[2][CHECK_LIST_LABEL_LENGTH] = {L"属性をコピーする", L"日時をコピーする"};
    int checks[2] = {m_pendingAttributes, m_pendingDateTime};
    CCheckListBoxDlg dialog(this);
    dialog.m_caption = L"コピーしないときの処理";
    dialog.m_pLabels = &labels[0][0];
    dialog.m_count = 2;
    dialog.m_pChecks = checks;
    if (dialog.DoModal() == IDOK)
    {
        m_pendingAttributes = checks[0];
        m_pendingDateTime = checks[1];
    }
}

void CCopyWayDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_noCopyAttributes = m_pendingAttributes;
    m_noCopyDateTime = m_pendingDateTime;
    EndDialog(IDOK);
}

CDialogQuestion CCopyWayDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_COPY_WAY;
    question.caption = L"コピー条件";
    if (m_pEntry != nullptr)
        question.text = m_pEntry->GetName();
    question.type = m_rule;
    if (m_sameForRest)
        question.items.push_back(L"以後同設定");
    if (m_timeRange)
        question.items.push_back(L"時間比較に範囲を使用");
    return question;
}

void CCopyWayDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    // Cancel drops everything, the no-copy choices made before it included.
    if (answer.result != IDOK)
        return;
    if (answer.index >= 0 && answer.index <= 6)
        m_rule = answer.index;
    const std::vector<int>& checks = answer.checks;
    if (checks.size() > 0)
        m_sameForRest = checks[0] != 0;
    if (checks.size() > 1)
        m_timeRange = checks[1] != 0;
    if (checks.size() > 2)
        m_noCopyAttributes = checks[2] != 0;
    if (checks.size() > 3)
        m_noCopyDateTime = checks[3] != 0;
}

CAskSameDlg::CAskSameDlg(CWnd* pParent) : CScriptedDialog(IDD_ASK_SAME, pParent) {}

void CAskSameDlg::DoDataExchange(CDataExchange* pDX)
{
    CScriptedDialog::DoDataExchange(pDX);
    int same = m_same ? 1 : 0;
    DDX_Check(pDX, IDC_ASK_SAME_CHECK, same);
    DDX_Text(pDX, IDC_ASK_SAME_MESSAGE, m_message);
    m_same = same != 0;
}

BOOL CAskSameDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    if (!m_caption.IsEmpty())
        SetWindowText(m_caption);
    return TRUE;
}

CDialogQuestion CAskSameDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_ASK_SAME;
    question.caption = m_caption.IsEmpty() ? CString(L"確認") : m_caption;
    question.text = m_message;
    if (m_same)
        question.items.push_back(L"以後同設定");
    return question;
}

void CAskSameDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (!answer.checks.empty())
        m_same = answer.checks[0] != 0;
}
