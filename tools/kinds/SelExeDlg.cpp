#include "tools/kinds/SelExeDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include <commdlg.h>
#include "app/PlugInCommands.h"
#include "app/keys/CommandTables.h"
#include "app/settings/ToolSettings.h"
#include "res/FileKindDialogs.h"

#include <string>

CString GetKindActionText(const CString& action, bool* readOnly)
{
    *readOnly = true;
    INT_PTR plugIn = -1;
    CString text;
    if (FindPlugInByReference(action, &plugIn) && GetPlugInCommandText(plugIn, text))
        return text;
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
        if (action == g_FilerCommandTable[i].keyword)
            return GetCommandDisplayName(g_FilerCommandTable[i]);
    *readOnly = false;
    return action;
}

CSelExeDlg::CSelExeDlg(CWnd* pParent) : CDialog(IDD_SEL_EXE, pParent)
{
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
        if (g_FilerCommandTable[i].fileAction)
        {
            m_keywords.push_back(g_FilerCommandTable[i].keyword);
            m_lines.push_back(GetCommandDisplayName(g_FilerCommandTable[i]));
        }
    m_plugInCount = static_cast<int>(g_PlugInList.GetSize());
    for (int i = 0; i < m_plugInCount; ++i)
    {
        CString text;
        GetPlugInCommandText(i, text);
        m_lines.push_back(text);
    }
    m_lines.push_back(L"ファイル実行");
}

void CSelExeDlg::EnableFileFields(bool enable)
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SEL_EXE_TEXT), enable);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SEL_EXE_BROWSE), enable);
}

BOOL CSelExeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_SEL_EXE_LIST);
    for (const CString& line : m_lines)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(line)));
    int selected = static_cast<int>(m_lines.size()) - 1;
    for (size_t i = 0; i < m_keywords.size(); ++i)
        if (m_action == m_keywords[i])
            selected = static_cast<int>(i);
    INT_PTR plugIn = -1;
    if (selected == static_cast<int>(m_lines.size()) - 1 && FindPlugInByReference(m_action, &plugIn) &&
        plugIn >= 0 && plugIn < m_plugInCount)
        selected = static_cast<int>(m_keywords.size() + plugIn);
    ::SendMessageW(list, LB_SETCURSEL, selected, 0);
    const bool file = selected == static_cast<int>(m_lines.size()) - 1;
    ::SetDlgItemTextW(m_hWnd, IDC_SEL_EXE_TEXT, file ? m_action : CString());
    EnableFileFields(file);
    return TRUE;
}

BOOL CSelExeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_SEL_EXE_LIST && HIWORD(wParam) == LBN_SELCHANGE)
    {
        const LRESULT selected = ::SendDlgItemMessageW(m_hWnd, IDC_SEL_EXE_LIST, LB_GETCURSEL, 0, 0);
        EnableFileFields(selected == static_cast<LRESULT>(m_lines.size()) - 1);
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_SEL_EXE_BROWSE && HIWORD(wParam) == BN_CLICKED)
    {
        CString path;
        GetDlgItemText(IDC_SEL_EXE_TEXT, path);
        FileDialogRequest request(m_hWnd);
        request.flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (BrowseForFile(request, path))
            ::SetDlgItemTextW(m_hWnd, IDC_SEL_EXE_TEXT, path);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CSelExeDlg::OnOK()
{
    const int selected =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_SEL_EXE_LIST, LB_GETCURSEL, 0, 0));
    const int commands = static_cast<int>(m_keywords.size());
    if (selected >= 0 && selected < commands)
        m_action = m_keywords[selected];
    else if (selected >= commands && selected < commands + m_plugInCount &&
             selected - commands < g_PlugInList.GetSize())
    {
        // The row keeps the plug-in's reference (key string and file), the form by
        // which the row's action is found again as that plug-in.
        GetPlugInReference(selected - commands, m_action);
    }
    else
    {
        const int length = ::GetWindowTextLengthW(::GetDlgItem(m_hWnd, IDC_SEL_EXE_TEXT));
        std::wstring text(length + 1, L'\0');
        ::GetDlgItemTextW(m_hWnd, IDC_SEL_EXE_TEXT, &text[0], length + 1);
        m_action = text.c_str();
    }
    EndDialog(IDOK);
}
