// What a filer pane asks of the parts of the program that sit around it: the path
// history, the preview loader, the view's message boxes, the access-denied dialog,
// the audio tag reader and the network rows. Each is a replaceable function so that
// the pane can be driven without those parts; the defaults do the least that keeps a
// pane usable (no history, no previews, no retry, no audio titles).
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CFileInfo;
class CFilerPane;

// One row of the network neighbourhood list: the resource's name (empty for the row
// of the whole network, ".." for the way up) and its display type.
class CNetResourceData
{
public:
    CString m_name;
    DWORD m_displayType = 0;
    // The resource type the network reported (disk, printer, ...).
    DWORD m_type = 0;
    CString m_comment;
    CString m_provider;
};

// How a visit is recorded in the path history: stepping back or forward keeps the
// history's order; every other way into a directory moves it to the front.
enum
{
    PATH_VISIT_STEP = 0,
    PATH_VISIT_NAVIGATE = 1,
};

struct PaneHooks
{
    // Records a visit of `directory` by the pane `paneNumber` in the path history;
    // `historyMode` is PATH_VISIT_STEP or PATH_VISIT_NAVIGATE.
    void (*recordVisit)(UINT paneNumber, LPCWSTR directory, int historyMode);
    // Nonzero when the preview loader shows `directory` as thumbnails.
    int (*isPreviewDirectory)(LPCWSTR directory);
    // Nonzero when the name carries one of the preview loader's picture extensions.
    int (*hasPictureExtension)(LPCWSTR name);
    // Hands a re-read listing to the preview loader.
    void (*queuePreviews)(CFilerPane& pane);
    // Tells the user `text` (OK only, the default caption), owned by the pane's view.
    void (*showMessage)(CFilerPane& pane, LPCWSTR text);
    // The access-denied dialog on entering `directory`; nonzero asks for a retry.
    int (*askAccessDeniedRetry)(CFilerPane& pane, DWORD error, LPCWSTR directory);
    // The title of a listed audio file from its tags; empty when it has none.
    CString (*readAudioTitle)(const CFileInfo& entry);
};

extern PaneHooks g_PaneHooks;

// Test helper: restores g_PaneHooks when it goes out of scope.
class CPaneHooksOverride
{
public:
    CPaneHooksOverride() : m_saved(g_PaneHooks) {}
    ~CPaneHooksOverride() { g_PaneHooks = m_saved; }
    CPaneHooksOverride(const CPaneHooksOverride&) = delete;
    CPaneHooksOverride& operator=(const CPaneHooksOverride&) = delete;

private:
    PaneHooks m_saved;
};
