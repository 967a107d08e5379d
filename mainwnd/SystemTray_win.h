#pragma once
// The program's icon in the notification area: its tip and balloon, its
// menu, and the move of the main window into and out of the tray.

#include "framework/Wnd_win.h"
#include "resources/SystemTrayRes.h"

#include <shellapi.h>

#include <cstddef>
#include <string>

// The message the shell sends for mouse activity over the icon; the main
// window hands it, with its two parameters, to CSystemTray::OnIconNotify.
inline constexpr UINT WM_TRAY_NOTIFY = WM_APP + 10;

class CSystemTray : public CWnd
{
public:
    // The icon's id, and the menu that a right click shows.
    static constexpr UINT kIconId = IDR_TRAY_MENU;
    // The whole record of this build's platform (956 bytes on 32-bit
    // Windows), as the shell of Windows Vista and later knows it.
    static constexpr DWORD kIconRecordSize = sizeof(NOTIFYICONDATAW);
    // Including the terminator: a tip keeps at most 127 characters.
    static constexpr std::size_t kMaxTipLength = 128;
    static constexpr std::size_t kMaxBalloonLength = 255;
    static constexpr UINT kBalloonTimeout = 10000;
    static constexpr wchar_t kBalloonTitle[] = L"Time Synchronization:";
    static constexpr wchar_t kDefaultTip[] = L"Double-click to restore Kavrin.";

    // Broadcast by the shell when the task bar is (re)created.
    static UINT TaskbarCreatedMessage() noexcept;

    CSystemTray() noexcept;
    ~CSystemTray() override;

    // Creates the own window and adds the icon; the owner receives the
    // icon's messages (the own window when there is no owner).
    bool CreateTrayIcon(HWND owner, HICON icon);
    bool RemoveTrayIcon() noexcept;

    // The tip is kept even while the icon is hidden and shown once it returns.
    void SetTipText(const std::wstring& text) noexcept;
    void ShowSyncBalloon(const std::wstring& text) noexcept;

    // The icon's mouse messages; answers whether they were ours.
    bool OnIconNotify(UINT id, UINT mouseMessage);

    // Moves a window into the notification area (the caller hides it first)
    // and back out again, animated when the system animates minimising.
    void HideToTray(HWND window) const;
    void RestoreFromTray(HWND window) const;

    // The notification icons' area on the screen.
    static RECT FindTrayArea();

    bool IsIconSupported() const noexcept { return m_bIconSupported; }
    bool IsIconHidden() const noexcept { return m_bIconHidden; }
    bool IsIconRemoved() const noexcept { return m_bIconRemoved; }
    bool IsReAddPending() const noexcept { return m_bReAddPending; }
    bool AreBalloonsSupported() const noexcept { return m_bBalloonsSupported; }
    const NOTIFYICONDATAW& GetIconData() const noexcept { return m_nid; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    // The steps that reach the shell and the system settings; tests replace them.
    virtual bool NotifyShell(DWORD message) noexcept;
    virtual bool IsMinimizeAnimationOn() const noexcept;
    // Lets the shell's "TaskbarCreated" broadcast through to `window`.
    virtual bool AllowTaskbarCreated(HWND window, UINT message) noexcept;

private:
    bool AddIcon() noexcept;
    void ReAddIcon() noexcept;
    void OnTaskbarCreated() noexcept;
    void OnWorkAreaChanged() noexcept;
    HWND GetTarget() const noexcept;

    NOTIFYICONDATAW m_nid{};
    bool m_bIconSupported = false;
    bool m_bIconHidden = true;
    bool m_bIconRemoved = true;
    bool m_bReAddPending = false;
    bool m_bBalloonsSupported = false;
    UINT m_uSavedFlags = 0;
    // Receives the menu commands: the owner given at creation, or the
    // application's main window when there was none.
    HWND m_hTargetWnd = nullptr;
};
