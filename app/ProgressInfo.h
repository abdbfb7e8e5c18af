// The record through which a worker thread reports progress to the dialog that
// shows it and learns that it should stop, and the name records of a multi-file
// rename.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwLock.h"
#include "framework/FwString.h"

class CWnd;
class CProgressInfo;

// Event bits of CProgressInfo::Notify.
enum : UINT
{
    PROGRESS_MAIN_TEXT = 1, // mainText changed
    PROGRESS_TOTAL = 2,     // totalAmount was set
    PROGRESS_DONE = 4,      // doneAmount (or currentAmount) was set
    PROGRESS_PHASE_TEXT = 8 // phaseText changed
};

// Called on the worker's thread with the event bits and the record.
typedef void (*ProgressCallback)(UINT events, CProgressInfo* info);
// Called on the worker's thread with the share of the current item done (the second
// number is not used); returns TRUE when the job should stop.
typedef BOOL (*ItemPercentCallback)(int value, int unused, CProgressInfo* info);

// The display slots of one record. An engine numbers the texts it shows (an enum
// beside the engine, from 0); the dialog that shows the engine maps each number to
// one of its own controls and takes the changed ones on its timer.
enum
{
    PROGRESS_DISPLAY_COUNT = 16
};

// The displays a dialog takes from a record in one go.
struct CProgressDisplays
{
    UINT changed = 0; // bit n: display n changed since the last take
    CString texts[PROGRESS_DISPLAY_COUNT];
    LONGLONG values[PROGRESS_DISPLAY_COUNT] = {};
    BOOL Has(int index) const { return (changed >> index) & 1; }
};

// How a dialog shows one display: as the text of a control, or as the position of a
// progress bar (the display's value).
enum ProgressDisplayKind
{
    PROGRESS_SHOW_TEXT,
    PROGRESS_SHOW_BAR
};

struct ProgressDisplayControl
{
    int display;
    UINT control;
    ProgressDisplayKind kind;
};

// Written by one worker and read by the dialog's thread. The counters are plain
// 64-bit fields (a single aligned store on x64) and the cancel flag is written by the
// dialog and only polled by the worker. The texts are string blocks that a
// replacement frees or rewrites in place: they are only reached through the setters
// and getters below, which copy under the record's own lock.
class CProgressInfo
{
public:
    CProgressInfo();
    CProgressInfo(const CProgressInfo&) = delete;
    CProgressInfo& operator=(const CProgressInfo&) = delete;

    // Back to the start of a job; with `full` also forgets the owner, both callbacks
    // and the owner's data. baseFolder is kept either way.
    void Clear(BOOL full);
    // The clean-up at the end of the record's life: a full Clear.
    void Reset();

    // Passes the events to the callback when one is set and the mask lets at least
    // one of them through.
    void Notify(UINT events);

    // barBase .. barBase + barSpan, in proportion to the work done; the end of the
    // share when no total is known, and never beyond it when the work overshoots.
    int GetPosition() const;

    // TRUE when this record or any record up its parent chain was asked to stop.
    BOOL IsCancelled() const;

    // The texts, each a copy taken under the lock: a copy stays valid while the
    // worker replaces the text.
    void SetMainText(LPCWSTR text);
    CString GetMainText() const;
    void SetPhaseText(LPCWSTR text);
    CString GetPhaseText() const;
    void SetBaseFolder(LPCWSTR folder);
    CString GetBaseFolder() const;

    // Sets display `index` to the text and the number that goes with it (a bar's
    // position, a state); it counts as changed only when either differs.
    void SetDisplay(int index, LPCWSTR text, LONGLONG value = 0);
    // Copies the displays changed since the last take into `out` (the others are left
    // as they are there) and clears the marks.
    void TakeDisplays(CProgressDisplays& out);

    CWnd* ownerWindow;
    LONGLONG extraValue1;
    LONGLONG extraValue2;
    LONGLONG barBase;
    LONGLONG barSpan;
    LONGLONG totalAmount;
    LONGLONG doneAmount;
    LONGLONG currentAmount;
    LONGLONG extraValue3;
    void* userData;
    ProgressCallback progressCallback;
    ItemPercentCallback itemPercentCallback;
    volatile LONG cancelFlag;
    UINT eventMask;
    CProgressInfo* parentInfo;

private:
    void SetText(CString& field, LPCWSTR text);
    CString GetText(const CString& field) const;

    mutable CCriticalSection m_textLock;
    CString mainText;
    CString phaseText;
    CString baseFolder;
    CProgressDisplays m_displays;
};

// Shows the displays taken from a record in the dialog's controls by the map; a
// control the dialog lacks is passed over.
void ShowProgressDisplays(HWND dialog, const CProgressDisplays& displays, const ProgressDisplayControl* map,
                          int count);

// Takes the record's changed displays into `shown` and shows them by the map.
template <int N>
void TakeAndShowDisplays(HWND dialog, CProgressInfo& record, CProgressDisplays& shown,
                         const ProgressDisplayControl (&map)[N])
{
    record.TakeDisplays(shown);
    ShowProgressDisplays(dialog, shown, map, N);
}

// The timer on which a dialog takes its worker's displays, and its period.
enum : UINT
{
    PROGRESS_TIMER_ID = 0x5150,
    PROGRESS_TIMER_PERIOD = 100 // ms
};

// The old and the (planned or done) new full path of one file of a rename batch.
class CRenameFileName
{
public:
    CRenameFileName() = default;
    CRenameFileName(LPCWSTR oldPath, int memberIndex = -1) : oldName(oldPath), member(memberIndex) {}

    // The name the file has after the batch as far as it is known.
    const CString& GetEffectiveName() const { return hasNewName ? newName : oldName; }
    void SetNewName(LPCWSTR name);

    CString oldName;
    CString newName;
    int hasNewName = 0;
    // In an archive batch, the index of the member in the archive's listing (the
    // index a pane's row of it carries); -1 when only the path names it.
    int member = -1;
};

// The files of one rename batch, in the order they are renamed. In an archive two
// members may share a path that differs only in case, or even the same path: a
// row is found by its member index, and a folder row, which has none, by the exact
// path of the members below it.
class CArrayRenameFileName : public CArray<CRenameFileName, const CRenameFileName&>
{
public:
    // 1 when the row (the file named `oldPath`, or the member `member` when it is not
    // negative; a folder: every file below `oldPath`) may take `newPath`: no other
    // file of the batch has or is planned to take that name (case ignored). 0 also
    // when the row is not part of the batch.
    int CanRename(LPCWSTR oldPath, LPCWSTR newPath, int member = -1, BOOL folder = FALSE) const;
    // Records the new name of the row: the member `member`, else the first file named
    // `oldPath`; a folder row gives every file at or below `oldPath` (exact case) the
    // path below `newPath`. Nothing when the row is not part of the batch.
    void SetNewNameOf(LPCWSTR oldPath, LPCWSTR newPath, int member = -1, BOOL folder = FALSE);

private:
    INT_PTR FindOld(LPCWSTR oldPath, int member) const;
    // Whether the file lies at or below the folder path (exact case).
    static bool IsInFolder(const CString& path, LPCWSTR folder);
};
