#include <gmock/gmock.h>
#include <windows.h>

int main(int argc, char** argv)
{
    // A failing test must not stop the run on a Wine error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
