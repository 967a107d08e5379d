#pragma once
// An owned COM string (BSTR), freed in its destructor; move-only. Null when
// it holds nothing, which COM methods take as an empty string.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

class CBstr
{
public:
    CBstr() noexcept = default;
    explicit CBstr(const std::wstring& text) : m_bstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    ~CBstr() { ::SysFreeString(m_bstr); }
    CBstr(CBstr&& other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}
    CBstr& operator=(CBstr&& other) noexcept
    {
        if (this != &other)
        {
            ::SysFreeString(m_bstr);
            m_bstr = std::exchange(other.m_bstr, nullptr);
        }
        return *this;
    }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;

    BSTR Get() const noexcept { return m_bstr; }
    // For a method that hands a new string out.
    BSTR* Put() noexcept
    {
        ::SysFreeString(std::exchange(m_bstr, nullptr));
        return &m_bstr;
    }
    std::wstring Text() const { return m_bstr ? std::wstring(m_bstr, ::SysStringLen(m_bstr)) : std::wstring(); }

private:
    BSTR m_bstr = nullptr;
};
