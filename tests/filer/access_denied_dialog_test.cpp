// The access-denied folder dialog, through a stand-in for the system's security calls.
#include "app/dialogs/DialogAnswerScript.h"
#include "filer/FilerPane.h"
#include "filer/dialogs/FindFirstFileErrorDlg.h"
#include "res/FilerDialogs.h"
#include "tests/common/DialogHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class FakeSecurity : public IFolderSecurity
{
public:
    BOOL ReadDacl(LPCWSTR, std::vector<FolderAccessEntry>& entries) override
    {
        entries = m_entries;
        return m_readable;
    }
    BOOL GrantFullAccess(LPCWSTR folder, LPCWSTR userName) override
    {
        m_granted.push_back(std::wstring(folder) + L"|" + userName);
        if (m_grantWorks && m_grantOpens)
            m_listingError = 0;
        return m_grantWorks;
    }
    DWORD TryListing(LPCWSTR) override { return m_listingError; }
    void OpenPropertiesPage(HWND, LPCWSTR folder, LPCWSTR page) override
    {
        m_pages.push_back(std::wstring(folder) + L"|" + page);
    }
    CString GetUserName() override { return L"someone"; }
    LANGID GetDefaultLanguage() override { return m_language; }

    std::vector<FolderAccessEntry> m_entries;
    BOOL m_readable = TRUE;
    BOOL m_grantWorks = TRUE;
    BOOL m_grantOpens = TRUE;
    DWORD m_listingError = ERROR_ACCESS_DENIED;
    LANGID m_language = 1041;
    std::vector<std::wstring> m_granted;
    std::vector<std::wstring> m_pages;
};

class DrivenErrorDlg : public qvtest::CDrivenDialog<DrivenErrorDlg, CFindFirstFileErrorDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

FolderAccessEntry Ace(BYTE type, DWORD mask, LPCWSTR account)
{
    FolderAccessEntry entry;
    entry.type = type;
    entry.mask = mask;
    entry.account = account;
    return entry;
}
} // namespace

TEST(AccessDeniedDialog, TheGrantButtonShowsOnlyWhenGrantingCanHelp)
{
    struct Case
    {
        std::vector<FolderAccessEntry> entries;
        BOOL readable;
        int flags;
    } cases[] = {
        {{Ace(ACCESS_DENIED_ACE_TYPE, FILE_LIST_DIRECTORY, L"Everyone")},
         TRUE,
         FOLDER_ACCESS_EVERYONE_DENIED},
        {{Ace(ACCESS_ALLOWED_ACE_TYPE, GENERIC_ALL, L"me"),
          Ace(ACCESS_DENIED_ACE_TYPE, READ_CONTROL, L"everyone")},
         TRUE,
         FOLDER_ACCESS_EVERYONE_DENIED},
        {{Ace(ACCESS_DENIED_ACE_TYPE, FILE_WRITE_DATA, L"Everyone")}, TRUE, 0},
        {{Ace(ACCESS_DENIED_ACE_TYPE, FILE_LIST_DIRECTORY, L"Guests")}, TRUE, 0},
        {{Ace(ACCESS_ALLOWED_ACE_TYPE, FILE_LIST_DIRECTORY, L"Everyone")}, TRUE, 0},
        {{}, FALSE, FOLDER_ACCESS_UNREADABLE},
    };
    for (const Case& c : cases)
    {
        FakeSecurity security;
        security.m_entries = c.entries;
        security.m_readable = c.readable;
        DrivenErrorDlg dialog(nullptr, &security);
        dialog.m_folder = L"C:\\locked";
        BOOL grantShown = FALSE;
        CString text;
        dialog.drive = [&](DrivenErrorDlg& dlg) {
            grantShown = ::IsWindowVisible(::GetDlgItem(dlg.m_hWnd, IDC_FIND_ERROR_GRANT));
            dlg.GetDlgItemText(IDC_FIND_ERROR_TEXT, text);
            dlg.Command(IDCANCEL);
        };
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_EQ(c.flags, dialog.m_accessFlags);
        EXPECT_EQ(c.flags == 0, grantShown != FALSE);
        EXPECT_FALSE(text.IsEmpty());
        EXPECT_EQ(0, dialog.m_acted);
    }
}

TEST(AccessDeniedDialog, ASuccessfulGrantClosesTheDialogAsActed)
{
    FakeSecurity security;
    DrivenErrorDlg dialog(nullptr, &security);
    dialog.m_folder = L"C:\\locked";
    dialog.drive = [](DrivenErrorDlg& dlg) { dlg.Command(IDC_FIND_ERROR_GRANT); };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_acted);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\locked|someone"}), security.m_granted);
    EXPECT_TRUE(security.m_pages.empty());
}

TEST(AccessDeniedDialog, AFailedGrantOffersTheSecurityPage)
{
    struct Case
    {
        BOOL grantWorks;
        INT_PTR answer;
        const wchar_t* question;
        size_t pages;
    } cases[] = {
        {FALSE, IDNO, L"権限の付与に失敗しました。\nプロパティのセキュリティを開きますか?", 0},
        {FALSE, IDYES, L"権限の付与に失敗しました。\nプロパティのセキュリティを開きますか?", 1},
        // Granted, and still refused: the listing right is denied elsewhere.
        {TRUE, IDYES, L"アクセスを拒否されました。\nプロパティのセキュリティを開きますか?", 1},
    };
    for (const Case& c : cases)
    {
        FakeSecurity security;
        security.m_grantWorks = c.grantWorks;
        security.m_grantOpens = FALSE;
        CDialogAnswerScript script;
        script.Add(c.answer);
        DrivenErrorDlg dialog(nullptr, &security);
        dialog.m_folder = L"C:\\locked";
        dialog.drive = [&c](DrivenErrorDlg& dlg) {
            dlg.Command(IDC_FIND_ERROR_GRANT);
            // Yes opens the page and keeps the dialog open.
            if (c.answer == IDYES)
                dlg.Command(IDCANCEL);
        };
        const INT_PTR result = dialog.DoModal();
        EXPECT_EQ(c.answer == IDNO ? IDOK : IDCANCEL, result);
        EXPECT_EQ(1, dialog.m_acted);
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_STREQ(c.question, script.GetQuestions()[0].text);
        EXPECT_STREQ(L"失敗", script.GetQuestions()[0].caption);
        EXPECT_EQ(c.pages, security.m_pages.size());
    }
}

TEST(AccessDeniedDialog, TheSecurityPageIsNamedInTheSystemsLanguage)
{
    EXPECT_STREQ(L"セキュリティ", CFindFirstFileErrorDlg::SecurityPageName(1041));
    EXPECT_STREQ(L"Security", CFindFirstFileErrorDlg::SecurityPageName(1033));
    for (LANGID language : {LANGID(1041), LANGID(1033)})
    {
        FakeSecurity security;
        security.m_language = language;
        DrivenErrorDlg dialog(nullptr, &security);
        dialog.m_folder = L"C:\\locked";
        dialog.drive = [](DrivenErrorDlg& dlg) {
            dlg.Command(IDC_FIND_ERROR_SECURITY);
            dlg.Command(IDCANCEL);
        };
        dialog.DoModal();
        EXPECT_EQ(1, dialog.m_acted);
        EXPECT_EQ((std::vector<std::wstring>{std::wstring(L"C:\\locked|") +
                                             CFindFirstFileErrorDlg::SecurityPageName(language)}),
                  security.m_pages);
    }
}

namespace
{
int g_paneAnswer = IDC_FIND_ERROR_GRANT;
bool g_paneAnswered = false;

BOOL CALLBACK ClickInAccessDialog(HWND window, LPARAM)
{
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    if (wcscmp(caption, L"エラー") != 0 || GetDlgItem(window, IDC_FIND_ERROR_SECURITY) == nullptr)
        return TRUE;
    g_paneAnswered = true;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(g_paneAnswer, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK AnswerAccessDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), ClickInAccessDialog, 0);
    if (g_paneAnswered)
        KillTimer(nullptr, timer);
}
} // namespace

TEST(AccessDeniedDialog, ThePaneIsToldToReadAgainOnlyWhenTheUserActed)
{
    FakeSecurity security;
    SetFolderSecurity(&security);
    CFilerPane pane(0);
    for (int answer : {IDC_FIND_ERROR_GRANT, IDCANCEL})
    {
        g_paneAnswer = answer;
        g_paneAnswered = false;
        security.m_listingError = ERROR_ACCESS_DENIED;
        SetTimer(nullptr, 0, 20, AnswerAccessDialog);
        EXPECT_EQ(answer == IDCANCEL ? 0 : 1, AskAccessDeniedRetry(pane, ERROR_ACCESS_DENIED, L"C:\\locked"));
        EXPECT_TRUE(g_paneAnswered);
    }
    SetFolderSecurity(nullptr);
}
