// The application object, the single-document frame/document/view trio and the
// Afx* globals.
//
// The program defines exactly one global object of its CWinApp subclass:
//
//     CQvApp theApp;
//
// and the framework's wWinMain (framework/FwWinMain.cpp) runs it: InitInstance,
// then the message loop (Run) unless InitInstance returned FALSE, then
// ExitInstance, whose result is the process's exit code.
//
// A CSingleDocTemplate(100, RUNTIME_CLASS(CQvDoc), RUNTIME_CLASS(CMainFrame),
// RUNTIME_CLASS(CQvView)) given to AddDocTemplate lets ProcessShellCommand
// create the document, the frame (LoadFrame(100): menu, icon, accelerators and
// title from the resources with id 100) and the view that fills the frame.
#pragma once

#include "framework/FwWnd.h"

#include <vector>

class CDocument;
class CView;
class CFrameWnd;
class CDocTemplate;
class CWinApp;

// Commands of the framework.
constexpr UINT ID_APP_ABOUT = 0xE140; // 57664
constexpr UINT ID_APP_EXIT = 0xE141;  // 57665: posts WM_CLOSE to the main window

// Child id of a frame's view.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

// Frame styles, removed before the window is created: the caption shows
// "document title - application title".
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

struct CCreateContext
{
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

class CCommandLineInfo : public CObject
{
public:
    enum
    {
        FileNew,
        FileOpen,
        FileNothing = -1
    } m_nShellCommand = FileNew;
    CString m_strFileName;

    CCommandLineInfo() = default;
    // One argument; bFlag when it began with '-' or '/' (which is removed).
    // A plain argument names a file to open; flags are ignored here.
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);
};

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)

public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and the captions of the frames showing the document.
    virtual void SetTitle(LPCTSTR lpszTitle);
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // The views in creation order.
    const std::vector<CView*>& GetViews() const { return m_views; }

    BOOL m_bAutoDelete = TRUE; // deleted when its last view goes

protected:
    CString m_strTitle;

private:
    friend class CDocTemplate;
    friend class CSingleDocTemplate;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;
};

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

public:
    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    // Draws the view; called from WM_PAINT with a paint device context.
    virtual void OnDraw(CDC* pDC) = 0;
    // Called once the document, frame and view all exist; repaints by default.
    virtual void OnInitialUpdate();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The view first, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

protected:
    CView();
    ~CView() override;

    // Adds the view to the creation context's document.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    // A menu command that the view and its document do not handle (e.g. from a
    // popup menu tracked with the view as owner) goes on to the frame and the
    // application.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    friend class CFrameWnd;
    friend class CDocument;
    CFrameWnd* m_pFrame = nullptr;
};

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame with the menu, icon, accelerators and title string of
    // the resource id (each only when present); with a context, also its view.
    // On failure the object has deleted itself.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    CDocument* GetActiveDocument() const;
    // Activates the view, calls OnInitialUpdate of the document's views, shows
    // the frame when bMakeVisible (the application's show command for the main
    // window) and updates the caption.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Caption: "document title - title" with FWS_ADDTOTITLE, else the title.
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    // Sizes the view to the client area.
    virtual void RecalcLayout();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The active view (and its document) first, then the frame, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    HMENU m_hMenuDefault = nullptr; // menu of the resource, destroyed with the window
    HACCEL m_hAccelTable = nullptr;
    CString m_strTitle;            // application part of the caption
    BOOL m_bAutoMenuEnable = TRUE; // menu items without any handler are disabled

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CView* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    // Runs the update handlers of the items of a menu that opens.
    void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu);
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    friend class CView;
    CView* m_pViewActive = nullptr;
    UINT m_nIDResource = 0;
    DWORD m_dwFrameStyle = 0; // FWS_xxx
    HICON m_hIcon = nullptr;
};

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)

public:
    ~CDocTemplate() override;

    UINT GetResourceID() const { return m_nIDResource; }
    // Part n (0 = window title) of the '\n'-separated string of the resource id.
    BOOL GetDocString(CString& rString, int nIndex) const;

    // Opens a document: a new one when lpszPathName is null. The frame and the
    // view are created for it; null when anything fails.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void RemoveDocument(CDocument* pDoc);

protected:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* pDoc);
    void SetDefaultTitle(CDocument* pDoc);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

class CSingleDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CSingleDocTemplate)

public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                       const CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    // The one document is reused when it exists already.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};

class CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)

public:
    // The one application object; its title defaults to the first part of
    // string 100, else the program file's name.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr; // the arguments after the program name
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszExeName = nullptr; // the program file's name without extension
    DWORD m_nThreadID = 0;          // thread that runs the message loop

    virtual BOOL InitInstance();
    // Result: the exit code of the process (the WM_QUIT code by default).
    virtual int ExitInstance();
    // The message loop; returns ExitInstance's result.
    virtual int Run();
    // Called when the queue is empty with the count of calls since the last
    // message; TRUE asks for another call.
    virtual BOOL OnIdle(LONG lCount);
    // The loop's filter: the window chain of the message by default.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    void AddDocTemplate(CDocTemplate* pTemplate);
    // Reads the process's arguments into rCmdInfo.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FileNew (and FileOpen) open a document through the first template.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    void OnFileNew();
    void OnAppExit();

protected:
    int m_nExitCode = 0; // wParam of the WM_QUIT that ended Run

    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain(HINSTANCE, LPWSTR, int);
    friend LPCTSTR AfxGetAppName();
    std::vector<CDocTemplate*> m_templates;
    CString m_strAppName;
    CString m_strExeName;
    BOOL m_bOleInitialized = FALSE;
    friend BOOL AfxOleInit();
};

// The body of the program's wWinMain: runs the application object.
int AfxWinMain(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow);

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// The application's main window (from any thread), or null.
CWnd* AfxGetMainWnd();
// The application's title (the message-box caption).
LPCTSTR AfxGetAppName();
// Initialises OLE for the calling (main) thread; undone after ExitInstance.
BOOL AfxOleInit();
// A message box owned by the calling thread's active window (on the main
// thread: the main window's last active popup), titled with the application's title.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// The message filter of modal loops: the application's PreTranslateMessage on
// the application's thread, the window chain on other threads.
BOOL AfxPreTranslateMessage(MSG* pMsg);
