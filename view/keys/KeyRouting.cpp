// The way of a key press from WM_KEYDOWN to a binding: Enter, the directory-jump key,
// the incremental search and the drive letters of the drive list act before any
// binding; every other key is looked up with the modifier held.
#include "util/Log.h"
#include "app/Settings.h"
#include "util/StringHelpers.h"
#include "app/settings/FilerSettings.h"
#include "app/keys/KeyTable.h"
#include "filer/FilerPane.h"
#include "filer/IncrementalSearchState.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "app/dialogs/DialogHelpers.h"
#include "tools/keys/FuncListDlg.h"
#include "view/ViewBusyGuard.h"

#include <string.h>

namespace
{

constexpr UINT kFilerLikeModes =
    PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;

bool IsTableKeyOrEnter(UINT vk)
{
    if (vk == VK_RETURN)
        return true;
    for (const KeyTableRow& row : g_KeyTable)
        if (row.virtualKey == vk)
            return true;
    return false;
}

bool IsDown(int vk)
{
    return (GetKeyState(vk) & 0x8000) != 0;
}

} // namespace

void CQvView::OnKeyDown(UINT vk, UINT repeat, UINT flags)
{
    if (!OnKeyDownFront(vk, repeat, flags))
        Default();
}

void CQvView::OnSysKeyDown(UINT vk, UINT repeat, UINT flags)
{
    // F10 is a system key only because Windows gives it to the menu bar; here it is a
    // key like the others. Every other system key keeps its menu access.
    if (vk == VK_F10 && OnKeyDownFront(vk, repeat, flags))
        return;
    Default();
}

int CQvView::OnKeyDownFront(UINT vk, UINT /*repeat*/, UINT /*flags*/)
{
    if (vk == VK_APPS)
    {
        m_bJumpKeyArmed = 0;
        if (g_ENABLEMENUBUTON)
        {
            // The key has no place of its own: the menu opens where the mouse is, and
            // ShowContextMenu moves it to the cursor entry when that entry is in sight.
            CPoint mouse(0, 0);
            GetCursorPos(&mouse);
            if (m_hWnd)
                ScreenToClient(&mouse);
            ShowContextMenu(GetActivePaneIndex(), mouse, 1);
            return 1;
        }
    }
    m_bCtrlDown = IsDown(VK_CONTROL) ? 1 : 0;
    m_bShiftDown = IsDown(VK_SHIFT) ? 1 : 0;
    int incrementalBefore = g_IncrementalSearchMode;
    int easyBefore = g_EASYSEARCHMODE;
    RouteKeyPress(vk);
    m_bSearchModeSwitched = (g_IncrementalSearchMode != incrementalBefore && g_IncrementalSearchMode) ||
                                    (g_EASYSEARCHMODE != easyBefore && g_EASYSEARCHMODE)
                                ? 1
                                : 0;
    return IsTableKeyOrEnter(vk) ? 1 : 0;
}

// The key pressed after "@Dirjumpkey": the pane goes to the jump entry naming it.
static void JumpByKey(CQvView& view, int pane, UINT vk)
{
    if (pane < 0 || g_JumpGroups.GetSize() == 0)
        return;
    const KeyTableRow* row = nullptr;
    for (const KeyTableRow& candidate : g_KeyTable)
        if (candidate.virtualKey == vk)
        {
            row = &candidate;
            break;
        }
    if (row == nullptr)
        return;
    const CArray<CEachJumpDirectory>& entries = g_JumpGroups[0].m_entries;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        if (entries[i].m_keyName.IsEmpty() || _wcsicmp(entries[i].m_keyName, row->keyName) != 0)
            continue;
        CString target;
        ExpandEnvironmentString(target, entries[i].m_directory);
        // A file opens its directory with the cursor on it, as from the jump dialog.
        view.ChangePaneDirectory(pane, target, 1, STATUS_PART_FULL, TRUE);
        return;
    }
}

void CQvView::RouteKeyPress(UINT vk)
{
    int jumpArmed = m_bJumpKeyArmed;
    int passThrough = m_bKeyPassThrough;
    m_bJumpKeyArmed = 0;
    m_bKeyPassThrough = 0;
    int activeIndex = GetActivePaneIndex();
    CFilerPane* active = PaneAt(activeIndex);
    UINT mode = active != nullptr ? active->m_mode : 0;

    if (vk == VK_RETURN)
    {
        if (g_INCMODENEGLECTRETURN && (mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0 &&
            (g_IncrementalSearchOn || g_IncrementalSearchMode != 0))
        {
            ClearIncrementalSearch();
            return;
        }
        OpenCursorEntry(0, 0);
        return;
    }
    int modifier = m_bShiftDown ? 1 : (m_bCtrlDown ? 2 : 0);

    if ((mode & kFilerLikeModes) != 0 && !passThrough)
    {
        if (jumpArmed)
        {
            // The armed key picks the entry of the jump group the jump dialog opens on
            // whose key name is the key's, ignoring case; a key no entry names is
            // swallowed.
            JumpByKey(*this, activeIndex, vk);
            return;
        }
        if (IncrementalSearchKey(vk, 1))
            return;
        if (mode == PANE_MODE_DRIVE_LIST && vk >= 'A' && vk <= 'Z')
        {
            int jump = IsDown(VK_SHIFT)     ? g_DRIVELISTCURJUMPSHIFT
                       : IsDown(VK_CONTROL) ? g_DRIVELISTCURJUMPCTRL
                                            : g_DRIVELISTCURJUMP;
            if (jump)
            {
                for (INT_PTR i = 0; i < active->m_driveList.GetSize(); ++i)
                {
                    CString name = active->m_driveList[i].m_name;
                    if (name.IsEmpty() || towupper(name[0]) != static_cast<wchar_t>(vk))
                        continue;
                    if (m_hWnd)
                        DrawCursorLine(activeIndex, 0);
                    int scrolled = active->MoveCursor(i - active->m_cursor, TRUE);
                    if (m_hWnd)
                    {
                        if (scrolled)
                            DrawPane(activeIndex);
                        DrawCursorLine(activeIndex, 1);
                    }
                    if (g_DRIVELISTCHANGEDRIVEBYKEY)
                        ChangeToEnvironmentPath(name.GetLength() == 2 ? name + L"\\" : name);
                    break;
                }
                return;
            }
        }
    }
    ExecuteKeyCommand(vk, modifier);
}

// ---- "@ExeByFuncList": the function list of the active pane's mode; the command chosen
// there runs as if its key had been pressed.
VIEW_COMMAND(RunFromFunctionList)
{
    const int index = view.GetActivePaneIndex();
    const CFilerPane* pane = PaneAt(index);
    const UINT paneMode = pane != nullptr ? pane->m_mode : static_cast<UINT>(PANE_MODE_FILER);
    CViewBusyGuard busy(view);
    CFuncListDlg dlg(paneMode, DialogOwner(&view));
    const INT_PTR result = dlg.DoModal();
    // The chosen keyword runs as an action of its own.
    busy.Release();
    if (result == IDOK && !dlg.m_resultKeyword.IsEmpty())
        view.DispatchCommandKeyword(dlg.m_resultKeyword, dlg.m_resultModifier, dlg.m_resultVirtualKey);
}
