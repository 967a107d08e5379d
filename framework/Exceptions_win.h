#pragma once
// The errors the framework raises, each able to tell the user what went
// wrong in the system's own words.

#include <windows.h>

#include <exception>
#include <string>

class CFrameworkException : public std::exception
{
public:
    virtual std::wstring GetErrorMessage() const = 0;
};

// A failed system call, described by the system's message for its error
// code; `messageModule` names the DLL whose message table holds the text
// (for example "wininet.dll"), or none for the system's own table.
class CSystemErrorException : public CFrameworkException
{
public:
    explicit CSystemErrorException(DWORD error, const wchar_t* messageModule = nullptr);

    DWORD GetError() const noexcept { return m_dwError; }
    std::wstring GetErrorMessage() const override { return m_strMessage; }
    const char* what() const noexcept override { return "system error"; }

private:
    DWORD m_dwError;
    std::wstring m_strMessage;
};

// The system's text for `error`, without the trailing line break; a
// generic text with the number when the system has none.
std::wstring SystemErrorText(DWORD error, const wchar_t* messageModule = nullptr);
// The same, but empty when the system has no text.
std::wstring SystemMessageText(DWORD error, const wchar_t* messageModule = nullptr);
