#include "graphics/picture/SaveBmpDefDlg.h"

#include "util/Globals.h"
#include "app/FolderChooser.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "res/GraphicsDialogs.h"

CSaveBmpDefDlg::CSaveBmpDefDlg(CWnd* parent) : CDialog(IDD_SAVE_BMP_DEF, parent)
{
    CHandleLock lock(g_DataMutex);
    m_prefix = g_BmpSaveSettings.prefix;
    m_folder = g_BmpSaveSettings.folder;
    m_sameName = g_BmpSaveSettings.sameName;
    m_startNumber = g_BmpSaveSettings.startNumber;
}

void CSaveBmpDefDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_BMPDEF_SAME_NAME, m_sameName);
    DDX_Text(pDX, IDC_BMPDEF_PREFIX, m_prefix);
    DDX_Text(pDX, IDC_BMPDEF_FOLDER, m_folder);
    DDX_Text(pDX, IDC_BMPDEF_START_NUMBER, m_startNumber);
    DDV_MinMaxInt(pDX, m_startNumber, 0, 9999);
}

BOOL CSaveBmpDefDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    EnableSeriesFields();
    return TRUE;
}

void CSaveBmpDefDlg::EnableSeriesFields()
{
    const BOOL series = IsDlgButtonChecked(IDC_BMPDEF_SAME_NAME) == BST_CHECKED ? FALSE : TRUE;
    if (CWnd* prefix = GetDlgItem(IDC_BMPDEF_PREFIX))
        prefix->EnableWindow(series);
    if (CWnd* number = GetDlgItem(IDC_BMPDEF_START_NUMBER))
        number->EnableWindow(series);
}

BOOL CSaveBmpDefDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_BMPDEF_SAME_NAME:
        EnableSeriesFields();
        return TRUE;
    case IDC_BMPDEF_BROWSE_FOLDER: {
        CString folder;
        GetDlgItemText(IDC_BMPDEF_FOLDER, folder);
        if (BrowseForFolder(folder, this, FALSE))
            SetDlgItemText(IDC_BMPDEF_FOLDER, folder);
        return TRUE;
    }
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CSaveBmpDefDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    {
        CHandleLock lock(g_DataMutex);
        g_BmpSaveSettings.prefix = m_prefix;
        g_BmpSaveSettings.folder = m_folder;
        g_BmpSaveSettings.sameName = m_sameName;
        g_BmpSaveSettings.startNumber = m_startNumber;
    }
    EndDialog(IDOK);
}
