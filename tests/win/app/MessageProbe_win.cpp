// A test DLL that a test hooks into a running program to learn what the
// program's window answers to WM_QUERYDRAGICON. Wine does not deliver
// messages that answer with a handle (WM_QUERYDRAGICON, WM_GETICON,
// WM_GETFONT) across processes, so the test posts the probe a request and
// the probe asks the window from inside the program's own thread, then
// posts its verdict to the test's sink window.

#include "tests/support/win/MessageProbe.h"

#include <windows.h>

namespace
{
MessageProbe::Verdict JudgeDragIcon(HWND window)
{
    const auto icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_QUERYDRAGICON, 0, 0));
    const auto shown = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    ICONINFO info{};
    if (!icon)
        return MessageProbe::kNoIcon;
    if (!::GetIconInfo(icon, &info))
        return MessageProbe::kNotAnIcon;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return icon == shown ? MessageProbe::kTheWindowsIcon : MessageProbe::kOtherIcon;
}
} // namespace

// Exported undecorated through MessageProbe.def.
extern "C" LRESULT CALLBACK KavrinProbeCallWndRet(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION)
    {
        const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lp);
        if (call.message == WM_NULL && call.wParam == MessageProbe::kAskDragIcon)
        {
            if (const HWND sink = ::FindWindowW(MessageProbe::kSinkClass, nullptr))
                ::PostMessageW(sink, MessageProbe::kVerdictMessage, JudgeDragIcon(call.hwnd), 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}
