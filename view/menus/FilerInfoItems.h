// The menu text of a filer column layout: "名前" and what the layout adds.
#pragma once
#include "framework/FwString.h"

CString FormatFilerInfoItemText(int layout);
