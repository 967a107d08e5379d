// Resource numbers of the update dialog ("Update Options").
#pragma once

#define IDD_UPDATE_DIALOG 4352

// IDCANCEL (2) is the "Continue - no action (Esc)" button.
#define IDC_UPDATE_NOW 4098
#define IDC_VIEW_WEBSITE 4099
#define IDC_DOWNLOAD_PROGRESS 4100
#define IDC_DOWNLOAD_STATUS 4101
#define IDC_DOWNLOAD_ONLY 4102
#define IDC_UPDATE_MESSAGE 4354
