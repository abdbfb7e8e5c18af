// Loop execution of one program over the target files of a pane.
#include "tools/execute/LoopExecute.h"
#include "app/CommandMacros.h"
#include "framework/FwThread.h"
#include "app/dialogs/TellAndAsk.h"
#include "res/ShellDialogs.h"

LoopExecuteSeam g_LoopExecuteSeam = {ShellExecuteExW};
CLoopExecuteThread* g_LoopExecuteThread = nullptr;

namespace
{

CString TargetName(int pane, int n)
{
    MacroEntry entry;
    if (!g_MacroPaneAccess.getTarget(pane, n, FALSE, entry))
        return CString();
    return entry.name;
}

void ShowNextFile(HWND owner, LPCWSTR name)
{
    if (owner != nullptr)
        ::SetDlgItemTextW(owner, IDC_LOOP_NEXT_FILE, name);
}

} // namespace

int RunLoopExecution(LoopExecuteJob& job)
{
    int started = 0;
    for (int n = 0; !job.stop; ++n)
    {
        CString base = job.workDirectory;
        CString parameters;
        int result = ExpandCommandMacros(job.parameters, parameters, n, job.pane, base, 1);
        if (result == MACRO_SKIP_ENTRY)
            continue;
        if (result != MACRO_ENTRY_EXPANDED)
            break;
        if (job.showNext != nullptr)
            job.showNext(job.owner, TargetName(job.pane, n + 1));
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.hwnd = job.owner;
        info.lpFile = job.program;
        info.lpParameters = parameters;
        info.lpDirectory = job.workDirectory.IsEmpty() ? nullptr : (LPCWSTR)job.workDirectory;
        info.nShow = SW_SHOWNORMAL;
        BOOL ok = g_LoopExecuteSeam.shellExecuteEx(&info);
        if (ok && reinterpret_cast<INT_PTR>(info.hInstApp) > 32)
        {
            ++started;
            if (info.hProcess != nullptr)
            {
                // The user may stop the loop while a run lasts; the running program
                // itself is left alone.
                while (!job.stop && WaitForSingleObject(info.hProcess, 100) == WAIT_TIMEOUT)
                {
                }
                CloseHandle(info.hProcess);
            }
            continue;
        }
        if (info.hProcess != nullptr)
            CloseHandle(info.hProcess);
        CString name = TargetName(job.pane, n);
        if (job.showNext != nullptr)
            job.showNext(job.owner, name);
        CString question;
        question.Format(L"%sの起動に失敗しました続けますか", (LPCWSTR)name);
        if (!Ask(nullptr, question, L"確認", MessageBoxKind::YesNo))
        {
            job.stop = 1;
            break;
        }
    }
    return started;
}

CLoopExecuteThread::~CLoopExecuteThread()
{
    Stop();
}

BOOL CLoopExecuteThread::Start(HWND notify)
{
    m_notify = notify;
    m_hThread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    return m_hThread != nullptr;
}

void CLoopExecuteThread::Stop()
{
    if (m_hThread == nullptr)
        return;
    m_job->stop = 1;
    // The worker writes the dialog's text with sent messages.
    WaitForThreadPumping(m_hThread, ThreadWaitPump::SentOnly);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

DWORD WINAPI CLoopExecuteThread::ThreadProc(LPVOID parameter)
{
    CLoopExecuteThread* self = static_cast<CLoopExecuteThread*>(parameter);
    RunLoopExecution(*self->m_job);
    if (self->m_notify != nullptr)
        PostMessageW(self->m_notify, WM_COMMAND, IDM_LOOP_EXECUTE_DONE, 0);
    return 0;
}

CLoopExecuteDlg::CLoopExecuteDlg(CWnd* pParent) : CDialog(IDD_LOOP_EXECUTE, pParent) {}

CLoopExecuteDlg::~CLoopExecuteDlg()
{
    StopWorker();
}

BOOL CLoopExecuteDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_job.pane = m_pane;
    m_job.workDirectory = m_workDirectory;
    m_job.parameters = m_parameters;
    m_job.program = m_program;
    m_job.stop = 0;
    m_job.owner = m_hWnd;
    m_job.showNext = ShowNextFile;
    StopWorker();
    g_LoopExecuteThread = new CLoopExecuteThread(&m_job);
    if (!g_LoopExecuteThread->Start(m_hWnd))
        ::PostMessageW(m_hWnd, WM_COMMAND, IDM_LOOP_EXECUTE_DONE, 0);
    return TRUE;
}

void CLoopExecuteDlg::StopWorker()
{
    if (g_LoopExecuteThread == nullptr)
        return;
    g_LoopExecuteThread->Stop();
    delete g_LoopExecuteThread;
    g_LoopExecuteThread = nullptr;
}

BOOL CLoopExecuteDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDM_LOOP_EXECUTE_DONE)
    {
        StopWorker();
        EndDialog(IDM_LOOP_EXECUTE_DONE);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CLoopExecuteDlg::OnCancel()
{
    StopWorker();
    CDialog::OnCancel();
}
