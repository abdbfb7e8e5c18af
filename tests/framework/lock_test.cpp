#include "framework/FwLock.h"
#include <gtest/gtest.h>
#include <thread>

namespace
{

// Whether another thread could take the handle within `ms` (and gives it back).
bool OtherThreadCanTake(HANDLE handle, CHandleLock::Kind kind, DWORD ms)
{
    bool taken = false;
    std::thread other([&] {
        CHandleLock lock(handle, ms, kind);
        taken = lock.IsHeld();
    });
    other.join();
    return taken;
}

TEST(HandleLock, HoldsAMutexForItsScopeAndGivesItBackEarlyOnUnlock)
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    {
        CHandleLock lock(mutex);
        EXPECT_TRUE(lock.IsHeld());
        EXPECT_FALSE(OtherThreadCanTake(mutex, CHandleLock::MUTEX, 50));
        lock.Unlock();
        EXPECT_TRUE(OtherThreadCanTake(mutex, CHandleLock::MUTEX, 50));
        lock.Unlock(); // a second call gives back nothing more
    }
    {
        CHandleLock lock(mutex);
    }
    EXPECT_TRUE(OtherThreadCanTake(mutex, CHandleLock::MUTEX, 50));
    CloseHandle(mutex);
}

TEST(HandleLock, ASemaphoreCountsOneHoldPerLock)
{
    HANDLE semaphore = CreateSemaphoreW(nullptr, 1, 1, nullptr);
    {
        CHandleLock lock(semaphore, CHandleLock::SEMAPHORE);
        EXPECT_TRUE(lock.IsHeld());
        EXPECT_FALSE(OtherThreadCanTake(semaphore, CHandleLock::SEMAPHORE, 50));
    }
    EXPECT_TRUE(OtherThreadCanTake(semaphore, CHandleLock::SEMAPHORE, 50));
    // A lock that timed out gives nothing back: the count is still exactly one.
    {
        CHandleLock first(semaphore, CHandleLock::SEMAPHORE);
        CHandleLock second(semaphore, 10, CHandleLock::SEMAPHORE);
        EXPECT_FALSE(second.IsHeld());
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(semaphore, 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(semaphore, 0));
    CloseHandle(semaphore);
}

TEST(HandleLock, ATimedLockThatGetsNothingAndANullHandleHoldNothing)
{
    HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr); // owned by this thread
    bool heldElsewhere = true;
    std::thread other([&] {
        CHandleLock lock(mutex, 20);
        heldElsewhere = lock.IsHeld();
    });
    other.join();
    EXPECT_FALSE(heldElsewhere);
    ReleaseMutex(mutex);

    CHandleLock none(nullptr);
    EXPECT_FALSE(none.IsHeld());
    CloseHandle(mutex);
}

TEST(HandleLock, AMutexLeftByAnEndedThreadIsTakenAllTheSame)
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    std::thread([&] { WaitForSingleObject(mutex, INFINITE); }).join(); // never released
    {
        CHandleLock lock(mutex, 1000);
        EXPECT_TRUE(lock.IsHeld());
    }
    EXPECT_TRUE(OtherThreadCanTake(mutex, CHandleLock::MUTEX, 50));
    CloseHandle(mutex);
}

// Whether another thread could enter the section at once (and leaves it again).
bool OtherThreadCanEnter(CCriticalSection& section)
{
    bool entered = false;
    std::thread other([&] {
        entered = section.TryLock();
        if (entered)
            section.Unlock();
    });
    other.join();
    return entered;
}

TEST(SectionLock, HoldsTheSectionForItsScopeAndLetsItsOwnThreadInAgain)
{
    CCriticalSection section;
    EXPECT_TRUE(OtherThreadCanEnter(section));
    {
        CSectionLock lock(section);
        EXPECT_FALSE(OtherThreadCanEnter(section));
        {
            CSectionLock again(section); // the holder may enter once more
            EXPECT_FALSE(OtherThreadCanEnter(section));
        }
        EXPECT_FALSE(OtherThreadCanEnter(section)); // the inner scope left only its own hold
    }
    EXPECT_TRUE(OtherThreadCanEnter(section));
}

} // namespace
