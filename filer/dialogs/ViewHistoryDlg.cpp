#include "filer/dialogs/ViewHistoryDlg.h"

#include <commctrl.h>

#include "res/FilerDialogs.h"

CViewHistoryDlg::CViewHistoryDlg(CWnd* pParent) : CDialog(IDD_VIEW_HISTORY, pParent) {}

BOOL CViewHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_VIEW_HISTORY_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    static const struct
    {
        const wchar_t* title;
        int width;
    } kColumns[] = {{L"ファイル名", 200}, {L"パス名", 250}, {L"圧縮ファイル", 200}};
    for (int i = 0; i < 3; ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<LPWSTR>(kColumns[i].title);
        column.cx = kColumns[i].width;
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
    for (INT_PTR i = 0; i < g_ViewHistory.GetSize(); ++i)
    {
        const CViewFile& record = g_ViewHistory[i];
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(record.m_name));
        const int row = ListView_InsertItem(list, &item);
        ListView_SetItemText(list, row, 1, const_cast<LPWSTR>(static_cast<LPCWSTR>(record.m_folder)));
        ListView_SetItemText(list, row, 2, const_cast<LPWSTR>(static_cast<LPCWSTR>(record.m_archive)));
    }
    ::SetFocus(list);
    if (g_ViewHistory.GetSize() > 0)
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return FALSE;
}

void CViewHistoryDlg::OnOK()
{
    const int row = ListView_GetNextItem(::GetDlgItem(m_hWnd, IDC_VIEW_HISTORY_LIST), -1, LVNI_SELECTED);
    if (row < 0 || row >= g_ViewHistory.GetSize())
        return;
    m_result = g_ViewHistory[row];
    EndDialog(IDOK);
}

BOOL CViewHistoryDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_VIEW_HISTORY_LIST && header->code == NM_DBLCLK)
    {
        OnOK();
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}
