#include "viewers/text/VeiwKindSettingDlg.h"

#include <cwchar>

#include "res/ViewerToolDialogs.h"

namespace
{
const int kExtensionIds[CVeiwKindSettingDlg::kRowsPerPage] = {
    IDC_VIEW_KIND_EXT0, IDC_VIEW_KIND_EXT1, IDC_VIEW_KIND_EXT2, IDC_VIEW_KIND_EXT3, IDC_VIEW_KIND_EXT4};

CString ItemText(HWND dialog, int id)
{
    wchar_t text[260] = {};
    ::GetDlgItemTextW(dialog, id, text, 260);
    return CString(text);
}

void SetItemNumber(HWND dialog, int id, int value)
{
    CString text;
    text.Format(L"%d", value);
    ::SetDlgItemTextW(dialog, id, text);
}
} // namespace

BEGIN_MESSAGE_MAP(CVeiwKindSettingDlg, CDialog)
ON_BN_CLICKED(IDC_VIEW_KIND_BEFORE, OnBefore)
ON_BN_CLICKED(IDC_VIEW_KIND_NEXT, OnNext)
END_MESSAGE_MAP()

CVeiwKindSettingDlg::CVeiwKindSettingDlg(CWnd* pParent) : CDialog(IDD_VIEW_KIND_SETTING, pParent)
{
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
        m_rows[i] = g_ViewerKindRows[i];
}

BOOL CVeiwKindSettingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_firstRow = 0;
    ShowPage();
    return TRUE;
}

void CVeiwKindSettingDlg::ShowPage()
{
    for (int i = 0; i < kRowsPerPage; ++i)
    {
        const ViewerKindRow& row = m_rows[m_firstRow + i];
        ::SetDlgItemTextW(m_hWnd, kExtensionIds[i], row.extension);
        SetItemNumber(m_hWnd, IDC_VIEW_KIND_WIDTH0 + i, row.lineWidth);
        SetItemNumber(m_hWnd, IDC_VIEW_KIND_TAB0 + i, row.tabWidth);
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_VIEW_KIND_BEFORE), m_firstRow > 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_VIEW_KIND_NEXT),
                   m_firstRow + kRowsPerPage < VIEWER_KIND_ROW_COUNT);
}

void CVeiwKindSettingDlg::StorePage()
{
    // The numbers go in unchecked, as the C library reads them; the loader clamps
    // what it cannot use.
    for (int i = 0; i < kRowsPerPage; ++i)
    {
        ViewerKindRow& row = m_rows[m_firstRow + i];
        row.extension = ItemText(m_hWnd, kExtensionIds[i]);
        row.lineWidth = _wtoi(ItemText(m_hWnd, IDC_VIEW_KIND_WIDTH0 + i));
        row.tabWidth = _wtoi(ItemText(m_hWnd, IDC_VIEW_KIND_TAB0 + i));
    }
}

void CVeiwKindSettingDlg::OnBefore()
{
    if (m_firstRow <= 0)
        return;
    StorePage();
    m_firstRow -= kRowsPerPage;
    ShowPage();
}

void CVeiwKindSettingDlg::OnNext()
{
    if (m_firstRow + kRowsPerPage >= VIEWER_KIND_ROW_COUNT)
        return;
    StorePage();
    m_firstRow += kRowsPerPage;
    ShowPage();
}

void CVeiwKindSettingDlg::OnOK()
{
    StorePage();
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
        g_ViewerKindRows[i] = m_rows[i];
    CDialog::OnOK();
}
