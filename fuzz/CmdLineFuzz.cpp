// Any command line: every option the parser finds is spelled in the text
// after a dash or a slash, with its value after a colon.

#include "FuzzText.h"

#include "app/CmdLineParser.h"

#include <cwctype>

namespace
{
std::wstring Lowered(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    return text;
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
        const std::wstring spelled = value.empty() ? name : name + L":" + value;
        const std::wstring quoted = name + L":\"" + value;
        FUZZ_CHECK(commandLine.find(L"/" + spelled) != std::wstring::npos ||
                   commandLine.find(L"-" + spelled) != std::wstring::npos ||
                   commandLine.find(L"/" + quoted) != std::wstring::npos ||
                   commandLine.find(L"-" + quoted) != std::wstring::npos);
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
