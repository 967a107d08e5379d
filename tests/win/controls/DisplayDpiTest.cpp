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
constexpr wchar_t kRerunFilter[] = L"DisplayDpi.*:LabelTest.*:XGroupBoxTest.*:OnScreenTest.*:"
                                   L"OnButtonsAndStatics/HyperLinkTest.*:BufferDC.*-XGroupBoxTest.Themed*";
constexpr const char* kRerunSuites[] = {"DisplayDpi", "LabelTest", "XGroupBoxTest", "OnScreenTest",
                                        "OnButtonsAndStatics/HyperLinkTest", "BufferDC"};

// The system's resolution is read when a process starts, so the drawing
// tests run again in a new process with the display at 144 pixels per inch;
// there this test checks that the resolution took.
TEST(DisplayDpi, DrawingTestsPassAt144Dpi)
{
    if (const char* expected = std::getenv("KAVRIN_EXPECT_DPI"))
    {
        EXPECT_EQ(ScreenDpi(), std::atoi(expected));
        return;
    }
    CUniqueRegKey desktop;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, desktop.Put(), nullptr),
              ERROR_SUCCESS);
    DWORD previous = 0, size = sizeof previous;
    const bool hadValue = ::RegQueryValueExW(desktop.Get(), L"LogPixels", nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(&previous), &size) == ERROR_SUCCESS;
    const auto setDpi = [&](const DWORD* dpi) {
        return dpi ? ::RegSetValueExW(desktop.Get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(dpi),
                                      sizeof *dpi)
                   : ::RegDeleteValueW(desktop.Get(), L"LogPixels");
    };
    // Called even for the null pointer: puts the value back, whichever way the test ends.
    const std::shared_ptr<void> restore(nullptr, [&](void*) { setDpi(hadValue ? &previous : nullptr); });
    const DWORD dpi = 144;
    ASSERT_EQ(setDpi(&dpi), ERROR_SUCCESS);

    wchar_t program[MAX_PATH] = {}, folder[MAX_PATH] = {};
    const std::wstring path(program, ::GetModuleFileNameW(nullptr, program, MAX_PATH));
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring report = std::wstring(folder) + L"kavrin-dpi-144.xml";
    ::DeleteFileW(report.c_str());
    // The inner run's output reaches ctest, where a skipped test's line would
    // mark this test skipped: the theme test, which skips without a visual
    // style, stays out.
    CProcessRunner inner;
    ::SetEnvironmentVariableW(L"KAVRIN_EXPECT_DPI", L"144");
    const bool started = inner.Start(path.substr(path.find_last_of(L"\\/") + 1),
                                     L"--gtest_output=xml:" + report + L" --gtest_filter=" + kRerunFilter);
    ::SetEnvironmentVariableW(L"KAVRIN_EXPECT_DPI", nullptr);
    ASSERT_TRUE(started);
    DWORD exitCode = 1;
    ASSERT_TRUE(inner.WaitForExit(90000, exitCode));
    EXPECT_EQ(exitCode, 0u) << "a drawing test failed at 144 DPI, or the display was not at 144 DPI";

    // A filter that matches nothing passes silently: every suite named must
    // have run at 144 DPI.
    std::ifstream file(report.c_str(), std::ios::binary);
    const std::string xml{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    file.close();
    ::DeleteFileW(report.c_str());
    for (const char* suite : kRerunSuites)
        EXPECT_NE(xml.find(std::string("<testsuite name=\"") + suite), std::string::npos) << suite << " did not run";
}
} // namespace
