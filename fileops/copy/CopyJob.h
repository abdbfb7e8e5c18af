// The worker of one copy or move job: it walks the selected entries and their trees,
// decides per file where it goes and what happens when the name is taken, renames
// within one volume and copies across volumes, removes the sources of moves only
// when their copies are complete, and asks on failures or writes them into the copy
// log. It never touches a window of its dialog: progress goes to m_progress (the
// copier's displays and the job's own below), which the dialog takes on its timer,
// and every question goes through the dialogs' answer hook on the worker's thread.
// The results (the copy log) are read from the job after its end.
#pragma once
#include <windows.h>
#include <optional>
#include <vector>
#include "app/EngineAnswer.h"
#include "app/ProgressInfo.h"
#include "app/records/PaneRecords.h"
#include "filer/PaneSelection.h"
#include "fileops/copy/FileCopier.h"
#include "framework/FwCollections.h"
#include "framework/FwThread.h"

class CWnd;
class CVirtualFolderStore;

// The kind of a copy job; MOVE, UP_MOVE, NEGLECT_DIR and DROP_MOVE move.
enum CopyOperation
{
    COPY = 0,
    MOVE = 1,
    UP_MOVE = 2,     // the contents of the selected directories, with their trees
    NEGLECT_DIR = 3, // every file of the selected trees, flat into the destination
    DROP_COPY = 4,   // dropped files; starts without OK
    COPY_TO_ALL = 5, // into each selected directory of the other pane
    SYNCRO_COPY = 6, // log tag of the synchronisation only
    DROP_MOVE = 7,   // dropped files; starts without OK
    DROP_LINK = 8,   // log tag only: a link drop runs as DROP_COPY
    COPY_OPERATION_COUNT
};

// The rule for a file whose name is taken at the destination (the radio order of
// the conflict dialog).
enum CopyConflictRule
{
    COPY_RULE_NEWER = 0,
    COPY_RULE_OLDER = 1,
    COPY_RULE_LARGER = 2,
    COPY_RULE_RENAME = 3,
    COPY_RULE_NUMBERED = 4,
    COPY_RULE_SKIP = 5,
    COPY_RULE_OVERWRITE = 6,
};

// The displays a copy job publishes in its progress record beside the copier's.
enum CopyJobDisplay
{
    COPY_SHOW_CURRENT = COPIER_SHOW_COUNT, // the entry taken: its path below the selection, or its name
    COPY_SHOW_DESTINATION,                 // COPY_TO_ALL: the target directory taken
    COPY_SHOW_FREE,                        // free bytes at the destination
    COPY_SHOW_START_TIME,                  // "hh:mm:ss" at which the job began
    COPY_SHOW_JOB_FILES,                   // "counted/total" files (with the job progress only)
    COPY_SHOW_RUNNING,                     // value 1 once the job runs: its options are closed
};

BOOL IsMovingOperation(int kind);
// The log tag ("COPY", "MOVE" ...) and the dialog caption of a kind.
LPCWSTR GetCopyOperationTag(int kind);
LPCWSTR GetCopyOperationCaption(int kind);

// 1 when `destination` is the directory `directory` or lies inside it, however either is
// spelt (letter case, short names, a closing dot): the text first, then the file identity
// of each existing folder from `destination` up to its root.
BOOL IsPathInsideDirectory(LPCWSTR destination, LPCWSTR directory);
// 1 when the two paths name one and the same file or directory, however spelt (short
// names, links, letter case): same volume and same file index.
BOOL IsSameFileObject(LPCWSTR a, LPCWSTR b);
// A failure question of the copy job: the lead text, then the path that failed and,
// in brackets, the operation (when one is named) and the system's error code, so that
// the bare code never stands alone. A detail, when given, stands on its own line
// between the path and the code.
CString FormatCopyFailure(LPCWSTR lead, LPCWSTR path, LPCWSTR operation, DWORD error,
                          LPCWSTR detail = nullptr);

class CCopyDlgThread : public CWinThread
{
public:
    CCopyDlgThread();
    ~CCopyDlgThread() override;

    // ---- Inputs (set before the job starts) -------------------------------------
    // The copy dialog: the parent of the questions and the receiver of the end
    // message; null when run without a window.
    CWnd* m_pOwner = nullptr;
    int m_kind = COPY;
    int m_sourcePane = 0;
    CSelectedEntryList m_source;
    CSelectedEntryList m_targets; // COPY_TO_ALL: the other pane's marked directories
    CStringArray m_targetPatterns;
    CStringArray m_excludedPatterns;
    BOOL m_writeLog = FALSE;
    // The destination as the user typed it in the dialog.
    CString m_destinationText;

    volatile LONG m_stop = 0;
    CProgressInfo m_progress;

    // ---- The job ----------------------------------------------------------------
    BOOL InitInstance() override;
    int ExitInstance() override;
    // Runs the whole job on the calling thread: 1 when every entry was dealt with,
    // 0 when it ended early (stopped, cancelled, refused).
    int RunJob();

    // The conflict question; 1 after OK, 0 after Cancel. `entry` null: asked before
    // a logged job starts, without a file.
    int AskCopyWay(const CFileInfo* entry, LPCWSTR directory, const WIN32_FIND_DATAW* existing);

    // ---- State, readable after the job --------------------------------------------
    CString m_destination;
    CString m_logName; // "COPY_ERROR_....log" once logging began
    BOOL m_logWritten = FALSE;
    LONGLONG m_totalBytes = 0;
    int m_totalFiles = 0;
    LONGLONG m_finishedBytes = 0;
    int m_filesCounted = 0;
    BOOL m_showJobProgress = FALSE;
    // The conflict state of the job.
    BOOL m_firstQuestion = TRUE;
    int m_rule = COPY_RULE_NEWER;
    // ANSWER_SAME_FOR_REST: later conflicts take m_rule without a question.
    EngineAnswer m_conflictAnswer = ANSWER_GO_ON;
    int m_noCopyAttributes = 0;
    int m_noCopyDateTime = 0;
    CFileCopier m_copier;

private:
    // The place one file goes: its path, and what was found there under its name.
    struct CFileTarget
    {
        CString path;
        WIN32_FIND_DATAW existing{};
        // A file (not a directory) of that name is there, to be replaced or left.
        BOOL exists = FALSE;
    };

    // The steps of the job and of one entry return 1 go on, 0 failed or declined (the
    // caller decides whether to ask), 2 stop the job. A step after which the entry may
    // still go on to the next step returns no value when it did not settle it.
    int PrepareJob();
    int NextTargetDirectory();
    int NextEntry();
    int ProcessEntry();
    int ProcessDirectory(const CFileInfo& entry);
    std::optional<int> MoveDirectoryByRename(const CFileInfo& entry, BOOL isLink, LPCWSTR source,
                                             LPCWSTR target);
    // Makes sure of a directory's target before its walk; `created`: this job made it.
    std::optional<int> MakeWalkTarget(const CFileInfo& entry, LPCWSTR target, BOOL& created);
    void PushWalkFrame(const CFileInfo& entry, LPCWSTR source, LPCWSTR target, BOOL created);
    int CopyFileEntry(LPCWSTR targetDirectory, const CFileInfo& entry);
    // Looks for the target's name: TRUE when an entry answers to it (`existing` then
    // holds it, and `exists` says whether it is a file).
    BOOL LookUpTarget(CFileTarget& target);
    void CountFileTaken();
    int PassOverShortNameClash(const CFileInfo& entry, const CFileTarget& target);
    int AddToVirtualFolder(const CFileInfo& entry, LPCWSTR targetDirectory, LPCWSTR path,
                           CVirtualFolderStore& store);
    // A move within one volume; `nameTaken`: the file came through the conflict rules.
    std::optional<int> MoveByRename(const CFileInfo& entry, const CFileTarget& target,
                                    LPCWSTR targetDirectory, BOOL nameTaken);
    // The name is taken by a file: the question, the rule, and a move by renaming.
    std::optional<int> SettleConflict(const CFileInfo& entry, LPCWSTR targetDirectory, CFileTarget& target);
    std::optional<int> TakeTypedName(const CFileInfo& entry, LPCWSTR targetDirectory, CFileTarget& target);
    std::optional<int> TakeNumberedName(const CFileInfo& entry, LPCWSTR targetDirectory, CFileTarget& target);
    void TakeFreeName(CFileTarget& target, LPCWSTR path);
    int LeaveExisting(const CFileInfo& entry, LPCWSTR targetDirectory);
    BOOL IsReplacingItself(LPCWSTR path, const CFileInfo& entry) const;
    int CopyOneFile(const CFileInfo& entry, const WIN32_FIND_DATAW* existing, LPCWSTR path,
                    LPCWSTR targetDirectory, int& copied);
    // 1 once the file fits, 0 when the user gives up waiting for room.
    int WaitForFreeSpace(LPCWSTR path, LONGLONG existingSize, LONGLONG size);
    int ReportCopierFailure();
    int ApplyNoCopyActions(const CFileInfo& entry, LPCWSTR targetDirectory);
    int MoveOverExisting(const CFileInfo& entry, LPCWSTR path, BOOL replace, DWORD& error);
    int RemoveMovedSource(const CFileInfo& entry);
    int CopyLinkItself(const CFileInfo& entry, LPCWSTR target);
    int EnsureDirectory(LPCWSTR path, const CFileInfo* entry, int* pContinue);
    // TRUE while the walk is inside a target directory this job made itself.
    BOOL InFreshTarget() const;
    // Makes the directory `path` in such a target with the attributes of `entry`; FALSE
    // when it could not be made there (it is then looked at like any other).
    BOOL MakeDirectoryInFreshTarget(LPCWSTR path, const CFileInfo& entry);
    int WriteCopyLog(LPCWSTR operation, DWORD error, LPCWSTR path, LPCWSTR name = nullptr);
    // Logs the failure or asks `question`: 1 go on, 0 stop.
    int ReportFailure(LPCWSTR operation, DWORD error, LPCWSTR path, LPCWSTR question);
    // Keeps the failing step (operation name, error code, path and a line that says
    // more) for the question that follows it.
    void NoteFailure(LPCWSTR operation, DWORD error, LPCWSTR path, LPCWSTR detail = nullptr);
    // Asks `text` with OK and Cancel (nothing once stopped): 1 after OK, else 0.
    int Ask(LPCWSTR text);
    int IsCopyIntoItself();
    BOOL MatchesFilter(LPCWSTR name) const;
    int NextWalkEntry();
    int NextTopEntry();
    void FinishWalkedDirectory();
    // Removes a walked directory that a move emptied (or its entry of a virtual folder).
    void RemoveMovedDirectory(const CString& path);
    void PopFrame();
    void ClearWalk();
    void CountJob();
    void CountTree(LPCWSTR directory);
    void CountSkipped(const CFileInfo& entry);
    void ShowTotals();
    void ShowFreeSpace(LPCWSTR path, BOOL force = FALSE);
    void ShowCurrent(LPCWSTR text);
    void BeginRunning();
    CString RelativeTargetDirectory() const;
    CString CurrentRelativeName(const CFileInfo& entry) const;
    HWND OwnerWindow() const;

    CFileInfo m_current;
    INT_PTR m_sourcePosition = 0;
    INT_PTR m_targetPosition = 0;
    BOOL m_walking = FALSE;
    BOOL m_started = FALSE;
    CDirWalkFrame* m_walkTop = nullptr;
    int m_topNameLength = 0;
    // Per level of the walk: the first entry the enumeration delivered, and whether
    // this job created the level's target directory (only then does it take the
    // source directory's times).
    std::vector<CFileInfo> m_pendingEntries;
    std::vector<int> m_createdTargets;
    ULONGLONG m_startTick = 0;
    ULONGLONG m_freeBytes = 0;
    ULONGLONG m_freeBytesTick = 0;
    // The target directory made sure of last.
    CString m_ensuredDirectory;
    DWORD m_lastError = 0;
    CString m_lastOperation;
    CString m_lastPath;
    CString m_lastDetail;
    int m_exitCode = -1;
};
