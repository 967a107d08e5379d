// The framework's boundaries. That commands wait while a modal dialog of the main
// window is open is KavrinCommandsTest's check, against the real window and chooser.
#include "framework/CallbackGuard_win.h"
#include "framework/Dialog_win.h"
#include "tests/support/win/TestDialogRes.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr UINT_PTR kStepTimer = 77;

// A test dialog that runs `step` from a timer once its modal loop runs.
class CStepDialog : public CDialog
{
public:
    explicit CStepDialog(std::function<void(CStepDialog&)> step) : CDialog(IDD_FRAMEWORK_TEST), m_step(std::move(step)) {}

    bool throwFromPreTranslate = false;

protected:
    bool OnInitDialog() override { return ::SetTimer(m_hWnd, kStepTimer, 10, nullptr) != 0; }
    bool OnTimer(UINT_PTR id) override
    {
        if (id == kStepTimer && ::KillTimer(m_hWnd, kStepTimer))
            m_step(*this);
        return id == kStepTimer;
    }
    bool OnCommand(int id, int code, HWND control) override
    {
        if (id == 4242)
            throw std::runtime_error("the command failed");
        return CDialog::OnCommand(id, code, control);
    }
    bool PreTranslateMessage(MSG& msg) override
    {
        if (throwFromPreTranslate && msg.message == WM_TIMER)
            throw std::runtime_error("broken loop");
        return false;
    }

private:
    std::function<void(CStepDialog&)> m_step;
};

struct COwnerWindow : CWnd
{
    COwnerWindow() { CreateEx(0, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 50, 450, 350}, nullptr); }
    HWND Get() const noexcept { return m_hWnd; }
};
} // namespace

TEST(DialogTest, ExceptionsAreReportedAtTheBoundaryAndTheLoopCleansUp)
{
    std::vector<std::wstring> reports;
    SetExceptionReporter([&](const std::wstring& text) { reports.push_back(text); });
    COwnerWindow owner;
    CStepDialog reporting([&](CStepDialog& self) {
        EXPECT_FALSE(::IsWindowEnabled(owner.Get())) << "a modal dialog disables its owner";
        self.SendMessage(WM_COMMAND, MAKEWPARAM(4242, BN_CLICKED), 0);
        self.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(reporting.DoModal(owner.Get()), IDCANCEL);
    EXPECT_EQ(reports, std::vector<std::wstring>({L"the command failed"}));
    SetExceptionReporter({});

    // An exception out of the loop itself leaves through DoModal; the owner is enabled again.
    CStepDialog broken([](CStepDialog&) {});
    broken.throwFromPreTranslate = true;
    EXPECT_THROW(broken.DoModal(owner.Get()), std::runtime_error);
    EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
    EXPECT_EQ(broken.GetSafeHwnd(), nullptr);
}
