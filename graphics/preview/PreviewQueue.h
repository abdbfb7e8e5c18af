// The thumbnail loader's queue: one record per folder a pane listed, one item per
// entry, with generations so that the folders listed last are kept when the queue
// is trimmed. Changed only by holders of the loader's reader lock.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "graphics/preview/ThumbnailScaling.h"

// Item states.
enum
{
    PREVIEW_QUEUED = 1,
    PREVIEW_READY = 2,
    PREVIEW_NONE = 3,
    PREVIEW_LOADING = 4,
};

struct CPreviewInfo
{
    CString ownDirectory; // the entry's own listing folder, empty for the folder's
    WIN32_FIND_DATAW findData = {};
    BYTE state = PREVIEW_QUEUED;
    BYTE drawnState[2] = {0, 0};
    Thumbnail thumbnail;
    int kind = 0; // 0 picture file, 1 from an archive, 2 folder
};

struct CPreviewDirInfo
{
    CString folder;
    int generation = 0;
    CArray<CPreviewInfo*> items; // owned
    int queueKind = 1;
};

class CPreviewQueue
{
public:
    CPreviewQueue() = default;
    ~CPreviewQueue() { RemoveAll(); }
    CPreviewQueue(const CPreviewQueue&) = delete;
    CPreviewQueue& operator=(const CPreviewQueue&) = delete;

    void SetPaneFolder(int pane, const CString& folder);
    // A listed entry of folder: new entries are queued, unchanged ones keep their
    // thumbnail (only their drawn states are cleared), a changed size or time
    // queues the entry again.
    void QueueEntry(int queueKind, const CString& folder, const WIN32_FIND_DATAW& findData,
                    const CString& ownDirectory);
    // Newest folders first; trims older folders while more than maxFiles items are
    // queued, never one of this generation or one a pane shows; next generation.
    void EndQueueing(int maxFiles);
    // Every item back to queued (all), or only those that ended without thumbnail
    // or were in hand; they lose their thumbnails.
    void Requeue(bool all);
    // The first queued item in folder order, or null.
    CPreviewInfo* FindQueued(CPreviewDirInfo** folder);
    CPreviewInfo* Find(const CString& folder, const CString& name);
    void RemoveAll();

    INT_PTR GetFolderCount() const { return m_folders.GetCount(); }
    CPreviewDirInfo& GetFolder(INT_PTR i) { return *m_folders[i]; }

private:
    static void FreeFolder(CPreviewDirInfo* folder);

    CArray<CPreviewDirInfo*> m_folders;
    int m_generation = 1;
    CString m_paneFolders[2];
};
