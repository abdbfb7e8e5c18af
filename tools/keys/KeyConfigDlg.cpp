// The key configuration dialogs.
#include "tools/keys/KeyConfigDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/PlugInCommands.h"
#include "app/FolderChooser.h"
#include "app/settings/ToolSettings.h"
#include "graphics/picture/PictureData.h"
#include "res/KeyConfigDialogs.h"

#include <commdlg.h>

namespace
{

const wchar_t kDefaultCpl[] = L"@Defaultcpl";
const wchar_t kKeyJumpDir[] = L"@Keyjumpdir";

BOOL IsAudioKeyword(LPCWSTR keyword)
{
    return lstrcmpW(keyword, L"@SetAudioPlayback") == 0 || lstrcmpW(keyword, L"@SetAudioCapture") == 0;
}

// The first and the number of rows of a category: the rows of one category are
// contiguous in every table.
void FindCategoryRun(const CommandTableRow* rows, int rowCount, int category, int* first, int* count)
{
    *first = -1;
    *count = 0;
    for (int i = 0; i < rowCount; ++i)
    {
        if (rows[i].category != category)
            continue;
        if (*first < 0)
            *first = i;
        ++*count;
    }
}

void AppendApplets(std::vector<CString>& out)
{
    for (INT_PTR i = 0; i < g_CplList.GetSize(); ++i)
    {
        const CCplEntry& entry = g_CplList[i];
        CString text = entry.m_name.IsEmpty() ? entry.m_file : entry.m_name;
        out.push_back(text);
    }
}

// The applet whose command text equals the binding, case aside; -1 for none.
int FindApplet(const CString& binding)
{
    for (INT_PTR i = 0; i < g_CplList.GetSize(); ++i)
    {
        CString text;
        GetCplCommandText(i, text);
        if (!text.IsEmpty() && text.CompareNoCase(binding) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL IsFilerKeyword(const CString& head)
{
    if (head.IsEmpty())
        return FALSE;
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
        if (head == g_FilerCommandTable[i].keyword)
            return TRUE;
    return FALSE;
}

int CategoryPosition(const CommandCategoryRow* rows, int count, int category)
{
    for (int i = 0; i < count; ++i)
        if (rows[i].category == category)
            return i;
    return -1;
}

int SelectedRadio(HWND dialog)
{
    for (int i = 0; i < KEY_MODIFIER_COUNT; ++i)
        if (::IsDlgButtonChecked(dialog, IDC_KEYCFG_MOD_NONE + i) == BST_CHECKED)
            return i;
    return 0;
}

CString ItemText(HWND dialog, int id)
{
    wchar_t buffer[1024] = {};
    ::GetDlgItemTextW(dialog, id, buffer, 1024);
    return buffer;
}

void FillBox(HWND dialog, int id, BOOL listBox, const std::vector<CString>& items, int selected)
{
    HWND box = ::GetDlgItem(dialog, id);
    ::SendMessageW(box, listBox ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
    for (const CString& item : items)
        ::SendMessageW(box, listBox ? LB_ADDSTRING : CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(item)));
    ::SendMessageW(box, listBox ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void FillKeyList(HWND dialog)
{
    std::vector<CString> names;
    for (int i = 0; i < KEY_TABLE_ROW_COUNT; ++i)
        names.push_back(g_KeyTable[i].keyName);
    FillBox(dialog, IDC_KEYCFG_KEYS, TRUE, names, 0);
    ::CheckRadioButton(dialog, IDC_KEYCFG_MOD_NONE, IDC_KEYCFG_MOD_ALT, IDC_KEYCFG_MOD_NONE);
}

void ShowItem(HWND dialog, int id, BOOL shown, BOOL enabled)
{
    HWND item = ::GetDlgItem(dialog, id);
    ::ShowWindow(item, shown ? SW_SHOW : SW_HIDE);
    ::EnableWindow(item, enabled);
}

BOOL BrowseProgram(HWND owner, CString& path)
{
    FileDialogRequest request(owner);
    request.flags = OFN_HIDEREADONLY;
    return BrowseForFile(request, path) ? TRUE : FALSE;
}

} // namespace

std::vector<CString> ListAudioDeviceChoices(AudioEndpointEnumerator enumerate, LPCWSTR keyword,
                                            LPCWSTR current)
{
    std::vector<CString> out;
    CString first = current;
    if (!first.IsEmpty())
        out.push_back(first);
    CArray<CEndPointData> devices;
    int flow = lstrcmpW(keyword, L"@SetAudioCapture") == 0 ? AUDIO_FLOW_CAPTURE : AUDIO_FLOW_PLAYBACK;
    if (enumerate != nullptr && enumerate(flow, devices))
        for (INT_PTR i = 0; i < devices.GetSize(); ++i)
            if (!devices[i].m_name.IsEmpty() && devices[i].m_name.CompareNoCase(first) != 0)
                out.push_back(devices[i].m_name);
    return out;
}

// ---------------------------------------------------------------------------
// CKeyConfigDlg

CKeyConfigDlg::CKeyConfigDlg(CWnd* pParent) : CDialog(IDD_KEY_CONFIG, pParent) {}

void CKeyConfigDlg::Begin()
{
    m_work[0].CopyFrom(g_FilerKeyCmds);
    m_work[1].CopyFrom(g_ArcInfoKeyCmds);
    m_mode = 0;
    m_keyRow = 0;
    m_modifier = 0;
    ShowBinding(-1);
}

void CKeyConfigDlg::ListCategoryRows(int category, int* first, int* count)
{
    FindCategoryRun(g_FilerCommandTable, FILER_COMMAND_COUNT, category, first, count);
    m_functions.clear();
    for (int i = 0; i < *count; ++i)
        m_functions.push_back(GetCommandDisplayName(g_FilerCommandTable[*first + i]));
    if (category == KEY_CATEGORY_CONTROL_PANEL)
        AppendApplets(m_functions);
}

void CKeyConfigDlg::ShowArgumentFields(LPCWSTR keyword, LPCWSTR argument, BOOL enabled, LPCWSTR parameters)
{
    KeyArgumentFields fields;
    if (lstrcmpW(keyword, kKeyJumpDir) == 0)
    {
        fields.label = L"DIR名";
        fields.argument = argument;
        fields.argumentEnabled = TRUE;
    }
    else if (IsAudioKeyword(keyword))
    {
        fields.label = L"デバイス";
        fields.argumentShown = FALSE;
        fields.browseShown = FALSE;
        fields.deviceShown = TRUE;
        fields.devices = ListAudioDeviceChoices(m_enumDevices, keyword, argument);
        fields.deviceText = argument;
    }
    else
    {
        fields.label = L"プログラム";
        fields.argumentEnabled = enabled;
        fields.parametersEnabled = enabled;
        if (enabled)
        {
            fields.argument = argument;
            fields.parameters = parameters;
        }
    }
    m_args = fields;
}

void CKeyConfigDlg::ShowBinding(int category)
{
    const CKeyCmdEntry& entry = m_work[m_mode].GetBinding(m_modifier, m_keyRow);
    const CString binding = entry.command;
    m_imeControl = entry.imeControl;
    CString head, tail;
    SplitBindingText(binding, head, tail);
    m_function = -1;

    INT_PTR plugIn = -1;
    const BOOL isPlugIn = FindPlugInByReference(binding, &plugIn) != 0;
    int rowIndex = -1;
    if (category == -1)
    {
        if (isPlugIn)
            category = KEY_CATEGORY_PLUG_IN;
        else
        {
            for (int i = 0; i < FILER_COMMAND_COUNT && rowIndex < 0; ++i)
                if (head == g_FilerCommandTable[i].keyword)
                    rowIndex = i;
            if (rowIndex >= 0)
                category = g_FilerCommandTable[rowIndex].category;
            else if (head == kDefaultCpl)
                category = KEY_CATEGORY_CONTROL_PANEL;
            else
                category = KEY_CATEGORY_PROGRAM;
        }
    }
    m_category = category;

    if (category == KEY_CATEGORY_PLUG_IN)
    {
        m_functions.clear();
        for (INT_PTR i = 0; i < g_PlugInList.GetSize(); ++i)
        {
            CString text;
            GetPlugInCommandText(i, text);
            m_functions.push_back(text);
        }
        if (isPlugIn)
            m_function = static_cast<int>(plugIn);
        ShowArgumentFields(L"", L"", FALSE);
        return;
    }

    if (category == KEY_CATEGORY_PROGRAM)
    {
        m_functions.clear();
        m_functions.push_back(L"ファイル実行");
        m_functions.push_back(L"ファイル実行(デフォルト指定)");
        if (m_mode == 1)
            m_functions.push_back(L"ファイラーモードと同じ");
        if (IsSameAsFilerBinding(binding))
        {
            // Only the archive listing offers the third entry.
            if (m_mode == 1)
                m_function = 2;
            ShowArgumentFields(L"", L"", FALSE);
            return;
        }
        if (IsFilerKeyword(head) || head == kDefaultCpl)
        {
            ShowArgumentFields(L"", L"", FALSE);
            return;
        }
        CString program, parameters;
        m_function = SplitProgramBinding(binding, program, parameters) ? 1 : 0;
        ShowArgumentFields(L"", program, TRUE, parameters);
        return;
    }

    int first = 0, count = 0;
    ListCategoryRows(category, &first, &count);
    for (int i = 0; i < count && m_function < 0; ++i)
        if (head == g_FilerCommandTable[first + i].keyword)
            m_function = i;
    if (m_function >= 0)
    {
        ShowArgumentFields(head, tail, FALSE);
        return;
    }
    if (category == KEY_CATEGORY_CONTROL_PANEL && head == kDefaultCpl)
    {
        const int applet = FindApplet(binding);
        if (applet >= 0)
            m_function = count + applet;
    }
    ShowArgumentFields(L"", L"", FALSE);
}

void CKeyConfigDlg::StoreBinding(int keyRow, int modifier)
{
    CKeyCmdEntry& entry = m_work[m_mode].GetBinding(modifier, keyRow);
    const int position = m_function;
    if (position < 0)
    {
        // A binding the lists cannot show (an applet that was not loaded) stays as it
        // is until the user picks another category or function for the key.
        if (m_edited)
            entry.command.Empty();
        return;
    }
    entry.imeControl = m_imeControl;
    CString text;
    if (m_category == KEY_CATEGORY_PLUG_IN)
    {
        GetPlugInReference(position, text);
    }
    else if (m_category == KEY_CATEGORY_PROGRAM)
    {
        if (position == 2)
            text = g_SameAsFilerKeyword;
        else
        {
            if (position == 1)
            {
                text = g_DefaultExeKeyword;
                text += L" ";
            }
            text += m_args.argument;
            if (!m_args.parameters.IsEmpty())
            {
                text += L",";
                text += m_args.parameters;
            }
        }
    }
    else
    {
        int first = 0, count = 0;
        FindCategoryRun(g_FilerCommandTable, FILER_COMMAND_COUNT, m_category, &first, &count);
        if (position < count)
        {
            LPCWSTR keyword = g_FilerCommandTable[first + position].keyword;
            if (lstrcmpW(keyword, kKeyJumpDir) == 0)
                text.Format(L"%s %s", keyword, static_cast<LPCWSTR>(m_args.argument));
            else if (IsAudioKeyword(keyword))
                text.Format(L"%s %s", keyword, static_cast<LPCWSTR>(m_args.deviceText));
            else
                text = keyword;
        }
        else if (m_category == KEY_CATEGORY_CONTROL_PANEL)
            GetCplCommandText(position - count, text);
    }
    entry.command = text;
}

void CKeyConfigDlg::SelectKey(int mode, int keyRow, int modifier)
{
    StoreBinding(m_keyRow, m_modifier);
    if (mode >= 0 && mode <= 1)
        m_mode = mode;
    if (keyRow >= 0 && keyRow < KEY_TABLE_ROW_COUNT)
        m_keyRow = keyRow;
    if (modifier >= 0 && modifier < KEY_MODIFIER_COUNT)
        m_modifier = modifier;
    m_edited = FALSE;
    ShowBinding(-1);
}

void CKeyConfigDlg::ChooseCategory(int category)
{
    ShowBinding(category);
    m_edited = TRUE;
}

void CKeyConfigDlg::ChooseFunction(int position)
{
    if (position < 0 || position >= static_cast<int>(m_functions.size()))
        return;
    m_function = position;
    m_edited = TRUE;
    if (m_category == KEY_CATEGORY_PROGRAM)
        ShowArgumentFields(L"", L"", position < 2);
    else if (m_category == KEY_CATEGORY_PLUG_IN)
        ShowArgumentFields(L"", L"", FALSE);
    else
    {
        int first = 0, count = 0;
        FindCategoryRun(g_FilerCommandTable, FILER_COMMAND_COUNT, m_category, &first, &count);
        ShowArgumentFields(position < count ? g_FilerCommandTable[first + position].keyword : L"", L"",
                           FALSE);
    }
}

void CKeyConfigDlg::Commit()
{
    StoreBinding(m_keyRow, m_modifier);
    g_FilerKeyCmds.CopyFrom(m_work[0]);
    g_ArcInfoKeyCmds.CopyFrom(m_work[1]);
}

BOOL CKeyConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    Begin();
    FillBox(m_hWnd, IDC_KEYCFG_MODE, FALSE, {L"ファイラーモード", L"圧縮ファイルの閲覧"}, 0);
    FillKeyList(m_hWnd);
    std::vector<CString> categories;
    for (int i = 0; i < FILER_CATEGORY_COUNT; ++i)
        categories.push_back(g_FilerCategories[i].name);
    FillBox(m_hWnd, IDC_KEYCFG_CATEGORY, FALSE, categories, -1);
    std::vector<CString> ime;
    for (int i = 0; i < IME_CONTROL_CHOICE_COUNT; ++i)
        ime.push_back(g_ImeControlChoices[i]);
    FillBox(m_hWnd, IDC_KEYCFG_IME, FALSE, ime, 0);
    UpdateControls();
    return TRUE;
}

void CKeyConfigDlg::ReadControls()
{
    m_args.argument = ItemText(m_hWnd, IDC_KEYCFG_ARGUMENT);
    m_args.parameters = ItemText(m_hWnd, IDC_KEYCFG_PARAMETERS);
    m_args.deviceText = ItemText(m_hWnd, IDC_KEYCFG_DEVICE);
    const LRESULT ime = ::SendDlgItemMessageW(m_hWnd, IDC_KEYCFG_IME, CB_GETCURSEL, 0, 0);
    if (ime >= 0)
        m_imeControl = static_cast<int>(ime);
}

void CKeyConfigDlg::UpdateControls()
{
    m_updating = TRUE;
    ::SendDlgItemMessageW(
        m_hWnd, IDC_KEYCFG_CATEGORY, CB_SETCURSEL,
        static_cast<WPARAM>(CategoryPosition(g_FilerCategories, FILER_CATEGORY_COUNT, m_category)), 0);
    FillBox(m_hWnd, IDC_KEYCFG_FUNCTIONS, TRUE, m_functions, m_function);
    ::SendDlgItemMessageW(m_hWnd, IDC_KEYCFG_IME, CB_SETCURSEL, static_cast<WPARAM>(m_imeControl), 0);
    ::SetDlgItemTextW(m_hWnd, IDC_KEYCFG_ARG_LABEL, m_args.label);
    ::SetDlgItemTextW(m_hWnd, IDC_KEYCFG_ARGUMENT, m_args.argument);
    ShowItem(m_hWnd, IDC_KEYCFG_ARGUMENT, m_args.argumentShown, m_args.argumentEnabled);
    ShowItem(m_hWnd, IDC_KEYCFG_BROWSE, m_args.browseShown, TRUE);
    ::SetDlgItemTextW(m_hWnd, IDC_KEYCFG_PARAMETERS, m_args.parameters);
    ShowItem(m_hWnd, IDC_KEYCFG_PARAMETERS, TRUE, m_args.parametersEnabled);
    FillBox(m_hWnd, IDC_KEYCFG_DEVICE, FALSE, m_args.devices, m_args.devices.empty() ? -1 : 0);
    ::SetDlgItemTextW(m_hWnd, IDC_KEYCFG_DEVICE, m_args.deviceText);
    ShowItem(m_hWnd, IDC_KEYCFG_DEVICE, m_args.deviceShown, TRUE);
    m_updating = FALSE;
}

BOOL CKeyConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (m_updating || m_hWnd == nullptr)
        return CDialog::OnCommand(wParam, lParam);
    if ((id == IDC_KEYCFG_KEYS && code == LBN_SELCHANGE) ||
        (id == IDC_KEYCFG_MODE && code == CBN_SELCHANGE) ||
        (id >= IDC_KEYCFG_MOD_NONE && id <= IDC_KEYCFG_MOD_ALT && code == BN_CLICKED))
    {
        ReadControls();
        const int key = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_KEYCFG_KEYS, LB_GETCURSEL, 0, 0));
        const int mode = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_KEYCFG_MODE, CB_GETCURSEL, 0, 0));
        SelectKey(mode, key, SelectedRadio(m_hWnd));
        UpdateControls();
        return TRUE;
    }
    if (id == IDC_KEYCFG_CATEGORY && code == CBN_SELCHANGE)
    {
        const int position = static_cast<int>(::SendDlgItemMessageW(m_hWnd, id, CB_GETCURSEL, 0, 0));
        if (position >= 0 && position < FILER_CATEGORY_COUNT)
            ChooseCategory(g_FilerCategories[position].category);
        UpdateControls();
        return TRUE;
    }
    if (id == IDC_KEYCFG_FUNCTIONS && code == LBN_SELCHANGE)
    {
        ReadControls();
        ChooseFunction(static_cast<int>(::SendDlgItemMessageW(m_hWnd, id, LB_GETCURSEL, 0, 0)));
        UpdateControls();
        return TRUE;
    }
    if (id == IDC_KEYCFG_BROWSE && code == BN_CLICKED)
    {
        CString path = ItemText(m_hWnd, IDC_KEYCFG_ARGUMENT);
        const BOOL chosen =
            m_args.label == L"DIR名" ? BrowseForFolder(path, this, FALSE) : BrowseProgram(m_hWnd, path);
        if (chosen)
            ::SetDlgItemTextW(m_hWnd, IDC_KEYCFG_ARGUMENT, path);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CKeyConfigDlg::OnOK()
{
    ReadControls();
    Commit();
    EndDialog(IDOK);
}

// ---------------------------------------------------------------------------
// CViewKeyConfigDlg

CViewKeyConfigDlg::CViewKeyConfigDlg(int mode, CWnd* pParent) : CDialog(IDD_VIEW_KEY_CONFIG, pParent)
{
    m_mode = mode >= 0 && mode <= 3 ? mode : 0;
    switch (m_mode)
    {
    case 0:
        m_live = &g_ViewerKeyCmds;
        m_categories = g_ViewerCategories;
        m_categoryCount = VIEWER_CATEGORY_COUNT;
        m_commands = g_ViewerCommandTable;
        m_commandCount = VIEWER_COMMAND_COUNT;
        break;
    case 1:
        m_live = &g_GraphicKeyCmds;
        m_categories = g_GraphicCategories;
        m_categoryCount = GRAPHIC_CATEGORY_COUNT;
        m_commands = g_GraphicCommandTable;
        m_commandCount = GRAPHIC_COMMAND_COUNT;
        break;
    case 2:
        m_live = &g_BinaryKeyCmds;
        m_categories = g_BinaryCategories;
        m_categoryCount = BINARY_CATEGORY_COUNT;
        m_commands = g_BinaryCommandTable;
        m_commandCount = BINARY_COMMAND_COUNT;
        break;
    default:
        m_live = &g_CommonKeyCmds;
        m_categories = g_CommonCategories;
        m_categoryCount = COMMON_CATEGORY_COUNT;
        m_commands = g_CommonCommandTable;
        m_commandCount = COMMON_COMMAND_COUNT;
        break;
    }
}

void CViewKeyConfigDlg::Begin()
{
    m_work.CopyFrom(*m_live);
    m_keyRow = 0;
    m_modifier = 0;
    m_deviceShown = FALSE;
    ShowBinding(-1);
}

void CViewKeyConfigDlg::ListCategoryRows(int category, int* first, int* count)
{
    FindCategoryRun(m_commands, m_commandCount, category, first, count);
    m_functions.clear();
    for (int i = 0; i < *count; ++i)
    {
        const CommandTableRow& row = m_commands[*first + i];
        CString text;
        if (!FormatAlphaChannelCommandName(row.keyword, text))
            text = GetCommandDisplayName(row);
        m_functions.push_back(text);
    }
    if (category == KEY_CATEGORY_CONTROL_PANEL)
        AppendApplets(m_functions);
}

void CViewKeyConfigDlg::ShowDevice(LPCWSTR keyword, LPCWSTR device)
{
    m_deviceShown = IsAudioKeyword(keyword);
    m_devices.clear();
    m_deviceText.Empty();
    if (!m_deviceShown)
        return;
    m_devices = ListAudioDeviceChoices(m_enumDevices, keyword, device);
    m_deviceText = device;
}

void CViewKeyConfigDlg::ShowBinding(int category)
{
    const CKeyCmdEntry& entry = m_work.GetBinding(m_modifier, m_keyRow);
    const CString binding = entry.command;
    CString head, tail;
    SplitBindingText(binding, head, tail);
    m_hotKey = entry.hotKey;
    m_hotKeyEnabled = FALSE;
    m_function = -1;
    m_functions.clear();
    ShowDevice(L"", L"");

    if (category == -1)
    {
        category = NO_BINDING_CATEGORY;
        for (int i = 0; i < m_commandCount; ++i)
            if (!binding.IsEmpty() && (binding == m_commands[i].keyword || head == m_commands[i].keyword))
            {
                category = m_commands[i].category;
                break;
            }
        if (category == NO_BINDING_CATEGORY && head == kDefaultCpl)
            category = KEY_CATEGORY_CONTROL_PANEL;
    }
    m_category = category;
    if (category == NO_BINDING_CATEGORY)
        return;

    int first = 0, count = 0;
    ListCategoryRows(category, &first, &count);
    for (int i = 0; i < count; ++i)
    {
        const CommandTableRow& row = m_commands[first + i];
        if (!binding.IsEmpty() && (binding == row.keyword || head == row.keyword))
        {
            m_function = i;
            m_hotKeyEnabled = TRUE;
            ShowDevice(row.keyword, tail);
            return;
        }
    }
    if (category == KEY_CATEGORY_CONTROL_PANEL && head == kDefaultCpl)
    {
        const int applet = FindApplet(binding);
        if (applet >= 0)
        {
            m_function = count + applet;
            m_hotKeyEnabled = TRUE;
        }
    }
}

void CViewKeyConfigDlg::StoreBinding(int keyRow, int modifier)
{
    CKeyCmdEntry& entry = m_work.GetBinding(modifier, keyRow);
    entry.hotKey = m_hotKey ? 1 : 0;
    if (m_category == NO_BINDING_CATEGORY)
    {
        entry.command.Empty();
        return;
    }
    if (m_function < 0)
        return;
    int first = 0, count = 0;
    FindCategoryRun(m_commands, m_commandCount, m_category, &first, &count);
    CString text;
    if (m_function < count)
    {
        LPCWSTR keyword = m_commands[first + m_function].keyword;
        text = keyword;
        if (IsAudioKeyword(keyword) && !m_deviceText.IsEmpty())
        {
            text += L" ";
            text += m_deviceText;
        }
    }
    else if (m_category == KEY_CATEGORY_CONTROL_PANEL)
        GetCplCommandText(m_function - count, text);
    entry.command = text;
}

void CViewKeyConfigDlg::SelectKey(int keyRow, int modifier)
{
    StoreBinding(m_keyRow, m_modifier);
    if (keyRow >= 0 && keyRow < KEY_TABLE_ROW_COUNT)
        m_keyRow = keyRow;
    if (modifier >= 0 && modifier < KEY_MODIFIER_COUNT)
        m_modifier = modifier;
    ShowBinding(-1);
}

void CViewKeyConfigDlg::ChooseCategory(int category)
{
    ShowBinding(category);
}

void CViewKeyConfigDlg::ChooseFunction(int position)
{
    if (position < 0 || position >= static_cast<int>(m_functions.size()))
        return;
    m_function = position;
    m_hotKey = 0;
    int first = 0, count = 0;
    FindCategoryRun(m_commands, m_commandCount, m_category, &first, &count);
    const BOOL isRow = position < count;
    m_hotKeyEnabled = isRow && m_commands[first + position].common != 0;
    ShowDevice(isRow ? m_commands[first + position].keyword : L"", L"");
}

void CViewKeyConfigDlg::Commit()
{
    StoreBinding(m_keyRow, m_modifier);
    m_live->CopyFrom(m_work);
}

BOOL CViewKeyConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    Begin();
    FillKeyList(m_hWnd);
    std::vector<CString> categories;
    for (int i = 0; i < m_categoryCount; ++i)
        categories.push_back(m_categories[i].name);
    categories.push_back(L"なにもしない");
    FillBox(m_hWnd, IDC_KEYCFG_CATEGORY, FALSE, categories, -1);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_KEYCFG_HOTKEY), m_mode == 3 ? SW_SHOW : SW_HIDE);
    UpdateControls();
    return TRUE;
}

void CViewKeyConfigDlg::ReadControls()
{
    m_deviceText = ItemText(m_hWnd, IDC_KEYCFG_DEVICE);
    m_hotKey = ::IsDlgButtonChecked(m_hWnd, IDC_KEYCFG_HOTKEY) == BST_CHECKED ? 1 : 0;
}

void CViewKeyConfigDlg::UpdateControls()
{
    m_updating = TRUE;
    const int position = m_category == NO_BINDING_CATEGORY
                             ? m_categoryCount
                             : CategoryPosition(m_categories, m_categoryCount, m_category);
    ::SendDlgItemMessageW(m_hWnd, IDC_KEYCFG_CATEGORY, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    FillBox(m_hWnd, IDC_KEYCFG_FUNCTIONS, TRUE, m_functions, m_function);
    FillBox(m_hWnd, IDC_KEYCFG_DEVICE, FALSE, m_devices, m_devices.empty() ? -1 : 0);
    ::SetDlgItemTextW(m_hWnd, IDC_KEYCFG_DEVICE, m_deviceText);
    ShowItem(m_hWnd, IDC_KEYCFG_DEVICE, m_deviceShown, TRUE);
    ShowItem(m_hWnd, IDC_KEYCFG_DEVICE_LABEL, m_deviceShown, TRUE);
    ::CheckDlgButton(m_hWnd, IDC_KEYCFG_HOTKEY, m_hotKey ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KEYCFG_HOTKEY), m_hotKeyEnabled);
    m_updating = FALSE;
}

BOOL CViewKeyConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (m_updating || m_hWnd == nullptr)
        return CDialog::OnCommand(wParam, lParam);
    if ((id == IDC_KEYCFG_KEYS && code == LBN_SELCHANGE) ||
        (id >= IDC_KEYCFG_MOD_NONE && id <= IDC_KEYCFG_MOD_ALT && code == BN_CLICKED))
    {
        ReadControls();
        SelectKey(static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_KEYCFG_KEYS, LB_GETCURSEL, 0, 0)),
                  SelectedRadio(m_hWnd));
        UpdateControls();
        return TRUE;
    }
    if (id == IDC_KEYCFG_CATEGORY && code == CBN_SELCHANGE)
    {
        const int position = static_cast<int>(::SendDlgItemMessageW(m_hWnd, id, CB_GETCURSEL, 0, 0));
        ReadControls();
        if (position >= 0 && position < m_categoryCount)
            ChooseCategory(m_categories[position].category);
        else if (position == m_categoryCount)
            ChooseCategory(NO_BINDING_CATEGORY);
        UpdateControls();
        return TRUE;
    }
    if (id == IDC_KEYCFG_FUNCTIONS && code == LBN_SELCHANGE)
    {
        ChooseFunction(static_cast<int>(::SendDlgItemMessageW(m_hWnd, id, LB_GETCURSEL, 0, 0)));
        UpdateControls();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CViewKeyConfigDlg::OnOK()
{
    ReadControls();
    Commit();
    EndDialog(IDOK);
}
