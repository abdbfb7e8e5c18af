#include "filer/VirtualDriveDlg.h"

#include "app/VirtualDrives.h"
#include "res/FilerDialogs.h"

CVirtualDriveDlg::CVirtualDriveDlg(CWnd* pParent) : CDialog(IDD_VIRTUAL_DRIVE, pParent) {}

BOOL CVirtualDriveDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_VIRTUAL_DRIVE_LIST, this);
    m_list.SetFont(GetFont());
    CString line;
    for (int i = 0; i < 26; ++i)
    {
        line.Format(L"%c Drive", static_cast<wchar_t>(L'A' + i));
        int index = m_list.AddString(line);
        m_list.SetCheck(index, g_VirtualDriveFlags[i] ? 1 : 0);
    }
    return TRUE;
}

void CVirtualDriveDlg::OnOK()
{
    for (int i = 0; i < 26; ++i)
        g_VirtualDriveFlags[i] = m_list.GetCheck(i) ? 1 : 0;
    EndDialog(IDOK);
}
