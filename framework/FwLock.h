// A scoped hold on a mutex or semaphore handle: taken in the constructor, given back
// on every way out of the scope.
//
//     CHandleLock lock(g_DataMutex);             // waits as long as it takes
//     CHandleLock lock(semaphore, 500);          // waits at most 500 ms
//     if (!lock.IsHeld()) ...                     // timed out: nothing to give back
//
// A null handle is "nothing to take" (objects created at start-up do not exist yet in
// some tests and early paths): the lock then holds nothing and reports IsHeld false.
// A mutex is given back with ReleaseMutex, a semaphore with ReleaseSemaphore(1); the
// kind is told once by the constructor's caller, since Windows cannot tell a handle's
// object type cheaply.
#pragma once

#include <windows.h>

class CHandleLock
{
public:
    enum Kind
    {
        MUTEX,
        SEMAPHORE
    };

    // Waits without limit. A mutex abandoned by a thread that ended while holding it
    // is owned all the same (WAIT_ABANDONED): the guarded data may be half-written, but
    // refusing it would deadlock every later user.
    explicit CHandleLock(HANDLE handle, Kind kind = MUTEX) : CHandleLock(handle, INFINITE, kind) {}

    // Waits at most timeoutMs milliseconds; IsHeld tells whether it got the handle.
    CHandleLock(HANDLE handle, DWORD timeoutMs, Kind kind = MUTEX) : m_handle(handle), m_kind(kind)
    {
        if (m_handle == nullptr)
            return;
        DWORD result = WaitForSingleObject(m_handle, timeoutMs);
        m_held = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }

    ~CHandleLock() { Unlock(); }

    CHandleLock(const CHandleLock&) = delete;
    CHandleLock& operator=(const CHandleLock&) = delete;

    bool IsHeld() const { return m_held; }

    // Gives the handle back before the end of the scope; a second call does nothing.
    void Unlock()
    {
        if (!m_held)
            return;
        m_held = false;
        if (m_kind == SEMAPHORE)
            ReleaseSemaphore(m_handle, 1, nullptr);
        else
            ReleaseMutex(m_handle);
    }

private:
    HANDLE m_handle;
    Kind m_kind;
    bool m_held = false;
};

// A lock for data of one process that a worker thread writes and another thread reads.
// A critical section, unlike a mutex handle, costs no kernel call when nobody else
// holds it, so a record may own one per instance. It is re-entrant for the thread that
// holds it, as a mutex is.
class CCriticalSection
{
public:
    CCriticalSection() { InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { DeleteCriticalSection(&m_section); }

    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock() { EnterCriticalSection(&m_section); }
    void Unlock() { LeaveCriticalSection(&m_section); }
    // Takes the section only when no other thread holds it; true when taken.
    bool TryLock() { return TryEnterCriticalSection(&m_section) != FALSE; }

private:
    CRITICAL_SECTION m_section;
};

// A scoped hold on a CCriticalSection: entered in the constructor, left on every way
// out of the scope.
class CSectionLock
{
public:
    explicit CSectionLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CSectionLock() { m_section.Unlock(); }

    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CCriticalSection& m_section;
};
