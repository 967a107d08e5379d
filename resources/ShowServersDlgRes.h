// Resource numbers of the pool server chooser: its template and controls.
#pragma once

#define IDD_SHOW_SERVERS 136

// IDOK (1) accepts the server field.
#define IDC_POOL_HEADING 1090
#define IDC_POOL_LIST 1091
#define IDC_POOL_SERVER 1092
#define IDC_POOL_REGION 1093
#define IDC_POOL_LINK_NOTE 1094
#define IDC_POOL_LINK 1095
