#include "app/dialogs/DialogHelpers.h"

#include <commctrl.h>
#include <commdlg.h>
#include <imm.h>

CWnd* DialogOwner(CWnd* window)
{
    return window != nullptr && window->m_hWnd != nullptr ? window : nullptr;
}

void InsertTabs(CWnd& sheet, int tabId, const wchar_t* const* captions, int count)
{
    HWND tab = ::GetDlgItem(sheet.m_hWnd, tabId);
    for (int i = 0; i < count; ++i)
    {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        ::SendMessageW(tab, TCM_INSERTITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
}

void ShowTabPage(CWnd& sheet, int tabId, CDialog* shown, CDialog& page, int index)
{
    HWND tab = ::GetDlgItem(sheet.m_hWnd, tabId);
    if (shown != nullptr && shown->m_hWnd != nullptr)
        shown->ShowWindow(SW_HIDE);
    if (page.m_hWnd == nullptr)
    {
        page.Create(page.m_nIDTemplate, &sheet);
        RECT area = {};
        ::GetWindowRect(tab, &area);
        ::MapWindowPoints(nullptr, sheet.m_hWnd, reinterpret_cast<POINT*>(&area), 2);
        ::SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        ::SetWindowPos(page.m_hWnd, HWND_TOP, area.left, area.top, area.right - area.left,
                       area.bottom - area.top, 0);
    }
    ::SendMessageW(tab, TCM_SETCURSEL, WPARAM(index), 0);
    page.ShowWindow(SW_SHOW);
}

namespace
{

bool ShowFileDialog(const FileDialogRequest& request, DWORD extraFlags, wchar_t* buffer, DWORD capacity)
{
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = request.filter;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = capacity;
    ofn.lpstrInitialDir =
        request.initialDir != nullptr && request.initialDir[0] != L'\0' ? request.initialDir : nullptr;
    ofn.lpstrDefExt = request.defaultExt;
    ofn.Flags = request.flags | extraFlags;
    return (request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn)) != FALSE;
}

} // namespace

bool BrowseForFile(const FileDialogRequest& request, CString& path)
{
    wchar_t buffer[MAX_PATH * 4] = {};
    lstrcpynW(buffer, path, ARRAYSIZE(buffer));
    if (!ShowFileDialog(request, 0, buffer, ARRAYSIZE(buffer)))
        return false;
    path = buffer;
    return true;
}

std::vector<CString> BrowseForFiles(const FileDialogRequest& request)
{
    std::vector<CString> paths;
    wchar_t names[2000] = {};
    if (!ShowFileDialog(request, OFN_ALLOWMULTISELECT, names, ARRAYSIZE(names)))
        return paths;
    // One file comes back as its full path; several as the folder followed by the bare
    // names, each ended by a nul.
    LPCWSTR folder = names;
    LPCWSTR name = names + wcslen(names) + 1;
    if (*name == 0)
        paths.push_back(folder);
    for (; *name; name += wcslen(name) + 1)
        paths.push_back(CString(folder) + L"\\" + name);
    return paths;
}

int GetSelectedListRow(HWND list)
{
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

void SelectListRow(HWND list, int row)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0 || row >= ListView_GetItemCount(list))
        return;
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

UINT GetListKeyPress(const MSG& message, HWND list)
{
    if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) || message.hwnd != list)
        return 0;
    const UINT key = static_cast<UINT>(message.wParam);
    return key == VK_PROCESSKEY ? ImmGetVirtualKey(message.hwnd) : key;
}

ListRowMatches FindListRowsAfter(int selected, int count, const std::function<bool(int row)>& matches)
{
    ListRowMatches found;
    for (int step = 1; step <= count; ++step)
    {
        const int row = (selected + step + count) % count;
        if (matches(row))
        {
            if (found.first < 0)
                found.first = row;
            ++found.count;
        }
    }
    return found;
}
