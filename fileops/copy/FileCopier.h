// The one-file copier that a copy job and the synchronisation worker share: it copies
// one file in chunks sized by the kinds of the two drives, publishes the file and job
// progress in the job's progress record, and measures the time spent so that the
// dialog can show the speed, the remaining time and the expected end.
//
// A destination is never left half-written: every file is written beside its
// destination under a temporary name and takes the destination's name only when it is
// complete, so a failure or a stop leaves no file under that name that was not there
// before, and an existing file exactly as it was.
#pragma once
#include <windows.h>
#include <vector>
#include "framework/FwString.h"

class CProgressInfo;

// How the copier learns the kind of a drive and its sector size, and how it writes;
// tests put in their own to play a removable drive on a disk that is not one, or a
// disk that fills up.
struct CopierDriveProbe
{
    UINT (*getDriveType)(LPCWSTR root);
    // Bytes per sector of the volume at the root; FALSE when it cannot be read.
    BOOL (*getBytesPerSector)(LPCWSTR root, DWORD* bytesPerSector);
    // TRUE for a floppy drive, which takes the "other" chunk size.
    BOOL (*isFloppyDrive)(wchar_t letter);
    BOOL(WINAPI* writeFile)
    (HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped);
};
extern const CopierDriveProbe g_SystemDriveProbe;

// The displays the copier publishes in its progress record; a job that shows more
// numbers its own displays from COPIER_SHOW_COUNT on.
enum CopierDisplay
{
    COPIER_SHOW_JOB_BYTES = 0, // "done/total" bytes of the job (with the job progress only)
    COPIER_SHOW_JOB_PERCENT,   // "%3.1f%%" of the job (with the job progress only)
    COPIER_SHOW_FILE_PERCENT,  // "%d%%" of this file; the value is the percent, for a bar
    COPIER_SHOW_SPEED,         // bytes per second so far (with the job progress only)
    COPIER_SHOW_REMAINING,     // "hh:mm:ss" expected to be left (with the job progress only)
    COPIER_SHOW_END_TIME,      // the clock time the job is expected to end (same)
    COPIER_SHOW_ELAPSED,       // "hh:mm:ss" since the job began (when a start is set)
    COPIER_SHOW_COUNT
};

// Results of FinishFile.
enum
{
    COPIER_FILE_DONE = 1,
    COPIER_FILE_FAILED = 0,
};

class CFileCopier
{
public:
    CFileCopier();
    ~CFileCopier();
    CFileCopier(const CFileCopier&) = delete;
    CFileCopier& operator=(const CFileCopier&) = delete;

    // ---- Progress wiring (the job sets it) --------------------------------------
    const LONGLONG* m_pJobTotal = nullptr; // the job's total bytes
    LONGLONG* m_pFinishedBytes;            // bytes of files already finished
    BOOL m_showJobProgress = FALSE;
    const ULONGLONG* m_pJobStartTick = nullptr; // GetTickCount64 at the job's start
    int m_filesCounted = 0;
    int m_filesInJob = 0;
    // Optional: the displays above, and currentAmount (this file's bytes), doneAmount
    // (the job's finished bytes plus this file's) and totalAmount (the job's total),
    // with PROGRESS_DONE. Null: nothing is shown.
    CProgressInfo* m_progress = nullptr;
    CopierDriveProbe m_probe;
    // FALSE: the caller knows the destination's name is free, and the copier does not
    // look again; a file found there after all (put there meanwhile by someone else)
    // fails the copy at its last step instead of being replaced.
    BOOL m_replaceExisting = TRUE;
    // TRUE: the destination's folder was made by the caller's job, so no copy cut
    // short can have left a temporary file in it, and the copier does not look for one.
    BOOL m_folderIsNew = FALSE;

    // ---- One file ---------------------------------------------------------------
    // 1 when both files are open and the first chunk may be copied; 0 after a failure
    // (failure record set, handles closed, nothing left at the destination that was
    // not there before).
    int Open(const WIN32_FIND_DATAW& source, LPCWSTR destinationPath, LPCWSTR sourceDirectory);
    // 1 while more remains; 0 when the file has ended, with *pContinue left at 1 when
    // it was finished and set to 0 when it failed. The handles are closed on 0.
    int CopyChunk(int* pContinue);
    // Closes every handle. A destination that was not completed is removed whether
    // or not deleteDestination (the job's stop flag) is set: a partial file would
    // pass for a copy. An existing file that was being replaced is left as it was.
    void Close(BOOL deleteDestination);
    // Sets the chunk size for a file of `size` bytes and makes the buffer ready.
    BOOL ChooseChunkSize(LONGLONG size);
    // Lets go of the destination folder the copier holds open between the files it
    // writes into it; the job calls it when it leaves a folder and when it ends.
    void ReleaseFolder();

    // ---- Results ----------------------------------------------------------------
    CString m_failedOperation; // "CreateFile", "ReadFile", "WriteFile", ...
    DWORD m_failedError = 0;
    CString m_failedPath;

    // Per file, readable after Open.
    DWORD m_chunkSize = 0;
    BOOL m_sectorAligned = FALSE;
    DWORD m_bytesPerSector = 0;
    LONGLONG m_fileSize = 0;
    LONGLONG m_bytesDone = 0;
    int m_lastPercent = -1;
    CString m_sourcePath;
    CString m_destinationPath;

    // Whole-job statistics.
    LONGLONG m_bytesCopied = 0;
    ULONGLONG m_copyTime = 0;
    ULONGLONG m_openTime = 0;
    int m_opens = 0;
    ULONGLONG m_closeTime = 0;
    int m_closes = 0;

    void ShowJobProgress(LONGLONG done, LONGLONG total);
    void ShowTimes();

private:
    // The steps of Open and CopyChunk: 1 done, 0 failed (Fail has run).
    void BeginFile(const WIN32_FIND_DATAW& source, LPCWSTR destinationPath, LPCWSTR sourceDirectory);
    int OpenSource();
    // With the setting for fast removable copies, a file larger than a chunk bound for a
    // removable drive is written unbuffered, in chunks of whole sectors.
    void ChooseSectorAlignment(LPCWSTR destinationPath);
    // A file of the destination's name is replaced; a directory of that name fails.
    int LookAtReplacedFile(LPCWSTR destinationPath);
    HANDLE OpenSpareHandle();
    int SizeUnbufferedTemporary();
    int CopyPieces(DWORD wanted);
    int CompleteFile();
    int CutSectorTail();
    int Fail(LPCWSTR operation, DWORD error, LPCWSTR path);
    int FinishFile();
    UINT DriveTypeOf(LPCWSTR path);
    void Show(int display, LPCWSTR text, LONGLONG value = 0);
    void ShowFilePercent();
    void ReportProgress();
    void FreeBuffer();
    // Removes the temporary file being written.
    void DiscardWritten();
    // Creates the temporary file beside the destination into the destination handle;
    // 0, or the error of the last try.
    DWORD CreateTemporary(DWORD flags);
    // Deletes the temporary files "<destination>.~qvNNN" that copies cut short left
    // beside the destination, where the system allows.
    void RemoveLeftovers();

    WIN32_FIND_DATAW m_source{};
    HANDLE m_sourceHandle = INVALID_HANDLE_VALUE;
    HANDLE m_destinationHandle = INVALID_HANDLE_VALUE;
    HANDLE m_spareHandle = INVALID_HANDLE_VALUE;
    BYTE* m_buffer = nullptr;
    SIZE_T m_bufferSize = 0;
    // The temporary file actually written, which takes the destination's name once
    // complete. Empty once nothing of this file may be deleted any more.
    CString m_writtenPath;
    BOOL m_replacing = FALSE;
    LONGLONG m_ownFinished = 0;
    ULONGLONG m_carriedCopyTime = 0;
    ULONGLONG m_fileCopyStart = 0;
    // The drive letters asked last and their kinds: a job asks for every file, and
    // the source and the destination are mostly on one or two drives.
    wchar_t m_cachedLetters[2] = {};
    UINT m_cachedTypes[2] = {};
    int m_nextCacheSlot = 0;
    BOOL m_setAttributesAtEnd = FALSE;
    // The leftover temporaries found in the folder looked at last: a job writes most
    // of its files into the folder of the file before, which is then not read again.
    CString m_leftoverFolder;
    BOOL m_leftoverFolderRead = FALSE;
    std::vector<CString> m_leftovers;
    // The destination folder held open, in which a new file is made and named by its
    // bare name (the system then finds the folder once, not twice for every file);
    // INVALID_HANDLE_VALUE where it could not be opened.
    CString m_namesFolder;
    HANDLE m_namesFolderHandle = INVALID_HANDLE_VALUE;
    BOOL m_namesFolderOpened = FALSE;
    // The file's temporary was made in that folder, and takes its name there.
    BOOL m_madeInFolder = FALSE;
    HANDLE FolderForNames(const CString& folder);
};

// The chunk size in bytes for a file of `size` bytes between drives of the two
// kinds (DRIVE_* values); the copier's rule, open to tests.
DWORD ComputeCopyChunkSize(UINT sourceType, BOOL sourceFloppy, UINT destinationType, BOOL destinationFloppy,
                           LONGLONG size);

// The flags the temporary file is created with: unbuffered for a sector-aligned copy,
// else the source's settable attributes without read-only, hidden and system, which
// would keep a temporary left by a killed copy hidden or undeletable.
DWORD CopierTemporaryFlags(DWORD sourceAttributes, BOOL sectorAligned);
// Whether the copy takes its source's attributes only when it takes its name: those
// left out of the temporary's flags, and every attribute of an unbuffered copy.
BOOL CopierSetsAttributesAtEnd(DWORD sourceAttributes, BOOL sectorAligned);
// The bytes written for `got` bytes read into a chunk of `chunkSize`: an unbuffered
// handle takes whole sectors, so a short last chunk is written up to its last sector
// (the file is cut to its size at the end).
DWORD CopierWriteSize(DWORD got, DWORD chunkSize, DWORD bytesPerSector, BOOL sectorAligned);

// The name of the copier's n-th try at a temporary file for `destinationPath`:
// "<destination>.~qvNNN" beside it, or, in the short form taken where that longer name
// does not fit the volume's limit, "~qvNNN.tmp" in the same folder.
const int kCopierTemporaryNameCount = 1000;
CString CopierTemporaryName(LPCWSTR destinationPath, int n, BOOL shortForm);
// TRUE when the file `name` is a temporary "<destinationName>.~qvNNN" that the copier
// writes for the destination `destinationName` (letter case aside): one a copy cut short
// left behind is removed when that destination is written again.
BOOL IsCopierTemporaryOf(LPCWSTR name, LPCWSTR destinationName);
