// Ids of the delete and directory-size dialogs (res/DeleteDialogs.rc).
#pragma once

#define IDD_DELETE 1222
#define IDD_DIRECTORY_SIZE 1223

#define IDC_DELETE_NAME 334
#define IDC_DELETE_TO_RECYCLE_BIN 337
#define IDC_DELETE_WHOLE_FOLDER 338
#define IDC_DELETE_WARN_NOT_EMPTY 222
#define IDC_DELETE_KEEP_DIRECTORIES 1130

#define IDC_SIZE_DIRECTORIES 998
#define IDC_SIZE_FILES 999
#define IDC_SIZE_BYTES 1054
#define IDC_SIZE_CONTINUE 664
