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
// Once a day switched on or off, with a last synchronisation `days` from now.
void StoreOnceADay(DWORD oncePerDay, int days, std::int32_t status = SyncDateRecord::kValid)
{
    const std::time_t when = std::time(nullptr) + static_cast<std::time_t>(days) * 86400;
    std::tm local{};
    localtime_s(&local, &when);
    SyncDateRecord record = MakeSyncDateRecord(local);
    record.status = status;
    CSettingsKey settings;
    ASSERT_TRUE(settings.OpenKey(Settings::kKeyPath, true));
    settings.WriteNumber(Settings::Names::SyncOnStart, 0);
    settings.WriteText(Settings::Names::CurrentServer, L"127.0.0.1");
    settings.WriteNumber(Settings::Names::SyncOncePerDay, oncePerDay);
    settings.WriteDateRecord(Settings::Names::LastSyncDate, record);
}

class StartupTest : public testing::Test
{
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath); }
};
} // namespace

// The real program; which dates count as the same day and which options
// force the window is the platform-free tests' to check.
TEST_F(StartupTest, SecondStartOnTheSameDayEndsAtOnceWithoutWindowUnlessForcedOrTheRuleDoesNotApply)
{
    struct Case
    {
        const char* name;
        DWORD oncePerDay;
        int days;
        std::int32_t status;
        const wchar_t* options;
        bool shown;
    };
    const Case cases[] = {
        {"same day", 1, 0, SyncDateRecord::kValid, L"", false},
        {"window forced", 1, 0, SyncDateRecord::kValid, L"/ws", true},
        {"yesterday", 1, -1, SyncDateRecord::kValid, L"", true},
        {"option off", 0, 0, SyncDateRecord::kValid, L"", true},
        {"status not valid", 1, 0, 1, L"", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        StoreOnceADay(c.oncePerDay, c.days, c.status);
        CProcessRunner kavrin;
        const ULONGLONG started = ::GetTickCount64();
        ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", c.options));
        // Nothing when the process ends first.
        const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
        DWORD exitCode = 99;
        const bool ended = kavrin.WaitForExit(0, exitCode);
        kavrin.Close(window);
        EXPECT_EQ(window != nullptr, c.shown);
        if (!c.shown)
        {
            EXPECT_TRUE(ended && exitCode == 0) << exitCode;
            EXPECT_LT(::GetTickCount64() - started, 5000u);
        }
    }
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

    // The exit code when start-up ended the process, nothing when it returned.
    std::optional<int> Run()
    {
        try
        {
            EXPECT_FALSE(InitInstance()) << "the program ends when its window closes";
            return std::nullopt;
        }
        catch (const ProcessEnded& ended)
        {
            return ended.exitCode;
        }
    }

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
} // namespace

TEST_F(StartupTest, OnlyANonAdministratorIsRelaunchedAndOnlyARefusalIsReported)
{
    struct Case
    {
        const char* name;
        bool administrator, relaunchSucceeds;
        DWORD relaunchError;
        std::optional<int> end;
        std::vector<std::wstring> messages;
    };
    const Case cases[] = {
        {"administrator", true, false, ERROR_SUCCESS, std::nullopt, {}},
        {"relaunched", false, true, ERROR_SUCCESS, 1, {}},
        // A failed relaunch runs the window.
        {"refused", false, false, ERROR_CANCELLED, std::nullopt, {L"User did not allow elevation"}},
        {"failed", false, false, ERROR_FILE_NOT_FOUND, std::nullopt, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingApp app;
        app.administrator = c.administrator;
        app.relaunchSucceeds = c.relaunchSucceeds;
        app.relaunchError = c.relaunchError;
        app.commandLine = L"Kavrin.exe /WS";
        EXPECT_EQ(app.Run(), c.end);
        EXPECT_EQ(app.relaunches, c.administrator ? 0 : 1);
        EXPECT_EQ(app.messages, c.messages);
        EXPECT_EQ(app.windowRan, !c.end);
        EXPECT_TRUE(app.m_bForceWindow) << "read before the relaunch, which passes it on";
        EXPECT_TRUE(!app.windowRan || app.GetRegistryKey() == L"Halvanworks Software");
    }
}

TEST_F(StartupTest, OnceADayHitEndsWithCodeZeroBeforeTheAdministratorCheck)
{
    StoreOnceADay(1, 0);
    RecordingApp app;
    app.administrator = false;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.relaunches, 0);
}
