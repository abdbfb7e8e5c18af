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

bool BrowseForFile(CWnd& owner, LPCWSTR filter, CString& path, LPCWSTR initialDir)
{
    wchar_t buffer[MAX_PATH * 4] = {};
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner.m_hWnd;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = ARRAYSIZE(buffer);
    ofn.lpstrInitialDir = initialDir != nullptr && initialDir[0] != L'\0' ? initialDir : nullptr;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn))
        return false;
    path = buffer;
    return true;
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
