#include "update/VersionFile.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace
{
bool IsBlank(wchar_t c) noexcept
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool IsDigit(wchar_t c) noexcept
{
    return c >= L'0' && c <= L'9';
}

// Reads one number at the front of `text` as %d (signed) or %u reads it
// and drops what it read; nothing when no number starts there. Numbers
// too large for 32 bits stop at the largest value of their kind.
std::optional<std::uint32_t> ScanNumber(std::wstring_view& text, bool isSigned)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    if (i == text.size() || !IsDigit(text[i]))
        return std::nullopt;
    const std::uint64_t limit = isSigned ? (negative ? 0x80000000ull : 0x7FFFFFFFull) : 0xFFFFFFFFull;
    std::uint64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        magnitude = std::min(limit, magnitude * 10 + static_cast<std::uint64_t>(text[i] - L'0'));
    text.remove_prefix(i);
    // Negative values wrap around, as the C library stores them.
    const std::uint64_t value = negative ? (0x100000000ull - magnitude) & 0xFFFFFFFFull : magnitude;
    return static_cast<std::uint32_t>(value);
}

std::uint32_t ScanLine(std::wstring_view line, bool isSigned)
{
    return ScanNumber(line, isSigned).value_or(0);
}

// "%d.%d.%d.%d": parts are read until one fails or its dot is missing.
VersionQuad ScanDotted(std::wstring_view line)
{
    VersionQuad version;
    std::uint32_t* parts[] = {&version.major, &version.minor, &version.build, &version.revision};
    for (std::size_t i = 0; i < std::size(parts); ++i)
    {
        if (i > 0)
        {
            if (line.empty() || line.front() != L'.')
                break;
            line.remove_prefix(1);
        }
        const auto number = ScanNumber(line, true);
        if (!number)
            break;
        *parts[i] = *number;
    }
    return version;
}

// The lines of the text, each without its line feed; text after the last
// line feed is not a line.
std::vector<std::wstring_view> Lines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    for (std::size_t end = text.find(L'\n'); end != std::wstring_view::npos; end = text.find(L'\n'))
    {
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}
} // namespace

namespace VersionFile
{
Published Parse(std::wstring_view text)
{
    const std::vector<std::wstring_view> lines = Lines(text);
    Published published;
    if (lines.size() >= 5)
    {
        published.created = ScanLine(lines[0], false);
        published.version = {ScanLine(lines[1], true), ScanLine(lines[2], true), ScanLine(lines[3], true),
                             ScanLine(lines[4], true)};
    }
    else if (lines.size() == 4)
    {
        published.version = {ScanLine(lines[0], true), ScanLine(lines[1], true), ScanLine(lines[2], true),
                             ScanLine(lines[3], true)};
    }
    else if (!lines.empty())
    {
        published.version = ScanDotted(lines[0]);
    }
    return published;
}

bool IsWebPage(std::wstring_view text) noexcept
{
    return text.starts_with(L"<!");
}

std::string Format(std::uint64_t created, const VersionQuad& version)
{
    std::string text = std::to_string(created) + "\r\n";
    for (const std::uint32_t part : {version.major, version.minor, version.build, version.revision})
        text += std::to_string(part) + "\r\n";
    return text;
}
} // namespace VersionFile
