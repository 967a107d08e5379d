#pragma once
// A styled label: a static control of a dialog that draws its own text and
// background. Colours, font, border and link behaviour are set through its
// setters, each of which redraws the label; the text keeps the
// static's alignment style, wraps at word breaks, and expands tabs to stops
// just past the widest text before a tab.
//
//     m_header.SubclassDlgItem(hwndDialog, IDC_HEADER);
//     m_header.SetTextColor(RGB(255, 255, 0)).SetBkColor(RGB(0, 0, 128)).SetBorder(true);

#include "controls/DrawnControl_win.h"
#include "framework/ShellOpen_win.h"

#include <optional>
#include <string>

class CLabel : public CTextControl<CLabel>
{
public:
    enum class Background
    {
        Parent, // what the dialog gives statics through WM_CTLCOLORSTATIC
        Solid,
        Gradient,
    };

    CLabel();

    CLabel& SetText(const std::wstring& text);
    CLabel& SetTextColor(COLORREF colour);
    CLabel& SetBkColor(COLORREF colour);
    // A horizontal gradient from `from` at the left edge to `to` at the right.
    CLabel& SetGradientColors(COLORREF from, COLORREF to);
    CLabel& SetParentBackground();
    // A thin frame just inside the label's edge.
    CLabel& SetBorder(bool border);
    // With a target, a click opens it and the pointer over the label is a
    // hand; an empty target makes the label plain again.
    CLabel& SetLink(const std::wstring& target);
    CLabel& SetLinkOpener(LinkOpener opener);

    // Unset, the text takes the colour that the dialog gives statics.
    std::optional<COLORREF> GetTextColor() const noexcept { return m_textColour; }
    Background GetBackground() const noexcept { return m_background; }
    COLORREF GetBkColor() const noexcept { return m_crBackground; }
    COLORREF GetGradientEndColor() const noexcept { return m_crGradientEnd; }
    bool HasBorder() const noexcept { return m_bBorder; }
    const std::wstring& GetLink() const noexcept { return m_strLink; }

    void Draw(HDC hdc) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FillBackground(HDC hdc, const RECT& rect, HBRUSH parentBrush) const;
    void DrawLabelText(HDC hdc, RECT rect, COLORREF colour);
    UINT TextFormat() const noexcept;
    int TabStop(HDC hdc, const std::wstring& text) const;

    std::optional<COLORREF> m_textColour;
    Background m_background = Background::Parent;
    COLORREF m_crBackground = 0;
    COLORREF m_crGradientEnd = 0;
    bool m_bBorder = false;
    std::wstring m_strLink;
    LinkOpener m_opener;
};
