// A long series of runs of the synchronization window, through every kind of
// faulty server, that must give each its status and leave no handle, memory or
// window behind.

#include "MainWindowTestSupport_win.h"
#include "framework/Handles_win.h"

#include <psapi.h>

#include <cstdio>

namespace
{
// NoReply: the query failed. Refused: an hour or more, the clock untouched.
// Failed: Wine refused to set the clock. Corrected: set (Wine takes a few ms).
enum class Outcome { NoReply, Refused, Failed, Corrected };
struct Fault { const wchar_t* host; Outcome outcome; };
constexpr Fault kFaults[] = {
    {TestPeers::kKissOfDeath, Outcome::NoReply},   {TestPeers::kStratum0, Outcome::NoReply},
    {TestPeers::kLeapAlarm, Outcome::NoReply},     {TestPeers::kStratum16, Outcome::NoReply},
    {TestPeers::kWrongMode, Outcome::NoReply},     {TestPeers::kBadVersion, Outcome::NoReply},
    {TestPeers::kZeroTransmit, Outcome::NoReply},  {TestPeers::kWrongOriginate, Outcome::NoReply},
    {TestPeers::kZeroOriginate, Outcome::NoReply}, {TestPeers::kShortDatagram, Outcome::NoReply},
    {TestPeers::kLongReply, Outcome::NoReply},     {TestPeers::kEmptyDatagram, Outcome::NoReply},
    {TestPeers::kSilent, Outcome::NoReply},        {TestPeers::kWrongSource, Outcome::NoReply},
    {TestPeers::kDelayed, Outcome::Corrected},     {TestPeers::kDoubled, Outcome::Corrected},
    {TestPeers::kPlus59m, Outcome::Failed},        {TestPeers::kMinus59m, Outcome::Failed},
    {TestPeers::kPlus1h, Outcome::Refused},        {TestPeers::kMinus1h, Outcome::Refused},
    {TestPeers::kPlus10y, Outcome::Refused},       {TestPeers::kMinus10y, Outcome::Refused},
};
constexpr int kFaultCount = static_cast<int>(std::size(kFaults));

bool Shows(const std::wstring& status, const wchar_t* host, Outcome outcome)
{
    const std::wstring texts[] = {L"Time was NOT successfully retrieved from NTP server (" + std::wstring(host) + L")",
                                  L"The time difference was greater was 1 hour, the system clock was not synchronized.",
                                  L"Synchronization failed."};
    return outcome == Outcome::Corrected ? ShowsCorrection(status) : status == texts[static_cast<int>(outcome)];
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count)
{
    ++*reinterpret_cast<long*>(count);
    ::EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

// What the process holds. Wine answers 0 for the handle count (live handle
// values are counted instead), PrivateUsage (PagefileUsage is the same
// charge) and GetGuiResources (the wrappers count where the build does).
struct Usage
{
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    long windows = 0, gdiObjects = -1, userObjects = -1;

    static Usage Now()
    {
        Usage u;
        DWORD flags = 0;
        if (!::GetProcessHandleCount(::GetCurrentProcess(), &u.handles) || u.handles == 0)
            for (ULONG_PTR value = 4; value < 0x10000; value += 4)
                u.handles += ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
        PROCESS_MEMORY_COUNTERS_EX memory{};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        u.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
        ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&u.windows));
#ifdef FRAMEWORK_COUNT_HANDLES
        using namespace HandleTraits;
        u.gdiObjects = g_nLiveHandles<Gdi<HFONT>> + g_nLiveHandles<Gdi<HBRUSH>> + g_nLiveHandles<Gdi<HPEN>> +
                       g_nLiveHandles<Gdi<HBITMAP>> + g_nLiveHandles<Gdi<HRGN>> + g_nLiveHandles<MemoryDC>;
        u.userObjects = g_nLiveHandles<Menu> + g_nLiveHandles<Icon> + g_nLiveHandles<Window>;
#endif
        return u;
    }
};

class SyncRuns : public MainWindowTest
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_PEERS();
        MainWindowTest::SetUp();
        Open();
    }

    // Runs against chronyd, then through the faults in turn: each gives its status, and only a run that
    // reached the clock counts as completed.
    void Run(int chronyd, int faults)
    {
        for (int i = 0; i < chronyd; ++i)
            ASSERT_TRUE(ShowsCorrection(Synchronize(TestPeers::kChronyd))) << "run " << i;
        for (int i = 0; i < faults; ++i)
        {
            const Fault& fault = kFaults[i % kFaultCount];
            ASSERT_TRUE(Shows(Synchronize(fault.host), fault.host, fault.outcome)) << testing::PrintToString(Status());
            ASSERT_EQ(m_dialog.IsSyncCompleted(), fault.outcome >= Outcome::Failed) << testing::PrintToString(Status());
        }
    }
};
} // namespace

// KAVRIN_SOAK_RUNS="CHRONYD,FAULTS" sets the length (bench/run-soak.sh).
TEST_F(SyncRuns, ManyRunsLeaveNothingBehind)
{
    int chronyd = 50, faults = kFaultCount;
    std::sscanf(Environment("KAVRIN_SOAK_RUNS").c_str(), "%d,%d", &chronyd, &faults);
    Run(50, kFaultCount); // every path once: what is made once and kept is there before
    const Usage before = Usage::Now();
    Run(chronyd / 2, faults / 2);
    const Usage middle = Usage::Now();
    Run(chronyd - chronyd / 2, faults - faults / 2);
    // The last run's worker has posted its answer but may not have ended yet, still holding its thread handle.
    Usage after = Usage::Now();
    WaitUntil([&] { return (after = Usage::Now()).handles <= before.handles; }, 2000);
    std::printf("soak: %d runs against chronyd and %d against faults: handles %lu -> %lu, private bytes %lu -> %lu -> "
                "%lu, windows %ld -> %ld, GDI objects %ld -> %ld, USER objects %ld -> %ld\n",
                chronyd, faults, before.handles, after.handles, static_cast<unsigned long>(before.privateBytes),
                static_cast<unsigned long>(middle.privateBytes), static_cast<unsigned long>(after.privateBytes),
                before.windows, after.windows, before.gdiObjects, after.gdiObjects, before.userObjects,
                after.userObjects);
    EXPECT_TRUE(before.handles > 0 && before.privateBytes > 0 && before.windows > 0);
    EXPECT_LE(after.handles, before.handles);
    EXPECT_LE(after.windows, before.windows);
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_LE(after.userObjects, before.userObjects);
    // Private bytes move by pages, the heap now and then by a few: a leak grows in both halves, and by more.
    constexpr SIZE_T kHeapSteps = 64 * 1024;
    EXPECT_TRUE(middle.privateBytes <= before.privateBytes || after.privateBytes <= middle.privateBytes ||
                after.privateBytes - before.privateBytes <= kHeapSteps);
}
