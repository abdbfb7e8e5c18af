// The thumbnail loader's pause lock with a stand-in loader step.
#include "graphics/preview/LoadPreviewThread.h"

#include <gtest/gtest.h>
#include <atomic>
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

TEST(PreviewLockTest, AnAcquireDuringAnItemReturnsSoonAfterIt)
{
    CLoadPreviewThread loader;
    ASSERT_EQ(1, loader.BeginItem());
    std::atomic<bool> itemDone{false};
    std::atomic<ULONGLONG> endedAt{0};
    std::thread item([&]() {
        Sleep(300);
        itemDone = true;
        endedAt = GetTickCount64();
        loader.EndItem();
    });
    loader.AcquireReaderLock();
    const ULONGLONG acquiredAt = GetTickCount64();
    EXPECT_TRUE(itemDone.load());
    item.join();
    // Generous bound: the poll is every 10 ms, the machine may be busy.
    EXPECT_LT(acquiredAt - endedAt.load(), 200u);
    EXPECT_EQ(0, loader.BeginItem());
    loader.ReleaseReaderLock();

    // Idle: at once.
    const ULONGLONG start = GetTickCount64();
    loader.AcquireReaderLock();
    EXPECT_LT(GetTickCount64() - start, 100u);
    loader.ReleaseReaderLock();
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
