#include "archiveclient/codecs/SevenZipLibrary.h"

#include "framework/FwLock.h"

HANDLE g_SevenZipLoadMutex = nullptr;
int g_SevenZipCodecsUseCount = 0;
CCodecs* g_SevenZipCodecs = nullptr;

void CreateSevenZipLoadMutex()
{
    if (g_SevenZipLoadMutex == nullptr)
        g_SevenZipLoadMutex = CreateMutexW(nullptr, FALSE, nullptr);
}

void CloseSevenZipLoadMutex()
{
    if (g_SevenZipLoadMutex != nullptr)
        CloseHandle(g_SevenZipLoadMutex);
    g_SevenZipLoadMutex = nullptr;
}

namespace
{
const wchar_t* const kLibraryNames[] = {L"7z.dll", L"7z64.dll", nullptr};
const wchar_t* const* g_libraryNames = kLibraryNames;
} // namespace

const wchar_t* const* SetSevenZipLibraryNames(const wchar_t* const* names)
{
    const wchar_t* const* before = g_libraryNames;
    g_libraryNames = names != nullptr ? names : kLibraryNames;
    return before;
}

int CSevenZipLibrary::LoadLibrary()
{
    CHandleLock lock(g_SevenZipLoadMutex);
    for (const wchar_t* const* name = g_libraryNames; *name != nullptr; name++)
    {
        m_libraryPath = *name;
        m_module = ::LoadLibraryW(*name);
        if (m_module != nullptr)
            break;
    }
    if (m_module == nullptr)
        return 0;
    AcquireCodecs();
    return 1;
}

void CSevenZipLibrary::AcquireCodecs()
{
    g_SevenZipCodecsUseCount++;
    if (g_SevenZipCodecs != nullptr)
        return;
    CCodecs* codecs = new CCodecs();
    codecs->AddRef();
    g_SevenZipCodecs = codecs;
    codecs->LibraryPath = m_libraryPath;
    // A library without formats shows later, when no archive can be opened.
    codecs->LoadMainLibrary();
}

void CSevenZipLibrary::ReleaseCodecs()
{
    CHandleLock lock(g_SevenZipLoadMutex);
    if (g_SevenZipCodecsUseCount-- == 1 && g_SevenZipCodecs != nullptr)
    {
        CCodecs* codecs = g_SevenZipCodecs;
        g_SevenZipCodecs = nullptr;
        codecs->Release();
    }
}

void CSevenZipLibrary::UnloadLibrary()
{
    if (m_module == nullptr)
        return;
    ReleaseCodecs();
    FreeLibrary(m_module);
    m_module = nullptr;
}
