#include "update/Version.h"

#include <array>
#include <cwchar>

namespace
{
std::array<std::uint32_t, 4> Parts(const VersionQuad& v) noexcept
{
    return {v.major, v.minor, v.build, v.revision};
}

template <typename Int>
std::wstring Join(const VersionQuad& version, const wchar_t* format)
{
    std::wstring text;
    for (const std::uint32_t part : Parts(version))
    {
        wchar_t number[16] = {};
        std::swprintf(number, std::size(number), format, static_cast<Int>(part));
        if (!text.empty())
            text += L'.';
        text += number;
    }
    return text;
}
} // namespace

VersionQuad VersionFromWords(std::uint32_t mostSignificant, std::uint32_t leastSignificant) noexcept
{
    return {mostSignificant >> 16, mostSignificant & 0xFFFFu, leastSignificant >> 16, leastSignificant & 0xFFFFu};
}

VersionOrder CompareVersions(const VersionQuad& published, const VersionQuad& running) noexcept
{
    const auto p = Parts(published);
    const auto r = Parts(running);
    for (std::size_t i = 0; i < p.size(); ++i)
    {
        if (p[i] != r[i])
            return p[i] > r[i] ? VersionOrder::PublishedNewer : VersionOrder::RunningNewer;
    }
    return VersionOrder::Same;
}

std::wstring SignedVersionText(const VersionQuad& version)
{
    return Join<std::int32_t>(version, L"%d");
}

std::wstring UnsignedVersionText(const VersionQuad& version)
{
    return Join<std::uint32_t>(version, L"%u");
}
