// What the running program's window answers to another process.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"
#include "tests/support/win/MessageProbe.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
std::vector<WPARAM> g_verdicts;

LRESULT CALLBACK SinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == MessageProbe::kVerdictMessage)
        g_verdicts.push_back(wp);
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

struct HookTraits
{
    using Type = HHOOK;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::UnhookWindowsHookEx(h); }
};
} // namespace

TEST(ProgramWindow, DragIconAskedFromAnotherProcessIsTheProgramsIcon)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    CSettingsKey store;
    ASSERT_TRUE(StoreNumber(store, Settings::Names::SyncOnStart, 0));
    // The window the probe in the other process finds by its class and sends its verdicts to.
    WNDCLASSW sinkClass{};
    sinkClass.lpfnWndProc = SinkProc;
    sinkClass.hInstance = ::GetModuleHandleW(nullptr);
    sinkClass.lpszClassName = MessageProbe::kSinkClass;
    ::RegisterClassW(&sinkClass);
    const CUniqueWindow sink(::CreateWindowW(MessageProbe::kSinkClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                             sinkClass.hInstance, nullptr));
    ASSERT_TRUE(sink);
    const CUniqueModule probe(::LoadLibraryW((TestProgramFolder() + MessageProbe::kDllName).c_str()));
    ASSERT_TRUE(probe);
    const auto hookProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(probe.Get(), MessageProbe::kHookProc)));
    ASSERT_NE(hookProc, nullptr);

    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L"/ws"));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
    const std::shared_ptr<void> closeAtEnd(nullptr, [&](void*) { kavrin.Close(window); });
    ASSERT_NE(window, nullptr);

    const CUniqueHandle<HookTraits> hook(
        ::SetWindowsHookExW(WH_CALLWNDPROCRET, hookProc, probe.Get(), ::GetWindowThreadProcessId(window, nullptr)));
    ASSERT_TRUE(hook);
    g_verdicts.clear();
    // Where the system delivers it (Windows does, Wine does not), the program's answer is a real icon.
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(window, WM_QUERYDRAGICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
    {
        EXPECT_NE(answer, 0u);
    }
    ASSERT_TRUE(::SendMessageTimeoutW(window, WM_NULL, MessageProbe::kAskDragIcon, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    for (const ULONGLONG deadline = ::GetTickCount64() + 5000; g_verdicts.empty() && ::GetTickCount64() < deadline;)
    {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
    EXPECT_EQ(g_verdicts, std::vector<WPARAM>{MessageProbe::kTheWindowsIcon});
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
}
