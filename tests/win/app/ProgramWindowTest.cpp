// What the running program's window answers to another process.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"
#include "tests/support/win/MessageProbe.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

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

// A window the probe in the other process finds by its class.
class CVerdictSink
{
public:
    CVerdictSink()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = SinkProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = MessageProbe::kSinkClass;
        ::RegisterClassW(&wc);
        m_window.Reset(::CreateWindowW(MessageProbe::kSinkClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       wc.hInstance, nullptr));
    }
    bool IsReady() const { return m_window.IsValid(); }

private:
    CUniqueWindow m_window;
};

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
    const CVerdictSink sink;
    ASSERT_TRUE(sink.IsReady());
    const CUniqueModule probe(::LoadLibraryW((TestProgramFolder() + MessageProbe::kDllName).c_str()));
    ASSERT_TRUE(probe);
    const auto hookProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(probe.Get(), MessageProbe::kHookProc)));
    ASSERT_NE(hookProc, nullptr);

    CProcessRunner kavrin;
    ASSERT_TRUE(kavrin.Start(L"Kavrin.exe", L"/ws"));
    const HWND window = kavrin.WaitForWindow(L"Kavrin", 20000);
    const struct CCloseAtEnd
    {
        CProcessRunner& program;
        HWND window;
        ~CCloseAtEnd() { program.Close(window); }
    } closeAtEnd{kavrin, window};
    ASSERT_NE(window, nullptr);

    const CUniqueHandle<HookTraits> hook(
        ::SetWindowsHookExW(WH_CALLWNDPROCRET, hookProc, probe.Get(), ::GetWindowThreadProcessId(window, nullptr)));
    ASSERT_TRUE(hook);
    g_verdicts.clear();
    DWORD_PTR ignored = 0;
    // Where the system delivers it (Windows does, Wine does not), the
    // program's answer is a real icon.
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(window, WM_QUERYDRAGICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
    {
        EXPECT_NE(answer, 0u);
    }
    ASSERT_TRUE(::SendMessageTimeoutW(window, WM_NULL, MessageProbe::kAskDragIcon, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
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
