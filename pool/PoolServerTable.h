#pragma once
// The built-in catalogue of the NTP Pool Project's zones: one worldwide,
// five continental and 54 national, in display order.

#include <array>
#include <string>
#include <string_view>

struct PoolServerEntry
{
    std::wstring_view country;
    std::wstring_view server;
    // Servers in the zone when the catalogue was drawn up; shown as it is.
    std::wstring_view count;
};

inline constexpr std::size_t kPoolServerCount = 60;
extern const std::array<PoolServerEntry, kPoolServerCount> PoolServerTable;

// The country of the entry whose server equals `host` exactly (case and
// blanks count), or "Unspecified".
std::wstring FindPoolRegion(std::wstring_view host);

// The server of the "Canada" row, the default time server.
std::wstring DefaultPoolServer();
