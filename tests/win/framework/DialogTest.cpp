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
    explicit CStepDialog(std::function<void(CStepDialog&)> step)
        : CDialog(IDD_FRAMEWORK_TEST), m_step(std::move(step)) {}

    bool hideInInit = false;
    bool throwFromPreTranslate = false;
    HBRUSH ctlColorBrush = nullptr;
    std::vector<int> commands;

protected:
    bool OnInitDialog() override
    {
        if (hideInInit)
            ShowWindow(SW_HIDE);
        return ::SetTimer(m_hWnd, kStepTimer, 10, nullptr) != 0;
    }
    bool OnTimer(UINT_PTR id) override
    {
        if (id == kStepTimer && ::KillTimer(m_hWnd, kStepTimer))
            m_step(*this);
        return id == kStepTimer;
    }
    bool OnCommand(int id, int code, HWND control) override
    {
        commands.push_back(id);
        if (id == 4242)
            throw std::runtime_error("the command failed");
        return CDialog::OnCommand(id, code, control);
    }
    HBRUSH OnCtlColor(HDC, HWND, UINT) override { return ctlColorBrush; }
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

class DialogTest : public testing::Test
{
protected:
    void SetUp() override { SetExceptionReporter([this](const std::wstring& text) { reports.push_back(text); }); }
    void TearDown() override { SetExceptionReporter({}); }

    std::vector<std::wstring> reports;
};
} // namespace

TEST_F(DialogTest, ModalDialogsDisableTheirOwnersNestIgnoreCommandsMeanwhileAndHandBackTheirResults)
{
    COwnerWindow owner;
    HWND outerWindow = nullptr;
    CStepDialog outer([&](CStepDialog& self) {
        outerWindow = self.GetSafeHwnd();
        EXPECT_FALSE(::IsWindowEnabled(owner.Get()));
        CStepDialog inner([&](CStepDialog& innerSelf) {
            EXPECT_FALSE(::IsWindowEnabled(outerWindow)) << "the nested dialog's owner";
            // A menu command and a system command for the outer dialog are ignored while this one is open.
            self.SendMessage(WM_COMMAND, MAKEWPARAM(1234, 0), 0);
            self.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_TRUE(self.DeferToOpenModal());
            innerSelf.EndDialog(7);
        });
        EXPECT_EQ(inner.DoModal(outerWindow), 7);
        EXPECT_TRUE(::IsWindowEnabled(outerWindow));
        EXPECT_FALSE(self.DeferToOpenModal());
        self.SendMessage(WM_COMMAND, MAKEWPARAM(1234, 0), 0);
        self.EndDialog(9);
    });

    EXPECT_EQ(outer.DoModal(owner.Get()), 9);
    EXPECT_EQ(outer.commands, std::vector<int>{1234});
    EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
    EXPECT_EQ(::GetActiveWindow(), owner.Get());
    EXPECT_FALSE(::IsWindow(outerWindow));
}

TEST_F(DialogTest, ExceptionsAreReportedAtTheBoundaryAndTheLoopCleansUp)
{
    COwnerWindow owner;
    CStepDialog reporting([&](CStepDialog& self) {
        self.SendMessage(WM_COMMAND, MAKEWPARAM(4242, BN_CLICKED), 0);
        self.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(reporting.DoModal(owner.Get()), IDCANCEL);
    EXPECT_EQ(reports, std::vector<std::wstring>({L"the command failed"}));

    // An exception out of the loop itself leaves through DoModal; the owner is enabled again.
    CStepDialog broken([](CStepDialog&) {});
    broken.throwFromPreTranslate = true;
    EXPECT_THROW(broken.DoModal(owner.Get()), std::runtime_error);
    EXPECT_TRUE(::IsWindowEnabled(owner.Get()));
    EXPECT_EQ(broken.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, ADialogThatHidesItselfInSetUpStaysHidden)
{
    bool visible = true;
    CStepDialog dialog([&](CStepDialog& self) {
        visible = self.IsWindowVisible();
        self.EndDialog(IDOK);
    });
    dialog.hideInInit = true;
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_FALSE(visible);
}

TEST_F(DialogTest, ModelessDialogAnswersControlColoursThroughItsProcedureAndGoesWithItsObject)
{
    HWND window = nullptr;
    {
        CStepDialog dialog([](CStepDialog&) {});
        ASSERT_TRUE(dialog.Create(nullptr));
        window = dialog.GetSafeHwnd();
        dialog.ctlColorBrush = ::GetSysColorBrush(COLOR_INFOBK);
        const HWND label = dialog.GetDlgItem(IDC_FRAMEWORK_TEST_LABEL);
        EXPECT_EQ(dialog.SendMessage(WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(label)),
                  reinterpret_cast<LRESULT>(dialog.ctlColorBrush));
    }
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(DialogTest, TwoWrappersSubclassOneWindowWithoutColliding)
{
    struct CCounter : CWnd
    {
        int paints = 0;
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
        {
            return paints += msg == WM_USER + 5, DefWindowProc(msg, wp, lp);
        }
    };
    COwnerWindow window;
    CCounter first, second;
    ASSERT_TRUE(first.SubclassWindow(window.Get()));
    ASSERT_TRUE(second.SubclassWindow(window.Get()));
    ::SendMessageW(window.Get(), WM_USER + 5, 0, 0);
    first.Detach();
    ::SendMessageW(window.Get(), WM_USER + 5, 0, 0);
    EXPECT_EQ(first.paints, 1);
    EXPECT_EQ(second.paints, 2);
}
