#include "pool/PoolServerTable.h"

#include <gtest/gtest.h>

#include <set>

TEST(PoolServerTable, HoldsSixtyDistinctZonesWorldwideFirst)
{
    ASSERT_EQ(PoolServerTable.size(), 60u);
    EXPECT_EQ(PoolServerTable.front().server, L"pool.ntp.org");
    std::set<std::wstring_view> servers;
    for (const auto& entry : PoolServerTable)
    {
        EXPECT_FALSE(entry.count.empty()) << testing::PrintToString(std::wstring(entry.country));
        EXPECT_TRUE(entry.server.ends_with(L"pool.ntp.org")) << testing::PrintToString(std::wstring(entry.server));
        servers.insert(entry.server);
    }
    EXPECT_EQ(servers.size(), 60u) << "no two rows share a server";
}

TEST(PoolServerTable, FindsRegionsByExactHostAndTheDefaultIsTheCanadianZone)
{
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {L"pool.ntp.org", L"Worldwide"},
        {L"ca.pool.ntp.org", L"Canada"},
        {L"north-america.pool.ntp.org", L"North America"},
        {L"vu.pool.ntp.org", L"Vanuatu"},
        {DefaultPoolServer(), L"Canada"},
        {L"CA.pool.ntp.org", L"Unspecified"},
        {L"time.example", L"Unspecified"},
        {L"", L"Unspecified"},
    };
    for (const auto& [host, region] : cases)
        EXPECT_EQ(FindPoolRegion(host), region) << testing::PrintToString(host);
}
