#include "tools/kinds/SelectKindDlg.h"
#include "app/PlugInCommands.h"
#include "app/keys/CommandTables.h"
#include "res/FileKindDialogs.h"

bool KindExtensionMatches(LPCWSTR fileName, const CString& extension)
{
    if (extension.IsEmpty() || fileName == nullptr)
        return false;
    LPCWSTR dot = wcsrchr(fileName, L'.');
    return dot != nullptr && extension.CompareNoCase(dot + 1) == 0;
}

CString GetKindRowText(const CKindExeEntry& row)
{
    if (!row.m_displayName.IsEmpty())
        return row.m_displayName;
    INT_PTR plugIn = -1;
    CString text;
    if (FindPlugInByReference(row.m_action, &plugIn) && GetPlugInCommandText(plugIn, text))
        return text;
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
        if (row.m_action == g_FilerCommandTable[i].keyword)
            return GetCommandDisplayName(g_FilerCommandTable[i]);
    return row.m_action;
}

CSelectKindDlg::CSelectKindDlg(LPCWSTR fileName, const CKindExeEntry* table, CWnd* pParent)
    : CScriptedDialog(IDD_SELECT_KIND, pParent)
{
    for (int i = 0; i < kKindExeEntryCount; ++i)
        if (KindExtensionMatches(fileName, table[i].m_extension))
        {
            m_matches.push_back(i);
            m_lines.push_back(GetKindRowText(table[i]));
        }
}

BOOL CSelectKindDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_SELECT_KIND_LIST);
    for (const CString& line : m_lines)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(line)));
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    return TRUE;
}

BOOL CSelectKindDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_SELECT_KIND_LIST && HIWORD(wParam) == LBN_DBLCLK)
    {
        OnOK();
        return TRUE;
    }
    return CScriptedDialog::OnCommand(wParam, lParam);
}

void CSelectKindDlg::OnOK()
{
    Choose(static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_SELECT_KIND_LIST, LB_GETCURSEL, 0, 0)));
}

void CSelectKindDlg::Choose(int line)
{
    if (line < 0 || line >= static_cast<int>(m_matches.size()))
    {
        m_result = -1;
        if (m_hWnd)
            EndDialog(IDCANCEL);
        return;
    }
    m_result = m_matches[line];
    if (m_hWnd)
        EndDialog(IDOK);
}

CDialogQuestion CSelectKindDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_SELECT_KIND;
    question.caption = L"起動の選択";
    for (const CString& line : m_lines)
        question.items.push_back(line);
    return question;
}

void CSelectKindDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result == IDOK)
        Choose(answer.index);
}
