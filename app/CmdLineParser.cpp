#include "app/CmdLineParser.h"

#include <cwctype>

namespace
{
constexpr wchar_t kOptionStarts[] = L"-/";
constexpr wchar_t kBlank = L' ';
constexpr wchar_t kNameEnds[] = L" :";
constexpr wchar_t kQuote = L'"';
} // namespace

void CCmdLineParser::Store(std::wstring name, std::wstring value)
{
    if (name.empty())
        return;
    if (!m_bCaseSensitive)
    {
        for (wchar_t& c : name)
            c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    }
    m_options.emplace(std::move(name), std::move(value));
}

void CCmdLineParser::ParseCommandLine(const std::wstring& commandLine)
{
    m_strCommandLine = commandLine;
    m_options.clear();
    const std::wstring& text = m_strCommandLine;
    const size_t length = text.size();

    size_t pos = 0;
    while (pos < length)
    {
        const size_t start = text.find_first_of(kOptionStarts, pos);
        if (start == std::wstring::npos || start + 1 >= length)
            return;
        const size_t nameStart = start + 1;
        const size_t nameEnd = text.find_first_of(kNameEnds, nameStart);
        if (nameEnd == std::wstring::npos)
        {
            Store(text.substr(nameStart), {});
            return;
        }
        std::wstring name = text.substr(nameStart, nameEnd - nameStart);
        if (text[nameEnd] == kBlank || nameEnd + 1 == length)
        {
            Store(std::move(name), {});
            pos = nameEnd + 1;
            continue;
        }

        // A colon with a value after it: quoted up to the next quote,
        // otherwise up to the next blank.
        size_t valueStart = nameEnd + 1;
        wchar_t terminator = kBlank;
        if (text[valueStart] == kQuote)
        {
            ++valueStart;
            terminator = kQuote;
        }
        const size_t valueEnd = text.find(terminator, valueStart);
        if (valueEnd == std::wstring::npos)
        {
            Store(std::move(name), text.substr(valueStart));
            return;
        }
        Store(std::move(name), text.substr(valueStart, valueEnd - valueStart));
        pos = valueEnd + 1;
    }
}
