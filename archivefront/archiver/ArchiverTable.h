// The rows of the common-archiver libraries: which library serves a format, the
// export prefix it is called by, the commands it takes and what it may be opened
// for. The user's option flags of each row stay with the settings (g_ArchiverDllTable).
#pragma once
#include <windows.h>
#include "app/settings/ArchiverSettings.h"

// Rows of the table, in the order they are tried.
enum
{
    ARCHIVER_ROW_LZH = 0,
    ARCHIVER_ROW_ZIP = 1,
    ARCHIVER_ROW_CAB = 2,
    ARCHIVER_ROW_RAR = 3,
    ARCHIVER_ROW_ARJ = 4,
    ARCHIVER_ROW_TAR = 5,
    ARCHIVER_ROW_GCA = 6,
    ARCHIVER_ROW_7Z = 7,
};

// What an archive is opened for (the bits of a row's open mask).
enum
{
    ARCOPEN_MEMBER_TO_MEMORY = 1,
    ARCOPEN_MEMBER_VIA_TEMP = 2,
    ARCOPEN_PACK = 4,
    ARCOPEN_UNPACK = 8,
};

struct CArchiverLibraryRow
{
    const wchar_t* library64;     // the 64-bit library; empty: the bridge serves the row
    const wchar_t* library32;     // the 32-bit library the row stands for (not loaded)
    const wchar_t* packLibrary32; // the 32-bit packing library (not loaded)
    const char* prefix;           // export prefix; the bare prefix is the command export
    const char* packPrefix;       // export prefix of the packing library
    const wchar_t* formatName;
    const wchar_t* extensions; // upper case, each followed by a comma
    int passwordSupported;
    const wchar_t* passwordFormat; // one "%s"
    const wchar_t* extractAll;
    const wchar_t* extractAllFlat;
    int checkMode;
    int openMask; // ARCOPEN_ bits
    const char* wildcard;
    const wchar_t* hideSwitch;
    int openMode;
    const wchar_t* extractListed;
    const wchar_t* extractListedFlat;
    const wchar_t* packSwitches;
};

extern const CArchiverLibraryRow g_ArchiverLibraryTable[ARCHIVER_ROW_COUNT];
