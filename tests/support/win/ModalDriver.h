#pragma once
// Acts inside a modal loop of this thread (a dialog or a message box): a
// thread timer calls `step` every 50 ms until it answers true.

#include <windows.h>

#include <functional>

class CModalDriver
{
public:
    explicit CModalDriver(std::function<bool()> step) : m_timer(::SetTimer(nullptr, 0, 50, OnTimer))
    {
        s_step = std::move(step);
    }
    ~CModalDriver()
    {
        ::KillTimer(nullptr, m_timer);
        s_step = nullptr;
    }
    CModalDriver(const CModalDriver&) = delete;
    CModalDriver& operator=(const CModalDriver&) = delete;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_step && s_step())
            s_step = nullptr;
    }

    inline static std::function<bool()> s_step;
    UINT_PTR m_timer;
};
