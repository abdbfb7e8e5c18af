// The keyword dispatchers of the view: one list per pane family and the two common
// lists, each an ordered list of rows (keyword, the keyword's own function or a view
// member, value, label). A dispatcher compares the whole keyword case-sensitively with
// its list; the first equal row runs what it names.
#pragma once
#include <windows.h>

#include <cstddef>

#include "framework/FwString.h"

class CQvView;

// What a member of the call shape gets: the keyword as written and the argument after
// its first blank (common keywords only).
struct CommandCall
{
    LPCWSTR keyword;
    LPCWSTR argument;
};

// What a row runs: a keyword's own operation (a function of the one command shape,
// below), or a view member of one of five shapes:
// - void ()                 needs nothing;
// - void (int value)        gets the row's value;
// - void (int first, int value)  gets the number written beside it in the row, then
//                           the row's value: {&CQvView::MoveCursorByPage, 1} with the
//                           value -1 runs MoveCursorByPage(1, -1);
// - void (LPCWSTR argument) gets the text after the keyword's first blank;
// - int (const CommandCall&, INT_PTR value)  gets the call too and returns 1 when it
//                           ran, 0 when the keyword does not apply (the common list's
//                           result).
class CommandHandler
{
public:
    typedef void (*Function)(CQvView& view, const CommandCall& call, INT_PTR value);
    typedef void (CQvView::*Plain)();
    typedef void (CQvView::*WithValue)(int value);
    typedef void (CQvView::*WithTwo)(int first, int value);
    typedef void (CQvView::*WithArgument)(LPCWSTR argument);
    typedef int (CQvView::*WithCall)(const CommandCall& call, INT_PTR value);

    constexpr CommandHandler() : m_shape(SHAPE_NONE), m_first(0), m_plain(nullptr) {}
    constexpr CommandHandler(std::nullptr_t) : CommandHandler() {}
    constexpr CommandHandler(Plain member) : m_shape(SHAPE_PLAIN), m_first(0), m_plain(member) {}
    constexpr CommandHandler(WithValue member) : m_shape(SHAPE_VALUE), m_first(0), m_withValue(member) {}
    constexpr CommandHandler(WithTwo member, int first)
        : m_shape(SHAPE_TWO), m_first(first), m_withTwo(member)
    {
    }
    constexpr CommandHandler(WithArgument member)
        : m_shape(SHAPE_ARGUMENT), m_first(0), m_withArgument(member)
    {
    }
    constexpr CommandHandler(WithCall member) : m_shape(SHAPE_CALL), m_first(0), m_withCall(member) {}
    constexpr CommandHandler(Function function) : m_shape(SHAPE_FUNCTION), m_first(0), m_function(function) {}

    // Runs the member; 1 for the shapes without a result, 0 for no member.
    int Run(CQvView& view, const CommandCall& call, INT_PTR value) const;
    bool IsEmpty() const { return m_shape == SHAPE_NONE; }
    bool operator==(const CommandHandler& other) const;
    bool operator!=(const CommandHandler& other) const { return !(*this == other); }

private:
    enum Shape
    {
        SHAPE_NONE,
        SHAPE_PLAIN,
        SHAPE_VALUE,
        SHAPE_TWO,
        SHAPE_ARGUMENT,
        SHAPE_CALL,
        SHAPE_FUNCTION,
    };
    Shape m_shape;
    int m_first;
    union {
        Plain m_plain;
        WithValue m_withValue;
        WithTwo m_withTwo;
        WithArgument m_withArgument;
        WithCall m_withCall;
        Function m_function;
    };
};

// A keyword's own operation is defined once, beside the code of its area:
//     VIEW_COMMAND(ShowDriveList)
//     {
//         ... view.GetActivePaneIndex() ...
//     }
// with the view, the call and the row's value as `view`, `call` and `value`. A
// dispatcher row names it, and the row declares it too, so the function has no
// declaration elsewhere to keep in step:
//     COMMAND_ROW(L"@Drivelist", ShowDriveList, 0),   (the operation's name is the label)
//     {L"@Dosshell", COMMAND_FUNCTION(OpenCommandPromptAs), 0, L"OpenCommandPrompt"},
// `git grep -n 'VIEW_COMMAND(ShowDriveList)'` finds the body. The functions live in
// the namespace ViewCommands, where the Windows headers' names (a coclass is called
// OpenControlPanel) cannot meet them.
#define VIEW_COMMAND_SHAPE(name) void name(CQvView& view, const CommandCall& call, INT_PTR value)
#define VIEW_COMMAND(name)                                                                                   \
    namespace ViewCommands                                                                                   \
    {                                                                                                        \
    VIEW_COMMAND_SHAPE(name);                                                                                \
    }                                                                                                        \
    void ViewCommands::name([[maybe_unused]] CQvView& view, [[maybe_unused]] const CommandCall& call,        \
                            [[maybe_unused]] INT_PTR value)
// The declaration in the row stands in a block, where it names a function of the
// innermost namespace around it: a row table stands in namespace ViewCommands (never in
// an unnamed one, whose function of that name nothing defines).
#define COMMAND_FUNCTION(name)                                                                               \
    CommandHandler([] {                                                                                      \
        VIEW_COMMAND_SHAPE(name);                                                                            \
        return &name;                                                                                        \
    }())
#define COMMAND_ROW(keyword, name, value)                                                                    \
    {                                                                                                        \
        keyword, COMMAND_FUNCTION(name), value, L## #name                                                    \
    }

struct CommandEntry
{
    LPCWSTR keyword;
    CommandHandler handler;
    INT_PTR value;
    // The operation's name, for the log and for tests that follow a keyword to it.
    LPCWSTR handlerName;
};

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
template <int N> const CommandEntry* ListEntries(const CommandEntry (&entries)[N], int* count)
{
    *count = N;
    return entries;
}
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

// Runs the entry and tells the observer. Returns the member's result.
int RunDispatcherEntry(CQvView& view, const CommandEntry& entry, LPCWSTR keyword, LPCWSTR argument);

// Test seam: told of every entry that runs, before it runs.
typedef void (*CommandObserver)(const CommandEntry& entry, LPCWSTR keyword, LPCWSTR argument);
extern CommandObserver g_CommandObserver;
