#pragma once
// A hyperlink: a button or static control of a dialog that shows its text
// (after an optional icon), underlined unless told otherwise, in one of three
// colours, for normal, hover and visited, on a plain background. The pointer
// over it is a hand and a tool tip can name the target; a click, the space
// bar or Enter opens the target through the shell, marks the link visited
// and sends the dialog the usual BN_CLICKED notification.
//
//     m_web.SubclassDlgItem(hwndDialog, IDC_WEB_LINK);
//     m_web.SetTarget(url).SetToolTip(url).SetColors(normal, hover, visited);

#include "controls/ControlMath.h"
#include "controls/DrawnControl_win.h"
#include "framework/Handles_win.h"
#include "framework/ShellOpen_win.h"
#include "framework/ToolTipCtrl_win.h"

#include <array>
#include <optional>
#include <string>

class CHyperLink : public CTextControl<CHyperLink>
{
public:
    using LinkState = ControlMath::LinkState;

    CHyperLink();
    ~CHyperLink() override;

    CHyperLink& SetTarget(const std::wstring& target);
    // An empty text removes the tool tip.
    CHyperLink& SetToolTip(const std::wstring& text);
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
    // The tool tip control, once it exists.
    HWND GetToolTipWindow() const noexcept { return m_toolTip.GetSafeHwnd(); }

    // Opens the target as a click does.
    void Activate();
    void Draw(HDC hdc) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static constexpr std::size_t Index(LinkState state) noexcept { return static_cast<std::size_t>(state); }
    bool IsButton() const noexcept;
    ControlMath::Alignment ContentAlignment() const noexcept;
    HICON IconFor(LinkState state) const noexcept;
    void UpdateToolTip();
    void DestroyToolTip() noexcept;
    void OnMouseMove();
    void OnMouseLeave();
    LRESULT OnGetDlgCode(WPARAM wp, LPARAM lp);

    std::wstring m_strTarget;
    std::wstring m_strToolTip;
    std::array<COLORREF, 3> m_colours;
    std::optional<COLORREF> m_background;
    std::array<CUniqueIcon, 3> m_icons;
    LinkOpener m_opener;
    CToolTipCtrl m_toolTip;
    bool m_bHovering = false;
    bool m_bVisited = false;
};
