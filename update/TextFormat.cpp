#include "update/TextFormat.h"

#include <cwchar>
#include <iterator>

std::wstring FillFormat(std::wstring_view format, std::initializer_list<std::wstring_view> args)
{
    std::wstring text;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i)
    {
        const wchar_t c = format[i];
        if (c != L'%' || i + 1 == format.size())
        {
            text += c;
            continue;
        }
        const wchar_t conversion = format[++i];
        if (conversion == L'%')
            text += L'%';
        else if (next != args.end())
            text += *next++;
    }
    return text;
}

std::wstring DecimalText(std::int64_t value)
{
    return std::to_wstring(value);
}

std::wstring HexText(std::uint32_t value)
{
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%x", static_cast<unsigned>(value));
    return text;
}
