// Ids of the graphic viewer's windows and dialogs: the picture list, the small
// picture window, the zoom steps and the alpha-channel rows.
#pragma once
#define IDD_GRAPHIC_LIST 1239
#define IDD_GRAPHIC_ZOOM 1240
#define IDD_SMALL_GRAPHIC 1281
#define IDD_ALPHA_CHANNEL_SETTING 1508

#define IDC_GRAPHIC_LIST_MEMBER_LABEL 1363
#define IDC_GRAPHIC_LIST_MEMBERS 1403
#define IDC_GRAPHIC_LIST_PICTURES 1405
#define IDC_SMALL_GRAPHIC_INFO 1370
#define IDC_GRAPHIC_ZOOM_CHANGE_ENABLE 1088
#define IDC_GRAPHIC_ZOOM_LIST 1091
#define IDC_ALPHA_COLOUR 1482
#define IDC_ALPHA_LIST 1491
#define IDC_ALPHA_MODE 1495

// The small picture window's context menu and its two items.
#define IDR_SMALL_GRAPHIC_MENU 1444
#define ID_SMALL_GRAPHIC_SHOW_INFO 941
#define ID_SMALL_GRAPHIC_USE_GET_PICTURE 1050

// Posted to the view by the picture list: show the selected row.
#define IDM_SHOW_LISTED_PICTURE 1521
