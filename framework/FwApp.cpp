#include "framework/FwApp.h"
#include "framework/FwGdi.h"

#include <algorithm>
#include <commctrl.h>
#include <ole2.h>
#include <shlwapi.h>

namespace
{

CWinApp* g_pApp = nullptr;

// Part n of a '\n'-separated resource string.
CString StringPart(const CString& text, int nIndex)
{
    int start = 0;
    for (int i = 0; i < nIndex; ++i)
    {
        int next = text.Find(L'\n', start);
        if (next < 0)
            return CString();
        start = next + 1;
    }
    int end = text.Find(L'\n', start);
    return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

CString ExeBaseName()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    LPWSTR name = ::PathFindFileNameW(path);
    ::PathRemoveExtensionW(name);
    return CString(name);
}

// The title: the first part of string 100 (the document string of the main
// template), else the program file's name.
CString DefaultAppTitle()
{
    CString text;
    if (text.LoadString(100))
    {
        CString title = StringPart(text, 0);
        if (!title.IsEmpty())
            return title;
    }
    return ExeBaseName();
}

} // namespace

namespace fw_detail
{
void EnsureCommonControls()
{
    static LONG s_done = 0;
    if (InterlockedExchange(&s_done, 1) == 0)
    {
        INITCOMMONCONTROLSEX icc{};
        icc.dwSize = sizeof(icc);
        icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS | ICC_USEREX_CLASSES;
        ::InitCommonControlsEx(&icc);
    }
}
} // namespace fw_detail

// ---------------------------------------------------------------------------
// Globals

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleW(nullptr);
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

LPCTSTR AfxGetAppName()
{
    if (g_pApp != nullptr)
    {
        if (g_pApp->m_pszAppName == nullptr)
        {
            g_pApp->m_strAppName = DefaultAppTitle();
            g_pApp->m_pszAppName = g_pApp->m_strAppName;
        }
        return g_pApp->m_pszAppName;
    }
    static const CString s_title = DefaultAppTitle();
    return s_title;
}

BOOL AfxOleInit()
{
    if (FAILED(::OleInitialize(nullptr)))
        return FALSE;
    if (g_pApp != nullptr)
        g_pApp->m_bOleInitialized = TRUE;
    return TRUE;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    HWND hWndOwner = ::GetActiveWindow();
    if (hWndOwner == nullptr && g_pApp != nullptr && g_pApp->m_pMainWnd != nullptr &&
        ::GetCurrentThreadId() == g_pApp->m_nThreadID)
        hWndOwner = g_pApp->m_pMainWnd->m_hWnd;
    // A disabled owner has a modal window in front: that one owns the box.
    if (hWndOwner != nullptr)
        hWndOwner = ::GetLastActivePopup(hWndOwner);
    return ::MessageBoxW(hWndOwner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (g_pApp != nullptr && ::GetCurrentThreadId() == g_pApp->m_nThreadID)
        return g_pApp->PreTranslateMessage(pMsg);
    return AfxPreTranslateWindowChain(pMsg);
}

int AfxWinMain(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->m_nThreadID = ::GetCurrentThreadId();
    AfxGetAppName();
    fw_detail::EnsureCommonControls();

    int nExitCode;
    if (!pApp->InitInstance())
    {
        if (pApp->m_pMainWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        nExitCode = pApp->ExitInstance();
    }
    else
    {
        nExitCode = pApp->Run();
    }
    if (pApp->m_bOleInitialized)
    {
        ::OleUninitialize();
        pApp->m_bOleInitialized = FALSE;
    }
    return nExitCode;
}

// ---------------------------------------------------------------------------
// CCommandLineInfo

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL)
{
    if (!bFlag && m_strFileName.IsEmpty())
    {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

// ---------------------------------------------------------------------------
// CWinApp

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    ASSERT(g_pApp == nullptr);
    g_pApp = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
    m_nThreadID = ::GetCurrentThreadId();
    if (lpszAppName != nullptr)
    {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
    m_strExeName = ExeBaseName();
    m_pszExeName = m_strExeName;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* pTemplate : m_templates)
        delete pTemplate;
    m_templates.clear();
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

int CWinApp::Run()
{
    MSG msg;
    LONG lIdleCount = 0;
    for (;;)
    {
        while (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(lIdleCount++))
                break;
        }
        BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bResult == -1)
            continue;
        if (bResult == 0)
        {
            m_nExitCode = (int)msg.wParam;
            break;
        }
        if (!PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        lIdleCount = 0;
    }
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount == 0 && fw_detail::CanDeleteTempObjects())
        CWnd::DeleteTempMap();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return AfxPreTranslateWindowChain(pMsg);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate != nullptr)
        m_templates.push_back(pTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr)
        return;
    for (int i = 1; i < argc; ++i)
    {
        LPCWSTR param = argv[i];
        BOOL bFlag = param[0] == L'-' || param[0] == L'/';
        rCmdInfo.ParseParam(bFlag ? param + 1 : param, bFlag, i == argc - 1);
    }
    ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        if (m_templates.empty() || m_templates.front()->OpenDocumentFile(rCmdInfo.m_strFileName) == nullptr)
            return FALSE;
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileNothing:
        break;
    }
    return TRUE;
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->PostMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------
// CDocument

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* pView : m_views)
        pView->m_pDocument = nullptr;
    m_views.clear();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    for (CView* pView : m_views)
    {
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument()
{
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    SetTitle(::PathFindFileNameW(lpszPathName));
    return TRUE;
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    pView->m_pDocument = nullptr;
    if (m_views.empty() && m_bAutoDelete)
        delete this;
}

// ---------------------------------------------------------------------------
// CView

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    if (m_hWnd == nullptr)
        return m_pFrame;
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(pWnd);
    }
    return nullptr;
}

void CView::OnInitialUpdate()
{
    Invalidate(TRUE);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                           ::LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr)
        pContext->m_pCurrentDoc->AddView(this);
    m_pFrame = GetParentFrame();
    return 0;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click into the view gives it the keyboard (unless one of its own
    // child windows has it).
    if (m_pFrame != nullptr)
        m_pFrame->SetActiveView(this);
    return nResult;
}

BOOL CView::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    CFrameWnd* pFrame = GetParentFrame();
    return lParam == 0 && pFrame != nullptr && pFrame->OnCommand(wParam, lParam);
}

void CView::PostNcDestroy()
{
    if (m_pFrame != nullptr && m_pFrame->m_pViewActive == this)
        m_pFrame->m_pViewActive = nullptr;
    delete this;
}

// ---------------------------------------------------------------------------
// CFrameWnd

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    m_dwFrameStyle = dwDefaultStyle & (FWS_ADDTOTITLE | FWS_PREFIXTITLE);
    const DWORD dwStyle = dwDefaultStyle & ~(DWORD)(FWS_ADDTOTITLE | FWS_PREFIXTITLE);

    HINSTANCE hResource = AfxGetResourceHandle();
    CString text;
    if (text.LoadString(nIDResource))
        m_strTitle = StringPart(text, 0);
    m_hIcon = ::LoadIconW(hResource, MAKEINTRESOURCEW(nIDResource));
    m_hMenuDefault = ::LoadMenuW(hResource, MAKEINTRESOURCEW(nIDResource));
    m_hAccelTable = ::LoadAcceleratorsW(hResource, MAKEINTRESOURCEW(nIDResource));

    HMENU hMenu = m_hMenuDefault;
    if (!CreateEx(0, nullptr, m_strTitle, dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  pParentWnd->GetSafeHwnd(), hMenu, pContext))
    {
        // The object is gone; a menu that no window took is ours to free.
        if (hMenu != nullptr && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1), m_hIcon);
    return TRUE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr &&
        ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    m_pViewActive = pViewNew;
    if (pViewNew != nullptr && bNotify && pViewNew->m_hWnd != nullptr)
    {
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus != pViewNew->m_hWnd && !::IsChild(pViewNew->m_hWnd, hWndFocus))
            pViewNew->SetFocus();
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    if (m_pViewActive == nullptr)
    {
        CWnd* pWnd = FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView)))
            SetActiveView(static_cast<CView*>(pWnd), FALSE);
    }
    if (pDoc != nullptr)
    {
        // A copy: an update may add or remove views.
        std::vector<CView*> views = pDoc->GetViews();
        for (CView* pView : views)
            pView->OnInitialUpdate();
    }
    OnUpdateFrameTitle(TRUE);
    if (bMakeVisible)
    {
        int nCmdShow = SW_SHOW;
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == this && pApp->m_nCmdShow != -1)
        {
            // The program's start-up show command applies to its first showing only.
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ShowWindow(nCmdShow);
        UpdateWindow();
        if (m_pViewActive != nullptr && ::GetActiveWindow() == m_hWnd)
            SetActiveView(m_pViewActive);
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE) && pDoc != nullptr)
        UpdateFrameTitleForDocument(pDoc->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
    if (m_hWnd == nullptr)
        return;
    CString text;
    if (lpszDocName != nullptr)
        text = CString(lpszDocName) + L" - " + m_strTitle;
    else
        text = m_strTitle;
    // Setting an unchanged caption would only repaint the title bar.
    CString current;
    GetWindowText(current);
    if (current != text)
        SetWindowText(text);
}

void CFrameWnd::RecalcLayout()
{
    CWnd* pView = m_pViewActive;
    if (pView == nullptr)
        pView = FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
    if (pView == nullptr || pView->m_hWnd == nullptr)
        return;
    RECT rc;
    GetClientRect(&rc);
    pView->MoveWindow(&rc);
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext) != nullptr;
    return TRUE;
}

CView* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    if (pObject == nullptr)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CView)))
    {
        delete pObject;
        return nullptr;
    }
    CView* pView = static_cast<CView*>(pObject);
    pView->m_pFrame = this;
    RECT rc{0, 0, 0, 0};
    // On failure the view has deleted itself.
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, this, nID, pContext))
        return nullptr;
    return pView;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!OnCreateClient(lpCreateStruct, static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams)))
        return -1;
    RecalcLayout();
    return 0;
}

void CFrameWnd::OnDestroy()
{
    // The resource menu goes with the window; a menu the program put up in its
    // place is the program's to free.
    if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    Default();
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
        m_pViewActive->SetFocus();
    else
        Default();
}

void CFrameWnd::OnInitMenuPopup(HMENU hPopupMenu, UINT, BOOL bSysMenu)
{
    Default();
    if (bSysMenu)
        return;
    CCmdUI state;
    state.m_hMenu = hPopupMenu;
    // The count is read again each time: a handler may change the menu.
    for (state.m_nIndex = 0; state.m_nIndex < (UINT)::GetMenuItemCount(hPopupMenu); ++state.m_nIndex)
    {
        state.m_nIndexMax = (UINT)::GetMenuItemCount(hPopupMenu);
        state.m_nID = ::GetMenuItemID(hPopupMenu, (int)state.m_nIndex);
        if (state.m_nID == 0 || state.m_nID == (UINT)-1)
            continue; // separator or submenu
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

// ---------------------------------------------------------------------------
// Document templates

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, int nIndex) const
{
    CString text;
    if (!text.LoadString(m_nIDResource))
    {
        rString.Empty();
        return FALSE;
    }
    rString = StringPart(text, nIndex);
    return TRUE;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* pObject = m_pDocClass != nullptr ? m_pDocClass->CreateObject() : nullptr;
    if (pObject == nullptr)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CDocument)))
    {
        delete pObject;
        return nullptr;
    }
    CDocument* pDoc = static_cast<CDocument*>(pObject);
    pDoc->m_pDocTemplate = this;
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc)
{
    CObject* pObject = m_pFrameClass != nullptr ? m_pFrameClass->CreateObject() : nullptr;
    if (pObject == nullptr)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
    {
        delete pObject;
        return nullptr;
    }
    CFrameWnd* pFrame = static_cast<CFrameWnd*>(pObject);
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = this;
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::SetDefaultTitle(CDocument* pDoc)
{
    CString title;
    GetDocString(title, 1);
    pDoc->SetTitle(title.IsEmpty() ? L"無題" : (LPCWSTR)title);
}

IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // A document that still has views goes with them.
    if (m_pOnlyDoc != nullptr)
    {
        CDocument* pDoc = m_pOnlyDoc;
        m_pOnlyDoc = nullptr;
        pDoc->m_pDocTemplate = nullptr;
        if (pDoc->GetViews().empty())
            delete pDoc;
    }
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDoc = m_pOnlyDoc;
    CFrameWnd* pFrame = nullptr;
    const BOOL bCreated = pDoc == nullptr;
    if (bCreated)
    {
        pDoc = CreateNewDocument();
        if (pDoc == nullptr)
            return nullptr;
        m_pOnlyDoc = pDoc;
        // A view that fails half-way must not take the document with it.
        const BOOL bAutoDelete = pDoc->m_bAutoDelete;
        pDoc->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDoc);
        pDoc->m_bAutoDelete = bAutoDelete;
        if (pFrame == nullptr)
        {
            delete pDoc;
            return nullptr;
        }
    }
    else if (!pDoc->GetViews().empty())
    {
        pFrame = pDoc->GetViews().front()->GetParentFrame();
    }

    BOOL bOk;
    if (lpszPathName == nullptr)
    {
        SetDefaultTitle(pDoc);
        bOk = pDoc->OnNewDocument();
    }
    else
    {
        bOk = pDoc->OnOpenDocument(lpszPathName);
    }
    if (!bOk)
    {
        if (bCreated)
        {
            const BOOL bAutoDelete = pDoc->m_bAutoDelete && !pDoc->GetViews().empty();
            if (pFrame != nullptr)
                pFrame->DestroyWindow(); // deletes the document with its last view
            if (!bAutoDelete)
                delete pDoc;
        }
        return nullptr;
    }

    CWinApp* pApp = AfxGetApp();
    if (bCreated && pApp != nullptr && pApp->m_pMainWnd == nullptr)
        pApp->m_pMainWnd = pFrame;
    if (pFrame != nullptr)
        pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}
