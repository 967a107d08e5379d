#pragma once
// What every fuzz target shares: the fuzzer's bytes as text, and a check
// that stops the run when a property does not hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// UTF-8 up to U+FFFF; a byte that starts no such sequence stands for itself.
inline std::wstring WideText(const std::uint8_t* data, std::size_t size)
{
    const auto cont = [&](std::size_t at) { return at < size && (data[at] & 0xC0) == 0x80; };
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i)
    {
        unsigned value = data[i];
        if (value >= 0xC2 && value < 0xE0 && cont(i + 1))
            value = (value & 0x1Fu) << 6 | (data[++i] & 0x3Fu);
        else if (value >= 0xE0 && value < 0xF0 && cont(i + 1) && cont(i + 2))
            value = (value & 0x0Fu) << 12 | (data[i + 1] & 0x3Fu) << 6 | (data[i + 2] & 0x3Fu), i += 2;
        text.push_back(static_cast<wchar_t>(value));
    }
    return text;
}

#define FUZZ_CHECK(condition) \
    ((condition) ? void() : (std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition), std::abort()))
