// Which zoom steps the zoom commands offer, the zoom new pictures start with, and
// whether zoom steps change that zoom.
#pragma once
#include "framework/FwCheckListBox.h"
#include "framework/FwDialog.h"

class CGraphicZoomDlg : public CDialog
{
public:
    // selection: 0 no zoom, n the zoom row n - 1; changeZoomEnable the
    // "CHANGEZOOMENABLE" value shown.
    CGraphicZoomDlg(int selection, int changeZoomEnable, CWnd* parent = nullptr);

    // Read back on OK; the rows' enabled flags go to g_ZoomSteps then.
    int m_selection;
    int m_changeZoomEnable;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    CCheckListBox m_list;
};
