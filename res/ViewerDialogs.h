// Ids of the text viewer's dialogs.
#pragma once
#define IDD_JUMP_TEXT 1246
#define IDC_JUMP_TEXT_LINE 569
