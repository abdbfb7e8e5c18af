// Ids of the picture load and save dialogs, the graphic settings pages and the
// plug-in pattern dialog.
#pragma once

// The picture load dialog.
#define IDD_LOAD_PICTURE 1251
#define IDC_LOADPIC_MESSAGE 637
#define IDC_LOADPIC_LIST_BAR 634
#define IDC_LOADPIC_COUNTER 434
#define IDC_LOADPIC_BAR 636
#define IDC_LOADPIC_PERCENT 635
#define IDC_LOADPIC_STOP 121

// The BMP save dialog.
#define IDD_SAVE_BMP 1273
#define IDC_SAVEBMP_PATH 847
#define IDC_SAVEBMP_BROWSE_PATH 891
#define IDC_SAVEBMP_FOLDER 844
#define IDC_SAVEBMP_BROWSE_FOLDER 892
#define IDC_SAVEBMP_SAME_NAME 850
#define IDC_SAVEBMP_BAR 842
#define IDC_SAVEBMP_PERCENT 841
