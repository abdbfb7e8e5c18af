// The picture load dialog: reads the graphic viewer's next picture (a file on disk or
// an archive member) through an image plug-in on a worker thread into
// g_CurrentPicture, with the plug-in and the name shown, two progress bars and a stop
// button. Small files load without it: the same body then runs on the caller's
// thread and no window is made.
//
//     CPictureStepperOf<CPicturePosition> stepper(position);
//     CLoadPictureBDlg dlg(&stepper, view);
//     dlg.m_filePath = path;
//     dlg.m_sourceKind = 1;
//     dlg.m_hostInUse = &viewHost;
//     if (dlg.LoadMaybeWithDialog(fileSize) == 1) ...  // the picture is shown
#pragma once
#include <windows.h>
#include <functional>
#include "app/ProgressInfo.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"
#include "graphics/plugins/SusiePlugInHost.h"

class CArchiveFront;
class CArchiveFileInfo;
class CLoadPreviewThread;
class CPictureData;
class IPictureStepper;

// What the worker releases when it ends (the cleanup mask).
enum : int
{
    LOADPIC_RELEASE_MEMBER_IMAGE = 0x1,
    LOADPIC_CLOSE_HOST = 0x4,
    LOADPIC_EMPTY_PICTURE = 0x10,
    LOADPIC_RELEASE_ARCHIVE_IMAGE = 0x20,
};

class CLoadPictureBDlg : public CDialog
{
public:
    // Takes the preview reader lock for the dialog's whole life.
    explicit CLoadPictureBDlg(IPictureStepper* position, CWnd* parent = nullptr);
    ~CLoadPictureBDlg() override;
    CLoadPictureBDlg(const CLoadPictureBDlg&) = delete;
    CLoadPictureBDlg& operator=(const CLoadPictureBDlg&) = delete;

    // The dialog when the file is larger than the no-dialog limit (or that loading is
    // off), else the body on this thread. 1 when a picture was loaded.
    int LoadMaybeWithDialog(LONGLONG fileSize);
    // The body on this thread without any window, then the completion. 1 loaded.
    int LoadWithoutDialog();

    // The counter, the load type and the first message; the progress record's
    // callbacks. Called by OnInitDialog and before a load without the dialog.
    void SetUpTexts();
    // Phase 0 (find the next picture) and 2 (read it) until a picture is loaded, the
    // load fails or the cancel flag is set. 1 loaded, 0 not; runs on the worker.
    int RunLoadBody();
    // Waits for the worker, releases what the cleanup mask names and, with the dialog,
    // ends it: 2 when cancelled, else the end code. Returns that code.
    int Complete();
    // Reads `length` bytes from `offset` of the file into a new locked block; stops
    // early (as done) when the cancel flag is set. 1 read, 0 failed.
    int ReadFileRegion(LPCWSTR path, LONGLONG offset, LONGLONG length, void** block);

    // ---- Set by the caller before the load ----
    IPictureStepper* m_position;
    CString m_filePath;            // the picture's path, or the archive's
    int m_sourceKind = 1;          // 1 a file on disk, 0 an archive member
    CSusiePlugInHost* m_hostInUse; // the caller's host for a file on disk
    CArchiveFront* m_archiveFront = nullptr;
    // The member at an index of the pane that shows the archive's pictures; when not
    // set, the archive front's listing is taken.
    std::function<CArchiveFileInfo*(int index)> m_memberAt;
    LONGLONG m_fileSize = 0;
    // Where the picture goes; g_CurrentPicture unless a caller says otherwise.
    CPictureData* m_picture;

    // ---- State of the load ----
    CSusiePlugInHost m_ownHost;
    CString m_memberName;
    CProgressInfo m_progress;
    void* m_memberImage = nullptr;
    LONGLONG m_memberImageSize = 0;
    void* m_archiveImage = nullptr;
    LONGLONG m_archiveImageSize = 0;
    LONGLONG m_archiveImageStart = 0;
    int m_loadPhase = 0;
    int m_currentSourceKind = 1;
    int m_loadType = 0; // 0 from the file, 1 from a memory image, 3 an extracted member
    int m_noDialog = 0;
    int m_endCode = 2; // 1 loaded, 2 stopped or failed
    int m_cleanupMask = 0;
    HANDLE m_thread = nullptr;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override;
    // Every progress event of the record, on the thread that caused it.
    virtual void OnProgress(UINT events);

private:
    static DWORD WINAPI LoadPictureWorkerThread(LPVOID parameter);
    static void ProgressEvents(UINT events, CProgressInfo* info);
    int Fail(int mask);
    void Release(int mask);
    void BeginPhase(int span, int base);
    void ShowMessage(const CString& text);
    void ShowCounter();
    // Each step of the body: -1 the load failed, 0 go on, 1 a picture was read.
    int FindNextPicture();
    int ExtractMember();
    int ReadPicture();
    CArchiveFileInfo* MemberAt(int index);

    CArchiveFileInfo* m_entry = nullptr;
    CLoadPreviewThread* m_lockedThread = nullptr;
    int m_retryFromMemory = 0;
    int m_stopMask = 255;
};
