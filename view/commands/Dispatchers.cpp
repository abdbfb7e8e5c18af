// The six keyword dispatchers of the view. A family dispatcher runs the first entry of
// its list that equals the keyword, else hands the text to the common dispatchers;
// the lists stand in <Family>Dispatcher.cpp.
#include "util/Formatting.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"

namespace
{

// A family dispatcher's first two steps: the entry of its own list, else the common
// dispatchers. 1 when something ran.
int RunFamilyCommand(CQvView& view, int list, LPCWSTR keyword)
{
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    if (const CommandEntry* entry = FindDispatcherEntry(list, keyword))
    {
        RunDispatcherEntry(view, *entry, keyword, L"");
        return 1;
    }
    return view.ExecuteCommonCommand(keyword);
}

} // namespace

int CQvView::ExecuteFilerCommand(LPCWSTR keyword)
{
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    if (RunFamilyCommand(*this, DISPATCH_FILER, keyword))
        return 1;
    CString head, tail;
    SplitAtFirstBlank(keyword, head, tail);
    if (head == L"@Keyjumpdir" && !tail.IsEmpty())
    {
        RunDispatcherEntry(*this, g_KeyJumpDirEntry, head, tail);
        return 1;
    }
    return 0;
}

int CQvView::ExecuteViewerCommand(LPCWSTR keyword)
{
    return RunFamilyCommand(*this, DISPATCH_VIEWER, keyword);
}

int CQvView::ExecuteBinaryCommand(LPCWSTR keyword)
{
    return RunFamilyCommand(*this, DISPATCH_BINARY, keyword);
}

int CQvView::ExecuteGraphicCommand(LPCWSTR keyword)
{
    return RunFamilyCommand(*this, DISPATCH_GRAPHIC, keyword);
}

int CQvView::ExecuteCommonCommand(LPCWSTR text)
{
    if (text == nullptr || text[0] == 0)
        return 0;
    CString head, tail;
    SplitAtFirstBlank(text, head, tail);
    if (ExecuteCommonCommand2(head, tail))
        return 1;
    const CommandEntry* entry = FindDispatcherEntry(DISPATCH_COMMON, head);
    if (entry == nullptr)
        return 0;
    return RunDispatcherEntry(*this, *entry, head, tail);
}

int CQvView::ExecuteCommonCommand2(LPCWSTR keyword, LPCWSTR argument)
{
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    const CommandEntry* entry = FindDispatcherEntry(DISPATCH_COMMON2, keyword);
    if (entry == nullptr)
        return 0;
    RunDispatcherEntry(*this, *entry, keyword, argument);
    return 1;
}
