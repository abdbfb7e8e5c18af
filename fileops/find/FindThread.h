// The file-search worker: walks a tree from a start directory and hands over every
// entry whose name matches the pattern, that meets the conditions and, with a search
// text, whose contents hold that text in one of up to five character codes. In
// dialog mode the finds go into the worker's own array, kept in the chosen order, and
// to the sink (the search dialog's list) at their place; in pane mode only to the
// sink (a pane's find results). The directory being searched is published in
// m_progress for the dialog to show.
#pragma once
#include <windows.h>
#include "app/ProgressInfo.h"
#include "filer/FileInfo.h"
#include "filer/FindCondition.h"
#include "filer/FindWorkerLink.h"
#include "fileops/find/ContentScan.h"
#include "app/records/WalkPathGuard.h"
#include "framework/FwString.h"

#include <string>

enum
{
    FIND_MODE_DIALOG = 0,
    FIND_MODE_PANE = 1,
};

// Sort keys of the dialog's result list.
enum
{
    FIND_SORT_NONE = 0,
    FIND_SORT_NAME = 1,
    FIND_SORT_DIRECTORY = 2,
    FIND_SORT_SIZE = 3,
    FIND_SORT_DATE = 4,
};

// The display the search publishes in its progress record.
enum FindDisplay
{
    FIND_SHOW_DIRECTORY = 0, // the directory being searched
};

class CFindThread : public CFindThreadBase
{
public:
    CFindThread();
    ~CFindThread() override;

    // The whole search; the thread ends with exit code 0.
    BOOL InitInstance() override;
    int ExitInstance() override;

    // Reorders the results by the key and shows them all again through the sink
    // (dialog mode); the same key again reverses the order.
    void SortResults(int key);
    // blocking 0: polls while dispatching this thread's messages, for the thread that
    // owns the result list (the sink's list calls wait for it).
    void LockResults(BOOL blocking);
    void UnlockResults();
    // -1, 0 or +1 as the list orders this entry against the other by the key.
    static int CompareForList(CFileInfo& entry, CFileInfo& other, int key, BOOL descending);

    // Converts the search text for the set encodings (done by InitInstance).
    void BuildPatterns();
    // 1 when a filled slot occurs in the entry's file.
    int ScanFileContents(const CFileInfo& entry);

    int m_mode = FIND_MODE_DIALOG;
    CString m_pattern;
    CString m_startDirectory;   // as typed
    CString m_baseDirectory;    // what a relative start directory is resolved against
    int m_paneIndex = -1;       // the pane a relative start directory is resolved against
    HWND m_hOwnerDlg = nullptr; // dialog mode: receives IDM_WORKER_DONE at the end
    FindCondition m_condition;
    CString m_searchText;
    // In slot order: system ANSI code page, EUC, UTF-16, JIS, UTF-8.
    int m_encodingFlags[FIND_SLOT_COUNT] = {1, 0, 0, 0, 0};
    CContentPatterns m_patterns;
    CArrayFileInfo m_results;
    int m_sortKey = FIND_SORT_NONE;
    BOOL m_descending = FALSE;
    HANDLE m_mutex;
    CProgressInfo m_progress;

private:
    void WalkDirectory(const CFileInfo& directory);
    // Hands a find over to the results, after the find of the file the second
    // scanner holds, if that comes first in the walk.
    void ReportFind(const CFileInfo& entry);
    // Into the results in dialog mode, to the sink in pane mode.
    void AddFind(const CFileInfo& entry);
    void AddResultSorted(const CFileInfo& entry);
    void ShowCurrentDirectory(const CFileInfo& directory);

    // A second scanner on a thread of its own: a large file's contents are scanned
    // there while the walk goes on with the next entries, and its find is reported
    // in the walk's order. One file at a time.
    // TRUE when the second scanner took the entry's file.
    BOOL HandToSecondScanner(const CFileInfo& entry);
    // Waits for the file handed over, then reports it if it holds the text.
    void ReportHandedOver();
    void EndSecondScanner();
    static DWORD WINAPI SecondScannerMain(void* self);
    void RunSecondScanner();

    CWalkPathGuard m_walkPath;

    HANDLE m_scanner = nullptr;
    SRWLOCK m_scannerLock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_scannerWake = CONDITION_VARIABLE_INIT;
    CONDITION_VARIABLE m_scannerDone = CONDITION_VARIABLE_INIT;
    std::wstring m_scannerPath; // the file handed over (real path)
    BOOL m_scannerBusy = FALSE;
    BOOL m_scannerQuit = FALSE;
    int m_scannerFound = 0;
    // The entry handed over whose verdict is not yet reported.
    BOOL m_handedOver = FALSE;
    CFileInfo m_handedOverEntry;
};

// A new CFindThread: the worker of the panes' searches (g_FindWorkerHooks.createFindThread).
CFindThreadBase* CreateFindThread();
