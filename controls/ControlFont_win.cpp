#include "controls/ControlFont_win.h"

#include "controls/ControlMath.h"

#include <algorithm>

namespace
{
int DpiOf(HDC hdc) noexcept
{
    const int dpi = hdc ? ::GetDeviceCaps(hdc, LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}
} // namespace

CControlFont::CControlFont() noexcept
{
    SetBase(nullptr);
}

void CControlFont::SetBase(HFONT base) noexcept
{
    HGDIOBJ font = base ? base : ::GetStockObject(DEFAULT_GUI_FONT);
    if (::GetObjectW(font, sizeof m_base, &m_base) != sizeof m_base)
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_base, &m_base);
    Changed();
}

void CControlFont::SetFaceName(const std::wstring& face)
{
    m_strFace = face.substr(0, LF_FACESIZE - 1);
    Changed();
}

void CControlFont::SetPointSize(int points) noexcept
{
    m_nPoints = std::max(points, 0);
    Changed();
}

void CControlFont::SetWeight(int weight) noexcept
{
    m_nWeight = std::clamp(weight, 0, 1000);
    Changed();
}

void CControlFont::SetItalic(bool italic) noexcept
{
    m_italic = italic;
    Changed();
}

void CControlFont::SetUnderline(bool underline) noexcept
{
    m_underline = underline;
    Changed();
}

int CControlFont::GetWeight() const noexcept
{
    return m_nWeight ? m_nWeight : (m_base.lfWeight ? static_cast<int>(m_base.lfWeight) : FW_NORMAL);
}

bool CControlFont::IsItalic() const noexcept
{
    return m_italic.value_or(m_base.lfItalic != FALSE);
}

bool CControlFont::IsUnderline() const noexcept
{
    return m_underline.value_or(m_base.lfUnderline != FALSE);
}

LOGFONTW CControlFont::Describe(int dpi) const noexcept
{
    LOGFONTW font = m_base;
    if (!m_strFace.empty())
    {
        std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
        std::copy(m_strFace.begin(), m_strFace.end(), font.lfFaceName);
        // A face of another family may need another character set.
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    }
    if (m_nPoints > 0)
    {
        font.lfHeight = -ControlMath::PixelsFromPoints(m_nPoints, dpi);
        font.lfWidth = 0;
    }
    font.lfWeight = GetWeight();
    font.lfItalic = IsItalic() ? TRUE : FALSE;
    font.lfUnderline = IsUnderline() ? TRUE : FALSE;
    return font;
}

HFONT CControlFont::Get(HDC hdc) noexcept
{
    const int dpi = DpiOf(hdc);
    if (!m_font || m_nFontDpi != dpi)
    {
        const LOGFONTW description = Describe(dpi);
        m_font.Reset(::CreateFontIndirectW(&description));
        m_nFontDpi = dpi;
    }
    return m_font.Get();
}

HFONT CControlFont::Get(HWND hwnd) noexcept
{
    const CWindowDC dc(hwnd);
    return Get(dc.Get());
}
