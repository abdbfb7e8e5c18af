// Resource identifiers of the filer's dialogs (directory history, virtual drives);
// included by res/FilerDialogs.rc and by the dialogs' code.
#pragma once

// The directory history.
#define IDD_DIR_HISTORY 3500
#define IDC_DIR_HISTORY_BY_VISIT 3501
#define IDC_DIR_HISTORY_BY_NAME 3502
#define IDC_DIR_HISTORY_FILTER 3503
#define IDC_DIR_HISTORY_LIST 3504

// The virtual-drive letters.
#define IDD_VIRTUAL_DRIVE 3510
#define IDC_VIRTUAL_DRIVE_LIST 3511
