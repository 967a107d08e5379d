#pragma once
// The test asks the probe hooked into a program (tests/win/app/MessageProbe_win.cpp) with WM_NULL,
// kAskDragIcon and its thread id; the probe posts its verdict back as kVerdictMessage.

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
