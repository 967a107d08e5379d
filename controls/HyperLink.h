#pragma once
// A hyperlink: a button or static control of a dialog that shows its text
// (after an optional icon) in one of three colours, for normal, hover and
// visited, on a plain background. The pointer over it is a hand and a tool
// tip can name the target; a click, the space bar or Enter opens the target
// through the shell, marks the link visited and sends the dialog the usual
// BN_CLICKED notification.
//
//     m_web.Attach(hwndDialog, IDC_WEB_LINK);
//     m_web.SetTarget(url).SetToolTip(url).SetColors(normal, hover, visited);

#include "controls/ControlFont.h"
#include "controls/ControlMath.h"
#include "controls/ShellOpen.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

#include <array>
#include <optional>
#include <string>

class CHyperLink : public CWnd
{
public:
    using LinkState = ControlMath::LinkState;

    CHyperLink();
    ~CHyperLink() override;

    // Takes over the dialog's control `id` (the same as SubclassDlgItem).
    bool Attach(HWND parent, int id) noexcept { return SubclassDlgItem(parent, id); }

    CHyperLink& SetTarget(const std::wstring& target);
    // An empty text removes the tool tip.
    CHyperLink& SetToolTip(const std::wstring& text);
    CHyperLink& SetFontName(const std::wstring& face);
    CHyperLink& SetFontWeight(int weight);
    // Underlined unless told otherwise.
    CHyperLink& SetFontUnderline(bool underline);
    CHyperLink& SetColors(COLORREF normal, COLORREF hover, COLORREF visited);
    // The button-face colour unless set.
    CHyperLink& SetBkColor(COLORREF colour);
    // Icons for the three states, shown at the small-icon size; an empty
    // one falls back to the normal state's. The link owns them.
    CHyperLink& SetIcons(CUniqueIcon normal, CUniqueIcon hover = {}, CUniqueIcon visited = {});
    // Loads the icons from a module's resources; answers whether all loaded.
    bool SetIconResources(HINSTANCE module, UINT normal, UINT hover, UINT visited);
    bool SetIconResource(HINSTANCE module, UINT id) { return SetIconResources(module, id, id, id); }
    CHyperLink& SetVisited(bool visited);
    CHyperLink& SetLinkOpener(LinkOpener opener);

    const std::wstring& GetTarget() const noexcept { return m_strTarget; }
    const std::wstring& GetToolTip() const noexcept { return m_strToolTip; }
    bool IsVisited() const noexcept { return m_bVisited; }
    bool IsHovering() const noexcept { return m_bHovering; }
    LinkState GetState() const noexcept { return ControlMath::LinkStateFor(m_bHovering, m_bVisited); }
    COLORREF GetColor(LinkState state) const noexcept { return m_colours[Index(state)]; }
    COLORREF GetBkColor() const noexcept;
    const CControlFont& GetFontOptions() const noexcept { return m_font; }
    // The font the link draws with (also its answer to WM_GETFONT).
    HFONT GetFont() noexcept;
    // The tool tip control, once it exists.
    HWND GetToolTipWindow() const noexcept { return m_toolTip.Get(); }

    // Opens the target as a click does.
    void Activate();
    // Draws the whole link on `hdc`, whose origin is the client area's corner.
    void Draw(HDC hdc);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static constexpr std::size_t Index(LinkState state) noexcept { return static_cast<std::size_t>(state); }
    void Redraw() const noexcept;
    void ReadBaseFont() noexcept;
    bool IsButton() const noexcept;
    ControlMath::Alignment ContentAlignment() const noexcept;
    HICON IconFor(LinkState state) const noexcept;
    void UpdateToolTip();
    void DestroyToolTip() noexcept;
    void OnMouseMove();
    void OnMouseLeave();
    void OnLButtonDown();
    void OnLButtonUp(POINT point);
    LRESULT OnGetDlgCode(WPARAM wp, LPARAM lp);

    std::wstring m_strTarget;
    std::wstring m_strToolTip;
    std::array<COLORREF, 3> m_colours;
    std::optional<COLORREF> m_background;
    std::array<CUniqueIcon, 3> m_icons;
    CControlFont m_font;
    bool m_bBaseFontRead = false;
    LinkOpener m_opener;
    CUniqueWindow m_toolTip;
    bool m_bHovering = false;
    bool m_bVisited = false;
    bool m_bPressed = false;
};
