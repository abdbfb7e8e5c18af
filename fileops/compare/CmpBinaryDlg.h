// The binary-compare dialog: takes the two files, the report file and its form, and
// runs the compare worker while showing its progress.
#pragma once
#include <windows.h>
#include "fileops/compare/CmpThread.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

class CCmpBinaryDlg : public CDialog
{
public:
    explicit CCmpBinaryDlg(CWnd* pParent = nullptr);
    ~CCmpBinaryDlg() override;

    // Releases the worker: stops it and waits for its end while this thread's
    // messages are still dispatched, since the worker's progress updates of this
    // dialog's controls wait for this thread.
    void StopWorker();
    void OnAbort();

    // Text of 284 and position of 285 as the worker reports them.
    static void CompareProgressCallback(int done, int total, void* owner);

    CString m_file1;
    CString m_file2;
    CString m_workingDirectory;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void Browse(int edit, BOOL save);

    CompareProgressProc m_progress = nullptr;
    BOOL m_stopping = FALSE;
};
