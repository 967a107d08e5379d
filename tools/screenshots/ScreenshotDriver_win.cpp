// Drives Kavrin's windows for tools/make-screenshots.sh, from outside the programs:
//   ScreenshotDriver wait WINDOW [CONTROL TEXT]   waits until WINDOW shows (and the text of its control
//                                                 CONTROL holds TEXT)
//   ScreenshotDriver rect WINDOW                  waits until WINDOW shows and prints its frame on the screen:
//                                                 "WIDTH HEIGHT LEFT TOP"
//   ScreenshotDriver post WINDOW MSG WPARAM [LPARAM]  waits until WINDOW shows and posts it a message
//   ScreenshotDriver cursor X Y                   moves the mouse pointer
//   ScreenshotDriver trust FILE                   adds the DER certificate FILE to the user's Root store
// WINDOW is the exact title of a visible top-level window, or "class=NAME" for one of that window class.
// Numbers may be decimal or 0x hex. Exits 0 on success, 1 when the window never shows, 2 on bad usage.

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace
{
constexpr DWORD kWaitMs = 30000;
constexpr DWORD kPollMs = 100;

struct Match
{
    const wchar_t* title; // nullptr: any
    const wchar_t* className; // nullptr: any
    HWND found = nullptr;
};

// Trailing blanks do not count: the setup's pages add one to its title.
bool HasText(const wchar_t* wanted, const wchar_t* text)
{
    if (!wanted)
        return true;
    const std::size_t length = std::wcslen(wanted);
    return std::wcsncmp(wanted, text, length) == 0 && text[std::wcsspn(text + length, L" ") + length] == L'\0';
}

BOOL CALLBACK Visit(HWND window, LPARAM param)
{
    auto& match = *reinterpret_cast<Match*>(param);
    wchar_t className[256] = {};
    wchar_t title[256] = {};
    RECT frame{};
    ::GetClassNameW(window, className, 256);
    ::GetWindowTextW(window, title, 256);
    if (::IsWindowVisible(window) && ::GetWindowRect(window, &frame) && frame.right > frame.left &&
        HasText(match.className, className) && HasText(match.title, title))
    {
        match.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindShown(const wchar_t* window)
{
    constexpr wchar_t kClass[] = L"class=";
    const bool byClass = std::wcsncmp(window, kClass, std::size(kClass) - 1) == 0;
    Match match{byClass ? nullptr : window, byClass ? window + std::size(kClass) - 1 : nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&match));
    return match.found;
}

std::wstring ControlText(HWND window, int id)
{
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    const HWND control = ::GetDlgItem(window, id);
    if (control && ::SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                                         SMTO_ABORTIFHUNG, 1000, &copied))
        return text;
    return {};
}

// Polls `ready` until it answers a window or the wait is over.
template <typename Ready>
HWND WaitFor(Ready ready)
{
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs)
    {
        if (const HWND window = ready())
            return window;
        ::Sleep(kPollMs);
    }
    return nullptr;
}

unsigned long Number(const wchar_t* text)
{
    return std::wcstoul(text, nullptr, 0);
}

int Wait(int argc, wchar_t** argv)
{
    const int control = argc > 4 ? static_cast<int>(Number(argv[3])) : 0;
    const wchar_t* wanted = argc > 4 ? argv[4] : nullptr;
    const HWND window = WaitFor([&]() -> HWND {
        const HWND shown = FindShown(argv[2]);
        return shown && (!wanted || ControlText(shown, control).find(wanted) != std::wstring::npos) ? shown : nullptr;
    });
    return window ? 0 : 1;
}

int Rect(wchar_t** argv)
{
    const HWND window = WaitFor([&] { return FindShown(argv[2]); });
    RECT frame{};
    if (!window || !::GetWindowRect(window, &frame))
        return 1;
    std::printf("%ld %ld %ld %ld\n", frame.right - frame.left, frame.bottom - frame.top, frame.left, frame.top);
    return 0;
}

int Post(int argc, wchar_t** argv)
{
    const HWND window = WaitFor([&] { return FindShown(argv[2]); });
    const LPARAM lp = argc > 5 ? static_cast<LPARAM>(Number(argv[5])) : 0;
    return window && ::PostMessageW(window, Number(argv[3]), Number(argv[4]), lp) ? 0 : 1;
}

struct StoreCloser
{
    void operator()(HCERTSTORE store) const noexcept { ::CertCloseStore(store, 0); }
};

int Trust(const wchar_t* path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string der{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::unique_ptr<void, StoreCloser> store(
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
    const bool added = store && !der.empty() &&
                       ::CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING,
                                                          reinterpret_cast<const BYTE*>(der.data()),
                                                          static_cast<DWORD>(der.size()),
                                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    return added ? 0 : 1;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"wait" && (argc == 3 || argc == 5))
        return Wait(argc, argv);
    if (command == L"rect" && argc == 3)
        return Rect(argv);
    if (command == L"post" && (argc == 5 || argc == 6))
        return Post(argc, argv);
    if (command == L"cursor" && argc == 4)
        return ::SetCursorPos(static_cast<int>(Number(argv[2])), static_cast<int>(Number(argv[3]))) ? 0 : 1;
    if (command == L"trust" && argc == 3)
        return Trust(argv[2]);
    std::fputs("usage: ScreenshotDriver wait|rect|post|cursor|trust ... (see its source)\n", stderr);
    return 2;
}
