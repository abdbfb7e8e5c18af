#include "app/FileProbes.h"
#include "util/PathHelpers.h"

#include <objbase.h>
#include <shlobj.h>

int HasUnicodeBom(LPCWSTR path)
{
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BYTE mark[2] = {};
    DWORD read = 0;
    BOOL ok = ReadFile(file, mark, 2, &read, nullptr);
    CloseHandle(file);
    return ok && read == 2 && mark[0] == 0xFF && mark[1] == 0xFE ? 1 : 0;
}

int ReadShortcut(LPCWSTR linkPath, CString* target, CString* arguments, CString* workingDirectory)
{
    // The caller's thread may or may not have COM; the link objects need it for the
    // duration of the call only.
    HRESULT init = CoInitialize(nullptr);
    int result = 0;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))))
    {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        {
            if (SUCCEEDED(file->Load(linkPath, STGM_READ)))
            {
                result = 1;
                if (target)
                {
                    WIN32_FIND_DATAW findData = {};
                    HRESULT hr = link->GetPath(target->GetBuffer(1040), 1040, &findData, SLGP_UNCPRIORITY);
                    target->ReleaseBuffer(SUCCEEDED(hr) ? -1 : 0);
                    result = result && SUCCEEDED(hr);
                }
                if (arguments)
                {
                    HRESULT hr = link->GetArguments(arguments->GetBuffer(1024), 1024);
                    arguments->ReleaseBuffer(SUCCEEDED(hr) ? -1 : 0);
                    result = result && SUCCEEDED(hr);
                }
                if (workingDirectory)
                {
                    HRESULT hr = link->GetWorkingDirectory(workingDirectory->GetBuffer(1040), 1040);
                    workingDirectory->ReleaseBuffer(SUCCEEDED(hr) ? -1 : 0);
                    result = result && SUCCEEDED(hr);
                }
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return result;
}
