#include "archiveclient/base/DllHandle.h"
#include "fs/PathRules.h"

bool CDllHandle::Free()
{
    if (!m_module)
        return true;
    if (!FreeLibrary(m_module))
        return false;
    m_module = nullptr;
    return true;
}

bool CDllHandle::Load(const wchar_t* path)
{
    if (!Free())
        return false;
    m_module = LoadLibraryW(path);
    return m_module != nullptr;
}

bool CDllHandle::LoadEx(const wchar_t* path, DWORD flags)
{
    if (!Free())
        return false;
    m_module = LoadLibraryExW(path, nullptr, flags);
    return m_module != nullptr;
}

bool GetModuleFilePath(UString& out)
{
    out.Empty();
    wchar_t buffer[MAX_PATH + 2];
    DWORD count = GetModuleFileNameW(nullptr, buffer, MAX_PATH + 1);
    // 261 means the path did not fit and was cut.
    if (count == 0 || count > MAX_PATH)
        return false;
    buffer[count] = 0;
    out = buffer;
    return true;
}

UString GetModuleDirectory()
{
    UString path;
    if (GetModuleFilePath(path))
    {
        int sep = path.FindLastPathSeparator();
        if (sep >= 0)
            return UString::FromLeftPart(path, static_cast<uint32_t>(sep) + 1);
    }
    return UString(L".\\");
}
