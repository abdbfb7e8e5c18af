// Menu resources of the pane modes.
#pragma once

#define IDR_MENU_FILER 100
#define IDR_MENU_ARCHIVE 1430
#define IDR_MENU_BINARY 1432
#define IDR_MENU_DRIVE_LIST 1435
#define IDR_MENU_GRAPHIC 1439
#define IDR_MENU_NETWORK 1442
#define IDR_MENU_TEXT_VIEWER 1447
