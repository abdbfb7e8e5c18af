// The binary-compare worker: reads two files in blocks, compares them byte by byte
// up to the end of the shorter one and writes every differing position to a
// UTF-16LE report, each line ended by a line feed alone.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "framework/FwThread.h"

// Progress as (done, total, owner); the worker always passes total 100.
typedef void (*CompareProgressProc)(int done, int total, void* owner);

class CCmpThread : public CWinThread
{
public:
    CCmpThread();
    ~CCmpThread() override;

    // The whole compare; the thread ends with Compare's result as its exit code and
    // posts IDM_COMPARE_DONE (0) or IDM_COMPARE_FAILED (-1) to the owner.
    BOOL InitInstance() override;
    int ExitInstance() override;

    // Runs the compare on the calling thread: 0 when done (also when stopped), -1 on
    // any failure. Posts nothing.
    int Compare();

    // One difference line, without its line feed.
    static CString FormatDifferenceLine(ULONGLONG offset, BYTE byte1, BYTE byte2, BOOL decimal,
                                        BOOL hexadecimal);
    // The two lines naming the forms and the columns, without their line feeds.
    static CString FormatFormLine(BOOL decimal, BOOL hexadecimal);
    static CString FormatColumnLine(BOOL decimal, BOOL hexadecimal);

    volatile LONG m_stop = 0;
    HWND m_hOwner = nullptr;
    void* m_progressOwner = nullptr;
    CompareProgressProc m_progress = nullptr;
    CString m_file1;
    CString m_file2;
    CString m_output;
    int m_maximum = 0;
    BOOL m_decimal = TRUE;
    BOOL m_hexadecimal = FALSE;
    BOOL m_noLimit = TRUE;

private:
    BOOL WriteText(const CString& line);
    void SendProgress(int percent);
    void CloseFiles();

    HANDLE m_file1Handle = INVALID_HANDLE_VALUE;
    HANDLE m_file2Handle = INVALID_HANDLE_VALUE;
    HANDLE m_outputHandle = INVALID_HANDLE_VALUE;
    int m_lastPercent = -1;
    int m_exitCode = 0;
};

// The one compare worker that may run; cleared when a compare dialog opens.
extern CCmpThread* g_pCmpThread;
