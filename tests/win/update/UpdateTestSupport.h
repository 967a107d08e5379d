#pragma once
// The local web site of the update tests, the addresses the test program's
// update service uses, and a watcher that acts on the dialogs it opens.

#include "TestSite.h"
#include "update/MakerSites.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace TestSite
{
// False when the site was not started (tools/update-site.py).
bool IsReady();
// Puts `bytes` at `path` (relative, backslashes) under the site's root.
void Publish(const std::wstring& path, const std::string& bytes);
// Trusts the site's test authority for this user; before the process's
// first TLS connection.
bool TrustAuthority();
// All three sites and the support address at `origin`.
MakerSites At(const std::wstring& origin);
} // namespace TestSite

// The addresses DefaultMakerSites answers in the test program.
MakerSites& TestMakerSites();

#define REQUIRE_TEST_SITE()                                                                                            \
    do                                                                                                                 \
    {                                                                                                                  \
        if (!TestSite::IsReady())                                                                                      \
            GTEST_SKIP() << "the local web site is not running (the ctest fixture starts tools/update-site.py)";       \
        ASSERT_TRUE(TestSite::TrustAuthority());                                                                       \
    } while (false)

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
    CWindowWatcher(const CWindowWatcher&) = delete;
    CWindowWatcher& operator=(const CWindowWatcher&) = delete;

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
class CReportRecorder
{
public:
    CReportRecorder();
    ~CReportRecorder();
    std::vector<std::wstring> reports;
};
