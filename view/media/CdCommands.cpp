// The view's CD commands: the same player the CD player dialog steers.
#include "app/Settings.h"
#include "app/MasterVolume.h"
#include "media/cd/CdPlayDlg.h"
#include "media/cd/CdPlayer.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

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

void CQvView::PlayCd()
{
    StartCdPlayback();
}

void CQvView::PauseCd()
{
    SendCdCommand(CD_PAUSE_RESUME);
}

void CQvView::StopCd()
{
    StopCdPlayback();
}

void CQvView::CdNextTrack()
{
    SendCdCommand(CD_NEXT);
}

void CQvView::CdPreviousTrack()
{
    SendCdCommand(CD_PREVIOUS);
}

void CQvView::ToggleCdRepeat()
{
    g_CDREPEAT = !g_CDREPEAT;
}

void CQvView::ToggleCdRandom()
{
    g_CDRANDOM = !g_CDRANDOM;
}

void CQvView::ConfigureCdPlay()
{
    CViewBusyGuard busy(*this);
    CCdPlayDlg dlg;
    dlg.DoModal();
    StartBinaryCursorTimer();
}

void CQvView::CdVolumeUp()
{
    StepMixerVolume(10);
}

void CQvView::CdVolumeDown()
{
    StepMixerVolume(-10);
}
