// The work of the unpack dialog, apart from its window: whole archive files from a
// filer pane, each opened by a front object of its own (a file no back-end lists is
// still given to the one that unpacks it), or the chosen members of the archive a
// listing pane holds. Failures are shown through the message-box dialog (a cancel by
// the user never is); the first one ends the job.
#pragma once
#include <windows.h>
#include "app/records/ArchiveFileInfo.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CArchiveFront;
class CProgressInfo;
class CWnd;

// Where the job's sources come from: the pane mode words of the filer and the
// archive listing.
enum
{
    UNPACK_FROM_FILER = 8,
    UNPACK_FROM_ARCHIVE = 256,
};

// The dialog's end codes.
enum
{
    UNPACK_DONE = 1,
    UNPACK_FAILED = 2,
};

struct CUnpackJob
{
    int sourceMode = UNPACK_FROM_FILER;
    int toTemp = 0;
    int folderPerArchive = 0;
    int ignoreFolders = 0;
    CString destination; // absolute
    CString password;
    CStringArray archives;          // UNPACK_FROM_FILER: full paths, in order
    CArchiveFront* front = nullptr; // UNPACK_FROM_ARCHIVE: the pane's own front object
    CArrayArchiveFileInfo members;  // UNPACK_FROM_ARCHIVE: the members acted on
};

// UNPACK_DONE or UNPACK_FAILED. `owner` receives the archiver libraries' progress
// messages and owns the message boxes; `progress` carries the cancel flag and the
// hooks the caller installed (the job resets its counters, not its hooks).
int RunUnpackJob(CUnpackJob& job, CProgressInfo& progress, CWnd* owner);

// The file extraction of `member` into `destination` writes, when extraction takes the
// member and the file lies inside the destination; FALSE and an empty path otherwise.
BOOL TempExtractionPath(CArchiveFront& front, const CArchiveFileInfo& member, const CString& destination,
                        int flat, CString& path);

// Where extraction places the member below the destination, as the back-ends place
// it: its folder below `innerFolder` (the folder the pane shows) and its name, or its
// name alone when `ignoreFolders`. Not cleaned.
CString UnpackTargetOf(const CArchiveFileInfo& member, const CString& destination, const CString& innerFolder,
                       int ignoreFolders);

// Guards the busy flag below; unnamed, made with the view and closed when it goes.
extern HANDLE g_UnpackMutex;

// One unpack job at a time in the process: 1 when the flag was free and is now taken.
int TryTakeUnpackBusy();
void ReleaseUnpackBusy();
// Non-zero while a job holds the flag (the quit command refuses then).
int IsUnpackBusy();
