// Resource identifiers of the filer's dialogs; included by res/FilerDialogs.rc and by
// the dialogs' code.
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

// The sort order of a pane.
#define IDD_SORT 1282
#define IDC_SORT_BY_NAME 483
#define IDC_SORT_BY_TIME 508
#define IDC_SORT_BY_SIZE 504
#define IDC_SORT_BY_EXTENSION 468
#define IDC_SORT_BY_ATTRIBUTES 440
#define IDC_SORT_NONE 709
#define IDC_SORT_SECOND_KEY 838
#define IDC_SORT_DIRECTORY_KEY 1094
#define IDC_SORT_DIRECTORY_ASCENDING 1416
#define IDC_SORT_DIRECTORY_DESCENDING 1415
#define IDC_SORT_FILE_ASCENDING 1049
#define IDC_SORT_FILE_DESCENDING 388
#define IDC_SORT_MIX_DIRECTORIES 1127

// The wildcard filter of a pane.
#define IDD_WILDCARD 1298
#define IDC_WILDCARD_TEXT 1083
#define IDC_WILDCARD_DIRECTORIES 1411
#define IDC_WILDCARD_NOT_DOS_NAMES 1423
#define IDC_WILDCARD_CONDITION 1159
#define IDC_WILDCARD_ADD_ASTERISK 1412

// A folder that could not be listed for lack of access.
#define IDD_FIND_FIRST_FILE_ERROR 2004
#define IDC_FIND_ERROR_TEXT 4001
#define IDC_FIND_ERROR_ICON 4002
#define IDC_FIND_ERROR_GRANT 1481
#define IDC_FIND_ERROR_SECURITY 1482

// The jump directories.
#define IDD_JUMP_DIRECTORY 3520
#define IDC_JUMP_GROUP 3521
#define IDC_JUMP_LIST 3522
#define IDC_JUMP_ADD 3523
#define IDC_JUMP_EDIT 3524
#define IDC_JUMP_DELETE 3525
#define IDC_JUMP_UP 3526
#define IDC_JUMP_DOWN 3527
#define IDC_JUMP_GROUP_ADD 3528
#define IDC_JUMP_GROUP_DELETE 3529
#define IDC_JUMP_GROUP_RENAME 3530
#define IDC_JUMP_DISPLAY_SETTINGS 3531
#define IDC_JUMP_ICONS 3532
// Ends the jump dialog: open the location of the chosen entry.
#define IDC_JUMP_TO_LOCATION 1157

// The directory tree.
#define IDD_DIR_TREE 3540
#define IDC_DIR_TREE_LIST 3541
#define IDC_DIR_TREE_FILES 3542
#define IDC_DIR_TREE_GO 3543
#define IDC_DIR_TREE_RELOAD 3544
#define IDC_DIR_TREE_COPY 3545
// Ends the tree dialog: go to the chosen directory.
#define IDC_DIR_TREE_JUMP 351

// The view history.
#define IDD_VIEW_HISTORY 3550
#define IDC_VIEW_HISTORY_LIST 3551

// The file list and the move-to-directory dialog.
#define IDD_FILE_LIST 3560
#define IDC_FILE_LIST_TEXT 3561
#define IDC_FILE_LIST_ABSOLUTE 3562
#define IDC_FILE_LIST_RELATIVE 3563
#define IDD_LOG_DISK 3570
#define IDC_LOG_DISK_PATH 3571
#define IDC_LOG_DISK_BROWSE 3572
