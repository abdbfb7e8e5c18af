// Resource identifiers of the small common dialogs (message box, inputs, lists,
// quit); included by res/CommonDialogs.rc and by the dialogs' code.
#pragma once

// The one-line input (masked on request).
#define IDD_INPUT 1459
#define IDC_INPUT_EDIT 1457

// The password with its confirmation.
#define IDD_INPUT_PASSWORD 1463
#define IDC_PASSWORD_EDIT 1457
#define IDC_PASSWORD_CONFIRM 1461

// The choice from a drop-down list.
#define IDD_COMBO 1210
#define IDC_COMBO_LIST 1103

// The list of check boxes.
#define IDD_CHECK_LIST 1208
#define IDC_CHECK_LIST 1393

// The ordered list with check boxes.
#define IDD_ORDER_LIST 1264
#define IDC_ORDER_LIST 1399
#define IDC_ORDER_UP 1183
#define IDC_ORDER_DOWN 1153

// The one-name editor.
#define IDD_EDIT_NAME 1231
#define IDC_EDIT_NAME 818

// The directory-jump entry editor.
#define IDD_BOOKMARK 1242
#define IDC_BOOKMARK_TARGET 1093
#define IDC_BOOKMARK_BROWSE 1162
#define IDC_BOOKMARK_CONTENT 1305
#define IDC_BOOKMARK_KEY 1101

// The program's own message box.
#define IDD_MESSAGE_BOX 1257
#define IDC_MESSAGE_TEXT 1387

// The quit dialog.
#define IDD_QUIT 1268
#define IDC_QUIT_SHUTDOWN 427
#define IDC_QUIT_REBOOT 802
