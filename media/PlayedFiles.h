// The single files played most recently (at most five, newest first); guarded by
// g_DataMutex.
#pragma once
#include "framework/FwCollections.h"

inline CStringArray g_PlayedFileHistory;
