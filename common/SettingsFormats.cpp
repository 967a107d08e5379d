#include "common/SettingsFormats.h"

#include <algorithm>
#include <cstring>

namespace
{
// Reads little-endian bytes whatever the host's byte order.
std::uint64_t LittleEndian(std::span<const std::byte> data)
{
    std::uint64_t value = 0;
    for (std::size_t i = data.size(); i-- > 0;)
        value = (value << 8) | std::to_integer<std::uint64_t>(data[i]);
    return value;
}

template <std::size_t N>
void PutLittleEndian(std::uint64_t value, std::byte* out)
{
    for (std::size_t i = 0; i < N; ++i)
        out[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}
} // namespace

namespace Settings
{
std::optional<std::uint32_t> DecodeNumber(std::span<const std::byte> data)
{
    if (data.size() > kNumberSize)
        return std::nullopt;
    return static_cast<std::uint32_t>(LittleEndian(data));
}

std::array<std::byte, kNumberSize> EncodeNumber(std::uint32_t value)
{
    std::array<std::byte, kNumberSize> bytes{};
    PutLittleEndian<kNumberSize>(value, bytes.data());
    return bytes;
}

std::wstring DecodeText(std::span<const std::byte> data)
{
    std::wstring text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
    {
        const auto unit = static_cast<wchar_t>(LittleEndian(data.subspan(i, 2)));
        if (unit == L'\0')
            break;
        text.push_back(unit);
    }
    return text;
}
} // namespace Settings

std::optional<SyncDateRecord> SyncDateRecord::Decode(std::span<const std::byte> data)
{
    if (data.size() > Settings::kDateRecordSize)
        return std::nullopt;
    std::array<std::byte, Settings::kDateRecordSize> bytes{};
    std::copy(data.begin(), data.end(), bytes.begin());

    SyncDateRecord record;
    const std::uint64_t dateBits = LittleEndian(std::span(bytes).first(8));
    std::memcpy(&record.date, &dateBits, sizeof record.date);
    record.status = static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(std::span(bytes).subspan(8, 4))));
    return record;
}

std::array<std::byte, Settings::kDateRecordSize> SyncDateRecord::Encode() const
{
    std::array<std::byte, Settings::kDateRecordSize> bytes{};
    std::uint64_t dateBits = 0;
    std::memcpy(&dateBits, &date, sizeof dateBits);
    PutLittleEndian<8>(dateBits, bytes.data());
    PutLittleEndian<4>(static_cast<std::uint32_t>(status), bytes.data() + 8);
    return bytes;
}
