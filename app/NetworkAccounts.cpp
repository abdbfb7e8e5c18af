#include "app/NetworkAccounts.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/Settings.h"
#include "framework/FwApp.h"
#include "res/CoreDialogs.h"

CArrayNetResourcePassWord g_NetResourcePasswords;

namespace
{

// A disk container of the given scope, as the network expects it for a share to
// connect; the strings stay owned by the caller.
NETRESOURCEW MakeShareResource(DWORD scope, LPCWSTR remoteName, LPCWSTR provider)
{
    NETRESOURCEW resource = {};
    resource.dwScope = scope;
    resource.dwType = RESOURCETYPE_DISK;
    resource.dwDisplayType = RESOURCEDISPLAYTYPE_DOMAIN;
    resource.dwUsage = RESOURCEUSAGE_CONTAINER;
    resource.lpRemoteName = const_cast<LPWSTR>(remoteName);
    resource.lpProvider = provider && *provider ? const_cast<LPWSTR>(provider) : nullptr;
    return resource;
}

INT_PTR FindSavedLogin(LPCWSTR remoteName, LPCWSTR provider)
{
    for (INT_PTR i = 0; i < g_NetResourcePasswords.GetSize(); ++i)
    {
        const CNetResourcePassWord& entry = g_NetResourcePasswords[i];
        if (entry.m_remoteName.IsEmpty() || entry.m_remoteName.CompareNoCase(remoteName) != 0)
            continue;
        if (provider && *provider && entry.m_provider.CompareNoCase(provider) != 0)
            continue;
        return i;
    }
    return -1;
}

CString CurrentUserName()
{
    wchar_t name[257] = {};
    DWORD size = 257;
    if (!g_DriveSeam.GetUserNameW(name, &size))
        return CString();
    return CString(name);
}

} // namespace

DWORD ConnectWithAccount(const CAccountRequest& request)
{
    NETRESOURCEW resource = MakeShareResource(request.m_scope, request.m_resource, request.m_provider);
    return g_DriveSeam.WNetAddConnection2W(&resource, request.m_password, request.m_user, 0);
}

int ConnectNetworkResource(LPCWSTR remoteName, LPCWSTR provider, DWORD scope)
{
    if (remoteName == nullptr || *remoteName == 0)
        return 0;

    INT_PTR found = FindSavedLogin(remoteName, provider);
    CAccountRequest request;
    request.m_resource = remoteName;
    request.m_provider = provider ? provider : L"";
    request.m_scope = scope;
    request.m_connectMode = TRUE;
    request.m_savePassword = g_SAVENETWORKPASSWORD;
    if (found >= 0)
    {
        const CNetResourcePassWord& saved = g_NetResourcePasswords[found];
        request.m_user = saved.m_user;
        request.m_password = saved.m_password;
        if (!saved.m_password.IsEmpty() && g_AUTOACCOUNTCHECK)
        {
            NETRESOURCEW resource = MakeShareResource(scope, remoteName, provider);
            if (g_DriveSeam.WNetAddConnection2W(&resource, saved.m_password, saved.m_user, 0) == NO_ERROR)
                return 1;
        }
    }
    else
        request.m_user = CurrentUserName();

    if (g_DriveSeam.RunAccountDialog(request) != IDOK)
        return 0;

    CNetResourcePassWord entered;
    entered.m_remoteName = request.m_resource;
    entered.m_user = request.m_user;
    entered.m_password = request.m_password;
    entered.m_provider = request.m_provider;
    INT_PTR same = -1;
    for (INT_PTR i = 0; i < g_NetResourcePasswords.GetSize(); ++i)
    {
        if (g_NetResourcePasswords[i].m_remoteName.CompareNoCase(entered.m_remoteName) == 0)
        {
            same = i;
            break;
        }
    }
    if (request.m_savePassword)
    {
        if (same >= 0)
            g_NetResourcePasswords[same] = entered;
        else
            g_NetResourcePasswords.Add(entered);
    }
    else if (same >= 0)
        g_NetResourcePasswords.RemoveAt(same);
    return 1;
}

// ---- Account dialog -------------------------------------------------------------------

CGetAccountDlg::CGetAccountDlg(CWnd* pParent) : CDialog(IDD_GET_ACCOUNT, pParent) {}

BOOL CGetAccountDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_request.m_connectMode)
    {
        CWnd* save = GetDlgItem(IDC_ACCOUNT_SAVE);
        if (save)
            save->EnableWindow(FALSE);
    }
    return TRUE;
}

void CGetAccountDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ACCOUNT_RESOURCE, m_request.m_resource);
    DDX_Text(pDX, IDC_ACCOUNT_USER, m_request.m_user);
    DDX_Text(pDX, IDC_ACCOUNT_PASSWORD, m_request.m_password);
    DDX_Check(pDX, IDC_ACCOUNT_SAVE, m_request.m_savePassword);
}

void CGetAccountDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_request.m_connectMode && ConnectWithAccount(m_request) != NO_ERROR)
    {
        // The user corrects the entries and tries again.
        Tell(this, L"接続に失敗しました");
        return;
    }
    EndDialog(IDOK);
}

INT_PTR RunGetAccountDialog(CAccountRequest& request)
{
    CGetAccountDlg dialog(AfxGetMainWnd());
    dialog.m_request = request;
    INT_PTR result = dialog.DoModal();
    if (result == IDOK)
        request = dialog.m_request;
    return result;
}
