#include "framework/ShellOpen_win.h"

#include "framework/Handles_win.h"

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace
{
// A VARIANT that clears itself.
struct CVariant : VARIANT
{
    CVariant() noexcept { ::VariantInit(this); }
    explicit CVariant(const wchar_t* text) noexcept : CVariant()
    {
        vt = VT_BSTR;
        bstrVal = ::SysAllocString(text);
    }
    explicit CVariant(long number) noexcept : CVariant()
    {
        vt = VT_I4;
        lVal = number;
    }
    ~CVariant() { ::VariantClear(this); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
};

// The desktop's folder view, found through the shell's list of windows;
// its Application is the shell of the signed-in user.
HRESULT DesktopShell(CComPtr<IShellDispatch2>& shell)
{
    CComPtr<IShellWindows> windows;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                    windows.PutVoid());
    CVariant desktop(static_cast<long>(CSIDL_DESKTOP));
    CVariant none;
    long window = 0;
    CComPtr<IDispatch> found;
    if (SUCCEEDED(hr))
        hr = windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.Put());
    if (hr != S_OK) // S_FALSE: no desktop window
        return FAILED(hr) ? hr : E_FAIL;
    CComPtr<IServiceProvider> services;
    CComPtr<IShellBrowser> browser;
    CComPtr<IShellView> view;
    CComPtr<IDispatch> background;
    CComPtr<IShellFolderViewDual> folderView;
    CComPtr<IDispatch> application;
    if (FAILED(hr = found.As(services)) ||
        FAILED(hr = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.PutVoid())) ||
        FAILED(hr = browser->QueryActiveShellView(view.Put())) ||
        FAILED(hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.PutVoid())) ||
        FAILED(hr = background.As(folderView)) || FAILED(hr = folderView->get_Application(application.Put())))
        return hr;
    return application.As(shell);
}
} // namespace

bool ShellOpen(HWND owner, const std::wstring& target) noexcept
{
    if (target.empty())
        return false;
    // ShellExecuteW answers an HINSTANCE that is really an error code; above 32 is success.
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool OpenAsDesktopUser(HWND owner, const std::wstring& target) noexcept
{
    if (target.empty())
        return false;
    CComPtr<IShellDispatch2> shell;
    if (SUCCEEDED(DesktopShell(shell)))
    {
        BSTR file = ::SysAllocString(target.c_str());
        const CVariant none;
        const CVariant verb(L"open");
        const CVariant show(static_cast<long>(SW_SHOWNORMAL));
        const HRESULT hr = file ? shell->ShellExecute(file, none, none, verb, show) : E_OUTOFMEMORY;
        ::SysFreeString(file);
        if (SUCCEEDED(hr))
            return true;
    }
    return ShellOpen(owner, target);
}
