// Saved network logins and the connection of a network share, asking the user for an
// account when the saved one is missing or not to be tried.
#pragma once
#include <windows.h>
#include "app/DriveSeam.h"
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"

// One saved login; the password is kept exactly as the user typed it.
class CNetResourcePassWord
{
public:
    CString m_remoteName;
    CString m_user;
    CString m_password;
    CString m_provider;
};

typedef CArray<CNetResourcePassWord, const CNetResourcePassWord&> CArrayNetResourcePassWord;

// The saved logins of section "NETWORK"; changed on the interface thread only.
extern CArrayNetResourcePassWord g_NetResourcePasswords;

// Connects the share (`provider` may be null or empty): tries a saved password first
// when AUTOACCOUNTCHECK is on, else or on failure asks with the account dialog and
// keeps or drops the saved login as the dialog's save box says. 1 when connected.
int ConnectNetworkResource(LPCWSTR remoteName, LPCWSTR provider, DWORD scope);

// WNetAddConnection2W for the request's resource, provider, user and password, with a
// disk container resource of the request's scope. The system's error code, 0 when
// connected.
DWORD ConnectWithAccount(const CAccountRequest& request);

// Asks for user and password of one network resource. In connect mode OK connects the
// share and stays open on failure; in edit mode OK just closes and the save box is
// disabled.
class CGetAccountDlg : public CDialog
{
public:
    explicit CGetAccountDlg(CWnd* pParent = nullptr);

    CAccountRequest m_request;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The real account dialog as g_DriveSeam runs it.
INT_PTR RunGetAccountDialog(CAccountRequest& request);
