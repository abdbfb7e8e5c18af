// Template and control ids of the display-mode, font-per-resolution and wallpaper dialogs
// (res/DisplayDialogs.rc).
#pragma once

#define IDD_CHANGE_DISPLAY 1207
#define IDD_DISPLAY_FONT 1227
#define IDD_DISPLAY_MODE 1228
#define IDD_SET_WALLPAPER 1280

#define IDC_DSP_MODE_LIST 368
#define IDC_DSP_REGIST 359
#define IDC_DSP_SLOT_TEXT0 369 // 369 to 378: slots 0 to 9
#define IDC_DSP_SLOT_SET0 156  // 156 to 165: "変更" of slots 0 to 9
#define IDC_DSP_APPLY_NOW 719
#define IDC_DSP_FONT_LIST 366
#define IDC_DSP_FONT_CHOOSE 808
#define IDC_DSP_FONT_ALL_MAIN 147
#define IDC_DSP_FONT_PER_RESOLUTION 248
#define IDC_WALL_ORIGIN_X 993
#define IDC_WALL_ORIGIN_Y 994
#define IDC_WALL_PATH 1080
#define IDC_WALL_STRETCH 1424
#define IDC_WALL_TILE 146
#define IDC_WALL_CENTER 232
#define IDC_WALL_ORIGIN 926
