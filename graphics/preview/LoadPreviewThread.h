// The thumbnail loader's pause lock: any code on the user-interface thread may hold
// it, any number of times at once, and while it is held the loader finishes the item
// in hand and starts no other.
#pragma once
#include <windows.h>
#include "graphics/preview/PreviewQueue.h"

class CPictureData;

// How the loader decodes one picture file: 1 when the picture object holds it. The
// program installs the image plug-in host's reading; without it BMP files are read
// directly.
struct PreviewDecodeHooks
{
    int (*decodePicture)(LPCWSTR path, CPictureData& picture) = nullptr;
};
extern PreviewDecodeHooks g_PreviewDecodeHooks;

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

    // ---- The thread ----
    // Starts the loader thread at idle priority; false when it cannot be made.
    bool Start();
    // Sets the stop flag and wakes the thread; WaitForStop waits for its end.
    void RequestStop();
    bool WaitForStop(DWORD timeout);
    // One step: 0 paused by readers, 1 nothing queued, 2 one item taken.
    int LoadNextPreview();
    // Where the loader posts its done message ("WMSG_QV_PREVIEW_LOAD").
    void SetNotifyWindow(HWND window) { m_notifyWindow = window; }
    UINT GetLoadedMessage() const { return m_loadedMessage; }

    // ---- The queue, between AcquireReaderLock and ReleaseReaderLock ----
    void SetPaneFolder(int pane, const CString& folder) { m_queue.SetPaneFolder(pane, folder); }
    void QueueEntry(int queueKind, const CString& folder, const WIN32_FIND_DATAW& findData,
                    const CString& ownDirectory)
    {
        m_queue.QueueEntry(queueKind, folder, findData, ownDirectory);
    }
    // Trims to MAX_PREVIEW_FILES, starts the next generation and wakes the loader.
    void EndQueueing();
    // Takes the reader lock itself.
    void Requeue(bool all);
    CPreviewQueue& GetQueue() { return m_queue; }

    // ---- The preview folders (g_PreviewSettings), user-interface thread ----
    bool IsPreviewDirectory(const CString& folder, BYTE* type = nullptr) const;
    void EnablePreviewDirectory(const CString& folder, BYTE type);
    void DisablePreviewDirectory(const CString& folder, bool anyType);
    void TogglePreviewTree(const CString& folder);

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    // Decodes one path into the item's thumbnail: true when it has one.
    bool DecodeInto(const CString& path, CPreviewInfo& item);
    bool LoadFolderItem(const CString& folder, CPreviewInfo& item);

    CPreviewQueue m_queue;
    HANDLE m_thread = nullptr;
    volatile LONG m_stop = 0;
    HWND m_notifyWindow = nullptr;
    UINT m_loadedMessage = 0;

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
