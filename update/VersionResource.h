#pragma once
// Reading a version resource: which of its language/code-page translations
// a user reads, and where that translation keeps its strings.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace VersionResource
{
struct Translation
{
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

// The entry a user of language `user` reads, by the first rule that any
// entry meets, entries in stored order within a rule:
//   the whole language equals the user's; its primary language (low 8 bits)
//   equals the user's; language 0; primary language 0; language 9 (English);
//   primary language 9; else the first entry.
// Nothing only when there are no entries.
std::optional<std::size_t> ChooseTranslation(std::span<const Translation> entries, std::uint16_t user) noexcept;

// "\StringFileInfo\LLLLCCCC\" with four upper-case hexadecimal digits each.
std::wstring StringBlockPrefix(const Translation& translation);
} // namespace VersionResource
