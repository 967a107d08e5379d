#include "controls/ControlMath.h"

#include <algorithm>

namespace ControlMath
{
namespace
{
// a * b / c for a positive c, rounded half away from zero like MulDiv.
int ScaleRounded(long long a, long long b, long long c)
{
    const long long product = a * b;
    return static_cast<int>(product >= 0 ? (product + c / 2) / c : -((-product + c / 2) / c));
}

// from + (to - from) * position / (count - 1), with halves rounded up, so
// that a gradient and its mirror image have the same colours.
std::uint8_t Channel(std::uint8_t from, std::uint8_t to, int position, int count)
{
    const long long steps = count - 1;
    const long long scaled = from * steps + (static_cast<long long>(to) - from) * position;
    return static_cast<std::uint8_t>((2 * scaled + steps) / (2 * steps));
}
} // namespace

int PixelsFromPoints(int points, int dpi)
{
    return ScaleRounded(points, dpi, 72);
}

Rgb Interpolate(Rgb from, Rgb to, int position, int count)
{
    if (count <= 1 || position <= 0)
        return from;
    if (position >= count - 1)
        return to;
    return {Channel(from.red, to.red, position, count), Channel(from.green, to.green, position, count),
            Channel(from.blue, to.blue, position, count)};
}

std::vector<GradientBand> GradientBands(int width, Rgb from, Rgb to)
{
    std::vector<GradientBand> bands;
    if (width <= 0)
        return bands;
    const int count = std::min(width, 256);
    bands.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const int left = static_cast<int>(static_cast<long long>(width) * i / count);
        const int right = static_cast<int>(static_cast<long long>(width) * (i + 1) / count);
        bands.push_back({left, right, Interpolate(from, to, i, count)});
    }
    return bands;
}

std::vector<std::wstring_view> TextBeforeTabs(std::wstring_view text)
{
    std::vector<std::wstring_view> pieces;
    while (!text.empty())
    {
        const std::size_t end = text.find(L'\n');
        const std::wstring_view line = text.substr(0, end);
        const std::size_t tab = line.find(L'\t');
        if (tab != std::wstring_view::npos)
            pieces.push_back(line.substr(0, tab));
        if (end == std::wstring_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return pieces;
}

int TabStopInAverageChars(const std::vector<int>& widths, int averageCharWidth)
{
    if (widths.empty() || averageCharWidth <= 0)
        return 0;
    const int widest = std::max(0, *std::max_element(widths.begin(), widths.end()));
    return 1 + (widest + averageCharWidth - 1) / averageCharWidth;
}

LinkState LinkStateFor(bool hovering, bool visited)
{
    if (hovering)
        return LinkState::Hover;
    return visited ? LinkState::Visited : LinkState::Normal;
}

int BlockLeft(int availableWidth, int contentWidth, Alignment alignment)
{
    const int spare = availableWidth - contentWidth;
    if (spare <= 0)
        return 0;
    switch (alignment)
    {
    case Alignment::Center:
        return spare / 2;
    case Alignment::Right:
        return spare;
    case Alignment::Left:
        break;
    }
    return 0;
}
} // namespace ControlMath
