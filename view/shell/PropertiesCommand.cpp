// "@Properties": the shell's property sheet of the active pane's cursor entry or
// drive.
#include "app/records/PaneRecords.h"
#include "filer/FileInfo.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"
#include "view/shell/ShellSeam.h"

// The path whose properties the active pane offers; empty when it offers none.
static CString PropertiesPath()
{
    int index = 0;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
    {
        CFilerPane& pane = *g_Panes[index];
        if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY))
            return CString();
        const CFileInfo* entry = pane.GetCursorEntry();
        if (entry == nullptr)
            return CString();
        // An archive member has no file of its own for the shell to describe.
        if (entry->m_entryClass == ENTRY_CLASS_FILE ||
            (entry->m_entryClass >= ENTRY_CLASS_DIRECTORY && entry->m_entryClass <= ENTRY_CLASS_CURRENT &&
             entry->m_owner == nullptr))
            return entry->GetFullPath();
        return CString();
    }
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_DRIVE_LIST, 0xFFFFFFFF))
    {
        const CFilerPane& pane = *g_Panes[index];
        if (pane.m_cursor < 0 || pane.m_cursor >= pane.m_driveList.GetSize())
            return CString();
        const CDriveInfo& drive = pane.m_driveList[static_cast<INT_PTR>(pane.m_cursor)];
        if (drive.m_kind == DRIVE_KIND_NETWORK_ROOT)
            return CString();
        return drive.m_name;
    }
    return CString();
}

void CQvView::ShowProperties()
{
    CViewBusyGuard busy(*this);
    const CString path = PropertiesPath();
    if (!path.IsEmpty())
    {
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.hwnd = m_hWnd;
        info.lpVerb = L"Properties";
        info.lpFile = path;
        info.nShow = SW_SHOWNORMAL;
        // The sheet runs inside the shell; a handle it still returns would leak.
        if (g_ShellDialogSeam.shellExecuteEx(&info) && info.hProcess != nullptr)
            CloseHandle(info.hProcess);
    }
}
