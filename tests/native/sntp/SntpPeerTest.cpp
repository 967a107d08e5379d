// QueryServer against real servers: chronyd and the fault-injecting responder
// (tools/test-peers.sh). Built into the native test program and, unchanged,
// into the Windows one, where it runs on Wine's Winsock.

#include "sntp/SntpClient.h"
#include "sntp/SntpSocket.h"
#include "tests/support/TestPeersGate.h"
#include "tools/TestPeers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

QueryOutcome Query(const wchar_t* host)
{
    CSNTPClient client;
    QueryOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    outcome.ok = client.QueryServer(host, outcome.result);
    outcome.error = CSntpSocket::GetLastError();
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.server = client.GetServerName();
    return outcome;
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (const wchar_t c : text)
        narrow += static_cast<char>(c);
    return narrow;
}

// The capture file's path as this program opens it; under Wine, drive Z: is
// the Unix root.
std::string CaptureFilePath()
{
    std::string file = Environment(TestPeers::kCaptureFileVariable);
#ifdef _WIN32
    if (!file.empty() && file[0] == '/')
    {
        for (char& c : file)
            c = c == '/' ? '\\' : c;
        file = "Z:" + file;
    }
#endif
    return file;
}

class SntpPeers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_PEERS();
        ASSERT_TRUE(m_sockets.IsReady());
    }

private:
    CSocketLayer m_sockets;
};

void ExpectLocalName(const std::wstring& server)
{
    EXPECT_TRUE(server == L"localhost" || server == L"127.0.0.1") << Narrow(server);
}
} // namespace

TEST_F(SntpPeers, ChronydOffsetIsWithinTwoMilliseconds)
{
    const QueryOutcome q = Query(TestPeers::kChronyd);
    ASSERT_TRUE(q.ok) << q.error;
    EXPECT_LT(std::fabs(q.result.localClockOffset), 0.002);
    EXPECT_GT(q.result.roundTripDelay, -0.002);
    EXPECT_LT(q.result.roundTripDelay, 0.05);
    EXPECT_EQ(q.result.stratum, 8);
    EXPECT_EQ(q.result.leapIndicator, 0);
    ExpectLocalName(q.server);
}

TEST_F(SntpPeers, HostNameIsResolved)
{
    const QueryOutcome q = Query(L"localhost");
    ASSERT_TRUE(q.ok) << q.error;
    EXPECT_LT(std::fabs(q.result.localClockOffset), 0.002);
    ExpectLocalName(q.server);
}

TEST_F(SntpPeers, AddressWithoutReverseNameStaysDotted)
{
    const QueryOutcome q = Query(TestPeers::kGood);
    ASSERT_TRUE(q.ok) << q.error;
    EXPECT_EQ(q.server, TestPeers::kGood);
    EXPECT_LT(std::fabs(q.result.localClockOffset), 0.005);
}

TEST_F(SntpPeers, RequestIsExactlyTheFortyEightBytes)
{
    const std::string path = CaptureFilePath();
    ASSERT_FALSE(path.empty()) << TestPeers::kCaptureFileVariable << " is not set";
    std::remove(path.c_str());
    const QueryOutcome q = Query(TestPeers::kCapture);
    ASSERT_TRUE(q.ok) << q.error;

    std::ifstream file(path);
    std::string hex;
    ASSERT_TRUE(std::getline(file, hex)) << path;
    ASSERT_EQ(hex.size(), 96u) << hex;
    EXPECT_EQ(hex.substr(0, 2), "1b");
    EXPECT_EQ(hex.substr(2, 78), std::string(78, '0'));
    // Bytes 40 to 47 are T1, which the responder echoed as the originate.
    char expected[17];
    std::snprintf(expected, sizeof expected, "%016llx",
                  static_cast<unsigned long long>(q.result.originateStamp.Value()));
    EXPECT_EQ(hex.substr(80), expected);
    EXPECT_LT(std::fabs(CNtpTimestamp::Difference(q.result.destinationStamp, q.result.originateStamp)), 0.05);
}

TEST_F(SntpPeers, SilentServerTimesOutAfterFiveSeconds)
{
    const QueryOutcome q = Query(TestPeers::kSilent);
    EXPECT_FALSE(q.ok);
    EXPECT_EQ(q.error, 10060u);
    EXPECT_GE(q.seconds, 4.95);
    EXPECT_LT(q.seconds, 6.5);
    EXPECT_EQ(q.server, TestPeers::kSilent);
}

#ifndef _WIN32
// Wine reports a refused port as no reply at all; Windows and Linux as an
// error of the receive.
TEST_F(SntpPeers, NothingListeningFailsTheReceive)
{
    const QueryOutcome q = Query(TestPeers::kNothingListening);
    EXPECT_FALSE(q.ok);
    EXPECT_EQ(q.error, 10054u); // WSAECONNRESET
    EXPECT_LT(q.seconds, 2.0);
}
#endif

TEST_F(SntpPeers, EmptyDatagramFailsTheReceive)
{
    const QueryOutcome q = Query(TestPeers::kEmptyDatagram);
    EXPECT_FALSE(q.ok);
    EXPECT_NE(q.error, 10060u);
    EXPECT_LT(q.seconds, 2.0);
}

TEST_F(SntpPeers, ReplyLongerThanTheBufferFailsTheReceive)
{
    const QueryOutcome q = Query(TestPeers::kLongReply);
    EXPECT_FALSE(q.ok);
    EXPECT_EQ(q.error, 10040u); // WSAEMSGSIZE
}

TEST_F(SntpPeers, ShortReplyIsReadWithTheMissingBytesZero)
{
    const QueryOutcome q = Query(TestPeers::kShortDatagram);
    ASSERT_TRUE(q.ok) << q.error;
    EXPECT_EQ(q.result.transmitStamp.Fraction(), 0u);
    EXPECT_NE(q.result.transmitStamp.Seconds(), 0u);
}

TEST_F(SntpPeers, WrongOriginateIsAcceptedAndUsedAsT1)
{
    const QueryOutcome q = Query(TestPeers::kWrongOriginate);
    ASSERT_TRUE(q.ok) << q.error;
    // The echoed time is one second older than the request's, and it is
    // the one that counts.
    EXPECT_NEAR(q.result.roundTripDelay, 1.0, 0.005);
    EXPECT_NEAR(q.result.localClockOffset, 0.5, 0.005);
}

TEST_F(SntpPeers, RepliesTheServerMarksUnusableFail)
{
    struct Case
    {
        const wchar_t* host;
        std::uint32_t error;
    };
    const Case cases[] = {
        {TestPeers::kKissOfDeath, Sntp::kErrorKissOfDeath},
        {TestPeers::kLeapAlarm, Sntp::kErrorServerNotSynchronized},
        {TestPeers::kZeroTransmit, Sntp::kErrorNoTransmitTime},
        {TestPeers::kWrongMode, Sntp::kErrorNotServerMode},
        {TestPeers::kStratum16, Sntp::kErrorServerUnsynchronizedStratum},
        {TestPeers::kBadVersion, Sntp::kErrorUnsupportedVersion},
    };
    for (const Case& c : cases)
    {
        const QueryOutcome q = Query(c.host);
        EXPECT_FALSE(q.ok) << Narrow(c.host);
        EXPECT_EQ(q.error, c.error) << Narrow(c.host);
        EXPECT_LT(q.seconds, 2.0) << Narrow(c.host);
    }
}

TEST_F(SntpPeers, ShiftedServerClocksGiveTheirOffset)
{
    struct Case
    {
        const wchar_t* host;
        double offset;
    };
    const Case cases[] = {{TestPeers::kPlus10s, 10.0}, {TestPeers::kMinus2h, -7200.0}, {TestPeers::kPlus2h, 7200.0}};
    for (const Case& c : cases)
    {
        const QueryOutcome q = Query(c.host);
        ASSERT_TRUE(q.ok) << Narrow(c.host) << " " << q.error;
        EXPECT_NEAR(q.result.localClockOffset, c.offset, 0.005) << Narrow(c.host);
        EXPECT_LT(std::fabs(q.result.roundTripDelay), 0.005) << Narrow(c.host);
    }
}

TEST_F(SntpPeers, UnknownHostFailsWithTheResolverError)
{
    const QueryOutcome q = Query(L"no-such-host.invalid");
    EXPECT_FALSE(q.ok);
    EXPECT_NE(q.error, 0u);
    EXPECT_NE(q.error, 10060u);
    EXPECT_TRUE(q.server.empty());
}
