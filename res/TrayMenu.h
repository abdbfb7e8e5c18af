// The task-tray icon's menu.
#pragma once
#define IDR_MENU_TRAY 1446
#define ID_TRAY_SHOW_WINDOW 809
