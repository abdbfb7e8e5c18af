#include "view/ViewBusyGuard.h"

CViewBusyGuard::CViewBusyGuard(CQvView& view, int kind) : m_view(view)
{
    if (m_view.m_busyDepth++ == 0)
        m_view.m_bBusyFullStop = 0;
    else if (m_view.m_bBusyFullStop)
        return;
    m_view.StopViewTimers(kind);
    if (kind == STOP_TIMERS_FOR_ACTION)
        m_view.m_bBusyFullStop = 1;
}

CViewBusyGuard::~CViewBusyGuard()
{
    Release();
}

void CViewBusyGuard::Release()
{
    if (!m_open)
        return;
    m_open = false;
    if (--m_view.m_busyDepth == 0)
        m_view.StartBinaryCursorTimer();
}

void CViewBusyGuard::KeepBusy()
{
    if (!m_open)
        return;
    m_open = false;
    --m_view.m_busyDepth;
}
