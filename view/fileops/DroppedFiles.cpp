// Files that come from the shell: dropped on the view or pasted from the clipboard,
// they become a copy or move job into the pane's folder, or shortcuts.
#include "util/PathHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/copy/MyCopyDlg.h"
#include "view/QvView.h"
#include "view/fileops/FileJobs.h"
#include "view/ViewBusyGuard.h"

#include <shellapi.h>

namespace
{
// The extension of a name, without its dot.
CString ExtensionOf(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    const int dot = path.ReverseFind(L'.');
    return dot > slash ? path.Mid(dot + 1) : CString();
}
} // namespace

int CollectDroppedFiles(HDROP drop, CSelectedEntryList& out)
{
    out.m_entries.RemoveAll();
    out.m_directory.Empty();
    const UINT count = drop ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i)
    {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        CString path;
        DragQueryFileW(drop, i, path.GetBuffer(length + 1), length + 1);
        path.ReleaseBuffer();
        WIN32_FIND_DATAW findData = {};
        HANDLE find = FindFirstFileLong(path, &findData);
        // A name that vanished since the drop leaves no empty slot: the copy job
        // would take an empty name for the source folder itself.
        if (find == INVALID_HANDLE_VALUE)
            continue;
        FindClose(find);
        CString folder;
        SplitPath(path, &folder, nullptr);
        CFileInfo entry;
        entry.SetFromDisk(folder, findData);
        if (out.m_entries.GetSize() == 0)
            out.m_directory = folder;
        out.m_entries.Add(entry);
    }
    return static_cast<int>(out.m_entries.GetSize());
}

void CQvView::CopyDroppedFiles(int pane, HDROP drop, int kind)
{
    CFilerPane* target = PaneAt(pane);
    if (target == nullptr || (target->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0 ||
        target->m_mode != PANE_MODE_FILER || target->m_subMode != PANE_SUB_DIRECTORY)
    {
        StartBinaryCursorTimer();
        return;
    }
    CViewBusyGuard busy(*this);
    const UINT count = drop ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    if (count == 0 || target->CheckState(PANE_CHECK_DRIVE_PRESENT))
        return;
    if (kind == DROP_LINK)
    {
        CString first;
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        DragQueryFileW(drop, 0, first.GetBuffer(length + 1), length + 1);
        first.ReleaseBuffer();
        // A program dropped alone is meant to be started from here, not copied.
        if (count == 1 && !target->IsOnVirtualDrive() && ExtensionOf(first).CompareNoCase(L"EXE") == 0)
        {
            CreateShortcutsFromDrop(pane, drop);
            return;
        }
        kind = DROP_COPY;
    }
    CSelectedEntryList source;
    if (CollectDroppedFiles(drop, source) == 0)
        return;
    auto* dialog = new CMyCopyDlg();
    dialog->m_source = std::move(source);
    dialog->m_kind = kind;
    dialog->m_sourcePane = pane;
    SetPathWithBackslash(target->m_currentDir, dialog->m_destinationText);
    ShowCopyDialog(*this, dialog);
}

void CQvView::OnPasteFiles()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return;
    CViewBusyGuard busy(*this);
    if (!::OpenClipboard(m_hWnd))
    {
        Tell(this, L"クリップボードを開くのに失敗しました", L"");
        return;
    }
    HANDLE files = GetClipboardData(CF_HDROP);
    if (files == nullptr)
    {
        CloseClipboard();
        return;
    }
    int kind = DROP_COPY;
    const UINT effectFormat = RegisterClipboardFormatW(L"Preferred DropEffect");
    if (HANDLE effect = GetClipboardData(effectFormat))
    {
        if (const auto* value = static_cast<const DWORD*>(GlobalLock(effect)))
        {
            if (*value == DROPEFFECT_MOVE)
                kind = DROP_MOVE;
            GlobalUnlock(effect);
        }
    }
    CopyDroppedFiles(index, static_cast<HDROP>(files), kind);
    // A pasted move leaves the files on the clipboard, as the shell does.
    CloseClipboard();
}

void CQvView::OnDropFiles(HDROP hDropInfo)
{
    // The flag belongs to one drag only, whatever becomes of this drop.
    const BOOL ownDrag = m_bShellDragStarted;
    m_bShellDragStarted = 0;
    if (hDropInfo == nullptr)
        return;
    // The drop goes to the pane under the point; Shift moves, Ctrl copies, a plain
    // drop copies (a lone program becomes a shortcut).
    POINT point = {};
    DragQueryPoint(hDropInfo, &point);
    int pane = -1;
    INT64 entry = -1;
    HitTest(CPoint(point), &pane, &entry);
    // Our own drag released before it left the system's drag rectangle is a click
    // that went astray, not a request to copy the files onto themselves.
    CRect start(m_lastClickPoint, m_lastClickPoint);
    start.InflateRect(GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG));
    if (pane < 0 || (ownDrag && start.PtInRect(point)))
    {
        DragFinish(hDropInfo);
        return;
    }
    int kind = DROP_LINK;
    if (GetKeyState(VK_SHIFT) < 0)
        kind = DROP_MOVE;
    else if (GetKeyState(VK_CONTROL) < 0)
        kind = DROP_COPY;
    CopyDroppedFiles(pane, hDropInfo, kind);
    DragFinish(hDropInfo);
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}
