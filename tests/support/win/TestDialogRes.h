// A small dialog template of the Windows test program (tests/win/framework/FrameworkTest.rc).
#pragma once

#define IDD_FRAMEWORK_TEST 9001
#define IDC_FRAMEWORK_TEST_LABEL 9002
