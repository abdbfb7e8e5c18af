#include "view/system/SystemShellApi.h"

#include <shellapi.h>
#include <winnetwk.h>

namespace
{

int FormatWithShell(HWND owner, UINT drive)
{
    // The format dialog is not declared by every SDK: it is looked up by name, and a
    // system without it simply offers no format.
    HMODULE shell = LoadLibraryW(L"Shell32.DLL");
    if (shell == nullptr)
        return 0;
    using FormatDrive = DWORD(WINAPI*)(HWND, UINT, UINT, UINT);
    auto format =
        reinterpret_cast<FormatDrive>(reinterpret_cast<void*>(GetProcAddress(shell, "SHFormatDrive")));
    if (format != nullptr)
        format(owner, drive, 0xFFFF, 0);
    FreeLibrary(shell);
    return format != nullptr ? 1 : 0;
}

int StartProgram(LPCWSTR program, LPCWSTR parameters)
{
    HINSTANCE result = ShellExecuteW(nullptr, nullptr, program, parameters, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? 1 : 0;
}

} // namespace

SystemShellApi g_SystemShellApi = {
    GetDriveTypeW, FormatWithShell,    WNetConnectionDialog,          WNetDisconnectDialog,
    StartProgram,  EnumAudioEndpoints, SetDefaultAudioEndpointByName, ChooseFontW,
};
