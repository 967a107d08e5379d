#pragma once
// What the update dialog shows while the setup program arrives.

#include <cstdint>
#include <optional>
#include <string>

namespace DownloadProgress
{
struct Step
{
    std::wstring text;
    // 0 to 100; stays 0 while the size is unknown.
    int position = 0;

    friend bool operator==(const Step&, const Step&) = default;
};

// "42%" of a known size (truncated, never above 100); the count of bytes
// received while the size is unknown or 0.
Step After(std::uint64_t received, std::optional<std::uint64_t> size);

// Complete when every announced byte arrived; without a size, whatever
// arrived until the end is the file.
bool IsComplete(std::uint64_t received, std::optional<std::uint64_t> size) noexcept;
} // namespace DownloadProgress
