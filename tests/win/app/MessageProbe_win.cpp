// Hooked into the running program: Wine does not deliver messages that answer with a handle
// (WM_QUERYDRAGICON, WM_GETICON) across processes, so the probe asks from the program's own thread.

#include "tests/support/win/MessageProbe.h"

#include <windows.h>

// Exported undecorated through MessageProbe.def.
extern "C" LRESULT CALLBACK KavrinProbeCallWndRet(int code, WPARAM wp, LPARAM lp)
{
    const auto* call = code == HC_ACTION ? reinterpret_cast<const CWPRETSTRUCT*>(lp) : nullptr;
    if (call && call->message == WM_NULL && call->wParam == MessageProbe::kAskDragIcon)
    {
        const LRESULT icon = ::SendMessageW(call->hwnd, WM_QUERYDRAGICON, 0, 0);
        const LRESULT shown = ::SendMessageW(call->hwnd, WM_GETICON, ICON_BIG, 0);
        const auto verdict = !icon ? MessageProbe::kNoIcon
                                   : icon == shown ? MessageProbe::kTheWindowsIcon : MessageProbe::kOtherIcon;
        ::PostThreadMessageW(static_cast<DWORD>(call->lParam), MessageProbe::kVerdictMessage, verdict, 0);
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}
