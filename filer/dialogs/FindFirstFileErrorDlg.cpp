#include "filer/dialogs/FindFirstFileErrorDlg.h"

#include <aclapi.h>
#include <shellapi.h>

#include "app/Directories.h"
#include "app/FileSecurity.h"
#include "util/StringHelpers.h"
#include "util/PathHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "fs/LongPathSecurity.h"
#include "res/FilerDialogs.h"

namespace
{
// READ_CONTROL, FILE_LIST_DIRECTORY and FILE_READ_EA: any of them denied keeps the
// folder from being listed.
constexpr DWORD kListingRights = READ_CONTROL | FILE_LIST_DIRECTORY | FILE_READ_EA;

class CSystemFolderSecurity : public IFolderSecurity
{
public:
    BOOL ReadDacl(LPCWSTR folder, std::vector<FolderAccessEntry>& entries) override
    {
        entries.clear();
        PACL dacl = nullptr;
        if (FAILED(GetFileDacl(folder, &dacl)))
            return FALSE;
        if (dacl == nullptr)
            return TRUE;
        ACL_SIZE_INFORMATION size = {};
        if (!GetAclInformation(dacl, &size, sizeof(size), AclSizeInformation))
        {
            LocalFree(dacl);
            return FALSE;
        }
        for (DWORD i = 0; i < size.AceCount; ++i)
        {
            ACE_HEADER* header = nullptr;
            if (!GetAce(dacl, i, reinterpret_cast<void**>(&header)))
                continue;
            FolderAccessEntry entry;
            entry.type = header->AceType;
            if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE)
            {
                // Allowed and denied entries share their layout.
                const ACCESS_DENIED_ACE* ace = reinterpret_cast<const ACCESS_DENIED_ACE*>(header);
                entry.mask = ace->Mask;
                entry.account = LookupAccount(const_cast<DWORD*>(&ace->SidStart));
            }
            entries.push_back(entry);
        }
        LocalFree(dacl);
        return TRUE;
    }

    BOOL GrantFullAccess(LPCWSTR folder, LPCWSTR userName) override
    {
        if (userName == nullptr || *userName == 0)
            return FALSE;
        PACL oldDacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetNamedSecurityInfoLong(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                     &oldDacl, nullptr, &descriptor) != ERROR_SUCCESS)
            return FALSE;
        CString trustee(userName);
        EXPLICIT_ACCESSW access = {};
        BuildExplicitAccessWithNameW(&access, trustee.GetBuffer(), GENERIC_ALL, GRANT_ACCESS,
                                     OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        PACL newDacl = nullptr;
        BOOL ok = SetEntriesInAclW(1, &access, oldDacl, &newDacl) == ERROR_SUCCESS;
        if (ok)
            ok = SetNamedSecurityInfoLong(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                          newDacl, nullptr) == ERROR_SUCCESS;
        trustee.ReleaseBuffer();
        if (newDacl != nullptr)
            LocalFree(newDacl);
        LocalFree(descriptor);
        return ok;
    }

    DWORD TryListing(LPCWSTR folder) override
    {
        CString pattern;
        pattern.Format(L"%s\\*.*", folder);
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileLong(pattern, &found);
        if (find == INVALID_HANDLE_VALUE)
            return GetLastError();
        FindCloseLong(find);
        return 0;
    }

    void OpenPropertiesPage(HWND owner, LPCWSTR folder, LPCWSTR page) override
    {
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_INVOKEIDLIST;
        info.hwnd = owner;
        info.lpVerb = L"Properties";
        info.lpFile = folder;
        info.lpParameters = page;
        info.nShow = SW_SHOWNORMAL;
        ShellExecuteExW(&info);
    }

    CString GetUserName() override
    {
        CString name;
        GetLogonUserName(name);
        return name;
    }

    LANGID GetDefaultLanguage() override { return GetSystemDefaultLangID(); }

private:
    static CString LookupAccount(PSID sid)
    {
        DWORD nameLength = 0, domainLength = 0;
        SID_NAME_USE use;
        LookupAccountSidW(nullptr, sid, nullptr, &nameLength, nullptr, &domainLength, &use);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || nameLength == 0)
            return CString();
        std::vector<wchar_t> name(nameLength + 1), domain(domainLength + 1);
        if (!LookupAccountSidW(nullptr, sid, name.data(), &nameLength, domain.data(), &domainLength, &use))
            return CString();
        return CString(name.data());
    }
};
} // namespace

IFolderSecurity& SystemFolderSecurity()
{
    static CSystemFolderSecurity security;
    return security;
}

namespace
{
IFolderSecurity* g_folderSecurity = nullptr;
}

void SetFolderSecurity(IFolderSecurity* security)
{
    g_folderSecurity = security;
}

BEGIN_MESSAGE_MAP(CFindFirstFileErrorDlg, CDialog)
ON_BN_CLICKED(IDC_FIND_ERROR_GRANT, OnGrant)
ON_BN_CLICKED(IDC_FIND_ERROR_SECURITY, OnOpenSecurity)
END_MESSAGE_MAP()

CFindFirstFileErrorDlg::CFindFirstFileErrorDlg(CWnd* pParent, IFolderSecurity* security)
    : CDialog(IDD_FIND_FIRST_FILE_ERROR, pParent), m_security(security           ? *security
                                                              : g_folderSecurity ? *g_folderSecurity
                                                                                 : SystemFolderSecurity())
{
}

LPCWSTR CFindFirstFileErrorDlg::SecurityPageName(LANGID language)
{
    return language == 1041 ? L"セキュリティ" : L"Security";
}

int CFindFirstFileErrorDlg::WeighDacl(const std::vector<FolderAccessEntry>& entries)
{
    for (const FolderAccessEntry& entry : entries)
    {
        if (entry.type == ACCESS_DENIED_ACE_TYPE && (entry.mask & kListingRights) != 0 &&
            entry.account.CompareNoCase(L"Everyone") == 0)
            return FOLDER_ACCESS_EVERYONE_DENIED;
    }
    return 0;
}

BOOL CFindFirstFileErrorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_accessFlags = 0;
    CString message;
    FormatSystemError(m_errorCode, message);
    SetDlgItemText(IDC_FIND_ERROR_TEXT, message);
    ::SendDlgItemMessageW(m_hWnd, IDC_FIND_ERROR_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);

    std::vector<FolderAccessEntry> entries;
    if (!m_security.ReadDacl(m_folder, entries))
        m_accessFlags |= FOLDER_ACCESS_UNREADABLE;
    else
        m_accessFlags |= WeighDacl(entries);
    // Granting cannot help against a denial to everyone or on a folder whose
    // security cannot even be read.
    if (m_accessFlags != 0)
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_FIND_ERROR_GRANT), SW_HIDE);
    return TRUE;
}

void CFindFirstFileErrorDlg::OnGrant()
{
    m_acted = 1;
    if (!m_security.GrantFullAccess(m_folder, m_security.GetUserName()))
    {
        OfferSecurityPage(L"権限の付与に失敗しました。\nプロパティのセキュリティを開きますか?");
        return;
    }
    if (m_security.TryListing(m_folder) == ERROR_ACCESS_DENIED)
    {
        OfferSecurityPage(L"アクセスを拒否されました。\nプロパティのセキュリティを開きますか?");
        return;
    }
    EndDialog(IDOK);
}

void CFindFirstFileErrorDlg::OfferSecurityPage(LPCWSTR text)
{
    if (Ask(this, text, L"失敗", MessageBoxKind::YesNo))
        OnOpenSecurity();
    else
        EndDialog(IDOK);
}

void CFindFirstFileErrorDlg::OnOpenSecurity()
{
    m_acted = 1;
    m_security.OpenPropertiesPage(m_hWnd, m_folder, SecurityPageName(m_security.GetDefaultLanguage()));
}

int AskAccessDeniedRetry(CFilerPane& pane, DWORD error, LPCWSTR directory)
{
    CFindFirstFileErrorDlg dialog(pane.m_pView);
    dialog.m_errorCode = error;
    dialog.m_folder = directory;
    dialog.DoModal();
    return dialog.m_acted;
}
