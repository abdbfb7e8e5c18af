#include "graphics/windows/GraphicZoomDlg.h"

#include "util/Globals.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "res/GraphicViewerDialogs.h"

CGraphicZoomDlg::CGraphicZoomDlg(int selection, int changeZoomEnable, CWnd* parent)
    : CDialog(IDD_GRAPHIC_ZOOM, parent), m_selection(selection), m_changeZoomEnable(changeZoomEnable)
{
}

void CGraphicZoomDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_GRAPHIC_ZOOM_CHANGE_ENABLE, m_changeZoomEnable);
}

BOOL CGraphicZoomDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_GRAPHIC_ZOOM_LIST, this);
    m_list.AddString(L"倍率設定しない");
    {
        CHandleLock lock(g_DataMutex);
        for (const ZoomStepRow& row : g_ZoomSteps)
        {
            const int index = m_list.AddString(row.label);
            m_list.SetCheck(index, row.enabled ? 1 : 0);
        }
    }
    m_list.SetCurSel(m_selection >= 0 && m_selection <= ZOOM_STEP_COUNT ? m_selection : 0);
    return TRUE;
}

void CGraphicZoomDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const int selection = m_list.GetCurSel();
    m_selection = selection < 0 ? 0 : selection;
    {
        CHandleLock lock(g_DataMutex);
        for (int i = 0; i < ZOOM_STEP_COUNT; ++i)
            g_ZoomSteps[size_t(i)].enabled = m_list.GetCheck(i + 1) ? 1 : 0;
    }
    EndDialog(IDOK);
}
