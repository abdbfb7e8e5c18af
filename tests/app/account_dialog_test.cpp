// The account dialog in its two modes.
#include "app/NetworkAccounts.h"
#include "res/CoreDialogs.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

std::wstring g_connectedUser, g_connectedPassword;

DWORD WINAPI RecordingConnection(LPNETRESOURCEW, LPCWSTR password, LPCWSTR user, DWORD)
{
    g_connectedUser = user;
    g_connectedPassword = password;
    return NO_ERROR;
}

std::wstring ControlText(CWnd& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return std::wstring(text.GetString(), text.GetLength());
}

} // namespace

TEST(CGetAccountDlg, EditModeShowsTheAccountWithTheSaveBoxDisabled)
{
    CGetAccountDlg dialog;
    dialog.m_request.m_connectMode = FALSE;
    dialog.m_request.m_resource = L"\\\\srv\\share";
    dialog.m_request.m_user = L"bob";
    dialog.m_request.m_password = L"pw";
    ASSERT_TRUE(dialog.Create(IDD_GET_ACCOUNT));
    EXPECT_EQ(ControlText(dialog, IDC_ACCOUNT_RESOURCE), L"\\\\srv\\share");
    EXPECT_EQ(ControlText(dialog, IDC_ACCOUNT_USER), L"bob");
    EXPECT_EQ(ControlText(dialog, IDC_ACCOUNT_PASSWORD), L"pw");
    EXPECT_FALSE(dialog.GetDlgItem(IDC_ACCOUNT_SAVE)->IsWindowEnabled());
    dialog.DestroyWindow();
}

TEST(CGetAccountDlg, ConnectModeConnectsWithWhatWasTyped)
{
    CDriveSeamOverride seam;
    g_DriveSeam.WNetAddConnection2W = RecordingConnection;
    CGetAccountDlg dialog;
    dialog.m_request.m_resource = L"\\\\srv\\share";
    dialog.m_request.m_savePassword = 1;
    ASSERT_TRUE(dialog.Create(IDD_GET_ACCOUNT));
    EXPECT_TRUE(dialog.GetDlgItem(IDC_ACCOUNT_SAVE)->IsWindowEnabled());
    SetDlgItemTextW(dialog.m_hWnd, IDC_ACCOUNT_USER, L"alice");
    SetDlgItemTextW(dialog.m_hWnd, IDC_ACCOUNT_PASSWORD, L"secret");
    CheckDlgButton(dialog.m_hWnd, IDC_ACCOUNT_SAVE, BST_UNCHECKED);
    SendMessageW(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(g_connectedUser, L"alice");
    EXPECT_EQ(g_connectedPassword, L"secret");
    EXPECT_EQ(dialog.m_request.m_savePassword, 0);
    dialog.DestroyWindow();
}
