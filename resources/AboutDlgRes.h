// Resource numbers of the About box: its template, controls, link icons
// and the maker's contact block.
#pragma once

#define IDD_ABOUTBOX 100

// IDOK (1) closes the box.
#define IDC_CONTACT 1034
#define IDC_COPYRIGHT 1035
#define IDC_CHECK_FOR_UPDATE 1039
#define IDC_EMAIL_LINK 1056
#define IDC_WEB_LINK 1057
#define IDC_ABOUT_HEADER 1058
#define IDC_ABOUT_DESCRIPTION 1059

#define IDI_WEB_LINK 139
#define IDI_EMAIL_LINK 140

#define IDS_MAKER_CONTACT 3
