// Moving through an archive listing from the pane's keys and clicks.
#pragma once

#include <windows.h>

class CQvView;

// One folder deeper, into member folder `name`, with the cursor on "..".
void EnterArchiveFolder(CQvView& view, int pane, LPCWSTR name);
// One level up, or out of the archive with the cursor on the archive file.
void LeaveArchiveFolder(CQvView& view, int pane);
