#include "update/SetupRules.h"

#include <algorithm>
#include <cwctype>

namespace SetupRules
{
namespace
{
constexpr unsigned long kOk = 200;

struct Origin
{
    std::wstring scheme;
    std::wstring host;
    std::wstring port;
    std::wstring_view path; // from the first '/' after the host, or empty

    bool operator==(const Origin& other) const
    {
        return scheme == other.scheme && host == other.host && port == other.port;
    }
};

std::wstring Lower(std::wstring_view text)
{
    std::wstring lower(text);
    std::ranges::transform(lower, lower.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return lower;
}

std::wstring DefaultPort(const std::wstring& scheme)
{
    return scheme == L"https" ? L"443" : scheme == L"http" ? L"80" : L"";
}

// "scheme://host[:port][/path]"; user names and IPv6 brackets are not for
// the maker's sites, and an address holding them is not read.
std::optional<Origin> OriginOf(std::wstring_view url)
{
    const std::size_t schemeEnd = url.find(L"://");
    if (schemeEnd == std::wstring_view::npos || schemeEnd == 0)
        return std::nullopt;
    Origin origin;
    origin.scheme = Lower(url.substr(0, schemeEnd));
    const std::wstring_view rest = url.substr(schemeEnd + 3);
    const std::size_t pathStart = rest.find_first_of(L"/?#");
    const std::wstring_view authority = rest.substr(0, pathStart);
    if (pathStart != std::wstring_view::npos)
        origin.path = rest.substr(pathStart);
    if (authority.empty() || authority.find_first_of(L"@[]\\") != std::wstring_view::npos)
        return std::nullopt;
    const std::size_t colon = authority.find(L':');
    origin.host = Lower(authority.substr(0, colon));
    origin.port = colon == std::wstring_view::npos ? DefaultPort(origin.scheme) : std::wstring(authority.substr(colon + 1));
    if (origin.host.empty() || origin.port.empty() ||
        !std::ranges::all_of(origin.port, [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return std::nullopt;
    origin.port.erase(0, std::min(origin.port.find_first_not_of(L'0'), origin.port.size() - 1));
    return origin;
}

int HexValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<KeyDigest> ParseDigest(std::string_view hex)
{
    KeyDigest digest{};
    if (hex.size() != 2 * digest.size())
        return std::nullopt;
    for (std::size_t i = 0; i < digest.size(); ++i)
    {
        const int high = HexValue(hex[2 * i]);
        const int low = HexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        digest[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return digest;
}
} // namespace

Refusal JudgeAnswer(unsigned long status, std::optional<std::uint64_t> announcedSize) noexcept
{
    if (status != kOk)
        return Refusal::NotFile;
    return announcedSize && *announcedSize > kMaxSetupBytes ? Refusal::TooLarge : Refusal::None;
}

Refusal JudgeContent(std::string_view start, std::uint64_t received) noexcept
{
    if (received > kMaxSetupBytes)
        return Refusal::TooLarge;
    return start.starts_with("MZ") ? Refusal::None : Refusal::NotProgram;
}

std::optional<std::wstring> SameOriginTarget(std::wstring_view from, std::wstring_view location)
{
    const std::optional<Origin> origin = OriginOf(from);
    if (!origin || location.empty())
        return std::nullopt;
    if (location.find(L"://") == std::wstring_view::npos)
    {
        // A path on the same site; "//host/..." names another host.
        if (location.front() != L'/' || location.starts_with(L"//"))
            return std::nullopt;
        const std::wstring_view base = from.substr(0, from.size() - origin->path.size());
        return std::wstring(base) + std::wstring(location);
    }
    const std::optional<Origin> target = OriginOf(location);
    if (!target || !(*target == *origin))
        return std::nullopt;
    return std::wstring(location);
}

std::optional<std::vector<KeyDigest>> ParsePublisherKeys(std::string_view text)
{
    std::vector<KeyDigest> keys;
    while (!text.empty())
    {
        const std::size_t comma = text.find(',');
        std::string_view entry = text.substr(0, comma);
        while (!entry.empty() && entry.front() == ' ')
            entry.remove_prefix(1);
        while (!entry.empty() && entry.back() == ' ')
            entry.remove_suffix(1);
        const std::optional<KeyDigest> digest = ParseDigest(entry);
        if (!digest)
            return std::nullopt;
        keys.push_back(*digest);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (comma != std::string_view::npos && text.empty())
            return std::nullopt; // a trailing comma
    }
    return keys;
}
} // namespace SetupRules
