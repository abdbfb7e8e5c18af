// Runs one program once for each target file of a pane in turn, each run waiting for
// the one before to end: the engine, its worker thread and the dialog that shows the
// next file and lets the user stop.
#pragma once
#include "framework/FwDialog.h"

#include <shellapi.h>

// The completion command the worker posts to its dialog.
constexpr UINT IDM_LOOP_EXECUTE_DONE = 1520;

struct LoopExecuteJob
{
    int pane = 0;
    CString workDirectory;
    // The parameter line; "%c" stands for the file of each run.
    CString parameters;
    // Started as given, without macros.
    CString program;
    // Set by the dialog, polled between runs and every 100 ms while a run lasts.
    volatile LONG stop = 0;
    // The owner of the started programs and of the question after a failed start.
    HWND owner = nullptr;
    // Shows the name of the file the next run takes (empty: none); may be null.
    void (*showNext)(HWND owner, LPCWSTR name) = nullptr;
};

// How a run is started; tests may count or refuse the starts.
struct LoopExecuteSeam
{
    BOOL(WINAPI* shellExecuteEx)(SHELLEXECUTEINFOW* info);
};
extern LoopExecuteSeam g_LoopExecuteSeam;

// Runs the job to its end on the calling thread; returns the number of programs
// started.
int RunLoopExecution(LoopExecuteJob& job);

// The worker thread of one loop execution; not deleted by itself.
class CLoopExecuteThread
{
public:
    explicit CLoopExecuteThread(LoopExecuteJob* job) : m_job(job) {}
    ~CLoopExecuteThread();
    BOOL Start(HWND notify);
    // Asks the worker to stop and waits until it has ended.
    void Stop();

private:
    static DWORD WINAPI ThreadProc(LPVOID parameter);
    LoopExecuteJob* m_job;
    HWND m_notify = nullptr;
    HANDLE m_hThread = nullptr;
};

// The one running loop execution, or null.
extern CLoopExecuteThread* g_LoopExecuteThread;

class CLoopExecuteDlg : public CDialog
{
public:
    explicit CLoopExecuteDlg(CWnd* pParent = nullptr);
    ~CLoopExecuteDlg() override;

    int m_pane = 0;
    CString m_workDirectory;
    CString m_parameters;
    CString m_program;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void StopWorker();
    LoopExecuteJob m_job;
};
