#include "view/media/SoundHooks.h"

namespace
{
void PlayNoSound(LPCWSTR) {}
} // namespace

SoundHooks g_SoundHooks = {PlayNoSound};
