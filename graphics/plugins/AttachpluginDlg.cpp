#include "graphics/plugins/AttachpluginDlg.h"

#include "util/Globals.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "res/PictureDialogs.h"

namespace
{
constexpr int kEditsPerPage = 10;
} // namespace

CAttachpluginDlg::CAttachpluginDlg(CWnd* parent) : CDialog(IDD_ATTACH_PLUGIN, parent) {}

BOOL CAttachpluginDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString name;
    {
        CHandleLock lock(g_DataMutex);
        if (m_plugInIndex >= 0 && m_plugInIndex < g_SusiePlugIns.GetCount())
        {
            m_patterns.Copy(g_SusiePlugIns[m_plugInIndex].m_patterns);
            name = g_SusiePlugIns[m_plugInIndex].m_fileName;
        }
    }
    SetDlgItemText(IDC_ATTACH_NAME, name);
    m_page = 0;
    ShowPage();
    return TRUE;
}

void CAttachpluginDlg::StorePage()
{
    for (int n = 0; n < kEditsPerPage; ++n)
    {
        CString text;
        GetDlgItemText(IDC_ATTACH_FIRST_EDIT + n, text);
        const INT_PTR at = INT_PTR(m_page) * kEditsPerPage + n;
        if (at < m_patterns.GetSize())
            m_patterns[at] = text;
        else if (!text.IsEmpty())
            m_patterns.Add(text);
    }
}

void CAttachpluginDlg::ShowPage()
{
    for (int n = 0; n < kEditsPerPage; ++n)
    {
        const INT_PTR at = INT_PTR(m_page) * kEditsPerPage + n;
        SetDlgItemText(IDC_ATTACH_FIRST_EDIT + n, at < m_patterns.GetSize() ? m_patterns[at] : CString());
    }
    if (CWnd* before = GetDlgItem(IDC_ATTACH_BEFORE))
        before->EnableWindow(m_page > 0 ? TRUE : FALSE);
}

BOOL CAttachpluginDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_ATTACH_NEXT:
        StorePage();
        ++m_page;
        ShowPage();
        return TRUE;
    case IDC_ATTACH_BEFORE:
        if (m_page > 0)
        {
            StorePage();
            --m_page;
            ShowPage();
        }
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CAttachpluginDlg::OnOK()
{
    StorePage();
    for (INT_PTR i = m_patterns.GetSize() - 1; i >= 0; --i)
        if (m_patterns[i].IsEmpty())
            m_patterns.RemoveAt(i);
    {
        // A rescan may have shortened the list while the dialog was open.
        CHandleLock lock(g_DataMutex);
        if (m_plugInIndex >= 0 && m_plugInIndex < g_SusiePlugIns.GetCount())
            g_SusiePlugIns[m_plugInIndex].m_patterns.Copy(m_patterns);
    }
    EndDialog(IDOK);
}
