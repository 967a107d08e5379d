#include "framework/Handles_win.h"
#include "framework/ProcessGlobals_win.h"
#include "framework/WinApp_win.h"
#include "mainwnd/SystemTray_win.h"
#include "resources/AppRes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr UINT_PTR kChooseFirstItemTimer = 1, kCloseMenuTimer = 2;
using Messages = std::vector<DWORD>;

// Stands in for the main window: keeps the commands and the empty messages
// (as 0) that reach it, in order.
class CRecordingWnd final : public CWnd
{
public:
    CRecordingWnd() noexcept { CreateEx(0, L"Tray test", WS_POPUP | WS_CAPTION, RECT{100, 100, 420, 300}, nullptr); }
    ~CRecordingWnd() override { DestroyWindow(); }
    std::vector<UINT> received;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if ((msg == WM_COMMAND && lp == 0) || msg == WM_NULL)
            received.push_back(msg == WM_NULL ? 0 : LOWORD(wp));
        else if (msg == WM_TIMER && wp == kChooseFirstItemTimer)
        {
            // Runs inside the menu's loop, which takes its keys from the queue.
            ::KillTimer(m_hWnd, wp);
            PostMessage(WM_KEYDOWN, VK_DOWN);
            PostMessage(WM_KEYDOWN, VK_RETURN);
        }
        else if (msg == WM_TIMER && wp == kCloseMenuTimer)
            ::EndMenu();
        return DefWindowProc(msg, wp, lp);
    }
};

// Talks to the real shell but keeps a copy of every record sent; can make
// the shell refuse and choose the animation setting.
class CRecordingTray final : public CSystemTray
{
public:
    struct Call { DWORD message; NOTIFYICONDATAW record; bool answer; };
    std::vector<Call> calls;
    std::vector<std::pair<HWND, UINT>> allowedMessages;
    bool refuseAll = false;
    std::optional<bool> animation;

    Messages Sent() const
    {
        Messages messages;
        for (const Call& call : calls)
            messages.push_back(call.message);
        return messages;
    }

protected:
    bool NotifyShell(DWORD message) noexcept override
    {
        calls.push_back({message, GetIconData(), !refuseAll && CSystemTray::NotifyShell(message)});
        return calls.back().answer;
    }
    bool IsMinimizeAnimationOn() const noexcept override { return animation.value_or(false); }
    bool AllowTaskbarCreated(HWND window, UINT message) noexcept override
    {
        allowedMessages.emplace_back(window, message);
        return CSystemTray::AllowTaskbarCreated(window, message);
    }
};

// Wine's shell, like Windows', modifies only an icon that it holds.
bool ShellHasIcon(NOTIFYICONDATAW record)
{
    record.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 2000)
{
    for (const DWORD start = ::GetTickCount(); !done(); ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT))
    {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
    return true;
}

// The recording window is the application's main window for each case.
class SystemTray : public testing::Test
{
protected:
    SystemTray()
    {
        if (!AfxGetApp())
            m_app.emplace(L"SystemTrayTest");
        m_previousMain = std::exchange(AfxGetApp()->m_pMainWnd, &m_main);
    }
    ~SystemTray() override { AfxGetApp()->m_pMainWnd = m_previousMain; }
    void SetUp() override
    {
        ASSERT_TRUE(m_main.IsWindow());
        ASSERT_NE(m_icon, nullptr);
        // A menu that a faulty case opens by mistake closes by itself.
        ::SetTimer(Main(), kCloseMenuTimer, 2000, nullptr);
    }
    bool Create() { return m_tray.CreateTrayIcon(Main(), m_icon); }
    HWND Main() const { return m_main.GetSafeHwnd(); }
    const NOTIFYICONDATAW& Record() const { return m_tray.GetIconData(); }
    static void BroadcastTaskbarCreated()
    {
        ::SendMessageTimeoutW(HWND_BROADCAST, ProcessGlobals().uTaskbarCreatedMessage, 0, 0, SMTO_ABORTIFHUNG, 2000,
                              nullptr);
    }
    // Another window in the foreground, so that a case sees who takes it.
    void ForegroundElsewhere() { ::SetForegroundWindow(m_other.GetSafeHwnd()); }

    std::optional<CWinApp> m_app;
    CRecordingWnd m_main, m_other;
    CWnd* m_previousMain = nullptr;
    CRecordingTray m_tray;
    HICON m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
};
} // namespace

TEST_F(SystemTray, CreateAddsTheIconLetsTheTaskbarsReturnThroughAndRemoveDeletesIt)
{
    // Before creation every operation does nothing.
    m_tray.SetTipText(L"tip");
    m_tray.ShowSyncBalloon(L"balloon");
    EXPECT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_TRUE(m_tray.calls.empty());
    EXPECT_TRUE(m_tray.IsIconHidden() && m_tray.IsIconRemoved());

    ASSERT_TRUE(Create());
    const NOTIFYICONDATAW& nid = Record();
    EXPECT_EQ(nid.hWnd, Main());
    EXPECT_EQ(nid.hIcon, m_icon);
    EXPECT_STREQ(nid.szTip, L"Double-click to restore Kavrin.");
    EXPECT_FALSE(m_tray.IsIconHidden() || m_tray.IsIconRemoved() || m_tray.IsReAddPending());
    EXPECT_TRUE(ShellHasIcon(nid));
    ASSERT_NE(ProcessGlobals().uTaskbarCreatedMessage, 0u);
    EXPECT_EQ(m_tray.allowedMessages,
              (std::vector<std::pair<HWND, UINT>>{{m_tray.GetSafeHwnd(), ProcessGlobals().uTaskbarCreatedMessage}}));

    ASSERT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_TRUE(m_tray.IsIconHidden() && m_tray.IsIconRemoved());
    EXPECT_FALSE(ShellHasIcon(nid));
    EXPECT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_EQ(m_tray.Sent(), (Messages{NIM_ADD, NIM_DELETE}));
}

TEST_F(SystemTray, TipAndBalloonAreCutToTheirLengthAndTheTipIsSentOnlyWhileShown)
{
    ASSERT_TRUE(Create());
    for (const std::size_t length : {0u, 127u, 128u, 500u})
    {
        SCOPED_TRACE(length);
        const std::wstring text(length, L'7');
        m_tray.SetTipText(text);
        const auto& sent = m_tray.calls.back();
        EXPECT_EQ(sent.message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(sent.record.uFlags, static_cast<UINT>(NIF_TIP));
        EXPECT_EQ(sent.record.szTip, text.substr(0, 127));
        EXPECT_TRUE(sent.answer);
    }

    ASSERT_TRUE(m_tray.AreBalloonsSupported()); // Wine reports NT 6 or later
    const std::wstring text(300, L'x');
    m_tray.ShowSyncBalloon(text);
    const auto& sent = m_tray.calls.back();
    EXPECT_EQ(sent.message, static_cast<DWORD>(NIM_MODIFY));
    // The shell reads the balloon's fields only from a record whose size is
    // the whole record of this platform (976 bytes on 64-bit Windows, 956 on
    // 32-bit); a shorter one shows garbage or nothing.
    EXPECT_EQ(sent.record.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(sent.record.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(sent.record.szInfo, text.substr(0, 255));
    EXPECT_STREQ(sent.record.szInfoTitle, L"Time Synchronization:");
    EXPECT_EQ(sent.record.dwInfoFlags, static_cast<DWORD>(NIIF_NONE));
    EXPECT_EQ(sent.record.uTimeout, 10000u);
    EXPECT_TRUE(sent.answer);
    EXPECT_STREQ(Record().szInfo, L"") << "sent once";

    ASSERT_TRUE(m_tray.RemoveTrayIcon());
    m_tray.calls.clear();
    m_tray.SetTipText(L"Later");
    EXPECT_STREQ(Record().szTip, L"Later");
    EXPECT_TRUE(m_tray.calls.empty());
}

TEST_F(SystemTray, DoubleClickPostsTheFirstMenuCommandAndRightClickShowsTheMenu)
{
    for (const UINT id : {0u, 130u, 132u, 0xFFFFu})
        EXPECT_FALSE(m_tray.OnIconNotify(id, WM_LBUTTONDBLCLK)) << id;
    for (const UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_CONTEXTMENU})
        EXPECT_TRUE(m_tray.OnIconNotify(CSystemTray::kIconId, mouse)) << mouse;
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_FALSE(m_tray.OnIconNotify(CSystemTray::kIconId, WM_LBUTTONDBLCLK)) << "no main window";
    EXPECT_FALSE(m_tray.OnIconNotify(CSystemTray::kIconId, WM_RBUTTONUP)) << "no main window";
    AfxGetApp()->m_pMainWnd = &m_main;
    PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(m_main.received.empty());

    ForegroundElsewhere();
    EXPECT_TRUE(m_tray.OnIconNotify(CSystemTray::kIconId, WM_LBUTTONDBLCLK));
    EXPECT_EQ(::GetForegroundWindow(), Main());
    EXPECT_TRUE(m_main.received.empty()) << "posted, not sent";
    PumpUntil([&] { return !m_main.received.empty(); });
    EXPECT_EQ(m_main.received, std::vector<UINT>{ID_TRAY_RESTORE});

    // The chosen command, then the empty message that follows the menu.
    m_main.received.clear();
    ::SetTimer(Main(), kChooseFirstItemTimer, 100, nullptr);
    EXPECT_TRUE(m_tray.OnIconNotify(CSystemTray::kIconId, WM_RBUTTONUP));
    PumpUntil([&] { return m_main.received.size() >= 2; });
    EXPECT_EQ(m_main.received, (std::vector<UINT>{ID_TRAY_RESTORE, 0}));
}

TEST_F(SystemTray, TaskbarRestartAndWorkAreaChangeBringBackOnlyAShownIcon)
{
    // A work-area change finds the icon still there and modifies it.
    for (const bool lostByShell : {true, false})
    {
        SCOPED_TRACE(lostByShell ? "task bar restart" : "work area");
        const auto trigger = [&] {
            if (lostByShell)
                BroadcastTaskbarCreated();
            else
                ::SendMessageW(m_tray.GetSafeHwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        };
        ASSERT_TRUE(Create());
        m_tray.SetTipText(L"Synchronized");
        NOTIFYICONDATAW lost = Record();
        if (lostByShell)
        {
            ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &lost)); // as when Explorer ends
        }
        m_tray.calls.clear();
        ::SendMessageW(m_tray.GetSafeHwnd(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
        EXPECT_TRUE(m_tray.calls.empty()) << "another setting";
        trigger();
        EXPECT_TRUE(ShellHasIcon(Record()));
        EXPECT_FALSE(m_tray.IsIconHidden() || m_tray.IsReAddPending());
        ASSERT_EQ(m_tray.Sent(), (lostByShell ? Messages{NIM_ADD} : Messages{NIM_ADD, NIM_MODIFY}));
        EXPECT_EQ(m_tray.calls.back().record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_STREQ(m_tray.calls.back().record.szTip, L"Synchronized");

        ASSERT_TRUE(m_tray.RemoveTrayIcon());
        m_tray.calls.clear();
        trigger();
        EXPECT_TRUE(m_tray.calls.empty());
        EXPECT_FALSE(ShellHasIcon(Record()));
        EXPECT_EQ(m_tray.IsReAddPending(), lostByShell) << "only the task bar's return leaves the re-adding due";
    }
}

TEST_F(SystemTray, FailedAddLeavesTheIconHiddenAndPending)
{
    m_tray.refuseAll = true;
    EXPECT_FALSE(Create());
    EXPECT_TRUE(m_tray.IsIconHidden() && m_tray.IsIconRemoved() && m_tray.IsReAddPending());
    m_tray.refuseAll = false;
    m_tray.calls.clear();
    m_tray.SetTipText(L"Not sent");
    BroadcastTaskbarCreated();
    EXPECT_TRUE(m_tray.calls.empty());
    EXPECT_STREQ(Record().szTip, L"Not sent");
    EXPECT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_FALSE(m_tray.IsReAddPending());
}

TEST_F(SystemTray, DestructionDeletesTheIconAndTheOwnWindow)
{
    HWND own = nullptr;
    NOTIFYICONDATAW record{};
    {
        // The shell drops the icons of a destroyed window by itself: the
        // owner here outlives the tray.
        CSystemTray tray;
        ASSERT_TRUE(tray.CreateTrayIcon(Main(), m_icon));
        own = tray.GetSafeHwnd();
        record = tray.GetIconData();
        ASSERT_TRUE(ShellHasIcon(record));
    }
    EXPECT_FALSE(::IsWindow(own));
    EXPECT_FALSE(ShellHasIcon(record));
}

TEST_F(SystemTray, HideAndRestoreMoveTheWindowWithAndWithoutAnimation)
{
    const auto hasVisibleStyle = [&] { return (::GetWindowLongPtrW(Main(), GWL_STYLE) & WS_VISIBLE) != 0; };
    HWND firstParking = nullptr;
    for (const bool animate : {false, true})
    {
        SCOPED_TRACE(animate ? "animated" : "immediate");
        m_tray.animation = animate;
        m_main.ShowWindow(SW_SHOW);
        // The visible style goes even when the caller did not hide the window first.
        m_tray.HideToTray(Main());
        const HWND parking = ::GetAncestor(Main(), GA_PARENT);
        EXPECT_NE(parking, ::GetDesktopWindow());
        EXPECT_FALSE(::IsWindowVisible(parking));
        EXPECT_FALSE(hasVisibleStyle());
        // One parking window serves the whole process.
        EXPECT_EQ(parking, firstParking ? firstParking : (firstParking = parking));

        ForegroundElsewhere();
        m_tray.RestoreFromTray(Main());
        EXPECT_EQ(::GetAncestor(Main(), GA_PARENT), ::GetDesktopWindow());
        EXPECT_TRUE(m_main.IsWindowVisible());
        EXPECT_EQ(::GetForegroundWindow(), Main());
        // As at the window's first showing: restoring a window not in the tray.
        m_tray.RestoreFromTray(Main());
        EXPECT_EQ(::GetAncestor(Main(), GA_PARENT), ::GetDesktopWindow());
        EXPECT_TRUE(hasVisibleStyle());
    }
}
