// The BMP save dialog: saves a picture interactively (mode 0), as the next file of the
// numbered series (mode 1) or to a path fixed by the caller (mode 2), writing on a
// worker thread while it shows the percentage. It ends with OK only when the file was
// written whole; a refusal, a failed write or Cancel ends it with cancel and leaves
// an existing file as it was.
#pragma once
#include <windows.h>
#include "framework/FwDialog.h"
#include "framework/FwString.h"

class CPictureData;
class CLoadPreviewThread;

enum
{
    SAVEBMP_INTERACTIVE = 0,
    SAVEBMP_SERIES = 1,
    SAVEBMP_FIXED_PATH = 2,
};

class CSaveBmpDlg : public CDialog
{
public:
    // The picture is borrowed. The source name is the archive's when the picture came
    // from one, else the entry's; the source directory is what relative folders and
    // names are taken against. Holds the preview reader lock for its whole life.
    CSaveBmpDlg(CPictureData* picture, LPCWSTR sourceDirectory, LPCWSTR sourceName, int mode,
                LPCWSTR fixedPath = nullptr, CWnd* parent = nullptr);
    ~CSaveBmpDlg() override;
    CSaveBmpDlg(const CSaveBmpDlg&) = delete;
    CSaveBmpDlg& operator=(const CSaveBmpDlg&) = delete;

    // The full path written (or tried); one of BmpSaveResult for the last save.
    CString m_targetPath;
    int m_result = -1;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

private:
    static DWORD WINAPI WriterThread(LPVOID parameter);
    static int Progress(ULONGLONG done, ULONGLONG total, void* data);
    // The save's full path, or empty with the dialog ended (or kept for mode 0).
    CString BuildPath();
    CString SameNamePath(const CString& folder) const;
    void EnablePairs(BOOL sameName);
    void StopThread();
    void Refuse(int result);
    void Finish(UINT command);

    CPictureData* m_picture;
    CString m_sourceDirectory;
    CString m_sourceName;
    CString m_fixedPath;
    int m_mode;
    HANDLE m_thread = nullptr;
    volatile LONG m_cancel = 0;
    CLoadPreviewThread* m_lockedThread = nullptr;
};
