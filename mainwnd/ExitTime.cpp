#include "mainwnd/ExitTime.h"

#include <algorithm>

namespace ExitTime
{
namespace
{
constexpr wchar_t kLeadEnd[] = L"set at";

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}
} // namespace

SecondsField ReadSecondsField(std::wstring_view text)
{
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    std::uint64_t number = 0;
    bool anyDigit = false;
    for (; at < text.size() && IsDigit(text[at]); ++at)
    {
        anyDigit = true;
        // Saturates: anything past the limit is the limit.
        number = std::min<std::uint64_t>(number * 10 + static_cast<unsigned>(text[at] - L'0'), kMaxSeconds + 1ull);
    }
    if (!anyDigit || number < kMinSeconds)
        return {kMinSeconds, true};
    if (number > kMaxSeconds)
        return {kMaxSeconds, true};
    return {static_cast<std::uint32_t>(number), false};
}

std::uint32_t ToMilliseconds(std::uint32_t seconds)
{
    return std::min(seconds, kMaxSeconds) * 1000u;
}

std::wstring TimeText(std::uint32_t seconds)
{
    return std::to_wstring(seconds / 60) + L" min " + std::to_wstring(seconds % 60) + L" seconds";
}

std::wstring Explanation(std::uint32_t seconds)
{
    return L"Set the number of seconds following synchronization the program will remain running before exiting - "
           L"minimum 30 seconds. The current time to exit is set at " +
           TimeText(seconds);
}

std::size_t ExplanationLeadLength(const std::wstring& explanation)
{
    const size_t at = explanation.find(kLeadEnd);
    return at == std::wstring::npos ? explanation.size() : at + std::size(kLeadEnd) - 1;
}
} // namespace ExitTime
