// The function list.
#include "tools/keys/FuncListDlg.h"
#include "app/PlugInCommands.h"
#include "app/records/ControlPanelApplets.h"
#include "app/settings/ToolSettings.h"
#include "graphics/picture/PictureData.h"
#include "res/KeyConfigDialogs.h"

#include <commctrl.h>
#include <imm.h>

namespace
{

const wchar_t kKeyJumpDir[] = L"@Keyjumpdir";
const UINT kArchiveListingMode = 0x100;

int PositionOf(const CommandCategoryRow* rows, int count, int category)
{
    for (int i = 0; i < count; ++i)
        if (rows[i].category == category)
            return i;
    return -1;
}

BOOL HasKeyword(const std::vector<CCmdInfo>& commands, const CString& keyword)
{
    for (const CCmdInfo& info : commands)
        if (info.m_keyword.CompareNoCase(keyword) == 0)
            return TRUE;
    return FALSE;
}

} // namespace

CFuncListDlg::CFuncListDlg(UINT paneMode, CWnd* pParent)
    : CDialog(IDD_FUNC_LIST, pParent), m_paneMode(paneMode)
{
    if (paneMode == 16 || paneMode == 512)
    {
        m_listMode = 16;
        m_categories = g_ViewerCategories;
        m_categoryCount = VIEWER_CATEGORY_COUNT;
        m_table = g_ViewerCommandTable;
        m_tableCount = VIEWER_COMMAND_COUNT;
        m_set = &g_ViewerKeyCmds;
    }
    else if (paneMode == 64 || paneMode == 2048)
    {
        m_listMode = 64;
        m_categories = g_GraphicCategories;
        m_categoryCount = GRAPHIC_CATEGORY_COUNT;
        m_table = g_GraphicCommandTable;
        m_tableCount = GRAPHIC_COMMAND_COUNT;
        m_set = &g_GraphicKeyCmds;
    }
    else if (paneMode == 1024)
    {
        m_listMode = 1024;
        m_categories = g_BinaryCategories;
        m_categoryCount = BINARY_CATEGORY_COUNT;
        m_table = g_BinaryCommandTable;
        m_tableCount = BINARY_COMMAND_COUNT;
        m_set = &g_BinaryKeyCmds;
    }
    else
    {
        m_listMode = 8;
        m_categories = g_FilerCategories;
        m_categoryCount = FILER_CATEGORY_COUNT;
        m_table = g_FilerCommandTable;
        m_tableCount = FILER_COMMAND_COUNT;
        m_set = &g_FilerKeyCmds;
    }
}

int CFuncListDlg::GetCategoryCount() const
{
    // The filer list ends with "ファイル実行" for the program bindings.
    return m_listMode == 8 ? m_categoryCount + 1 : m_categoryCount;
}

void CFuncListDlg::BuildCommandList()
{
    m_commands.clear();
    const BOOL filer = m_listMode == 8;
    for (int position = 0; position < m_categoryCount; ++position)
    {
        for (int i = 0; i < m_tableCount; ++i)
        {
            const CommandTableRow& row = m_table[i];
            if (row.category != m_categories[position].category)
                continue;
            if (filer && lstrcmpW(row.keyword, kKeyJumpDir) == 0)
            {
                for (int key = 0; key < g_FilerKeyCmds.GetSize(); ++key)
                    for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
                    {
                        const CString& binding = g_FilerKeyCmds.GetBinding(modifier, key).command;
                        if (binding.Left(lstrlenW(kKeyJumpDir) + 1) != L"@Keyjumpdir " ||
                            HasKeyword(m_commands, binding))
                            continue;
                        CCmdInfo info;
                        info.m_category = position;
                        info.m_keyword = binding;
                        info.m_text.Format(L"%sへ移動",
                                           static_cast<LPCWSTR>(binding.Mid(lstrlenW(kKeyJumpDir) + 1)));
                        m_commands.push_back(info);
                    }
                continue;
            }
            CCmdInfo info;
            info.m_category = position;
            info.m_keyword = row.keyword;
            if (filer || !FormatAlphaChannelCommandName(row.keyword, info.m_text))
                info.m_text = GetCommandDisplayName(row);
            m_commands.push_back(info);
        }
    }
    if (filer)
    {
        // The applets follow the control panel's own rows, each run by its command text.
        const int appletPosition = PositionOf(m_categories, m_categoryCount, KEY_CATEGORY_CONTROL_PANEL);
        for (INT_PTR i = 0; i < g_CplList.GetSize() && appletPosition >= 0; ++i)
        {
            CCmdInfo info;
            info.m_category = appletPosition;
            info.m_text = g_CplList[i].m_name.IsEmpty() ? g_CplList[i].m_file : g_CplList[i].m_name;
            GetCplCommandText(i, info.m_keyword);
            m_commands.push_back(info);
        }
        const int plugInPosition = PositionOf(m_categories, m_categoryCount, KEY_CATEGORY_PLUG_IN);
        for (INT_PTR i = 0; i < g_PlugInList.GetSize(); ++i)
        {
            CCmdInfo info;
            info.m_category = plugInPosition;
            info.m_text = g_PlugInList[i].m_functionName;
            // The entry stands for the plug-in as a binding names it: chosen, it runs
            // as that binding does, and the keys bound to the plug-in show beside it.
            GetPlugInReference(i, info.m_keyword);
            m_commands.push_back(info);
        }
        for (int key = 0; key < g_FilerKeyCmds.GetSize(); ++key)
            for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
            {
                const CString& binding = g_FilerKeyCmds.GetBinding(modifier, key).command;
                if (binding.IsEmpty() || HasKeyword(m_commands, binding))
                    continue;
                CString program, parameters;
                const BOOL byDialog = SplitProgramBinding(binding, program, parameters);
                LPCWSTR suffix = byDialog ? L"(デフォルト実行)" : L"";
                CCmdInfo info;
                info.m_category = m_categoryCount;
                info.m_keyword = binding;
                if (parameters.IsEmpty())
                    info.m_text.Format(L"%s%s", static_cast<LPCWSTR>(program), suffix);
                else
                    info.m_text.Format(L"%s(%s)%s", static_cast<LPCWSTR>(program),
                                       static_cast<LPCWSTR>(parameters), suffix);
                m_commands.push_back(info);
            }
    }
    for (CCmdInfo& info : m_commands)
        for (int key = 0; key < m_set->GetSize(); ++key)
            for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
            {
                CString binding = m_set->GetBinding(modifier, key).command;
                // An archive listing runs its own binding unless that defers to the filer.
                if (m_paneMode == kArchiveListingMode)
                {
                    const CString& own = g_ArcInfoKeyCmds.GetBinding(modifier, key).command;
                    if (!IsSameAsFilerBinding(own))
                        binding = own;
                }
                if (!binding.IsEmpty() && binding.CompareNoCase(info.m_keyword) == 0)
                    info.m_keys.push_back({key, modifier});
            }
}

std::vector<int> CFuncListDlg::EntriesOf(int categoryPosition) const
{
    std::vector<int> out;
    for (size_t i = 0; i < m_commands.size(); ++i)
        if (m_commands[i].m_category == categoryPosition)
            out.push_back(static_cast<int>(i));
    return out;
}

CString CFuncListDlg::FormatKeys(const CCmdInfo& info)
{
    static const LPCWSTR formats[KEY_MODIFIER_COUNT] = {L"[%s]", L"[Shift + %s]", L"[Ctrl + %s]",
                                                        L"[Alt + %s]"};
    CString out;
    for (const structKeyInfo& key : info.m_keys)
    {
        if (key.keyRow < 0 || key.keyRow >= KEY_TABLE_ROW_COUNT || key.modifier < 0 ||
            key.modifier >= KEY_MODIFIER_COUNT)
            continue;
        CString one;
        one.Format(formats[key.modifier], g_KeyTable[key.keyRow].keyName);
        if (!out.IsEmpty())
            out += L",";
        out += one;
    }
    return out;
}

BOOL CFuncListDlg::SelectByKey(UINT virtualKey, int modifier)
{
    if (modifier == 0)
    {
        switch (virtualKey)
        {
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return FALSE;
        default:
            break;
        }
    }
    for (size_t i = 0; i < m_commands.size(); ++i)
        for (const structKeyInfo& key : m_commands[i].m_keys)
            if (key.modifier == modifier && key.keyRow >= 0 && key.keyRow < KEY_TABLE_ROW_COUNT &&
                g_KeyTable[key.keyRow].virtualKey == virtualKey)
            {
                m_categoryPosition = m_commands[i].m_category;
                m_selected = static_cast<int>(i);
                if (m_hWnd != nullptr)
                    FillList();
                return TRUE;
            }
    return TRUE;
}

BOOL CFuncListDlg::ChooseSelected()
{
    if (m_selected < 0 || m_selected >= static_cast<int>(m_commands.size()))
        return FALSE;
    const CCmdInfo& info = m_commands[m_selected];
    m_resultKeyword = info.m_keyword;
    m_resultModifier = 0;
    m_resultVirtualKey = 0;
    if (!info.m_keys.empty() && info.m_keys[0].keyRow >= 0 && info.m_keys[0].keyRow < KEY_TABLE_ROW_COUNT)
    {
        m_resultModifier = info.m_keys[0].modifier;
        m_resultVirtualKey = g_KeyTable[info.m_keys[0].keyRow].virtualKey;
    }
    return !m_resultKeyword.IsEmpty();
}

BOOL CFuncListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    BuildCommandList();
    HWND box = ::GetDlgItem(m_hWnd, IDC_FUNCLIST_CATEGORY);
    for (int i = 0; i < m_categoryCount; ++i)
        ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_categories[i].name));
    if (m_listMode == 8)
        ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"ファイル実行"));
    ::SendMessageW(box, CB_SETCURSEL, 0, 0);

    HWND list = ::GetDlgItem(m_hWnd, IDC_FUNCLIST_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 150;
    column.pszText = const_cast<LPWSTR>(L"割当キー");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 450;
    column.pszText = const_cast<LPWSTR>(L"機能");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    // The list looks every key up before it moves its selection: a subclass sees the
    // key before the control does.
    SetWindowSubclass(list, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    m_categoryPosition = 0;
    m_selected = -1;
    FillList();
    ::SetFocus(list);
    return FALSE;
}

void CFuncListDlg::FillList()
{
    ::SendDlgItemMessageW(m_hWnd, IDC_FUNCLIST_CATEGORY, CB_SETCURSEL,
                          static_cast<WPARAM>(m_categoryPosition), 0);
    HWND list = ::GetDlgItem(m_hWnd, IDC_FUNCLIST_LIST);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    m_shown = EntriesOf(m_categoryPosition);
    if (m_selected < 0 || m_commands[m_selected].m_category != m_categoryPosition)
        m_selected = m_shown.empty() ? -1 : m_shown[0];
    int selectedRow = -1;
    for (size_t i = 0; i < m_shown.size(); ++i)
    {
        const CCmdInfo& info = m_commands[m_shown[i]];
        CString keys = FormatKeys(info);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(keys));
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(info.m_text));
        ::SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        if (m_shown[i] == m_selected)
            selectedRow = static_cast<int>(i);
    }
    if (selectedRow >= 0)
    {
        ListView_SetItemState(list, selectedRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, selectedRow, FALSE);
    }
}

LRESULT CALLBACK CFuncListDlg::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data)
{
    CFuncListDlg* self = reinterpret_cast<CFuncListDlg*>(data);
    if (message == WM_KEYDOWN || (message == WM_SYSKEYDOWN && (lParam & (1 << 29)) != 0))
    {
        UINT key = static_cast<UINT>(wParam);
        if (key == VK_PROCESSKEY)
            key = ImmGetVirtualKey(hwnd);
        int modifier = 3;
        if (message == WM_KEYDOWN)
            modifier = GetKeyState(VK_SHIFT) < 0 ? 1 : (GetKeyState(VK_CONTROL) < 0 ? 2 : 0);
        if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU && self->SelectByKey(key, modifier))
            return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, ListProc, id);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

BOOL CFuncListDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDC_FUNCLIST_CATEGORY && HIWORD(wParam) == CBN_SELCHANGE)
    {
        const int position = static_cast<int>(::SendDlgItemMessageW(m_hWnd, id, CB_GETCURSEL, 0, 0));
        if (position >= 0 && position < GetCategoryCount())
        {
            m_categoryPosition = position;
            m_selected = -1;
            FillList();
        }
        return TRUE;
    }
    if (id == IDC_FUNCLIST_RUN && HIWORD(wParam) == BN_CLICKED)
    {
        OnOK();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CFuncListDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == IDC_FUNCLIST_LIST)
    {
        if (header->code == LVN_ITEMCHANGED)
        {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uNewState & LVIS_SELECTED) != 0 && change->iItem >= 0 &&
                change->iItem < static_cast<int>(m_shown.size()))
                m_selected = m_shown[change->iItem];
        }
        else if (header->code == NM_DBLCLK)
            OnOK();
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CFuncListDlg::OnOK()
{
    if (ChooseSelected())
        EndDialog(IDOK);
}
