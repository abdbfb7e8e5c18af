#include "tools/kinds/KindExeDlg.h"
#include "app/Settings.h"
#include "res/FileKindDialogs.h"
#include "tools/kinds/SelExeDlg.h"

#include <string>

namespace
{
const wchar_t* const kOptionLabels[CKindExeDlg::OPTION_COUNT] = {
    L"Shift+ReturnとReturn同動作", L"2つ以上あるときには選択して起動", L"Windowsの設定でも起動",
    L"Registryの設定で起動", L"圧縮ファイル閲覧時Registryの設定で起動"};

// The option variables of each table; the first two are shared.
int* OptionOf(int table, int option)
{
    int* const returnOptions[] = {&g_SAMERETURNSHIFT, &g_SELECTSAMEKIND, &g_KINDWINEXE, &g_RETURNREADREGIST,
                                  &g_ARCINFOREADREGIST};
    int* const shiftOptions[] = {&g_SAMERETURNSHIFT, &g_SELECTSAMEKIND, &g_KINDSHIFTWINEXE,
                                 &g_SHIFTRETURNREADREGIST, &g_ARCINFOSHIFTREADREGIST};
    return table == CKindExeDlg::TABLE_RETURN ? returnOptions[option] : shiftOptions[option];
}

CString ItemText(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    const int length = ::GetWindowTextLengthW(item);
    std::wstring text(length + 1, L'\0');
    ::GetWindowTextW(item, &text[0], length + 1);
    return text.c_str();
}

bool IsReadOnly(HWND dialog, int id)
{
    return (::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
}
} // namespace

CKindExeDlg::CKindExeDlg(CWnd* pParent) : CDialog(IDD_KIND_EXE, pParent)
{
    for (int i = 0; i < kKindExeEntryCount; ++i)
    {
        m_tables[TABLE_RETURN][i] = g_KindExeTable[i];
        m_tables[TABLE_SHIFT][i] = g_KindExeShiftTable[i];
    }
    m_linkDirAction[TABLE_RETURN] = g_LNK_DIR_ACT_RETURN_KEY_STD;
    m_linkDirAction[TABLE_SHIFT] = g_LNK_DIR_ACT_RETURN_KEY_SHIFT;
    m_linkFileAction[TABLE_RETURN] = g_LNK_FILE_ACT_RETURN_KEY_STD;
    m_linkFileAction[TABLE_SHIFT] = g_LNK_FILE_ACT_RETURN_KEY_SHIFT;
}

BOOL CKindExeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_options.SubclassDlgItem(IDC_KIND_OPTIONS, this);
    m_options.SetFont(GetFont());
    for (const wchar_t* label : kOptionLabels)
        m_options.AddString(label);
    ::CheckRadioButton(m_hWnd, IDC_KIND_RETURN, IDC_KIND_SHIFT, IDC_KIND_RETURN);
    m_table = TABLE_RETURN;
    m_offset = 0;
    LoadPage();
    LoadOptions();
    return TRUE;
}

void CKindExeDlg::ShowAction(int row)
{
    const CKindExeEntry& entry = m_tables[m_table][m_offset + row];
    bool readOnly = false;
    CString text = GetKindActionText(entry.m_action, &readOnly);
    ::SetDlgItemTextW(m_hWnd, IDC_KIND_ACTION0 + row, text);
    ::SendDlgItemMessageW(m_hWnd, IDC_KIND_ACTION0 + row, EM_SETREADONLY, readOnly, 0);
}

void CKindExeDlg::LoadPage()
{
    for (int row = 0; row < ROWS_PER_PAGE; ++row)
    {
        const CKindExeEntry& entry = m_tables[m_table][m_offset + row];
        ::SetDlgItemTextW(m_hWnd, IDC_KIND_EXT0 + row, entry.m_extension);
        ShowAction(row);
        ::SetDlgItemTextW(m_hWnd, IDC_KIND_PARAM0 + row, entry.m_parameters);
        ::SetDlgItemTextW(m_hWnd, IDC_KIND_NAME0 + row, entry.m_displayName);
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KIND_BEFORE), m_offset > 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KIND_NEXT), m_offset < kKindExeEntryCount - ROWS_PER_PAGE);
}

void CKindExeDlg::SavePage()
{
    for (int row = 0; row < ROWS_PER_PAGE; ++row)
    {
        CKindExeEntry& entry = m_tables[m_table][m_offset + row];
        entry.m_extension = ItemText(m_hWnd, IDC_KIND_EXT0 + row);
        if (!IsReadOnly(m_hWnd, IDC_KIND_ACTION0 + row))
            entry.m_action = ItemText(m_hWnd, IDC_KIND_ACTION0 + row);
        entry.m_parameters = ItemText(m_hWnd, IDC_KIND_PARAM0 + row);
        entry.m_displayName = ItemText(m_hWnd, IDC_KIND_NAME0 + row);
    }
}

void CKindExeDlg::TurnPage(int step)
{
    const int offset = m_offset + step * ROWS_PER_PAGE;
    if (offset < 0 || offset > kKindExeEntryCount - ROWS_PER_PAGE)
        return;
    SavePage();
    m_offset = offset;
    LoadPage();
}

void CKindExeDlg::LoadOptions()
{
    for (int i = 0; i < OPTION_COUNT; ++i)
        m_options.SetCheck(i, *OptionOf(m_table, i) ? 1 : 0);
    ::CheckRadioButton(m_hWnd, IDC_KIND_LNK_DIR0, IDC_KIND_LNK_DIR1,
                       m_linkDirAction[m_table] == 1 ? IDC_KIND_LNK_DIR1 : IDC_KIND_LNK_DIR0);
    const int file = m_linkFileAction[m_table];
    ::CheckRadioButton(m_hWnd, IDC_KIND_LNK_FILE0, IDC_KIND_LNK_FILE2,
                       IDC_KIND_LNK_FILE0 + (file >= 0 && file <= 2 ? file : 0));
}

void CKindExeDlg::StoreOptions()
{
    for (int i = 0; i < OPTION_COUNT; ++i)
        *OptionOf(m_table, i) = m_options.GetCheck(i) ? 1 : 0;
    m_linkDirAction[m_table] = ::IsDlgButtonChecked(m_hWnd, IDC_KIND_LNK_DIR1) == BST_CHECKED ? 1 : 0;
    m_linkFileAction[m_table] = 0;
    for (int i = 1; i <= 2; ++i)
        if (::IsDlgButtonChecked(m_hWnd, IDC_KIND_LNK_FILE0 + i) == BST_CHECKED)
            m_linkFileAction[m_table] = i;
}

void CKindExeDlg::SwitchTable(int table)
{
    if (table == m_table || (table != TABLE_RETURN && table != TABLE_SHIFT))
        return;
    StoreOptions();
    SavePage();
    m_table = table;
    LoadPage();
    LoadOptions();
    ::CheckRadioButton(m_hWnd, IDC_KIND_RETURN, IDC_KIND_SHIFT,
                       table == TABLE_RETURN ? IDC_KIND_RETURN : IDC_KIND_SHIFT);
}

BOOL CKindExeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    if (id >= IDC_KIND_BROWSE0 && id < IDC_KIND_BROWSE0 + ROWS_PER_PAGE)
    {
        const int row = id - IDC_KIND_BROWSE0;
        CKindExeEntry& entry = m_tables[m_table][m_offset + row];
        CSelExeDlg choose(this);
        // An editable box may hold a program typed since the page was loaded.
        choose.m_action = IsReadOnly(m_hWnd, IDC_KIND_ACTION0 + row)
                              ? entry.m_action
                              : ItemText(m_hWnd, IDC_KIND_ACTION0 + row);
        if (choose.DoModal() == IDOK)
        {
            entry.m_action = choose.m_action;
            ShowAction(row);
        }
        return TRUE;
    }
    switch (id)
    {
    case IDC_KIND_BEFORE:
        TurnPage(-1);
        return TRUE;
    case IDC_KIND_NEXT:
        TurnPage(1);
        return TRUE;
    case IDC_KIND_RETURN:
        SwitchTable(TABLE_RETURN);
        return TRUE;
    case IDC_KIND_SHIFT:
        SwitchTable(TABLE_SHIFT);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CKindExeDlg::OnOK()
{
    StoreOptions();
    SavePage();
    g_LNK_DIR_ACT_RETURN_KEY_STD = m_linkDirAction[TABLE_RETURN];
    g_LNK_DIR_ACT_RETURN_KEY_SHIFT = m_linkDirAction[TABLE_SHIFT];
    g_LNK_FILE_ACT_RETURN_KEY_STD = m_linkFileAction[TABLE_RETURN];
    g_LNK_FILE_ACT_RETURN_KEY_SHIFT = m_linkFileAction[TABLE_SHIFT];
    for (int i = 0; i < kKindExeEntryCount; ++i)
    {
        g_KindExeTable[i] = m_tables[TABLE_RETURN][i];
        g_KindExeShiftTable[i] = m_tables[TABLE_SHIFT][i];
    }
    EndDialog(IDOK);
}
