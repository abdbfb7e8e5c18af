// Small helpers that the program's dialogs share: the owner to give a dialog,
// the pages of a tab control, browsing for a file, and the rows of a list view.
#pragma once

#include "framework/FwDialog.h"
#include "framework/FwString.h"

#include <commdlg.h>
#include <functional>
#include <vector>

// The window to own a dialog or message box: `window` while it has a window, else
// none (a view driven without its window, as the tests do, owns nothing).
CWnd* DialogOwner(CWnd* window);

// Gives the tab control `tabId` of `sheet` one tab for each of the `count` captions.
void InsertTabs(CWnd& sheet, int tabId, const wchar_t* const* captions, int count);

// Shows `page` in the area of the tab control `tabId` of `sheet` and selects its tab
// `index`; the page is created on its first showing and `shown` (the page shown so
// far, or null) is hidden.
void ShowTabPage(CWnd& sheet, int tabId, CDialog* shown, CDialog& page, int index);

// How the system's file dialog is to be shown. `filter` is in the nul-separated form the
// dialog reads ("すべてのファイル\0*.*\0\0"); `initialDir` (null or empty: the dialog's own
// choice) and `defaultExt` may be null; `flags` are the dialog's OFN_ flags, which differ
// from caller to caller in what they ask of the chosen name (must it exist, ask before
// overwriting, follow shortcuts, change the current folder).
struct FileDialogRequest
{
    explicit FileDialogRequest(HWND ownerWindow, LPCWSTR filterText = L"すべてのファイル\0*.*\0\0")
        : owner(ownerWindow), filter(filterText)
    {
    }

    HWND owner;
    LPCWSTR filter;
    LPCWSTR initialDir = nullptr;
    LPCWSTR defaultExt = nullptr;
    DWORD flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    bool save = false; // the save dialog instead of the open dialog
};

// The system's open (or save) dialog for one file: `path` is the name it starts with and,
// unless the user cancelled (false), the chosen file.
bool BrowseForFile(const FileDialogRequest& request, CString& path);

// The open dialog with several files chosen at once: the full paths of the chosen files,
// none when the user cancelled.
std::vector<CString> BrowseForFiles(const FileDialogRequest& request);

// The selected row of a list view, -1 for none.
int GetSelectedListRow(HWND list);
// Makes `row` the only selected and focused row of a list view and scrolls it into
// view; a row out of range leaves no row selected.
void SelectListRow(HWND list, int row);

// The key of a key press in `list` (WM_KEYDOWN or WM_SYSKEYDOWN), with the key an
// input method holds (VK_PROCESSKEY) asked of it; 0 for any other message.
UINT GetListKeyPress(const MSG& message, HWND list);

// The rows of `count` that `matches`, looked at from the row after `selected` round to
// `selected` itself, so that repeated presses of one key go through all its rows.
struct ListRowMatches
{
    int first = -1; // the first matching row, -1 for none
    int count = 0;  // how many rows match
};
ListRowMatches FindListRowsAfter(int selected, int count, const std::function<bool(int row)>& matches);
