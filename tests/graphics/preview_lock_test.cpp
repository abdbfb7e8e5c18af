// The thumbnail loader's pause lock with a stand-in loader step.
#include "graphics/preview/LoadPreviewThread.h"

#include <gtest/gtest.h>
#include <thread>

TEST(PreviewLockTest, OnlyTheLastOfNestedReleasesWakesTheLoader)
{
    CLoadPreviewThread loader;
    loader.AcquireReaderLock();
    loader.AcquireReaderLock();
    EXPECT_EQ(0, loader.BeginItem());
    loader.ReleaseReaderLock();
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(loader.GetWakeEvent(), 0));
    EXPECT_EQ(0, loader.BeginItem());
    loader.ReleaseReaderLock();
    // The wake-up waits for the loader even when it was not yet waiting.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(loader.GetWakeEvent(), 0));
    EXPECT_EQ(1, loader.BeginItem());
    loader.EndItem();
}

// A holder that comes while the loader reads an item waits for that item, and only
// for it; with the loader idle it passes at once. A hang fails on the deadline.
TEST(PreviewLockTest, AnAcquireDuringAnItemWaitsForItsEnd)
{
    CLoadPreviewThread loader;
    ASSERT_EQ(1, loader.BeginItem());
    HANDLE acquired = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&]() {
        loader.AcquireReaderLock();
        SetEvent(acquired);
    });
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(acquired, 200)) << "the lock was taken during an item";
    loader.EndItem();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(acquired, 10000))
        << "the item's end did not free the holder";
    holder.join();
    EXPECT_EQ(0, loader.BeginItem()) << "the holder keeps the loader out";
    loader.ReleaseReaderLock();

    ResetEvent(acquired);
    std::thread idleHolder([&]() {
        loader.AcquireReaderLock();
        SetEvent(acquired);
    });
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(acquired, 10000)) << "an idle loader kept a holder waiting";
    idleHolder.join();
    loader.ReleaseReaderLock();
    CloseHandle(acquired);
}

TEST(PreviewLockTest, HoldersWithoutALoaderPassThrough)
{
    CLoadPreviewThread* saved = g_pLoadPreviewThread;
    g_pLoadPreviewThread = nullptr;
    AcquirePreviewReaderLock();
    ReleasePreviewReaderLock();
    CLoadPreviewThread loader;
    g_pLoadPreviewThread = &loader;
    AcquirePreviewReaderLock();
    EXPECT_EQ(1, loader.GetReaderCount());
    ReleasePreviewReaderLock();
    EXPECT_EQ(0, loader.GetReaderCount());
    g_pLoadPreviewThread = saved;
}
