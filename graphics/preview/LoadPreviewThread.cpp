#include "graphics/preview/LoadPreviewThread.h"

#include "framework/FwLock.h"

#include <initializer_list>

CLoadPreviewThread* g_pLoadPreviewThread = nullptr;

CLoadPreviewThread::CLoadPreviewThread()
    : m_guard(CreateMutexW(nullptr, FALSE, nullptr)),
      // The wake-up of the last release must reach the loader even when it is not
      // yet waiting, so the event keeps its signal until taken.
      m_wakeEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_itemDoneEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
}

CLoadPreviewThread::~CLoadPreviewThread()
{
    for (HANDLE handle : {m_guard, m_wakeEvent, m_itemDoneEvent})
        if (handle != nullptr)
            CloseHandle(handle);
}

void CLoadPreviewThread::AcquireReaderLock()
{
    for (;;)
    {
        {
            CHandleLock lock(m_guard);
            if (!m_busy)
            {
                ++m_readerCount;
                return;
            }
        }
        // A pulse missed between the release above and this wait costs 10 ms at most.
        WaitForSingleObject(m_itemDoneEvent, 10);
    }
}

void CLoadPreviewThread::ReleaseReaderLock()
{
    CHandleLock lock(m_guard);
    if (m_readerCount > 0 && --m_readerCount == 0)
        SetEvent(m_wakeEvent);
}

int CLoadPreviewThread::BeginItem()
{
    CHandleLock lock(m_guard);
    if (m_readerCount != 0)
        return 0;
    m_busy = 1;
    return 1;
}

void CLoadPreviewThread::EndItem()
{
    {
        CHandleLock lock(m_guard);
        m_busy = 0;
    }
    SetEvent(m_itemDoneEvent);
}

int CLoadPreviewThread::GetReaderCount()
{
    CHandleLock lock(m_guard);
    return m_readerCount;
}

void AcquirePreviewReaderLock()
{
    if (g_pLoadPreviewThread != nullptr)
        g_pLoadPreviewThread->AcquireReaderLock();
}

void ReleasePreviewReaderLock()
{
    if (g_pLoadPreviewThread != nullptr)
        g_pLoadPreviewThread->ReleaseReaderLock();
}
