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
