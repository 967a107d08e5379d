// The exchange's steps, their order and its last-error rules, over a
// recording fake of the socket layer.

#include "sntp/SntpExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace
{
// What closing a socket leaves behind, to show that a kept error survives it.
constexpr std::uint32_t kErrorLeftByClose = 10093;

CNtpTimestamp At(double seconds)
{
    return CNtpTimestamp().AddSeconds(seconds);
}

void PutStamp(std::vector<std::uint8_t>& reply, std::size_t offset, CNtpTimestamp stamp)
{
    for (std::size_t i = 0; i < 8; ++i)
        reply[offset + i] = static_cast<std::uint8_t>(stamp.Value() >> (56 - 8 * i));
}

// Version 4, mode 4, stratum 3; T1 = 100.0, T2 = 101.0, T3 = 101.5.
std::vector<std::uint8_t> WorkedExampleReply()
{
    std::vector<std::uint8_t> reply(48, 0);
    reply[0] = 0x24;
    reply[1] = 3;
    PutStamp(reply, 24, At(100.0));
    PutStamp(reply, 32, At(101.0));
    PutStamp(reply, 40, At(101.5));
    return reply;
}

std::string Dotted(std::uint32_t address)
{
    unsigned char b[4];
    std::memcpy(b, &address, 4);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}

class CFakeExchangePlatform
{
public:
    enum class Step
    {
        None,
        Open,
        Resolve,
        Connect,
        Send,
        Receive,
    };

    // The one step that fails, and the error it leaves.
    Step failingStep = Step::None;
    std::uint32_t stepError = 0;
    SocketWait wait = SocketWait::Readable;
    std::vector<std::uint8_t> reply = WorkedExampleReply();
    std::deque<CNtpTimestamp> clock{At(100.0), At(100.7)};

    std::vector<std::string> log;
    std::vector<std::uint8_t> sent;
    std::uint32_t lastError = 0;

    class Socket
    {
    public:
        explicit Socket(CFakeExchangePlatform& platform) : m_platform(platform) {}
        ~Socket()
        {
            m_platform.log.push_back("close");
            m_platform.lastError = kErrorLeftByClose;
        }
        Socket(const Socket&) = delete;
        Socket& operator=(const Socket&) = delete;

        bool Open() { return m_platform.Record("open", Step::Open); }
        bool Connect(std::uint32_t address, std::uint16_t port)
        {
            return m_platform.Record("connect " + Dotted(address) + ":" + std::to_string(port), Step::Connect);
        }
        std::wstring LookUpPeerName()
        {
            m_platform.log.push_back("peer-name");
            return L"ntp.example";
        }
        bool Send(std::span<const std::uint8_t> datagram)
        {
            m_platform.sent.assign(datagram.begin(), datagram.end());
            return m_platform.Record("send " + std::to_string(datagram.size()), Step::Send);
        }
        SocketWait WaitReadable(std::uint32_t timeoutMs)
        {
            m_platform.log.push_back("wait " + std::to_string(timeoutMs));
            if (m_platform.wait == SocketWait::Failed)
                m_platform.lastError = 10038;
            return m_platform.wait;
        }
        int Receive(std::span<std::uint8_t> buffer)
        {
            if (!m_platform.Record("receive " + std::to_string(buffer.size()), Step::Receive))
                return -1;
            const std::size_t size = std::min(buffer.size(), m_platform.reply.size());
            std::copy_n(m_platform.reply.begin(), size, buffer.begin());
            return static_cast<int>(size);
        }

        std::wstring m_serverName;

    private:
        CFakeExchangePlatform& m_platform;
    };

    std::unique_ptr<Socket> MakeSocket() { return std::make_unique<Socket>(*this); }
    std::string ToResolverText(const std::wstring& text)
    {
        log.push_back("narrow");
        std::string narrow;
        for (const wchar_t c : text)
            narrow += static_cast<char>(c);
        return narrow;
    }
    // Only the example's address counts as dotted.
    bool ParseDottedAddress(const std::string& host, std::uint32_t& address)
    {
        log.push_back("parse " + host);
        if (host != "192.0.2.7")
            return false;
        const unsigned char b[4] = {192, 0, 2, 7};
        std::memcpy(&address, b, 4);
        return true;
    }
    bool ResolveHost(const std::string& host, std::uint32_t& address)
    {
        if (!Record("resolve " + host, Step::Resolve))
            return false;
        const unsigned char b[4] = {198, 51, 100, 9};
        std::memcpy(&address, b, 4);
        return true;
    }
    CNtpTimestamp Now()
    {
        log.push_back("now");
        const CNtpTimestamp t = clock.front();
        clock.pop_front();
        return t;
    }
    std::uint32_t GetLastError() const { return lastError; }
    void SetLastError(std::uint32_t error)
    {
        log.push_back("set-error " + std::to_string(error));
        lastError = error;
    }

private:
    bool Record(std::string entry, Step step)
    {
        log.push_back(std::move(entry));
        if (step != failingStep)
            return true;
        lastError = stepError;
        return false;
    }
};

using Log = std::vector<std::string>;

bool RunQuery(CFakeExchangePlatform& platform, const std::wstring& host, SntpResult& result, std::wstring& name)
{
    return Sntp::RunExchange(platform, host, 5000, result, name);
}
} // namespace

TEST(SntpExchange, DottedAddressRunsEveryStepInOrderWithoutNameLookup)
{
    CFakeExchangePlatform platform;
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(RunQuery(platform, L"192.0.2.7", result, name));
    EXPECT_EQ(platform.log, (Log{"open", "narrow", "parse 192.0.2.7", "connect 192.0.2.7:123", "peer-name", "now",
                                 "send 48", "wait 5000", "now", "receive 68", "close"}));
    EXPECT_EQ(name, L"ntp.example");
    // The worked example: T1 100.0, T2 101.0, T3 101.5, T4 100.7.
    EXPECT_NEAR(result.roundTripDelay, 0.2, 1e-9);
    EXPECT_NEAR(result.localClockOffset, 0.9, 1e-9);
    EXPECT_EQ(result.stratum, 3);
    EXPECT_EQ(result.leapIndicator, 0);
    EXPECT_EQ(result.destinationStamp, At(100.7));
    // The request carries the first clock reading.
    ASSERT_EQ(platform.sent.size(), 48u);
    const Sntp::Request expected = Sntp::EncodeRequest(At(100.0));
    EXPECT_EQ(platform.sent, std::vector<std::uint8_t>(expected.begin(), expected.end()));
}

TEST(SntpExchange, HostNameIsResolved)
{
    CFakeExchangePlatform platform;
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(RunQuery(platform, L"pool.example", result, name));
    EXPECT_EQ(Log(platform.log.begin(), platform.log.begin() + 5),
              (Log{"open", "narrow", "parse pool.example", "resolve pool.example", "connect 198.51.100.9:123"}));
}

TEST(SntpExchange, OriginateIsTakenFromTheReplyNotFromTheRequest)
{
    CFakeExchangePlatform platform;
    platform.clock = {At(99.0), At(100.7)}; // the request said 99.0, the reply echoes 100.0
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(RunQuery(platform, L"192.0.2.7", result, name));
    EXPECT_EQ(result.originateStamp, At(100.0));
    EXPECT_NEAR(result.localClockOffset, 0.9, 1e-9);
}

TEST(SntpExchange, ShortReplyLeavesTheMissingBytesZero)
{
    CFakeExchangePlatform platform;
    platform.reply.resize(44); // no transmit fraction
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(RunQuery(platform, L"192.0.2.7", result, name));
    EXPECT_EQ(result.transmitStamp, CNtpTimestamp(At(101.5).Seconds(), 0));
}

TEST(SntpExchange, FailuresCloseTheSocketAndKeepTheirError)
{
    using Step = CFakeExchangePlatform::Step;
    struct Case
    {
        const char* name;
        Step step;
        std::uint32_t error;
        Log logTail; // from the failing step on
    };
    const Case cases[] = {
        {"socket", Step::Open, 10047, {"open", "close", "set-error 10047"}},
        {"resolver", Step::Resolve, 11001, {"resolve pool.example", "close", "set-error 11001"}},
        {"connect", Step::Connect, 10051, {"connect 198.51.100.9:123", "close", "set-error 10051"}},
        {"send", Step::Send, 10065, {"send 48", "close", "set-error 10065"}},
        {"receive", Step::Receive, 10054, {"receive 68", "close", "set-error 10054"}},
    };
    for (const Case& c : cases)
    {
        CFakeExchangePlatform platform;
        platform.failingStep = c.step;
        platform.stepError = c.error;
        SntpResult result;
        std::wstring name;
        EXPECT_FALSE(RunQuery(platform, L"pool.example", result, name)) << c.name;
        EXPECT_EQ(platform.lastError, c.error) << c.name;
        ASSERT_GE(platform.log.size(), c.logTail.size()) << c.name;
        EXPECT_EQ(Log(platform.log.end() - static_cast<std::ptrdiff_t>(c.logTail.size()), platform.log.end()), c.logTail)
            << c.name;
    }
}

TEST(SntpExchange, NoReplyInTimeIsTimedOutSetAfterTheCleanUp)
{
    for (const SocketWait wait : {SocketWait::TimedOut, SocketWait::Failed})
    {
        CFakeExchangePlatform platform;
        platform.wait = wait;
        SntpResult result;
        std::wstring name;
        EXPECT_FALSE(RunQuery(platform, L"192.0.2.7", result, name));
        EXPECT_EQ(platform.lastError, 10060u);
        EXPECT_EQ(Log(platform.log.end() - 3, platform.log.end()), (Log{"wait 5000", "close", "set-error 10060"}));
    }
}

TEST(SntpExchange, EmptyDatagramFailsWithTheErrorLeftByReceive)
{
    CFakeExchangePlatform platform;
    platform.reply.clear();
    platform.lastError = 0;
    SntpResult result;
    std::wstring name;
    EXPECT_FALSE(RunQuery(platform, L"192.0.2.7", result, name));
    EXPECT_EQ(platform.lastError, 0u);
    EXPECT_EQ(Log(platform.log.end() - 3, platform.log.end()), (Log{"receive 68", "close", "set-error 0"}));
}

TEST(SntpExchange, RepliesMarkedUnusableFailWithTheirCode)
{
    struct Case
    {
        std::uint8_t byte0;
        std::uint8_t stratum;
        bool zeroTransmit;
        std::uint32_t error;
    };
    const Case cases[] = {
        {0xE4, 2, false, Sntp::kErrorServerNotSynchronized},
        {0x24, 0, false, Sntp::kErrorKissOfDeath},
        {0x24, 16, false, Sntp::kErrorServerUnsynchronizedStratum},
        {0x25, 2, false, Sntp::kErrorNotServerMode},
        {0x2C, 2, false, Sntp::kErrorUnsupportedVersion},
        {0x24, 2, true, Sntp::kErrorNoTransmitTime},
    };
    for (const Case& c : cases)
    {
        CFakeExchangePlatform platform;
        platform.reply[0] = c.byte0;
        platform.reply[1] = c.stratum;
        if (c.zeroTransmit)
            std::fill(platform.reply.begin() + 40, platform.reply.end(), 0);
        SntpResult result;
        std::wstring name;
        EXPECT_FALSE(RunQuery(platform, L"192.0.2.7", result, name)) << c.error;
        EXPECT_EQ(platform.lastError, c.error);
        EXPECT_EQ(platform.log.back(), "set-error " + std::to_string(c.error));
        EXPECT_EQ(platform.log[platform.log.size() - 2], "close");
    }
}
