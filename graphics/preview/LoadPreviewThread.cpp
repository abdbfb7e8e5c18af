#include "app/NameSortKey.h"
#include "graphics/preview/LoadPreviewThread.h"

#include "app/FileProbes.h"
#include "util/Globals.h"
#include "app/records/LocalMemory.h"
#include "app/records/MediaKinds.h"
#include "archivefront/ArchiveFront.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/PreviewSize.h"
#include "app/settings/ViewSettings.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/preview/PreviewFolders.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

CLoadPreviewThread* g_pLoadPreviewThread = nullptr;
PreviewDecodeHooks g_PreviewDecodeHooks;

namespace
{
constexpr int kPreviewBackColor = 18;

CString JoinPath(const CString& folder, const CString& name)
{
    CString path = folder;
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'\\')
        path += L'\\';
    return path + name;
}

int Decode(LPCWSTR path, CPictureData& picture)
{
    if (g_PreviewDecodeHooks.decodePicture != nullptr)
        return g_PreviewDecodeHooks.decodePicture(path, picture);
    if (!HasExtension(path, L"BMP"))
        return -1;
    return picture.LoadBmp(path) ? 1 : 0;
}

// An archive member's error code for a cancel by the user.
constexpr DWORD kCancelledCode = 21;
} // namespace

CLoadPreviewThread::CLoadPreviewThread()
    : m_guard(CreateMutexW(nullptr, FALSE, nullptr)),
      // The wake-up of the last release must reach the loader even when it is not
      // yet waiting, so the event keeps its signal until taken.
      m_wakeEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_itemDoneEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    m_loadedMessage = RegisterWindowMessageW(L"WMSG_QV_PREVIEW_LOAD");
}

CLoadPreviewThread::~CLoadPreviewThread()
{
    if (m_thread != nullptr)
    {
        RequestStop();
        WaitForStop(INFINITE);
    }
    for (HANDLE handle : {m_guard, m_wakeEvent, m_itemDoneEvent})
        if (handle != nullptr)
            CloseHandle(handle);
}

void CLoadPreviewThread::AcquireReaderLock()
{
    for (;;)
    {
        {
            CHandleLock lock(m_guard);
            if (!m_busy)
            {
                ++m_readerCount;
                return;
            }
        }
        // A pulse missed between the release above and this wait costs 10 ms at most.
        WaitForSingleObject(m_itemDoneEvent, 10);
    }
}

void CLoadPreviewThread::ReleaseReaderLock()
{
    CHandleLock lock(m_guard);
    if (m_readerCount > 0 && --m_readerCount == 0)
        SetEvent(m_wakeEvent);
}

int CLoadPreviewThread::BeginItem()
{
    CHandleLock lock(m_guard);
    if (m_readerCount != 0)
        return 0;
    m_busy = 1;
    return 1;
}

void CLoadPreviewThread::EndItem()
{
    {
        CHandleLock lock(m_guard);
        m_busy = 0;
    }
    SetEvent(m_itemDoneEvent);
}

int CLoadPreviewThread::GetReaderCount()
{
    CHandleLock lock(m_guard);
    return m_readerCount;
}

void AcquirePreviewReaderLock()
{
    if (g_pLoadPreviewThread != nullptr)
        g_pLoadPreviewThread->AcquireReaderLock();
}

void ReleasePreviewReaderLock()
{
    if (g_pLoadPreviewThread != nullptr)
        g_pLoadPreviewThread->ReleaseReaderLock();
}

bool CLoadPreviewThread::Start()
{
    if (m_thread != nullptr)
        return true;
    InterlockedExchange(&m_stop, 0);
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    return m_thread != nullptr;
}

DWORD WINAPI CLoadPreviewThread::ThreadProc(LPVOID self)
{
    CLoadPreviewThread* loader = static_cast<CLoadPreviewThread*>(self);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
    while (InterlockedCompareExchange(&loader->m_stop, 0, 0) == 0)
    {
        if (loader->LoadNextPreview() == 2)
            Sleep(DWORD(std::max(0, g_PREVIEW_NEXT_FILE_SLEEP)));
        else
            WaitForSingleObject(loader->m_wakeEvent, INFINITE);
    }
    return 0;
}

void CLoadPreviewThread::RequestStop()
{
    InterlockedExchange(&m_stop, 1);
    SetEvent(m_wakeEvent);
}

bool CLoadPreviewThread::WaitForStop(DWORD timeout)
{
    if (m_thread == nullptr)
        return true;
    if (WaitForSingleObject(m_thread, timeout) != WAIT_OBJECT_0)
        return false;
    CloseHandle(m_thread);
    m_thread = nullptr;
    return true;
}

void CLoadPreviewThread::EndQueueing()
{
    m_queue.EndQueueing(g_MAX_PREVIEW_FILES);
    SetEvent(m_wakeEvent);
}

void CLoadPreviewThread::Requeue(bool all)
{
    AcquireReaderLock();
    m_queue.Requeue(all);
    ReleaseReaderLock();
    SetEvent(m_wakeEvent);
}

int CLoadPreviewThread::DecodeInto(const CString& path, CPreviewInfo& item)
{
    CPictureData picture;
    const int decoded = Decode(path, picture);
    if (decoded < 0)
        return -1;
    return decoded > 0 && FitInto(picture, item) ? 1 : 0;
}

bool CLoadPreviewThread::DecodeMemberInto(LPCWSTR name, const void* data, SIZE_T size, CPreviewInfo& item)
{
    if (g_PreviewDecodeHooks.decodeMemory == nullptr)
        return false;
    CPictureData picture;
    return g_PreviewDecodeHooks.decodeMemory(name, data, size, picture) > 0 && FitInto(picture, item);
}

bool CLoadPreviewThread::FitInto(CPictureData& picture, CPreviewInfo& item)
{
    if (!picture.IsValid())
        return false;
    SIZE_T headerSize = 0, bitsSize = 0;
    BITMAPINFO* header = picture.GetHeader();
    if (header == nullptr || !picture.GetHeaderSize(&headerSize) || !picture.GetBitsSize(&bitsSize))
        return false;
    Thumbnail thumbnail;
    if (!ScaleThumbnail(&header->bmiHeader, headerSize, picture.GetBits(), bitsSize, GetPreviewWidthScaled(),
                        GetPreviewHeightScaled(), g_DisplayColors[kPreviewBackColor], &thumbnail))
        return false;
    FreeThumbnail(&item.thumbnail);
    item.thumbnail = thumbnail;
    return true;
}

bool CLoadPreviewThread::LoadFolderItem(const CString& folder, CPreviewInfo& item)
{
    std::vector<CString> files;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileLong(JoinPath(folder, L"*.*"), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(data.cFileName);
    while (FindNextFileW(find, &data));
    FindCloseLong(find);
    std::sort(files.begin(), files.end(),
              [](const CString& a, const CString& b) { return CompareNamesForSort(a, b) < 0; });
    for (const CString& name : files)
        if (DecodeInto(JoinPath(folder, name), item) > 0)
            return true;
    return false;
}

int CLoadPreviewThread::LoadArchiveItem(const CString& path, CPreviewInfo& item)
{
    CArchiveFront front;
    // The front's plug-in hosts run on this thread inside an item: waiting for the
    // loader's own reader lock there would wait for ever.
    front.Reset();
    if (!front.OpenAndList(path, ARCFRONT_NO_ARCHIVER))
        return -1;
    std::vector<CArchiveFileInfo*> members;
    for (int i = 0, count = front.GetEntryCount(); i < count; ++i)
    {
        CArchiveFileInfo* member = nullptr;
        if (front.GetEntry(&member, i) && member != nullptr)
            members.push_back(member);
    }
    std::stable_sort(members.begin(), members.end(),
                     [](const CArchiveFileInfo* a, const CArchiveFileInfo* b) { return a->Compare(*b) < 0; });
    int found = 0;
    for (CArchiveFileInfo* member : members)
    {
        const LPCWSTR name = member->m_findData.cFileName;
        if ((member->m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsMovieKindFile(name) ||
            IsAudioKindFile(name))
            continue;
        // The plug-in goes by the name anyway: a member that no plug-in reads is not
        // pulled into memory at all.
        if (g_PreviewDecodeHooks.takesName == nullptr || !g_PreviewDecodeHooks.takesName(name))
            continue;
        void* buffer = nullptr;
        LONGLONG size = 0;
        // The member itself, not the first of its name: members may differ only in case.
        if (!front.ExtractToMemory(*member, &buffer, &size, nullptr))
        {
            if (front.m_errors.HasCode(kCancelledCode))
                break;
            continue;
        }
        item.kind = 1;
        const bool decoded =
            buffer != nullptr && size > 0 && DecodeMemberInto(name, buffer, SIZE_T(size), item);
        if (buffer != nullptr)
            LocalFreeLocked(buffer);
        if (decoded)
        {
            found = 1;
            break;
        }
    }
    front.Close();
    return found;
}

int CLoadPreviewThread::LoadNextPreview()
{
    if (!BeginItem())
        return 0;
    CPreviewDirInfo* folder = nullptr;
    CPreviewInfo* item = m_queue.FindQueued(&folder);
    if (item == nullptr)
    {
        EndItem();
        return 1;
    }
    {
        CHandleLock lock(m_guard);
        item->state = PREVIEW_LOADING;
        item->kind = 0;
    }
    const CString name = item->findData.cFileName;
    CString path = JoinPath(item->ownDirectory.IsEmpty() ? folder->folder : item->ownDirectory, name);
    if (HasExtension(name, L"LNK"))
    {
        CString target, arguments, workingDirectory;
        if (ReadShortcut(JoinPath(folder->folder, name), &target, &arguments, &workingDirectory) &&
            !target.IsEmpty())
            path = target;
    }
    const DWORD attributes = item->findData.dwFileAttributes;
    const bool dots = name == L"." || name == L"..";
    bool loaded = false;
    if (!dots && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        item->kind = 2;
        loaded = LoadFolderItem(path, *item);
    }
    else if (!dots)
    {
        const int decoded = DecodeInto(path, *item);
        // A file that no image plug-in takes may be an archive of pictures.
        loaded = decoded > 0 || (decoded < 0 && LoadArchiveItem(path, *item) > 0);
    }
    bool post = false;
    {
        CHandleLock lock(m_guard);
        item->state = loaded ? PREVIEW_READY : PREVIEW_NONE;
        post = loaded;
    }
    if (post && m_notifyWindow != nullptr && IsWindow(m_notifyWindow))
        PostMessageW(m_notifyWindow, m_loadedMessage, 0, 0);
    EndItem();
    return 2;
}

bool CLoadPreviewThread::IsPreviewDirectory(const CString& folder, BYTE* type) const
{
    return ::IsPreviewDirectory(g_PreviewSettings, folder, type);
}

void CLoadPreviewThread::EnablePreviewDirectory(const CString& folder, BYTE type)
{
    ::EnablePreviewDirectory(g_PreviewSettings, folder, type);
}

void CLoadPreviewThread::DisablePreviewDirectory(const CString& folder, bool anyType)
{
    ::DisablePreviewDirectory(g_PreviewSettings, folder, anyType);
}

void CLoadPreviewThread::TogglePreviewTree(const CString& folder)
{
    ::TogglePreviewTree(g_PreviewSettings, folder);
}

bool CLoadPreviewThread::IsDisplayedKind(LPCWSTR name) const
{
    CHandleLock lock(g_DataMutex);
    const CStringArray& kinds = g_PreviewSettings.displayKinds;
    for (INT_PTR i = 0; i < kinds.GetSize(); ++i)
        if (!kinds[i].IsEmpty() && HasExtension(name, kinds[i]))
            return true;
    return false;
}

void CLoadPreviewThread::GetDirectoryLists(CArray<CPreviewEnableDirInfo>& enabled,
                                           CStringArray& disabled) const
{
    CHandleLock lock(g_DataMutex);
    enabled.Copy(g_PreviewSettings.enabledDirs);
    disabled.Copy(g_PreviewSettings.disabledDirs);
}

void CLoadPreviewThread::SetDirectoryLists(const CArray<CPreviewEnableDirInfo>& enabled,
                                           const CStringArray& disabled)
{
    CHandleLock lock(g_DataMutex);
    g_PreviewSettings.enabledDirs.Copy(enabled);
    g_PreviewSettings.disabledDirs.Copy(disabled);
}

void CLoadPreviewThread::GetDisplayedKinds(CStringArray& out) const
{
    CHandleLock lock(g_DataMutex);
    out.Copy(g_PreviewSettings.displayKinds);
}

void CLoadPreviewThread::SetDisplayedKinds(const CStringArray& kinds)
{
    CHandleLock lock(g_DataMutex);
    g_PreviewSettings.displayKinds.Copy(kinds);
}
