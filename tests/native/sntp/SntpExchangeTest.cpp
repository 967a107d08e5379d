// The exchange's steps, their order and its last-error rules, over a
// recording fake of the socket layer.

#include "sntp/SntpExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
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

// Version 4, mode 4, stratum 3; T1 = 100.0, T2 = 101.0, T3 = 101.5.
std::vector<std::uint8_t> WorkedExampleReply()
{
    std::vector<std::uint8_t> reply(48, 0);
    reply[0] = 0x24;
    reply[1] = 3;
    for (const auto& [offset, seconds] : {std::pair{24, 100.0}, {32, 101.0}, {40, 101.5}})
        for (int i = 0; i < 8; ++i)
            reply[static_cast<std::size_t>(offset + i)] = static_cast<std::uint8_t>(At(seconds).Value() >> (56 - 8 * i));
    return reply;
}

std::uint32_t Address(unsigned char a, unsigned char b, unsigned char c, unsigned char d)
{
    const unsigned char bytes[4] = {a, b, c, d}; // network byte order
    std::uint32_t address = 0;
    std::memcpy(&address, bytes, 4);
    return address;
}

std::string Dotted(std::uint32_t address)
{
    unsigned char b[4];
    std::memcpy(b, &address, 4);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}

// Records every step; one step can be made to fail with an error. Only
// 192.0.2.7 counts as dotted; every name resolves to 198.51.100.9.
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
        bool Open() { return m_platform.Record("open", Step::Open); }
        bool Connect(std::uint32_t address, std::uint16_t port)
        {
            return m_platform.Record("connect " + Dotted(address) + ":" + std::to_string(port), Step::Connect);
        }
        std::wstring LookUpPeerName()
        {
            m_platform.Record("peer-name");
            return L"ntp.example";
        }
        bool Send(std::span<const std::uint8_t> datagram)
        {
            m_platform.sent.assign(datagram.begin(), datagram.end());
            return m_platform.Record("send " + std::to_string(datagram.size()), Step::Send);
        }
        SocketWait WaitReadable(std::uint32_t timeoutMs)
        {
            m_platform.Record("wait " + std::to_string(timeoutMs));
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
        Record("narrow");
        return std::string(text.begin(), text.end());
    }
    bool ParseDottedAddress(const std::string& host, std::uint32_t& address)
    {
        Record("parse " + host);
        if (host != "192.0.2.7")
            return false;
        address = Address(192, 0, 2, 7);
        return true;
    }
    bool ResolveHost(const std::string& host, std::uint32_t& address)
    {
        if (!Record("resolve " + host, Step::Resolve))
            return false;
        address = Address(198, 51, 100, 9);
        return true;
    }
    CNtpTimestamp Now()
    {
        Record("now");
        const CNtpTimestamp t = clock.front();
        clock.pop_front();
        return t;
    }
    std::uint32_t GetLastError() const { return lastError; }
    void SetLastError(std::uint32_t error)
    {
        Record("set-error " + std::to_string(error));
        lastError = error;
    }

private:
    // Answers whether the step succeeds.
    bool Record(std::string entry, Step step = Step::None)
    {
        log.push_back(std::move(entry));
        if (step == Step::None || step != failingStep)
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

TEST(SntpExchange, FailuresCloseTheSocketAndKeepTheirError)
{
    using Platform = CFakeExchangePlatform;
    const auto failAt = [](Platform::Step step, std::uint32_t error) {
        return [=](Platform& platform) {
            platform.failingStep = step;
            platform.stepError = error;
        };
    };
    struct Case
    {
        const char* name;
        std::function<void(Platform&)> arrange;
        std::uint32_t error;
        Log logTail; // from the failing step on
    };
    const Case cases[] = {
        {"socket", failAt(Platform::Step::Open, 10047), 10047, {"open", "close", "set-error 10047"}},
        {"resolver", failAt(Platform::Step::Resolve, 11001), 11001, {"resolve pool.example", "close", "set-error 11001"}},
        {"connect", failAt(Platform::Step::Connect, 10051), 10051, {"connect 198.51.100.9:123", "close", "set-error 10051"}},
        {"send", failAt(Platform::Step::Send, 10065), 10065, {"send 48", "close", "set-error 10065"}},
        {"receive", failAt(Platform::Step::Receive, 10054), 10054, {"receive 68", "close", "set-error 10054"}},
        // No reply in time, or a failed wait, is a time-out set after the clean-up.
        {"time-out", [](Platform& p) { p.wait = SocketWait::TimedOut; }, 10060, {"wait 5000", "close", "set-error 10060"}},
        {"wait", [](Platform& p) { p.wait = SocketWait::Failed; }, 10060, {"wait 5000", "close", "set-error 10060"}},
        // An empty datagram keeps what the receive left.
        {"empty", [](Platform& p) { p.reply.clear(); }, 0, {"receive 68", "close", "set-error 0"}},
        {"unusable", [](Platform& p) { p.reply[0] = 0xE4; }, Sntp::kErrorServerNotSynchronized,
         {"receive 68", "close", "set-error " + std::to_string(Sntp::kErrorServerNotSynchronized)}},
    };
    for (const Case& c : cases)
    {
        CFakeExchangePlatform platform;
        c.arrange(platform);
        SntpResult result;
        std::wstring name;
        EXPECT_FALSE(RunQuery(platform, L"pool.example", result, name)) << c.name;
        EXPECT_EQ(platform.lastError, c.error) << c.name;
        ASSERT_GE(platform.log.size(), c.logTail.size()) << c.name;
        EXPECT_EQ(Log(platform.log.end() - static_cast<std::ptrdiff_t>(c.logTail.size()), platform.log.end()), c.logTail)
            << c.name;
    }
}
