// Resource numbers of ResetKavrinStart: its dialog, its controls and its icon.
#pragma once

#define IDD_RESETKAVRINSTART_DIALOG 102
#define IDR_RESET_MAINFRAME 128
#define IDC_RESET_MESSAGE 1000
