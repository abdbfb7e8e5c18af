// The applet files of each Windows generation with the names and descriptions of the
// applets they hold.
#pragma once
#include <windows.h>

struct KnownCplRow
{
    wchar_t file[30];
    wchar_t name[100];
    wchar_t description[200];
    // 1: the applet's name is passed after the file when it runs.
    int appendName;
};

struct KnownCplTable
{
    const KnownCplRow* rows;
    int count;
};

// The table of the system generation GetOsVersionKind gives: 0, 1 and 2 have their
// own, every later system the newest.
KnownCplTable GetKnownCplTable(int osKind);
