// Any command line: every option the parser finds is spelled in the text
// after a dash or a slash, with its value (maybe quoted) after a colon.
#include "FuzzText.h"
#include "app/CmdLineParser.h"

#include <algorithm>
#include <cwctype>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring line = WideText(data, size);
    CCmdLineParser exact(true), folded;
    exact.ParseCommandLine(line);
    folded.ParseCommandLine(line);
    FUZZ_CHECK(exact.GetCommandLine() == line);
    const auto spelled = [&](std::wstring_view name, std::wstring_view value) {
        for (std::size_t at = line.find(name, 1); at != std::wstring::npos; at = line.find(name, at + 1))
        {
            const std::wstring_view rest = std::wstring_view(line).substr(at + name.size());
            if ((line[at - 1] == L'/' || line[at - 1] == L'-') &&
                (value.empty() || rest.starts_with(L":" + std::wstring(value)) || rest.starts_with(L":\"" + std::wstring(value))))
                return true;
        }
        return false;
    };
    for (const auto& [name, value] : exact.GetOptions())
    {
        FUZZ_CHECK(!name.empty() && name.find_first_of(L" :") == std::wstring::npos && spelled(name, value));
        std::wstring lowered = name;
        std::ranges::transform(lowered, lowered.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
        FUZZ_CHECK(folded.HasOption(lowered)); // without case: the same options under lower-case names
    }
    FUZZ_CHECK(folded.GetOptions().size() <= exact.GetOptions().size());
    const auto options = folded.GetOptions();
    folded.ParseCommandLine(line);
    FUZZ_CHECK(folded.GetOptions() == options);
    return 0;
}
