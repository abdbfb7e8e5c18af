// Names of menu command ids that the menu table (view/menus/MenuTable.cpp) serves: the
// ranges filled at run time and fixed items whose state or command the view sets
// itself. An id that only runs a keyword stands in one row of the command tables
// (app/keys/CommandTables.cpp), which tie it to that keyword.
#pragma once

// ---- Ranges filled at run time
// Control-panel applets, one item per applet of the list.
#define ID_MENU_CPL_FIRST 6000
#define ID_MENU_CPL_LAST 6098
// New-file kinds.
#define ID_MENU_NEW_FILE_FIRST 6100
#define ID_MENU_NEW_FILE_LAST 6199
// Own plug-in entries.
#define ID_MENU_PLUGIN_FIRST 6200
#define ID_MENU_PLUGIN_LAST 6249
// The keyword pairs of the right-click menu.
#define ID_MENU_USER_PAIR_FIRST 6300
#define ID_MENU_USER_PAIR_LAST 6309
// Audio devices: playback 6311-6319 (6320 for a tenth), capture 6321-6329 (6330).
#define ID_MENU_OUTPUT_DEVICE_FIRST 6311
#define ID_MENU_INPUT_DEVICE_FIRST 6321
#define ID_MENU_AUDIO_DEVICE_LAST 6330
// The items the shell's own context menu adds to the right-click menu.
#define ID_MENU_SHELL_FIRST 10000
#define ID_MENU_SHELL_LAST 50000

// ---- Fixed items whose state follows a setting or the view
#define ID_MENU_AUTO_FILE_NAME_WIDTH 175
#define ID_MENU_CD_BEFORE 223
#define ID_MENU_CD_NEXT 225
#define ID_MENU_CD_PAUSE 226
#define ID_MENU_CD_PLAY 227
#define ID_MENU_CD_RANDOM 229
#define ID_MENU_CD_REPEAT 230
#define ID_MENU_CD_STOP 231
#define ID_MENU_DRIVE_BY_KEY 235
#define ID_MENU_CHAR_CODE_AUTO 262
#define ID_MENU_CHAR_CODE_EUC 264
#define ID_MENU_CHAR_CODE_JIS 265
#define ID_MENU_CHAR_CODE_SHIFT_JIS 266
#define ID_MENU_CHAR_CODE_UNICODE 267
#define ID_MENU_CHAR_CODE_UTF8 268
#define ID_MENU_EASY_SEARCH_CTRL 314
#define ID_MENU_INC_SEARCH_CTRL 315
#define ID_MENU_DRIVE_JUMP_CTRL 316
#define ID_MENU_DRIVE_JUMP 317
#define ID_MENU_DISPLAY_SET_FIRST 369
#define ID_MENU_DISPLAY_SET_LAST 378
#define ID_MENU_EASY_SEARCH_EXPANDED 428
#define ID_MENU_INC_SEARCH_EXPANDED 429
#define ID_MENU_FILE_NAME_PACK 472
#define ID_MENU_FILER_INFO_FIRST 486
#define ID_MENU_FILER_INFO_LAST 490
#define ID_MENU_PICTURE_LIST 537
#define ID_MENU_LINE_WIDTH_FIRST 618
#define ID_MENU_LINE_WIDTH_LAST 622
#define ID_MENU_KEYS_IN_MENUS 657
#define ID_MENU_MPEG_NAMES 679
#define ID_MENU_EASY_SEARCH_OFF 682
#define ID_MENU_INC_SEARCH_OFF 683
#define ID_MENU_EASY_SEARCH_ON 706
#define ID_MENU_INC_SEARCH_ON 707
#define ID_MENU_OTHER_ALWAYS_DIR 740
#define ID_MENU_COMPANION_VIEWER 741
#define ID_MENU_PREVIEW_ON 772
#define ID_MENU_PREVIEW_PICTURES_ONLY 778
#define ID_MENU_PREVIEW_WITH_SUBDIRS 782
#define ID_MENU_SCSI_FIRST 855
#define ID_MENU_SCSI_LAST 863
#define ID_MENU_EASY_SEARCH_SHIFT 938
#define ID_MENU_INC_SEARCH_SHIFT 939
#define ID_MENU_DRIVE_JUMP_SHIFT 940
#define ID_MENU_SMALL_PICTURE 945
#define ID_MENU_MEDIA_ZOOM_100 950
#define ID_MENU_MEDIA_ZOOM_150 951
#define ID_MENU_MEDIA_ZOOM_200 952
#define ID_MENU_MEDIA_ZOOM_300 953
#define ID_MENU_MEDIA_ZOOM_400 954
#define ID_MENU_MEDIA_ZOOM_50 955
#define ID_MENU_MEDIA_FULL_SCREEN 956
#define ID_MENU_SOUND_RANDOM 971
#define ID_MENU_SOUND_REPEAT 972
#define ID_MENU_SOUND_LOAD 976
#define ID_MENU_SOUND_LOAD_STOP 977
#define ID_MENU_SOUND_PAUSE 978
#define ID_MENU_SOUND_STOP 979
#define ID_MENU_TAG_WINDOW 1076
#define ID_MENU_SCALING 3009
#define ID_MENU_TEMP_SCALING 3011

// ---- Items of the view's own dialogs and commands that no keyword names
// The recently played files, newest first, and the last play list.
#define ID_MENU_PLAYED_FIRST 732
#define ID_MENU_PLAYED_LAST 736
#define ID_MENU_LAST_PLAY_LIST 737
#define ID_MENU_COMMAND_SOUNDS 332
#define ID_MENU_WHOLE_NETWORK 144
#define ID_MENU_NETWORK_COMPUTERS 693
#define ID_MENU_SERIES_SAVE_DEFAULTS 328
#define ID_MENU_UNPACK_SETTINGS 330
#define ID_MENU_FONTS_PER_RESOLUTION 365
#define ID_MENU_EXTENSION_EXECUTE 598
#define ID_MENU_NEW_FILE_SETTINGS 642
#define ID_MENU_RIGHT_CLICK_SETTINGS 821
#define ID_MENU_TIME_MACROS 913
#define ID_MENU_SCSI_ASSIGNMENT 930
#define ID_MENU_DISPLAY_MODES 915
#define ID_MENU_FILER_WALLPAPER 917
#define ID_MENU_GRAPHIC_ZOOM_SETTINGS 1089
#define ID_MENU_ALPHA_SETTINGS 1509
