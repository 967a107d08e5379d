// Resource numbers of the main window: its template, controls, bitmaps,
// system-menu commands and their texts.
#pragma once

#define IDD_KAVRIN_DIALOG 102

#define IDB_ONCE_PER_DAY_ON 144
#define IDB_ONCE_PER_DAY_OFF 145

// Controls. IDOK (1) is the "Exit Kavrin" button.
#define IDOK_EXIT_KAVRIN 1
#define IDC_SERVER_CAPTION 1000
#define IDC_STATUS 1006
#define IDC_SET_EXIT_TIME 1007
#define IDC_CLOCK 1008
#define IDC_MARKER_56 1009
#define IDC_MARKER_57 1010
#define IDC_MARKER_58 1011
#define IDC_MARKER_59 1012
#define IDC_MARKER_0 1013
#define IDC_USE_SOUND 1014
#define IDC_MINIMIZE_TO_TRAY 1019
#define IDC_SYNCHRONIZE_NOW 1021
#define IDC_HEADER 1022
#define IDC_PROGRAM_CONFIG 1023
#define IDC_CHANGE_POOL 1026
#define IDC_RESULTS 1051
#define IDC_EXIT_GROUP 1053
#define IDC_EXIT_AFTER_SYNC 1054
#define IDC_CANCEL_EXIT 1055
#define IDC_COUNTDOWN 1065
#define IDC_ONCE_PER_DAY 1067
#define ID_HELP 57670

// Commands of the system menu. 16 to 31 share their upper bits: compare
// them whole, never masked with 0xFFF0.
#define IDM_ABOUTBOX 16
#define IDM_CHECK_NEWER_VERSION 17
#define IDM_AUTO_CHECK_UPDATE 19
#define IDM_SELECT_POOL_SERVER 21
#define IDM_START_WITH_WINDOWS 22
#define IDM_SYNC_ON_STARTUP 23
#define IDM_MINIMIZE_AFTER_SYNC 24
#define IDM_START_WITHOUT_UAC 25
#define IDM_KEEP_SYNCHRONIZED 26
#define IDM_SET_EXIT_TIME 112
#define IDM_ONCE_PER_DAY 114

// Texts of the system menu's commands.
#define IDS_CHECK_NEWER_VERSION 5
#define IDS_AUTO_CHECK_UPDATE 7
#define IDS_SELECT_POOL_SERVER 9
#define IDS_START_WITH_WINDOWS 10
#define IDS_SYNC_ON_STARTUP 11
#define IDS_MINIMIZE_AFTER_SYNC 12
#define IDS_ABOUTBOX 101
