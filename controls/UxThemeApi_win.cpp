#include "controls/UxThemeApi_win.h"

#include "framework/DllSearch_win.h"
#include "framework/Handles_win.h"

namespace
{
template <typename Function>
Function Resolve(HMODULE module, const char* name) noexcept
{
    if (!module)
        return nullptr;
    // Through the generic function type, which converts to any other
    // without a cast-function-type warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
} // namespace

CUxThemeApi::CUxThemeApi(HMODULE module) noexcept
    : m_pIsThemeActive(Resolve<IsThemeActiveFn>(module, "IsThemeActive")),
      m_pIsAppThemed(Resolve<IsAppThemedFn>(module, "IsAppThemed")),
      m_pOpenThemeData(Resolve<OpenThemeDataFn>(module, "OpenThemeData")),
      m_pCloseThemeData(Resolve<CloseThemeDataFn>(module, "CloseThemeData")),
      m_pDrawThemeBackground(Resolve<DrawThemeBackgroundFn>(module, "DrawThemeBackground")),
      m_pGetThemeColor(Resolve<GetThemeColorFn>(module, "GetThemeColor"))
{
}

const CUxThemeApi& CUxThemeApi::Process() noexcept
{
    // Kept loaded until the process ends.
    static const CUniqueModule module(LoadSystemLibrary(L"UxTheme.dll"));
    static const CUxThemeApi api(module.Get());
    return api;
}

bool CUxThemeApi::IsLoaded() const noexcept
{
    return m_pIsThemeActive && m_pIsAppThemed && m_pOpenThemeData && m_pCloseThemeData && m_pDrawThemeBackground &&
           m_pGetThemeColor;
}

bool CUxThemeApi::IsActive() const noexcept
{
    return IsLoaded() && m_pIsThemeActive() && m_pIsAppThemed();
}

HTHEME CUxThemeApi::Open(HWND hwnd, const wchar_t* classList) const noexcept
{
    return IsActive() ? m_pOpenThemeData(hwnd, classList) : nullptr;
}

void CUxThemeApi::Close(HTHEME theme) const noexcept
{
    if (theme && m_pCloseThemeData)
        m_pCloseThemeData(theme);
}

bool CUxThemeApi::DrawBackground(HTHEME theme, HDC hdc, int part, int state, const RECT& rect,
                                 const RECT* clip) const noexcept
{
    return theme && m_pDrawThemeBackground && SUCCEEDED(m_pDrawThemeBackground(theme, hdc, part, state, &rect, clip));
}

std::optional<COLORREF> CUxThemeApi::GetColor(HTHEME theme, int part, int state, int property) const noexcept
{
    COLORREF colour = 0;
    if (theme && m_pGetThemeColor && SUCCEEDED(m_pGetThemeColor(theme, part, state, property, &colour)))
        return colour;
    return std::nullopt;
}
