// Display texts of the numbered keywords whose numbers count filer lists.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// For "@Makenewfile01" up to the number of new-file kinds (two digits at least, as
// "%02d" writes them): "新規<name>作成" with the kind's display name, or
// "新規ファイル作成<nn>" when the name is empty, and 1. 0 for another keyword or a
// number without a kind.
int GetMakeNewFileCommandText(LPCWSTR keyword, CString& out);
