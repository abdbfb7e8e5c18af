// The keywords of every mode, tried after a family's own list; the text may carry an
// argument after its first blank.
#include "view/QvView.h"
#include "util/Formatting.h"
#include "view/commands/CommandHandlers.h"

namespace
{

// clang-format off
const CommandEntry kEntries[] = {
    QV_COMMAND(L"@Zoomscreen", ToggleMaximize, 0),
    QV_COMMAND(L"@Scsi01", RunScsiCommand, 1),
    QV_COMMAND(L"@Scsi02", RunScsiCommand, 2),
    QV_COMMAND(L"@Scsi03", RunScsiCommand, 3),
    QV_COMMAND(L"@Scsi04", RunScsiCommand, 4),
    QV_COMMAND(L"@Scsi05", RunScsiCommand, 5),
    QV_COMMAND(L"@Scsi06", RunScsiCommand, 6),
    QV_COMMAND(L"@Scsi07", RunScsiCommand, 7),
    QV_COMMAND(L"@Scsi08", RunScsiCommand, 8),
    QV_COMMAND(L"@Scsi09", RunScsiCommand, 9),
    QV_COMMAND(L"@Allscsiopen", OpenAllScsiTrays, 0),
    QV_COMMAND(L"@Allscsiclose", CloseAllScsiTrays, 0),
    QV_COMMAND(L"@Displayset0", ApplyDisplaySet, 0),
    QV_COMMAND(L"@Displayset1", ApplyDisplaySet, 1),
    QV_COMMAND(L"@Displayset2", ApplyDisplaySet, 2),
    QV_COMMAND(L"@Displayset3", ApplyDisplaySet, 3),
    QV_COMMAND(L"@Displayset4", ApplyDisplaySet, 4),
    QV_COMMAND(L"@Displayset5", ApplyDisplaySet, 5),
    QV_COMMAND(L"@Displayset6", ApplyDisplaySet, 6),
    QV_COMMAND(L"@Displayset7", ApplyDisplaySet, 7),
    QV_COMMAND(L"@Displayset8", ApplyDisplaySet, 8),
    QV_COMMAND(L"@Displayset9", ApplyDisplaySet, 9),
    QV_COMMAND(L"@Changedisplay", ChangeDisplayMode, 0),
    QV_COMMAND(L"@TextBox", OpenTextBox, 0),
    QV_COMMAND(L"@ExeByFuncList", RunFromFunctionList, 0),
    QV_COMMAND(L"@AlphaChannelType1", SetAlphaChannelType, 0),
    QV_COMMAND(L"@AlphaChannelType2", SetAlphaChannelType, 1),
    QV_COMMAND(L"@AlphaChannelType3", SetAlphaChannelType, 2),
    QV_COMMAND(L"@AlphaChannelType4", SetAlphaChannelType, 3),
    QV_COMMAND(L"@AlphaChannelType5", SetAlphaChannelType, 4),
    QV_COMMAND(L"@AlphaChannelType6", SetAlphaChannelType, 5),
    QV_COMMAND(L"@AlphaChannelType7", SetAlphaChannelType, 6),
    QV_COMMAND(L"@AlphaChannelType8", SetAlphaChannelType, 7),
    QV_COMMAND(L"@AlphaChannelType9", SetAlphaChannelType, 8),
    QV_COMMAND(L"@AlphaChannelType10", SetAlphaChannelType, 9),
    QV_COMMAND(L"@Defaultcpl", RunDefaultControlPanel, 0),
};
// clang-format on

} // namespace

const CommandEntry* GetCommonDispatcherEntries(int* count)
{
    *count = static_cast<int>(sizeof(kEntries) / sizeof(kEntries[0]));
    return kEntries;
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
