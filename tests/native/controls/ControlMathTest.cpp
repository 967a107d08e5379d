#include "controls/ControlMath.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using ControlMath::Alignment;
using ControlMath::Rgb;

TEST(ControlMath, PixelsFromPointsRoundsForTheDevice)
{
    struct Case { int points, dpi, pixels; };
    const Case cases[] = {{8, 96, 11}, {9, 96, 12}, {14, 96, 19}, {26, 144, 52}, {10, 120, 17}, {1, 36, 1}, {0, 96, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ControlMath::PixelsFromPoints(c.points, c.dpi), c.pixels) << c.points << " pt at " << c.dpi;
}

TEST(ControlMath, InterpolateHitsBothEndsAndRoundsBetween)
{
    const Rgb blue{0, 0, 255}, grey{192, 192, 208};
    struct Case { int position, steps; Rgb colour; };
    const Case cases[] = {{0, 5, blue},  {4, 5, grey},  {2, 5, {96, 96, 232}}, {1, 5, {48, 48, 243}},
                          {-1, 5, blue}, {9, 5, grey}, {0, 1, blue}};
    for (const auto& c : cases)
        EXPECT_EQ(ControlMath::Interpolate(blue, grey, c.position, c.steps), c.colour) << c.position << "/" << c.steps;
}

TEST(ControlMath, GradientBandsCoverTheWidthWithoutGapsFromEndToEnd)
{
    const Rgb from{128, 255, 0}, to{255, 255, 255};
    for (const int width : {1, 7, 256, 257, 1000})
    {
        const auto bands = ControlMath::GradientBands(width, from, to);
        ASSERT_EQ(bands.size(), static_cast<std::size_t>(width < 256 ? width : 256)) << width;
        EXPECT_EQ(bands.front().colour, from);
        EXPECT_EQ(bands.back().colour, width > 1 ? to : from);
        EXPECT_EQ(bands.back().right, width);
        for (std::size_t i = 0; i < bands.size(); ++i)
            EXPECT_EQ(bands[i].left, i ? bands[i - 1].right : 0) << "band " << i;
    }
    EXPECT_TRUE(ControlMath::GradientBands(-5, from, to).empty());
}

TEST(ControlMath, TextBeforeTabsTakesTheFirstTabOfEachLine)
{
    using Pieces = std::vector<std::wstring_view>;
    EXPECT_EQ(ControlMath::TextBeforeTabs(L"Time Server:\tpool.ntp.org\nTime Format:\tDay/Month/Year"),
              (Pieces{L"Time Server:", L"Time Format:"}));
    EXPECT_EQ(ControlMath::TextBeforeTabs(L"a\tb\tc\nno tab here\n\tleading"), (Pieces{L"a", L""}));
    EXPECT_EQ(ControlMath::TextBeforeTabs(L""), Pieces{});
}

TEST(ControlMath, TabStopLeavesAtLeastOneAverageCharacterAfterTheWidestLabel)
{
    struct Case { std::vector<int> widths; int average, stop; };
    const Case cases[] = {{{70, 75}, 6, 14}, {{72}, 6, 13}, {{}, 6, 0}, {{50}, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ControlMath::TabStopInAverageChars(c.widths, c.average), c.stop) << c.average;
}

TEST(ControlMath, BlockLeftPlacesContentAndStartsWideContentAtTheLeft)
{
    struct Case { int available, content; Alignment alignment; int left; };
    const Case cases[] = {{100, 40, Alignment::Left, 0},   {100, 40, Alignment::Center, 30},
                          {100, 40, Alignment::Right, 60}, {100, 140, Alignment::Center, 0},
                          {100, 140, Alignment::Right, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ControlMath::BlockLeft(c.available, c.content, c.alignment), c.left)
            << c.available << " " << c.content << " " << static_cast<int>(c.alignment);
}
