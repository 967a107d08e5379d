// Resource numbers of the exit-time dialog ("Set the time of exit after
// sync").
#pragma once

#define IDD_EXIT_TIME 141

// IDOK (1) accepts, IDCANCEL (2) closes without a result.
#define IDC_EXIT_SECONDS 1080
#define IDC_EXIT_SECONDS_SPIN 1081
#define IDC_EXIT_EXPLANATION 1082
