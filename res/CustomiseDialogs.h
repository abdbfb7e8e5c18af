// Ids of the customisation dialogs: the control-panel applets, the applet files left
// unread, the own plug-in list and the hidden menus.
#pragma once
#define IDD_CONTROL_PANEL 1211
#define IDC_CPL_LIST 296
#define IDC_CPL_DESCRIPTION 309

#define IDD_NON_LOAD_CPL 1262
// Ten edits and ten browse buttons, one of each per row.
#define IDC_NON_LOAD_CPL_EDIT0 1326
#define IDC_NON_LOAD_CPL_BROWSE0 1166

#define IDD_QV_PLUGIN 1266
#define IDC_PLUGIN_DIR 762
#define IDC_PLUGIN_BROWSE 353
#define IDC_PLUGIN_LIST 380
#define IDC_PLUGIN_SHOW 367
#define IDC_PLUGIN_HIDE 712
#define IDC_PLUGIN_RELOAD 810
#define IDC_PLUGIN_FROM_INI 564

#define IDD_NOT_VIEW_MENU 3294
#define IDC_NOT_VIEW_MENU_MODE 4060
#define IDC_NOT_VIEW_MENU_ITEMS 4061
