#pragma once
// Scoped device-context helpers for the controls' painting code.

#include <windows.h>

// BeginPaint and its EndPaint.
class CPaintDC
{
public:
    explicit CPaintDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::BeginPaint(hwnd, &m_paint)) {}
    ~CPaintDC()
    {
        if (m_hdc)
            ::EndPaint(m_hwnd, &m_paint);
    }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const noexcept { return m_hdc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_hdc;
};

// Puts a device context's colours, modes, selected objects and clipping
// back as they were, for drawing into a DC that a caller lent.
class CSavedDC
{
public:
    explicit CSavedDC(HDC hdc) noexcept : m_hdc(hdc), m_nSaved(::SaveDC(hdc)) {}
    ~CSavedDC()
    {
        if (m_nSaved)
            ::RestoreDC(m_hdc, m_nSaved);
    }
    CSavedDC(const CSavedDC&) = delete;
    CSavedDC& operator=(const CSavedDC&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};
