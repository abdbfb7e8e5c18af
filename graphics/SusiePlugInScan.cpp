#include "graphics/SusiePlugInScan.h"

#include "app/dialogs/TellAndAsk.h"
#include "app/Directories.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "framework/FwGuard.h"
#include "framework/FwLock.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/ToolSettings.h"

#include <cstring>
#include <vector>

namespace
{
typedef int(WINAPI* GetPluginInfoProc)(int infoNumber, LPSTR buffer, int bufferLength);

constexpr int kPatternBufferSize = 102400;
constexpr int kDescriptionBufferSize = 260;
constexpr int kVersionSize = 10;

CString AnsiToWide(const char* text, size_t maxBytes)
{
    int length = static_cast<int>(strnlen(text, maxBytes));
    CString out;
    if (length == 0)
        return out;
    int characters = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (characters <= 0)
        return out;
    wchar_t* buffer = out.GetBuffer(characters);
    MultiByteToWideChar(CP_ACP, 0, text, length, buffer, characters);
    out.ReleaseBuffer(characters);
    return out;
}

// "*.bmp;*.dib" or ".pic" as plug-ins declare them; a bare ".ext" means "*.ext".
void AppendPatterns(const CString& text, CStringArray& patterns)
{
    int start = 0;
    while (start <= text.GetLength())
    {
        int end = text.Find(L';', start);
        if (end < 0)
            end = text.GetLength();
        CString part = text.Mid(start, end - start);
        if (!part.IsEmpty())
        {
            if (part[0] == L'.' && part.Find(L'*') < 0)
                part = L"*" + part;
            patterns.Add(part);
        }
        start = end + 1;
    }
}

bool HasPatternNoCase(const CStringArray& patterns, LPCWSTR pattern)
{
    for (INT_PTR i = 0; i < patterns.GetCount(); ++i)
        if (patterns[i].CompareNoCase(pattern) == 0)
            return true;
    return false;
}

// Asks the plug-in for its version, description and pattern lists. Every buffer is
// cleared before the call and has a terminator the plug-in is not offered, so a
// plug-in that fills it to the brim still leaves a string behind. Some plug-ins do
// not check the number they are asked for and fault past their last pattern list:
// a fault there ends the list and keeps what came before. False when the version or
// the description faulted; `faulted` tells whether any call did.
bool AskPlugIn(GetPluginInfoProc getInfo, CSusieDllFile& record, std::vector<char>& buffer, bool& faulted)
{
    faulted = false;
    char version[kVersionSize + 1] = {};
    if (!GuardedCall([&] { getInfo(0, version, kVersionSize); }))
    {
        faulted = true;
        return false;
    }
    memcpy(record.m_apiVersion, version, kVersionSize);

    char description[kDescriptionBufferSize + 1] = {};
    if (!GuardedCall([&] { getInfo(3, description, kDescriptionBufferSize); }))
    {
        faulted = true;
        return false;
    }
    description[kDescriptionBufferSize] = 0;
    record.m_description = AnsiToWide(description, kDescriptionBufferSize);

    record.m_patterns.RemoveAll();
    char* text = buffer.data();
    for (int type = 0; type < SUSIE_MAX_PATTERN_CALLS; ++type)
    {
        ZeroMemory(text, buffer.size());
        int result = 0;
        if (!GuardedCall([&] { result = getInfo(2 * type + 2, text, kPatternBufferSize); }))
        {
            faulted = true;
            break;
        }
        if (result == 0)
            break;
        text[kPatternBufferSize] = 0;
        AppendPatterns(AnsiToWide(text, kPatternBufferSize), record.m_patterns);
    }
    return true;
}

INT_PTR FindListedPlugIn(const CArray<CSusieDllFile>& list, LPCWSTR fileName)
{
    for (INT_PTR i = 0; i < list.GetCount(); ++i)
        if (list[i].m_fileName.CompareNoCase(fileName) == 0)
            return i;
    return -1;
}

void PublishPlugIns(const CArray<CSusieDllFile>& list)
{
    CHandleLock lock(g_DataMutex);
    g_SusiePlugIns.Copy(list);
}
} // namespace

int ScanSusiePlugIns(BOOL merge)
{
    // The plug-ins are asked outside the lock, on a copy; readers on other threads
    // (an unpack job's host, the preview loader) see the old list or the new one,
    // never one half built.
    CArray<CSusieDllFile> list;
    CString folder;
    {
        CHandleLock lock(g_DataMutex);
        if (merge)
            list.Copy(g_SusiePlugIns);
        RemoveTrailingBackslash(g_SusiePlugInDir);
        folder = g_SusiePlugInDir;
    }
    // No folder set means no plug-ins: "\*.SPH" would load and run whatever libraries
    // lie in the root of the drive that happens to be current.
    if (folder.IsEmpty())
    {
        if (!merge)
            PublishPlugIns(list);
        return 0;
    }

    CString pattern;
    pattern.Format(L"%s\\*.SPH", static_cast<LPCWSTR>(folder));
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileLong(pattern, &findData);
    if (find == INVALID_HANDLE_VALUE)
    {
        if (!merge)
            PublishPlugIns(list);
        return 0;
    }

    std::vector<char> buffer(kPatternBufferSize + 1, 0);
    do
    {
        if (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        CSusieDllFile record;
        record.m_fileName = findData.cFileName;
        CString path;
        path.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), findData.cFileName);
        if (g_DEBUGMODE && g_DebugFlags[0])
            Tell(nullptr, path);

        INT_PTR listed = merge ? FindListedPlugIn(list, findData.cFileName) : -1;
        if (listed >= 0)
        {
            record = list[listed];
            if (g_HIGHLOADSPI == 1)
                continue;
        }
        else
        {
            record.m_enabled = 1;
        }

        HMODULE module = LoadLibraryW(path);
        if (module == nullptr)
            continue;
        auto getInfo = reinterpret_cast<GetPluginInfoProc>(
            reinterpret_cast<void*>(GetProcAddress(module, "GetPluginInfo")));
        // The library of a plug-in that faulted stays loaded: unloading runs its
        // detach code under the loader lock, which a plug-in in an unknown state may
        // fault in as well, beyond any guard.
        bool faulted = false;
        if (getInfo != nullptr && !AskPlugIn(getInfo, record, buffer, faulted))
        {
            // Without its version or description the plug-in is dropped.
            if (listed >= 0)
                list.RemoveAt(listed);
            continue;
        }
        if (HasPatternNoCase(record.m_patterns, L"*.jpg") && !HasPatternNoCase(record.m_patterns, L"*.jpeg"))
            record.m_patterns.Add(L"*.jpeg");
        if (listed >= 0)
            list[listed] = record;
        else
            list.Add(record);
        if (!faulted)
            FreeLibrary(module);
    } while (FindNextFileW(find, &findData));
    FindClose(find);

    for (INT_PTR i = list.GetCount() - 1; i >= 0; --i)
        if (list[i].m_patterns.IsEmpty())
            list.RemoveAt(i);
    PublishPlugIns(list);
    return 1;
}
