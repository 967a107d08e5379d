#pragma once
// Registry data written out byte by byte, as another program may have left it.
#include <cstddef>
#include <initializer_list>
#include <vector>

inline std::vector<std::byte> Bytes(std::initializer_list<int> values)
{
    std::vector<std::byte> bytes;
    for (const int v : values)
        bytes.push_back(static_cast<std::byte>(v));
    return bytes;
}
