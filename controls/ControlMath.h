#pragma once
// The arithmetic behind the drawing controls, kept free of the platform so
// that it can be checked natively: font heights, gradient bands, link
// states and the placement of a block of content in a control.

#include <cstdint>
#include <string_view>
#include <vector>

namespace ControlMath
{
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The character height, in pixels, of a font of `points` on a device with
// `dpi` pixels per logical inch, rounded to the nearest pixel. A font is
// asked for with the negative of it so that the em height matches.
int PixelsFromPoints(int points, int dpi);

// The colour at `position` of `count` evenly spaced steps from `from` to
// `to`: step 0 is `from` and step count - 1 is `to`.
Rgb Interpolate(Rgb from, Rgb to, int position, int count);

// One vertical stripe of a horizontal gradient: pixels [left, right).
struct GradientBand
{
    int left = 0;
    int right = 0;
    Rgb colour;
};

// The stripes that fill `width` pixels from `from` at the left to `to` at
// the right. No more than 256 stripes are needed, since no channel has more
// steps; a narrower area gets one stripe per pixel.
std::vector<GradientBand> GradientBands(int width, Rgb from, Rgb to);

// The text before the first tab of each line that has a tab; lines end at '\n'.
std::vector<std::wstring_view> TextBeforeTabs(std::wstring_view text);

// The distance between tab stops, in average character widths (the unit
// that DrawTextEx takes), that puts the first stop at least one average
// character past the widest of `widths`: the columns after the tabs line up
// as close to their labels as they can. 0 when there is nothing to measure.
int TabStopInAverageChars(const std::vector<int>& widths, int averageCharWidth);

enum class LinkState
{
    Normal,
    Hover,
    Visited,
};

// The pointer over a link outranks its having been visited.
LinkState LinkStateFor(bool hovering, bool visited);

enum class Alignment
{
    Left,
    Center,
    Right,
};

// The left edge of a block `contentWidth` wide placed in a space
// `availableWidth` wide. A block that does not fit starts at the left.
int BlockLeft(int availableWidth, int contentWidth, Alignment alignment);
} // namespace ControlMath
