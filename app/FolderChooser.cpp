#include "app/FolderChooser.h"
#include "util/PathHelpers.h"
#include "framework/FwWnd.h"

#include <shlobj.h>

namespace
{

// The chooser's item path, long paths included; empty for items outside the file
// system.
CString PathFromIdList(PCIDLIST_ABSOLUTE idList)
{
    CString path;
    wchar_t* buffer = path.GetBuffer(32768);
    if (!SHGetPathFromIDListEx(idList, buffer, 32768, GPFIDL_DEFAULT))
    {
        buffer[0] = L'\0';
    }
    path.ReleaseBuffer();
    return path;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
    {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    }
    else if (message == BFFM_SELCHANGED)
    {
        CString status;
        status.Format(L"「%s」が選択されています", PathFromIdList((PCIDLIST_ABSOLUTE)lParam));
        SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, (LPARAM)status.GetString());
    }
    return 0;
}

bool IsDriveRootWithBackslash(const CString& path)
{
    return path.GetLength() == 3 && path[1] == L':' && path[2] == L'\\';
}

} // namespace

BOOL BrowseForFolder(CString& path, CWnd* owner, BOOL includeFiles)
{
    CString start = path;
    if (start.GetLength() > 0 && start[start.GetLength() - 1] == L'\\')
    {
        start = start.Left(start.GetLength() - 1);
    }
    if (start.GetLength() == 2 && start[1] == L':')
    {
        start += L'\\';
    }

    IMalloc* shellMalloc = nullptr;
    if (FAILED(SHGetMalloc(&shellMalloc)))
    {
        return FALSE;
    }
    PIDLIST_ABSOLUTE desktop = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)))
    {
        shellMalloc->Release();
        return FALSE;
    }

    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW info = {};
    info.hwndOwner = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    info.pidlRoot = desktop;
    info.pszDisplayName = displayName;
    info.lpszTitle = L"パスを指定してください。";
    info.ulFlags = BIF_STATUSTEXT | BIF_EDITBOX | (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);
    info.lpfn = BrowseCallback;
    info.lParam = (LPARAM)start.GetString();

    BOOL chosen = FALSE;
    PIDLIST_ABSOLUTE result = SHBrowseForFolderW(&info);
    if (result != nullptr)
    {
        CString choice = PathFromIdList(result);
        if (!choice.IsEmpty())
        {
            if (choice[choice.GetLength() - 1] == L'\\' && !IsDriveRootWithBackslash(choice))
            {
                choice = choice.Left(choice.GetLength() - 1);
            }
            path = choice;
            chosen = TRUE;
        }
        shellMalloc->Free(result);
    }
    shellMalloc->Free(desktop);
    shellMalloc->Release();
    return chosen;
}

namespace
{

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data)
{
    reinterpret_cast<CArray<CRect>*>(data)->Add(CRect(*rect));
    return TRUE;
}

LONGLONG IntersectionArea(const RECT& a, const RECT& b)
{
    RECT common;
    if (!IntersectRect(&common, &a, &b))
    {
        return 0;
    }
    return (LONGLONG)(common.right - common.left) * (common.bottom - common.top);
}

} // namespace

void EnumMonitors(CArray<CRect>& rects)
{
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, (LPARAM)&rects);
}

void GetWindowMonitorRect(HWND window, RECT* rect)
{
    SetRect(rect, 0, 0, GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    if (GetSystemMetrics(SM_CMONITORS) <= 1)
    {
        return;
    }
    CArray<CRect> monitors;
    EnumMonitors(monitors);
    if (monitors.GetSize() <= 1)
    {
        return;
    }
    RECT windowRect = {};
    GetWindowRect(window, &windowRect);
    INT_PTR best = 0;
    LONGLONG bestArea = 0;
    for (INT_PTR i = 0; i < monitors.GetSize(); i++)
    {
        const LONGLONG area = IntersectionArea(monitors[i], windowRect);
        if (area > bestArea)
        {
            best = i;
            bestArea = area;
        }
    }
    *rect = monitors[best];
}

POINT KeepOnFrameMonitor(HWND frame, HWND window, POINT wanted)
{
    RECT monitor = {};
    RECT rect = {};
    GetWindowMonitorRect(frame, &monitor);
    GetWindowRect(window, &rect);
    // The monitor's rectangle holds its last pixel, the window's does not.
    const int monitorWidth = monitor.right - monitor.left + 1;
    const int monitorHeight = monitor.bottom - monitor.top + 1;
    const int width = rect.right - rect.left + 1;
    const int height = rect.bottom - rect.top + 1;
    POINT place = wanted;
    if (place.x < monitor.left)
        place.x = monitor.left;
    if (place.y < monitor.top)
        place.y = monitor.top;
    if (place.x > monitor.left + monitorWidth - width)
        place.x = monitor.left + monitorWidth - width;
    if (place.y > monitor.top + monitorHeight - height)
        place.y = monitor.top + monitorHeight - height;
    return place;
}
