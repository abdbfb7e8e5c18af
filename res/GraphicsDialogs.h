// Ids of the picture dialogs: the series-save defaults.
#pragma once
#define IDD_SAVE_BMP_DEF 1272

#define IDC_BMPDEF_PREFIX 219
#define IDC_BMPDEF_START_NUMBER 220
#define IDC_BMPDEF_FOLDER 1031
#define IDC_BMPDEF_BROWSE_FOLDER 893
#define IDC_BMPDEF_SAME_NAME 843
