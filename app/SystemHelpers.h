// Small services used across the program: names written into the settings file,
// the folder chooser, monitors, the master volume, access-control lists, file-time
// comparison and string and path utilities.
#pragma once
#include <windows.h>
#include <aclapi.h>
#include "framework/FwCollections.h"
#include "framework/FwGdi.h"
#include "framework/FwString.h"

class CWnd;

// ---- Names --------------------------------------------------------------------------

// The colour's name for the known colours, else "RGB(0x.., 0x.., 0x..)".
CString GetColorName(COLORREF color);
// The ini key part of a mouse action of the graphic viewer (0 "LEFT_CLICK" ...
// 5 "WHEEL_DOWN"); empty for any other value.
CString GetMouseActionName(int action);
// "N", "S", "C", "A" for modifier 0 to 3; empty for any other value.
CString GetModifierLetter(int modifier);

// ---- Shell and display --------------------------------------------------------------

// Lets the user choose a folder (or a file too) starting at `path`. On OK the path
// becomes the choice without a trailing backslash (a drive root keeps it) and the
// result is TRUE; on Cancel, an empty choice or a failure it is FALSE and the path
// unchanged.
BOOL BrowseForFolder(CString& path, CWnd* owner, BOOL includeFiles);

// The rectangle of the monitor that shows most of the window; the primary screen
// when there is only one.
void GetWindowMonitorRect(HWND window, RECT* rect);
// Appends the rectangle of every display monitor.
void EnumMonitors(CArray<CRect>& rects);

// ---- Master volume ----------------------------------------------------------------

// The volume control of the speakers line of the last mixer device. Replaceable so
// that tests need no sound device.
struct MixerVolumeApi
{
    // The control's range and current value; FALSE when any step fails.
    BOOL (*readVolume)(DWORD* minimum, DWORD* maximum, DWORD* value);
    // Sets the control's value; FALSE when any step fails.
    BOOL (*writeVolume)(DWORD value);
};
extern MixerVolumeApi g_MixerVolumeApi;

// The control's range and its value as a percentage of it.
BOOL GetMixerVolume(DWORD* minimum, DWORD* maximum, int* percent);
// Sets the value at `percent` (clamped to 0-100) of the control's range.
BOOL SetMixerVolume(int percent);

// ---- Access-control lists ---------------------------------------------------------

// A copy (LocalAlloc; the caller frees it with LocalFree) of the discretionary ACL of
// a file or folder. 0 on success; *dacl stays null when the object has no DACL.
// Otherwise the system error as an HRESULT (E_OUTOFMEMORY when memory runs out).
HRESULT GetFileDacl(LPCWSTR path, PACL* dacl);

// ---- File times -----------------------------------------------------------------------

// 1 when a is earlier than b, -1 when b is earlier than a, 0 when they count as
// equal: within 2 seconds of each other when `slack` is set (file systems that
// store times in 2-second steps), else only when identical.
int CompareFileTimes(const FILETIME& a, const FILETIME& b, BOOL slack);
// The same with the slack of setting COPY_FILE_TIME_USED_RANGE.
int CompareFileTimesBySetting(const FILETIME& a, const FILETIME& b);

// ---- Previews -------------------------------------------------------------------------

// The thumbnail box in pixels: PREVIEW_WIDTH (PREVIEW_HEIGHT) times
// PREVIEW_MAGNIFICATION percent, at least 1.
int GetPreviewWidthScaled();
int GetPreviewHeightScaled();

// ---- Drives -------------------------------------------------------------------------

// The slot of g_DriveLastDirs that remembers the last folder visited on the drive of
// `letter` (A-Z in either case): the second set for pane 1 while
// USE_EACH_LAST_DIRECTORY is on, else the first. Null for any other character.
CString* GetDriveLetterSlot(wchar_t letter, int paneIndex);

// ---- Strings and paths --------------------------------------------------------------

// The text with its environment variables expanded.
void ExpandEnvironmentString(CString& out, LPCWSTR text);
// The parts between the delimiters: n delimiters give n + 1 parts, an empty text none.
void SplitString(LPCWSTR text, wchar_t delimiter, CStringArray& parts);
// The system's message text of an error code.
void FormatSystemError(DWORD error, CString& text);
// The step by which entry arrays grow: 1000 below 10,000 entries, then the power of
// ten of the count's magnitude.
INT_PTR GetArrayGrowStep(INT_PTR count);
// A "file://" address as a path ("%XX" escapes decoded as UTF-8, "\\" in front of a
// server name); any other text unchanged.
void FileUrlToPath(CString& path, LPCWSTR text);
// Makes a search pattern of a typed name: "word" becomes "*word*.*", an empty name
// or extension part becomes "*".
void BuildWildcardPattern(CString& text);
