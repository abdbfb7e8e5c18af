#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "app/Drives.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/StartDirs.h"
#include "app/OsVersion.h"
#include "app/VirtualDrives.h"
#include "app/dialogs/QuitDlg.h"
#include "util/WorkerMessages.h"
#include "filer/FilerPane.h"
#include "media/MciWnd.h"
#include "media/scsi/AspiDeviceList.h"
#include "framework/FwLock.h"
#include "res/CommonDialogs.h"
#include "res/GraphicViewerDialogs.h"
#include "graphics/picture/PictureData.h"
#include "view/media/MediaWindows.h"
#include "view/keys/HotKeys.h"
#include "view/ViewBusyGuard.h"

#include <windowsx.h>

CQvView* g_MainView = nullptr;
IContextMenu2* g_pContMenu2 = nullptr;

namespace
{

constexpr UINT kGraphicModes = PANE_MODE_GRAPHIC | PANE_MODE_ARCHIVE_GRAPHIC;
// Filer, drive list, archive listing and network rows: the modes with a cursor entry.
constexpr UINT kFilerLikeModes =
    PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;
// The modes that list entries: the filer-like ones and the reserved list bit.
constexpr UINT kListingModes = kFilerLikeModes | PANE_MODE_RESERVED_LIST;
static_assert(kListingModes == 0x3188 && kFilerLikeModes == 0x2188, "pane mode bits");

bool AnyPaneInGraphicMode()
{
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_mode & kGraphicModes) != 0)
            return true;
    return false;
}

CFilerPane* ActivePane()
{
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_position & PANE_POS_ACTIVE) != 0)
            return pane;
    return nullptr;
}

// The name under the cursor, empty when the list is empty.
CString CursorName(CFilerPane& pane)
{
    CFileInfo* entry = pane.m_mode == PANE_MODE_NETWORK ? nullptr : pane.GetCursorEntry();
    return entry != nullptr ? CString(entry->GetName()) : CString();
}

void QuerySaveViewBinaryPanes(CQvView& view)
{
    view.QuerySaveBinaryPanes();
}

void SaveViewSettings(CQvView& view)
{
    view.SaveAllSettings();
}

void EnableShutdownPrivilege()
{
    // Only the NT line checks the privilege; ExitWindowsEx fails without it there.
    if (GetOsPlatformId() != VER_PLATFORM_WIN32_NT)
        return;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

BOOL ExitWindowsSession(UINT flags)
{
    return ExitWindowsEx(flags, 0);
}

const QuitHooks kDefaultQuitHooks = {QuerySaveViewBinaryPanes, SaveViewSettings, EnableShutdownPrivilege,
                                     ExitWindowsSession};

} // namespace

QuitHooks g_QuitHooks = kDefaultQuitHooks;

IMPLEMENT_DYNCREATE(CQvView, CView)

BEGIN_MESSAGE_MAP(CQvView, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_DROPFILES()
ON_WM_SIZE()
ON_WM_MOVE()
ON_WM_MOUSEACTIVATE()
ON_WM_TIMER()
ON_WM_KEYDOWN()
ON_WM_SYSKEYDOWN()
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_WM_RBUTTONDBLCLK()
ON_WM_ERASEBKGND()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CQvView::~CQvView()
{
    TearDown();
    // A menu the frame still shows goes with the frame's window; one that no window
    // took (a view without a frame) is freed here.
    CWnd* mainWindow = AfxGetMainWnd();
    if (m_menus.modeMenu != nullptr && IsMenu(m_menus.modeMenu) &&
        (mainWindow == nullptr || mainWindow->m_hWnd == nullptr ||
         ::GetMenu(mainWindow->m_hWnd) != m_menus.modeMenu))
        DestroyMenu(m_menus.modeMenu);
    if (g_MainView == this)
        g_MainView = nullptr;
}

int CQvView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    g_MainView = this;
    LoadViewSettings();
    if (m_settings.startFailed)
        return -1;
    SetWorkerDoneWindow(m_hWnd);
    // The status fields start at their narrow widths for this run's settings.
    m_statusLine.Reset();
    if (g_NEGLECTSCSISCAN == 0)
        g_AspiDeviceList.ScanDevices();
    StartPreviewLoader();
    SetTimer(VIEW_TIMER_CHANGE_CHECK, 1000);
    m_idleState = 1;
    m_bReady = 1;
    PlaceMainWindow(1);
    UpdateMenuForMode();
    return 0;
}

void CQvView::OnDestroy()
{
    QuerySaveBinaryPanes();
    StopPreviewLoader();
    SaveAllSettings();
    m_bSettingsSaved = 1;
    CloseAuxiliaryWindows();
    CloseMediaWindows();
    g_AspiDeviceList.FreeAspi();
    SetWorkerDoneWindow(nullptr);
    CView::OnDestroy();
}

void CQvView::CloseAuxiliaryWindows()
{
    CloseTextBox();
    ClosePictureWindows();
    for (;;)
    {
        CFindDialogBase* dialog = nullptr;
        {
            CHandleLock lock(m_hDialogListMutex);
            if (m_findDialogs.GetSize() == 0)
                break;
            dialog = m_findDialogs[0];
            m_findDialogs.RemoveAt(0);
        }
        if (dialog != nullptr)
        {
            dialog->PumpSearchMessages();
            dialog->DestroyWindow();
            delete dialog;
        }
    }
    // The tag and sound-list windows and the CD player thread; the media window is the
    // frame's and ends with it.
    CloseMediaWindows();
}

// ---- Worker-dialog lists ---------------------------------------------------------------

void CQvView::AddToList(CArray<CWorkerDialog*>& list, CWorkerDialog* dialog)
{
    CHandleLock lock(m_hDialogListMutex);
    list.Add(dialog);
}

void CQvView::AddCopyDialog(CWorkerDialog* dialog)
{
    AddToList(m_copyDialogs, dialog);
}

void CQvView::AddDeleteDialog(CWorkerDialog* dialog)
{
    AddToList(m_deleteDialogs, dialog);
}

void CQvView::AddUnpackDialog(CWorkerDialog* dialog)
{
    AddToList(m_unpackDialogs, dialog);
}

void CQvView::AddFindDialog(CFindDialogBase* dialog)
{
    CHandleLock lock(m_hDialogListMutex);
    m_findDialogs.Add(dialog);
}

void CQvView::RemoveFindDialog(CFindDialogBase* dialog)
{
    CHandleLock lock(m_hDialogListMutex);
    for (INT_PTR i = 0; i < m_findDialogs.GetSize(); ++i)
    {
        if (m_findDialogs[i] == dialog)
        {
            m_findDialogs.RemoveAt(i);
            return;
        }
    }
}

BOOL CQvView::IsFindDialogListed(const CFindDialogBase* dialog)
{
    if (dialog == nullptr)
        return FALSE;
    CHandleLock lock(m_hDialogListMutex);
    for (INT_PTR i = 0; i < m_findDialogs.GetSize(); ++i)
        if (m_findDialogs[i] == dialog)
            return TRUE;
    return FALSE;
}

int CQvView::ReapList(CArray<CWorkerDialog*>& list)
{
    CHandleLock lock(m_hDialogListMutex);
    for (INT_PTR i = list.GetSize() - 1; i >= 0; --i)
    {
        CWorkerDialog* dialog = list[i];
        if (dialog == nullptr || dialog->m_bWorkerDone)
        {
            delete dialog;
            list.RemoveAt(i);
        }
    }
    return list.GetSize() == 0 ? 1 : 0;
}

int CQvView::ReapCopyDialogs()
{
    return ReapList(m_copyDialogs);
}

int CQvView::ReapDeleteDialogs()
{
    return ReapList(m_deleteDialogs);
}

int CQvView::ReapUnpackDialogs()
{
    return ReapList(m_unpackDialogs);
}

void CQvView::ResortFilerPanes()
{
    for (CFilerPane* pane : g_Panes)
    {
        // A hidden pane keeps the filer mode but shows nothing: reading its folder
        // would only cost time, or ask about a folder the user does not see.
        if (pane == nullptr || pane->m_mode != PANE_MODE_FILER ||
            (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0)
            continue;
        CString name = CursorName(*pane);
        pane->ReadDirectory(TRUE);
        pane->SortEntries();
        pane->SetCursorToName(name.IsEmpty() ? nullptr : (LPCWSTR)name, FALSE, pane->m_cursor);
        pane->MoveCursor(0, TRUE);
        int index = pane == g_Panes[0] ? 0 : 1;
        if (m_hWnd && IsPaneVisible(index))
        {
            m_paneRedrawRequest[index] = 1;
            DrawPane(index);
            DrawMarks(index);
            if ((pane->m_position & PANE_POS_ACTIVE) != 0)
            {
                DrawCursorLine(index, TRUE);
                DrawStatusLine(STATUS_PART_UPDATE);
            }
        }
    }
}

void CQvView::ReloadFilerPanes(LPCWSTR cursorName, BOOL keepCursorNames)
{
    CViewBusyGuard busy(*this);
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        if (pane == nullptr || pane->m_mode != PANE_MODE_FILER ||
            (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0)
            continue;
        CString ownName = keepCursorNames ? CursorName(*pane) : CString();
        int result = pane->ReadDirectory(FALSE);
        // An unchanged folder is left alone: redrawing it would only flicker.
        if (result == READ_UNCHANGED)
            continue;
        if (result == READ_REBUILT)
            pane->SortEntries();
        bool active = (pane->m_position & PANE_POS_ACTIVE) != 0;
        if (active && cursorName != nullptr && cursorName[0] != 0)
            pane->SetCursorToName(cursorName, FALSE, pane->m_cursor);
        else if (!ownName.IsEmpty())
            pane->SetCursorToName(ownName, FALSE, pane->m_cursor);
        pane->MoveCursor(0, TRUE);
        if (m_hWnd && IsPaneVisible(index))
        {
            m_paneRedrawRequest[index] = 1;
            DrawPane(index);
            DrawMarks(index);
            DrawCursorLine(index, active ? 1 : 0);
        }
    }
    if (m_hWnd)
        DrawStatusLine(STATUS_PART_FULL);
    UpdateAuxiliaryWindows();
}

BOOL CQvView::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (pHandlerInfo == nullptr && RouteMenuCommand(nID, nCode, pExtra))
        return TRUE;
    if (nID == IDM_SHOW_LISTED_PICTURE && nCode == CN_COMMAND && pHandlerInfo == nullptr)
    {
        OnGraphicListChoice();
        return TRUE;
    }
    if (nID == IDM_MODELESS_DONE && nCode == CN_COMMAND && pHandlerInfo == nullptr)
    {
        CViewBusyGuard busy(*this);
        int emptied = ReapCopyDialogs();
        emptied |= ReapDeleteDialogs();
        emptied |= ReapUnpackDialogs();
        // The user's cursors stay on their entries while the files a worker made or
        // removed come and go around them.
        if (emptied)
            ReloadFilerPanes(nullptr, TRUE);
        // The next tick re-checks both panes, and it comes at once.
        for (CFilerPane* pane : g_Panes)
            if (pane != nullptr)
                pane->m_reloadTicks = 0x7FFFFFFE;
        if (m_hWnd)
            PostMessage(WM_TIMER, VIEW_TIMER_CHANGE_CHECK, 0);
        return TRUE;
    }
    if (nID == IDM_MODELESS_DONE && nCode == CN_COMMAND)
        return TRUE;
    // Every menu id runs through its row of the menu table (RouteMenuCommand); the
    // message map holds no command.
    return CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- Timers ----------------------------------------------------------------------------

void CQvView::StopViewTimers(int kind)
{
    switch (kind)
    {
    case STOP_TIMERS_FOR_ACTION:
        m_idleState = 0;
        m_bReady = 0;
        m_scrollRepeatDir = 0;
        if (m_hWnd)
        {
            for (UINT_PTR id : {VIEW_TIMER_BINARY_CURSOR, VIEW_TIMER_TEXT_SCROLL, VIEW_TIMER_DRAG_SCROLL,
                                VIEW_TIMER_BINARY_SCROLL, VIEW_TIMER_DRAG_SCROLL_2})
                KillTimer(id);
        }
        break;
    case STOP_TIMERS_MARK_BUSY:
        m_idleState = 0;
        m_bReady = 0;
        break;
    case VIEW_TIMER_TEXT_SCROLL:
    case VIEW_TIMER_BINARY_SCROLL:
        m_scrollRepeatDir = 0;
        if (m_hWnd)
            KillTimer(static_cast<UINT_PTR>(kind));
        break;
    case VIEW_TIMER_DRAG_SCROLL:
    case VIEW_TIMER_DRAG_SCROLL_2:
        if (m_hWnd)
            KillTimer(static_cast<UINT_PTR>(kind));
        break;
    default:
        break;
    }
}

void CQvView::StartBinaryCursorTimer()
{
    m_idleState = 1;
    m_bReady = 1;
    CFilerPane* active = ActivePane();
    if (m_hWnd && active != nullptr && active->m_mode == PANE_MODE_BINARY)
        SetTimer(VIEW_TIMER_BINARY_CURSOR, static_cast<UINT>(g_BINARYSCURSORSPEED) * 100);
    // A further start asked while the action ran; its request waited for now. Posted,
    // so that it runs after the action has returned to the message loop.
    if (m_bDirChangePending && m_hWnd && g_MsgReqDirChange != 0)
    {
        m_bDirChangePending = 0;
        PostMessage(g_MsgReqDirChange, 0, 0);
    }
}

void CQvView::OnTimer(UINT_PTR nIDEvent)
{
    if (m_bTornDown || AnyPaneInGraphicMode())
        return;

    // A floppy as the current directory would keep the drive spinning.
    CString current;
    GetCurrentDir(current);
    if (current.GetLength() >= 2 && current[1] == L':')
    {
        wchar_t root[] = {current[0], L':', L'\\', 0};
        if (g_DriveSeam.GetDriveTypeW(root) == DRIVE_REMOVABLE && IsFloppyDrive(current[0]))
        {
            wchar_t system[MAX_PATH];
            UINT length = GetSystemDirectoryW(system, MAX_PATH);
            if (length > 0 && length < MAX_PATH)
                SetCurrentDir(system);
        }
    }
    if (nIDEvent == VIEW_TIMER_CHANGE_CHECK)
        LoadPaneBackgroundPicture(2);

    switch (nIDEvent)
    {
    case VIEW_TIMER_CHANGE_CHECK:
        CheckPanesForChanges();
        RefreshLoadingViewers();
        break;
    case VIEW_TIMER_BINARY_SCROLL:
    case VIEW_TIMER_TEXT_SCROLL:
        if (nIDEvent == VIEW_TIMER_BINARY_SCROLL ? StepBinaryAutoScroll() : StepTextAutoScroll())
            break;
        // No pane repeats any more (it was closed or changed its mode).
        KillTimer(nIDEvent);
        m_scrollRepeatDir = 0;
        break;
    case VIEW_TIMER_BINARY_CURSOR:
        BlinkBinaryCaret();
        break;
    case VIEW_TIMER_DRAG_SCROLL:
        // The mouse may stand still above or below the text: the drag goes on scrolling.
        if (m_bTextDrag)
            OnMouseMove(0, m_dragPoint);
        else
            KillTimer(nIDEvent);
        break;
    case VIEW_TIMER_DRAG_SCROLL_2:
        // The same for a drag selection in the binary editor.
        if (m_binary.dragPane >= 0 && g_Panes[m_binary.dragPane]->m_mode == PANE_MODE_BINARY)
            DragBinarySelection(m_binary.dragPane, m_dragPoint);
        else
            KillTimer(nIDEvent);
        break;
    default:
        break;
    }
    CView::OnTimer(nIDEvent);
}

void CQvView::CheckPanesForChanges()
{
    if (m_idleState != 1)
        return;
    m_idleState = 2;
    // With SOUNDNEGLECTRELOAD on, playing media is not interrupted by re-reads.
    bool walk = !(g_SOUNDNEGLECTRELOAD && IsMediaPlaying());
    int reloaded = 0;
    for (int index = 0; walk && index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        if (pane == nullptr || (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0 ||
            pane->m_mode != PANE_MODE_FILER)
            continue;
        CString name = CursorName(*pane);
        if (!pane->PollReload())
            continue;
        // Marks would not survive a re-read, so a pane with marks keeps its list.
        if (pane->m_markedCount == 0)
        {
            BOOL wasUnavailable = pane->m_bDriveNotReady;
            int result = pane->ReadDirectory(FALSE);
            if (result != READ_UNCHANGED)
            {
                if (wasUnavailable && pane->m_bDriveNotReady)
                    break;
                if (result == READ_REBUILT)
                    pane->SortEntries();
                pane->SetCursorToName(name.IsEmpty() ? nullptr : (LPCWSTR)name, FALSE, pane->m_cursor);
                // A rebuilt list or a scrolled page is drawn whole, else only the
                // entries that changed.
                m_paneRedrawRequest[index] = pane->MoveCursor(0, TRUE) ? 1 : result;
                if (m_hWnd && IsPaneVisible(index))
                {
                    DrawPane(index);
                    DrawMarks(index);
                    if ((pane->m_position & PANE_POS_ACTIVE) != 0)
                        DrawCursorLine(index, TRUE);
                }
                m_paneRedrawRequest[index] = 0;
                DrawStatusLine(STATUS_PART_UPDATE);
                UpdateAuxiliaryWindows();
                reloaded = 1;
            }
        }
        if (!reloaded && (pane->m_position & PANE_POS_ACTIVE) != 0 && pane->m_currentDir.GetLength() >= 1 &&
            iswalpha(pane->m_currentDir[0]))
        {
            wchar_t root[] = {pane->m_currentDir[0], L':', L'\\', 0};
            UINT type = g_DriveSeam.GetDriveTypeW(root);
            if (type == DRIVE_FIXED || type == DRIVE_RAMDISK)
            {
                ULONGLONG freeBytes = GetDiskFreeBytes(root);
                if (freeBytes != pane->m_driveFreeBytes)
                {
                    pane->m_driveFreeBytes = freeBytes;
                    DrawStatusLine(STATUS_PART_FREE_SPACE);
                }
            }
        }
    }
    DrawClock();
    DrawBatteryStatus(0);
    m_idleState = 1;
}

// ---- Messages ----------------------------------------------------------------------------

void CQvView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (IsPictureShown())
        UpdatePictureLayout(PICTURE_LAYOUT_ORIGIN);
    RememberFrameRect();
}

int CQvView::OnMouseActivate(CWnd*, UINT, UINT)
{
    return MA_NOACTIVATE;
}

void CQvView::RememberFrameRect()
{
    CWnd* frame = GetParent();
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return;
    frame->GetWindowRect(&m_frameRect);
    if (!frame->IsIconic() && !frame->IsZoomed())
    {
        g_ENDWIDE = m_frameRect.Width();
        g_ENDHEIGHT = m_frameRect.Height();
        g_ENDX = m_frameRect.left;
        g_ENDY = m_frameRect.top;
    }
}

void CQvView::PlaceMainWindow(int atCreation)
{
    if (m_bWindowPlaced || m_hWnd == nullptr)
        return;
    CWnd* frame = GetParent();
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return;
    CRect rect;
    frame->GetWindowRect(&rect);
    int x = rect.left;
    int y = rect.top;
    if (g_STARTPOS == 1)
    {
        x = g_FIRSTX;
        y = g_FIRSTY;
    }
    else if (g_STARTPOS == 2)
    {
        x = g_ENDX;
        y = g_ENDY;
    }
    int width = rect.Width();
    int height = rect.Height();
    bool acts = false;
    bool move = true;
    switch (g_STARTSIZE)
    {
    case 0:
        acts = atCreation != 0;
        break;
    case 1:
        acts = atCreation != 0;
        move = false;
        if (acts)
        {
            frame->ShowWindow(SW_MAXIMIZE);
            // The frame's first showing uses the start-up show command, and a "normal"
            // one restores a maximised window; a minimised start stays minimised.
            CWinApp* app = AfxGetApp();
            if (app != nullptr && app->m_nCmdShow != -1)
            {
                switch (app->m_nCmdShow)
                {
                case SW_HIDE:
                case SW_SHOWMINIMIZED:
                case SW_MINIMIZE:
                case SW_SHOWMINNOACTIVE:
                case SW_FORCEMINIMIZE:
                    break;
                default:
                    app->m_nCmdShow = SW_SHOWMAXIMIZED;
                    break;
                }
            }
        }
        break;
    case 2:
        acts = atCreation != 0;
        width = g_FIRSTWIDE;
        height = g_FIRSTHEIGHT;
        break;
    case 3:
        acts = atCreation == 0;
        width = g_FIRSTWIDE;
        height = g_FIRSTHEIGHT;
        // A picture shown at start gets room for its natural size inside the frame's
        // border and caption.
        if (g_CurrentPicture.IsValid())
        {
            CRect client;
            GetClientRect(&client);
            const int needWidth = g_CurrentPicture.GetWidth() + rect.Width() - client.Width();
            const int needHeight = g_CurrentPicture.GetHeight() + rect.Height() - client.Height();
            if (needWidth > width)
                width = needWidth;
            if (needHeight > height)
                height = needHeight;
        }
        break;
    case 4:
        acts = atCreation != 0;
        width = g_ENDWIDE;
        height = g_ENDHEIGHT;
        break;
    case 5: {
        acts = atCreation == 0;
        CRect client;
        GetClientRect(&client);
        width = g_FIRSTWIDE + rect.Width() - client.Width();
        height = g_FIRSTHEIGHT + rect.Height() - client.Height();
        break;
    }
    default:
        acts = true;
        move = false;
        break;
    }
    if (!acts)
        return;
    m_bWindowPlaced = 1;
    if (move)
        frame->MoveWindow(x, y, width, height, TRUE);
    RememberFrameRect();
}

BOOL CQvView::PreTranslateMessage(MSG* pMsg)
{
    if (g_MsgReqDirChange != 0 && pMsg->message == g_MsgReqDirChange)
    {
        HandleDirChangeRequest();
        return TRUE;
    }
    if (m_msgPreviewLoad != 0 && pMsg->message == m_msgPreviewLoad)
    {
        OnPreviewLoaded();
        return TRUE;
    }
    if (m_msgUnpackStart != 0 && pMsg->message == m_msgUnpackStart)
        return TRUE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_PROCESSKEY)
    {
        UINT real = ImmGetVirtualKey(pMsg->hwnd);
        bool imeKey = real == VK_CAPITAL || real == VK_KANJI || real == VK_CONVERT || real == VK_NONCONVERT ||
                      (real >= 0xF0 && real <= 0xF5);
        if (!(imeKey && g_IME_CHANGE_KEY_ENABLE))
            pMsg->wParam = real;
    }
    // Alt combinations never arrive as WM_KEYDOWN: the window procedure would turn an
    // unbound one into menu access, so the bindings get the first look here.
    if (pMsg->message == WM_SYSKEYDOWN && (pMsg->lParam & (1 << 29)) != 0 &&
        ExecuteKeyCommand(static_cast<UINT>(pMsg->wParam), 3))
        return TRUE;
    return CView::PreTranslateMessage(pMsg);
}

void CQvView::HandleDirChangeRequest()
{
    CFilerPane* active = ActivePane();
    if (active != nullptr && (active->m_mode & kGraphicModes) != 0)
        return;
    if (m_idleState == 0)
    {
        // An action runs (for example a modal dialog): the request waits for its end
        // instead of being lost.
        m_bDirChangePending = 1;
        return;
    }
    if (g_SharedProcessData == nullptr)
        return;
    CString slot0, slot1;
    ReadStartDirSlot(g_SharedProcessData, 0, slot0);
    ReadStartDirSlot(g_SharedProcessData, 1, slot1);
    if (slot0.IsEmpty())
        return;
    bool changed = false;
    CString slots[2] = {slot0, slot1};
    int slotIndex = 0;
    if (active != nullptr && (active->m_mode & kListingModes) != 0)
    {
        active->ChangeDirectory(slots[0], 1, FALSE, FALSE);
        changed = true;
        slotIndex = 1;
    }
    if (!slots[slotIndex].IsEmpty())
    {
        for (CFilerPane* pane : g_Panes)
        {
            if (pane == nullptr || pane == active)
                continue;
            if (pane->m_position == PANE_POS_HIDDEN)
            {
                pane->SetMode(PANE_POS_OTHER, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
                pane->ChangeDirectory(slots[slotIndex], 1, FALSE, FALSE);
                changed = true;
            }
            else if ((pane->m_position & PANE_POS_OTHER) != 0 && (pane->m_mode & kListingModes) != 0)
            {
                pane->ChangeDirectory(slots[slotIndex], 1, FALSE, FALSE);
                changed = true;
            }
            break;
        }
    }
    if (changed && m_hWnd)
        Invalidate();
}

LRESULT CQvView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QV_RUN_HOT_KEYS)
    {
        RunQueuedHotKeys();
        return 0;
    }
    if (message == WM_QV_TRAY_NOTIFY)
    {
        OnTrayNotify(wParam, lParam);
        return 0;
    }
    if (message == WM_CHAR && IncrementalSearchKey(static_cast<UINT>(wParam), 0))
        return 0;
    if (message == WM_QV_OPEN_FOUND || message == WM_QV_RELEASE_FOUND)
    {
        // The pointer comes in a message anyone can post: only a dialog of ours is
        // taken.
        auto* dialog = reinterpret_cast<CFindDialogBase*>(lParam);
        if (!IsFindDialogListed(dialog))
            return 1;
        if (message == WM_QV_OPEN_FOUND)
        {
            if (m_bReady && !dialog->m_foundDirectory.IsEmpty())
                OpenFoundEntry(dialog);
        }
        else
            ReleaseFindDialog(dialog);
        return 1;
    }
    if (g_MsgReqDirChange != 0 && message == g_MsgReqDirChange)
    {
        // Reached the window without the message loop's look first (a modal loop of
        // an action): the same handling, so the request waits rather than is lost.
        HandleDirChangeRequest();
        return 1;
    }
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)
    {
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (message == WM_LBUTTONDOWN)
            OnLButtonDown(static_cast<UINT>(wParam), point);
        else
            OnLButtonDblClk(static_cast<UINT>(wParam), point);
        return CView::WindowProc(message, wParam, lParam);
    }
    // Before the framework's handling of the release, which belongs to the panes.
    if (message == WM_LBUTTONUP && !g_LEFTMOUSEDISABLE)
        ReleaseDriveBarButtons();
    if (message == WM_RBUTTONDOWN)
    {
        OnRButtonDown(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    }
    // The menu opened at the press; the release must not ask for it a second time
    // through WM_CONTEXTMENU.
    if (message == WM_RBUTTONUP)
        return 0;
    return CView::WindowProc(message, wParam, lParam);
}

void CQvView::OpenFoundEntry(CFindDialogBase* dialog)
{
    CViewBusyGuard busy(*this);
    CFilerPane* active = ActivePane();
    if (active != nullptr && (active->m_mode == PANE_MODE_FILER || active->m_mode == PANE_MODE_DRIVE_LIST))
    {
        active->SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        active->ChangeDirectory(dialog->m_foundDirectory, 1, TRUE, FALSE);
        active->SetCursorToName(dialog->m_foundName, FALSE, active->m_cursor);
        active->MoveCursor(0, TRUE);
        int index = active == g_Panes[0] ? 0 : 1;
        if (m_hWnd && IsPaneVisible(index))
        {
            m_paneRedrawRequest[index] = 1;
            DrawPane(index);
            DrawMarks(index);
            DrawCursorLine(index, TRUE);
        }
        DrawStatusLine(STATUS_PART_UPDATE);
    }
    if (dialog->m_bCloseAfterOpen)
        ReleaseFindDialog(dialog);
}

void CQvView::ReleaseFindDialog(CFindDialogBase* dialog)
{
    RemoveFindDialog(dialog);
    dialog->PumpSearchMessages();
    dialog->DestroyWindow();
    delete dialog;
}

// ---- Quitting and drawing --------------------------------------------------------------

int CQvView::RefuseQuitWhileJobsRun()
{
    struct
    {
        int (CQvView::*reap)();
        LPCWSTR refusal;
    } const checks[] = {
        {&CQvView::ReapCopyDialogs, L"コピー処理中のため終了できません"},
        {&CQvView::ReapDeleteDialogs, L"削除処理中のため終了できません"},
        {&CQvView::ReapUnpackDialogs, L"解凍処理中のため終了できません"},
    };
    for (const auto& check : checks)
    {
        if (!(this->*check.reap)())
        {
            Tell(this, check.refusal);
            return 1;
        }
    }
    return 0;
}

int CQvView::Quit(int fromClose)
{
    // A close request that comes through the question's own modal loop (another
    // program, a second click on the frame's close box) is the same request again.
    if (m_bQuitQuestionOpen)
        return 0;
    if (RefuseQuitWhileJobsRun())
        return 0;
    CViewBusyGuard busy(*this);
    g_SoundHooks.playCommandSound(L"QUIT");
    INT_PTR result = IDOK;
    if (!g_NOTQUITMESSAGE && (fromClose == 0 || g_ASK_ALWAYS_AT_EXIT))
    {
        m_bQuitQuestionOpen = 1;
        CQuitDlg dialog(this);
        result = dialog.DoModal();
        m_bQuitQuestionOpen = 0;
        // The question's modal loop still dispatches what is posted to the view (keys
        // another program sends): a job may have started meanwhile, and ending now
        // would cut it off.
        if ((result == IDOK || result == IDC_QUIT_SHUTDOWN || result == IDC_QUIT_REBOOT) &&
            RefuseQuitWhileJobsRun())
            return 0;
    }
    CWnd* frame = GetParentFrame();
    switch (result)
    {
    case IDOK:
        m_bQuitting = 1;
        if (frame != nullptr && frame->m_hWnd)
            frame->PostMessage(WM_CLOSE);
        busy.KeepBusy();
        return IDOK;
    case IDC_QUIT_SHUTDOWN:
    case IDC_QUIT_REBOOT:
        m_bQuitting = 1;
        g_QuitHooks.querySaveBinaryPanes(*this);
        g_QuitHooks.saveAllSettings(*this);
        // Windows ends this process without a WM_DESTROY worth relying on: the
        // settings are saved now and not again when the window goes.
        m_bSettingsSaved = 1;
        g_QuitHooks.enableShutdownPrivilege();
        // A refused shut-down is not reported; the program ends all the same.
        g_QuitHooks.exitWindows(result == IDC_QUIT_SHUTDOWN ? EWX_SHUTDOWN | EWX_POWEROFF : EWX_REBOOT);
        m_bQuitting = 1;
        if (frame != nullptr && frame->m_hWnd)
            frame->PostMessage(WM_CLOSE);
        busy.KeepBusy();
        return static_cast<int>(result);
    default:
        return 0;
    }
}

// The panes, their titles and the status rows paint their own background: erasing
// first with the class brush would only make them flicker on each redraw.
BOOL CQvView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQvView::OnDraw(CDC* pDC)
{
    PlaceMainWindow(0);
    if (m_bTornDown || pDC == nullptr)
        return;
    UpdateImeWindowPos();
    if (AnyPaneInGraphicMode())
    {
        CRect clip;
        ::GetClipBox(pDC->GetSafeHdc(), &clip);
        DrawGraphicMode(pDC, clip);
        return;
    }
    CalcLayout();
    CRect clip;
    ::GetClipBox(pDC->GetSafeHdc(), &clip);
    CRect statusRows = StatusRowsRect(m_layout);
    CRect meet;
    if (meet.IntersectRect(&statusRows, &clip))
        DrawStatusLine(STATUS_PART_FULL, pDC);
    CRect client;
    GetClientRect(&client);
    if (m_layout.statusRows * m_layout.lineHeight >= client.Height())
        return;

    HGDIOBJ oldFont = m_viewFont.GetSafeHandle() ? pDC->SelectObject(m_viewFont.GetSafeHandle()) : nullptr;
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        if (pane == nullptr || !IsPaneVisible(index))
            continue;
        CRect list, title;
        GetPaneAreaRects(index, list, title);
        if (!meet.IntersectRect(&list, &clip) && !meet.IntersectRect(&title, &clip))
            continue;
        const bool active = (pane->m_position & PANE_POS_ACTIVE) != 0;
        if (active && (pane->m_mode & kFilerLikeModes) != 0)
        {
            // The cursor may have left the shown page (for example after a resize).
            if (pane->MoveCursor(0, TRUE))
                Invalidate(FALSE);
            DrawPane(index, pDC);
            DrawCursorLine(index, TRUE, pDC);
        }
        else if (active && pane->m_mode == PANE_MODE_BINARY)
        {
            DrawPane(index, pDC);
            // The body leaves the caret cell plain; it is shown at once rather than at
            // the next blink.
            DrawBinaryPane(index, 1);
            m_bCaretShown = 1;
        }
        else
            DrawPane(index, pDC);
        if ((pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0)
            DrawMarks(index, pDC);
    }
    if (oldFont)
        pDC->SelectObject(oldFont);
}
