#pragma once
// What a downloaded setup program must be before it is saved and started:
// the answer and the bytes the site sends, the addresses it may lead to,
// and the publisher keys the build accepts for its signature.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace SetupRules
{
// Larger than any setup the maker ships by far.
constexpr std::uint64_t kMaxSetupBytes = 64ull * 1024 * 1024;

enum class Refusal
{
    None,
    NotFile,    // the site answered anything but 200 OK
    TooLarge,   // announced or sent more than kMaxSetupBytes
    NotProgram, // the bytes do not begin with "MZ"
};

// The site's answer, before any byte of the body is read.
Refusal JudgeAnswer(unsigned long status, std::optional<std::uint64_t> announcedSize) noexcept;
// The bytes received so far (`start` holds the first of them).
Refusal JudgeContent(std::string_view start, std::uint64_t received) noexcept;

// Where a redirect from `from` to `location` (absolute, or a path on the
// same site) leads, when it stays on the origin of `from`: same scheme,
// host and port. Empty when it leaves it or cannot be read.
std::optional<std::wstring> SameOriginTarget(std::wstring_view from, std::wstring_view location);

// SHA-256 of a signer certificate's DER SubjectPublicKeyInfo.
using KeyDigest = std::array<std::uint8_t, 32>;

// Lower-case hex digests separated by commas ("" is no key); empty when
// any entry is not 64 hex digits.
std::optional<std::vector<KeyDigest>> ParsePublisherKeys(std::string_view text);
} // namespace SetupRules
