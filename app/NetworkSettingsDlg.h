// The network settings: the widths and columns of the network list, the password and
// account options, and the saved logins.
#pragma once
#include <windows.h>
#include "app/NetworkAccounts.h"
#include "framework/FwDialog.h"

#include <vector>

// The seven settings the dialog edits.
struct NetworkDefValues
{
    int providerWidth = 30;
    int nameWidth = 20;
    int showComment = 0;
    int showProvider = 0;
    int commentWidth = 30;
    int savePassword = 1;
    int autoAccount = 0;
};

NetworkDefValues ReadNetworkDefValues();
void StoreNetworkDefValues(const NetworkDefValues& values);

// The saved logins the list shows: those before the first one without a resource.
INT_PTR CountShownAccounts();
// Asks for user and password of saved login `index` (the account dialog in edit
// mode, through g_DriveSeam) and keeps them on OK. TRUE when changed.
BOOL EditSavedAccount(INT_PTR index);
// Removes the saved logins of the given rows, the last row first.
void DeleteSavedAccounts(std::vector<INT_PTR> rows);

class CNetWorkDefDlg : public CDialog
{
public:
    explicit CNetWorkDefDlg(CWnd* pParent = nullptr);

    NetworkDefValues m_values;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnEditAccount();
    void OnDeleteAccount();
    void FillAccountList();
    DECLARE_MESSAGE_MAP()
};

// Runs the dialog over the current settings and stores them on OK. The dialog's end
// code.
INT_PTR RunNetworkSettingsDialog(CWnd* parent);
