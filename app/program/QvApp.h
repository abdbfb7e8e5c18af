// The application object: start-up and shut-down of the program.
#pragma once
#include "framework/FwApp.h"

class CQvApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};

extern CQvApp theApp;
