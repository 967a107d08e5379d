#include "controls/ControlMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

using ControlMath::Alignment;
using ControlMath::LinkState;
using ControlMath::Rgb;

TEST(ControlMath, PixelsFromPointsRoundsForTheDevice)
{
    struct Case
    {
        int points;
        int dpi;
        int pixels;
    };
    const Case cases[] = {
        {8, 96, 11},   // 10.67
        {9, 96, 12},   // exact
        {14, 96, 19},  // 18.67
        {18, 96, 24},  // exact
        {26, 96, 35},  // 34.67
        {9, 144, 18},  // exact
        {14, 144, 28}, // exact
        {26, 144, 52}, // exact
        {9, 120, 15},  // exact
        {10, 120, 17}, // 16.67
        {1, 36, 1},    // 0.5 rounds up
        {0, 96, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ControlMath::PixelsFromPoints(c.points, c.dpi), c.pixels) << c.points << " pt at " << c.dpi;
}

TEST(ControlMath, InterpolateHitsBothEndsAndRoundsBetween)
{
    const Rgb blue{0, 0, 255};
    const Rgb grey{192, 192, 208};
    EXPECT_EQ(ControlMath::Interpolate(blue, grey, 0, 5), blue);
    EXPECT_EQ(ControlMath::Interpolate(blue, grey, 4, 5), grey);
    EXPECT_EQ(ControlMath::Interpolate(blue, grey, 2, 5), (Rgb{96, 96, 232})); // 231.5 rounds up
    EXPECT_EQ(ControlMath::Interpolate(blue, grey, 1, 5), (Rgb{48, 48, 243})); // 243.25
    // Falling channels round the same way as rising ones: a gradient and its
    // mirror image share their colours.
    EXPECT_EQ(ControlMath::Interpolate(Rgb{255, 0, 10}, Rgb{0, 255, 10}, 1, 3), (Rgb{128, 128, 10}));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ControlMath::Interpolate(blue, grey, i, 7), ControlMath::Interpolate(grey, blue, 6 - i, 7)) << i;
    // Out-of-range positions and a single step stay at the ends.
    EXPECT_EQ(ControlMath::Interpolate(blue, grey, -1, 5), blue);
    EXPECT_EQ(ControlMath::Interpolate(blue, grey, 9, 5), grey);
    EXPECT_EQ(ControlMath::Interpolate(blue, grey, 0, 1), blue);
}

TEST(ControlMath, GradientBandsCoverTheWidthWithoutGapsFromEndToEnd)
{
    const Rgb from{128, 255, 0};
    const Rgb to{255, 255, 255};
    for (const int width : {1, 2, 7, 255, 256, 257, 336, 1000})
    {
        const auto bands = ControlMath::GradientBands(width, from, to);
        ASSERT_FALSE(bands.empty()) << width;
        EXPECT_EQ(bands.size(), static_cast<std::size_t>(std::min(width, 256))) << width;
        EXPECT_EQ(bands.front().left, 0) << width;
        EXPECT_EQ(bands.back().right, width) << width;
        EXPECT_EQ(bands.front().colour, from) << width;
        if (width > 1)
        {
            EXPECT_EQ(bands.back().colour, to) << width;
        }
        for (std::size_t i = 0; i < bands.size(); ++i)
        {
            EXPECT_LT(bands[i].left, bands[i].right) << width << " band " << i;
            if (i > 0)
            {
                EXPECT_EQ(bands[i].left, bands[i - 1].right) << width << " band " << i;
                EXPECT_GE(bands[i].colour.red, bands[i - 1].colour.red) << width << " band " << i;
                EXPECT_GE(bands[i].colour.blue, bands[i - 1].colour.blue) << width << " band " << i;
            }
        }
    }
    EXPECT_TRUE(ControlMath::GradientBands(0, from, to).empty());
    EXPECT_TRUE(ControlMath::GradientBands(-5, from, to).empty());
}

TEST(ControlMath, TextBeforeTabsTakesTheFirstTabOfEachLine)
{
    using Pieces = std::vector<std::wstring_view>;
    EXPECT_EQ(ControlMath::TextBeforeTabs(L"Time Server:\tpool.ntp.org\nTime Format:\tDay/Month/Year"),
              (Pieces{L"Time Server:", L"Time Format:"}));
    EXPECT_EQ(ControlMath::TextBeforeTabs(L"a\tb\tc\nno tab here\n\tleading"), (Pieces{L"a", L""}));
    EXPECT_EQ(ControlMath::TextBeforeTabs(L"no tabs\nat all"), Pieces{});
    EXPECT_EQ(ControlMath::TextBeforeTabs(L""), Pieces{});
    EXPECT_EQ(ControlMath::TextBeforeTabs(L"last line\n\t"), Pieces{L""});
}

TEST(ControlMath, TabStopLeavesAtLeastOneAverageCharacterAfterTheWidestLabel)
{
    struct Case
    {
        std::vector<int> widths;
        int average;
        int stop;
    };
    const Case cases[] = {
        {{70, 75}, 6, 14}, // 75 + 6 = 81 -> 84
        {{72}, 6, 13},     // exactly 12 characters, then one more
        {{0}, 6, 1},
        {{}, 6, 0},
        {{50}, 0, 0},
        {{61, 5, 60}, 5, 14}, // 61 + 5 = 66 -> 70
    };
    for (const auto& c : cases)
    {
        const int stop = ControlMath::TabStopInAverageChars(c.widths, c.average);
        EXPECT_EQ(stop, c.stop) << c.average;
        if (stop > 0)
        {
            const int widest = *std::max_element(c.widths.begin(), c.widths.end());
            EXPECT_GE(stop * c.average, widest + c.average);
            EXPECT_LT((stop - 1) * c.average, widest + c.average);
        }
    }
}

TEST(ControlMath, HoverOutranksVisited)
{
    struct Case
    {
        bool hovering;
        bool visited;
        LinkState state;
    };
    const Case cases[] = {
        {false, false, LinkState::Normal},
        {true, false, LinkState::Hover},
        {false, true, LinkState::Visited},
        {true, true, LinkState::Hover},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ControlMath::LinkStateFor(c.hovering, c.visited), c.state) << c.hovering << c.visited;
}

TEST(ControlMath, BlockLeftPlacesContentAndStartsWideContentAtTheLeft)
{
    struct Case
    {
        int available;
        int content;
        Alignment alignment;
        int left;
    };
    const Case cases[] = {
        {100, 40, Alignment::Left, 0},   {100, 40, Alignment::Center, 30}, {100, 40, Alignment::Right, 60},
        {101, 40, Alignment::Center, 30}, {100, 100, Alignment::Right, 0}, {100, 140, Alignment::Center, 0},
        {100, 140, Alignment::Right, 0}, {0, 0, Alignment::Center, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(ControlMath::BlockLeft(c.available, c.content, c.alignment), c.left)
            << c.available << " " << c.content << " " << static_cast<int>(c.alignment);
    }
}
