// The program's entry point. It is alone in this file so that test programs,
// which have their own main, do not get it: the library member is only linked
// into a program that asks for the symbol (Qv links with -Wl,-u,wWinMain).
#include "framework/FwApp.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
