// Resource ids of the framework tests' templates.
#pragma once

// String, menu: the document template resource (its string makes the title "qv").
#define IDR_TEST_MAIN 100

// Menu items of IDR_TEST_MAIN's first popup.
#define ID_TEST_ENABLED 3001
#define ID_TEST_DISABLED 3002
#define ID_TEST_NO_HANDLER 3003
#define ID_TEST_COMMAND_ONLY 3004
#define ID_TEST_RANGE_FIRST 3010
#define ID_TEST_RANGE_LAST 3012

// Data exchange dialog.
#define IDD_TEST_DATA 2001
#define IDC_TEST_INT 2101
#define IDC_TEST_TEXT 2102
#define IDC_TEST_CHECK 2103
#define IDC_TEST_RADIO1 2104
#define IDC_TEST_RADIO2 2105
#define IDC_TEST_RADIO3 2106
#define IDC_TEST_COMBO 2107
#define IDC_TEST_COMBO_EDIT 2108
#define IDC_TEST_LIST 2109
#define IDC_TEST_UINT 2110
#define IDC_TEST_CUSTOM 2111
#define IDC_TEST_OTHER_CHECK 2112
