// make-version-file FILE VERSION
// Writes the version file of a release of VERSION ("major.minor.build.revision"),
// as the update check reads it from the maker's site: its creation time (now,
// in seconds since 1970), then the four parts, one per line.

#include "update/VersionFile.h"

#include <charconv>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <iostream>
#include <optional>
#include <string_view>

namespace
{
// Four decimal parts and nothing else; each fits the 16 bits that a version
// resource keeps of it.
std::optional<VersionQuad> ParseVersion(std::string_view text)
{
    std::uint16_t parts[4] = {};
    const char* next = text.data();
    const char* const end = next + text.size();
    for (std::size_t i = 0; i < std::size(parts); ++i)
    {
        if (i > 0 && (next == end || *next++ != '.'))
            return std::nullopt;
        const auto [stop, error] = std::from_chars(next, end, parts[i]);
        if (error != std::errc{})
            return std::nullopt;
        next = stop;
    }
    if (next != end)
        return std::nullopt;
    return VersionQuad{parts[0], parts[1], parts[2], parts[3]};
}
} // namespace

int main(int argc, char* argv[])
{
    const std::optional<VersionQuad> version = argc == 3 ? ParseVersion(argv[2]) : std::nullopt;
    if (!version)
    {
        std::cerr << "usage: make-version-file FILE MAJOR.MINOR.BUILD.REVISION\n";
        return 2;
    }
    const std::string text = VersionFile::Format(static_cast<std::uint64_t>(std::time(nullptr)), *version);
    // A longer file would read as "version file not obtained".
    if (text.size() > VersionFile::kMaxBytes)
    {
        std::cerr << "make-version-file: version " << argv[2] << " makes a file of " << text.size()
                  << " bytes; the update check reads at most " << VersionFile::kMaxBytes << "\n";
        return 1;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file)
    {
        std::cerr << "make-version-file: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
