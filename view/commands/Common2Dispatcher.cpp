// The task-tray and sound keywords: offered first by the common dispatcher and run
// directly by the global hot keys.
#include "view/QvView.h"

// In ViewCommands, as the functions the rows declare.
namespace ViewCommands
{

// clang-format off
static const CommandEntry kEntries[] = {
    COMMAND_ROW(L"@Windowtotasktray", ToggleTaskTray, 0),
    {L"@Soundpause", &CQvView::PauseSound, 0, L"PauseSound"},
    {L"@Soundstop", &CQvView::StopSound, 0, L"StopSound"},
    {L"@Setsoundlist", &CQvView::OpenSoundList, 0, L"OpenSoundList"},
    {L"@Setsoundpause", &CQvView::PauseSoundList, 0, L"PauseSoundList"},
    {L"@Soundliststop", &CQvView::StopSoundList, 0, L"StopSoundList"},
    {L"@Soundlistnext", &CQvView::SoundListNext, 0, L"SoundListNext"},
    {L"@Soundlistbefore", &CQvView::SoundListPrevious, 0, L"SoundListPrevious"},
    {L"@Soundlistsave", &CQvView::SaveSoundList, 0, L"SaveSoundList"},
    {L"@Soundlistrepeat", &CQvView::ToggleSoundListRepeat, 0, L"ToggleSoundListRepeat"},
    {L"@Soundlistrandom", &CQvView::ToggleSoundListRandom, 0, L"ToggleSoundListRandom"},
    {L"@CdPlay", &CQvView::PlayCd, 0, L"PlayCd"},
    {L"@CdPause", &CQvView::PauseCd, 0, L"PauseCd"},
    {L"@CdStop", &CQvView::StopCd, 0, L"StopCd"},
    {L"@CdNext", &CQvView::CdNextTrack, 0, L"CdNextTrack"},
    {L"@CdBefore", &CQvView::CdPreviousTrack, 0, L"CdPreviousTrack"},
    {L"@CdRepeat", &CQvView::ToggleCdRepeat, 0, L"ToggleCdRepeat"},
    {L"@CdRandom", &CQvView::ToggleCdRandom, 0, L"ToggleCdRandom"},
    {L"@CdPlayConfig", &CQvView::ConfigureCdPlay, 0, L"ConfigureCdPlay"},
    {L"@MciCdVolumeUp", &CQvView::CdVolumeUp, 0, L"CdVolumeUp"},
    {L"@MciCdVolumeDown", &CQvView::CdVolumeDown, 0, L"CdVolumeDown"},
    {L"@Sound50", &CQvView::SetMediaZoom, 50, L"SetMediaZoom"},
    {L"@Sound100", &CQvView::SetMediaZoom, 100, L"SetMediaZoom"},
    {L"@Sound150", &CQvView::SetMediaZoom, 150, L"SetMediaZoom"},
    {L"@Sound200", &CQvView::SetMediaZoom, 200, L"SetMediaZoom"},
    {L"@Sound300", &CQvView::SetMediaZoom, 300, L"SetMediaZoom"},
    {L"@Sound400", &CQvView::SetMediaZoom, 400, L"SetMediaZoom"},
    {L"@Soundfullscreen", &CQvView::ToggleMediaFullScreen, 0, L"ToggleMediaFullScreen"},
    {L"@MciVolumeUp", &CQvView::MediaVolumeUp, 0, L"MediaVolumeUp"},
    {L"@MciVolumeDown", &CQvView::MediaVolumeDown, 0, L"MediaVolumeDown"},
    {L"@SetAudioPlayback", &CQvView::SetAudioPlayback, 0, L"SetAudioPlayback"},
    {L"@SetAudioCapture", &CQvView::SetAudioCapture, 0, L"SetAudioCapture"},
};
// clang-format on

} // namespace ViewCommands

const CommandEntry* GetCommon2DispatcherEntries(int* count)
{
    return ListEntries(ViewCommands::kEntries, count);
}
