#include "app/NetworkSettingsDlg.h"

#include "app/DriveSeam.h"
#include "app/Settings.h"
#include "res/NetworkDialogs.h"

#include <commctrl.h>

#include <algorithm>

NetworkDefValues ReadNetworkDefValues()
{
    NetworkDefValues values;
    values.providerWidth = g_NETRESOURCEPROVIDER;
    values.nameWidth = g_NETRESOURCELONG;
    values.showComment = g_REMOTECOMMENTWRITE;
    values.showProvider = g_REMOTEPROVIDERWRITE;
    values.commentWidth = g_NETRESOURCECOMMENT;
    values.savePassword = g_SAVENETWORKPASSWORD;
    values.autoAccount = g_AUTOACCOUNTCHECK;
    return values;
}

void StoreNetworkDefValues(const NetworkDefValues& values)
{
    g_NETRESOURCEPROVIDER = values.providerWidth;
    g_NETRESOURCELONG = values.nameWidth;
    g_REMOTECOMMENTWRITE = values.showComment;
    g_REMOTEPROVIDERWRITE = values.showProvider;
    g_NETRESOURCECOMMENT = values.commentWidth;
    g_SAVENETWORKPASSWORD = values.savePassword;
    g_AUTOACCOUNTCHECK = values.autoAccount;
}

INT_PTR CountShownAccounts()
{
    INT_PTR count = 0;
    while (count < g_NetResourcePasswords.GetSize() && !g_NetResourcePasswords[count].m_remoteName.IsEmpty())
        ++count;
    return count;
}

BOOL EditSavedAccount(INT_PTR index)
{
    if (index < 0 || index >= CountShownAccounts())
        return FALSE;
    CNetResourcePassWord& saved = g_NetResourcePasswords[index];
    CAccountRequest request;
    request.m_connectMode = FALSE;
    request.m_resource = saved.m_remoteName;
    request.m_provider = saved.m_provider;
    request.m_user = saved.m_user;
    request.m_password = saved.m_password;
    request.m_savePassword = 1;
    if (g_DriveSeam.RunAccountDialog(request) != IDOK)
        return FALSE;
    saved.m_user = request.m_user;
    saved.m_password = request.m_password;
    return TRUE;
}

void DeleteSavedAccounts(std::vector<INT_PTR> rows)
{
    // From the last row up, so that each index still names the row the user chose.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 0 && *it < g_NetResourcePasswords.GetSize())
            g_NetResourcePasswords.RemoveAt(*it);
}

// ---- Dialog -------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CNetWorkDefDlg, CDialog)
ON_BN_CLICKED(IDC_NETDEF_EDIT_ACCOUNT, OnEditAccount)
ON_BN_CLICKED(IDC_NETDEF_DELETE_ACCOUNT, OnDeleteAccount)
END_MESSAGE_MAP()

CNetWorkDefDlg::CNetWorkDefDlg(CWnd* pParent) : CDialog(IDD_NETWORK_DEF, pParent) {}

BOOL CNetWorkDefDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_NETDEF_ACCOUNTS);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    const struct
    {
        const wchar_t* title;
        int width;
    } columns[] = {{L"ネットワークリソース", 150}, {L"User名", 100}, {L"Privider名", 100}};
    for (int i = 0; i < 3; ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[i].title);
        column.cx = columns[i].width;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    FillAccountList();
    return TRUE;
}

void CNetWorkDefDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NETDEF_PROVIDER_WIDTH, m_values.providerWidth);
    DDX_Text(pDX, IDC_NETDEF_NAME_WIDTH, m_values.nameWidth);
    DDX_Text(pDX, IDC_NETDEF_COMMENT_WIDTH, m_values.commentWidth);
    DDX_Check(pDX, IDC_NETDEF_SHOW_COMMENT, m_values.showComment);
    DDX_Check(pDX, IDC_NETDEF_SHOW_PROVIDER, m_values.showProvider);
    DDX_Check(pDX, IDC_NETDEF_SAVE_PASSWORD, m_values.savePassword);
    DDX_Check(pDX, IDC_NETDEF_AUTO_ACCOUNT, m_values.autoAccount);
}

void CNetWorkDefDlg::FillAccountList()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_NETDEF_ACCOUNTS);
    ListView_DeleteAllItems(list);
    INT_PTR count = CountShownAccounts();
    for (INT_PTR i = 0; i < count; ++i)
    {
        const CNetResourcePassWord& saved = g_NetResourcePasswords[i];
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(saved.m_remoteName));
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        const CString* rest[] = {&saved.m_user, &saved.m_provider};
        for (int sub = 1; sub <= 2; ++sub)
        {
            LVITEMW cell = {};
            cell.iSubItem = sub;
            cell.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(*rest[sub - 1]));
            ::SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&cell));
        }
    }
}

void CNetWorkDefDlg::OnEditAccount()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_NETDEF_ACCOUNTS);
    int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    if (EditSavedAccount(focused))
        FillAccountList();
}

void CNetWorkDefDlg::OnDeleteAccount()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_NETDEF_ACCOUNTS);
    std::vector<INT_PTR> rows;
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        rows.push_back(row);
    DeleteSavedAccounts(rows);
    FillAccountList();
}

INT_PTR RunNetworkSettingsDialog(CWnd* parent)
{
    CNetWorkDefDlg dialog(parent);
    dialog.m_values = ReadNetworkDefValues();
    INT_PTR result = dialog.DoModal();
    if (result == IDOK)
        StoreNetworkDefValues(dialog.m_values);
    return result;
}
