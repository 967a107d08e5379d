#pragma once
// The theme functions, reached through the "UxTheme.dll" module that
// start-up loads (Process) and keeps loaded. The program does not link to the library, so that
// it runs (with classic drawing) where the library is missing.

#include <windows.h>
#include <uxtheme.h>

#include <optional>
#include <utility>

class CUxThemeApi
{
public:
    // The functions of `module`; null gives an API with none of them.
    explicit CUxThemeApi(HMODULE module) noexcept;
    CUxThemeApi(const CUxThemeApi&) = delete;
    CUxThemeApi& operator=(const CUxThemeApi&) = delete;

    // The process's UxTheme module, loaded and resolved on first use.
    static const CUxThemeApi& Process() noexcept;

    bool IsLoaded() const noexcept;
    // Visual styles are on for this program. A window still draws classic
    // when Open answers null (its class has no theme, or themes were turned
    // off for it).
    bool IsActive() const noexcept;

    HTHEME Open(HWND hwnd, const wchar_t* classList) const noexcept;
    void Close(HTHEME theme) const noexcept;
    bool DrawBackground(HTHEME theme, HDC hdc, int part, int state, const RECT& rect,
                        const RECT* clip) const noexcept;
    std::optional<COLORREF> GetColor(HTHEME theme, int part, int state, int property) const noexcept;

private:
    using IsThemeActiveFn = BOOL(WINAPI*)();
    using IsAppThemedFn = BOOL(WINAPI*)();
    using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    using GetThemeColorFn = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);

    IsThemeActiveFn m_pIsThemeActive = nullptr;
    IsAppThemedFn m_pIsAppThemed = nullptr;
    OpenThemeDataFn m_pOpenThemeData = nullptr;
    CloseThemeDataFn m_pCloseThemeData = nullptr;
    DrawThemeBackgroundFn m_pDrawThemeBackground = nullptr;
    GetThemeColorFn m_pGetThemeColor = nullptr;
};

// An open theme of a window, closed through the API that opened it.
class CUniqueTheme
{
public:
    CUniqueTheme() noexcept = default;
    ~CUniqueTheme() { Reset(); }
    CUniqueTheme(CUniqueTheme&& other) noexcept
        : m_pApi(other.m_pApi), m_theme(std::exchange(other.m_theme, nullptr))
    {
    }
    CUniqueTheme& operator=(CUniqueTheme&& other) noexcept
    {
        if (this != &other)
        {
            Reset();
            m_pApi = other.m_pApi;
            m_theme = std::exchange(other.m_theme, nullptr);
        }
        return *this;
    }
    CUniqueTheme(const CUniqueTheme&) = delete;
    CUniqueTheme& operator=(const CUniqueTheme&) = delete;

    // Opens the theme of `classList` for `hwnd`; stays empty where there is none.
    void Open(const CUxThemeApi& api, HWND hwnd, const wchar_t* classList) noexcept
    {
        Reset();
        m_pApi = &api;
        m_theme = api.Open(hwnd, classList);
    }
    void Reset() noexcept
    {
        if (m_theme && m_pApi)
            m_pApi->Close(m_theme);
        m_theme = nullptr;
    }
    HTHEME Get() const noexcept { return m_theme; }
    explicit operator bool() const noexcept { return m_theme != nullptr; }

private:
    const CUxThemeApi* m_pApi = nullptr;
    HTHEME m_theme = nullptr;
};
