#include "view/dialogs/RightClickMenuDlg.h"
#include "app/dialogs/DialogHelpers.h"

#include "util/Formatting.h"
#include "app/KeywordBuilders.h"
#include "app/KeywordTexts.h"
#include "app/PlugInCommands.h"
#include "app/FolderChooser.h"
#include "app/keys/UserMenuText.h"
#include "app/settings/ToolSettings.h"
#include "res/ViewSetupDialogs.h"

#include <commdlg.h>
#include <string.h>

namespace
{

// The default-device keywords belong to every mode's common set, which the filer's
// table does not repeat; the multimedia category offers them after its own rows.
const CommandTableRow kAudioRows[] = {
    {L"@SetAudioPlayback", L"出力デバイスの変更", 0, 9, 0, 0},
    {L"@SetAudioCapture", L"入力デバイスの変更", 0, 9, 0, 0},
};

const CommandTableRow* FindFilerRow(LPCWSTR keyword)
{
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
        if (wcscmp(g_FilerCommandTable[i].keyword, keyword) == 0)
            return &g_FilerCommandTable[i];
    for (const CommandTableRow& row : kAudioRows)
        if (wcscmp(row.keyword, keyword) == 0)
            return &row;
    return nullptr;
}

bool IsAudioKeyword(const CString& keyword)
{
    return keyword == L"@SetAudioPlayback" || keyword == L"@SetAudioCapture";
}

// The function list's text of a table row: the run-time name of the numbered rows.
CString FunctionRowText(const CommandTableRow& row)
{
    CString text;
    if (GetDisplaySetCommandText(row.keyword, text) || GetScsiCommandText(row.keyword, text) ||
        GetMakeNewFileCommandText(row.keyword, text))
        return text;
    return CString(row.displayName);
}

// The text of an applet as "@Defaultcpl" carries it after its blank.
CString AppletText(INT_PTR index)
{
    CString command;
    GetCplCommandText(index, command);
    return command.Mid(12);
}

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}

void Show(HWND dialog, int id, bool visible, bool enabled)
{
    HWND control = ::GetDlgItem(dialog, id);
    ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
    ::EnableWindow(control, enabled);
}

} // namespace

CRightClickMenuDlg::CRightClickMenuDlg(CWnd* parent) : CDialog(IDD_RIGHT_CLICK_MENU, parent)
{
    for (int i = 0; i < kUserMenuEntryCount; ++i)
        m_entries[i] = g_UserMenuEntries[i];
}

BOOL CRightClickMenuDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < kUserMenuEntryCount; ++i)
        m_entries[i] = g_UserMenuEntries[i];
    for (const CommandCategoryRow& row : g_CommandCategoryTable)
        Send(m_hWnd, IDC_USERMENU_CATEGORY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name));
    Send(m_hWnd, IDC_USERMENU_CATEGORY, CB_SETCURSEL, 0);
    for (int i = 0; i < kUserMenuEntryCount; ++i)
        Send(m_hWnd, IDC_USERMENU_ENTRIES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
    for (int i = 0; i < kUserMenuEntryCount; ++i)
        RefreshEntryLabel(i);
    Send(m_hWnd, IDC_USERMENU_ENTRIES, LB_SETCURSEL, 0);
    SetDlgItemText(IDC_USERMENU_DISPLAY, m_entries[0].m_display);
    ShowEntryCommand(-1);
    return TRUE;
}

int CRightClickMenuDlg::SelectedEntry() const
{
    const LRESULT entry = Send(m_hWnd, IDC_USERMENU_ENTRIES, LB_GETCURSEL);
    return entry >= 0 && entry < kUserMenuEntryCount ? static_cast<int>(entry) : -1;
}

void CRightClickMenuDlg::RefreshEntryLabel(int entry)
{
    if (entry < 0 || entry >= kUserMenuEntryCount)
        return;
    CString label;
    GetUserMenuItemText(m_entries[entry].m_command, m_entries[entry].m_display, entry, label);
    const bool selected = SelectedEntry() == entry;
    Send(m_hWnd, IDC_USERMENU_ENTRIES, LB_DELETESTRING, entry);
    Send(m_hWnd, IDC_USERMENU_ENTRIES, LB_INSERTSTRING, entry,
         reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(label)));
    if (selected)
        Send(m_hWnd, IDC_USERMENU_ENTRIES, LB_SETCURSEL, entry);
}

void CRightClickMenuDlg::SelectCategory(int category)
{
    for (int i = 0; i < COMMAND_CATEGORY_COUNT; ++i)
        if (g_CommandCategoryTable[i].category == category)
            Send(m_hWnd, IDC_USERMENU_CATEGORY, CB_SETCURSEL, i);
    m_shownCategory = category;
}

void CRightClickMenuDlg::ShowEntryCommand(int category)
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const CString command = m_entries[entry].m_command;
    CString keyword, parameter;
    SplitAtFirstBlank(command, keyword, parameter);
    Send(m_hWnd, IDC_USERMENU_FUNCTIONS, LB_RESETCONTENT);
    m_rows.RemoveAll();
    auto add = [this](LPCWSTR text) {
        Send(m_hWnd, IDC_USERMENU_FUNCTIONS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    };
    INT_PTR plugIn = -1;
    const bool isPlugIn = FindPlugInByReference(command, &plugIn) != 0;
    if (isPlugIn || category == COMMAND_CATEGORY_PLUG_IN)
    {
        SelectCategory(COMMAND_CATEGORY_PLUG_IN);
        for (INT_PTR i = 0; i < g_PlugInList.GetSize(); ++i)
        {
            CString text;
            GetPlugInCommandText(i, text);
            add(text);
        }
        Send(m_hWnd, IDC_USERMENU_FUNCTIONS, LB_SETCURSEL, isPlugIn ? plugIn : -1);
        ShowArgumentControls(command, L"", FALSE);
        return;
    }
    const CommandTableRow* own = FindFilerRow(keyword);
    const bool isApplet = keyword == L"@Defaultcpl" && category == -1;
    if ((own != nullptr && category == -1) || (category >= 0 && category <= 9) || isApplet)
    {
        const int shown = category >= 0    ? category
                          : own != nullptr ? own->category
                                           : COMMAND_CATEGORY_CONTROL_PANEL;
        SelectCategory(shown);
        int selected = -1;
        auto addRow = [&](const CommandTableRow& row) {
            if (row.category != shown)
                return;
            if (&row == own)
                selected = static_cast<int>(m_rows.GetSize());
            m_rows.Add(&row);
            add(FunctionRowText(row));
        };
        for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
            addRow(g_FilerCommandTable[i]);
        for (const CommandTableRow& row : kAudioRows)
            addRow(row);
        if (shown == COMMAND_CATEGORY_CONTROL_PANEL)
            for (INT_PTR i = 0; i < g_CplList.GetSize(); ++i)
            {
                add(g_CplList[i].m_name);
                if (isApplet && selected < 0 && AppletText(i).CompareNoCase(parameter) == 0)
                    selected = static_cast<int>(m_rows.GetSize() + i);
            }
        Send(m_hWnd, IDC_USERMENU_FUNCTIONS, LB_SETCURSEL, selected);
        if (isApplet || selected < 0)
            ShowArgumentControls(L"", L"", FALSE);
        else
            ShowArgumentControls(keyword, parameter, FALSE);
        return;
    }
    // File execution: the program and its arguments, run directly or by the default
    // association.
    SelectCategory(COMMAND_CATEGORY_EXECUTE);
    add(L"ファイル実行");
    add(L"ファイル実行(デフォルト指定)");
    CString program;
    int row = 0;
    if (keyword == L"@Defaultexe")
    {
        row = 1;
        program = parameter;
    }
    else if (own != nullptr)
        row = -1;
    else
        program = command;
    Send(m_hWnd, IDC_USERMENU_FUNCTIONS, LB_SETCURSEL, row);
    if (row < 0)
    {
        ShowArgumentControls(L"", L"", FALSE);
        return;
    }
    const int comma = program.Find(L',');
    if (comma < 0)
        ShowArgumentControls(program, L"", TRUE);
    else
        ShowArgumentControls(program.Left(comma), program.Mid(comma + 1), TRUE);
}

void CRightClickMenuDlg::ShowArgumentControls(LPCWSTR keyword, LPCWSTR parameter, BOOL enabled)
{
    const CString key(keyword != nullptr ? keyword : L"");
    const CString value(parameter != nullptr ? parameter : L"");
    SetDlgItemText(IDC_USERMENU_ARGUMENTS, L"");
    Show(m_hWnd, IDC_USERMENU_ARGUMENTS, true, false);
    if (key == L"@Keyjumpdir")
    {
        SetDlgItemText(IDC_USERMENU_ARG_LABEL, L"DIR名");
        SetDlgItemText(IDC_USERMENU_PROGRAM, value);
        Show(m_hWnd, IDC_USERMENU_PROGRAM, true, true);
        Show(m_hWnd, IDC_USERMENU_BROWSE, true, true);
        Show(m_hWnd, IDC_USERMENU_DEVICE, false, false);
        return;
    }
    if (IsAudioKeyword(key))
    {
        SetDlgItemText(IDC_USERMENU_ARG_LABEL, L"デバイス");
        SetDlgItemText(IDC_USERMENU_PROGRAM, L"");
        Show(m_hWnd, IDC_USERMENU_PROGRAM, false, false);
        Show(m_hWnd, IDC_USERMENU_BROWSE, false, false);
        Show(m_hWnd, IDC_USERMENU_DEVICE, true, true);
        // The current device first, then every other active one: a name that differs
        // only in case from one listed already is the same device to the system.
        Send(m_hWnd, IDC_USERMENU_DEVICE, CB_RESETCONTENT);
        CStringArray listed;
        auto add = [&](const CString& name) {
            for (INT_PTR i = 0; i < listed.GetSize(); ++i)
                if (listed[i].CompareNoCase(name) == 0)
                    return;
            listed.Add(name);
            Send(m_hWnd, IDC_USERMENU_DEVICE, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(name)));
        };
        if (!value.IsEmpty())
            add(value);
        CArray<CEndPointData> devices;
        EnumDevices(key == L"@SetAudioPlayback" ? AUDIO_FLOW_PLAYBACK : AUDIO_FLOW_CAPTURE, devices);
        for (INT_PTR i = 0; i < devices.GetSize(); ++i)
            if (!devices[i].m_name.IsEmpty())
                add(devices[i].m_name);
        SetDlgItemText(IDC_USERMENU_DEVICE, value);
        return;
    }
    SetDlgItemText(IDC_USERMENU_ARG_LABEL, L"プログラム");
    SetDlgItemText(IDC_USERMENU_PROGRAM, enabled ? key : CString());
    Show(m_hWnd, IDC_USERMENU_PROGRAM, true, enabled != FALSE);
    Show(m_hWnd, IDC_USERMENU_BROWSE, true, true);
    Show(m_hWnd, IDC_USERMENU_DEVICE, false, false);
    SetDlgItemText(IDC_USERMENU_ARGUMENTS, enabled ? value : CString());
    Show(m_hWnd, IDC_USERMENU_ARGUMENTS, true, enabled != FALSE);
}

void CRightClickMenuDlg::OnFunctionChosen()
{
    const LRESULT chosen = Send(m_hWnd, IDC_USERMENU_FUNCTIONS, LB_GETCURSEL);
    if (chosen < 0)
        return;
    if (m_shownCategory == COMMAND_CATEGORY_EXECUTE)
    {
        // Switching between the two ways to run keeps what was typed.
        CString program, arguments;
        GetDlgItemText(IDC_USERMENU_PROGRAM, program);
        GetDlgItemText(IDC_USERMENU_ARGUMENTS, arguments);
        ShowArgumentControls(program, arguments, TRUE);
        return;
    }
    if (m_shownCategory >= 0 && m_shownCategory <= 9 && chosen < m_rows.GetSize())
    {
        ShowArgumentControls(m_rows[chosen]->keyword, L"", FALSE);
        return;
    }
    ShowArgumentControls(L"", L"", FALSE);
}

void CRightClickMenuDlg::AssignFunction()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    const LRESULT chosen = Send(m_hWnd, IDC_USERMENU_FUNCTIONS, LB_GETCURSEL);
    if (chosen >= 0)
    {
        CString& command = m_entries[entry].m_command;
        if (m_shownCategory == COMMAND_CATEGORY_PLUG_IN)
        {
            if (chosen < g_PlugInList.GetSize())
                GetPlugInReference(chosen, command);
        }
        else if (m_shownCategory == COMMAND_CATEGORY_EXECUTE)
        {
            CString program, arguments;
            GetDlgItemText(IDC_USERMENU_PROGRAM, program);
            GetDlgItemText(IDC_USERMENU_ARGUMENTS, arguments);
            command = chosen == 1 ? L"@Defaultexe " + program : program;
            if (!arguments.IsEmpty())
                command += L"," + arguments;
        }
        else if (chosen < m_rows.GetSize())
        {
            const CString keyword(m_rows[chosen]->keyword);
            CString parameter;
            if (keyword == L"@Keyjumpdir")
                GetDlgItemText(IDC_USERMENU_PROGRAM, parameter);
            else if (IsAudioKeyword(keyword))
                GetDlgItemText(IDC_USERMENU_DEVICE, parameter);
            if (keyword == L"@Keyjumpdir" || IsAudioKeyword(keyword))
                command.Format(L"%s %s", static_cast<LPCWSTR>(keyword), static_cast<LPCWSTR>(parameter));
            else
                command = keyword;
        }
        else if (m_shownCategory == COMMAND_CATEGORY_CONTROL_PANEL)
            GetCplCommandText(chosen - m_rows.GetSize(), command);
    }
    RefreshEntryLabel(entry);
    Send(m_hWnd, IDC_USERMENU_ENTRIES, LB_SETCURSEL, entry);
}

void CRightClickMenuDlg::AssignDisplayText()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    GetDlgItemText(IDC_USERMENU_DISPLAY, m_entries[entry].m_display);
    RefreshEntryLabel(entry);
}

void CRightClickMenuDlg::Browse()
{
    CString label, path;
    GetDlgItemText(IDC_USERMENU_ARG_LABEL, label);
    GetDlgItemText(IDC_USERMENU_PROGRAM, path);
    if (label == L"DIR名" ? ChooseFolder(path) : ChooseFile(path))
        SetDlgItemText(IDC_USERMENU_PROGRAM, path);
}

BOOL CRightClickMenuDlg::ChooseFolder(CString& path)
{
    return BrowseForFolder(path, this, FALSE);
}

BOOL CRightClickMenuDlg::ChooseFile(CString& path)
{
    FileDialogRequest request(m_hWnd);
    request.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    CString chosen;
    if (!BrowseForFile(request, chosen))
        return FALSE;
    path = chosen;
    return TRUE;
}

int CRightClickMenuDlg::EnumDevices(int flow, CArray<CEndPointData>& out)
{
    return EnumAudioEndpoints(flow, out);
}

void CRightClickMenuDlg::OnOK()
{
    for (int i = 0; i < kUserMenuEntryCount; ++i)
        g_UserMenuEntries[i] = m_entries[i];
    EndDialog(IDOK);
}

BOOL CRightClickMenuDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id)
    {
    case IDC_USERMENU_ENTRIES:
        if (code == LBN_SELCHANGE)
        {
            const int entry = SelectedEntry();
            if (entry >= 0)
                SetDlgItemText(IDC_USERMENU_DISPLAY, m_entries[entry].m_display);
            ShowEntryCommand(-1);
        }
        return TRUE;
    case IDC_USERMENU_CATEGORY:
        if (code == CBN_SELCHANGE)
        {
            const LRESULT row = Send(m_hWnd, IDC_USERMENU_CATEGORY, CB_GETCURSEL);
            if (row >= 0 && row < COMMAND_CATEGORY_COUNT)
                ShowEntryCommand(g_CommandCategoryTable[row].category);
        }
        return TRUE;
    case IDC_USERMENU_FUNCTIONS:
        if (code == LBN_SELCHANGE)
            OnFunctionChosen();
        return TRUE;
    case IDC_USERMENU_ASSIGN:
        if (code == BN_CLICKED)
            AssignFunction();
        return TRUE;
    case IDC_USERMENU_ASSIGN_TEXT:
        if (code == BN_CLICKED)
            AssignDisplayText();
        return TRUE;
    case IDC_USERMENU_BROWSE:
        if (code == BN_CLICKED)
            Browse();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
