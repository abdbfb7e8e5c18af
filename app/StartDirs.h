// What one start of the program hands to another: the "-D" start directories of the
// command line, the shared memory that carries them between instances, and the
// search for a running instance's main window.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The named shared memory: two slots of 1040 wide characters, pane 0 first. A slot
// holds a NUL-terminated directory of at most 1039 characters; empty means none.
#define QV_SHARED_PROCESS_DATA_NAME L"FILEMAP_QV_CMN_PROCESS_DATA"
constexpr int kStartDirSlotChars = 1040;
constexpr int kStartDirSlotBytes = kStartDirSlotChars * sizeof(wchar_t); // 2080
constexpr int kSharedProcessDataBytes = 2 * kStartDirSlotBytes;          // 4160

// The message a further start sends to the running main window once it has written
// its start directories into the shared memory.
#define QV_MSG_REQ_DIR_CHANGE_NAME L"WMSG_QV_REQ_DIR_CHANGE"
extern UINT g_MsgReqDirChange;

// The mapping and its view (both slots); null while not open.
extern HANDLE g_SharedProcessDataMapping;
extern wchar_t* g_SharedProcessData;

// Creates or opens the shared memory and maps it whole; FALSE when either fails
// (nothing stays open then).
BOOL OpenSharedProcessData();
// Unmaps and closes it; nothing when it is not open.
void CloseSharedProcessData();

// Takes up to two "-D<dir>" or "-D\"<dir>\"" tokens (D in either case) of the
// program's arguments into dirs[0] and dirs[1], left empty when not given. Tokens are
// split at blanks outside quotes; every other token is ignored.
void ParseStartDirs(LPCWSTR commandLine, CString dirs[2]);

// Writes a directory into slot 0 or 1 of the shared data. A directory too long for
// its slot is written as an empty slot rather than cut to a different folder.
void WriteStartDirSlot(wchar_t* sharedData, int slot, LPCWSTR dir);
// Reads slot 0 or 1, at most one slot's characters, whether or not the writer
// terminated it.
void ReadStartDirSlot(const wchar_t* sharedData, int slot, CString& out);

// The window-enumeration callback of the hand-over: a top-level window whose title
// ends in " - qv" (and is longer than that) is brought to the front, restored when it
// is minimised (its owner when it has one) and sent g_MsgReqDirChange. Always
// continues the enumeration.
BOOL CALLBACK FindRunningInstanceProc(HWND hWnd, LPARAM lParam);
// How long the hand-over waits for one window to take a message; a window that does
// not answer in time, or that the system sees as hung, is passed over.
extern DWORD g_HandOverTimeoutMs;
