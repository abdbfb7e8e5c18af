// The task-tray and sound keywords: offered first by the common dispatcher and run
// directly by the global hot keys.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace
{

// clang-format off
const CommandEntry kEntries[] = {
    QV_COMMAND(L"@Windowtotasktray", ToggleTaskTray, 0),
    QV_COMMAND(L"@Soundpause", PauseSound, 0),
    QV_COMMAND(L"@Soundstop", StopSound, 0),
    QV_COMMAND(L"@Setsoundlist", OpenSoundList, 0),
    QV_COMMAND(L"@Setsoundpause", PauseSoundList, 0),
    QV_COMMAND(L"@Soundliststop", StopSoundList, 0),
    QV_COMMAND(L"@Soundlistnext", SoundListNext, 0),
    QV_COMMAND(L"@Soundlistbefore", SoundListPrevious, 0),
    QV_COMMAND(L"@Soundlistsave", SaveSoundList, 0),
    QV_COMMAND(L"@Soundlistrepeat", ToggleSoundListRepeat, 0),
    QV_COMMAND(L"@Soundlistrandom", ToggleSoundListRandom, 0),
    QV_COMMAND(L"@CdPlay", PlayCd, 0),
    QV_COMMAND(L"@CdPause", PauseCd, 0),
    QV_COMMAND(L"@CdStop", StopCd, 0),
    QV_COMMAND(L"@CdNext", CdNextTrack, 0),
    QV_COMMAND(L"@CdBefore", CdPreviousTrack, 0),
    QV_COMMAND(L"@CdRepeat", ToggleCdRepeat, 0),
    QV_COMMAND(L"@CdRandom", ToggleCdRandom, 0),
    QV_COMMAND(L"@CdPlayConfig", ConfigureCdPlay, 0),
    QV_COMMAND(L"@MciCdVolumeUp", CdVolumeUp, 0),
    QV_COMMAND(L"@MciCdVolumeDown", CdVolumeDown, 0),
    QV_COMMAND(L"@Sound50", SetMediaZoom, 50),
    QV_COMMAND(L"@Sound100", SetMediaZoom, 100),
    QV_COMMAND(L"@Sound150", SetMediaZoom, 150),
    QV_COMMAND(L"@Sound200", SetMediaZoom, 200),
    QV_COMMAND(L"@Sound300", SetMediaZoom, 300),
    QV_COMMAND(L"@Sound400", SetMediaZoom, 400),
    QV_COMMAND(L"@Soundfullscreen", ToggleMediaFullScreen, 0),
    QV_COMMAND(L"@MciVolumeUp", MediaVolumeUp, 0),
    QV_COMMAND(L"@MciVolumeDown", MediaVolumeDown, 0),
    QV_COMMAND(L"@SetAudioPlayback", SetAudioPlayback, 0),
    QV_COMMAND(L"@SetAudioCapture", SetAudioCapture, 0),
};
// clang-format on

} // namespace

const CommandEntry* GetCommon2DispatcherEntries(int* count)
{
    *count = static_cast<int>(sizeof(kEntries) / sizeof(kEntries[0]));
    return kEntries;
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
