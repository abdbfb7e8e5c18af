#include "program/QvApp.h"

#include "app/Directories.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/OsVersion.h"
#include "app/Settings.h"
#include "app/StartDirs.h"
#include "app/StartupSettings.h"
#include "program/AboutDlg.h"
#include "program/MainFrm.h"
#include "program/ProgramHooks.h"
#include "program/QvDoc.h"
#include "media/MciWnd.h"
#include "res/resource.h"
#include "view/QvView.h"

IMPLEMENT_DYNCREATE(CQvDoc, CDocument)

CQvApp theApp;
CQvApp* g_App = nullptr;

BEGIN_MESSAGE_MAP(CQvApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

BOOL CQvApp::InitInstance()
{
    HardenDllSearchPath();
    ReadOsVersion();
    ResolveStrCmpLogicalW();
    InstallProgramHooks();

    g_LogMutex = CreateMutexW(nullptr, FALSE, nullptr);
    g_DataMutex = CreateMutexW(nullptr, FALSE, nullptr);
    g_MsgReqDirChange = RegisterWindowMessageW(QV_MSG_REQ_DIR_CHANGE_NAME);
    if (!OpenSharedProcessData())
        return FALSE;

    GetProgramDir(g_ProgramDir);
    GetSystemDir(g_SystemDir);
    GetWindowsDir(g_WindowsDir);
    g_HomeDir = g_ProgramDir;
    RemoveTrailingBackslash(g_HomeDir);
    GetLogonUserName(g_UserName);

    if (!LoadStartupSettings())
        return FALSE;

    ParseStartDirs(m_lpCmdLine, g_StartDirs);
    WriteStartDirSlot(g_SharedProcessData, 0, g_StartDirs[0]);
    WriteStartDirSlot(g_SharedProcessData, 1, g_StartDirs[1]);

    if (HANDLE running = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, L"hQvTwinAccess"))
    {
        CloseHandle(running);
        m_hTwinMutex = nullptr;
        if (g_DISABLETWIN != 0)
        {
            EnumWindows(FindRunningInstanceProc, 0);
            delete g_SettingsIni;
            g_SettingsIni = nullptr;
            return FALSE;
        }
    }
    else
    {
        m_hTwinMutex = CreateMutexW(nullptr, FALSE, L"hQvTwinAccess");
    }

    if (!AfxOleInit())
        return FALSE;
    m_bComInitialized = SUCCEEDED(CoInitialize(nullptr));
    g_App = this;

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQvDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CQvView)));
    // The player exists before the view reads its settings, which ends with the
    // start-up sound.
    g_MciWnd = CreateMciWnd(nullptr);
    if (g_MciWnd)
    {
        g_MciWnd->m_pZoom = &g_MCI_ZOOM;
        g_MciWnd->m_pVolume = &g_MCI_VOLUME;
    }
    // The arguments are this program's own; the framework only opens the empty document.
    CCommandLineInfo cmdInfo;
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    m_pMainWnd->DragAcceptFiles(TRUE);
    return TRUE;
}

int CQvApp::ExitInstance()
{
    if (m_bComInitialized)
        CoUninitialize();
    m_bComInitialized = FALSE;
    if (m_hTwinMutex)
        CloseHandle(m_hTwinMutex);
    m_hTwinMutex = nullptr;
    CloseSharedProcessData();
    if (g_DataMutex)
        CloseHandle(g_DataMutex);
    g_DataMutex = nullptr;
    if (g_LogMutex)
        CloseHandle(g_LogMutex);
    g_LogMutex = nullptr;
    return CWinApp::ExitInstance();
}

void CQvApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}
