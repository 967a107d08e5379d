#pragma once
// Between the message probe DLL (tests/win/app/MessageProbe_win.cpp), hooked
// into a running program, and the test that asks it for verdicts: WM_NULL
// with kAskDragIcon and the test's thread id, answered by a kVerdictMessage
// posted to that thread.

#include <windows.h>

namespace MessageProbe
{
inline constexpr wchar_t kDllName[] = L"kavrin_message_probe.dll";
inline constexpr char kHookProc[] = "KavrinProbeCallWndRet";
inline constexpr UINT kVerdictMessage = WM_APP + 77;
inline constexpr WPARAM kAskDragIcon = 0x4B44;

enum Verdict : WPARAM
{
    kNoIcon = 1,
    kOtherIcon,
    kTheWindowsIcon,
};
} // namespace MessageProbe
