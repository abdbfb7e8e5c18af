// The thumbnail loader's pause lock: any code on the user-interface thread may hold
// it, any number of times at once, and while it is held the loader finishes the item
// in hand and starts no other.
#pragma once
#include <windows.h>

class CLoadPreviewThread
{
public:
    CLoadPreviewThread();
    ~CLoadPreviewThread();
    CLoadPreviewThread(const CLoadPreviewThread&) = delete;
    CLoadPreviewThread& operator=(const CLoadPreviewThread&) = delete;

    // Returns when the lock is held: at once while the loader is idle, else soon
    // after it finished its current item.
    void AcquireReaderLock();
    // Gives one hold back; the last one wakes the loader.
    void ReleaseReaderLock();

    // The loader's side, around one item: BeginItem is 0 (and the item must wait for
    // the wake event) while any hold is taken; EndItem tells waiting holders the item
    // is done.
    int BeginItem();
    void EndItem();
    HANDLE GetWakeEvent() const { return m_wakeEvent; }
    int GetReaderCount();

private:
    HANDLE m_guard;
    int m_readerCount = 0;
    int m_busy = 0;
    HANDLE m_wakeEvent;
    HANDLE m_itemDoneEvent;
};

// Created by the view (suspended until it has work) and kept to the end of the run;
// null before that, when holders have nothing to pause.
extern CLoadPreviewThread* g_pLoadPreviewThread;

// Hold and release on g_pLoadPreviewThread when there is one: for the holders below
// the view, which receive these two through their hook.
void AcquirePreviewReaderLock();
void ReleasePreviewReaderLock();
