#include "graphics/picture/CurrentPicture.h"

CPictureData g_CurrentPicture;
