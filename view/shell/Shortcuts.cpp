// Shortcuts made from dropped or pasted files.
#include "util/PathHelpers.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/shell/ShellSeam.h"

#include <objbase.h>
#include <shlobj.h>

namespace
{

BOOL PathExists(LPCWSTR path)
{
    return GetFileAttributesLong(path) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

BOOL CreateShortcut(LPCWSTR linkPath, LPCWSTR target, LPCWSTR workDirectory, LPCWSTR arguments,
                    LPCWSTR description)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return FALSE;
    link->SetPath(target);
    link->SetWorkingDirectory(workDirectory);
    link->SetArguments(arguments);
    link->SetDescription(description);
    IPersistFile* file = nullptr;
    BOOL saved = FALSE;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
    {
        saved = SUCCEEDED(file->Save(linkPath, TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

void MakeFreeShortcutName(LPCWSTR directory, LPCWSTR baseName, CString& out)
{
    CString folder = directory;
    while (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    out.Format(L"%s\\%s.lnk", (LPCWSTR)folder, baseName);
    // An existing shortcut of that name, or one just made for another dropped file
    // of the same base name, is never overwritten.
    for (int number = 2; PathExists(out); ++number)
        out.Format(L"%s\\%s (%d).lnk", (LPCWSTR)folder, baseName, number);
}

void CQvView::CreateShortcutsFromDrop(int pane, HDROP drop)
{
    if (PaneAt(pane) == nullptr || drop == nullptr || PaneAt(pane)->IsOnVirtualDrive())
        return;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0)
        return;
    HRESULT com = CoInitialize(nullptr);
    CString directory = g_Panes[pane]->m_currentDir;
    for (UINT i = 0; i < count; ++i)
    {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        CString path;
        DragQueryFileW(drop, i, path.GetBuffer(length + 1), length + 1);
        path.ReleaseBuffer();
        int slash = path.ReverseFind(L'\\');
        CString fileDirectory = slash < 0 ? CString() : path.Left(slash);
        CString name = slash < 0 ? path : path.Mid(slash + 1);
        int dot = name.ReverseFind(L'.');
        CString base = dot > 0 ? name.Left(dot) : name;
        CString link;
        MakeFreeShortcutName(directory, base, link);
        CreateShortcut(link, path, fileDirectory, L"", L"");
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    ReloadFilerPanes();
}

// "@Pasteshortcut": shortcuts to the files on the clipboard, into the active filer pane.
VIEW_COMMAND(PasteShortcut)
{
    int pane = 0;
    if (!FindPaneByMode(&pane, PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY))
        return;
    if (!OpenClipboard(view.m_hWnd))
        return;
    if (HANDLE drop = GetClipboardData(CF_HDROP))
        view.CreateShortcutsFromDrop(pane, static_cast<HDROP>(drop));
    CloseClipboard();
}
