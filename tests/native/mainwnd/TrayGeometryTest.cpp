#include "mainwnd/TrayGeometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace TrayGeometry;

const Rect kBar{0, 994, 1280, 1024}, kNotify{1100, 996, 1276, 1022}, kClock{1200, 996, 1276, 1022};
const Rect kBesideClock{1100, 996, 1200, 1022}, kOther{1, 2, 3, 4};

TEST(TrayGeometry, WalksTheTaskbarWindows)
{
    struct Case { const char* name; Rect taskbar; std::vector<TaskbarChild> children; std::optional<Rect> expected; };
    const Case cases[] = {
        {"no children", kBar, {}, kBar},
        {"notification window, no clock", kBar, {{L"Button", kOther}, {L"TrayNotifyWnd", kNotify}}, kNotify},
        {"clock beside the icons", kBar,
         {{L"TrayNotifyWnd", kNotify}, {L"ToolbarWindow32", kOther}, {L"TrayClockWClass", kClock}}, kBesideClock},
        {"task bar on the right: the area lies below the clock", {1200, 0, 1280, 1024},
         {{L"TrayNotifyWnd", {1202, 800, 1278, 1020}}, {L"TrayClockWClass", {1202, 800, 1278, 830}}},
         Rect{1202, 830, 1278, 1020}},
        {"nothing after the clock counts", kBar,
         {{L"TrayNotifyWnd", kNotify}, {L"TrayClockWClass", kClock}, {L"TrayNotifyWnd", kOther}}, kBesideClock},
        {"a clock before the notification window trims the bar", kBar,
         {{L"TrayClockWClass", kClock}, {L"TrayNotifyWnd", kNotify}}, Rect{0, 994, 1200, 1024}},
        {"class names match exactly", kBar, {{L"traynotifywnd", kNotify}, {L"TrayClockWClass2", kClock}}, kBar},
        {"upside down", {10, 40, 20, 10}, {{L"TrayNotifyWnd", kNotify}}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AreaFromTaskbarWindows(c.taskbar, c.children), c.expected) << c.name;
}

TEST(TrayGeometry, ClockStacksOnlyWellAboveTheBottom)
{
    const std::pair<long, Rect> cases[] = {
        {530, {100, 530, 180, 600}}, {594, {100, 594, 180, 600}},
        {595, {100, 500, 140, 600}}, {600, {100, 500, 140, 600}},
    };
    for (const auto& [clockBottom, expected] : cases)
        EXPECT_EQ(TrimByClock({100, 500, 180, 600}, {140, 500, 180, clockBottom}), expected) << clockBottom;
}

TEST(TrayGeometry, GuessesFromTheTaskbarPositionOrTheWorkArea)
{
    struct { Edge edge; Rect bar, expected; } const cases[] = {
        {Edge::Left, {0, 0, 40, 1024}, {0, 924, 40, 1008}},
        {Edge::Top, {0, 0, 1280, 30}, {1180, 0, 1264, 30}},
        {Edge::Bottom, {-1024, 738, 0, 768}, {-100, 738, -16, 768}}, // a monitor left of the primary one
    };
    for (const auto& c : cases)
        EXPECT_EQ(AreaFromTaskbarPosition(c.bar, c.edge), c.expected) << static_cast<int>(c.edge);
    EXPECT_EQ(AreaFromWorkArea({60, 30, 1280, 1024}), (Rect{1130, 994, 1280, 1024}));
}
