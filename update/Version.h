#pragma once
// A program's four-part version and how two of them compare.

#include <cstdint>
#include <string>

struct VersionQuad
{
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t revision = 0;

    friend bool operator==(const VersionQuad&, const VersionQuad&) = default;
};

// The parts as a version resource's fixed block stores them: two 32-bit
// words, each with the higher part in its upper 16 bits.
VersionQuad VersionFromWords(std::uint32_t mostSignificant, std::uint32_t leastSignificant) noexcept;

enum class VersionOrder
{
    PublishedNewer,
    Same,
    RunningNewer,
};

// Part by part from major to revision, as unsigned numbers; the first part
// that differs decides.
VersionOrder CompareVersions(const VersionQuad& published, const VersionQuad& running) noexcept;

// "a.b.c.d", each part as a signed decimal (as the update messages print
// them) or as an unsigned one.
std::wstring SignedVersionText(const VersionQuad& version);
std::wstring UnsignedVersionText(const VersionQuad& version);
