#include "reset/MessageStyles.h"

#include "common/KavrinSettings.h"
#include "reset/ResetMessage.h"

namespace Reset
{
namespace
{
constexpr TextStyle kMessageStyle{{0, 0, 128}, false, false};
constexpr TextStyle kProgramNameStyle{{255, 0, 0}, true, false};
constexpr TextStyle kOkButtonStyle{{0, 192, 0}, true, false};
constexpr TextStyle kValueNameStyle{{255, 0, 255}, true, true};
constexpr TextStyle kExitOptionStyle{{192, 192, 0}, true, true};

// Letters and digits as the box's whole-word search sees them: the ASCII
// ones, and from U+00C0 on the letters of other scripts, but not the signs
// U+00D7 and U+00F7 nor the general punctuation (dashes, quotes) at
// U+2000-U+206F.
bool IsWordCharacter(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    return c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F);
}

bool IsWholeWordAt(std::wstring_view text, std::size_t start, std::size_t length)
{
    const std::size_t end = start + length;
    return (start == 0 || !IsWordCharacter(text[start - 1])) && (end == text.size() || !IsWordCharacter(text[end]));
}

void StyleFirst(std::vector<StyledRange>& plan, std::wstring_view text, std::wstring_view word, TextStyle style)
{
    if (const auto start = FindWholeWord(text, word, 0))
        plan.push_back({*start, *start + word.size(), style});
}
} // namespace

std::wstring AsBoxText(std::wstring_view message)
{
    std::wstring text;
    for (std::size_t i = 0; i < message.size(); ++i)
    {
        text.push_back(message[i]);
        if (message.substr(i, 2) == L"\r\n")
            ++i;
    }
    return text;
}

std::optional<std::size_t> FindWholeWord(std::wstring_view text, std::wstring_view word, std::size_t from)
{
    if (word.empty())
        return std::nullopt;
    for (std::size_t at = text.find(word, from); at != std::wstring_view::npos; at = text.find(word, at + 1))
    {
        if (IsWholeWordAt(text, at, word.size()))
            return at;
    }
    return std::nullopt;
}

std::vector<std::size_t> FindEveryWholeWord(std::wstring_view text, std::wstring_view word)
{
    std::vector<std::size_t> found;
    for (auto at = FindWholeWord(text, word, 0); at; at = FindWholeWord(text, word, *at + 1))
        found.push_back(*at);
    return found;
}

std::vector<StyledRange> PlanMessageStyles(std::wstring_view text)
{
    std::vector<StyledRange> plan{{0, text.size(), kMessageStyle}};
    const std::wstring_view programName = kProgramName;
    for (const std::size_t start : FindEveryWholeWord(text, programName))
        plan.push_back({start, start + programName.size(), kProgramNameStyle});
    StyleFirst(plan, text, kOkButton, kOkButtonStyle);
    StyleFirst(plan, text, Settings::Names::SyncOncePerDay, kValueNameStyle);
    StyleFirst(plan, text, kExitOption, kExitOptionStyle);
    return plan;
}
} // namespace Reset
