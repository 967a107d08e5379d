#pragma once
// A group box that draws its own frame and title: through the visual style
// where themes are on, as a classic etched frame otherwise, and with a bold
// title on request. Only the frame and the title are painted; the inside
// belongs to the dialog and the controls in it.

#include "controls/DrawnControl_win.h"
#include "controls/UxThemeApi_win.h"

#include <string>

class CXGroupBox : public CDrawnControl
{
public:
    CXGroupBox() noexcept;
    ~CXGroupBox() override;

    CXGroupBox& SetText(const std::wstring& text);
    CXGroupBox& SetBoldTitle(bool bold = true);
    // Classic drawing even where themes are on.
    CXGroupBox& SetThemeAllowed(bool allowed);
    // The theme functions to draw with; the process's UxTheme by default.
    CXGroupBox& SetThemeApi(const CUxThemeApi& api);

    bool IsBoldTitle() const noexcept { return m_font.GetWeight() >= FW_BOLD; }
    // Whether the box draws through the visual style now.
    bool IsThemed() noexcept;
    // Where the title sits, with its margins, in client coordinates; empty
    // without a title.
    RECT GetTitleRect(HDC hdc);

    // Draws the frame and the title only.
    void Draw(HDC hdc) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Layout
    {
        RECT frame;
        RECT title;
        RECT text;
    };
    Layout Measure(HDC hdc, const std::wstring& text);
    void OpenTheme() noexcept;
    // Repaints the box and what lies under its title strip, since a
    // shorter or plainer title leaves parts of the old one uncovered.
    void Redraw() noexcept override;

    const CUxThemeApi* m_pThemeApi = nullptr;
    CUniqueTheme m_theme;
    bool m_bThemeAllowed = true;
    bool m_bThemeOpened = false;
};
