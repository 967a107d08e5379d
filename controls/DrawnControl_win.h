#pragma once
// What the drawing controls share: a control of a dialog, taken over with
// SubclassDlgItem, that paints itself with a font of its own over the one it
// was given, repaints on every change of text, font, options or state, and
// can be clicked.

#include "controls/ControlFont_win.h"
#include "framework/Wnd_win.h"

#include <string>

class CDrawnControl : public CWnd
{
public:
    const CControlFont& GetFontOptions() const noexcept { return m_font; }
    // The font the control draws with (also its answer to WM_GETFONT).
    HFONT GetFont() noexcept;

    // Draws the control on `hdc`, whose origin is the client area's corner.
    virtual void Draw(HDC hdc) = 0;

protected:
    enum class Painting
    {
        // Through an off-screen buffer that covers every pixel, so no erasing.
        Buffered,
        // Straight on the screen, leaving the background to the control's class.
        Direct,
    };
    explicit CDrawnControl(Painting painting) noexcept : m_painting(painting) {}

    // Painting, WM_PRINTCLIENT, text, UI state, enabling and font; the rest
    // goes to the control's own window procedure.
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Repaints the control after a change.
    virtual void Redraw() noexcept;
    // Selects the control's font, sized for the device drawn on.
    void SelectOwnFont(HDC hdc) noexcept;
    // The brush that the dialog gives statics through WM_CTLCOLORSTATIC
    // (which sets the text colour on `hdc` too), or the button face.
    HBRUSH DialogBrush(HDC hdc) const noexcept;
    // A click: the press captures the mouse; the release answers whether it
    // ends a press inside the control.
    void BeginClick() noexcept;
    bool EndClick(LPARAM lp) noexcept;

    CControlFont m_font;

private:
    void ReadBaseFont() noexcept;

    Painting m_painting;
    // The control's own font is read on first use, so that it works
    // however it was attached.
    bool m_bBaseFontRead = false;
    bool m_bPressed = false;
};

// The chainable font setters of a control that draws text; each redraws it.
template <typename Control>
class CTextControl : public CDrawnControl
{
public:
    Control& SetFontName(const std::wstring& face) { m_font.SetFaceName(face); return Restyled(); }
    Control& SetFontSize(int points) { m_font.SetPointSize(points); return Restyled(); }
    Control& SetFontWeight(int weight) { m_font.SetWeight(weight); return Restyled(); }
    Control& SetFontBold(bool bold) { return SetFontWeight(bold ? FW_BOLD : FW_NORMAL); }
    Control& SetFontItalic(bool italic) { m_font.SetItalic(italic); return Restyled(); }
    Control& SetFontUnderline(bool underline) { m_font.SetUnderline(underline); return Restyled(); }

protected:
    using CDrawnControl::CDrawnControl;

private:
    Control& Restyled() noexcept
    {
        Redraw();
        return static_cast<Control&>(*this);
    }
};
