#include "archivefront/dialogs/PreviewReaderLock.h"

CPreviewReaderLockHooks g_PreviewReaderLockHooks;

CPreviewReaderHold::CPreviewReaderHold()
{
    if (g_PreviewReaderLockHooks.acquire != nullptr && g_PreviewReaderLockHooks.release != nullptr)
    {
        g_PreviewReaderLockHooks.acquire();
        m_release = g_PreviewReaderLockHooks.release;
    }
}

CPreviewReaderHold::~CPreviewReaderHold()
{
    if (m_release != nullptr)
        m_release();
}
