// The picture graphic mode shows: the load reads into it, the view draws, turns,
// copies and saves it.
#pragma once
#include "graphics/picture/PictureData.h"

extern CPictureData g_CurrentPicture;
