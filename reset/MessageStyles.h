#pragma once
// How the reset utility's message is coloured: which characters get which
// colour and effects. Pure: the dialog applies the ranges to its rich-edit
// box. Positions count characters as the box keeps them, where a line
// break is one character.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Reset
{
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct TextStyle
{
    Rgb color;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// Characters [start, end) in `style`.
struct StyledRange
{
    std::size_t start = 0;
    std::size_t end = 0;
    TextStyle style;

    friend bool operator==(const StyledRange&, const StyledRange&) = default;
};

// The message as the box keeps it: each CR LF becomes one CR.
std::wstring AsBoxText(std::wstring_view message);

// The first case-matching `word` at or after `from` with no letter or digit
// right before or after it, as the box's whole-word search finds it.
std::optional<std::size_t> FindWholeWord(std::wstring_view text, std::wstring_view word, std::size_t from);
// Every such match; each further search starts one character after the
// previous match's start.
std::vector<std::size_t> FindEveryWholeWord(std::wstring_view text, std::wstring_view word);

// The ranges to apply in order, later ones over earlier ones: the whole text
// regular navy, every "Kavrin" bold red, the first "OK" bold green, the first
// "SyncOncePerDay" and "program exit following synchronization" bold italic
// in magenta and olive.
std::vector<StyledRange> PlanMessageStyles(std::wstring_view text);
} // namespace Reset
