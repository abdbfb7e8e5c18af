#include "fileops/find/FindThread.h"

#include <stdlib.h>

#include <vector>

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "util/WorkerMessages.h"
#include "filer/EntryFind.h"
#include "framework/FwLock.h"

namespace
{

// Files from this size on go to the second scanner when it is free: handing a file
// over costs more than reading a small one.
const ULONGLONG kSecondScannerMinSize = 256 * 1024;

// The qsort callback's key and direction; sorting happens on the dialog's thread only.
int g_findSortKey = FIND_SORT_NONE;
BOOL g_findSortDescending = FALSE;

int CompareFindResults(const void* a, const void* b)
{
    return CFindThread::CompareForList(*const_cast<CFileInfo*>(static_cast<const CFileInfo*>(a)),
                                       *const_cast<CFileInfo*>(static_cast<const CFileInfo*>(b)),
                                       g_findSortKey, g_findSortDescending);
}

} // namespace

CFindThreadBase* CreateFindThread()
{
    return new CFindThread;
}

CFindThread::CFindThread() : m_mutex(CreateMutexW(nullptr, FALSE, nullptr))
{
    InitFindCondition(m_condition);
}

CFindThread::~CFindThread()
{
    EndSecondScanner();
    if (m_mutex)
        CloseHandle(m_mutex);
}

int CFindThread::ExitInstance()
{
    return CFindThreadBase::ExitInstance();
}

void CFindThread::BuildPatterns()
{
    m_patterns.Build(m_searchText, m_encodingFlags);
}

BOOL CFindThread::InitInstance()
{
    if (!m_searchText.IsEmpty())
        BuildPatterns();
    if (m_mode == FIND_MODE_DIALOG && m_sink != nullptr)
    {
        CHandleLock lock(m_mutex);
        m_sink->ShowFinds(m_results);
    }
    CString start;
    CombinePath(m_baseDirectory, m_startDirectory, start, m_paneIndex);
    RemoveTrailingBackslash(start);
    CFileInfo root;
    root.SetFromPath(nullptr, start);
    WalkDirectory(root);
    ReportHandedOver();
    EndSecondScanner();
    if (m_mode == FIND_MODE_DIALOG && m_hOwnerDlg)
        PostMessageW(m_hOwnerDlg, WM_COMMAND, IDM_WORKER_DONE, 0);
    return FALSE;
}

void CFindThread::ShowCurrentDirectory(const CFileInfo& directory)
{
    if (m_mode == FIND_MODE_DIALOG)
        m_progress.SetDisplay(FIND_SHOW_DIRECTORY, directory.GetRealFullPath());
}

void CFindThread::WalkDirectory(const CFileInfo& directory)
{
    CWalkPathStep step(m_walkPath, directory.GetRealFullPath());
    if (!step.entered)
        return;
    ShowCurrentDirectory(directory);

    // With the pattern the sub-directories are listed by, the walk goes into them from
    // the one listing rather than reading the directory a second time.
    const bool everyName = m_pattern == L"*.*";
    std::vector<CFileInfo> subdirectories;
    CFileInfo entry;
    CEntryFind* find = directory.FindFirstChild(m_pattern, entry);
    for (int more = find != nullptr; more; more = FindNextEntry(find, entry))
    {
        if (m_stop)
            break;
        if (everyName && entry.m_entryClass == ENTRY_CLASS_DIRECTORY)
            subdirectories.push_back(entry);
        if (entry.m_entryClass != ENTRY_CLASS_FILE && entry.m_entryClass != ENTRY_CLASS_DIRECTORY)
            continue;
        if (!entry.MatchesFindCondition(&m_condition))
            continue;
        if (m_patterns.GetCount() > 0 && (HandToSecondScanner(entry) || !ScanFileContents(entry)))
            continue;
        ReportFind(entry);
    }
    CloseEntryFind(find);

    if (everyName)
    {
        for (const CFileInfo& subdirectory : subdirectories)
        {
            if (m_stop)
                break;
            WalkDirectory(subdirectory);
        }
        return;
    }
    find = directory.FindFirstChild(L"*.*", entry);
    for (int more = find != nullptr; more; more = FindNextEntry(find, entry))
    {
        if (m_stop)
            break;
        if (entry.m_entryClass == ENTRY_CLASS_DIRECTORY)
            WalkDirectory(entry);
    }
    CloseEntryFind(find);
}

int CFindThread::ScanFileContents(const CFileInfo& entry)
{
    if (entry.IsDirectory())
        return 0;
    // The real path: a virtual drive's entry is listed under its drive letter, which
    // names no file the system can open.
    HANDLE file = CreateFileLong(entry.GetRealFullPath(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    int found = m_patterns.ScanHandle(file, &m_stop);
    CloseHandle(file);
    return found;
}

void CFindThread::ReportFind(const CFileInfo& entry)
{
    ReportHandedOver();
    AddFind(entry);
}

void CFindThread::AddFind(const CFileInfo& entry)
{
    if (m_mode == FIND_MODE_DIALOG)
        AddResultSorted(entry);
    else if (m_sink != nullptr)
        m_sink->AddFind(-1, entry);
}

BOOL CFindThread::HandToSecondScanner(const CFileInfo& entry)
{
    if (entry.IsDirectory() || entry.m_size < kSecondScannerMinSize)
        return FALSE;
    if (m_handedOver)
    {
        AcquireSRWLockExclusive(&m_scannerLock);
        const BOOL busy = m_scannerBusy;
        ReleaseSRWLockExclusive(&m_scannerLock);
        if (busy)
            return FALSE;
        ReportHandedOver();
    }
    if (m_scanner == nullptr)
    {
        m_scanner = ::CreateThread(nullptr, 0, SecondScannerMain, this, 0, nullptr);
        if (m_scanner == nullptr)
            return FALSE;
    }
    AcquireSRWLockExclusive(&m_scannerLock);
    m_scannerPath = static_cast<LPCWSTR>(entry.GetRealFullPath());
    m_scannerBusy = TRUE;
    WakeConditionVariable(&m_scannerWake);
    ReleaseSRWLockExclusive(&m_scannerLock);
    m_handedOver = TRUE;
    m_handedOverEntry = entry;
    return TRUE;
}

void CFindThread::ReportHandedOver()
{
    if (!m_handedOver)
        return;
    AcquireSRWLockExclusive(&m_scannerLock);
    while (m_scannerBusy)
        SleepConditionVariableSRW(&m_scannerDone, &m_scannerLock, INFINITE, 0);
    const int found = m_scannerFound;
    ReleaseSRWLockExclusive(&m_scannerLock);
    m_handedOver = FALSE;
    if (found)
        AddFind(m_handedOverEntry);
}

void CFindThread::EndSecondScanner()
{
    if (m_scanner == nullptr)
        return;
    AcquireSRWLockExclusive(&m_scannerLock);
    m_scannerQuit = TRUE;
    WakeConditionVariable(&m_scannerWake);
    ReleaseSRWLockExclusive(&m_scannerLock);
    WaitForSingleObject(m_scanner, INFINITE);
    CloseHandle(m_scanner);
    m_scanner = nullptr;
    m_scannerQuit = FALSE;
    m_scannerBusy = FALSE;
    m_handedOver = FALSE;
}

DWORD WINAPI CFindThread::SecondScannerMain(void* self)
{
    static_cast<CFindThread*>(self)->RunSecondScanner();
    return 0;
}

void CFindThread::RunSecondScanner()
{
    AcquireSRWLockExclusive(&m_scannerLock);
    for (;;)
    {
        while (!m_scannerQuit && !m_scannerBusy)
            SleepConditionVariableSRW(&m_scannerWake, &m_scannerLock, INFINITE, 0);
        if (m_scannerQuit)
            break;
        const std::wstring path = m_scannerPath;
        ReleaseSRWLockExclusive(&m_scannerLock);
        int found = 0;
        HANDLE file = CreateFileLong(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            found = m_patterns.ScanHandle(file, &m_stop);
            CloseHandle(file);
        }
        AcquireSRWLockExclusive(&m_scannerLock);
        m_scannerFound = found;
        m_scannerBusy = FALSE;
        WakeConditionVariable(&m_scannerDone);
    }
    ReleaseSRWLockExclusive(&m_scannerLock);
}

int CFindThread::CompareForList(CFileInfo& entry, CFileInfo& other, int key, BOOL descending)
{
    int answer = COMPARE_EQUAL;
    switch (key)
    {
    case FIND_SORT_NAME:
        answer = entry.CompareBy(COMPARE_BASE_NAME, other);
        break;
    case FIND_SORT_DIRECTORY:
        answer = entry.CompareBy(COMPARE_COMPONENTS_1, other);
        if (answer == COMPARE_EQUAL)
            answer = entry.CompareBy(COMPARE_BASE_NAME, other);
        break;
    case FIND_SORT_SIZE:
        answer = entry.CompareBy(COMPARE_SIZE, other);
        break;
    case FIND_SORT_DATE:
        answer = entry.CompareBy(COMPARE_WRITE_TIME, other);
        break;
    default:
        return 0;
    }
    int result = answer == COMPARE_LESS ? 1 : answer == COMPARE_GREATER ? -1 : 0;
    return descending ? -result : result;
}

void CFindThread::AddResultSorted(const CFileInfo& entry)
{
    CHandleLock lock(m_mutex);
    INT_PTR last = m_results.AddEntry(entry);
    INT_PTR index = last;
    if (m_sortKey != FIND_SORT_NONE)
    {
        for (INT_PTR i = 0; i <= last; ++i)
        {
            if (CompareForList(m_results[last], m_results[i], m_sortKey, m_descending) < 0)
            {
                index = i;
                break;
            }
        }
        for (INT_PTR i = last; i > index; --i)
            m_results.SwapEntries(i, i - 1);
    }
    if (m_sink != nullptr)
        m_sink->AddFind(static_cast<int>(index), m_results[index]);
}

void CFindThread::LockResults(BOOL blocking)
{
    if (blocking)
    {
        WaitForSingleObject(m_mutex, INFINITE);
        return;
    }
    while (WaitForSingleObject(m_mutex, 0) == WAIT_TIMEOUT)
    {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        else
            Sleep(1);
    }
}

void CFindThread::UnlockResults()
{
    ReleaseMutex(m_mutex);
}

void CFindThread::SortResults(int key)
{
    if (m_mode != FIND_MODE_DIALOG)
        return;
    LockResults(FALSE);
    if (key == m_sortKey)
        m_descending = !m_descending;
    else
        m_sortKey = key;
    g_findSortKey = m_sortKey;
    g_findSortDescending = m_descending;
    // Raw moves are safe here: the records stay valid at any address.
    qsort(m_results.GetData(), m_results.GetSize(), sizeof(CFileInfo), CompareFindResults);
    if (m_sink != nullptr)
        m_sink->ShowFinds(m_results);
    UnlockResults();
}
