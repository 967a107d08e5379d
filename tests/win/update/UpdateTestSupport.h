#pragma once
// The local web site of the update tests, the addresses the test program's
// update service uses, and a watcher that acts on the dialogs it opens.

#include "TestSite.h"
#include "framework/CallbackGuard_win.h"
#include "update/MakerSites.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace TestSite
{
bool IsReady(); // false when tools/update-site.py was not started
void Publish(const std::wstring& path, const std::string& bytes); // `path` relative, with backslashes
bool TrustAuthority(); // for this user; before the process's first TLS connection
MakerSites At(const std::wstring& origin);
} // namespace TestSite

MakerSites& TestMakerSites(); // what DefaultMakerSites answers in the test program

#define REQUIRE_TEST_SITE()                                                                                            \
    if (!TestSite::IsReady())                                                                                          \
        GTEST_SKIP() << "the local web site is not running (the ctest fixture starts tools/update-site.py)";           \
    ASSERT_TRUE(TestSite::TrustAuthority())

std::string ReadBytes(const std::wstring& path);
std::wstring DownloadsFolder();
std::wstring ItemText(HWND dialog, int id);

// Acts on each new visible window of this process with `caption`, from a
// thread timer, which also fires inside modal loops.
class CWindowWatcher
{
public:
    CWindowWatcher(std::wstring caption, std::function<void(HWND)> action);
    ~CWindowWatcher();
    int Count() const noexcept { return m_nSeen; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    void Look();

    std::wstring m_strCaption;
    std::function<void(HWND)> m_action;
    UINT_PTR m_nTimer = 0;
    std::vector<HWND> m_seen;
    int m_nSeen = 0;
};

// Collects what the callback boundary reports instead of showing it.
struct CReportRecorder
{
    CReportRecorder() { SetExceptionReporter([this](const std::wstring& text) { reports.push_back(text); }); }
    ~CReportRecorder() { SetExceptionReporter({}); }
    std::vector<std::wstring> reports;
};
