#include "mainwnd/TrayGeometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

namespace TrayGeometry
{
void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
} // namespace TrayGeometry

using namespace TrayGeometry;

namespace
{
const Rect kBar{0, 994, 1280, 1024}, kNotify{1100, 996, 1276, 1022}, kClock{1200, 996, 1276, 1022};
const Rect kBesideClock{1100, 996, 1200, 1022}, kOther{1, 2, 3, 4};
} // namespace

TEST(TrayGeometry, WalksTheTaskbarWindows)
{
    struct Case { const char* name; Rect taskbar; std::vector<TaskbarChild> children; std::optional<Rect> expected; };
    const Case cases[] = {
        {"no children", kBar, {}, kBar},
        {"other classes only", kBar, {{L"ReBarWindow32", kOther}, {L"Button", kOther}}, kBar},
        {"notification window, no clock", kBar, {{L"Button", kOther}, {L"TrayNotifyWnd", kNotify}}, kNotify},
        {"clock beside the icons", kBar,
         {{L"TrayNotifyWnd", kNotify}, {L"ToolbarWindow32", kOther}, {L"TrayClockWClass", kClock}}, kBesideClock},
        {"task bar on the right: the area lies below the clock", {1200, 0, 1280, 1024},
         {{L"TrayNotifyWnd", {1202, 800, 1278, 1020}}, {L"TrayClockWClass", {1202, 800, 1278, 830}}},
         Rect{1202, 830, 1278, 1020}},
        {"the last notification window counts", kBar, {{L"TrayNotifyWnd", kOther}, {L"TrayNotifyWnd", kNotify}},
         kNotify},
        {"nothing after the clock counts", kBar,
         {{L"TrayNotifyWnd", kNotify}, {L"TrayClockWClass", kClock}, {L"TrayNotifyWnd", kOther}}, kBesideClock},
        {"a clock before the notification window trims the bar", kBar,
         {{L"TrayClockWClass", kClock}, {L"TrayNotifyWnd", kNotify}}, Rect{0, 994, 1200, 1024}},
        {"class names match exactly", kBar, {{L"traynotifywnd", kNotify}, {L"TrayClockWClass2", kClock}}, kBar},
        {"empty task bar", {0, 0, 0, 0}, {{L"TrayNotifyWnd", kNotify}}, std::nullopt},
        {"no width", {10, 10, 10, 40}, {{L"TrayNotifyWnd", kNotify}}, std::nullopt},
        {"upside down", {10, 40, 20, 10}, {{L"TrayNotifyWnd", kNotify}}, std::nullopt},
        {"one pixel", {10, 10, 11, 11}, {}, Rect{10, 10, 11, 11}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AreaFromTaskbarWindows(c.taskbar, c.children), c.expected) << c.name;
}

TEST(TrayGeometry, ClockStacksOnlyWellAboveTheBottom)
{
    // Within 5 pixels of the bottom the clock sits beside the icons.
    const std::pair<long, Rect> cases[] = {
        {530, {100, 530, 180, 600}}, {594, {100, 594, 180, 600}},
        {595, {100, 500, 140, 600}}, {600, {100, 500, 140, 600}},
    };
    for (const auto& [clockBottom, expected] : cases)
        EXPECT_EQ(TrimByClock({100, 500, 180, 600}, {140, 500, 180, clockBottom}), expected) << clockBottom;
}

TEST(TrayGeometry, GuessesFromTheTaskbarPosition)
{
    struct { Edge edge; Rect bar, expected; } const cases[] = {
        {Edge::Left, {0, 0, 40, 1024}, {0, 924, 40, 1008}},
        {Edge::Right, {1240, 0, 1280, 1024}, {1240, 924, 1280, 1008}},
        {Edge::Top, {0, 0, 1280, 30}, {1180, 0, 1264, 30}},
        {Edge::Bottom, {0, 994, 1280, 1024}, {1180, 994, 1264, 1024}},
        // On a monitor left of the primary one.
        {Edge::Bottom, {-1024, 738, 0, 768}, {-100, 738, -16, 768}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AreaFromTaskbarPosition(c.bar, c.edge), c.expected) << static_cast<int>(c.edge);
}

TEST(TrayGeometry, FallsBackToTheWorkAreaCorner)
{
    EXPECT_EQ(AreaFromWorkArea({0, 0, 1280, 994}), (Rect{1130, 964, 1280, 994}));
    EXPECT_EQ(AreaFromWorkArea({60, 30, 1280, 1024}), (Rect{1130, 994, 1280, 1024}));
}
