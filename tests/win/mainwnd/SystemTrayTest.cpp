#include "MainWindowTestSupport_win.h"
#include "framework/WinApp_win.h"
#include "mainwnd/SystemTray_win.h"
#include "resources/AppRes.h"
#include "tests/support/win/ShellIcon.h"

#include <optional>
#include <utility>
#include <vector>

namespace
{
constexpr UINT_PTR kChooseFirstItemTimer = 1, kCloseMenuTimer = 2;

// Stands in for the main window: keeps the commands and empty messages (as 0) that reach it.
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
        else if (msg == WM_TIMER && wp == kChooseFirstItemTimer && ::KillTimer(m_hWnd, wp))
            PostMessage(WM_KEYDOWN, VK_DOWN), PostMessage(WM_KEYDOWN, VK_RETURN); // into the menu's loop
        else if (msg == WM_TIMER && wp == kCloseMenuTimer)
            ::EndMenu();
        return DefWindowProc(msg, wp, lp);
    }
};

class CRecordingTray final : public CSystemTray // the real shell, every record kept
{
public:
    struct Call { DWORD message; NOTIFYICONDATAW record; bool answer; };
    std::vector<Call> calls;
    std::vector<std::pair<HWND, UINT>> allowedMessages;
    bool animation = false;

protected:
    bool NotifyShell(DWORD message) noexcept override
    {
        calls.push_back({message, GetIconData(), CSystemTray::NotifyShell(message)});
        return calls.back().answer;
    }
    bool IsMinimizeAnimationOn() const noexcept override { return animation; }
    bool AllowTaskbarCreated(HWND window, UINT message) noexcept override
    {
        allowedMessages.emplace_back(window, message);
        return CSystemTray::AllowTaskbarCreated(window, message);
    }
};

bool ShellHasIcon(const NOTIFYICONDATAW& record) { return ShellHasIcon(record.hWnd, record.uID); }

class SystemTray : public testing::Test
{
protected:
    SystemTray()
    {
        if (!AfxGetApp())
            m_app.emplace(L"SystemTrayTest");
        m_previousMain = std::exchange(AfxGetApp()->m_pMainWnd, &m_main);
        // A menu that a faulty case opens by mistake closes by itself.
        ::SetTimer(Main(), kCloseMenuTimer, 2000, nullptr);
    }
    ~SystemTray() override { AfxGetApp()->m_pMainWnd = m_previousMain; }
    bool Create() { return m_tray.CreateTrayIcon(Main(), m_icon); }
    HWND Main() const { return m_main.GetSafeHwnd(); }

    std::optional<CWinApp> m_app;
    CRecordingWnd m_main, m_other;
    CWnd* m_previousMain = nullptr;
    CRecordingTray m_tray;
    HICON m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
};
} // namespace

TEST_F(SystemTray, CreateAddsTheIconLetsTheTaskbarsReturnThroughAndRemoveDeletesIt)
{
    ASSERT_TRUE(Create());
    const NOTIFYICONDATAW& nid = m_tray.GetIconData();
    EXPECT_TRUE(ShellHasIcon(nid));
    ASSERT_NE(CSystemTray::TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(m_tray.allowedMessages,
              (std::vector<std::pair<HWND, UINT>>{{m_tray.GetSafeHwnd(), CSystemTray::TaskbarCreatedMessage()}}));

    ASSERT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_TRUE(m_tray.IsIconHidden() && m_tray.IsIconRemoved());
    EXPECT_FALSE(ShellHasIcon(nid));
}

TEST_F(SystemTray, TipAndBalloonAreCutToTheirLengthAndTheBalloonFillsTheWholeRecord)
{
    ASSERT_TRUE(Create());
    const std::wstring longText(500, L'x');
    m_tray.SetTipText(longText);
    EXPECT_EQ(m_tray.calls.back().record.szTip, longText.substr(0, 127));

    m_tray.ShowSyncBalloon(longText);
    const auto& sent = m_tray.calls.back();
    // The shell reads the balloon only from a record of this platform's whole size.
    EXPECT_EQ(sent.record.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(sent.record.szInfo, longText.substr(0, 255));
    EXPECT_TRUE(sent.answer) << "the shell took the balloon";
}

TEST_F(SystemTray, DoubleClickPostsTheFirstMenuCommandAndRightClickShowsTheMenu)
{
    ::SetForegroundWindow(m_other.GetSafeHwnd());
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
                ::SendMessageTimeoutW(HWND_BROADCAST, CSystemTray::TaskbarCreatedMessage(), 0, 0, 0, 2000, nullptr);
            else
                ::SendMessageW(m_tray.GetSafeHwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        };
        ASSERT_TRUE(Create());
        m_tray.SetTipText(L"Synchronized");
        NOTIFYICONDATAW lost = m_tray.GetIconData();
        ASSERT_TRUE(!lostByShell || ::Shell_NotifyIconW(NIM_DELETE, &lost)); // as when Explorer ends
        m_tray.calls.clear();
        trigger();
        EXPECT_TRUE(ShellHasIcon(m_tray.GetIconData()));
        ASSERT_FALSE(m_tray.calls.empty());
        EXPECT_STREQ(m_tray.calls.back().record.szTip, L"Synchronized") << "the icon comes back with its tip";

        ASSERT_TRUE(m_tray.RemoveTrayIcon());
        m_tray.calls.clear();
        trigger();
        EXPECT_TRUE(m_tray.calls.empty());
        EXPECT_EQ(m_tray.IsReAddPending(), lostByShell) << "only the task bar's return leaves the re-adding due";
    }
}

TEST_F(SystemTray, HideAndRestoreMoveTheWindowWithAndWithoutAnimation)
{
    for (const bool animate : {false, true})
    {
        SCOPED_TRACE(animate ? "animated" : "immediate");
        m_tray.animation = animate;
        m_main.ShowWindow(SW_SHOW);
        m_tray.HideToTray(Main());
        EXPECT_NE(::GetAncestor(Main(), GA_PARENT), ::GetDesktopWindow()) << "parked";
        EXPECT_FALSE(::GetWindowLongPtrW(Main(), GWL_STYLE) & WS_VISIBLE);

        ::SetForegroundWindow(m_other.GetSafeHwnd());
        m_tray.RestoreFromTray(Main());
        EXPECT_EQ(::GetAncestor(Main(), GA_PARENT), ::GetDesktopWindow());
        EXPECT_TRUE(m_main.IsWindowVisible());
        EXPECT_EQ(::GetForegroundWindow(), Main());
    }
}
