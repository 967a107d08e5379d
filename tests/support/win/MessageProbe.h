#pragma once
// Between the message probe DLL (tests/win/app/MessageProbe_win.cpp), hooked
// into a running program, and the test that reads its verdicts.

#include <windows.h>

namespace MessageProbe
{
inline constexpr wchar_t kDllName[] = L"kavrin_message_probe.dll";
inline constexpr char kHookProc[] = "KavrinProbeCallWndRet";
inline constexpr wchar_t kSinkClass[] = L"KavrinMessageProbeSink";
inline constexpr UINT kVerdictMessage = WM_APP + 77;
// WM_NULL with this parameter, sent to the probed window, asks for a verdict.
inline constexpr WPARAM kAskDragIcon = 0x4B44;

enum Verdict : WPARAM
{
    kNoIcon = 1,
    kNotAnIcon,
    kOtherIcon,
    kTheWindowsIcon,
};
} // namespace MessageProbe
