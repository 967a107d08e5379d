#pragma once
// Byte layouts of the values under the settings key. Pure: the registry
// code hands raw value data in and gets the meaning back.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace Settings
{
inline constexpr wchar_t kKeyPath[] = L"Software\\Kavrin";

inline constexpr std::size_t kNumberSize = 4;
inline constexpr std::size_t kMaxTextLength = 254;
inline constexpr std::size_t kDateRecordSize = 12;

// A number is up to 4 bytes, little-endian; shorter data fills the low bytes.
std::optional<std::uint32_t> DecodeNumber(std::span<const std::byte> data);
std::array<std::byte, kNumberSize> EncodeNumber(std::uint32_t value);

// The text is the data up to its first null character or its end; a last
// odd byte is ignored.
std::wstring DecodeText(std::span<const std::byte> data);
} // namespace Settings

// The date of the last successful synchronisation: an OLE Automation date
// in local time, followed by a status (0 = valid).
struct SyncDateRecord
{
    double date = 0.0;
    std::int32_t status = 0;

    static constexpr std::int32_t kValid = 0;
    static constexpr std::int32_t kInvalid = 1;

    // Up to 12 bytes fill the record from its start; more means no record.
    static std::optional<SyncDateRecord> Decode(std::span<const std::byte> data);
    std::array<std::byte, Settings::kDateRecordSize> Encode() const;
};

// A calendar date; every field is -1 when the date is unusable.
struct CalendarDate
{
    int year = -1;
    int month = -1;
    int day = -1;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};
