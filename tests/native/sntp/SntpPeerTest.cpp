// QueryServer against chronyd and the fault-injecting responder (tests/harness/test-peers.sh),
// natively and, unchanged, on Wine's Winsock.

#include "sntp/SntpClient.h"
#include "sntp/SntpSocket.h"
#include "tests/harness/TestPeers.h"
#include "tests/support/TestPeersGate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <string>

namespace
{
struct QueryOutcome { bool ok; std::uint32_t error; SntpResult result; std::wstring server; double seconds; };

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
        SntpResult result;
        CSntpSocket::SetLastError(0); // nothing left over from an earlier query
        const auto start = std::chrono::steady_clock::now();
        const bool ok = client.QueryServer(host, result);
        return {ok, CSntpSocket::GetLastError(), result, client.GetServerName(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
    }
    static std::string Narrow(const wchar_t* host) { return std::string(host, host + std::wcslen(host)); }

private:
    CSocketLayer m_sockets;
};
} // namespace

TEST_F(SntpPeers, AnsweringServersGiveTheirOffsetAndName)
{
    // server: nullptr for a local name, reverse-resolved or dotted. The others have no reverse
    // name: the address stays dotted. chronyd serves at stratum 8, the responder at 2.
    struct Case { const wchar_t* host; double offset; const wchar_t* server; int stratum; };
    const Case cases[] = {
        {TestPeers::kChronyd, 0.0, nullptr, 8}, {L"localhost", 0.0, nullptr, 8}, {TestPeers::kGood, 0.0, TestPeers::kGood, 2},
        {TestPeers::kPlus10s, 10.0, TestPeers::kPlus10s, 2}, {TestPeers::kMinus2h, -7200.0, TestPeers::kMinus2h, 2},
        {TestPeers::kPlus2h, 7200.0, TestPeers::kPlus2h, 2},
        {TestPeers::kPlus10y, 315576000.0, TestPeers::kPlus10y, 2}, // in the next NTP era
        // The server's two seconds are its own, not the network's; the first reply counts.
        {TestPeers::kDelayed, 0.0, TestPeers::kDelayed, 2}, {TestPeers::kDoubled, 0.0, TestPeers::kDoubled, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.host));
        const QueryOutcome q = Query(c.host);
        ASSERT_TRUE(q.ok) << q.error;
        // All servers share this machine's clock: what is left is the exchange's
        // own timing, a few milliseconds on a busy machine.
        EXPECT_NEAR(q.result.localClockOffset, c.offset, 0.05);
        EXPECT_NEAR(q.result.roundTripDelay, 0.0, 0.1);
        EXPECT_TRUE(c.server ? q.server == c.server : q.server == L"localhost" || q.server == L"127.0.0.1");
        EXPECT_EQ(q.result.stratum, c.stratum);
    }
}

TEST_F(SntpPeers, RequestIsExactlyTheFortyEightBytes)
{
    std::string path = Environment(TestPeers::kCaptureFileVariable);
    ASSERT_FALSE(path.empty()) << TestPeers::kCaptureFileVariable << " is not set";
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
    path = "Z:" + path; // under Wine, drive Z: is the Unix root
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
        EXPECT_TRUE(c.error == kAnyButTimeOut ? q.error != 10060 : q.error == c.error) << q.error;
        EXPECT_LT(q.seconds, c.maxSeconds);
        EXPECT_GE(q.seconds, c.error == 10060 ? 4.95 : 0.0) << "the five-second time-out";
        EXPECT_EQ(q.server, c.host);
    }

    const QueryOutcome unknown = Query(L"no-such-host.invalid");
    EXPECT_TRUE(!unknown.ok && unknown.error != 0 && unknown.error != 10060 && unknown.server.empty()) << unknown.error;
}
