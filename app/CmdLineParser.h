#pragma once
// Splits a command line into options introduced by "-" or "/", each with an
// optional value after a colon. The whole text is scanned, the program's own
// path included, so a dash or slash anywhere starts an option.

#include <map>
#include <string>

class CCmdLineParser
{
public:
    using OptionMap = std::map<std::wstring, std::wstring>;

    explicit CCmdLineParser(bool caseSensitive = false) : m_bCaseSensitive(caseSensitive) {}

    void ParseCommandLine(const std::wstring& commandLine);

    const std::wstring& GetCommandLine() const noexcept { return m_strCommandLine; }
    const OptionMap& GetOptions() const noexcept { return m_options; }
    bool HasOption(const std::wstring& name) const { return m_options.count(name) != 0; }

private:
    // The first value of a name stays; empty names are never stored.
    void Store(std::wstring name, std::wstring value);

    std::wstring m_strCommandLine;
    OptionMap m_options;
    bool m_bCaseSensitive;
};
