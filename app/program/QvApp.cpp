#include "app/program/QvApp.h"

#include "app/program/MainFrm.h"
#include "app/program/QvDoc.h"
#include "res/resource.h"
#include "view/QvView.h"

IMPLEMENT_DYNCREATE(CQvDoc, CDocument)

CQvApp theApp;

BOOL CQvApp::InitInstance()
{
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQvDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CQvView)));
    CCommandLineInfo cmdInfo;
    return ProcessShellCommand(cmdInfo);
}
