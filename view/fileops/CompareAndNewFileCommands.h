// What the binary compare command puts in the compare dialog's file fields.
#pragma once
#include "framework/FwString.h"

// The compare dialog's text of a file: the bare name when it lies directly in the
// prefix folder.
CString CompareFieldText(const CString& prefix, const CString& path);
