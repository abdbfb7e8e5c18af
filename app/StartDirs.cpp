#include "app/StartDirs.h"

#include <cwchar>

UINT g_MsgReqDirChange = 0;
HANDLE g_SharedProcessDataMapping = nullptr;
wchar_t* g_SharedProcessData = nullptr;
DWORD g_HandOverTimeoutMs = 5000;

BOOL OpenSharedProcessData()
{
    g_SharedProcessDataMapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                           kSharedProcessDataBytes, QV_SHARED_PROCESS_DATA_NAME);
    if (!g_SharedProcessDataMapping)
        return FALSE;
    g_SharedProcessData =
        static_cast<wchar_t*>(MapViewOfFile(g_SharedProcessDataMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!g_SharedProcessData)
    {
        CloseHandle(g_SharedProcessDataMapping);
        g_SharedProcessDataMapping = nullptr;
        return FALSE;
    }
    return TRUE;
}

void CloseSharedProcessData()
{
    if (g_SharedProcessData)
        UnmapViewOfFile(g_SharedProcessData);
    g_SharedProcessData = nullptr;
    if (g_SharedProcessDataMapping)
        CloseHandle(g_SharedProcessDataMapping);
    g_SharedProcessDataMapping = nullptr;
}

namespace
{

void TakeStartDirToken(LPCWSTR token, int length, CString dirs[2], int& taken)
{
    if (taken >= 2 || length < 2 || token[0] != L'-' || (token[1] != L'D' && token[1] != L'd'))
        return;
    if (length > 2 && token[2] == L'"')
    {
        int textLength = length - 3;
        if (textLength >= 2)
            --textLength;
        dirs[taken] = CString(token + 3, textLength);
    }
    else
    {
        dirs[taken] = CString(token + 2, length - 2);
    }
    ++taken;
}

} // namespace

void ParseStartDirs(LPCWSTR commandLine, CString dirs[2])
{
    dirs[0].Empty();
    dirs[1].Empty();
    if (!commandLine)
        return;
    int taken = 0;
    bool quoted = false;
    int start = 0;
    for (int pos = 0;; ++pos)
    {
        const wchar_t ch = commandLine[pos];
        if (quoted)
        {
            if (ch == L'"')
                quoted = false;
        }
        else if (ch == L'"')
        {
            quoted = true;
        }
        else if (ch == L' ' || ch == L'\0')
        {
            if (pos > start)
                TakeStartDirToken(commandLine + start, pos - start, dirs, taken);
            start = pos + 1;
        }
        if (ch == L'\0')
            break;
    }
}

void WriteStartDirSlot(wchar_t* sharedData, int slot, LPCWSTR dir)
{
    wchar_t* target = sharedData + slot * kStartDirSlotChars;
    const size_t length = dir ? wcslen(dir) : 0;
    // A cut path would name another folder, so one that does not fit is not handed on.
    if (length >= static_cast<size_t>(kStartDirSlotChars))
    {
        target[0] = L'\0';
        return;
    }
    if (length)
        wmemcpy(target, dir, length);
    target[length] = L'\0';
}

void ReadStartDirSlot(const wchar_t* sharedData, int slot, CString& out)
{
    // Another process writes the slot; its terminator cannot be trusted.
    const wchar_t* source = sharedData + slot * kStartDirSlotChars;
    out = CString(source, static_cast<int>(wcsnlen(source, kStartDirSlotChars)));
}

BOOL CALLBACK FindRunningInstanceProc(HWND hWnd, LPARAM)
{
    static const wchar_t kSuffix[] = L" - qv";
    const int suffixLength = static_cast<int>(wcslen(kSuffix));
    wchar_t title[301] = L"";
    // Read without a message to the window's thread, which may be the one that hangs.
    const int length = InternalGetWindowText(hWnd, title, 301);
    if (length <= suffixLength || wcscmp(title + length - suffixLength, kSuffix) != 0)
        return TRUE;

    SetForegroundWindow(hWnd);
    HWND target = hWnd;
    if (HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrW(hWnd, GWLP_HWNDPARENT)))
        target = owner;
    // A hung window must not keep this start from ending, so every send is bounded.
    DWORD_PTR result = 0;
    if (IsIconic(target))
        SendMessageTimeoutW(target, WM_SYSCOMMAND, SC_RESTORE, static_cast<LPARAM>(-1), SMTO_ABORTIFHUNG,
                            g_HandOverTimeoutMs, &result);
    SendMessageTimeoutW(target, g_MsgReqDirChange, 0, 0, SMTO_ABORTIFHUNG, g_HandOverTimeoutMs, &result);
    return TRUE;
}
