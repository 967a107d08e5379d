#pragma once
// Colours as the system's drawing functions take them (COLORREF):
// 0x00BBGGRR, built the same way with or without <windows.h>.

constexpr unsigned long Rgb(unsigned red, unsigned green, unsigned blue) noexcept
{
    return red | (green << 8) | (blue << 16);
}
