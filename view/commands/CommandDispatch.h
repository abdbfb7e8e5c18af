// The keyword dispatchers of the view: one list per pane family and the two common
// lists, each an ordered list of (keyword, handler, value). A dispatcher compares the
// whole keyword case-sensitively with its list; the first equal entry runs.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CQvView;

// What a handler gets: the keyword as written and the argument after its first blank
// (common keywords only).
struct CommandCall
{
    LPCWSTR keyword;
    LPCWSTR argument;
};

// Returns 1 when it ran (a handler that does nothing yet also returns 1: the keyword
// is known).
typedef int (*CommandHandler)(CQvView& view, const CommandCall& call, INT_PTR value);

struct CommandEntry
{
    LPCWSTR keyword;
    CommandHandler handler;
    INT_PTR value;
    // The handler's name, for the log line of a handler that does nothing yet and for
    // tests that follow a keyword to its operation.
    LPCWSTR handlerName;
};

// A dispatcher entry with its handler's name.
#define QV_COMMAND_WIDEN2(text) L##text
#define QV_COMMAND_WIDEN(text) QV_COMMAND_WIDEN2(text)
#define QV_COMMAND(keyword, handler, value)                                                                  \
    {                                                                                                        \
        keyword, commands::handler, value, QV_COMMAND_WIDEN(#handler)                                        \
    }

enum DispatcherList
{
    DISPATCH_FILER = 0,
    DISPATCH_VIEWER,
    DISPATCH_BINARY,
    DISPATCH_GRAPHIC,
    DISPATCH_COMMON,
    DISPATCH_COMMON2,
    DISPATCH_LIST_COUNT,
};

// The entries of one list in their order; the filer list's new-file and drive
// entries are written out (their keywords are built with "%02d" and "%c").
const CommandEntry* GetDispatcherEntries(int list, int* count);

// Each list's own file gives its entries.
const CommandEntry* GetFilerDispatcherEntries(int* count);
const CommandEntry* GetViewerDispatcherEntries(int* count);
const CommandEntry* GetBinaryDispatcherEntries(int* count);
const CommandEntry* GetGraphicDispatcherEntries(int* count);
const CommandEntry* GetCommonDispatcherEntries(int* count);
const CommandEntry* GetCommon2DispatcherEntries(int* count);

// The first entry of the list whose keyword equals the text exactly; null for none.
const CommandEntry* FindDispatcherEntry(int list, LPCWSTR keyword);

// Where a text sent to a family dispatcher ends, following the fall-backs (common,
// then the second common list with the text's head; the filer family's
// "@Keyjumpdir <dir>"). Runs nothing. *reachedList tells the list of the entry, or
// DISPATCH_LIST_COUNT for the directory jump; null when the text is unknown.
const CommandEntry* ResolveDispatcherEntry(int list, LPCWSTR text, int* reachedList);

// The entry for "@Keyjumpdir" with a directory: it sits after every list.
extern const CommandEntry g_KeyJumpDirEntry;

// Runs the entry and tells the observer. Returns the handler's result.
int RunDispatcherEntry(CQvView& view, const CommandEntry& entry, LPCWSTR keyword, LPCWSTR argument);

// Test seam: told of every entry that runs, before it runs.
typedef void (*CommandObserver)(const CommandEntry& entry, LPCWSTR keyword, LPCWSTR argument);
extern CommandObserver g_CommandObserver;

// The one log line of an operation that belongs to a later piece of work; returns 1.
int ReportPendingCommand(LPCWSTR handlerName, LPCWSTR keyword);
