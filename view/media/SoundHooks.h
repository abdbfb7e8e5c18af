// The command sounds the view plays where a command acts ("COPY", "UPDIR" …). The
// player lies in the media library and the program installs it at start-up; before
// that, as in a test without the program's wiring, no sound plays.
#pragma once
#include <windows.h>

struct SoundHooks
{
    // Plays one of the command sounds by its name ("QUIT").
    void (*playCommandSound)(LPCWSTR name);
};

extern SoundHooks g_SoundHooks;
