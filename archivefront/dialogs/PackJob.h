// What the pack dialog does on OK, apart from its window: choose the back-end that
// packs the kind, name the archive (or one archive per base name), pass the numbered
// options, create the archive and turn it into a self-extracting program when a row
// asks for one. Questions and failures go through the message-box dialog, so a
// script answers them in tests.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CWnd;

// The pack command's kinds.
enum
{
    PACK_KIND_LHA = 0,
    PACK_KIND_ZIP = 1,
    PACK_KIND_7Z = 7,
};

// Extension case rows.
enum
{
    PACK_EXT_LOWER = 0,
    PACK_EXT_UPPER = 1,
    PACK_EXT_AS_GIVEN = 2,
};

struct PackSfxKindRow
{
    wchar_t text[200];
    wchar_t switchText[20];
    int shortNameFlag; // the library's short-name switch is forced on for this row
};

struct PackTypeRow
{
    wchar_t text[100];
    wchar_t switchText[20]; // the level switch, or the 7-Zip format name
};

extern const PackSfxKindRow g_LhaSfxKinds[7];
extern const PackSfxKindRow g_ZipSfxKinds[3];
extern const PackTypeRow g_LhaPackTypes[4];
extern const PackTypeRow g_ZipPackTypes[10];
extern const PackTypeRow g_SevenZipPackTypes[6];

// The fixed data of one kind; the settings are the ones the dialog shows and stores.
struct CPackKindInfo
{
    int backEnd;               // ARCFRONT_ARCHIVER or ARCFRONT_SEVENZIP
    const wchar_t* captionOne; // one archive
    const wchar_t* captionPerFile;
    const PackSfxKindRow* sfxRows;
    int sfxCount;
    int* sfxSetting; // null: the kind has no self-extracting rows
    const PackTypeRow* typeRows;
    int typeCount;
    int* typeSetting;
    int* extensionSetting;
};

// The kind's data; LHA for an unknown kind.
const CPackKindInfo& GetPackKindInfo(int kind);

// What the dialog hands over on OK.
struct CPackRequest
{
    CString sourceDir; // the pane's folder; the names below are relative to it
    int paneIndex = 0;
    int kind = PACK_KIND_LHA;
    int perFile = 0;
    CString archiveName;
    CString destination; // as typed
    int sfxRow = 0;
    int typeRow = 0;
    int extensionCase = PACK_EXT_LOWER;
    int confirmOverwrite = 0;
    int password = 0;
    CStringArray files; // the pane's target entries, in pane order
};

// Results of RunPackRequest.
enum
{
    PACK_STAY_OPEN = 0, // the dialog stays for another try
    PACK_CLOSE = 1,     // the dialog closes with OK
};

// Runs the request; `owner` is the dialog (null in tests). Stores the chosen rows,
// extension case and overwrite confirmation into their settings.
int RunPackRequest(const CPackRequest& request, CWnd* owner);

// The self-extracting and type row settings of a kind, clamped to its tables.
int GetStoredSfxRow(int kind);
int GetStoredTypeRow(int kind);
int GetStoredExtensionCase(int kind);
