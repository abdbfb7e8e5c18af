// Loading the archive library by name and sharing one format registry per process.
// The registry is created by the first user under the load mutex and released by the
// last one; the mutex is held only while the library loads and the count changes.
#pragma once
#include "archiveclient/codecs/Codecs.h"

extern HANDLE g_SevenZipLoadMutex;
extern int g_SevenZipCodecsUseCount;
// The shared registry, holding one reference, or null.
extern CCodecs* g_SevenZipCodecs;

void CreateSevenZipLoadMutex();
void CloseSevenZipLoadMutex();

// The file names the library is looked for under, in order, up to a null. A test
// installs names no file has to see the program without the library; null brings
// back "7z.dll" and "7z64.dll". Returns the list installed before.
const wchar_t* const* SetSevenZipLibraryNames(const wchar_t* const* names);

// The archive library as one user holds it.
class CSevenZipLibrary
{
public:
    CSevenZipLibrary() = default;
    CSevenZipLibrary(const CSevenZipLibrary&) = delete;
    CSevenZipLibrary& operator=(const CSevenZipLibrary&) = delete;
    ~CSevenZipLibrary() { UnloadLibrary(); }

    // Loads "7z.dll", else "7z64.dll", and takes a share of the registry; 1 on success.
    int LoadLibrary();
    void AcquireCodecs();
    void ReleaseCodecs();
    // Gives up the share of the registry and frees the library when one is loaded.
    void UnloadLibrary();

    HMODULE Module() const { return m_module; }
    const UString& LibraryPath() const { return m_libraryPath; }

private:
    HMODULE m_module = nullptr;
    UString m_libraryPath;
};
