// The file-time dialogs: creation, last-access and update times of the entries a
// command acts on in a pane (and, in the second dialog, their attributes), optionally
// also of everything inside the chosen directories.
#pragma once
#include <windows.h>
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/FileInfo.h"
#include "app/records/WalkPathGuard.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

// The three ranges in their order: creation, last access, update.
enum
{
    TIME_CREATION = 0,
    TIME_ACCESS = 1,
    TIME_UPDATE = 2,
};

// The date and time texts of one range as the dialog reads them.
struct FileTimeTexts
{
    BOOL use[3];
    CString date[3];
    CString time[3];
};

// Reads the checked ranges as local time into UTC file times. FALSE with the message
// to show for the first text that does not parse; `requireOne` refuses no range.
BOOL ReadFileTimeTexts(const FileTimeTexts& texts, BOOL requireOne, FILETIME times[3], CString& message);

class CFileTimeDlg : public CDialog
{
public:
    explicit CFileTimeDlg(int paneIndex, CWnd* pParent = nullptr);

    // Changes each target in order (first inside it when asked); a stop ends the run.
    void ApplyToEntries(const CArrayFileInfo& targets);
    // WALK_STOPPED (0) when the user chose to stop after a failure, else 1.
    int ChangeTimesInside(const CFileInfo& directory);
    // The checked times on one entry, whose attributes are kept.
    virtual BOOL SetEntryTimes(const CFileInfo& entry);

    int m_paneIndex;
    int m_bInside = 0;
    BOOL m_use[3] = {FALSE, FALSE, FALSE};
    FILETIME m_times[3] = {};

protected:
    CFileTimeDlg(UINT templateId, int paneIndex, CWnd* pParent);
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The shared part of the two dialogs' set-up: the boxes, the edits and 616.
    void InitTimeControls(const CArrayFileInfo& targets);
    // Reads the boxes and the edits; FALSE (after the message) when the dialog stays.
    BOOL ReadTimeControls(BOOL requireOne);
    // Opens the entry for writing its times, as a directory or a file; the listed
    // attributes are taken off first so that a read-only entry opens.
    HANDLE OpenForTimes(const CFileInfo& entry);
    // The question after a failure at the top level; FALSE stops the run.
    virtual BOOL AskAfterTopFailure(const CFileInfo& entry);
    virtual LPCWSTR InsideQuestionFormat() const;

    int m_insideBox;
    CArrayFileInfo m_targets;
    CWalkPathGuard m_walkPath;
    CPreviewReaderHold m_readerHold;
};

class CTimeAttributeDlg : public CFileTimeDlg
{
public:
    explicit CTimeAttributeDlg(int paneIndex, CWnd* pParent = nullptr);

    BOOL SetEntryTimes(const CFileInfo& entry) override { return SetEntryTimesAndAttributes(entry); }
    BOOL SetEntryTimesAndAttributes(const CFileInfo& entry);

    BOOL m_bChangeAttributes = TRUE; // check box 172
    BOOL m_bChangeTimes = TRUE;      // check box 245
    DWORD m_attributes = 0;          // the bits of the boxes 170, 169, 167 and 173

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL AskAfterTopFailure(const CFileInfo& entry) override;
    LPCWSTR InsideQuestionFormat() const override;
};
