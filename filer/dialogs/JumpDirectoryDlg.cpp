#include "filer/dialogs/JumpDirectoryDlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "util/StringHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/InputDlgs.h"
#include "app/dialogs/ListDlgs.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/keys/KeyTable.h"
#include "app/settings/FilerSettings.h"
#include "filer/FilerPane.h"
#include "res/FilerDialogs.h"

namespace
{
const wchar_t* const kColumnTitles[] = {L"DIR名", L"キー", L"内容"};
// Groups after the first are keyed by two digits in the settings file.
constexpr int kMaxGroups = 99;

CArray<CEachJumpDirectory>* EntriesOf(int group)
{
    if (group < 0 || group >= g_JumpGroups.GetSize())
        return nullptr;
    return &g_JumpGroups[group].m_entries;
}
} // namespace

BEGIN_MESSAGE_MAP(CJumpDirectoryDlg, CDialog)
ON_CBN_SELCHANGE(IDC_JUMP_GROUP, OnGroupChange)
ON_BN_CLICKED(IDC_JUMP_ADD, OnAdd)
ON_BN_CLICKED(IDC_JUMP_EDIT, OnEdit)
ON_BN_CLICKED(IDC_JUMP_DELETE, OnDelete)
ON_BN_CLICKED(IDC_JUMP_UP, OnUp)
ON_BN_CLICKED(IDC_JUMP_DOWN, OnDown)
ON_BN_CLICKED(IDC_JUMP_GROUP_ADD, OnGroupAdd)
ON_BN_CLICKED(IDC_JUMP_GROUP_DELETE, OnGroupDelete)
ON_BN_CLICKED(IDC_JUMP_GROUP_RENAME, OnGroupRename)
ON_BN_CLICKED(IDC_JUMP_DISPLAY_SETTINGS, OnDisplaySettings)
ON_BN_CLICKED(IDC_JUMP_ICONS, OnIcons)
ON_BN_CLICKED(IDC_JUMP_TO_LOCATION, OnToLocation)
END_MESSAGE_MAP()

CJumpDirectoryDlg::CJumpDirectoryDlg(CWnd* pParent) : CDialog(IDD_JUMP_DIRECTORY, pParent) {}

CJumpDirectoryDlg::~CJumpDirectoryDlg()
{
    for (auto& held : m_icons)
    {
        if (held.second != nullptr)
            DestroyIcon(held.second);
    }
    if (m_images != nullptr)
        ImageList_Destroy(m_images);
}

BOOL CJumpDirectoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (g_JumpGroups.GetSize() == 0)
    {
        g_JumpGroups.SetSize(1);
        g_SUMDIRJUMPGROUP = 1;
    }
    CheckDlgButton(IDC_JUMP_ICONS, g_DISP_ICON_ON_JUMP_DIR_DLG ? BST_CHECKED : BST_UNCHECKED);
    HWND list = ::GetDlgItem(m_hWnd, IDC_JUMP_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    FillGroups();
    m_group = 0;
    ::SendDlgItemMessageW(m_hWnd, IDC_JUMP_GROUP, CB_SETCURSEL, 0, 0);
    Rebuild(0);
    ::SetFocus(g_JumpGroups.GetSize() > 1 ? ::GetDlgItem(m_hWnd, IDC_JUMP_GROUP) : list);
    return FALSE;
}

void CJumpDirectoryDlg::FillGroups()
{
    HWND combo = ::GetDlgItem(m_hWnd, IDC_JUMP_GROUP);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (INT_PTR g = 0; g < g_JumpGroups.GetSize(); ++g)
        ::SendMessageW(combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(g_JumpGroups[g].m_groupName)));
}

int CJumpDirectoryDlg::CountVisibleEntries() const
{
    const CArray<CEachJumpDirectory>* entries = EntriesOf(m_group);
    if (entries == nullptr)
        return 0;
    int count = 0;
    while (count < entries->GetSize() && !(*entries)[count].m_directory.IsEmpty())
        ++count;
    return count;
}

int CJumpDirectoryDlg::GetSelectedRow() const
{
    return GetSelectedListRow(::GetDlgItem(m_hWnd, IDC_JUMP_LIST));
}

void CJumpDirectoryDlg::SelectRow(int row)
{
    SelectListRow(::GetDlgItem(m_hWnd, IDC_JUMP_LIST), row);
}

void CJumpDirectoryDlg::ShowGroup(int group)
{
    if (group < 0 || group >= g_JumpGroups.GetSize())
        return;
    m_group = group;
    ::SendDlgItemMessageW(m_hWnd, IDC_JUMP_GROUP, CB_SETCURSEL, group, 0);
    Rebuild(0);
}

void CJumpDirectoryDlg::LayoutColumns()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_JUMP_LIST);
    while (ListView_DeleteColumn(list, 0))
    {
    }
    int shown = 0;
    for (const JumpListColumn& column : g_JumpListColumns)
    {
        if (!column.shown || column.item < 0 || column.item > 2)
            continue;
        LVCOLUMNW header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.pszText = const_cast<LPWSTR>(kColumnTitles[column.item]);
        header.cx = column.width > 0 ? column.width : 50;
        ListView_InsertColumn(list, shown, &header);
        ++shown;
    }
    // One column needs no header to tell it from the others.
    LONG_PTR style = ::GetWindowLongPtrW(list, GWL_STYLE);
    style = shown > 1 ? (style & ~LVS_NOCOLUMNHEADER) : (style | LVS_NOCOLUMNHEADER);
    ::SetWindowLongPtrW(list, GWL_STYLE, style);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | (shown > 1 ? LVS_EX_GRIDLINES : 0));
}

HICON CJumpDirectoryDlg::IconOf(const CString& target)
{
    CString key = target;
    key.MakeUpper();
    auto held = m_icons.find(key);
    if (held != m_icons.end())
        return held->second;
    HICON icon = nullptr;
    CString path;
    ExpandEnvironmentString(path, target);
    if (FileExists(path) || DirectoryExists(path))
    {
        SHFILEINFOW info = {};
        if (SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON))
            icon = info.hIcon;
    }
    m_icons[key] = icon;
    return icon;
}

void CJumpDirectoryDlg::LoadIcons()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_JUMP_LIST);
    if (m_images != nullptr)
    {
        ListView_SetImageList(list, nullptr, LVSIL_SMALL);
        ImageList_Destroy(m_images);
        m_images = nullptr;
    }
    if (!g_DISP_ICON_ON_JUMP_DIR_DLG)
        return;
    m_images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                ILC_COLOR32 | ILC_MASK, 8, 8);
    ImageList_SetBkColor(m_images, RGB(255, 255, 255));
    ListView_SetImageList(list, m_images, LVSIL_SMALL);
}

void CJumpDirectoryDlg::FillRows()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_JUMP_LIST);
    ListView_DeleteAllItems(list);
    const CArray<CEachJumpDirectory>* entries = EntriesOf(m_group);
    const int count = CountVisibleEntries();
    for (int row = 0; row < count; ++row)
    {
        const CEachJumpDirectory& entry = (*entries)[row];
        int column = 0;
        for (const JumpListColumn& shown : g_JumpListColumns)
        {
            if (!shown.shown || shown.item < 0 || shown.item > 2)
                continue;
            CString text;
            if (shown.item == 0)
                text = entry.m_directory;
            else if (shown.item == 1 && !entry.m_keyName.IsEmpty())
                text.Format(L"[%s]", static_cast<LPCWSTR>(entry.m_keyName));
            else if (shown.item == 2 && !entry.m_display.IsEmpty())
                text.Format(L"(%s)", static_cast<LPCWSTR>(entry.m_display));
            if (column == 0)
            {
                LVITEMW item = {};
                item.mask = LVIF_TEXT | LVIF_IMAGE;
                item.iItem = row;
                item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(text));
                item.iImage = -1;
                if (m_images != nullptr)
                {
                    if (HICON icon = IconOf(entry.m_directory))
                        item.iImage = ImageList_AddIcon(m_images, icon);
                }
                ListView_InsertItem(list, &item);
            }
            else
            {
                ListView_SetItemText(list, row, column, const_cast<LPWSTR>(static_cast<LPCWSTR>(text)));
            }
            ++column;
        }
        if (column == 0)
        {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<LPWSTR>(L"");
            ListView_InsertItem(list, &item);
        }
    }
    int column = 0;
    for (const JumpListColumn& shown : g_JumpListColumns)
    {
        if (!shown.shown || shown.item < 0 || shown.item > 2)
            continue;
        if (shown.width <= 0)
            ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
        ++column;
    }
}

void CJumpDirectoryDlg::Rebuild(int selectRow)
{
    LayoutColumns();
    LoadIcons();
    FillRows();
    const int count = CountVisibleEntries();
    if (selectRow >= count)
        selectRow = count - 1;
    SelectRow(selectRow);
}

void CJumpDirectoryDlg::StoreWidths()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_JUMP_LIST);
    if (list == nullptr)
        return;
    int column = 0;
    for (JumpListColumn& shown : g_JumpListColumns)
    {
        if (!shown.shown || shown.item < 0 || shown.item > 2)
            continue;
        const int width = ListView_GetColumnWidth(list, column);
        if (width > 0)
            shown.width = width;
        ++column;
    }
}

void CJumpDirectoryDlg::Finish(int result)
{
    StoreWidths();
    EndDialog(result);
}

BOOL CJumpDirectoryDlg::ChooseByKey(UINT virtualKey)
{
    const KeyTableRow* key = FindKeyTableRow(virtualKey);
    const int count = CountVisibleEntries();
    if (key == nullptr || count == 0)
        return FALSE;
    const CArray<CEachJumpDirectory>& entries = *EntriesOf(m_group);
    const ListRowMatches found = FindListRowsAfter(
        GetSelectedRow(), count, [&](int row) { return entries[row].m_keyName == key->keyName; });
    if (found.first < 0)
        return FALSE;
    SelectRow(found.first);
    if (found.count == 1)
    {
        m_resultGroup = m_group;
        m_resultEntry = found.first;
        Finish(IDOK);
    }
    return TRUE;
}

BOOL CJumpDirectoryDlg::PreTranslateMessage(MSG* pMsg)
{
    const UINT key = GetListKeyPress(*pMsg, ::GetDlgItem(m_hWnd, IDC_JUMP_LIST));
    if (key != 0 && ChooseByKey(key))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CJumpDirectoryDlg::OnOK()
{
    const int row = GetSelectedRow();
    if (row < 0 || EntriesOf(m_group) == nullptr)
    {
        Finish(IDCANCEL);
        return;
    }
    m_resultGroup = m_group;
    m_resultEntry = row;
    Finish(IDOK);
}

void CJumpDirectoryDlg::OnCancel()
{
    Finish(IDCANCEL);
}

void CJumpDirectoryDlg::OnToLocation()
{
    const int row = GetSelectedRow();
    if (row < 0 || EntriesOf(m_group) == nullptr)
        return;
    m_resultGroup = m_group;
    m_resultEntry = row;
    Finish(IDC_JUMP_TO_LOCATION);
}

BOOL CJumpDirectoryDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_JUMP_LIST && header->code == NM_DBLCLK)
    {
        if (GetSelectedRow() >= 0)
            OnOK();
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CJumpDirectoryDlg::OnGroupChange()
{
    const LRESULT group = ::SendDlgItemMessageW(m_hWnd, IDC_JUMP_GROUP, CB_GETCURSEL, 0, 0);
    if (group != CB_ERR)
        ShowGroup(static_cast<int>(group));
}

void CJumpDirectoryDlg::OnAdd()
{
    CArray<CEachJumpDirectory>* entries = EntriesOf(m_group);
    if (entries == nullptr)
        return;
    CInputBookMarkDlg input(this);
    input.m_caption = L"追加";
    if (m_pPane != nullptr)
    {
        input.m_target = m_pPane->m_currentDir;
        input.m_suggestedTarget1 = m_pPane->m_currentDir;
        if (const CFileInfo* cursor = m_pPane->GetCursorEntry())
        {
            if (!cursor->IsDots() && (!cursor->IsDirectory() || m_pPane->m_mode == PANE_MODE_FILER))
                input.m_suggestedTarget2 = cursor->GetRealFullPath();
        }
    }
    if (input.DoModal() != IDOK || input.m_target.IsEmpty())
        return;
    const int count = CountVisibleEntries();
    for (int i = 0; i < count; ++i)
    {
        if ((*entries)[i].m_directory.CompareNoCase(input.m_target) == 0)
            return;
    }
    CEachJumpDirectory entry;
    entry.m_directory = input.m_target;
    entry.m_display = input.m_content;
    entry.m_keyName = input.m_keyName;
    int at = GetSelectedRow();
    if (at < 0)
        at = 0;
    entries->InsertAt(at, entry);
    Rebuild(at);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_JUMP_LIST));
}

void CJumpDirectoryDlg::OnEdit()
{
    CArray<CEachJumpDirectory>* entries = EntriesOf(m_group);
    const int row = GetSelectedRow();
    if (entries == nullptr || row < 0 || row >= entries->GetSize())
        return;
    CEachJumpDirectory& entry = (*entries)[row];
    CInputBookMarkDlg input(this);
    input.m_caption = L"編集";
    input.m_target = entry.m_directory;
    input.m_content = entry.m_display;
    input.m_keyName = entry.m_keyName;
    if (input.DoModal() != IDOK)
        return;
    // The icon of the old target is looked up again for the new one.
    CString old = entry.m_directory;
    old.MakeUpper();
    auto held = m_icons.find(old);
    if (held != m_icons.end())
    {
        if (held->second != nullptr)
            DestroyIcon(held->second);
        m_icons.erase(held);
    }
    entry.m_directory = input.m_target;
    entry.m_display = input.m_content;
    entry.m_keyName = input.m_keyName;
    Rebuild(row);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_JUMP_LIST));
}

void CJumpDirectoryDlg::OnDelete()
{
    CArray<CEachJumpDirectory>* entries = EntriesOf(m_group);
    const int row = GetSelectedRow();
    if (entries == nullptr || row < 0 || row >= entries->GetSize())
        return;
    entries->RemoveAt(row);
    Rebuild(row);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_JUMP_LIST));
}

void CJumpDirectoryDlg::OnUp()
{
    CArray<CEachJumpDirectory>* entries = EntriesOf(m_group);
    const int row = GetSelectedRow();
    if (entries == nullptr || row <= 0)
        return;
    const CEachJumpDirectory moved = (*entries)[row];
    (*entries)[row] = (*entries)[row - 1];
    (*entries)[row - 1] = moved;
    Rebuild(row - 1);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_JUMP_LIST));
}

void CJumpDirectoryDlg::OnDown()
{
    CArray<CEachJumpDirectory>* entries = EntriesOf(m_group);
    const int row = GetSelectedRow();
    if (entries == nullptr || row < 0 || row + 1 >= CountVisibleEntries())
        return;
    const CEachJumpDirectory moved = (*entries)[row];
    (*entries)[row] = (*entries)[row + 1];
    (*entries)[row + 1] = moved;
    Rebuild(row + 1);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_JUMP_LIST));
}

void CJumpDirectoryDlg::OnGroupAdd()
{
    if (g_JumpGroups.GetSize() >= kMaxGroups)
        return;
    COnlyEditNameDlg input(this);
    input.m_caption = L"追加グループ名の設定";
    if (input.DoModal() != IDOK)
        return;
    CJumpDirectory group;
    group.m_groupName = input.m_name;
    const INT_PTR added = g_JumpGroups.Add(group);
    g_SUMDIRJUMPGROUP = static_cast<int>(g_JumpGroups.GetSize());
    FillGroups();
    ShowGroup(static_cast<int>(added));
}

void CJumpDirectoryDlg::OnGroupDelete()
{
    if (g_JumpGroups.GetSize() <= 1 || m_group < 0 || m_group >= g_JumpGroups.GetSize())
        return;
    CString question;
    question.Format(L"%sを削除しますか", static_cast<LPCWSTR>(g_JumpGroups[m_group].m_groupName));
    if (!Ask(this, question, L"削除確認", MessageBoxKind::YesNo))
        return;
    g_JumpGroups.RemoveAt(m_group);
    g_SUMDIRJUMPGROUP = static_cast<int>(g_JumpGroups.GetSize());
    FillGroups();
    ShowGroup(m_group < g_JumpGroups.GetSize() ? m_group : static_cast<int>(g_JumpGroups.GetSize()) - 1);
}

void CJumpDirectoryDlg::OnGroupRename()
{
    if (m_group < 0 || m_group >= g_JumpGroups.GetSize())
        return;
    COnlyEditNameDlg input(this);
    input.m_caption = L"グループ名の変更";
    input.m_name = g_JumpGroups[m_group].m_groupName;
    if (input.DoModal() != IDOK)
        return;
    g_JumpGroups[m_group].m_groupName = input.m_name;
    const int group = m_group;
    FillGroups();
    ::SendDlgItemMessageW(m_hWnd, IDC_JUMP_GROUP, CB_SETCURSEL, group, 0);
}

void CJumpDirectoryDlg::OnDisplaySettings()
{
    ListOrderItem items[3];
    for (int i = 0; i < 3; ++i)
        items[i] = {g_JumpListColumns[i].shown, g_JumpListColumns[i].item, g_JumpListColumns[i].width};
    COrderListWithCheckDlg order(this);
    order.m_caption = L"ディレクトリジャンプダイアログ表示設定";
    for (const wchar_t* title : kColumnTitles)
        order.m_names.Add(title);
    order.m_pItems = items;
    order.m_count = 3;
    if (order.DoModal() != IDOK)
        return;
    for (int i = 0; i < 3; ++i)
        g_JumpListColumns[i] = {items[i].show, items[i].nameIndex, items[i].extra};
    Rebuild(GetSelectedRow());
}

void CJumpDirectoryDlg::OnIcons()
{
    g_DISP_ICON_ON_JUMP_DIR_DLG = IsDlgButtonChecked(IDC_JUMP_ICONS) == BST_CHECKED ? 1 : 0;
    Rebuild(GetSelectedRow());
}
