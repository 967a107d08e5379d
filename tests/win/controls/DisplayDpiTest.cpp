#include "controls/Label.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
constexpr char kExpectedDpiVariable[] = "KAVRIN_EXPECT_DPI";

int ScreenDpi()
{
    const CWindowDC screen(nullptr);
    return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

// The display resolution that this process was started with, set by the
// test below for the copy of the test program that it runs.
TEST(DisplayDpi, IsTheOneThisRunWasStartedFor)
{
    const char* expected = std::getenv(kExpectedDpiVariable);
    if (!expected)
        GTEST_SKIP() << "runs inside LabelsAt144Dpi";
    EXPECT_EQ(ScreenDpi(), std::atoi(expected));
}

// The system's resolution is read when a process starts, so the label tests
// run again in a new process with the display set to 144 pixels per inch.
TEST(DisplayDpi, LabelsAt144Dpi)
{
    if (std::getenv(kExpectedDpiVariable))
        GTEST_SKIP() << "already the inner run";

    CUniqueRegKey desktop;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                nullptr, desktop.Put(), nullptr),
              ERROR_SUCCESS);
    DWORD previous = 0;
    DWORD size = sizeof previous;
    const bool hadValue =
        ::RegQueryValueExW(desktop.Get(), kLogPixels, nullptr, nullptr, reinterpret_cast<BYTE*>(&previous), &size) ==
        ERROR_SUCCESS;
    struct CRestore
    {
        HKEY key;
        bool hadValue;
        DWORD previous;
        ~CRestore()
        {
            if (hadValue)
                ::RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous),
                                 sizeof previous);
            else
                ::RegDeleteValueW(key, kLogPixels);
        }
    } restore{desktop.Get(), hadValue, previous};
    const DWORD dpi = 144;
    ASSERT_EQ(::RegSetValueExW(desktop.Get(), kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi),
              ERROR_SUCCESS);

    // The inner run's report goes to a file: its own "[  SKIPPED ]" lines
    // would otherwise make ctest count this test as skipped.
    wchar_t folder[MAX_PATH] = {};
    wchar_t reportPath[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH, folder), 0u);
    ASSERT_NE(::GetTempFileNameW(folder, L"dpi", 0, reportPath), 0u);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    CUniqueKernelHandle report(::CreateFileW(reportPath, GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    ASSERT_NE(report.Get(), INVALID_HANDLE_VALUE);

    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) +
                               L"\" --gtest_filter=DisplayDpi.IsTheOneThisRunWasStartedFor:LabelTest.*:"
                               L"XGroupBoxTest.*:OnScreenTest.*:OnButtonsAndStatics/HyperLinkTest.*:BufferDC.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = report.Get();
    startup.hStdError = report.Get();
    PROCESS_INFORMATION process{};
    ::SetEnvironmentVariableW(L"KAVRIN_EXPECT_DPI", L"144");
    const BOOL started = ::CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                          &startup, &process);
    ::SetEnvironmentVariableW(L"KAVRIN_EXPECT_DPI", nullptr);
    ASSERT_TRUE(started) << ::GetLastError();
    const CUniqueKernelHandle processHandle(process.hProcess);
    const CUniqueKernelHandle threadHandle(process.hThread);
    ASSERT_EQ(::WaitForSingleObject(process.hProcess, 90000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    report.Reset();

    std::string output;
    {
        std::ifstream in(reportPath, std::ios::binary);
        output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ::DeleteFileW(reportPath);
    EXPECT_NE(output.find("[       OK ] DisplayDpi.IsTheOneThisRunWasStartedFor"), std::string::npos)
        << "the inner run did not see 144 DPI";
    for (std::size_t at = output.find("[  SKIPPED ]"); at != std::string::npos; at = output.find("[  SKIPPED ]", at))
        output.replace(at, 12, "(skipped)");
    EXPECT_EQ(exitCode, 0u) << "at 144 DPI:\n" << output;
}
} // namespace
