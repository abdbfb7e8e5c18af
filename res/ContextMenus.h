// The right-click menus of the panes: each holds one popup, the menu that is shown.
#pragma once

#define IDR_CONTEXT_ARCHIVE 1431
#define IDR_CONTEXT_BINARY 1433
#define IDR_CONTEXT_FALLBACK 1434
#define IDR_CONTEXT_DRIVE_LIST 1436
#define IDR_CONTEXT_NEW_FILE 1441
#define IDR_CONTEXT_FILER 1438
#define IDR_CONTEXT_GRAPHIC 1440
#define IDR_CONTEXT_NETWORK 1443
#define IDR_CONTEXT_TEXT_VIEWER 1448
