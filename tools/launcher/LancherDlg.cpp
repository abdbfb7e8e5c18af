#include "tools/launcher/LancherDlg.h"
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/FolderChooser.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/keys/KeyTable.h"
#include "res/LauncherDialogs.h"

namespace
{
constexpr int kNoKeyRow = KEY_TABLE_ROW_COUNT; // "無し"

CString ItemText(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    CString text;
    const int length = ::GetWindowTextLengthW(item);
    std::wstring buffer(length + 1, L'\0');
    ::GetWindowTextW(item, &buffer[0], length + 1);
    text = buffer.c_str();
    return text;
}

// The file name part of a path: what follows the last backslash.
CString FileNamePart(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? path : path.Mid(slash + 1);
}

void Swap(CStringArray& list, int a, int b)
{
    CString keep = list[a];
    list[a] = list[b];
    list[b] = keep;
}
} // namespace

// ---- CEditLancherDlg ------------------------------------------------------------

CEditLancherDlg::CEditLancherDlg(CWnd* pParent) : CScriptedDialog(IDD_EDIT_LANCHER, pParent) {}

BOOL CEditLancherDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, IDC_LANCHER_EDIT_EXE, m_exe);
    ::SetDlgItemTextW(m_hWnd, IDC_LANCHER_EDIT_PAR, m_par);
    ::SetDlgItemTextW(m_hWnd, IDC_LANCHER_EDIT_DIR, m_exeDir);
    return TRUE;
}

void CEditLancherDlg::BrowseFile(int field, LPCWSTR filter, bool keepShortcuts)
{
    // The filter's "|" separators become the zeros the open dialog expects.
    std::wstring zeroed = filter;
    for (wchar_t& c : zeroed)
        if (c == L'|')
            c = L'\0';
    CString path = ItemText(m_hWnd, field);
    FileDialogRequest request(m_hWnd, zeroed.c_str());
    request.flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // A shortcut is a program of its own here: it is kept, not followed.
    if (keepShortcuts)
        request.flags |= OFN_NODEREFERENCELINKS;
    if (BrowseForFile(request, path))
        ::SetDlgItemTextW(m_hWnd, field, path);
}

BOOL CEditLancherDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
        switch (LOWORD(wParam))
        {
        case IDC_LANCHER_BROWSE_EXE:
            BrowseFile(IDC_LANCHER_EDIT_EXE,
                       L"実行ファイル|*.EXE;*.COM;*.PIF;*.BAT;*.LNK;*CMD|すべてのファイル|*.*||", true);
            return TRUE;
        case IDC_LANCHER_BROWSE_PAR:
            BrowseFile(IDC_LANCHER_EDIT_PAR, L"すべてのファイル|*.*||", false);
            return TRUE;
        case IDC_LANCHER_BROWSE_DIR: {
            CString folder = ItemText(m_hWnd, IDC_LANCHER_EDIT_DIR);
            if (BrowseForFolder(folder, this, FALSE))
                ::SetDlgItemTextW(m_hWnd, IDC_LANCHER_EDIT_DIR, folder);
            return TRUE;
        }
        default:
            break;
        }
    return CScriptedDialog::OnCommand(wParam, lParam);
}

void CEditLancherDlg::OnOK()
{
    CString exe = ItemText(m_hWnd, IDC_LANCHER_EDIT_EXE);
    if (exe.IsEmpty())
    {
        Tell(this, L"実行ファイル名が入力されていません");
        return;
    }
    m_exe = exe;
    m_par = ItemText(m_hWnd, IDC_LANCHER_EDIT_PAR);
    m_exeDir = ItemText(m_hWnd, IDC_LANCHER_EDIT_DIR);
    EndDialog(IDOK);
}

CDialogQuestion CEditLancherDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_EDIT_LANCHER;
    question.caption = L"編集";
    question.items = {m_exe, m_par, m_exeDir};
    return question;
}

void CEditLancherDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    CString fields[3];
    CString rest = answer.text;
    for (CString& field : fields)
    {
        const int end = rest.Find(L'\n');
        field = end < 0 ? rest : rest.Left(end);
        rest = end < 0 ? CString() : rest.Mid(end + 1);
    }
    m_exe = fields[0];
    m_par = fields[1];
    m_exeDir = fields[2];
}

// ---- CLancherDlg ----------------------------------------------------------------

CLancherDlg::CLancherDlg(CStringArray& exe, CStringArray& par, CStringArray& key, CStringArray& exeDir,
                         CWnd* pParent)
    : CDialog(IDD_LANCHER, pParent), m_exe(exe), m_par(par), m_key(key), m_exeDir(exeDir)
{
}

CLancherDlg::~CLancherDlg()
{
    if (m_images != nullptr)
        ImageList_Destroy(m_images);
}

int CLancherDlg::FindKeyRowByName(const CString& name)
{
    if (name.IsEmpty())
        return kNoKeyRow;
    for (int i = 0; i < KEY_TABLE_ROW_COUNT; ++i)
        if (name == g_KeyTable[i].keyName)
            return i;
    return kNoKeyRow;
}

BOOL CLancherDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND combo = ::GetDlgItem(m_hWnd, IDC_LANCHER_KEY);
    HWND list = ::GetDlgItem(m_hWnd, IDC_LANCHER_LIST);
    int widest = 0;
    for (int i = 0; i <= KEY_TABLE_ROW_COUNT; ++i)
    {
        LPCWSTR name = i < KEY_TABLE_ROW_COUNT ? g_KeyTable[i].keyName : L"無し";
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        widest = std::max(widest, static_cast<int>(ListView_GetStringWidth(list, name)));
    }
    m_keyColumnWidth = static_cast<int>(ListView_GetStringWidth(list, L"[]")) + widest + 10;
    RebuildIcons();
    UpdateAnyKey();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    BuildColumns();
    SelectRow(0);
    ShowKeyOf(0);
    return TRUE;
}

void CLancherDlg::RebuildIcons()
{
    const int count = static_cast<int>(m_exe.GetSize());
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         ILC_COLOR32 | ILC_MASK, count, count);
    ImageList_SetBkColor(images, RGB(255, 255, 255));
    m_iconIndex.RemoveAll();
    for (int i = 0; i < count; ++i)
    {
        SHFILEINFOW info = {};
        int index = count;
        if (SHGetFileInfoW(m_exe[i], 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon)
        {
            index = ImageList_AddIcon(images, info.hIcon);
            DestroyIcon(info.hIcon);
            if (index < 0)
                index = count;
        }
        m_iconIndex.Add(index);
    }
    HWND list = ::GetDlgItem(m_hWnd, IDC_LANCHER_LIST);
    // The list view shares its image lists (its template says so): every list it was
    // given is this dialog's to destroy, the replaced one now, the last one at the end.
    ListView_SetImageList(list, images, LVSIL_SMALL);
    if (m_images != nullptr)
        ImageList_Destroy(m_images);
    m_images = images;
}

bool CLancherDlg::UpdateAnyKey()
{
    bool any = false;
    for (INT_PTR i = 0; i < m_key.GetSize(); ++i)
        any = any || !m_key[i].IsEmpty();
    const bool changed = any != m_anyKey;
    m_anyKey = any;
    return changed;
}

void CLancherDlg::BuildColumns()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_LANCHER_LIST);
    while (ListView_DeleteColumn(list, 0))
    {
    }
    RECT client = {};
    ::GetClientRect(list, &client);
    int parameterWidth = client.right - 400 - GetSystemMetrics(SM_CXVSCROLL);
    if (m_anyKey)
        parameterWidth -= m_keyColumnWidth;
    struct Column
    {
        LPCWSTR title;
        int width;
    };
    std::vector<Column> columns = {{L"ファイル名", 150}, {L"フルパス", 250}, {L"パラメータ", parameterWidth}};
    if (m_anyKey)
        columns.push_back({L"キー", m_keyColumnWidth});
    columns.push_back({L"作業ディレクトリ", 150});
    for (size_t i = 0; i < columns.size(); ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPWSTR>(columns[i].title);
        column.cx = columns[i].width;
        ListView_InsertColumn(list, static_cast<int>(i), &column);
    }
    ListView_DeleteAllItems(list);
    RefreshRows(0, static_cast<int>(m_exe.GetSize()) - 1);
}

void CLancherDlg::RefreshRows(int first, int last)
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_LANCHER_LIST);
    const int count = ListView_GetItemCount(list);
    for (int row = std::max(first, 0); row <= last && row < m_exe.GetSize(); ++row)
    {
        CString name = FileNamePart(m_exe[row]);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(name));
        item.iImage = row < m_iconIndex.GetSize() ? m_iconIndex[row] : static_cast<int>(m_exe.GetSize());
        if (row >= count)
            ListView_InsertItem(list, &item);
        else
            ListView_SetItem(list, &item);
        int column = 1;
        ListView_SetItemText(list, row, column++, const_cast<LPWSTR>(static_cast<LPCWSTR>(m_exe[row])));
        ListView_SetItemText(list, row, column++, const_cast<LPWSTR>(static_cast<LPCWSTR>(m_par[row])));
        if (m_anyKey)
            ListView_SetItemText(list, row, column++, const_cast<LPWSTR>(static_cast<LPCWSTR>(m_key[row])));
        ListView_SetItemText(list, row, column, const_cast<LPWSTR>(static_cast<LPCWSTR>(m_exeDir[row])));
    }
}

int CLancherDlg::GetSelectedRow() const
{
    return GetSelectedListRow(::GetDlgItem(m_hWnd, IDC_LANCHER_LIST));
}

void CLancherDlg::SelectRow(int row)
{
    SelectListRow(::GetDlgItem(m_hWnd, IDC_LANCHER_LIST), row);
}

void CLancherDlg::ShowKeyOf(int row)
{
    const int keyRow = (row >= 0 && row < m_key.GetSize()) ? FindKeyRowByName(m_key[row]) : kNoKeyRow;
    ::SendDlgItemMessageW(m_hWnd, IDC_LANCHER_KEY, CB_SETCURSEL, keyRow, 0);
}

void CLancherDlg::AddEntry(const CString& exe, const CString& par, const CString& exeDir)
{
    m_exe.Add(exe);
    m_par.Add(par);
    m_key.Add(CString());
    m_exeDir.Add(exeDir);
    const int row = static_cast<int>(m_exe.GetSize()) - 1;
    RebuildIcons();
    RefreshRows(row, row);
    SelectRow(row);
    ShowKeyOf(row);
}

void CLancherDlg::EditEntry(int index, const CString& exe, const CString& par, const CString& exeDir)
{
    if (index < 0 || index >= m_exe.GetSize())
        return;
    m_exe[index] = exe;
    m_par[index] = par;
    m_exeDir[index] = exeDir;
    RebuildIcons();
    RefreshRows(index, index);
    SelectRow(index);
}

void CLancherDlg::DeleteEntry(int index)
{
    if (index < 0 || index >= m_exe.GetSize())
        return;
    m_exe.RemoveAt(index);
    m_par.RemoveAt(index);
    m_key.RemoveAt(index);
    m_exeDir.RemoveAt(index);
    RebuildIcons();
    ListView_DeleteItem(::GetDlgItem(m_hWnd, IDC_LANCHER_LIST), index);
    if (UpdateAnyKey())
        BuildColumns();
    else
        RefreshRows(index, static_cast<int>(m_exe.GetSize()) - 1);
    const int row = index < m_exe.GetSize() ? index : static_cast<int>(m_exe.GetSize()) - 1;
    SelectRow(row);
    ShowKeyOf(row);
}

void CLancherDlg::MoveEntry(int index, int step)
{
    const int other = index + step;
    if (index < 0 || index >= m_exe.GetSize() || other < 0 || other >= m_exe.GetSize())
        return;
    Swap(m_exe, index, other);
    Swap(m_par, index, other);
    Swap(m_key, index, other);
    Swap(m_exeDir, index, other);
    RebuildIcons();
    RefreshRows(std::min(index, other), std::max(index, other));
    SelectRow(other);
    ShowKeyOf(other);
}

void CLancherDlg::AssignKey(int index, int keyRow)
{
    if (index < 0 || index >= m_exe.GetSize() || keyRow < 0 || keyRow > kNoKeyRow)
        return;
    m_key[index] = keyRow < kNoKeyRow ? CString(g_KeyTable[keyRow].keyName) : CString();
    if (UpdateAnyKey())
        BuildColumns();
    else
        RefreshRows(index, index);
    SelectRow(index);
    ShowKeyOf(index);
}

BOOL CLancherDlg::ChooseByKey(UINT virtualKey)
{
    const int count = static_cast<int>(m_exe.GetSize());
    if (count == 0)
        return FALSE;
    const KeyTableRow* key = FindKeyTableRow(virtualKey);
    if (key == nullptr)
        return FALSE;
    const ListRowMatches found =
        FindListRowsAfter(GetSelectedRow(), count, [&](int row) { return m_key[row] == key->keyName; });
    if (found.first < 0)
        return FALSE;
    SelectRow(found.first);
    ShowKeyOf(found.first);
    if (found.count == 1)
    {
        m_result = found.first;
        EndDialog(IDOK);
    }
    return TRUE;
}

BOOL CLancherDlg::PreTranslateMessage(MSG* pMsg)
{
    const UINT key = GetListKeyPress(*pMsg, ::GetDlgItem(m_hWnd, IDC_LANCHER_LIST));
    if (key != 0 && ChooseByKey(key))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CLancherDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    const int row = GetSelectedRow();
    switch (LOWORD(wParam))
    {
    case IDC_LANCHER_ADD: {
        CEditLancherDlg edit(this);
        if (edit.DoModal() == IDOK)
            AddEntry(edit.m_exe, edit.m_par, edit.m_exeDir);
        return TRUE;
    }
    case IDC_LANCHER_EDIT:
        if (row >= 0)
        {
            CEditLancherDlg edit(this);
            edit.m_exe = m_exe[row];
            edit.m_par = m_par[row];
            edit.m_exeDir = m_exeDir[row];
            if (edit.DoModal() == IDOK)
                EditEntry(row, edit.m_exe, edit.m_par, edit.m_exeDir);
        }
        return TRUE;
    case IDC_LANCHER_DELETE:
        DeleteEntry(row);
        return TRUE;
    case IDC_LANCHER_UP:
        MoveEntry(row, -1);
        return TRUE;
    case IDC_LANCHER_DOWN:
        MoveEntry(row, 1);
        return TRUE;
    case IDC_LANCHER_ASSIGN_KEY:
        AssignKey(row, static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_LANCHER_KEY, CB_GETCURSEL, 0, 0)));
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

BOOL CLancherDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_LANCHER_LIST)
    {
        if (header->code == NM_DBLCLK)
        {
            OnOK();
            return TRUE;
        }
        if (header->code == LVN_ITEMCHANGED)
        {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_FOCUSED) &&
                !(change->uOldState & LVIS_FOCUSED))
                ShowKeyOf(change->iItem);
        }
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CLancherDlg::OnOK()
{
    const int row = GetSelectedRow();
    if (row < 0)
    {
        Tell(this, L"実行ファイルが選択されていません");
        return;
    }
    m_result = row;
    EndDialog(IDOK);
}
