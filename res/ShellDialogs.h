// Ids of the run dialog, the time-macro dialog, the loop-execution dialog and the
// options of the newer-file marking.
#pragma once
#define IDD_EXECUTE 1232
#define IDD_SET_TIME_MACRO 4700
#define IDD_LOOP_EXECUTE 4701
#define IDD_NEW_SELECT_CONF 1261
#define IDC_NEW_SELECT_BOTH 4740
#define IDC_NEW_SELECT_ONE_SIDE 4741
#define IDC_EXECUTE_PROGRAM 4710
#define IDC_EXECUTE_PARAMETERS 4711
#define IDC_EXECUTE_BROWSE 4712
#define IDC_EXECUTE_KEEP 4713
#define IDC_EXECUTE_DIRECTORY 4714
#define IDC_TIME_MACRO_1 4720
#define IDC_TIME_MACRO_2 4721
#define IDC_TIME_MACRO_3 4722
#define IDC_TIME_MACRO_4 4723
#define IDC_TIME_MACRO_5 4724
#define IDC_LOOP_NEXT_FILE 4730
