// The thumbnail loader's pause lock: any code on the user-interface thread may hold
// it, any number of times at once, and while it is held the loader finishes the item
// in hand and starts no other.
#pragma once
#include <windows.h>
#include "app/settings/GraphicSettings.h"
#include "graphics/preview/PreviewQueue.h"

class CPictureData;

class CFileInfo;

// How the loader decodes pictures. The program installs the image plug-in host's
// reading (graphics/preview/PreviewPlugInDecode.h); without it BMP files are read
// directly and archive members are not read.
struct PreviewDecodeHooks
{
    // 1 when the picture object holds the file's picture, 0 when a plug-in took the
    // file but gave none, -1 when no plug-in takes the file.
    int (*decodePicture)(LPCWSTR path, CPictureData& picture) = nullptr;
    // Nonzero when an image plug-in takes a file of that name, chosen by the name
    // alone: the loader asks before it extracts an archive member.
    int (*takesName)(LPCWSTR name) = nullptr;
    // 1 when the picture object holds the picture of the bytes of the named member.
    int (*decodeMemory)(LPCWSTR name, const void* data, SIZE_T size, CPictureData& picture) = nullptr;
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
    // Both folder lists, copied out for a settings dialog and taken back from it.
    void GetDirectoryLists(CArray<CPreviewEnableDirInfo>& enabled, CStringArray& disabled) const;
    void SetDirectoryLists(const CArray<CPreviewEnableDirInfo>& enabled, const CStringArray& disabled);
    // Whether the name's extension is one of the displayed kinds (under g_DataMutex).
    bool IsDisplayedKind(LPCWSTR name) const;
    void GetDisplayedKinds(CStringArray& out) const;
    void SetDisplayedKinds(const CStringArray& kinds);

    // ---- Drawing, user-interface thread ----
    // The thumbnail of the entry into the box at (x + 3, y + 3): the picture, or the
    // entry's shell icon while there is none. With onlyIfChanged nothing is drawn
    // when the pane drew the item's present state already. The entry's pane is 0 or 1.
    void DrawPreviews(int pane, HDC dc, int x, int y, const CFileInfo& entry, bool onlyIfChanged);
    // The cell's border: top, bottom, left and right.
    static void GetThumbnailFrameRects(int x, int y, RECT rects[4]);
    static void DrawThumbnailFrame(HDC dc, int x, int y, COLORREF colour);

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    // Decodes one path into the item's thumbnail: 1 when it has one, 0 when the
    // picture could not be read, -1 when no plug-in takes the file.
    int DecodeInto(const CString& path, CPreviewInfo& item);
    bool LoadFolderItem(const CString& folder, CPreviewInfo& item);
    // The first picture member of an archive in its listing order: 1 found, 0 none,
    // -1 not an archive.
    int LoadArchiveItem(const CString& path, CPreviewInfo& item);
    bool DecodeMemberInto(LPCWSTR name, const void* data, SIZE_T size, CPreviewInfo& item);
    bool FitInto(CPictureData& picture, CPreviewInfo& item);

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
