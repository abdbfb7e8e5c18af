// Template and control ids of the file-kind dialogs: the choice of what to run, the program
// choice and the programs by extension
// (res/FileKindDialogs.rc).
#pragma once

#define IDD_SELECT_KIND 1297
#define IDC_SELECT_KIND_LIST 4990

#define IDD_SEL_EXE 3295
#define IDC_SEL_EXE_LIST 4970
#define IDC_SEL_EXE_TEXT 4971
#define IDC_SEL_EXE_BROWSE 4972

#define IDD_KIND_EXE 1294
#define IDC_KIND_EXT0 5000    // 5000 to 5007: the page's rows
#define IDC_KIND_ACTION0 5010 // 5010 to 5017
#define IDC_KIND_BROWSE0 5020 // 5020 to 5027
#define IDC_KIND_PARAM0 5030  // 5030 to 5037
#define IDC_KIND_NAME0 5040   // 5040 to 5047
#define IDC_KIND_BEFORE 5050
#define IDC_KIND_NEXT 5051
#define IDC_KIND_RETURN 5052
#define IDC_KIND_SHIFT 5053
#define IDC_KIND_OPTIONS 5054
#define IDC_KIND_LNK_DIR0 5055
#define IDC_KIND_LNK_DIR1 5056
#define IDC_KIND_LNK_FILE0 5057
#define IDC_KIND_LNK_FILE1 5058
#define IDC_KIND_LNK_FILE2 5059
