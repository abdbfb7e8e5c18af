// The network settings: the seven values go to their own settings, a saved login is
// edited through the account dialog in edit mode (answered through the drive seam),
// and deleting several rows removes exactly those.
#include "app/NetworkSettingsDlg.h"

#include "app/DriveSeam.h"
#include "app/Settings.h"
#include "res/NetworkDialogs.h"
#include "tests/common/DialogHarness.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct AccountAnswer
{
    INT_PTR result = IDOK;
    CString user;
    CString password;
};
AccountAnswer g_answer;
std::vector<CAccountRequest> g_asked;

INT_PTR ScriptedAccountDialog(CAccountRequest& request)
{
    g_asked.push_back(request);
    if (g_answer.result == IDOK)
    {
        request.m_user = g_answer.user;
        request.m_password = g_answer.password;
    }
    return g_answer.result;
}

CNetResourcePassWord Login(LPCWSTR remote, LPCWSTR user, LPCWSTR password, LPCWSTR provider)
{
    CNetResourcePassWord login;
    login.m_remoteName = remote;
    login.m_user = user;
    login.m_password = password;
    login.m_provider = provider;
    return login;
}

class NetworkSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedValues = ReadNetworkDefValues();
        m_savedLogins.Copy(g_NetResourcePasswords);
        g_NetResourcePasswords.RemoveAll();
        for (LPCWSTR remote : {L"\\\\srv\\a", L"\\\\srv\\b", L"\\\\srv\\c"})
            g_NetResourcePasswords.Add(Login(remote, L"user", L"old", L"Microsoft Windows Network"));
        g_DriveSeam.RunAccountDialog = ScriptedAccountDialog;
        g_asked.clear();
    }
    void TearDown() override
    {
        StoreNetworkDefValues(m_savedValues);
        g_NetResourcePasswords.Copy(m_savedLogins);
    }
    std::vector<std::wstring> Remotes() const
    {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < g_NetResourcePasswords.GetSize(); ++i)
            out.push_back(std::wstring(g_NetResourcePasswords[i].m_remoteName));
        return out;
    }

    CDriveSeamOverride m_seam;
    NetworkDefValues m_savedValues;
    CArrayNetResourcePassWord m_savedLogins;
};

TEST_F(NetworkSettings, EachValueGoesToItsOwnSetting)
{
    NetworkDefValues values;
    values.providerWidth = 11;
    values.nameWidth = 12;
    values.showComment = 1;
    values.showProvider = 0;
    values.commentWidth = 13;
    values.savePassword = 0;
    values.autoAccount = 1;
    StoreNetworkDefValues(values);
    std::vector<int> got = {g_NETRESOURCEPROVIDER, g_NETRESOURCELONG,    g_REMOTECOMMENTWRITE,
                            g_REMOTEPROVIDERWRITE, g_NETRESOURCECOMMENT, g_SAVENETWORKPASSWORD,
                            g_AUTOACCOUNTCHECK};
    EXPECT_EQ(got, (std::vector<int>{11, 12, 1, 0, 13, 0, 1}));
    NetworkDefValues back = ReadNetworkDefValues();
    EXPECT_EQ(back.commentWidth, 13);
    EXPECT_EQ(back.autoAccount, 1);
}

TEST_F(NetworkSettings, EditingASavedLoginAsksInEditModeAndKeepsOnlyAnOk)
{
    struct Case
    {
        INT_PTR index;
        INT_PTR result;
        bool asked;
        const wchar_t* passwordAfter;
    };
    const Case cases[] = {
        {1, IDCANCEL, true, L"old"}, {1, IDOK, true, L"new"}, {5, IDOK, false, nullptr}, // no such row
    };
    for (const Case& c : cases)
    {
        g_asked.clear();
        g_answer = {c.result, L"someone", L"new"};
        EXPECT_EQ(EditSavedAccount(c.index), c.result == IDOK && c.asked ? TRUE : FALSE);
        ASSERT_EQ(g_asked.size(), c.asked ? 1u : 0u);
        if (!c.asked)
            continue;
        EXPECT_FALSE(g_asked[0].m_connectMode);
        EXPECT_EQ(std::wstring(g_asked[0].m_resource), L"\\\\srv\\b");
        EXPECT_EQ(std::wstring(g_asked[0].m_provider), L"Microsoft Windows Network");
        EXPECT_EQ(std::wstring(g_asked[0].m_password), L"old");
        EXPECT_EQ(std::wstring(g_NetResourcePasswords[1].m_password), c.passwordAfter);
    }
    EXPECT_EQ(std::wstring(g_NetResourcePasswords[1].m_user), L"someone");
    EXPECT_EQ(std::wstring(g_NetResourcePasswords[0].m_password), L"old") << "another row changed";
}

TEST_F(NetworkSettings, TheListEndsAtAnEmptyResourceAndDeletingRemovesTheChosenRows)
{
    g_NetResourcePasswords.InsertAt(2, Login(L"", L"", L"", L""));
    EXPECT_EQ(CountShownAccounts(), 2);
    g_NetResourcePasswords.RemoveAt(2);
    EXPECT_EQ(CountShownAccounts(), 3);

    DeleteSavedAccounts({2, 0, 2});
    EXPECT_EQ(Remotes(), (std::vector<std::wstring>{L"\\\\srv\\b"}));
}

class DrivenNetWorkDefDlg : public qvtest::CDrivenDialog<DrivenNetWorkDefDlg, CNetWorkDefDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

TEST_F(NetworkSettings, TheDialogListsTheLoginsDeletesTheSelectedOnesAndReturnsItsValues)
{
    DrivenNetWorkDefDlg dialog;
    dialog.m_values = ReadNetworkDefValues();
    int shownRows = -1;
    int rowsAfter = -1;
    dialog.drive = [&](DrivenNetWorkDefDlg& d) {
        HWND list = ::GetDlgItem(d.m_hWnd, IDC_NETDEF_ACCOUNTS);
        shownRows = ListView_GetItemCount(list);
        for (int row : {0, 2})
            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        d.Command(IDC_NETDEF_DELETE_ACCOUNT);
        rowsAfter = ListView_GetItemCount(list);
        ::SetDlgItemInt(d.m_hWnd, IDC_NETDEF_COMMENT_WIDTH, 44, FALSE);
        ::CheckDlgButton(d.m_hWnd, IDC_NETDEF_AUTO_ACCOUNT, BST_CHECKED);
        d.Command(IDOK);
    };
    g_AUTOACCOUNTCHECK = 0;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shownRows, 3);
    EXPECT_EQ(rowsAfter, 1);
    EXPECT_EQ(Remotes(), (std::vector<std::wstring>{L"\\\\srv\\b"}));
    EXPECT_EQ(dialog.m_values.commentWidth, 44);
    EXPECT_EQ(dialog.m_values.autoAccount, 1);
}

} // namespace
