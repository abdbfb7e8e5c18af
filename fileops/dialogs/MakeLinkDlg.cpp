#include "fileops/dialogs/MakeLinkDlg.h"
#include "app/dialogs/DialogHelpers.h"

#include <commdlg.h>

#include "util/Formatting.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "res/FileDialogs.h"

void RemoveRepeatedDirectories(const CStringArray& directories, CStringArray& out)
{
    out.RemoveAll();
    for (INT_PTR i = 0; i < directories.GetSize(); ++i)
    {
        BOOL seen = FALSE;
        for (INT_PTR j = 0; j < out.GetSize() && !seen; ++j)
            seen = out[j].CompareNoCase(directories[i]) == 0;
        if (!seen)
            out.Add(directories[i]);
    }
}

CString ChooseLinkFileName(BOOL keepExtension, LPCWSTR proposedName, LPCWSTR proposedFullName)
{
    if (keepExtension && proposedFullName && *proposedFullName)
        return proposedFullName;
    return proposedName;
}

CMakeLinkDlg::CMakeLinkDlg(CWnd* pParent) : CDialog(IDD_MAKE_LINK, pParent) {}

void CMakeLinkDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_LINK_TARGET, m_linkTarget);
    DDX_Text(pDX, IDC_LINK_WORK_DIR, m_workDirectory);
    DDX_Text(pDX, IDC_LINK_ARGUMENTS, m_arguments);
    DDX_Text(pDX, IDC_LINK_DESCRIPTION, m_description);
}

BOOL CMakeLinkDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CStringArray directories;
    RemoveRepeatedDirectories(m_candidateDirectories, directories);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_LINK_SAVE_DIR);
    for (INT_PTR i = 0; i < directories.GetSize(); ++i)
        ::SendMessageW(combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(directories[i])));
    if (!m_preselectedDirectory.IsEmpty())
        SetDlgItemText(IDC_LINK_SAVE_DIR, m_preselectedDirectory);
    else if (!directories.IsEmpty())
        SetDlgItemText(IDC_LINK_SAVE_DIR, directories[0]);
    CheckDlgButton(IDC_LINK_KEEP_EXTENSION,
                   g_CREATE_SHORT_CUT_EXT_IN_FILE_NAME ? BST_CHECKED : BST_UNCHECKED);
    FillFileName();
    return TRUE;
}

void CMakeLinkDlg::FillFileName()
{
    SetDlgItemText(IDC_LINK_FILE_NAME,
                   ChooseLinkFileName(IsDlgButtonChecked(IDC_LINK_KEEP_EXTENSION) == BST_CHECKED,
                                      m_proposedName, m_proposedFullName));
}

void CMakeLinkDlg::BrowseArguments()
{
    FileDialogRequest request(m_hWnd);
    request.flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    CString chosen;
    if (!BrowseForFile(request, chosen))
        return;
    QuoteIfContainsBlank(chosen);
    SetDlgItemText(IDC_LINK_ARGUMENTS, chosen);
}

BOOL CMakeLinkDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
    {
        const int id = LOWORD(wParam);
        if (id == IDC_LINK_KEEP_EXTENSION)
        {
            FillFileName();
            return TRUE;
        }
        if (id == IDC_LINK_BROWSE_SAVE_DIR || id == IDC_LINK_BROWSE_WORK_DIR)
        {
            const int edit = id == IDC_LINK_BROWSE_SAVE_DIR ? IDC_LINK_SAVE_DIR : IDC_LINK_WORK_DIR;
            CString path;
            GetDlgItemText(edit, path);
            if (BrowseForFolder(path, this, FALSE))
                SetDlgItemText(edit, path);
            return TRUE;
        }
        if (id == IDC_LINK_BROWSE_ARGUMENTS)
        {
            BrowseArguments();
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CMakeLinkDlg::OnOK()
{
    GetDlgItemText(IDC_LINK_FILE_NAME, m_fileName);
    GetDlgItemText(IDC_LINK_SAVE_DIR, m_saveDirectory);
    g_CREATE_SHORT_CUT_EXT_IN_FILE_NAME = IsDlgButtonChecked(IDC_LINK_KEEP_EXTENSION) == BST_CHECKED ? 1 : 0;
    CDialog::OnOK();
}
