#include "app/KavrinApp_win.h"
#include "common/SyncDate_win.h"
#include "tests/support/TestPeersGate.h"
#include "tests/support/win/KavrinKey.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace
{
// Once a day switched on, with the last synchronisation today.
void StoreSynchronisedToday()
{
    const std::time_t when = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &when);
    using namespace Settings::Names;
    const CSettingsKey settings = SeedKavrinKey({{SyncOnStart, 0}, {SyncOncePerDay, 1}});
    settings.WriteText(CurrentServer, L"127.0.0.1");
    settings.WriteDateRecord(LastSyncDate, MakeSyncDateRecord(local));
}

using StartupTest = KavrinKeyTest;
struct ProcessEnded { int exitCode; };

// The application with everything that leaves the process recorded instead.
class RecordingApp : public CKavrinApp
{
public:
    bool administrator = true, relaunchSucceeds = false;
    DWORD relaunchError = ERROR_SUCCESS;
    std::wstring commandLine;
    std::vector<std::wstring> messages;
    int relaunches = 0;
    bool windowRan = false;

    // The exit code when start-up ended the process, nothing when it returned.
    std::optional<int> Run()
    try
    {
        EXPECT_FALSE(InitInstance()) << "the program ends when its window closes";
        return std::nullopt;
    }
    catch (const ProcessEnded& ended)
    {
        return ended.exitCode;
    }

protected:
    std::wstring CommandLine() override { return commandLine; }
    bool IsUserAdministrator() override { return administrator; }
    bool RelaunchElevated(DWORD& error) override { return ++relaunches, error = relaunchError, relaunchSucceeds; }
    void ShowMessage(UINT stringId) override { messages.push_back(L"#" + std::to_wstring(stringId)); }
    void ShowMessage(const wchar_t* text) override { messages.emplace_back(text); }
    void RunMainWindow() override { windowRan = true; }
    [[noreturn]] void EndProcess(int exitCode) override { throw ProcessEnded{exitCode}; }
};
} // namespace

TEST_F(StartupTest, OnceADayHitEndsFirstThenOnlyANonAdministratorIsRelaunchedAndOnlyARefusalIsReported)
{
    struct Case { const char* name; bool onceADayHit, administrator; DWORD relaunchError; std::optional<int> end; };
    const Case cases[] = {
        {"administrator", false, true, ERROR_SUCCESS, std::nullopt},
        {"relaunched", false, false, ERROR_SUCCESS, 1},
        {"refused", false, false, ERROR_CANCELLED, std::nullopt},
        {"failed", false, false, ERROR_FILE_NOT_FOUND, std::nullopt},
        {"synchronised today", true, false, ERROR_SUCCESS, 0},
    };
    const std::vector<std::wstring> refusal{L"User did not allow elevation"}, none;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.onceADayHit)
            StoreSynchronisedToday();
        RecordingApp app;
        app.commandLine = c.onceADayHit ? L"Kavrin.exe" : L"Kavrin.exe /WS";
        app.administrator = c.administrator;
        app.relaunchSucceeds = c.end.has_value();
        app.relaunchError = c.relaunchError;
        EXPECT_EQ(app.Run(), c.end);
        EXPECT_EQ(app.relaunches, c.administrator || c.onceADayHit ? 0 : 1);
        EXPECT_EQ(app.messages, c.relaunchError == ERROR_CANCELLED ? refusal : none);
        EXPECT_EQ(app.windowRan, !c.end);
        EXPECT_EQ(app.m_bForceWindow, !c.onceADayHit) << "read before the relaunch, which passes it on";
    }
}

// "/sync" against the stored server: no window, the outcome in the exit code, the date of a run that set the clock.
TEST_F(StartupTest, SyncOptionSynchronisesOnceWithoutAWindow)
{
    REQUIRE_TEST_PEERS();
    using namespace Settings::Names;
    const std::pair<const wchar_t*, DWORD> cases[] = {
        {TestPeers::kChronyd, 0}, {TestPeers::kSilent, 1}, {TestPeers::kPlus1h, 2}, {TestPeers::kPlus10s, 3}};
    for (const auto& [server, expected] : cases)
    {
        const CSettingsKey settings = SeedKavrinKey({{SyncOnStart, 0}, {SyncOncePerDay, 1}});
        settings.WriteText(CurrentServer, server);
        CProcessRunner kavrin;
        ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L"/sync")) << "CreateProcess error " << ::GetLastError();
        EXPECT_EQ(kavrin.WaitForWindow(L"Kavrin", 8000), nullptr) << "no window";
        DWORD exitCode = 99;
        EXPECT_TRUE(kavrin.WaitForExit(8000, exitCode) && exitCode == expected) << exitCode;
        EXPECT_EQ(ReadRawKey(Settings::kKeyPath).value_or(RawValues{}).contains(LastSyncDate), expected == 0);
    }
}
