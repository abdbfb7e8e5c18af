// The application object: start-up, the single-instance hand-over and shut-down.
#pragma once
#include "framework/FwApp.h"

class CQvApp : public CWinApp
{
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()

private:
    // "hQvTwinAccess" when this instance created it; its existence marks a running
    // instance. Null in a further instance.
    HANDLE m_hTwinMutex = nullptr;
    BOOL m_bComInitialized = FALSE;
};

extern CQvApp theApp;
// The application object, for code that needs its instance handle.
extern CQvApp* g_App;
