// The delete worker: deletes the chosen entries and their directory trees, for good
// or into the recycle bin, asking about system, read-only and hidden files and about
// directories that still hold files.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "framework/FwThread.h"
#include "filer/PaneSelection.h"

class CWnd;
class CDirWalkFrame;

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
    int m_paneIndex = 0;
    volatile LONG m_cancel = 0;

    // The paths that could not be deleted, in the order they failed.
    CStringArray m_failedPaths;

    // 1 when a file lies somewhere below the directory; links are not followed.
    static int TreeHasFiles(LPCWSTR path);

private:
    // Per attribute kind (system 4, read-only 1, hidden 2): the answer and whether it
    // holds for the rest of the job.
    struct AttributeAnswer
    {
        int remove = 0;
        int same = 0;
    };

    BOOL IsWholeFolderRecycle() const { return m_toRecycleBin && m_wholeFolder && !m_keepDirectories; }
    BOOL IsVirtualEntry(const CFileInfo& entry) const;
    void HandleEntry(const CFileInfo& entry);
    void DeleteTree(const CString& path);
    void FinishDirectory(const CString& path);
    void RemoveLink(const CString& path);
    void DeleteOneFile(const CString& path, DWORD attributes);
    int AskAttributeDelete(const CString& path, int kind);
    int IsDirectoryEmpty(LPCWSTR path) const;
    int MoveToRecycleBin(LPCWSTR path);
    // Asks "削除に失敗しました続けますか"; Cancel stops the job.
    void ReportFailure(const CString& path);
    void ShowProgress(LPCWSTR text);
    void FreeFrames();

    AttributeAnswer m_answers[3];
    CDirWalkFrame* m_pFrames = nullptr;
};
