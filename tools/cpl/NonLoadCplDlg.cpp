#include "tools/cpl/NonLoadCplDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include <commdlg.h>
#include "app/settings/ToolSettings.h"
#include "res/CustomiseDialogs.h"
#include "tools/cpl/AppletCommands.h"

CNonLoadCplDlg::CNonLoadCplDlg(CWnd* pParent) : CDialog(IDD_NON_LOAD_CPL, pParent) {}

BOOL CNonLoadCplDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int k = 0; k < NON_LOAD_CPL_COUNT; ++k)
        SetDlgItemText(IDC_NON_LOAD_CPL_EDIT0 + k,
                       k < g_NonLoadCplList.GetSize() ? g_NonLoadCplList[k] : CString());
    return TRUE;
}

void CNonLoadCplDlg::OnOK()
{
    g_NonLoadCplList.RemoveAll();
    for (int k = 0; k < NON_LOAD_CPL_COUNT; ++k)
    {
        CString name;
        GetDlgItemText(IDC_NON_LOAD_CPL_EDIT0 + k, name);
        g_NonLoadCplList.Add(name);
    }
    EndDialog(IDOK);
}

BOOL CNonLoadCplDlg::ChooseFile(CString& path)
{
    const CString folder = GetCplFolder();
    FileDialogRequest request(m_hWnd, L"CPLファイル\0*.CPL\0\0");
    request.initialDir = folder;
    request.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    return BrowseForFile(request, path) ? TRUE : FALSE;
}

BOOL CNonLoadCplDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id >= IDC_NON_LOAD_CPL_BROWSE0 && id < IDC_NON_LOAD_CPL_BROWSE0 + NON_LOAD_CPL_COUNT &&
        HIWORD(wParam) == BN_CLICKED)
    {
        const int edit = IDC_NON_LOAD_CPL_EDIT0 + (id - IDC_NON_LOAD_CPL_BROWSE0);
        CString path;
        GetDlgItemText(edit, path);
        if (ChooseFile(path))
        {
            // Only the name: the scan compares names of the applet folder.
            int slash = path.ReverseFind(L'\\');
            SetDlgItemText(edit, slash >= 0 ? path.Mid(slash + 1) : path);
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
