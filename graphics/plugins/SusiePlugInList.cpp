#include "graphics/plugins/SusiePlugInList.h"

#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "util/Wildcard.h"
#include "framework/FwGuard.h"
#include "framework/FwLock.h"

#include <cstring>
#include <vector>

namespace
{
typedef int(WINAPI* IsSupportedWFunc)(LPCWSTR name, void* data);
typedef int(WINAPI* IsSupportedAFunc)(LPCSTR name, void* data);

// Asks the wide form, then the narrow one: first with the open file (when there is
// one), then with the bytes, then with the bytes from 128 on. Every call runs under a
// guard: this export reads the header of every file a pane or a thumbnail shows, and a
// plug-in that faults in it refuses the file and is asked nothing more.
int AskIsSupported(HMODULE module, LPCWSTR name, HANDLE file, BYTE* buffer, int* headerOffset)
{
    auto wide =
        reinterpret_cast<IsSupportedWFunc>(reinterpret_cast<void*>(GetProcAddress(module, "IsSupportedW")));
    auto narrow =
        reinterpret_cast<IsSupportedAFunc>(reinterpret_cast<void*>(GetProcAddress(module, "IsSupported")));
    if (wide == nullptr && narrow == nullptr)
        return 0;
    CStringA narrowName;
    WideToAnsiString(name, narrowName);
    for (int form = 0; form < 2; ++form)
    {
        if ((form == 0 && wide == nullptr) || (form == 1 && narrow == nullptr))
            continue;
        bool faulted = false;
        auto ask = [&](void* data) {
            int answer = 0;
            faulted = !GuardedCall([&] {
                answer = form == 0 ? wide(name, data) : narrow(static_cast<LPCSTR>(narrowName), data);
            });
            return faulted ? 0 : answer;
        };
        if (file != INVALID_HANDLE_VALUE)
        {
            SetFilePointer(file, 0, nullptr, FILE_BEGIN);
            if (ask(file) != 0)
            {
                *headerOffset = 0;
                return 1;
            }
            if (faulted)
                return 0;
        }
        if (ask(buffer) != 0)
        {
            *headerOffset = 0;
            return 1;
        }
        if (faulted)
            return 0;
        if (ask(buffer + 128) != 0)
        {
            *headerOffset = 128;
            return 1;
        }
        if (faulted)
            return 0;
    }
    return 0;
}
} // namespace

int MatchesPlugIn(LPCWSTR path, int kindFlags, INT_PTR index)
{
    if (path == nullptr || index < 0 || index >= g_SusiePlugIns.GetCount())
        return 0;
    const CSusieDllFile& record = g_SusiePlugIns[index];
    const int kind = record.GetKind();
    if (!record.m_enabled ||
        !((kind == 2 && (kindFlags & SUSIE_KIND_IMAGE)) || (kind == 1 && (kindFlags & SUSIE_KIND_ARCHIVE))))
        return 0;
    CString name;
    SplitPath(path, nullptr, &name);
    for (INT_PTR i = 0; i < record.m_patterns.GetCount(); ++i)
    {
        const CString& pattern = record.m_patterns[i];
        if (pattern == L"*.*" || pattern == L"*.")
            return 1;
        CString compact;
        CompactWildcardPattern(pattern, compact);
        if (MatchFileNameWildcard(name, compact))
            return 1;
    }
    return 0;
}

INT_PTR FindSusiePlugIn(LPCWSTR path, int kindFlags, INT_PTR startIndex, CSusieDllFile* record)
{
    CHandleLock lock(g_DataMutex);
    for (INT_PTR i = startIndex < 0 ? 0 : startIndex; i < g_SusiePlugIns.GetCount(); ++i)
        if (MatchesPlugIn(path, kindFlags, i))
        {
            if (record != nullptr)
                *record = g_SusiePlugIns[i];
            return i;
        }
    return -1;
}

int ProbePlugInForFile(HMODULE module, LPCWSTR path, int* headerOffset, ULONGLONG* size)
{
    WIN32_FIND_DATAW findData;
    if (module == nullptr || path == nullptr || !FileExists(path, &findData))
        return 0;
    const ULONGLONG fileSize = (ULONGLONG(findData.nFileSizeHigh) << 32) | findData.nFileSizeLow;
    if (fileSize == 0)
        return 0;
    if (size != nullptr)
        *size = fileSize;
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    std::vector<BYTE> buffer(SUSIE_PROBE_BYTES + SUSIE_PROBE_SLACK, 0);
    const DWORD want = fileSize < SUSIE_PROBE_BYTES ? DWORD(fileSize) : SUSIE_PROBE_BYTES;
    DWORD read = 0;
    int offset = 0;
    int accepted = 0;
    if (ReadFile(file, buffer.data(), want, &read, nullptr))
        accepted = AskIsSupported(module, path, file, buffer.data(), &offset);
    CloseHandle(file);
    if (accepted && headerOffset != nullptr)
        *headerOffset = offset;
    return accepted;
}

int ProbePlugInForBuffer(HMODULE module, LPCWSTR name, const BYTE* bytes, DWORD count, int* headerOffset)
{
    if (module == nullptr || name == nullptr)
        return 0;
    std::vector<BYTE> buffer(SUSIE_PROBE_BYTES + SUSIE_PROBE_SLACK, 0);
    if (bytes != nullptr)
        memcpy(buffer.data(), bytes, count < SUSIE_PROBE_BYTES ? count : SUSIE_PROBE_BYTES);
    int offset = 0;
    if (!AskIsSupported(module, name, INVALID_HANDLE_VALUE, buffer.data(), &offset))
        return 0;
    if (headerOffset != nullptr)
        *headerOffset = offset;
    return 1;
}

int FindImagePlugInForFile(LPCWSTR path)
{
    CString folder;
    {
        CHandleLock lock(g_DataMutex);
        folder = g_SusiePlugInDir;
    }
    // No folder means no plug-ins: a bare name would load whatever library of that
    // name the search path offers.
    if (folder.IsEmpty() || path == nullptr)
        return -1;
    if (folder[folder.GetLength() - 1] == L'\\')
        folder.Delete(folder.GetLength() - 1);
    CSusieDllFile record;
    for (INT_PTR index = FindSusiePlugIn(path, SUSIE_KIND_IMAGE, 0, &record); index >= 0;
         index = FindSusiePlugIn(path, SUSIE_KIND_IMAGE, index + 1, &record))
    {
        CString library;
        library.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), static_cast<LPCWSTR>(record.m_fileName));
        HMODULE module = LoadLibraryW(library);
        if (module == nullptr)
            continue;
        int offset = 0;
        const int accepted = ProbePlugInForFile(module, path, &offset, nullptr);
        FreeLibrary(module);
        if (accepted)
            return int(index);
    }
    return -1;
}

void ShowPlugInConfiguration(INT_PTR index, HWND parent)
{
    CString path;
    {
        CHandleLock lock(g_DataMutex);
        if (index < 0 || index >= g_SusiePlugIns.GetCount())
            return;
        path.Format(L"%s\\%s", static_cast<LPCWSTR>(g_SusiePlugInDir),
                    static_cast<LPCWSTR>(g_SusiePlugIns[index].m_fileName));
    }
    HMODULE module = LoadLibraryW(path);
    if (module == nullptr)
        return;
    typedef int(WINAPI * ConfigurationProc)(HWND parent, int function);
    auto configure = reinterpret_cast<ConfigurationProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "ConfigurationDlg")));
    bool faulted = false;
    if (configure != nullptr)
        faulted = !GuardedCall([&]() { configure(parent, 1); });
    // A plug-in that faulted keeps its library: its detach code may fault as well.
    if (!faulted)
        FreeLibrary(module);
}
