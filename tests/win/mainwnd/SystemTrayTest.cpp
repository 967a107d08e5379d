#include "mainwnd/SystemTray.h"

#include "app/ProcessGlobals.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr UINT_PTR kChooseFirstItemTimer = 1;
constexpr UINT_PTR kCloseMenuTimer = 2;

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

// Makes a window the application's main window for the life of the scope.
class CMainWindowScope
{
public:
    explicit CMainWindowScope(CWnd* wnd)
    {
        if (!AfxGetApp())
            m_app.emplace(L"SystemTrayTest");
        m_previous = std::exchange(AfxGetApp()->m_pMainWnd, wnd);
    }
    ~CMainWindowScope() { AfxGetApp()->m_pMainWnd = m_previous; }
    CMainWindowScope(const CMainWindowScope&) = delete;
    CMainWindowScope& operator=(const CMainWindowScope&) = delete;

private:
    std::optional<CWinApp> m_app;
    CWnd* m_previous = nullptr;
};

// Talks to the real shell but keeps a copy of every record sent; can make
// the shell refuse and choose the animation setting.
class CRecordingTray final : public CSystemTray
{
public:
    struct Call
    {
        DWORD message;
        NOTIFYICONDATAW record;
        bool answer;
    };
    std::vector<Call> calls;
    bool refuseAll = false;
    std::optional<bool> animation;

    std::vector<DWORD> Messages() const
    {
        std::vector<DWORD> messages;
        for (const auto& call : calls)
            messages.push_back(call.message);
        return messages;
    }

protected:
    bool NotifyShell(DWORD message) noexcept override
    {
        const bool answer = !refuseAll && CSystemTray::NotifyShell(message);
        calls.push_back({message, GetIconData(), answer});
        return answer;
    }
    bool IsMinimizeAnimationOn() const noexcept override
    {
        return animation ? *animation : CSystemTray::IsMinimizeAnimationOn();
    }
};

using Messages = std::vector<DWORD>;

// Wine's shell, like Windows', modifies only an icon that it holds.
bool ShellHasIcon(const NOTIFYICONDATAW& record)
{
    NOTIFYICONDATAW probe = record;
    probe.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 2000)
{
    for (const DWORD start = ::GetTickCount();; ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT))
    {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        if (done())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
    }
}

class SystemTray : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_main.IsWindow());
        // A menu that a faulty case opens by mistake closes by itself.
        ::SetTimer(Main(), kCloseMenuTimer, 2000, nullptr);
    }
    bool Create(HWND owner) { return m_tray.CreateTrayIcon(owner, m_icon); }
    HWND Main() const { return m_main.GetSafeHwnd(); }
    const NOTIFYICONDATAW& Record() const { return m_tray.GetIconData(); }
    void BroadcastTaskbarCreated()
    {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(HWND_BROADCAST, ProcessGlobals().uTaskbarCreatedMessage, 0, 0, SMTO_ABORTIFHUNG, 2000,
                              &ignored);
    }
    // Another window in the foreground, so that a case sees who takes it.
    void ForegroundElsewhere() { ::SetForegroundWindow(m_other.GetSafeHwnd()); }

    CRecordingWnd m_main;
    CRecordingWnd m_other;
    CMainWindowScope m_scope{&m_main};
    CRecordingTray m_tray;
    HICON m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
};
} // namespace

TEST_F(SystemTray, CreateAddsTheIconAndRemoveDeletesIt)
{
    // Before creation every operation does nothing.
    m_tray.SetTipText(L"tip");
    m_tray.ShowSyncBalloon(L"balloon");
    EXPECT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_TRUE(m_tray.calls.empty());
    EXPECT_STREQ(Record().szTip, L"");
    EXPECT_TRUE(m_tray.IsIconHidden() && m_tray.IsIconRemoved());

    ASSERT_NE(m_icon, nullptr);
    ASSERT_TRUE(Create(Main()));
    const NOTIFYICONDATAW& nid = Record();
    EXPECT_EQ(nid.cbSize, 956u);
    EXPECT_EQ(nid.hWnd, Main());
    EXPECT_EQ(nid.uID, 131u);
    EXPECT_EQ(nid.uFlags, 7u);
    EXPECT_EQ(nid.uCallbackMessage, 0x800Au);
    EXPECT_EQ(nid.hIcon, m_icon);
    EXPECT_STREQ(nid.szTip, L"Double-click to restore Kavrin.");
    EXPECT_TRUE(m_tray.IsIconSupported());
    EXPECT_FALSE(m_tray.IsIconHidden() || m_tray.IsIconRemoved() || m_tray.IsReAddPending());
    EXPECT_TRUE(ShellHasIcon(nid));

    ASSERT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_TRUE(m_tray.IsIconHidden() && m_tray.IsIconRemoved());
    EXPECT_FALSE(ShellHasIcon(nid));
    EXPECT_TRUE(m_tray.RemoveTrayIcon());
    EXPECT_EQ(m_tray.Messages(), (Messages{NIM_ADD, NIM_DELETE}));
}

TEST_F(SystemTray, OwnWindowTakesTheIconMessagesWithoutAnOwner)
{
    ASSERT_TRUE(Create(nullptr));
    const HWND own = m_tray.GetSafeHwnd();
    EXPECT_EQ(Record().hWnd, own);
    EXPECT_FALSE(::IsWindowVisible(own));
    EXPECT_EQ(::GetWindowTextLengthW(own), 0);
    EXPECT_EQ(::GetAncestor(own, GA_PARENT), ::GetDesktopWindow());
    const RECT rect = m_tray.GetWindowRect();
    EXPECT_TRUE(rect.right == rect.left && rect.bottom == rect.top);

    ::SendMessageW(own, WM_TRAY_NOTIFY, 131, WM_LBUTTONDBLCLK);
    PumpUntil([&] { return !m_main.received.empty(); });
    EXPECT_EQ(m_main.received, std::vector<UINT>{ID_TRAY_RESTORE});
}

TEST_F(SystemTray, TipIsCutTo127CharactersAndSentOnlyWhileShown)
{
    ASSERT_TRUE(Create(Main()));
    for (const std::size_t length : {0u, 1u, 127u, 128u, 500u})
    {
        std::wstring text;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<wchar_t>(L'0' + i % 10);
        m_tray.SetTipText(text);
        const auto& sent = m_tray.calls.back();
        EXPECT_EQ(sent.message, static_cast<DWORD>(NIM_MODIFY)) << length;
        EXPECT_EQ(sent.record.uFlags, static_cast<UINT>(NIF_TIP)) << length;
        EXPECT_EQ(sent.record.szTip, text.substr(0, 127)) << length;
        EXPECT_TRUE(sent.answer) << length;
    }
    ASSERT_TRUE(m_tray.RemoveTrayIcon());
    m_tray.calls.clear();
    m_tray.SetTipText(L"Later");
    EXPECT_STREQ(Record().szTip, L"Later");
    EXPECT_TRUE(m_tray.calls.empty());
}

TEST_F(SystemTray, BalloonIsSentOnceAndCleared)
{
    ASSERT_TRUE(m_tray.AreBalloonsSupported()); // Wine reports NT 6 or later
    ASSERT_TRUE(Create(Main()));
    const std::wstring text(300, L'x');
    m_tray.ShowSyncBalloon(text);
    ASSERT_EQ(m_tray.Messages(), (Messages{NIM_ADD, NIM_MODIFY}));
    const auto& sent = m_tray.calls.back().record;
    EXPECT_EQ(sent.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(sent.szInfo, text.substr(0, 255));
    EXPECT_STREQ(sent.szInfoTitle, L"Time Synchronization:");
    EXPECT_EQ(sent.dwInfoFlags, static_cast<DWORD>(NIIF_NONE));
    EXPECT_EQ(sent.uTimeout, 10000u);
    EXPECT_TRUE(m_tray.calls.back().answer);
    EXPECT_STREQ(Record().szInfo, L"");
}

TEST_F(SystemTray, IgnoresOtherIconsMissingTargetsAndOtherMouseMessages)
{
    for (const UINT id : {0u, 130u, 132u, 0xFFFFu})
        for (const UINT mouse : {WM_LBUTTONDBLCLK, WM_RBUTTONUP})
            EXPECT_FALSE(m_tray.OnIconNotify(id, mouse)) << id << " " << mouse;
    {
        const CMainWindowScope noMainWindow(nullptr);
        EXPECT_FALSE(m_tray.OnIconNotify(131, WM_LBUTTONDBLCLK));
        EXPECT_FALSE(m_tray.OnIconNotify(131, WM_RBUTTONUP));
    }
    for (const UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_CONTEXTMENU})
        EXPECT_TRUE(m_tray.OnIconNotify(131, mouse)) << mouse;
    PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(m_main.received.empty());
}

TEST_F(SystemTray, DoubleClickPostsTheFirstMenuCommand)
{
    ForegroundElsewhere();
    EXPECT_TRUE(m_tray.OnIconNotify(131, WM_LBUTTONDBLCLK));
    EXPECT_EQ(::GetForegroundWindow(), Main());
    EXPECT_TRUE(m_main.received.empty()); // posted, not sent
    PumpUntil([&] { return !m_main.received.empty(); });
    EXPECT_EQ(m_main.received, std::vector<UINT>{ID_TRAY_RESTORE});
}

TEST_F(SystemTray, RightClickMenuSendsTheChosenCommandThenAnEmptyMessage)
{
    ::SetTimer(Main(), kChooseFirstItemTimer, 100, nullptr);
    EXPECT_TRUE(m_tray.OnIconNotify(131, WM_RBUTTONUP));
    PumpUntil([&] { return m_main.received.size() >= 2; });
    EXPECT_EQ(m_main.received, (std::vector<UINT>{ID_TRAY_RESTORE, 0}));
}

TEST_F(SystemTray, TaskbarCreatedReAddsOnlyAShownIcon)
{
    ASSERT_TRUE(Create(Main()));
    m_tray.SetTipText(L"Synchronized");
    NOTIFYICONDATAW lost = Record();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &lost)); // as when Explorer ends
    m_tray.calls.clear();
    BroadcastTaskbarCreated();
    EXPECT_TRUE(ShellHasIcon(Record()));
    EXPECT_FALSE(m_tray.IsIconHidden() || m_tray.IsReAddPending());
    ASSERT_EQ(m_tray.Messages(), Messages{NIM_ADD});
    EXPECT_EQ(m_tray.calls[0].record.uFlags, 7u);
    EXPECT_STREQ(m_tray.calls[0].record.szTip, L"Synchronized");

    ASSERT_TRUE(m_tray.RemoveTrayIcon());
    m_tray.calls.clear();
    BroadcastTaskbarCreated();
    EXPECT_TRUE(m_tray.IsReAddPending() && m_tray.IsIconHidden());
    EXPECT_TRUE(m_tray.calls.empty());
    EXPECT_FALSE(ShellHasIcon(Record()));
}

TEST_F(SystemTray, WorkAreaChangeRefreshesAnIconThatIsStillShown)
{
    ASSERT_TRUE(Create(Main()));
    const HWND own = m_tray.GetSafeHwnd();
    m_tray.calls.clear();
    ::SendMessageW(own, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    EXPECT_TRUE(m_tray.calls.empty());

    ::SendMessageW(own, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    // The shell refuses a second add; the icon is modified instead.
    ASSERT_EQ(m_tray.Messages(), (Messages{NIM_ADD, NIM_MODIFY}));
    EXPECT_FALSE(m_tray.calls[0].answer);
    EXPECT_EQ(m_tray.calls[1].record.uFlags, 7u);
    EXPECT_FALSE(m_tray.IsIconHidden() || m_tray.IsReAddPending());
    EXPECT_TRUE(ShellHasIcon(Record()));

    ASSERT_TRUE(m_tray.RemoveTrayIcon());
    m_tray.calls.clear();
    ::SendMessageW(own, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_FALSE(m_tray.IsReAddPending());
    EXPECT_TRUE(m_tray.calls.empty());
}

TEST_F(SystemTray, FailedAddLeavesTheIconHiddenAndPending)
{
    m_tray.refuseAll = true;
    EXPECT_FALSE(Create(Main()));
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
        CSystemTray tray;
        // The shell drops the icons of a destroyed window by itself: the
        // owner here outlives the tray.
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
        EXPECT_EQ(::GetWindowTextLengthW(parking), 0);
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

TEST_F(SystemTray, FindTrayAreaWalksTheTaskbarWindows)
{
    // A task bar on the right edge, made in this process: the clock sits on
    // top of the icons, so the area lies below it.
    const auto registerClass = [](const wchar_t* name) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        ::RegisterClassW(&wc);
    };
    for (const wchar_t* name : {L"Shell_TrayWnd", L"TrayNotifyWnd", L"TrayClockWClass"})
        registerClass(name);
    const CUniqueWindow bar(::CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 1200, 0, 80, 1024,
                                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    const HWND notify = ::CreateWindowExW(0, L"TrayNotifyWnd", L"", WS_CHILD, 2, 800, 76, 220, bar.Get(), nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    ::CreateWindowExW(0, L"TrayClockWClass", L"", WS_CHILD, 0, 0, 76, 30, notify, nullptr, ::GetModuleHandleW(nullptr),
                      nullptr);
    ASSERT_EQ(::FindWindowW(L"Shell_TrayWnd", nullptr), bar.Get());
    const RECT area = CSystemTray::FindTrayArea();
    EXPECT_EQ(area.left, 1202);
    EXPECT_EQ(area.top, 830);
    EXPECT_EQ(area.right, 1278);
    EXPECT_EQ(area.bottom, 1020);
}

TEST_F(SystemTray, FindTrayAreaUsesTheTaskbarPositionWhenTheTaskbarWindowIsEmpty)
{
    // With its first window a process gets Wine's desktop and with it an
    // empty task bar window and a task bar position.
    const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT rect{};
    if (!taskbar || !::GetWindowRect(taskbar, &rect) || !::IsRectEmpty(&rect))
        GTEST_SKIP() << "not Wine's empty task bar window";
    APPBARDATA data{};
    data.cbSize = sizeof data;
    ASSERT_TRUE(::SHAppBarMessage(ABM_GETTASKBARPOS, &data));
    ASSERT_EQ(data.uEdge, static_cast<UINT>(ABE_BOTTOM));
    const RECT area = CSystemTray::FindTrayArea();
    EXPECT_EQ(area.left, data.rc.right - 100);
    EXPECT_EQ(area.right, data.rc.right - 16);
    EXPECT_EQ(area.top, data.rc.top);
    EXPECT_EQ(area.bottom, data.rc.bottom);
}
