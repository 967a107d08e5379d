// Resource numbers of the framework tests' own dialog.
#pragma once

#define IDD_FRAMEWORK_TEST 9001
#define IDC_FRAMEWORK_TEST_LABEL 9002
