#include "update/VersionResource.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace VersionResource
{
std::optional<std::size_t> ChooseTranslation(std::span<const Translation> entries, std::uint16_t user) noexcept
{
    if (entries.empty())
        return std::nullopt;
    const auto whole = [](std::uint16_t language) {
        return [language](const Translation& t) { return t.language == language; };
    };
    const auto primary = [](std::uint16_t language) {
        return [language](const Translation& t) { return (t.language & 0xFF) == (language & 0xFF); };
    };
    const auto find = [&](auto rule) -> std::optional<std::size_t> {
        const auto found = std::find_if(entries.begin(), entries.end(), rule);
        if (found == entries.end())
            return std::nullopt;
        return static_cast<std::size_t>(std::distance(entries.begin(), found));
    };
    if (auto i = find(whole(user)))
        return i;
    if (auto i = find(primary(user)))
        return i;
    if (auto i = find(whole(0)))
        return i;
    if (auto i = find(primary(0)))
        return i;
    if (auto i = find(whole(9)))
        return i;
    if (auto i = find(primary(9)))
        return i;
    return 0;
}

std::wstring StringBlockPrefix(const Translation& translation)
{
    wchar_t prefix[32] = {};
    std::swprintf(prefix, std::size(prefix), L"\\StringFileInfo\\%04X%04X\\", translation.language,
                  translation.codePage);
    return prefix;
}
} // namespace VersionResource
