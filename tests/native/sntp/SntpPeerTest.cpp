// QueryServer against real servers: chronyd and the fault-injecting responder
// (tools/test-peers.sh). Built into the native test program and, unchanged,
// into the Windows one, where it runs on Wine's Winsock.

#include "sntp/SntpClient.h"
#include "sntp/SntpSocket.h"
#include "tests/support/TestPeersGate.h"
#include "tools/TestPeers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <string>

namespace
{
struct QueryOutcome
{
    bool ok = false;
    std::uint32_t error = 0;
    SntpResult result;
    std::wstring server;
    double seconds = 0.0;
};

class SntpPeers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_PEERS();
        ASSERT_TRUE(m_sockets.IsReady());
    }
    static QueryOutcome Query(const wchar_t* host)
    {
        CSNTPClient client;
        QueryOutcome q;
        CSntpSocket::SetLastError(0); // nothing left over from an earlier query
        const auto start = std::chrono::steady_clock::now();
        q.ok = client.QueryServer(host, q.result);
        q.error = CSntpSocket::GetLastError();
        q.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        q.server = client.GetServerName();
        return q;
    }
    static std::string Narrow(const wchar_t* host) { return std::string(host, host + std::wcslen(host)); }

private:
    CSocketLayer m_sockets;
};
} // namespace

TEST_F(SntpPeers, AnsweringServersGiveTheirOffsetAndName)
{
    // server: nullptr for a local name, reverse-resolved or dotted.
    struct Case { const wchar_t* host; double offset, delay, tolerance; const wchar_t* server; };
    const Case cases[] = {
        {TestPeers::kChronyd, 0.0, 0.0, 0.005, nullptr},
        {L"localhost", 0.0, 0.0, 0.005, nullptr},
        // No reverse name: the address stays dotted.
        {TestPeers::kGood, 0.0, 0.0, 0.005, TestPeers::kGood},
        {TestPeers::kPlus10s, 10.0, 0.0, 0.005, TestPeers::kPlus10s},
        {TestPeers::kMinus2h, -7200.0, 0.0, 0.005, TestPeers::kMinus2h},
        {TestPeers::kPlus2h, 7200.0, 0.0, 0.005, TestPeers::kPlus2h},
        // In the next NTP era.
        {TestPeers::kPlus10y, 315576000.0, 0.0, 0.005, TestPeers::kPlus10y},
        // The server's two seconds are its own, not the network's; the first reply counts.
        {TestPeers::kDelayed, 0.0, 0.0, 0.005, TestPeers::kDelayed},
        {TestPeers::kDoubled, 0.0, 0.0, 0.005, TestPeers::kDoubled},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.host));
        const QueryOutcome q = Query(c.host);
        ASSERT_TRUE(q.ok) << q.error;
        EXPECT_NEAR(q.result.localClockOffset, c.offset, c.tolerance);
        EXPECT_NEAR(q.result.roundTripDelay, c.delay, 0.02);
        if (c.server)
            EXPECT_EQ(q.server, c.server);
        else
            EXPECT_TRUE(q.server == L"localhost" || q.server == L"127.0.0.1");
        if (c.host == TestPeers::kChronyd)
        {
            EXPECT_EQ(q.result.stratum, 8);
            EXPECT_EQ(q.result.leapIndicator, 0);
        }
    }
}

TEST_F(SntpPeers, RequestIsExactlyTheFortyEightBytes)
{
    std::string path = Environment(TestPeers::kCaptureFileVariable);
    ASSERT_FALSE(path.empty()) << TestPeers::kCaptureFileVariable << " is not set";
#ifdef _WIN32
    // Under Wine, drive Z: is the Unix root.
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    path = "Z:" + path;
#endif
    std::remove(path.c_str());
    const QueryOutcome q = Query(TestPeers::kCapture);
    ASSERT_TRUE(q.ok) << q.error;

    std::ifstream file(path);
    std::string hex;
    ASSERT_TRUE(std::getline(file, hex)) << path;
    char stamp[17];
    std::snprintf(stamp, sizeof stamp, "%016llx", static_cast<unsigned long long>(q.result.originateStamp.Value()));
    // Version 3, mode 3, zeros, and in bytes 40 to 47 T1, which the responder echoed as the originate.
    EXPECT_EQ(hex, "1b" + std::string(78, '0') + stamp);
}

TEST_F(SntpPeers, FaultsFailWithTheirError)
{
    constexpr std::uint32_t kAnyButTimeOut = 1; // whatever the receive left
    struct Case { const wchar_t* host; std::uint32_t error; double maxSeconds; };
    const Case cases[] = {
        {TestPeers::kSilent, 10060, 6.5},
        {TestPeers::kWrongSource, 10060, 6.5}, // the connected socket never sees it
        {TestPeers::kEmptyDatagram, kAnyButTimeOut, 2.0},
        {TestPeers::kLongReply, 10040, 2.0}, // WSAEMSGSIZE
#ifndef _WIN32
        // Wine reports a refused port as no reply at all; Windows and Linux
        // as an error of the receive.
        {TestPeers::kNothingListening, 10054, 2.0}, // WSAECONNRESET
#endif
        {TestPeers::kKissOfDeath, Sntp::kErrorKissOfDeath, 2.0},
        {TestPeers::kLeapAlarm, Sntp::kErrorServerNotSynchronized, 2.0},
        {TestPeers::kZeroTransmit, Sntp::kErrorNoTransmitTime, 2.0},
        {TestPeers::kWrongMode, Sntp::kErrorNotServerMode, 2.0},
        {TestPeers::kStratum16, Sntp::kErrorServerUnsynchronizedStratum, 2.0},
        {TestPeers::kBadVersion, Sntp::kErrorUnsupportedVersion, 2.0},
        {TestPeers::kStratum0, Sntp::kErrorKissOfDeath, 2.0},
        {TestPeers::kShortDatagram, Sntp::kErrorTruncatedReply, 2.0},
        {TestPeers::kWrongOriginate, Sntp::kErrorNotThisRequest, 2.0},
        {TestPeers::kZeroOriginate, Sntp::kErrorNotThisRequest, 2.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.host));
        const QueryOutcome q = Query(c.host);
        EXPECT_FALSE(q.ok);
        if (c.error == kAnyButTimeOut)
            EXPECT_NE(q.error, 10060u);
        else
            EXPECT_EQ(q.error, c.error);
        EXPECT_LT(q.seconds, c.maxSeconds);
        EXPECT_GE(q.seconds, c.error == 10060 ? 4.95 : 0.0) << "the five-second time-out";
        EXPECT_EQ(q.server, c.host);
    }

    const QueryOutcome unknown = Query(L"no-such-host.invalid");
    EXPECT_FALSE(unknown.ok);
    EXPECT_TRUE(unknown.error != 0 && unknown.error != 10060) << unknown.error;
    EXPECT_TRUE(unknown.server.empty());
}
