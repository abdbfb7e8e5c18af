// The keywords of every mode, tried after a family's own list; the text may carry an
// argument after its first blank.
#include "view/QvView.h"

namespace
{

// clang-format off
const CommandEntry kEntries[] = {
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
    {L"@Displayset0", &CQvView::RunDisplaySet, 0, L"ApplyDisplaySet"},
    {L"@Displayset1", &CQvView::RunDisplaySet, 1, L"ApplyDisplaySet"},
    {L"@Displayset2", &CQvView::RunDisplaySet, 2, L"ApplyDisplaySet"},
    {L"@Displayset3", &CQvView::RunDisplaySet, 3, L"ApplyDisplaySet"},
    {L"@Displayset4", &CQvView::RunDisplaySet, 4, L"ApplyDisplaySet"},
    {L"@Displayset5", &CQvView::RunDisplaySet, 5, L"ApplyDisplaySet"},
    {L"@Displayset6", &CQvView::RunDisplaySet, 6, L"ApplyDisplaySet"},
    {L"@Displayset7", &CQvView::RunDisplaySet, 7, L"ApplyDisplaySet"},
    {L"@Displayset8", &CQvView::RunDisplaySet, 8, L"ApplyDisplaySet"},
    {L"@Displayset9", &CQvView::RunDisplaySet, 9, L"ApplyDisplaySet"},
    {L"@Changedisplay", &CQvView::ChangeDisplayMode, 0, L"ChangeDisplayMode"},
    {L"@TextBox", &CQvView::OpenTextBox, 0, L"OpenTextBox"},
    {L"@ExeByFuncList", &CQvView::RunFromFunctionList, 0, L"RunFromFunctionList"},
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

} // namespace

const CommandEntry* GetCommonDispatcherEntries(int* count)
{
    return ListEntries(kEntries, count);
}
