#include "archivefront/dialogs/DefunarcDlg.h"

#include "util/Globals.h"
#include "app/FolderChooser.h"
#include "archivefront/archiver/ArchiverDll.h"
#include "framework/FwLock.h"
#include "res/ArchiveDialogs.h"

BEGIN_MESSAGE_MAP(CDefunarcDlg, CDialog)
ON_CBN_SELCHANGE(IDC_UNPACKOPT_FORMAT, OnFormatChange)
ON_BN_CLICKED(IDC_UNPACKOPT_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_UNPACKOPT_LIBRARY_UNPACK, OnLibraryUnpackSettings)
ON_BN_CLICKED(IDC_UNPACKOPT_LIBRARY_PACK, OnLibraryPackSettings)
END_MESSAGE_MAP()

CDefunarcDlg::CDefunarcDlg(CWnd* pParent) : CDialog(IDD_UNPACK_OPTIONS, pParent) {}

BOOL CDefunarcDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    {
        CHandleLock lock(g_DataMutex);
        SetDlgItemText(IDC_UNPACKOPT_BRIDGE, g_UnbypassDllPath);
    }
    m_list.SubclassDlgItem(IDC_UNPACKOPT_LIST, this);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_UNPACKOPT_FORMAT);
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        const CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        m_flags[row].clear();
        for (int i = 0; i < entry.unpackOptionCount; ++i)
            m_flags[row].push_back(entry.unpackOptions[i].flag);
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.formatName));
    }
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
    m_currentRow = 0;
    FillList();
    return TRUE;
}

void CDefunarcDlg::FillList()
{
    const CArchiverDllEntry& entry = g_ArchiverDllTable[m_currentRow];
    m_list.ResetContent();
    for (int i = 0; i < entry.unpackOptionCount; ++i)
    {
        int index = m_list.AddString(entry.unpackOptions[i].label);
        m_list.SetCheck(index, m_flags[m_currentRow][static_cast<size_t>(i)] ? 1 : 0);
    }
}

void CDefunarcDlg::StoreList()
{
    std::vector<int>& flags = m_flags[m_currentRow];
    for (size_t i = 0; i < flags.size() && static_cast<int>(i) < m_list.GetCount(); ++i)
        flags[i] = m_list.GetCheck(static_cast<int>(i)) ? 1 : 0;
}

void CDefunarcDlg::OnFormatChange()
{
    int row = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_UNPACKOPT_FORMAT, CB_GETCURSEL, 0, 0));
    if (row < 0 || row >= ARCHIVER_ROW_COUNT)
        return;
    StoreList();
    m_currentRow = row;
    FillList();
}

void CDefunarcDlg::OnOK()
{
    StoreList();
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        const CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.unpackOptionCount; ++i)
            entry.unpackOptions[i].flag = static_cast<WORD>(m_flags[row][static_cast<size_t>(i)] ? 1 : 0);
    }
    CString bridge;
    GetDlgItemText(IDC_UNPACKOPT_BRIDGE, bridge);
    {
        CHandleLock lock(g_DataMutex);
        g_UnbypassDllPath = bridge;
    }
    CDialog::OnOK();
}

void CDefunarcDlg::OnBrowse()
{
    CString path;
    GetDlgItemText(IDC_UNPACKOPT_BRIDGE, path);
    if (BrowseForFolder(path, this, FALSE))
        SetDlgItemText(IDC_UNPACKOPT_BRIDGE, path);
}

void CDefunarcDlg::OnLibraryUnpackSettings()
{
    CArchiverDll::ShowConfigDialog(m_hWnd, m_currentRow, 1);
}

void CDefunarcDlg::OnLibraryPackSettings()
{
    CArchiverDll::ShowConfigDialog(m_hWnd, m_currentRow, 2);
}
