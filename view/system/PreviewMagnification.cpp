// Ids 775-777: the thumbnails' size in percent, between 10 and 500.
#include "app/Settings.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"

namespace
{
constexpr int kSmallest = 10;
constexpr int kLargest = 500;
constexpr int kStep = 10;

// PREVIEW_MAGNIFICATION to that percent (10..500), every thumbnail loaded again;
// nothing at all when it has that value already.
void ChangePreviewMagnification(CQvView& view, int percent)
{
    if (percent < kSmallest || percent > kLargest || percent == g_PREVIEW_MAGNIFICATION)
        return;
    CLoadPreviewThread* loader = g_pLoadPreviewThread;
    // The loader scales each thumbnail by this value: it must be between two pictures
    // while the size and the queue change.
    if (loader != nullptr)
        loader->AcquireReaderLock();
    g_PREVIEW_MAGNIFICATION = percent;
    if (loader != nullptr)
    {
        loader->GetQueue().Requeue(true);
        loader->ReleaseReaderLock();
        SetEvent(loader->GetWakeEvent());
    }
    if (view.m_hWnd)
        view.Invalidate();
}
} // namespace

VIEW_COMMAND(EnlargePreview)
{
    CViewBusyGuard busy(view);
    if (g_PREVIEW_MAGNIFICATION < kLargest)
        ChangePreviewMagnification(
            view, g_PREVIEW_MAGNIFICATION + kStep > kLargest ? kLargest : g_PREVIEW_MAGNIFICATION + kStep);
    view.StartBinaryCursorTimer();
}

VIEW_COMMAND(ReducePreview)
{
    CViewBusyGuard busy(view);
    if (g_PREVIEW_MAGNIFICATION > kSmallest)
        ChangePreviewMagnification(
            view, g_PREVIEW_MAGNIFICATION - kStep < kSmallest ? kSmallest : g_PREVIEW_MAGNIFICATION - kStep);
    view.StartBinaryCursorTimer();
}

VIEW_COMMAND(ResetPreviewScale)
{
    CViewBusyGuard busy(view);
    ChangePreviewMagnification(view, 100);
}
