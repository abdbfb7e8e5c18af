// Resource identifiers of the small file dialogs (attributes, times, shortcut, new
// directory, file to edit); included by res/FileDialogs.rc and by the dialogs' code.
#pragma once

// Attributes.
#define IDD_ATTRIBUTE 1199
#define IDC_ATTR_INSIDE 154
#define IDC_ATTR_SPARE_FOLDERS 1126
#define IDC_ATTR_READONLY 170
#define IDC_ATTR_HIDDEN 169
#define IDC_ATTR_SYSTEM 173
#define IDC_ATTR_ARCHIVE 167

// File times, and times with attributes.
#define IDD_FILE_TIME 1235
#define IDD_TIME_ATTRIBUTE 1290
#define IDC_TIME_CREATION_ON 312
#define IDC_TIME_CREATION_DATE 310
#define IDC_TIME_CREATION_TIME 313
#define IDC_TIME_ACCESS_ON 609
#define IDC_TIME_ACCESS_DATE 608
#define IDC_TIME_ACCESS_TIME 610
#define IDC_TIME_UPDATE_ON 613
#define IDC_TIME_UPDATE_DATE 611
#define IDC_TIME_UPDATE_TIME 614
#define IDC_TIME_SAME 616
#define IDC_TIME_SET_SAME 1483
#define IDC_TIME_INSIDE 1018
#define IDC_TATTR_INSIDE 1020
#define IDC_TATTR_CHANGE_ATTRIBUTES 172
#define IDC_TATTR_CHANGE_TIMES 245

// Shortcut.
#define IDD_MAKE_LINK 1254
#define IDC_LINK_TARGET 632
#define IDC_LINK_SAVE_DIR 4016
#define IDC_LINK_KEEP_EXTENSION 4017
#define IDC_LINK_WORK_DIR 989
#define IDC_LINK_ARGUMENTS 152
#define IDC_LINK_DESCRIPTION 342
#define IDC_LINK_FILE_NAME 631
#define IDC_LINK_BROWSE_SAVE_DIR 894
#define IDC_LINK_BROWSE_ARGUMENTS 873
#define IDC_LINK_BROWSE_WORK_DIR 896

// New directory.
#define IDD_MKDIR 1258
#define IDC_MKDIR_NAME 640
#define IDC_MKDIR_MOVE_CURSOR 318

// File to edit.
#define IDD_EDIT_NAME 1229
#define IDC_EDIT_NAME 399
#define IDC_EDIT_UNICODE 1302
