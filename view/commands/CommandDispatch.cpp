#include "view/commands/CommandDispatch.h"

#include "util/Formatting.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

#include <string.h>

CommandObserver g_CommandObserver = nullptr;

VIEW_COMMAND(JumpToKeyDirectory)
{
    view.ChangeToEnvironmentPath(call.argument);
}

// In ViewCommands, as the function the row declares.
namespace ViewCommands
{
// Resolved by ExecuteFilerCommand itself after the common lists; listed here so that
// the walk over the keywords can name it.
static const CommandEntry kKeyJumpDirRow = COMMAND_ROW(L"@Keyjumpdir", JumpToKeyDirectory, 0);
} // namespace ViewCommands

const CommandEntry g_KeyJumpDirEntry = ViewCommands::kKeyJumpDirRow;

int CommandHandler::Run(CQvView& view, const CommandCall& call, INT_PTR value) const
{
    switch (m_shape)
    {
    case SHAPE_PLAIN:
        (view.*m_plain)();
        return 1;
    case SHAPE_VALUE:
        (view.*m_withValue)(static_cast<int>(value));
        return 1;
    case SHAPE_TWO:
        (view.*m_withTwo)(m_first, static_cast<int>(value));
        return 1;
    case SHAPE_ARGUMENT:
        (view.*m_withArgument)(call.argument);
        return 1;
    case SHAPE_CALL:
        return (view.*m_withCall)(call, value);
    case SHAPE_FUNCTION:
        m_function(view, call, value);
        return 1;
    default:
        return 0;
    }
}

bool CommandHandler::operator==(const CommandHandler& other) const
{
    if (m_shape != other.m_shape || m_first != other.m_first)
        return false;
    switch (m_shape)
    {
    case SHAPE_PLAIN:
        return m_plain == other.m_plain;
    case SHAPE_VALUE:
        return m_withValue == other.m_withValue;
    case SHAPE_TWO:
        return m_withTwo == other.m_withTwo;
    case SHAPE_ARGUMENT:
        return m_withArgument == other.m_withArgument;
    case SHAPE_CALL:
        return m_withCall == other.m_withCall;
    case SHAPE_FUNCTION:
        return m_function == other.m_function;
    default:
        return true;
    }
}

const CommandEntry* GetDispatcherEntries(int list, int* count)
{
    int dummy = 0;
    if (count == nullptr)
        count = &dummy;
    switch (list)
    {
    case DISPATCH_FILER:
        return GetFilerDispatcherEntries(count);
    case DISPATCH_VIEWER:
        return GetViewerDispatcherEntries(count);
    case DISPATCH_BINARY:
        return GetBinaryDispatcherEntries(count);
    case DISPATCH_GRAPHIC:
        return GetGraphicDispatcherEntries(count);
    case DISPATCH_COMMON:
        return GetCommonDispatcherEntries(count);
    case DISPATCH_COMMON2:
        return GetCommon2DispatcherEntries(count);
    default:
        *count = 0;
        return nullptr;
    }
}

const CommandEntry* FindDispatcherEntry(int list, LPCWSTR keyword)
{
    int count = 0;
    const CommandEntry* entries = GetDispatcherEntries(list, &count);
    if (keyword == nullptr)
        return nullptr;
    for (int i = 0; i < count; ++i)
        if (wcscmp(entries[i].keyword, keyword) == 0)
            return &entries[i];
    return nullptr;
}

const CommandEntry* ResolveDispatcherEntry(int list, LPCWSTR text, int* reachedList)
{
    int dummy = 0;
    if (reachedList == nullptr)
        reachedList = &dummy;
    *reachedList = -1;
    if (text == nullptr || text[0] == 0)
        return nullptr;
    if (list != DISPATCH_COMMON && list != DISPATCH_COMMON2)
    {
        if (const CommandEntry* entry = FindDispatcherEntry(list, text))
        {
            *reachedList = list;
            return entry;
        }
    }
    CString head, tail;
    SplitAtFirstBlank(text, head, tail);
    if (list != DISPATCH_COMMON2)
    {
        if (const CommandEntry* entry = FindDispatcherEntry(DISPATCH_COMMON2, head))
        {
            *reachedList = DISPATCH_COMMON2;
            return entry;
        }
        const CommandEntry* entry = FindDispatcherEntry(DISPATCH_COMMON, head);
        // "@Defaultcpl" runs only with an applet to open.
        if (entry != nullptr && (wcscmp(entry->keyword, L"@Defaultcpl") != 0 || !tail.IsEmpty()))
        {
            *reachedList = DISPATCH_COMMON;
            return entry;
        }
    }
    else if (const CommandEntry* entry = FindDispatcherEntry(DISPATCH_COMMON2, text))
    {
        *reachedList = DISPATCH_COMMON2;
        return entry;
    }
    if (list == DISPATCH_FILER && head == L"@Keyjumpdir" && !tail.IsEmpty())
    {
        *reachedList = DISPATCH_LIST_COUNT;
        return &g_KeyJumpDirEntry;
    }
    return nullptr;
}

int RunDispatcherEntry(CQvView& view, const CommandEntry& entry, LPCWSTR keyword, LPCWSTR argument)
{
    CommandCall call = {keyword, argument != nullptr ? argument : L""};
    // The one-second change check must not run into a command (a modal dialog pumps
    // its messages): every command runs with the view marked busy and leaves it idle,
    // whether or not its handler says so itself. Only the mark: the scroll repeats stay
    // for the handlers, which turn or stop a running repeat themselves. A command that
    // runs another keeps the view busy until the outer one ends.
    CViewBusyGuard busy(view, STOP_TIMERS_MARK_BUSY);
    if (g_CommandObserver != nullptr)
        g_CommandObserver(entry, keyword, call.argument);
    return entry.handler.Run(view, call, entry.value);
}
