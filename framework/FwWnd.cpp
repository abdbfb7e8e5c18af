#include "framework/FwWnd.h"
#include "framework/FwApp.h"

#include <set>
#include <string>
#include <unordered_map>

// ---------------------------------------------------------------------------
// Window objects and their handles.
//
// Our windows (created, attached or subclassed by a CWnd) are kept in one
// process-wide map, so that a window's object is found from any thread: worker
// threads hand the main window or a dialog to each other. Objects made up for
// foreign windows are per thread and are deleted when the thread's message loop
// idles with no window procedure running (so no handler can still hold one),
// or when the thread ends.

namespace
{

struct PermanentMap
{
    SRWLOCK lock = SRWLOCK_INIT;
    std::unordered_map<HWND, CWnd*> map;
};

PermanentMap& Permanent()
{
    static PermanentMap s_map;
    return s_map;
}

// One window creation in progress (they nest: a frame creates its view while
// it handles its own WM_CREATE).
struct Creation
{
    CWnd* pWnd;                  // the object, until the hook attached it
    HWND hWndAttached = nullptr; // the window the hook attached to it
    Creation* pOuter = nullptr;
};

struct ThreadState
{
    Creation* pCreation = nullptr; // innermost creation in progress
    HHOOK hHook = nullptr;         // creation hook of this thread
    MSG msgCur{};                  // message of the innermost window procedure
    int nWndProcDepth = 0;
    std::unordered_map<HWND, CWnd*> tempMap;

    ~ThreadState()
    {
        for (auto& entry : tempMap)
            delete entry.second;
    }
};

// The state lives in a fiber-local slot whose callback frees it when the thread
// ends: a thread_local object with a destructor is torn down by MinGW's emulated
// TLS in an order that can free its memory first.
void WINAPI FreeThreadState(void* pState)
{
    delete static_cast<ThreadState*>(pState);
}

ThreadState& State()
{
    static const DWORD s_index = ::FlsAlloc(FreeThreadState);
    auto* pState = static_cast<ThreadState*>(::FlsGetValue(s_index));
    if (pState == nullptr)
    {
        pState = new ThreadState;
        ::FlsSetValue(s_index, pState);
    }
    return *pState;
}

void MapPermanent(HWND hWnd, CWnd* pWnd)
{
    PermanentMap& pm = Permanent();
    AcquireSRWLockExclusive(&pm.lock);
    pm.map[hWnd] = pWnd;
    ReleaseSRWLockExclusive(&pm.lock);
}

void UnmapPermanent(HWND hWnd)
{
    PermanentMap& pm = Permanent();
    AcquireSRWLockExclusive(&pm.lock);
    pm.map.erase(hWnd);
    ReleaseSRWLockExclusive(&pm.lock);
}

bool IsInputMethodWindow(HWND hWnd)
{
    // The system creates the thread's input-method windows in the middle of the
    // first window creation of a thread; they must not take that window's object.
    wchar_t name[32] = {};
    ::GetClassNameW(hWnd, name, 32);
    return lstrcmpiW(name, L"IME") == 0 || lstrcmpiW(name, L"MSCTFIME UI") == 0;
}

// A command-user-interface state that only records whether the command is enabled.
class TestCmdUI : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

} // namespace

LRESULT CALLBACK FwWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FwCbtHook(int nCode, WPARAM wParam, LPARAM lParam);

struct FwWndInternals
{
    static void BeginCreate(Creation& creation)
    {
        ThreadState& ts = State();
        if (ts.hHook == nullptr)
            ts.hHook = ::SetWindowsHookExW(WH_CBT, FwCbtHook, nullptr, ::GetCurrentThreadId());
        creation.pOuter = ts.pCreation;
        ts.pCreation = &creation;
    }

    static void EndCreate(Creation& creation)
    {
        ThreadState& ts = State();
        ts.pCreation = creation.pOuter;
        if (ts.pCreation == nullptr && ts.hHook != nullptr)
        {
            ::UnhookWindowsHookEx(ts.hHook);
            ts.hHook = nullptr;
        }
    }

    static void AttachSubclassed(CWnd* pWnd, HWND hWnd)
    {
        pWnd->m_hWnd = hWnd;
        MapPermanent(hWnd, pWnd);
        pWnd->m_pfnSuper = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)FwWndProc);
    }

    // After the last message of a window: the object lets go of it.
    static void AfterNcDestroy(CWnd* pWnd, HWND hWnd)
    {
        if (CWnd::FromHandlePermanent(hWnd) != pWnd)
            return;
        if (pWnd->m_pfnSuper != nullptr && (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == FwWndProc)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
        pWnd->m_pfnSuper = nullptr;
        UnmapPermanent(hWnd);
        pWnd->m_hWnd = nullptr;
        // The application ends when its main window is gone.
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == pWnd)
        {
            pApp->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        pWnd->PostNcDestroy();
    }

    static void CallPostNcDestroy(CWnd* pWnd) { pWnd->PostNcDestroy(); }

    // Undoes an attachment of a creation that failed without the window's last message.
    static void DropFailedCreation(CWnd* pWnd, HWND hWnd)
    {
        if (CWnd::FromHandlePermanent(hWnd) == pWnd)
        {
            UnmapPermanent(hWnd);
            pWnd->m_hWnd = nullptr;
            pWnd->m_pfnSuper = nullptr;
            pWnd->PostNcDestroy();
        }
    }
};

LRESULT CALLBACK FwCbtHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    ThreadState& ts = State();
    Creation* pCreation = ts.pCreation;
    if (nCode == HCBT_CREATEWND && pCreation != nullptr && pCreation->pWnd != nullptr &&
        !IsInputMethodWindow((HWND)wParam))
    {
        CWnd* pWnd = pCreation->pWnd;
        pCreation->pWnd = nullptr;
        pCreation->hWndAttached = (HWND)wParam;
        FwWndInternals::AttachSubclassed(pWnd, (HWND)wParam);
    }
    return ::CallNextHookEx(ts.hHook, nCode, wParam, lParam);
}

namespace
{
void ReportHandlerException(CException* e, UINT message)
{
    wchar_t text[512] = {};
    if (e->GetErrorMessage(text, 512))
    {
        TRACE(L"exception in the handler of message 0x%04X: %s\n", message, text);
        // A message box from a paint handler would trigger the next paint.
        if (message != WM_PAINT)
            AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
    else
    {
        TRACE(L"exception in the handler of message 0x%04X\n", message);
    }
}
} // namespace

LRESULT CALLBACK FwWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    ThreadState& ts = State();
    MSG saved = ts.msgCur;
    ts.msgCur.hwnd = hWnd;
    ts.msgCur.message = message;
    ts.msgCur.wParam = wParam;
    ts.msgCur.lParam = lParam;
    ++ts.nWndProcDepth;
    LRESULT result = 0;
    // A framework exception must not unwind through the system's message
    // dispatch. Anything else (the unwinding of AfxEndThread) passes on.
    try
    {
        result = pWnd->WindowProc(message, wParam, lParam);
    }
    catch (CException* e)
    {
        ReportHandlerException(e, message);
        e->Delete();
        result = (message == WM_CREATE) ? -1 : 0;
        if (message == WM_PAINT)
            ::ValidateRect(hWnd, nullptr);
    }
    --ts.nWndProcDepth;
    ts.msgCur = saved;
    if (message == WM_NCDESTROY)
        FwWndInternals::AfterNcDestroy(pWnd, hWnd);
    return result;
}

namespace fw_detail
{
BOOL CanDeleteTempObjects()
{
    return State().nWndProcDepth == 0;
}

BOOL CreateWindowFor(CWnd* pWnd, HWND (*createWindow)(void* param), void* param)
{
    Creation creation{pWnd};
    FwWndInternals::BeginCreate(creation);
    HWND hWnd = createWindow(param);
    FwWndInternals::EndCreate(creation);
    HWND hWndAttached = creation.hWndAttached;
    if (hWndAttached == nullptr)
    {
        if (hWnd != nullptr)
            ::DestroyWindow(hWnd);
        FwWndInternals::CallPostNcDestroy(pWnd);
        return FALSE;
    }
    if (hWnd == nullptr)
    {
        // The window's last message normally let go of the object already.
        FwWndInternals::DropFailedCreation(pWnd, hWndAttached);
        return FALSE;
    }
    return TRUE;
}
} // namespace fw_detail

// ---------------------------------------------------------------------------
// CCmdTarget

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const FwMessageMap* CCmdTarget::GetThisMessageMap()
{
    static const FwMsgMapEntry entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const FwMessageMap messageMap = {nullptr, entries};
    return &messageMap;
}

const FwMessageMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    const bool notify = HIWORD((UINT)nCode) == WM_NOTIFY;
    const UINT message = notify ? WM_NOTIFY : WM_COMMAND;
    for (const FwMessageMap* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const FwMsgMapEntry* e = pMap->lpEntries; e->pfn != nullptr; ++e)
        {
            if (e->pnRegistered != nullptr || e->nMessage != message || nID < e->nID || nID > e->nLastID)
                continue;
            if (notify ? LOWORD(e->nCode) != LOWORD((UINT)nCode) : e->nCode != (UINT)nCode)
                continue;
            if (pHandlerInfo != nullptr)
            {
                auto* pInfo = static_cast<FwCmdHandlerInfo*>(pHandlerInfo);
                pInfo->pTarget = this;
                pInfo->pEntry = e;
                return TRUE;
            }
            FwMsgCall call{message, 0, 0, nID, pExtra};
            e->pfn(this, call);
            // An update handler may pass the item on to the next target.
            if (nCode == CN_UPDATE_COMMAND_UI && pExtra != nullptr)
            {
                auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
                const BOOL bContinue = pCmdUI->m_bContinueRouting;
                pCmdUI->m_bContinueRouting = FALSE;
                return !bContinue;
            }
            return TRUE;
        }
    }
    return FALSE;
}

const FwMsgMapEntry* CCmdTarget::FindMessageEntry(UINT message) const
{
    if (message == WM_COMMAND || message == WM_NOTIFY || message == 0)
        return nullptr;
    for (const FwMessageMap* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const FwMsgMapEntry* e = pMap->lpEntries; e->pfn != nullptr; ++e)
        {
            if (e->pnRegistered != nullptr ? *e->pnRegistered == message : e->nMessage == message)
                return e;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// CCmdUI

namespace
{
void SetMenuItemCheck(HMENU hMenu, UINT nIndex, bool checked, bool radio)
{
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfoW(hMenu, nIndex, TRUE, &mii))
        return;
    mii.fType = radio ? (mii.fType | MFT_RADIOCHECK) : (mii.fType & ~MFT_RADIOCHECK);
    mii.fState = checked ? (mii.fState | MFS_CHECKED) : (mii.fState & ~MFS_CHECKED);
    ::SetMenuItemInfoW(hMenu, nIndex, TRUE, &mii);
}
} // namespace

void CCmdUI::Enable(BOOL bOn)
{
    if (m_hMenu != nullptr)
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    else if (m_pOther != nullptr)
        m_pOther->EnableWindow(bOn);
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_hMenu != nullptr)
        SetMenuItemCheck(m_hMenu, m_nIndex, nCheck != 0, false);
    else if (m_pOther != nullptr)
        m_pOther->SendMessage(BM_SETCHECK, (WPARAM)nCheck);
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_hMenu != nullptr)
        SetMenuItemCheck(m_hMenu, m_nIndex, bOn != FALSE, true);
    else if (m_pOther != nullptr)
        m_pOther->SendMessage(BM_SETCHECK, bOn ? BST_CHECKED : BST_UNCHECKED);
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (m_hMenu != nullptr)
    {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE;
        if (!::GetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &mii) || (mii.fType & MFT_OWNERDRAW))
            return;
        mii.fMask = MIIM_STRING;
        mii.dwTypeData = const_cast<LPWSTR>(lpszText != nullptr ? lpszText : L"");
        ::SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &mii);
    }
    else if (m_pOther != nullptr)
    {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE; // separators and invalid ids are left alone
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL bHandled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged)
    {
        FwCmdHandlerInfo info{};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return bHandled;
}

// ---------------------------------------------------------------------------
// CWnd

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() = default;

CWnd::CWnd(HWND hWndSpecial) : m_hWnd(hWndSpecial), m_bTemporary(TRUE) {}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && !m_bTemporary && FromHandlePermanent(m_hWnd) == this)
    {
        TRACE(L"window object deleted before its window: destroying the window\n");
        DestroyWindow();
        if (m_hWnd != nullptr)
            Detach();
    }
}

HWND CWnd::GetSafeHwnd() const
{
    // Called as pWnd->GetSafeHwnd() on possibly null pointers; the barrier keeps
    // the compiler from assuming `this` is never null.
    const CWnd* self = this;
    asm("" : "+r"(self));
    return self != nullptr ? self->m_hWnd : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    PermanentMap& pm = Permanent();
    AcquireSRWLockShared(&pm.lock);
    auto it = pm.map.find(hWnd);
    CWnd* pWnd = it != pm.map.end() ? it->second : nullptr;
    ReleaseSRWLockShared(&pm.lock);
    return pWnd;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    ThreadState& ts = State();
    auto it = ts.tempMap.find(hWnd);
    if (it != ts.tempMap.end())
        return it->second;
    CWnd* pWnd = new CWnd(hWnd);
    ts.tempMap.emplace(hWnd, pWnd);
    return pWnd;
}

void CWnd::DeleteTempMap()
{
    ThreadState& ts = State();
    std::unordered_map<HWND, CWnd*> objects;
    objects.swap(ts.tempMap);
    for (auto& entry : objects)
        delete entry.second;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    m_bTemporary = FALSE;
    MapPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr && FromHandlePermanent(hWnd) == this)
        UnmapPermanent(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    m_pfnSuper = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)FwWndProc);
    if (m_pfnSuper == FwWndProc)
    {
        // Cannot happen for a window no object owns; undo rather than loop.
        m_pfnSuper = nullptr;
        Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr)
        return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, (int)nID);
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd == nullptr)
        return nullptr;
    if (m_pfnSuper != nullptr)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;
    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    // Whatever way creation fails, PostNcDestroy runs exactly once, so that
    // objects that delete themselves there are never leaked or deleted twice.
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }
    auto createWindow = [](void* param) -> HWND {
        const CREATESTRUCTW& c = *static_cast<const CREATESTRUCTW*>(param);
        return ::CreateWindowExW(c.dwExStyle, c.lpszClass, c.lpszName, c.style, c.x, c.y, c.cx, c.cy,
                                 c.hwndParent, c.hMenu, c.hInstance, c.lpCreateParams);
    };
    return fw_detail::CreateWindowFor(this, createWindow, &cs);
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return FALSE;
    BOOL bResult = ::DestroyWindow(hWnd);
    // A window that was only attached (not subclassed) gets no notice of its end.
    if (bResult && FromHandlePermanent(hWnd) == this)
        Detach();
    return bResult;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
    {
        LRESULT result = 0;
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        *pResult = result;
        return TRUE;
    }
    const FwMsgMapEntry* pEntry = FindMessageEntry(message);
    if (pEntry == nullptr)
        return FALSE;
    FwMsgCall call{message, wParam, lParam, 0, nullptr};
    *pResult = pEntry->pfn(this, call);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (lParam == 0)
    {
        if (nID == 0)
            return FALSE;
        // A menu item or accelerator whose update handler disables it does nothing.
        TestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (pNMHDR == nullptr)
        return FALSE;
    FwNotifyInfo info{pNMHDR, pResult};
    return OnCmdMsg((UINT)pNMHDR->idFrom, (int)MAKELONG(LOWORD(pNMHDR->code), WM_NOTIFY), &info, nullptr);
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::Default()
{
    const MSG& msg = State().msgCur;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return &State().msgCur;
}

// ---- Window calls ----

DWORD CWnd::GetStyle() const
{
    return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
}

DWORD CWnd::GetExStyle() const
{
    return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = GetStyle();
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (LONG_PTR)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                 lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    HWND hWndInsertAfter = pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr;
    return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, (LPPOINT)lpRect, 2);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)lpRect, 2);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetActiveWindow()
{
    return FromHandle(::SetActiveWindow(m_hWnd));
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    ::SetWindowTextW(m_hWnd, lpszString);
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLength = ::GetWindowTextLengthW(m_hWnd);
    LPWSTR buffer = rString.GetBuffer(nLength + 1);
    int nCopied = ::GetWindowTextW(m_hWnd, buffer, nLength + 1);
    rString.ReleaseBuffer(nCopied);
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    HWND hWndItem = ::GetDlgItem(m_hWnd, nID);
    if (hWndItem == nullptr)
    {
        rString.Empty();
        return 0;
    }
    int nLength = ::GetWindowTextLengthW(hWndItem);
    LPWSTR buffer = rString.GetBuffer(nLength + 1);
    int nCopied = ::GetWindowTextW(hWndItem, buffer, nLength + 1);
    rString.ReleaseBuffer(nCopied);
    return nCopied;
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
{
    return (int)::GetDlgItemTextW(m_hWnd, nID, lpStr, nMaxCount);
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    ::SetDlgItemTextW(m_hWnd, nID, lpszString);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    return ::IsDlgButtonChecked(m_hWnd, nIDButton);
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::IsZoomed() const
{
    return ::IsZoomed(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const
{
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

CWnd* CWnd::GetTopLevelParent() const
{
    return FromHandle(::GetAncestor(m_hWnd, GA_ROOT));
}

HMENU CWnd::GetMenu() const
{
    return ::GetMenu(m_hWnd);
}

BOOL CWnd::SetMenu(HMENU hMenu)
{
    return ::SetMenu(m_hWnd, hMenu);
}

void CWnd::DrawMenuBar()
{
    ::DrawMenuBar(m_hWnd);
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption != nullptr ? lpszCaption : AfxGetAppName(), nType);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    ::DragAcceptFiles(m_hWnd, bAccept);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND hWndCenter = pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd
                      : child                    ? ::GetParent(m_hWnd)
                                                 : ::GetWindow(m_hWnd, GW_OWNER);
    RECT rcArea{}, rcCenter{}, rcWindow{};
    GetWindowRect(&rcWindow);
    if (child)
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter == hWndParent)
            rcCenter = rcArea;
        else
        {
            ::GetWindowRect(hWndCenter, &rcCenter);
            ::MapWindowPoints(nullptr, hWndParent, (LPPOINT)&rcCenter, 2);
        }
        ::MapWindowPoints(nullptr, hWndParent, (LPPOINT)&rcWindow, 2);
    }
    else
    {
        HMONITOR hMonitor =
            ::MonitorFromWindow(hWndCenter != nullptr ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO mi{};
        mi.cbSize = sizeof(mi);
        ::GetMonitorInfoW(hMonitor, &mi);
        rcArea = mi.rcWork;
        // A hidden or minimised owner gives no useful centre.
        if (hWndCenter != nullptr && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter))
            ::GetWindowRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }
    const int cx = rcWindow.right - rcWindow.left;
    const int cy = rcWindow.bottom - rcWindow.top;
    int x = (rcCenter.left + rcCenter.right - cx) / 2;
    int y = (rcCenter.top + rcCenter.bottom - cy) / 2;
    // Keep the window inside the area where possible.
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SetFont(HFONT hFont, BOOL bRedraw)
{
    ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)hFont, bRedraw);
}

HFONT CWnd::GetFont() const
{
    return (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0);
}

// ---- Default handlers ----

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return (int)Default();
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnSizing(UINT, LPRECT)
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, POINT)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, POINT)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, POINT)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, POINT)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, POINT)
{
    Default();
}
void CWnd::OnRButtonDblClk(UINT, POINT)
{
    Default();
}
void CWnd::OnMButtonDown(UINT, POINT)
{
    Default();
}
void CWnd::OnMouseMove(UINT, POINT)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, POINT)
{
    return (BOOL)Default();
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    return (int)Default();
}
void CWnd::OnVScroll(UINT, UINT, CWnd*)
{
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CWnd*)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnDropFiles(HDROP)
{
    Default();
}
void CWnd::OnContextMenu(CWnd*, POINT)
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    return (HBRUSH)Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return (BOOL)Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnInitMenuPopup(HMENU, UINT, BOOL)
{
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT)
{
    Default();
}
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT)
{
    Default();
}

// ---------------------------------------------------------------------------

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static SRWLOCK s_lock = SRWLOCK_INIT;
    static std::set<std::wstring> s_names;

    HINSTANCE hInstance = AfxGetInstanceHandle();
    wchar_t name[96];
    wsprintfW(name, L"Fw:%p:%x:%p:%p:%p", (void*)hInstance, nClassStyle, (void*)hCursor, (void*)hbrBackground,
              (void*)hIcon);
    AcquireSRWLockExclusive(&s_lock);
    auto it = s_names.find(name);
    if (it == s_names.end())
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = nClassStyle;
        wc.lpfnWndProc = ::DefWindowProcW; // our windows are subclassed when created
        wc.hInstance = hInstance;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = name;
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        if (::GetClassInfoExW(hInstance, name, &existing) || ::RegisterClassExW(&wc))
            it = s_names.insert(name).first;
    }
    LPCTSTR result = it != s_names.end() ? it->c_str() : nullptr;
    ReleaseSRWLockExclusive(&s_lock);
    return result;
}

BOOL AfxPreTranslateWindowChain(MSG* pMsg)
{
    HWND hWnd = pMsg->hwnd;
    while (hWnd != nullptr)
    {
        // The next window is taken first: the handler may destroy this one.
        HWND hWndNext = (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : nullptr;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        hWnd = hWndNext;
    }
    return FALSE;
}
