// The keywords of every mode, tried after a family's own list; the text may carry an
// argument after its first blank.
#include "view/QvView.h"

// In ViewCommands, as the functions the rows declare.
namespace ViewCommands
{

// clang-format off
static const CommandEntry kEntries[] = {
    {L"@Zoomscreen", &CQvView::ToggleMaximize, 0, L"ToggleMaximize"},
    {L"@Scsi01", &CQvView::RunScsiCommand, 1, L"RunScsiCommand"},
    {L"@Scsi02", &CQvView::RunScsiCommand, 2, L"RunScsiCommand"},
    {L"@Scsi03", &CQvView::RunScsiCommand, 3, L"RunScsiCommand"},
    {L"@Scsi04", &CQvView::RunScsiCommand, 4, L"RunScsiCommand"},
    {L"@Scsi05", &CQvView::RunScsiCommand, 5, L"RunScsiCommand"},
    {L"@Scsi06", &CQvView::RunScsiCommand, 6, L"RunScsiCommand"},
    {L"@Scsi07", &CQvView::RunScsiCommand, 7, L"RunScsiCommand"},
    {L"@Scsi08", &CQvView::RunScsiCommand, 8, L"RunScsiCommand"},
    {L"@Scsi09", &CQvView::RunScsiCommand, 9, L"RunScsiCommand"},
    {L"@Allscsiopen", &CQvView::OpenAllScsiTrays, 0, L"OpenAllScsiTrays"},
    {L"@Allscsiclose", &CQvView::CloseAllScsiTrays, 0, L"CloseAllScsiTrays"},
    {L"@Displayset0", COMMAND_FUNCTION(RunDisplaySet), 0, L"ApplyDisplaySet"},
    {L"@Displayset1", COMMAND_FUNCTION(RunDisplaySet), 1, L"ApplyDisplaySet"},
    {L"@Displayset2", COMMAND_FUNCTION(RunDisplaySet), 2, L"ApplyDisplaySet"},
    {L"@Displayset3", COMMAND_FUNCTION(RunDisplaySet), 3, L"ApplyDisplaySet"},
    {L"@Displayset4", COMMAND_FUNCTION(RunDisplaySet), 4, L"ApplyDisplaySet"},
    {L"@Displayset5", COMMAND_FUNCTION(RunDisplaySet), 5, L"ApplyDisplaySet"},
    {L"@Displayset6", COMMAND_FUNCTION(RunDisplaySet), 6, L"ApplyDisplaySet"},
    {L"@Displayset7", COMMAND_FUNCTION(RunDisplaySet), 7, L"ApplyDisplaySet"},
    {L"@Displayset8", COMMAND_FUNCTION(RunDisplaySet), 8, L"ApplyDisplaySet"},
    {L"@Displayset9", COMMAND_FUNCTION(RunDisplaySet), 9, L"ApplyDisplaySet"},
    {L"@Changedisplay", &CQvView::ChangeDisplayMode, 0, L"ChangeDisplayMode"},
    COMMAND_ROW(L"@TextBox", OpenTextBox, 0),
    COMMAND_ROW(L"@ExeByFuncList", RunFromFunctionList, 0),
    {L"@AlphaChannelType1", &CQvView::SetAlphaChannelType, 0, L"SetAlphaChannelType"},
    {L"@AlphaChannelType2", &CQvView::SetAlphaChannelType, 1, L"SetAlphaChannelType"},
    {L"@AlphaChannelType3", &CQvView::SetAlphaChannelType, 2, L"SetAlphaChannelType"},
    {L"@AlphaChannelType4", &CQvView::SetAlphaChannelType, 3, L"SetAlphaChannelType"},
    {L"@AlphaChannelType5", &CQvView::SetAlphaChannelType, 4, L"SetAlphaChannelType"},
    {L"@AlphaChannelType6", &CQvView::SetAlphaChannelType, 5, L"SetAlphaChannelType"},
    {L"@AlphaChannelType7", &CQvView::SetAlphaChannelType, 6, L"SetAlphaChannelType"},
    {L"@AlphaChannelType8", &CQvView::SetAlphaChannelType, 7, L"SetAlphaChannelType"},
    {L"@AlphaChannelType9", &CQvView::SetAlphaChannelType, 8, L"SetAlphaChannelType"},
    {L"@AlphaChannelType10", &CQvView::SetAlphaChannelType, 9, L"SetAlphaChannelType"},
    {L"@Defaultcpl", &CQvView::RunDefaultControlPanel, 0, L"RunDefaultControlPanel"},
};
// clang-format on

} // namespace ViewCommands

const CommandEntry* GetCommonDispatcherEntries(int* count)
{
    return ListEntries(ViewCommands::kEntries, count);
}
