#pragma once
// The version file that the maker publishes beside each release: a few
// lines of 8-bit text, at most 29 bytes, each line ended by a line feed (a
// carriage return before it is allowed). The number of line feeds tells the
// layout apart:
//   5 or more  creation time (seconds since 1970, UTC), then major, minor,
//              build and revision, one per line; later lines are ignored
//   4          major, minor, build and revision, one per line
//   1 to 3     "major.minor.build.revision" on the first line
//   0          nothing: version 0.0.0.0
// Text after the last line feed is not a line. Numbers are read as scanf
// reads them: leading blanks skipped, an optional sign, then digits up to
// the first character that cannot belong; a number that cannot be read
// leaves its part at 0.

#include "update/Version.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace VersionFile
{
inline constexpr std::size_t kMaxBytes = 29;

struct Published
{
    VersionQuad version;
    // Seconds since 1970-01-01 00:00 UTC; 0 when the file gives none.
    std::uint32_t created = 0;

    friend bool operator==(const Published&, const Published&) = default;
};

Published Parse(std::wstring_view text);

// A short answer that is a web page (an error page of the site) rather
// than a version file.
bool IsWebPage(std::wstring_view text) noexcept;

// The five-line layout, each line ended by carriage return and line feed.
std::string Format(std::uint64_t created, const VersionQuad& version);
} // namespace VersionFile
