#include "ControlTestSupport.h"

#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace
{
constexpr const char* kRerunSuites[] = {"DisplayDpi", "LabelTest", "XGroupBoxTest", "OnScreenTest",
                                        "OnButtonsAndStatics/HyperLinkTest", "MainWindowLayout"};

// The resolution is read when a process starts: the drawing tests run again in a new
// process at 144 pixels per inch, where this test checks that the resolution took.
TEST(DisplayDpi, DrawingTestsPassAt144Dpi)
{
    if (const char* expected = std::getenv("KAVRIN_EXPECT_DPI"))
    {
        EXPECT_EQ(ScreenDpi(), std::atoi(expected));
        return;
    }
    constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
    DWORD previous = 0, size = sizeof previous, dpi = 144;
    const bool hadValue = ::RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                                         &previous, &size) == ERROR_SUCCESS;
    const auto setDpi = [&](const DWORD* value) {
        return value ? ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, value, sizeof *value)
                     : ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
    };
    // Called even for the null pointer: puts the value back, whichever way the test ends.
    const std::shared_ptr<void> restore(nullptr, [&](void*) { setDpi(hadValue ? &previous : nullptr); });
    ASSERT_EQ(setDpi(&dpi), ERROR_SUCCESS);

    const std::wstring report = TestProgramFolder() + L"kavrin-dpi-144.xml";
    ::DeleteFileW(report.c_str());
    // Not the theme test: its skip without a visual style would mark this test skipped.
    std::wstring filter = L" --gtest_filter=";
    for (const std::string suite : kRerunSuites)
        filter += std::wstring(suite.begin(), suite.end()) + L".*:";
    CProcessRunner inner;
    ::SetEnvironmentVariableW(L"KAVRIN_EXPECT_DPI", L"144");
    const bool started =
        inner.Start(L"kavrin_win_tests.exe", L"--gtest_output=xml:" + report + filter + L"-XGroupBoxTest.Themed*");
    ::SetEnvironmentVariableW(L"KAVRIN_EXPECT_DPI", nullptr);
    DWORD exitCode = 1;
    ASSERT_TRUE(started && inner.WaitForExit(90000, exitCode));
    EXPECT_EQ(exitCode, 0u) << "a drawing test failed at 144 DPI, or the display was not at 144 DPI";

    // A filter that matches nothing passes silently: every suite named must have run.
    const std::string xml(std::istreambuf_iterator<char>(std::ifstream(report.c_str(), std::ios::binary).rdbuf()), {});
    ::DeleteFileW(report.c_str());
    for (const char* suite : kRerunSuites)
        EXPECT_NE(xml.find(std::string("<testsuite name=\"") + suite), std::string::npos) << suite << " did not run";
}
} // namespace
