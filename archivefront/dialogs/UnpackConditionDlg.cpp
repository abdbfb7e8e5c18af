#include "archivefront/dialogs/UnpackConditionDlg.h"

#include "app/Settings.h"
#include "res/SevenZipDialogs.h"

CUnpackConditionDlg::CUnpackConditionDlg(CWnd* pParent) : CScriptedDialog(IDD_UNPACK_CONDITION, pParent) {}

BOOL CUnpackConditionDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    SetDlgItemText(IDC_UNPACK_MEMBER_TIME, m_memberTime);
    SetDlgItemText(IDC_UNPACK_MEMBER_SIZE, m_memberSize);
    SetDlgItemText(IDC_UNPACK_MEMBER_PATH, m_memberPath);
    CString name = m_memberPath;
    name.Replace(L'/', L'\\');
    SetDlgItemText(IDC_UNPACK_MEMBER_NAME, name.Mid(name.ReverseFind(L'\\') + 1));
    SetDlgItemText(IDC_UNPACK_EXISTING_TIME, m_existingTime);
    SetDlgItemText(IDC_UNPACK_EXISTING_SIZE, m_existingSize);
    SetDlgItemText(IDC_UNPACK_TARGET_PATH, m_targetPath);
    CheckDlgButton(IDC_UNPACK_RANGE_TIME, g_UNPACK_FILE_TIME_USED_RANGE ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_UNPACK_SAME_FOR_ALL, m_sameForAll ? BST_CHECKED : BST_UNCHECKED);
    if (m_choice >= IDC_UNPACK_OVERWRITE && m_choice <= IDC_UNPACK_SKIP)
        CheckRadioButton(IDC_UNPACK_OVERWRITE, IDC_UNPACK_SKIP, m_choice);
    return TRUE;
}

void CUnpackConditionDlg::OnOK()
{
    g_UNPACK_FILE_TIME_USED_RANGE = IsDlgButtonChecked(IDC_UNPACK_RANGE_TIME) == BST_CHECKED ? 1 : 0;
    m_sameForAll = IsDlgButtonChecked(IDC_UNPACK_SAME_FOR_ALL) == BST_CHECKED ? 1 : 0;
    for (int id = IDC_UNPACK_OVERWRITE; id <= IDC_UNPACK_SKIP; id++)
        if (IsDlgButtonChecked(id) == BST_CHECKED)
        {
            m_choice = id;
            break;
        }
    EndDialog(IDOK);
}

CDialogQuestion CUnpackConditionDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_UNPACK_CONDITION;
    question.caption = L"解凍条件";
    question.text = m_targetPath;
    question.items = {m_memberPath, m_memberTime, m_memberSize, m_existingTime, m_existingSize};
    return question;
}

void CUnpackConditionDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    if (answer.index >= IDC_UNPACK_OVERWRITE && answer.index <= IDC_UNPACK_SKIP)
        m_choice = answer.index;
    if (!answer.checks.empty())
        m_sameForAll = answer.checks[0] ? 1 : 0;
    if (answer.checks.size() > 1)
        g_UNPACK_FILE_TIME_USED_RANGE = answer.checks[1] ? 1 : 0;
}
