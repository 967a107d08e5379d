#include "controls/HyperLink_win.h"
#include "controls/Label_win.h"
#include "controls/XGroupBox_win.h"

#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// Through WM_PAINT on a shown window: the label and the link via a buffer, the group box straight.
TEST(OnScreenTest, ControlsPaintThemselvesOnAShownWindow)
{
    CTestHost host({370, 160});
    CLabel header; CXGroupBox exitGroup; CHyperLink web;
    const HWND headerWnd = host.AddChild(L"Static", L"ca.pool.ntp.org - Canada", SS_LEFT, {10, 10, 360, 44}, 101);
    const HWND groupWnd = host.AddChild(L"Button", L"Automatically Close Kavrin", BS_GROUPBOX, {10, 50, 360, 110}, 102);
    const HWND webWnd = host.AddChild(L"Button", L"www.kavrin.example", BS_PUSHBUTTON, {10, 120, 360, 146}, 103);
    ASSERT_TRUE(header.SubclassDlgItem(host.Get(), 101) && exitGroup.SubclassDlgItem(host.Get(), 102) &&
                web.SubclassDlgItem(host.Get(), 103));
    header.SetTextColor(RGB(255, 255, 0)).SetBkColor(RGB(0, 0, 128)).SetBorder(true);
    exitGroup.SetBoldTitle(true);
    web.SetColors(RGB(0, 0, 255), RGB(0, 128, 0), RGB(128, 0, 0)).SetVisited(true);
    host.Show();
    ::RedrawWindow(host.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

    const CPixels headerPixels = CPixels::Screen(headerWnd), groupPixels = CPixels::Screen(groupWnd);
    EXPECT_EQ(headerPixels.At(1, 1), RGB(0, 0, 128));
    EXPECT_GT(headerPixels.Count(RGB(255, 255, 0), 24), 50);
    EXPECT_NE(groupPixels.At(0, groupPixels.Height() / 2), groupPixels.At(5, groupPixels.Height() / 2)) << "frame";
    EXPECT_GT(CPixels::Screen(webWnd).Count(RGB(128, 0, 0), 24), 20) << "the visited colour";
}
} // namespace
