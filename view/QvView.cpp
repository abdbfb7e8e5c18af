#include "view/QvView.h"
#include "filer/FilerPane.h"
#include "app/Settings.h"

CQvView* g_MainView = nullptr;
IContextMenu2* g_pContMenu2 = nullptr;
HANDLE g_UnpackMutex = nullptr;
HANDLE g_CdMutex = nullptr;
void (*g_pfnCreateSevenZipLoadMutex)() = nullptr;

IMPLEMENT_DYNCREATE(CQvView, CView)

BEGIN_MESSAGE_MAP(CQvView, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_DROPFILES()
END_MESSAGE_MAP()

CQvView::~CQvView()
{
    for (CFilerPane*& pane : g_Panes)
    {
        if (pane != nullptr && pane->m_pView == this)
        {
            delete pane;
            pane = nullptr;
        }
    }
    if (m_hDialogListMutex)
        CloseHandle(m_hDialogListMutex);
    m_hDialogListMutex = nullptr;
    // The settings reader made them for this view; no worker outlives it.
    for (HANDLE* mutex : {&g_CdMutex, &g_UnpackMutex})
    {
        if (*mutex)
            CloseHandle(*mutex);
        *mutex = nullptr;
    }
    if (m_hShlwapi)
    {
        g_pfnStrCmpLogicalW = nullptr;
        FreeLibrary(m_hShlwapi);
        m_hShlwapi = nullptr;
    }
    if (g_MainView == this)
        g_MainView = nullptr;
}

int CQvView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    g_MainView = this;
    LoadViewSettings();
    if (m_bStartFailed)
        return -1;
    // PLACEHOLDER: the SCSI device scan, resuming the preview loader and the view's
    // one-second timer follow here once they exist.
    return 0;
}

void CQvView::OnDestroy()
{
    SaveAllSettings();
    m_bSettingsSaved = 1;
    CView::OnDestroy();
}

void CQvView::OnDraw(CDC*)
{
    // The panes are drawn here once the filer exists; the window background is enough until then.
}

int CQvView::Quit(int)
{
    return 1;
}

void CQvView::StopViewTimers(int) {}

void CQvView::StartBinaryCursorTimer() {}

void CQvView::OnDropFiles(HDROP hDropInfo)
{
    // Nothing takes dropped files yet; the drop handle is still released.
    if (hDropInfo)
        DragFinish(hDropInfo);
}
