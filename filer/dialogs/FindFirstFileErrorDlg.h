// A folder that could not be listed because access is denied: the system's text for
// the error, granting the current Windows user full access to the folder, or the
// security page of the folder's properties.
#pragma once
#include <windows.h>
#include <vector>

#include "framework/FwDialog.h"

class CFilerPane;

// One access-control entry of a folder as the dialog weighs it.
struct FolderAccessEntry
{
    BYTE type = 0;   // ACCESS_ALLOWED_ACE_TYPE, ACCESS_DENIED_ACE_TYPE, ...
    DWORD mask = 0;  // the access mask
    CString account; // the account of the entry's SID; empty when unknown
};

// The calls on a folder's security. The program uses the system's; tests put their
// own in, since the test system keeps no access-control lists.
class IFolderSecurity
{
public:
    virtual ~IFolderSecurity() = default;
    // The entries of the folder's DACL (none when it has no DACL); FALSE when the
    // security could not be read.
    virtual BOOL ReadDacl(LPCWSTR folder, std::vector<FolderAccessEntry>& entries) = 0;
    // Adds full access for the user, inherited by files and folders, to the DACL;
    // TRUE only when every step succeeded.
    virtual BOOL GrantFullAccess(LPCWSTR folder, LPCWSTR userName) = 0;
    // 0 when the folder lists now, else the system error.
    virtual DWORD TryListing(LPCWSTR folder) = 0;
    // Opens the folder's Properties window on the named page.
    virtual void OpenPropertiesPage(HWND owner, LPCWSTR folder, LPCWSTR page) = 0;
    // The Windows user the access is granted to.
    virtual CString GetUserName() = 0;
    // The system's default language.
    virtual LANGID GetDefaultLanguage() = 0;
};

// The system's calls.
IFolderSecurity& SystemFolderSecurity();
// The calls a dialog made without its own uses: null puts the system's back.
void SetFolderSecurity(IFolderSecurity* security);

// Bits of CFindFirstFileErrorDlg::m_accessFlags.
enum
{
    FOLDER_ACCESS_EVERYONE_DENIED = 1, // Everyone may not list or read it
    FOLDER_ACCESS_UNREADABLE = 2,      // its security could not be read
};

class CFindFirstFileErrorDlg : public CDialog
{
public:
    explicit CFindFirstFileErrorDlg(CWnd* pParent = nullptr, IFolderSecurity* security = nullptr);

    DWORD m_errorCode = ERROR_ACCESS_DENIED;
    CString m_folder;
    // 1 once the user tried either action: the folder may list now.
    int m_acted = 0;
    int m_accessFlags = 0;

    // The page name the security page is opened by: its Japanese name on a Japanese
    // system, where the shell knows it only so.
    static LPCWSTR SecurityPageName(LANGID language);
    // The access flags the entries give (without FOLDER_ACCESS_UNREADABLE).
    static int WeighDacl(const std::vector<FolderAccessEntry>& entries);

protected:
    BOOL OnInitDialog() override;
    void OnGrant();
    void OnOpenSecurity();

    DECLARE_MESSAGE_MAP()

private:
    // Asks whether to open the security page after `text`; Yes opens it and keeps the
    // dialog, No ends it.
    void OfferSecurityPage(LPCWSTR text);
    IFolderSecurity& m_security;
};

// The pane's question on entering a folder it may not list: runs the dialog and
// answers whether the user acted (then the pane reads again).
int AskAccessDeniedRetry(CFilerPane& pane, DWORD error, LPCWSTR directory);
