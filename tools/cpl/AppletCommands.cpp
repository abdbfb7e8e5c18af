#include "tools/cpl/AppletCommands.h"
#include <cpl.h>
#include "util/Globals.h"
#include "app/Directories.h"
#include "app/OsVersion.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "fs/LongPath.h"
#include "app/settings/ToolSettings.h"
#include "tools/cpl/KnownCplTables.h"

CplApi g_CplApi = {CString(), WinExec};

namespace
{

bool IsOnNonLoadList(const CString& file)
{
    for (INT_PTR i = 0; i < g_NonLoadCplList.GetSize(); ++i)
        if (!g_NonLoadCplList[i].IsEmpty() && file.CompareNoCase(g_NonLoadCplList[i]) == 0)
            return true;
    return false;
}

// The applet file's own strings: LoadStringW leaves the buffer alone when the id is
// missing, so it starts empty and its last character always ends it.
CString LoadAppletString(HMODULE module, int id)
{
    wchar_t text[1000] = {};
    LoadStringW(module, static_cast<UINT>(id), text, 1000);
    text[999] = 0;
    return CString(text);
}

int AskApplet(HMODULE module, APPLET_PROC applet, CCplEntry& entry)
{
    if (applet(nullptr, CPL_INIT, 0, 0) == 0)
        return 0;
    LONG count = applet(nullptr, CPL_GETCOUNT, 0, 0);
    if (count <= 0)
        count = 1;
    for (LONG i = 0; i < count; ++i)
    {
        NEWCPLINFOW info = {};
        if (applet(nullptr, CPL_NEWINQUIRE, i, reinterpret_cast<LPARAM>(&info)) == 0 && info.szName[0] != 0)
        {
            info.szName[ARRAYSIZE(info.szName) - 1] = 0;
            info.szInfo[ARRAYSIZE(info.szInfo) - 1] = 0;
            entry.m_name = info.szName;
            entry.m_description = info.szInfo;
            return 1;
        }
    }
    for (LONG i = 0; i < count; ++i)
    {
        CPLINFO info = {};
        if (applet(nullptr, CPL_INQUIRE, i, reinterpret_cast<LPARAM>(&info)) != 0)
            continue;
        entry.m_name = LoadAppletString(module, info.idName);
        entry.m_description = LoadAppletString(module, info.idInfo);
        if (!entry.m_name.IsEmpty())
            return 1;
    }
    return 0;
}

} // namespace

CString GetCplFolder()
{
    return g_CplApi.folder.IsEmpty() ? g_SystemDir : g_CplApi.folder;
}

int ReadCplAppletInfo(LPCWSTR file, CCplEntry& applet)
{
    // By its full path: a bare name would also be looked for in the program's folder
    // before the applet folder.
    CString path;
    path.Format(L"%s\\%s", static_cast<LPCWSTR>(GetCplFolder()), file);
    HMODULE module = LoadLibraryW(path);
    if (module == nullptr)
        return 0;
    auto proc = reinterpret_cast<APPLET_PROC>(reinterpret_cast<void*>(GetProcAddress(module, "CPlApplet")));
    int found = proc != nullptr ? AskApplet(module, proc, applet) : 0;
    FreeLibrary(module);
    return found;
}

void LoadControlPanelApplets()
{
    g_CplList.RemoveAll();
    const bool confirm = g_DEBUGMODE != 0 && g_DebugFlags[3] != 0;
    const CString folder = GetCplFolder();
    // An applet's own libraries are looked for in the current folder too.
    SetCurrentDirectoryAsGiven(folder);
    KnownCplTable table = GetKnownCplTable(GetOsVersionKind());
    CString pattern;
    pattern.Format(L"%s\\*.cpl", static_cast<LPCWSTR>(folder));
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileLong(pattern, &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        CString file = found.cFileName;
        if (IsOnNonLoadList(file))
            continue;
        bool known = false;
        for (int i = 0; i < table.count; ++i)
        {
            const KnownCplRow& row = table.rows[i];
            if (file.CompareNoCase(row.file) != 0)
                continue;
            known = true;
            CCplEntry entry;
            entry.m_file = file;
            entry.m_name = row.name;
            entry.m_description = row.description;
            entry.m_appendName = row.appendName;
            g_CplList.Add(entry);
        }
        if (known)
            continue;
        if (confirm)
        {
            CString question;
            question.Format(L"%sを読み込みますか", static_cast<LPCWSTR>(file));
            if (!Ask(nullptr, question, L"読み込み確認", MessageBoxKind::YesNo))
                continue;
        }
        CCplEntry entry;
        if (ReadCplAppletInfo(file, entry))
        {
            entry.m_file = file;
            g_CplList.Add(entry);
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

int RunControlPanelApplet(LPCWSTR arguments)
{
    if (arguments == nullptr || arguments[0] == 0)
        return 0;
    CString commandLine;
    commandLine.Format(L"\"%s\" shell32.dll,Control_RunDLL %s",
                       static_cast<LPCWSTR>(SystemProgramPath(L"rundll32.exe")), arguments);
    int bytes = WideCharToMultiByte(CP_ACP, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return 0;
    CStringA text;
    WideCharToMultiByte(CP_ACP, 0, commandLine, -1, text.GetBuffer(bytes), bytes, nullptr, nullptr);
    text.ReleaseBuffer();
    g_CplApi.execute(text, SW_SHOW);
    return 1;
}

void RunCplApplet(INT_PTR index)
{
    if (index < 0 || index >= g_CplList.GetSize())
        return;
    const CString folder = GetCplFolder();
    SetCurrentDirectoryAsGiven(folder);
    const CCplEntry& entry = g_CplList[index];
    CString arguments;
    arguments.Format(L"%s\\%s", static_cast<LPCWSTR>(folder), static_cast<LPCWSTR>(entry.m_file));
    if (entry.m_appendName)
        arguments += L" " + entry.m_name;
    RunControlPanelApplet(arguments);
}
