// The main view: the one window that shows the two panes.
#pragma once
#include "framework/FwApp.h"

class CQvView : public CView
{
    DECLARE_DYNCREATE(CQvView)

public:
    CQvView() = default;
    void OnDraw(CDC* pDC) override;

protected:
    DECLARE_MESSAGE_MAP()
};
