// The view's CD commands: the same player the CD player dialog steers.
#include "app/Settings.h"
#include "app/MasterVolume.h"
#include "media/cd/CdPlayDlg.h"
#include "media/cd/CdPlayer.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/ViewBusyGuard.h"

namespace commands
{

namespace
{

void StepMixerVolume(int delta)
{
    DWORD minimum = 0, maximum = 0;
    int percent = 0;
    if (GetMixerVolume(&minimum, &maximum, &percent))
        SetMixerVolume(percent + delta);
}

} // namespace

int PlayCd(CQvView&, const CommandCall&, INT_PTR)
{
    StartCdPlayback();
    return 1;
}

int PauseCd(CQvView&, const CommandCall&, INT_PTR)
{
    SendCdCommand(CD_PAUSE_RESUME);
    return 1;
}

int StopCd(CQvView&, const CommandCall&, INT_PTR)
{
    StopCdPlayback();
    return 1;
}

int CdNextTrack(CQvView&, const CommandCall&, INT_PTR)
{
    SendCdCommand(CD_NEXT);
    return 1;
}

int CdPreviousTrack(CQvView&, const CommandCall&, INT_PTR)
{
    SendCdCommand(CD_PREVIOUS);
    return 1;
}

int ToggleCdRepeat(CQvView&, const CommandCall&, INT_PTR)
{
    g_CDREPEAT = !g_CDREPEAT;
    return 1;
}

int ToggleCdRandom(CQvView&, const CommandCall&, INT_PTR)
{
    g_CDRANDOM = !g_CDRANDOM;
    return 1;
}

int ConfigureCdPlay(CQvView& view, const CommandCall&, INT_PTR)
{
    CViewBusyGuard busy(view);
    CCdPlayDlg dlg;
    dlg.DoModal();
    return 1;
}

int CdVolumeUp(CQvView&, const CommandCall&, INT_PTR)
{
    StepMixerVolume(10);
    return 1;
}

int CdVolumeDown(CQvView&, const CommandCall&, INT_PTR)
{
    StepMixerVolume(-10);
    return 1;
}

} // namespace commands
