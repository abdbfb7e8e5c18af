// qv_runner: starts a program, waits for its main window, reports "ready", then
// waits until a flag file appears (or a time-out passes), closes the window with
// WM_CLOSE and returns the program's exit code. `make run` uses it to take a
// screenshot on a virtual display and end the program cleanly.
//
//   qv_runner.exe <program> <caption part> <flag file> [program arguments...]
#include "tests/common/QvProcess.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
    {
        fwprintf(stderr, L"usage: qv_runner <program> <caption part> <flag file> [arguments]\n");
        return 2;
    }
    std::wstring args;
    for (int i = 4; i < argc; ++i)
        args += (args.empty() ? L"" : L" ") + std::wstring(argv[i]);

    qvtest::QvProcess qv;
    if (!qv.Start(argv[1], args))
    {
        fwprintf(stderr, L"qv_runner: cannot start %ls (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    if (!qv.WaitForMainWindow(argv[2]))
    {
        fwprintf(stderr, L"qv_runner: no main window appeared\n");
        return 3;
    }
    printf("ready\n");
    fflush(stdout);

    for (DWORD waited = 0; waited < 120000; waited += 100)
    {
        if (GetFileAttributesW(argv[3]) != INVALID_FILE_ATTRIBUTES)
            break;
        if (WaitForSingleObject(qv.Process(), 100) == WAIT_OBJECT_0)
            break; // closed by the user
    }
    qv.Close();
    DWORD code = qv.WaitForExit();
    if (code == STILL_ACTIVE)
    {
        fwprintf(stderr, L"qv_runner: the program did not end after WM_CLOSE\n");
        return 4;
    }
    printf("exit %lu\n", code);
    return static_cast<int>(code);
}
