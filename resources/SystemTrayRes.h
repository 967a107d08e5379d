// Resource numbers of the notification-area icon: its menu (whose number is
// also the icon's id) and the menu's commands.
#pragma once

#define IDR_TRAY_MENU 131

#define ID_TRAY_SYNCHRONIZE_NOW 32773
#define ID_TRAY_RESTORE 32774
#define ID_TRAY_SHOW_SERVER_LIST 32775
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
