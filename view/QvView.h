// The main view: the one window that shows the two panes.
#pragma once
#include "framework/FwApp.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"

#include <shlobj.h>

class CIniFile;

class CQvView : public CView
{
    DECLARE_DYNCREATE(CQvView)

public:
    CQvView() = default;
    ~CQvView() override;
    void OnDraw(CDC* pDC) override;

    // Whether the program may end; fromClose is 1 when the frame's close asks. Non-zero
    // allows it. Nothing runs yet that could hold the program back.
    int Quit(int fromClose);

    // Reads every settings section that start-up left for the view from g_SettingsIni,
    // creates the process-wide objects and both panes, opens the panes on their start
    // directories and then frees g_SettingsIni. Needs no window. A failure sets
    // m_bStartFailed.
    void LoadViewSettings();
    // Writes the whole settings file (after backing it up), the per-user file when the
    // redirection is on, and the directory-tree caches. Needs no window; failures are
    // silent apart from a log line when the main file could not be read.
    void SaveAllSettings();

    // 1 once quitting was confirmed; the frame then closes without asking again.
    int m_bQuitting = 0;

    // ---- Run-time state set by the settings reader ------------------------------------
    // Set once the settings were saved for good (shut-down); SaveAllSettings then does
    // nothing.
    int m_bSettingsSaved = 0;
    // The per-user settings dialog's "do not save at exit" switch; never stored.
    int m_bNoSaveSettings = 0;
    // Set when the reader could not create the panes; the window then does not open.
    int m_bStartFailed = 0;
    // The panes' wildcard-on-directories switch (WILD_CARD_APPLY_DIR_AT_START).
    BOOL m_bWildcardOnDirectories = FALSE;
    // GetOsVersionKind at start.
    int m_osVersionKind = 0;
    // Control ids of the panes' scroll bars: [bar][pane].
    UINT m_scrollBarIds[2][2] = {{30000, 30001}, {30002, 30003}};
    // Registered messages "WMSG_QV_UNPACK_START" and "WMSG_QV_PREVIEW_LOAD".
    UINT m_msgUnpackStart = 0;
    UINT m_msgPreviewLoad = 0;
    // Whether any common key binding carries the hot-key flag.
    BOOL m_bHasHotKey = FALSE;
    // The start directories the reader settled on for pane 0 and pane 1.
    CString m_startDirectories[2];
    // When the pane background picture changes next (UTC).
    FILETIME m_nextBackgroundChange = {};
    // Guards the four lists of running worker dialogs.
    HANDLE m_hDialogListMutex = nullptr;
    // The launcher: program, parameters, key text and working directory per entry.
    CStringArray m_LancherExe;
    CStringArray m_LancherPar;
    CStringArray m_LancherKey;
    CStringArray m_LancherExeDir;
    // The temporary directory ("TEMPDIRECTORY"; the system's when empty).
    CString m_tempDirectory;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnDropFiles(HDROP hDropInfo);

    // The view's timers are stopped while the settings are written; the timers come
    // with the view's input and drawing, so both do nothing yet.
    void StopViewTimers(int kind);
    void StartBinaryCursorTimer();

    DECLARE_MESSAGE_MAP()

private:
    // The steps of the reader that need the view's members.
    void ResolveStartDirectories();
    void CreatePanesAndOpenDirectories();
    void ScheduleBackgroundChange();
    HMODULE m_hShlwapi = nullptr;
};

// The one view, for the dialogs and workers that need it; null while there is none.
extern CQvView* g_MainView;

// The shell context menu that is showing, or null; the frame hands it the menu
// messages it draws its own items with.
extern IContextMenu2* g_pContMenu2;

// Created by the settings reader, unnamed and not owned: one extraction job at a time
// (g_UnpackMutex) and the CD player's shared state (g_CdMutex).
extern HANDLE g_UnpackMutex;
extern HANDLE g_CdMutex;

// The archive client lies above the view, so the program hands the view its loader's
// mutex creation; the reader calls it first when it is set.
extern void (*g_pfnCreateSevenZipLoadMutex)();
