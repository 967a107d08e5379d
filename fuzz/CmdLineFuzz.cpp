// Any command line: every option the parser finds is spelled in the text
// after a dash or a slash, with its value after a colon.

#include "FuzzText.h"

#include "app/CmdLineParser.h"

#include <cwctype>
#include <string_view>

namespace
{
std::wstring Lowered(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    return text;
}

// Somewhere in `line`, a dash or slash, the name, and a colon before the
// value, which may open with a quote.
bool IsSpelled(std::wstring_view line, std::wstring_view name, std::wstring_view value)
{
    for (std::size_t at = line.find(name, 1); at != std::wstring_view::npos; at = line.find(name, at + 1))
    {
        const std::wstring_view rest = line.substr(at + name.size());
        if ((line[at - 1] == L'/' || line[at - 1] == L'-') &&
            (value.empty() || (rest.starts_with(L':') && (rest.substr(1).starts_with(value) ||
                                                           (rest.substr(1, 1) == L"\"" && rest.substr(2).starts_with(value))))))
            return true;
    }
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring commandLine = WideText(data, size);
    CCmdLineParser exact(true);
    exact.ParseCommandLine(commandLine);
    FUZZ_CHECK(exact.GetCommandLine() == commandLine);

    for (const auto& [name, value] : exact.GetOptions())
    {
        FUZZ_CHECK(!name.empty() && name.find_first_of(L" :") == std::wstring::npos);
        FUZZ_CHECK(IsSpelled(commandLine, name, value));
    }

    // Without case: the same options under lower-case names, the first of
    // each name kept; parsing again gives the same.
    CCmdLineParser folded;
    folded.ParseCommandLine(commandLine);
    for (const auto& [name, value] : exact.GetOptions())
        FUZZ_CHECK(folded.HasOption(Lowered(name)));
    FUZZ_CHECK(folded.GetOptions().size() <= exact.GetOptions().size());
    const auto options = folded.GetOptions();
    folded.ParseCommandLine(commandLine);
    FUZZ_CHECK(folded.GetOptions() == options);
    return 0;
}
