#pragma once
// The font a drawing control draws with: the font the control was given
// (by its dialog template or WM_SETFONT) with the face, size, weight and
// styles that the owner chose put over it. The font object is made on first
// use for the pixels-per-inch of the device drawn on, and kept until a
// property or the device's resolution changes.

#include "framework/Handles_win.h"

#include <optional>
#include <string>

class CControlFont
{
public:
    CControlFont() noexcept;

    // Unset properties come from `base`; null means the default GUI font.
    void SetBase(HFONT base) noexcept;
    void SetFaceName(const std::wstring& face);
    void SetPointSize(int points) noexcept;
    void SetWeight(int weight) noexcept;
    void SetItalic(bool italic) noexcept;
    void SetUnderline(bool underline) noexcept;

    const std::wstring& GetFaceName() const noexcept { return m_strFace; }
    int GetPointSize() const noexcept { return m_nPoints; }
    int GetWeight() const noexcept;
    bool IsItalic() const noexcept;
    bool IsUnderline() const noexcept;

    // The description of the font for a device of `dpi` pixels per inch.
    LOGFONTW Describe(int dpi) const noexcept;
    // The font for drawing on `hdc`, or for a window's client area.
    HFONT Get(HDC hdc) noexcept;
    HFONT Get(HWND hwnd) noexcept;

private:
    void Changed() noexcept { m_font.Reset(); }

    LOGFONTW m_base{};
    std::wstring m_strFace;
    int m_nPoints = 0;
    int m_nWeight = 0;
    std::optional<bool> m_italic;
    std::optional<bool> m_underline;
    CUniqueFont m_font;
    int m_nFontDpi = 0;
};
