// Start-up of the real program, and the elevation path through its seams.

#include "app/KavrinApp_win.h"
#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "common/SyncDate_win.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace
{
constexpr DWORD kStartTimeoutMs = 20000;

std::tm LocalTimeInDays(int days)
{
    const std::time_t when = std::time(nullptr) + static_cast<std::time_t>(days) * 86400;
    std::tm local{};
    localtime_s(&local, &when);
    return local;
}

class OnceADayTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
        ASSERT_TRUE(m_settings.OpenKey(Settings::kKeyPath, true));
        m_settings.WriteNumber(Settings::Names::SyncOnStart, 0);
        m_settings.WriteText(Settings::Names::CurrentServer, L"127.0.0.1");
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }

    void LastSyncInDays(int days) { m_settings.WriteDateRecord(Settings::Names::LastSyncDate, MakeSyncDateRecord(LocalTimeInDays(days))); }

    // Starts Kavrin and answers whether its window came up; closes it again.
    bool WindowAppears(const std::wstring& arguments)
    {
        CProcessRunner kavrin;
        if (!kavrin.Start(L"Kavrin.exe", arguments))
            return false;
        HWND window = kavrin.WaitForWindow(L"Kavrin", kStartTimeoutMs);
        kavrin.Close(window);
        return window != nullptr;
    }

    CSettingsKey m_settings;
};
} // namespace

TEST_F(OnceADayTest, SecondStartOnTheSameDayEndsAtOnceWithoutWindow)
{
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    LastSyncInDays(0);

    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L""));
    const ULONGLONG started = ::GetTickCount64();
    DWORD exitCode = 99;
    bool sawWindow = false;
    while (!kavrin.WaitForExit(20, exitCode) && ::GetTickCount64() - started < kStartTimeoutMs)
        sawWindow = sawWindow || kavrin.HasVisibleWindow();
    EXPECT_EQ(exitCode, 0u);
    EXPECT_LT(::GetTickCount64() - started, 5000u);
    EXPECT_FALSE(sawWindow);
    if (exitCode == 99)
        kavrin.Close(nullptr, 0);
}

TEST_F(OnceADayTest, ForceWindowOptionShowsTheWindowAnyway)
{
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    LastSyncInDays(0);
    for (const wchar_t* option : {L"/ws", L"-WS", L"/ws:x"})
        EXPECT_TRUE(WindowAppears(option)) << "option " << testing::PrintToString(std::wstring(option));
}

TEST_F(OnceADayTest, OtherDaysShowTheWindow)
{
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    LastSyncInDays(-1);
    EXPECT_TRUE(WindowAppears(L"")) << "yesterday";
    LastSyncInDays(1);
    EXPECT_TRUE(WindowAppears(L"")) << "tomorrow";
}

TEST_F(OnceADayTest, RuleAppliesOnlyWhenSwitchedOnWithAUsableDate)
{
    LastSyncInDays(0);
    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 0);
    EXPECT_TRUE(WindowAppears(L"")) << "option off";

    m_settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    SyncDateRecord invalid = MakeSyncDateRecord(LocalTimeInDays(0));
    invalid.status = 1;
    m_settings.WriteDateRecord(Settings::Names::LastSyncDate, invalid);
    EXPECT_TRUE(WindowAppears(L"")) << "status not valid";
}

namespace
{
struct ProcessEnded
{
    int exitCode;
};

// The application with everything that leaves the process recorded instead.
class RecordingApp : public CKavrinApp
{
public:
    bool administrator = true;
    bool relaunchSucceeds = false;
    DWORD relaunchError = ERROR_SUCCESS;
    std::wstring commandLine = L"Kavrin.exe";

    std::vector<std::wstring> messages;
    int relaunches = 0;
    bool windowRan = false;

protected:
    std::wstring CommandLine() override { return commandLine; }
    bool IsUserAdministrator() override { return administrator; }
    bool RelaunchElevated(DWORD& error) override
    {
        ++relaunches;
        error = relaunchError;
        return relaunchSucceeds;
    }
    void ShowMessage(UINT stringId) override { messages.push_back(L"#" + std::to_wstring(stringId)); }
    void ShowMessage(const wchar_t* text) override { messages.emplace_back(text); }
    void RunMainWindow() override { windowRan = true; }
    [[noreturn]] void EndProcess(int exitCode) override { throw ProcessEnded{exitCode}; }
};

class ElevationTest : public testing::Test
{
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }

    // The exit code when start-up ended the process, nothing when it returned.
    static std::optional<int> EndOf(RecordingApp& app)
    {
        try
        {
            app.InitInstance();
            return std::nullopt;
        }
        catch (const ProcessEnded& ended)
        {
            return ended.exitCode;
        }
    }
};
} // namespace

TEST_F(ElevationTest, AdministratorRunsTheWindowDirectly)
{
    RecordingApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.relaunches, 0);
    EXPECT_TRUE(app.windowRan);
    EXPECT_EQ(app.GetRegistryKey(), L"Halvanworks Software");
}

TEST_F(ElevationTest, SuccessfulRelaunchEndsWithCodeOne)
{
    RecordingApp app;
    app.administrator = false;
    app.relaunchSucceeds = true;
    app.commandLine = L"Kavrin.exe /WS";
    EXPECT_EQ(EndOf(app), 1);
    EXPECT_TRUE(app.m_bForceWindow);
    EXPECT_FALSE(app.windowRan);
}

TEST_F(ElevationTest, FailedRelaunchRunsTheWindowAndReportsOnlyARefusal)
{
    const struct
    {
        DWORD error;
        std::vector<std::wstring> messages;
    } cases[] = {
        {ERROR_CANCELLED, {L"User did not allow elevation"}},
        {ERROR_FILE_NOT_FOUND, {}},
    };
    for (const auto& c : cases)
    {
        RecordingApp app;
        app.administrator = false;
        app.relaunchError = c.error;
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.messages, c.messages) << "error " << c.error;
        EXPECT_TRUE(app.windowRan);
    }
}

TEST_F(ElevationTest, OnceADayHitEndsWithCodeZeroBeforeTheAdministratorCheck)
{
    CSettingsKey settings;
    ASSERT_TRUE(settings.OpenKey(Settings::kKeyPath, true));
    settings.WriteNumber(Settings::Names::SyncOncePerDay, 1);
    settings.WriteDateRecord(Settings::Names::LastSyncDate, MakeSyncDateRecord(LocalTimeInDays(0)));

    RecordingApp app;
    app.administrator = false;
    EXPECT_EQ(EndOf(app), 0);
    EXPECT_EQ(app.relaunches, 0);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
}
