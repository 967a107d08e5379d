#pragma once
// One owning, move-only type per kind of Win32 handle, and the scoped
// device-context helpers. Each closes what it holds in its destructor;
// Get() lends the handle out, Release() gives it up.

#include <windows.h>

#include <utility>

#ifdef FRAMEWORK_COUNT_HANDLES
// Test builds only: how many handles of each kind the wrappers hold, to find
// leaks where the system cannot count them (GetGuiResources answers 0 under
// Wine). A handle written through Put() is counted from the wrapper's next
// change on.
template <typename Traits>
inline long g_nLiveHandles = 0;
#endif

template <typename Traits>
class CUniqueHandle
{
public:
    using Type = typename Traits::Type;

    CUniqueHandle() noexcept = default;
    explicit CUniqueHandle(Type handle) noexcept : m_handle(handle) { Count(); }
    ~CUniqueHandle() { Reset(); }

    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(other.Release()) { Count(); }
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    Type Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return m_handle != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    Type Release() noexcept
    {
        Type old = std::exchange(m_handle, Traits::Invalid());
        Count();
        return old;
    }
    void Reset(Type handle = Traits::Invalid()) noexcept
    {
        Type old = std::exchange(m_handle, handle);
        Count();
        if (old != Traits::Invalid())
            Traits::Close(old);
    }
    // For APIs that hand a new handle back through a pointer. An API that
    // fails may still write to it: Release() then drops what it wrote.
    Type* Put() noexcept
    {
        Reset();
        return &m_handle;
    }

private:
#ifdef FRAMEWORK_COUNT_HANDLES
    void Count() noexcept
    {
        if (m_bCounted != IsValid())
        {
            g_nLiveHandles<Traits> += IsValid() ? 1 : -1;
            m_bCounted = IsValid();
        }
    }
    bool m_bCounted = false;
#else
    void Count() noexcept {}
#endif

    Type m_handle = Traits::Invalid();
};

namespace HandleTraits
{
// Kernel objects that answer null on failure: processes, threads, events.
struct Kernel
{
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// Files answer INVALID_HANDLE_VALUE on failure.
struct File
{
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// A FindFirstFileW search.
struct Find
{
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};

struct RegKey
{
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

template <typename T>
struct Gdi
{
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};

struct Module
{
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

struct Sid
{
    using Type = PSID;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::FreeSid(h); }
};

struct Menu
{
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};

struct Icon
{
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

struct MemoryDC
{
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteDC(h); }
};

struct Window
{
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyWindow(h); }
};
} // namespace HandleTraits

using CUniqueKernelHandle = CUniqueHandle<HandleTraits::Kernel>;
using CUniqueFile = CUniqueHandle<HandleTraits::File>;
using CUniqueFind = CUniqueHandle<HandleTraits::Find>;
using CUniqueRegKey = CUniqueHandle<HandleTraits::RegKey>;
using CUniqueFont = CUniqueHandle<HandleTraits::Gdi<HFONT>>;
using CUniqueBrush = CUniqueHandle<HandleTraits::Gdi<HBRUSH>>;
using CUniquePen = CUniqueHandle<HandleTraits::Gdi<HPEN>>;
using CUniqueBitmap = CUniqueHandle<HandleTraits::Gdi<HBITMAP>>;
using CUniqueRegion = CUniqueHandle<HandleTraits::Gdi<HRGN>>;
using CUniqueModule = CUniqueHandle<HandleTraits::Module>;
using CUniqueSid = CUniqueHandle<HandleTraits::Sid>;
using CUniqueMenu = CUniqueHandle<HandleTraits::Menu>;
using CUniqueIcon = CUniqueHandle<HandleTraits::Icon>;
using CUniqueMemoryDC = CUniqueHandle<HandleTraits::MemoryDC>;
using CUniqueWindow = CUniqueHandle<HandleTraits::Window>;

// A device context borrowed from a window with GetDC, given back with ReleaseDC.
class CWindowDC
{
public:
    explicit CWindowDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
    ~CWindowDC()
    {
        if (m_hdc)
            ::ReleaseDC(m_hwnd, m_hdc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC Get() const noexcept { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// BeginPaint and its EndPaint.
class CPaintDC
{
public:
    explicit CPaintDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::BeginPaint(hwnd, &m_paint)) {}
    ~CPaintDC()
    {
        if (m_hdc)
            ::EndPaint(m_hwnd, &m_paint);
    }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const noexcept { return m_hdc; }
    const PAINTSTRUCT& GetPaintStruct() const noexcept { return m_paint; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_hdc;
};

// Puts a device context's colours, modes, selected objects and clipping
// back as they were, for drawing into a DC that a caller lent.
class CSavedDC
{
public:
    explicit CSavedDC(HDC hdc) noexcept : m_hdc(hdc), m_nSaved(::SaveDC(hdc)) {}
    ~CSavedDC()
    {
        if (m_nSaved)
            ::RestoreDC(m_hdc, m_nSaved);
    }
    CSavedDC(const CSavedDC&) = delete;
    CSavedDC& operator=(const CSavedDC&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};

// Selects an object into a device context and puts the previous one back.
class CSelectObject
{
public:
    CSelectObject(HDC hdc, HGDIOBJ object) noexcept : m_hdc(hdc), m_previous(::SelectObject(hdc, object)) {}
    ~CSelectObject()
    {
        if (m_previous && m_previous != HGDI_ERROR)
            ::SelectObject(m_hdc, m_previous);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

// A COM interface pointer that releases its reference.
template <typename T>
class CComPtr
{
public:
    CComPtr() noexcept = default;
    ~CComPtr() { Reset(); }
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other)
        {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    T** Put() noexcept
    {
        Reset();
        return &m_p;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
    void Reset() noexcept
    {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }

    template <typename U>
    HRESULT As(CComPtr<U>& other) const noexcept
    {
        return m_p ? m_p->QueryInterface(__uuidof(U), other.PutVoid()) : E_POINTER;
    }

private:
    T* m_p = nullptr;
};
