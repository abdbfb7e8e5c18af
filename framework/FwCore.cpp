#include "framework/FwCore.h"
