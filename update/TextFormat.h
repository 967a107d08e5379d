#pragma once
// The program's printf-style message formats, filled portably: each
// conversion (%s, %d, %u, %x) takes the next argument, already written as
// text by the caller, and %% stands for a percent sign.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

std::wstring FillFormat(std::wstring_view format, std::initializer_list<std::wstring_view> args);

// A number as %d prints it, and as %x prints it.
std::wstring DecimalText(std::int64_t value);
std::wstring HexText(std::uint32_t value);
