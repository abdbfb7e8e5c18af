#include "tools/plugins/PlugInDlg.h"
#include <commctrl.h>
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "app/settings/ToolSettings.h"
#include "res/CustomiseDialogs.h"

CString FormatPlugInVersion(WORD version)
{
    CString text;
    text.Format(L"%d.%02d", version / 100, version % 100);
    return text;
}

CPlugInDlg::CPlugInDlg(CWnd* pParent) : CDialog(IDD_QV_PLUGIN, pParent) {}

BOOL CPlugInDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_PLUGIN_LIST);
    struct Column
    {
        const wchar_t* title;
        int width;
    };
    const Column columns[] = {
        {L"機能名", 150}, {L"ファイル名", 100}, {L"MENU", 50}, {L"バージョン", 80}, {L"PluginType", 100}};
    for (int i = 0; i < 5; ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPWSTR>(columns[i].title);
        column.cx = columns[i].width;
        ListView_InsertColumn(list, i, &column);
    }
    SetDlgItemText(IDC_PLUGIN_DIR, g_PlugInDir);
    FillList();
    ::CheckDlgButton(m_hWnd, IDC_PLUGIN_FROM_INI, g_QVPLUGINLOADTYPE ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CPlugInDlg::FillList()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_PLUGIN_LIST);
    ListView_DeleteAllItems(list);
    // Each entry goes in at the top, so row r shows entry count-1-r.
    for (INT_PTR i = 0; i < g_PlugInList.GetSize(); ++i)
    {
        const CQvPlugIn& plugIn = g_PlugInList[i];
        const CString texts[] = {plugIn.m_functionName, plugIn.m_fileName,
                                 plugIn.m_showInMenu ? CString(L"表示") : CString(L"非表示"),
                                 FormatPlugInVersion(plugIn.m_version), plugIn.m_type};
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = 0;
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(texts[0]));
        const int row = ListView_InsertItem(list, &item);
        for (int column = 1; column < 5; ++column)
            ListView_SetItemText(list, row, column, const_cast<LPWSTR>(static_cast<LPCWSTR>(texts[column])));
    }
}

void CPlugInDlg::SetShownInMenu(int shown)
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_PLUGIN_LIST);
    const INT_PTR count = g_PlugInList.GetSize();
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        if (row < count)
            g_PlugInList[count - 1 - row].m_showInMenu = shown;
    FillList();
}

BOOL CPlugInDlg::ChooseFolder(CString& path)
{
    return BrowseForFolder(path, this, FALSE);
}

void CPlugInDlg::OnOK()
{
    GetDlgItemText(IDC_PLUGIN_DIR, g_PlugInDir);
    g_QVPLUGINLOADTYPE = ::IsDlgButtonChecked(m_hWnd, IDC_PLUGIN_FROM_INI) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}

BOOL CPlugInDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam))
    {
    case IDC_PLUGIN_BROWSE: {
        CString path;
        GetDlgItemText(IDC_PLUGIN_DIR, path);
        if (ChooseFolder(path))
            SetDlgItemText(IDC_PLUGIN_DIR, path);
        return TRUE;
    }
    case IDC_PLUGIN_SHOW:
        SetShownInMenu(1);
        return TRUE;
    case IDC_PLUGIN_HIDE:
        SetShownInMenu(0);
        return TRUE;
    case IDC_PLUGIN_RELOAD:
        // Nothing scans a plug-in folder: reloading takes the folder and forgets the
        // entries.
        GetDlgItemText(IDC_PLUGIN_DIR, g_PlugInDir);
        g_PlugInList.RemoveAll();
        FillList();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
