#include "framework/Exceptions_win.h"

#include "framework/CallbackGuard_win.h"

#include <iterator>
#include <utility>

namespace
{
ExceptionReporter& Reporter()
{
    static ExceptionReporter reporter;
    return reporter;
}

std::wstring Widen(const char* text)
{
    std::wstring wide;
    for (; text && *text; ++text)
        wide.push_back(static_cast<unsigned char>(*text));
    return wide;
}
} // namespace

CSystemErrorException::CSystemErrorException(DWORD error, const wchar_t* messageModule)
    : m_dwError(error), m_strMessage(SystemErrorText(error, messageModule))
{
}

std::wstring SystemErrorText(DWORD error, const wchar_t* messageModule)
{
    std::wstring text = SystemMessageText(error, messageModule);
    return text.empty() ? L"Error " + std::to_wstring(error) + L"." : text;
}

std::wstring SystemMessageText(DWORD error, const wchar_t* messageModule)
{
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE module = messageModule ? ::GetModuleHandleW(messageModule) : nullptr;
    if (module)
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    wchar_t text[512] = {};
    DWORD length = ::FormatMessageW(flags, module, error, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' '))
        --length;
    return std::wstring(text, length);
}

namespace
{
// The text a user is shown for the exception being handled (call only
// inside a catch block).
std::wstring CurrentExceptionText()
{
    try
    {
        throw;
    }
    catch (const CFrameworkException& e)
    {
        return e.GetErrorMessage();
    }
    catch (const std::exception& e)
    {
        return Widen(e.what());
    }
    catch (...)
    {
        return L"An unexpected error occurred.";
    }
}
} // namespace

void ReportCurrentException() noexcept
{
    try
    {
        const std::wstring text = CurrentExceptionText();
        if (Reporter())
            Reporter()(text);
        else
            ::MessageBoxW(::GetActiveWindow(), text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
    }
    catch (...)
    {
        // Out of memory while reporting: nothing more can be done.
    }
}

void SetExceptionReporter(ExceptionReporter reporter)
{
    Reporter() = std::move(reporter);
}
