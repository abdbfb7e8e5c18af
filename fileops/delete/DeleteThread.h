// The delete worker: deletes the chosen entries and their directory trees, for good
// or into the recycle bin, asking about system, read-only and hidden files and about
// directories that still hold files. The entry being deleted is published in
// m_progress for the dialog to show.
#pragma once
#include <windows.h>
#include <vector>
#include "app/EngineAnswer.h"
#include "app/ProgressInfo.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "framework/FwThread.h"
#include "filer/PaneSelection.h"

class CWnd;
class CDirWalkFrame;

// The display the worker publishes in its progress record.
enum DeleteDisplay
{
    DELETE_SHOW_NAME = 0, // the entry being deleted (its path below the selection)
};

class CDeleteThread : public CWinThread
{
public:
    CDeleteThread() { m_bAutoDelete = FALSE; }
    ~CDeleteThread() override;

    // The whole job on the worker's thread; posts IDM_WORKER_DONE or IDM_WORKER_FAILED
    // to the dialog and ends with exit code 0 or -1.
    BOOL InitInstance() override;
    // The whole job on the calling thread: 0 when every entry was handled, -1 when the
    // job was cancelled (by the dialog or by the user after a failure).
    int RunJob();

    CWnd* m_pDialog = nullptr; // gets the posts and owns the questions; may be null
    CSelectedEntryList* m_pSelection = nullptr;
    int m_toRecycleBin = 0;
    int m_wholeFolder = 0;
    int m_warnNotEmpty = 0;
    int m_keepDirectories = 0;
    volatile LONG m_cancel = 0;
    CProgressInfo m_progress;

    // The paths that could not be deleted, in the order they failed.
    CStringArray m_failedPaths;
    // Entries that stay: skipped by the user's answer or failed. A directory that
    // keeps contents for one of these is not a failure of its own.
    LONG m_keptCount = 0;

    // 1 when a file lies somewhere below the directory; links are not followed.
    static int TreeHasFiles(LPCWSTR path);

private:
    BOOL IsWholeFolderRecycle() const { return m_toRecycleBin && m_wholeFolder && !m_keepDirectories; }
    BOOL IsVirtualEntry(const CFileInfo& entry) const;
    void HandleEntry(const CFileInfo& entry);
    void DeleteTree(const CString& path);
    // The steps of the walk of a tree; `keptBefore` holds, per open frame, the count of
    // entries that stayed before it was entered.
    BOOL NextTreeChild(CDirWalkFrame& frame, CFileInfo& child);
    void LeaveTreeFrame(std::vector<LONG>& keptBefore);
    void DeleteTreeChild(CDirWalkFrame* frame, const CFileInfo& child, std::vector<LONG>& keptBefore);
    // Removes a walked directory; `contentsKept`: an entry below it stays by the user's
    // answer or its own reported failure.
    void FinishDirectory(const CString& path, BOOL contentsKept);
    // The process's current directory lets go of a directory about to be deleted:
    // it moves to the chosen entry's folder when it stands in the directory or below.
    static void LeaveProcessDirectory(const CString& directory, const CString& base);
    void RemoveLink(const CString& path);
    void DeleteOneFile(const CString& path, DWORD attributes);
    // The user's answer about deleting a file of the attribute kind: go on (delete)
    // or skip, for this file or for the rest of the job.
    EngineAnswer AskAttributeDelete(const CString& path, int kind);
    int IsDirectoryEmpty(LPCWSTR path) const;
    int MoveToRecycleBin(LPCWSTR path);
    // Asks "削除に失敗しました続けますか"; Cancel stops the job.
    void ReportFailure(const CString& path);
    // The same for a directory that stays, naming it.
    void ReportDirectoryFailure(const CString& path);
    void ShowProgress(LPCWSTR text);
    void FreeFrames();

    // Per attribute kind (system, read-only, hidden): the last answer.
    EngineAnswer m_answers[3] = {ANSWER_GO_ON, ANSWER_GO_ON, ANSWER_GO_ON};
    CDirWalkFrame* m_pFrames = nullptr;
};
