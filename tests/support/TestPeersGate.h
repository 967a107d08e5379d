#pragma once
// Tests that talk to the test time servers run only where
// tests/harness/test-peers.sh started them; in CI their absence is a failure,
// elsewhere a skip.

#include "tests/harness/TestPeers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// An environment variable's value, or empty when it is not set.
inline std::string Environment(const char* name)
{
#ifdef _MSC_VER
    char* value = nullptr;
    std::size_t size = 0;
    if (_dupenv_s(&value, &size, name) != 0 || !value)
        return {};
    const std::string text = value;
    std::free(value);
    return text;
#else
    const char* value = std::getenv(name);
    return value ? value : "";
#endif
}

// For a fixture's SetUp or a test body.
#define REQUIRE_TEST_PEERS()                                                                                           \
    do                                                                                                                 \
    {                                                                                                                  \
        const std::string peersReady = Environment(TestPeers::kReadyVariable);                                         \
        if (peersReady.empty() && !Environment("CI").empty())                                                          \
            FAIL() << "the test time servers were not started (tests/harness/test-peers.sh)";                          \
        if (peersReady.empty())                                                                                        \
            GTEST_SKIP() << "no test time servers: run inside tools/test-all.sh";                                      \
        ASSERT_EQ(peersReady, "1") << "the test time servers did not start";                                           \
    } while (false)
