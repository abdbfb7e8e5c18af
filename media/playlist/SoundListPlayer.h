// Stepping through the play list on the media window: the transport of the sound
// list (play, stop, previous, next, pause), which the media window calls back when
// an entry ended or failed.
#pragma once
#include "media/MciWnd.h"

class CSoundListPlayer : public IPlayListOwner
{
public:
    // The repeat and random settings the list follows.
    CSoundListPlayer(const int* repeat, const int* random);

    // One of SoundListCommand; 0 when nothing was done, else the command.
    int Transport(int command) override;
    // Stops and clears every failed mark.
    void StopList();
    // The media window plays, seeks or is paused (with anyStop also when stopped or
    // not ready) on behalf of the list.
    static BOOL IsListPlaying(BOOL anyStop);
    void PlayCurrent();

private:
    const int* m_repeat;
    const int* m_random;
};
