#pragma once
// The resolver's answer as the run's addresses, each once, in its order:
// shared by the socket shims, whose addrinfo records have the same fields.
// Include after the platform's socket headers.

#include "sntp/SntpSocket.h"

#include <algorithm>

template <typename AddrInfo>
void CollectAddresses(const AddrInfo* list, std::size_t most, std::vector<SntpAddress>& addresses)
{
    for (const AddrInfo* entry = list; entry && addresses.size() < most; entry = entry->ai_next)
    {
        if (entry->ai_family != AF_INET && entry->ai_family != AF_INET6)
            continue;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(entry->ai_addr);
        SntpAddress address{entry->ai_family, {bytes, bytes + entry->ai_addrlen}};
        if (std::ranges::find(addresses, address.bytes, &SntpAddress::bytes) == addresses.end())
            addresses.push_back(std::move(address));
    }
}
