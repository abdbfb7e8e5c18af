// The directory-size survey: a worker counts the directories, files and bytes below
// the entries a command acts on, and a modal dialog shows the totals; with the
// continuous survey the cursor keys end the dialog with their keyword so that the
// command can move the cursor and open the next one.
#pragma once
#include <windows.h>
#include <vector>
#include "framework/FwDialog.h"
#include "framework/FwString.h"
#include "framework/FwThread.h"
#include "filer/FileInfo.h"
#include "app/records/WalkPathGuard.h"

// The totals of one count.
struct DirectorySizeTotals
{
    int directories = 0;
    int files = 0;
    ULONGLONG bytes = 0;
};

class CCalDirectoryThread : public CWinThread
{
public:
    CCalDirectoryThread() { m_bAutoDelete = FALSE; }

    // Counts m_entries, posts IDM_WORKER_DONE to the dialog and ends with exit code
    // 0; m_complete tells whether the totals are whole (not stopped).
    BOOL InitInstance() override;

    // Adds the entries (and everything below the directories among them) to the
    // totals; returns FALSE when stopped.
    BOOL CountSelection(const CArrayFileInfo& entries);
    // Adds the directory itself and everything below it. A directory link is walked
    // like a directory, but a directory already on the current walk path is counted
    // and not entered again, so a link cycle ends.
    BOOL CountTree(const CFileInfo& directory);

    HWND m_dialog = nullptr;  // receives IDM_WORKER_DONE, or null
    CArrayFileInfo m_entries; // the entries to count, set before the thread starts
    volatile LONG m_stop = 0;
    DirectorySizeTotals m_totals;
    BOOL m_complete = FALSE;

private:
    BOOL CountChildren(const CFileInfo& directory);
    CWalkPathGuard m_walkPath;
};

// The running worker of the one directory-size dialog, or null.
extern CCalDirectoryThread* g_pCalDirectoryThread;

class CDirectorySizeDlg : public CDialog
{
public:
    explicit CDirectorySizeDlg(CWnd* pParent = nullptr);

    int m_paneIndex = 0;
    // The cursor keyword that ended the dialog; empty otherwise.
    CString m_cursorKeyword;

    // Sets the worker's stop flag, waits for its end and deletes it. Dispatches the
    // messages sent to this thread meanwhile, so that nothing the worker sends to a
    // window of this thread can hold it up.
    void StopWorker();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

private:
    BOOL HasMarkedEntries() const;
    // Shows the worker's totals when it counted to the end.
    void ShowTotals(const CCalDirectoryThread& worker);
};

// 1 when the keyword is one of the ten cursor keywords (case ignored).
int IsCursorKeyword(LPCWSTR keyword);
