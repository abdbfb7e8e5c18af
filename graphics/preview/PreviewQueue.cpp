#include "graphics/preview/PreviewQueue.h"

#include <algorithm>
#include <vector>

void CPreviewQueue::FreeFolder(CPreviewDirInfo* folder)
{
    for (INT_PTR i = 0; i < folder->items.GetCount(); ++i)
    {
        FreeThumbnail(&folder->items[i]->thumbnail);
        delete folder->items[i];
    }
    delete folder;
}

void CPreviewQueue::RemoveAll()
{
    for (INT_PTR i = 0; i < m_folders.GetCount(); ++i)
        FreeFolder(m_folders[i]);
    m_folders.RemoveAll();
}

void CPreviewQueue::SetPaneFolder(int pane, const CString& folder)
{
    if (pane == 0 || pane == 1)
        m_paneFolders[pane] = folder;
}

void CPreviewQueue::QueueEntry(int queueKind, const CString& folder, const WIN32_FIND_DATAW& findData,
                               const CString& ownDirectory)
{
    CPreviewDirInfo* dir = nullptr;
    for (INT_PTR i = 0; i < m_folders.GetCount() && !dir; ++i)
        if (m_folders[i]->folder.CompareNoCase(folder) == 0)
            dir = m_folders[i];
    if (!dir)
    {
        dir = new CPreviewDirInfo;
        dir->folder = folder;
        dir->queueKind = queueKind;
        m_folders.Add(dir);
    }
    dir->generation = m_generation;
    for (INT_PTR i = 0; i < dir->items.GetCount(); ++i)
    {
        CPreviewInfo& item = *dir->items[i];
        if (item.state == 0 || _wcsicmp(item.findData.cFileName, findData.cFileName) != 0)
            continue;
        item.drawnState[0] = item.drawnState[1] = 0;
        if (item.findData.nFileSizeHigh != findData.nFileSizeHigh ||
            item.findData.nFileSizeLow != findData.nFileSizeLow ||
            CompareFileTime(&item.findData.ftLastWriteTime, &findData.ftLastWriteTime) != 0)
        {
            item.findData = findData;
            item.state = PREVIEW_QUEUED;
            item.kind = 0;
        }
        return;
    }
    CPreviewInfo* item = new CPreviewInfo;
    item->ownDirectory = ownDirectory;
    item->findData = findData;
    dir->items.Add(item);
}

void CPreviewQueue::EndQueueing(int maxFiles)
{
    std::vector<CPreviewDirInfo*> order(m_folders.GetData(), m_folders.GetData() + m_folders.GetCount());
    std::stable_sort(order.begin(), order.end(), [](const CPreviewDirInfo* a, const CPreviewDirInfo* b) {
        return a->generation > b->generation;
    });
    for (size_t i = 0; i < order.size(); ++i)
        m_folders[INT_PTR(i)] = order[i];
    long long total = 0;
    for (INT_PTR i = 0; i < m_folders.GetCount(); ++i)
        total += m_folders[i]->items.GetCount();
    while (total > maxFiles && m_folders.GetCount() > 0)
    {
        CPreviewDirInfo* last = m_folders[m_folders.GetCount() - 1];
        if (last->generation == m_generation || last->folder.CompareNoCase(m_paneFolders[0]) == 0 ||
            last->folder.CompareNoCase(m_paneFolders[1]) == 0)
            break;
        last->generation = 0;
        total -= last->items.GetCount();
        m_folders.RemoveAt(m_folders.GetCount() - 1);
        FreeFolder(last);
    }
    ++m_generation;
}

void CPreviewQueue::Requeue(bool all)
{
    for (INT_PTR i = 0; i < m_folders.GetCount(); ++i)
        for (INT_PTR j = 0; j < m_folders[i]->items.GetCount(); ++j)
        {
            CPreviewInfo& item = *m_folders[i]->items[j];
            if (item.state == 0 || (!all && item.state != PREVIEW_NONE && item.state != PREVIEW_LOADING))
                continue;
            item.state = PREVIEW_QUEUED;
            item.kind = 0;
            FreeThumbnail(&item.thumbnail);
        }
}

CPreviewInfo* CPreviewQueue::FindQueued(CPreviewDirInfo** folder)
{
    for (INT_PTR i = 0; i < m_folders.GetCount(); ++i)
        for (INT_PTR j = 0; j < m_folders[i]->items.GetCount(); ++j)
            if (m_folders[i]->items[j]->state == PREVIEW_QUEUED)
            {
                if (folder)
                    *folder = m_folders[i];
                return m_folders[i]->items[j];
            }
    return nullptr;
}

CPreviewInfo* CPreviewQueue::Find(const CString& folder, const CString& name)
{
    for (INT_PTR i = 0; i < m_folders.GetCount(); ++i)
    {
        if (m_folders[i]->folder.CompareNoCase(folder) != 0)
            continue;
        for (INT_PTR j = 0; j < m_folders[i]->items.GetCount(); ++j)
        {
            CPreviewInfo* item = m_folders[i]->items[j];
            if (item->state != 0 && _wcsicmp(item->findData.cFileName, name) == 0)
                return item;
        }
    }
    return nullptr;
}
