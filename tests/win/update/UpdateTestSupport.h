#pragma once
// The update tests' local web site, the test program's addresses, and a watcher of the dialogs it opens.

#include "KavrinVersion.h" // the running programs' version
#include "TestSite.h"
#include "framework/CallbackGuard_win.h"
#include "tests/support/win/ModalDriver.h"
#include "tests/support/win/ProcessRunner.h"
#include "update/MakerSites.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace TestSite
{
bool IsReady(); // false when tests/harness/update-site.py was not started
void Publish(const std::wstring& path, const std::string& bytes); // `path` relative, with backslashes
bool TrustAuthority(); // the site's and the code-signing one, for this user; before the first TLS connection
MakerSites At(const std::wstring& origin);
std::vector<SetupRules::KeyDigest> PublisherKeys(); // the test publisher's
std::string Bytes(const std::wstring& path);       // of a file of the site, relative
} // namespace TestSite

MakerSites& TestMakerSites(); // what DefaultMakerSites answers in the test program

#define REQUIRE_TEST_SITE()                                                                                            \
    if (!TestSite::IsReady())                                                                                          \
        GTEST_SKIP() << "the local web site is not running (the ctest fixture starts tests/harness/update-site.py)";   \
    ASSERT_TRUE(TestSite::TrustAuthority())

std::string ReadBytes(const std::wstring& path);
std::wstring DownloadsFolder();
inline std::wstring ItemText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

// Acts on each new visible window of this thread with `caption`, also inside modal loops. One at a time.
class CWindowWatcher
{
public:
    CWindowWatcher(std::wstring caption, std::function<void(HWND)> action)
        : m_strCaption(std::move(caption)), m_action(std::move(action))
    {
    }

private:
    void Look();

    std::wstring m_strCaption;
    std::function<void(HWND)> m_action;
    std::vector<HWND> m_seen;
    CModalDriver m_driver{[this] { return Look(), false; }};
};

// Collects what the callback boundary reports instead of showing it.
struct CReportRecorder
{
    CReportRecorder() { SetExceptionReporter([this](const std::wstring& text) { reports.push_back(text); }); }
    ~CReportRecorder() { SetExceptionReporter({}); }
    std::vector<std::wstring> reports;
};
