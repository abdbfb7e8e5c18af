
#include "util/Formatting.h"
#include "view/keys/HotKeys.h"
#include "app/QvDllLoader.h"
#include "app/keys/KeyBindings.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "res/TrayMenu.h"
#include "view/keys/KeySettings.h"

namespace
{

BOOL LibraryInstall(HOOKPROC callback)
{
    typedef void(WINAPI * SetHookProc)(HOOKPROC);
    FARPROC proc = GetQvDllProc("SetHookProc");
    if (proc == nullptr)
        return FALSE;
    reinterpret_cast<SetHookProc>(reinterpret_cast<void*>(proc))(callback);
    return TRUE;
}

void LibraryRelease()
{
    typedef void(WINAPI * ReleaseHookProc)();
    if (FARPROC proc = GetQvDllProc("ReleaseHookProc"))
        reinterpret_cast<ReleaseHookProc>(reinterpret_cast<void*>(proc))();
}

// The hook sees other programs' input: the thread's own key state does not follow it.
bool AsyncKeyDown(int vk)
{
    return GetAsyncKeyState(vk) < 0;
}

const KeyboardHookLibrary kDefaultLibrary = {LibraryInstall, LibraryRelease};

} // namespace

KeyboardHookLibrary g_KeyboardHookLibrary = kDefaultLibrary;
HotKeySeam g_HotKeySeam = {Shell_NotifyIconW, AsyncKeyDown};

const KeyboardHookLibrary& DefaultKeyboardHookLibrary()
{
    return kDefaultLibrary;
}

void InstallKeyboardHook(HWND focusWindow)
{
    CQvView* view = g_MainView;
    if (view == nullptr)
        return;
    // Only the view itself counts as focused: its own dialogs and panes do not see the
    // keys bound to the view.
    if (focusWindow != nullptr && focusWindow == view->m_hWnd)
        return;
    if (view->m_bHookSuspended)
        return;
    if (!view->m_bInTray && !view->m_keys.hasHotKey)
        return;
    g_KeyboardHookLibrary.install(KeyboardHookThunk);
}

void ReleaseKeyboardHook()
{
    g_KeyboardHookLibrary.release();
}

LRESULT CALLBACK KeyboardHookThunk(int nCode, WPARAM message, LPARAM event)
{
    if (g_MainView == nullptr)
        return 0;
    return g_MainView->KeyboardHookCallback(nCode, message, event);
}

void SetTrayIcon(HWND window, DWORD message, UINT id, HICON icon, LPCWSTR tooltip)
{
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_QV_TRAY_NOTIFY;
    data.hIcon = icon;
    // The field holds 128 characters: a longer text is cut, never copied past it.
    if (tooltip != nullptr)
        lstrcpynW(data.szTip, tooltip, static_cast<int>(sizeof(data.szTip) / sizeof(data.szTip[0])));
    g_HotKeySeam.trayNotify(message, &data);
    if (icon != nullptr)
        DestroyIcon(icon);
}

int CQvView::KeyboardHookCallback(int nCode, WPARAM message, LPARAM event)
{
    if (nCode < 0 || event == 0)
        return 0;
    int modifier = 0;
    if (message == WM_KEYDOWN)
    {
        if (g_HotKeySeam.modifierDown(VK_SHIFT))
            modifier = 1;
        else if (g_HotKeySeam.modifierDown(VK_CONTROL))
            modifier = 2;
    }
    else if (message == WM_SYSKEYDOWN)
        modifier = 3;
    else
        return 0;
    const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event);
    const CKeyCmdEntry* binding = FindKeyBinding(key->vkCode, modifier);
    if (binding == nullptr || binding->command.IsEmpty())
        return 0;
    CString command, argument;
    SplitAtFirstBlank(binding->command, command, argument);
    bool hot = binding->hotKey != 0 || (m_bInTray && command == L"@Windowtotasktray");
    if (!hot)
        return 0;
    // Another program has the focus: only the tray, sound, CD and volume keywords act
    // without showing the window. Any other keyword (a dialog, a display change) must
    // reach that program instead.
    int reached = -1;
    if (ResolveDispatcherEntry(DISPATCH_COMMON, binding->command, &reached) == nullptr ||
        reached != DISPATCH_COMMON2)
        return 0;
    // The system drops a low-level hook that does not return in time, and a command
    // that opens a dialog would hold the desktop's keyboard meanwhile: the command
    // runs from the view's queue after the hook returned.
    m_keys.hotKeyQueue.Add(binding->command);
    if (m_hWnd != nullptr)
        ::PostMessageW(m_hWnd, WM_QV_RUN_HOT_KEYS, 0, 0);
    return 1;
}

void CQvView::RunQueuedHotKeys()
{
    while (m_keys.hotKeyQueue.GetSize() > 0)
    {
        CString text = m_keys.hotKeyQueue[0];
        m_keys.hotKeyQueue.RemoveAt(0);
        CString command, argument;
        SplitAtFirstBlank(text, command, argument);
        ExecuteCommonCommand2(command, argument);
    }
}

void CQvView::RefreshHotKeyFlag()
{
    m_keys.hasHotKey = HasCommonHotKey();
}

void CQvView::SuspendHotKeys()
{
    m_bHookSuspended = TRUE;
    ReleaseKeyboardHook();
}

void CQvView::ResumeHotKeys()
{
    m_bHookSuspended = FALSE;
    InstallKeyboardHook();
}

void CQvView::GoToTray()
{
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    m_bInTray = TRUE;
    if (CWnd* frame = AfxGetMainWnd())
        if (frame->m_hWnd != nullptr)
            ::ShowWindow(frame->m_hWnd, SW_HIDE);
    // The frame is hidden now: whatever has the focus, the tray keyword must stay
    // reachable.
    InstallKeyboardHook(nullptr);
    HICON icon =
        static_cast<HICON>(LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(kTrayIconId), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (icon == nullptr)
        icon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
    SetTrayIcon(m_hWnd, NIM_ADD, kTrayIconId, icon, L"QV");
}

void CQvView::RestoreFromTray()
{
    if (!m_bInTray)
        return;
    if (CWnd* frame = AfxGetMainWnd())
        if (frame->m_hWnd != nullptr)
            ::ShowWindow(frame->m_hWnd, SW_SHOW);
    SetTrayIcon(m_hWnd, NIM_DELETE, kTrayIconId, nullptr, nullptr);
    m_bInTray = FALSE;
    ReleaseKeyboardHook();
}

void CQvView::OnTrayNotify(WPARAM, LPARAM lParam)
{
    CWnd* frame = AfxGetMainWnd();
    if (frame != nullptr && frame->m_hWnd != nullptr)
        ::SetForegroundWindow(frame->m_hWnd);
    if (LOWORD(lParam) != WM_RBUTTONDOWN || m_hWnd == nullptr)
        return;
    HMENU menu = LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MENU_TRAY));
    if (menu == nullptr)
        return;
    POINT point;
    GetCursorPos(&point);
    // The view is the owner: its message map runs the chosen command.
    ::SetForegroundWindow(m_hWnd);
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
}

void CQvView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (!m_bInTray)
        ReleaseKeyboardHook();
}

void CQvView::OnKillFocus(CWnd* pNewWnd)
{
    CView::OnKillFocus(pNewWnd);
    InstallKeyboardHook(pNewWnd != nullptr ? pNewWnd->m_hWnd : nullptr);
}

// "@Windowtotasktray": into the task tray, or back out of it.
VIEW_COMMAND(ToggleTaskTray)
{
    if (view.m_bInTray)
        view.RestoreFromTray();
    else
        view.GoToTray();
}
