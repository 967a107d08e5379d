#include "framework/Handles_win.h"
#include "tests/support/win/KavrinKey.h"
#include "tests/support/win/MessageProbe.h"
#include "tests/support/win/ProcessRunner.h"

#include <gtest/gtest.h>

#include <memory>

// The probe asks from inside the program: see MessageProbe_win.cpp.
TEST(ProgramWindow, DragIconAskedFromAnotherProcessIsTheProgramsIcon)
{
    SeedKavrinKey({{Settings::Names::SyncOnStart, 0}});
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
    const std::shared_ptr<void> hook(
        ::SetWindowsHookExW(WH_CALLWNDPROCRET, hookProc, probe.Get(), ::GetWindowThreadProcessId(window, nullptr)),
        ::UnhookWindowsHookEx);
    ASSERT_TRUE(hook);

    MSG verdict{};
    ::PeekMessageW(&verdict, nullptr, 0, 0, PM_NOREMOVE); // the queue that receives the verdict
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(window, WM_NULL, MessageProbe::kAskDragIcon, ::GetCurrentThreadId(), 0, 5000,
                                      &answer));
    constexpr UINT kVerdict = MessageProbe::kVerdictMessage;
    WaitUntil([&] { return ::PeekMessageW(&verdict, nullptr, kVerdict, kVerdict, PM_REMOVE) != FALSE; }, 5000);
    EXPECT_EQ(verdict.wParam, WPARAM{MessageProbe::kTheWindowsIcon});
    DeleteKavrinKey();
}
