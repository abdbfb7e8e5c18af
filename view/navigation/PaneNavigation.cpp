// Moving a pane from one place to another: the common directory change, Enter on the
// cursor entry, going up, the drive list, drive letters, opening a path and the path
// history.
#include "app/Directories.h"
#include "util/Globals.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/DriveSlots.h"
#include "filer/FilerPane.h"
#include "filer/PathHistory.h"
#include "view/QvView.h"
#include "view/navigation/ArchiveNavigation.h"
#include "view/navigation/NetworkNavigation.h"
#include "view/media/SoundHooks.h"
#include "view/navigation/FileKindActions.h"
#include "view/ViewBusyGuard.h"

namespace
{

constexpr UINT kFilerLikeModes =
    PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;
constexpr wchar_t kDriveListTitle[] = L"論理ドライブリスト";

// The document's title: the frame shows it with the program's suffix, which a second
// start looks for.
void SetFrameTitle(CQvView& view, LPCWSTR text)
{
    if (CDocument* document = view.GetDocument())
        document->SetTitle(text);
}

// The last element of the directory and the directory above it; FALSE at a root.
BOOL SplitLastElement(const CString& directory, CString& parent, CString& name)
{
    int cut = directory.ReverseFind(L'\\');
    if (cut <= 0)
        return FALSE;
    parent = directory.Left(cut);
    name = directory.Mid(cut + 1);
    return !name.IsEmpty();
}

} // namespace

void CQvView::RedrawMovedPane(int pane, int statusPart)
{
    UpdateMenuForMode();
    UpdateAuxiliaryWindows();
    if (m_hWnd == nullptr || !IsPaneVisible(pane))
        return;
    m_paneRedrawRequest[pane] = 1;
    DrawPane(pane);
    DrawMarks(pane);
    DrawCursorLine(pane, (g_Panes[pane]->m_position & PANE_POS_ACTIVE) != 0 ? 1 : 0);
    DrawStatusLine(statusPart);
}

void CQvView::ChangePaneDirectory(int pane, LPCWSTR path, int historyMode, int statusPart, BOOL allowFile)
{
    CFilerPane* target = g_Panes[pane];
    if (target == nullptr)
        return;
    // The archive is closed and its folder read again first, so that the cursor saved
    // below stands on the archive's name when the user comes back.
    if ((target->m_position & PANE_POS_ACTIVE) != 0 && target->m_mode == PANE_MODE_ARCHIVE)
        target->CloseArchiveListing(TRUE);
    for (CFilerPane* each : g_Panes)
        if (each != nullptr && each->m_mode == PANE_MODE_FILER)
            each->SaveCursorPosition();
    target->SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    target->ChangeDirectory(path, historyMode, FALSE, allowFile);
    if ((target->m_position & PANE_POS_ACTIVE) != 0)
        target->SyncProcessDirectory();
    CalcLayout();
    target->MoveCursor(0, TRUE);
    RedrawMovedPane(pane, statusPart);
}

int CQvView::ShowDriveListAt(int pane, LPCWSTR rootPath)
{
    CFilerPane* target = g_Panes[pane];
    if (target == nullptr)
        return 0;
    target->SetMode(0, PANE_MODE_DRIVE_LIST, 0);
    target->ReadDriveList();
    target->CloseChangeNotification();
    SetCurrentDir(g_ProgramDir);
    target->m_firstVisible = 0;
    target->m_cursor = 0;
    int found = 0;
    for (INT_PTR i = 0; i < target->m_driveList.GetSize(); ++i)
    {
        if (rootPath != nullptr && rootPath[0] != 0 && target->m_driveList[i].IsDriveOfPath(rootPath))
        {
            target->m_cursor = i;
            found = 1;
            break;
        }
    }
    CalcLayout();
    target->MoveCursor(0, TRUE);
    RedrawMovedPane(pane, g_DISP_VOLUME_AT_HEADER ? STATUS_PART_FULL : STATUS_PART_UPDATE);
    SetFrameTitle(*this, kDriveListTitle);
    return found;
}

void CQvView::GoParentDirectory()
{
    int index = GetActivePaneIndex();
    if (index < 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    CViewBusyGuard busy(*this);
    if (pane.m_mode == PANE_MODE_ARCHIVE)
        LeaveArchiveFolder(*this, index);
    else if (pane.m_mode == PANE_MODE_FILER && pane.m_subMode == PANE_SUB_FIND_RESULTS)
    {
        pane.m_findResults.StopSearch();
        pane.m_subMode = PANE_SUB_DIRECTORY;
        pane.SyncProcessDirectory();
        if (pane.ReadDirectory(TRUE) != READ_UNCHANGED)
            pane.SortEntries();
        pane.MoveCursor(0, TRUE);
        RedrawMovedPane(index, STATUS_PART_FULL);
    }
    else if (pane.m_mode == PANE_MODE_FILER)
    {
        g_SoundHooks.playCommandSound(L"UPDIR");
        if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT))
            return;
        for (CFilerPane* each : g_Panes)
            if (each != nullptr && each->m_mode == PANE_MODE_FILER)
                each->SaveCursorPosition();
        CString parent, name;
        if (pane.IsRootDirectory() || !SplitLastElement(pane.m_currentDir, parent, name))
        {
            bool unc = pane.m_currentDir.Left(2) == L"\\\\";
            if (unc)
            {
                g_LastNetworkRoot = pane.m_currentDir;
                if (g_LastNetworkRoot.Right(1) != L"\\")
                    g_LastNetworkRoot += L"\\";
            }
            if (!unc || !NetworkGoUp(index))
                ShowDriveListAt(index, pane.m_currentDir);
        }
        else
        {
            pane.SetDirectory(parent, TRUE);
            pane.UpdatePreviewState();
            pane.SyncProcessDirectory();
            pane.ReadDirectory(TRUE);
            pane.SortEntries();
            pane.SetCursorToName(name, TRUE, pane.m_cursor);
            CalcLayout();
            pane.MoveCursor(0, TRUE);
            RedrawMovedPane(index, STATUS_PART_FULL);
        }
    }
    else if (pane.m_mode == PANE_MODE_NETWORK)
    {
        g_SoundHooks.playCommandSound(L"UPDIR");
        if (pane.m_networkDepth > 0)
            NetworkGoUp(index);
        else
        {
            ShowDriveListAt(index, nullptr);
            for (INT_PTR i = 0; i < pane.m_driveList.GetSize(); ++i)
                if (pane.m_driveList[i].m_kind == DRIVE_KIND_LAST_SHARE)
                {
                    pane.m_cursor = i;
                    pane.MoveCursor(0, TRUE);
                    RedrawMovedPane(index, STATUS_PART_FULL);
                    break;
                }
        }
    }
}

void CQvView::OpenCursorEntry(int ignoreModifiers, int enterOnly)
{
    if (ignoreModifiers)
    {
        m_bShiftDown = 0;
        m_bCtrlDown = 0;
    }
    else
    {
        m_bCtrlDown = (GetKeyState(VK_CONTROL) & 0x8000) != 0 ? 1 : 0;
        m_bShiftDown = (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? 1 : 0;
    }
    for (int graphic = 0; graphic < 2; ++graphic)
        if (g_Panes[graphic] != nullptr && (g_Panes[graphic]->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        {
            CViewBusyGuard busy(*this);
            if (!enterOnly && !m_graphic.drawingPicture)
                StepPictureFromOpenRoutine(graphic);
            return;
        }
    int index = GetActivePaneIndex();
    if (index < 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    CViewBusyGuard busy(*this);
    if (pane.m_mode == PANE_MODE_FILER)
    {
        if (pane.m_subMode == PANE_SUB_DIRECTORY &&
            pane.CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT))
            return;
        CFileInfo* entry = pane.GetCursorEntry();
        if (entry == nullptr)
            return;
        if (entry->m_entryClass == ENTRY_CLASS_PARENT)
        {
            GoParentDirectory();
            return;
        }
        if (entry->IsDirectory() && entry->m_entryClass != ENTRY_CLASS_CURRENT)
        {
            if (pane.m_subMode == PANE_SUB_DIRECTORY)
                ChangePaneDirectory(index, entry->GetName(), 1, STATUS_PART_FULL, FALSE);
            else
            {
                ChangePaneDirectory(index, entry->GetRealFullPath() + L"\\", 1, STATUS_PART_FULL, FALSE);
            }
        }
        else if (!entry->IsDirectory() && !enterOnly)
        {
            CFileInfo file = *entry;
            OpenFileEntry(*this, index, file);
        }
    }
    else if (pane.m_mode == PANE_MODE_ARCHIVE)
    {
        if (CFileInfo* entry = pane.GetCursorEntry())
        {
            if (entry->m_entryClass == ENTRY_CLASS_PARENT)
                LeaveArchiveFolder(*this, index);
            else if (entry->IsDirectory() && !entry->IsDots())
                EnterArchiveFolder(*this, index, CString(entry->GetName()));
            else if (!entry->IsDirectory() && !enterOnly)
            {
                CFileInfo member = *entry;
                OpenArchiveMember(*this, index, member);
            }
        }
    }
    else if (pane.m_mode == PANE_MODE_ARCHIVE_TEXT_VIEWER)
    {
        if (!enterOnly)
            CloseViewer();
    }
    else if (pane.m_mode == PANE_MODE_TEXT_VIEWER)
    {
        if (enterOnly)
            return;
        if (m_nCompanionPane == index)
            m_nCompanionPane = -1;
        if (m_bShiftDown)
        {
            // The busy guard has stopped the viewer's scroll timers; the viewer stays.
            CString directory = pane.m_viewerEntry.GetDirectory().IsEmpty()
                                    ? pane.m_currentDir
                                    : CString(pane.m_viewerEntry.GetDirectory());
            OpenInEditor(pane.m_viewerEntry.GetName(), directory, index, g_CHECK_EDIT_FILE_IS_UNICODE);
        }
        else
            CloseViewer();
    }
    else if (pane.m_mode == PANE_MODE_DRIVE_LIST)
    {
        if (pane.m_cursor >= 0 && pane.m_cursor < pane.m_driveList.GetSize())
        {
            CDriveInfo row = pane.m_driveList[static_cast<INT_PTR>(pane.m_cursor)];
            if (row.m_kind == DRIVE_KIND_NETWORK_ROOT)
                ShowNetworkList(*this, index);
            else
                ChangePaneDirectory(index, row.m_name, 1, STATUS_PART_FULL, FALSE);
        }
    }
    else if (pane.m_mode == PANE_MODE_NETWORK)
    {
        if (pane.m_cursor >= 0 && pane.m_cursor < pane.m_networkList.GetSize() &&
            pane.m_networkList[static_cast<INT_PTR>(pane.m_cursor)].m_name.CompareNoCase(L"..") == 0)
        {
            GoParentDirectory();
            return;
        }
        EnterNetworkResource(*this, index);
    }
}

void CQvView::ChangeDrive(int letterCode)
{
    const wchar_t letter = static_cast<wchar_t>(letterCode);
    int index = GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & kFilerLikeModes) == 0)
        return;
    CViewBusyGuard busy(*this);
    CString path;
    path.Format(L"%c:", letter);
    const CString* slot = GetDriveLetterSlot(letter, index);
    if (slot != nullptr && !slot->IsEmpty() && DirectoryExists(*slot))
        path = *slot;
    ChangePaneDirectory(index, path, 1, STATUS_PART_FULL, FALSE);
}

int CQvView::OpenPathInPane(int pane, LPCWSTR path)
{
    CFilerPane* target = PaneAt(pane);
    if (target == nullptr || path == nullptr || path[0] == 0)
        return 0;
    if (IsPathRoot(path))
        return ShowDriveListAt(pane, path);
    if (!FileExists(path) && !DirectoryExists(path))
        return 0;
    CString directory, name;
    SplitPath(path, &directory, &name);
    if (directory.IsEmpty() || name.IsEmpty())
        return 0;
    // A file straight under a root splits into "X:\": the pane keeps roots bare.
    if (directory.GetLength() > 2 && directory[directory.GetLength() - 1] == L'\\')
        directory.Delete(directory.GetLength() - 1);
    for (CFilerPane* each : g_Panes)
        if (each != nullptr && each->m_mode == PANE_MODE_FILER)
            each->SaveCursorPosition();
    target->SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    target->SetDirectory(directory, TRUE);
    target->ReadDirectory(TRUE);
    target->SortEntries();
    int found = 0;
    for (INT_PTR i = 0; i < target->m_entries.GetSize(); ++i)
    {
        if (name.CompareNoCase(target->m_entries[i].GetName()) == 0)
        {
            target->m_cursor = i;
            found = 1;
            break;
        }
    }
    CalcLayout();
    target->MoveCursor(0, TRUE);
    RedrawMovedPane(pane, STATUS_PART_FULL);
    return found;
}

void CQvView::GoPathHistory(int direction)
{
    int index = GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & kFilerLikeModes) == 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    CString path;
    if (!g_PathHistory.Step(static_cast<int>(pane.m_paneNumber), direction == 1 ? 0 : 1, pane.m_currentDir,
                            path))
        return;
    if (IsPathRoot(path))
    {
        while (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
            path.Delete(path.GetLength() - 1);
        path += L'\\';
    }
    CViewBusyGuard busy(*this);
    ChangePaneDirectory(index, path, PATH_VISIT_STEP, STATUS_PART_FULL, FALSE);
}
