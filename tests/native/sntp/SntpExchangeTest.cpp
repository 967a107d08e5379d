#include "sntp/SntpExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;
// What closing a socket leaves behind, to show that a kept error survives it.
constexpr std::uint32_t kErrorLeftByClose = 10093;

CNtpTimestamp At(double seconds) { return CNtpTimestamp().AddSeconds(seconds); }

// Records every step; the step logged as `failingStep` fails with `failError`.
// Only "192.0.2.7" counts as dotted (address 7); every name resolves to address 9.
// The reply: version 4, mode 4, stratum 3; T1 = 100.0, T2 = 101.0, T3 = 101.5.
struct CFakeExchangePlatform
{
    std::string failingStep;
    std::uint32_t failError = 0;
    SocketWait wait = SocketWait::Readable;
    std::vector<std::uint8_t> reply = {0x24, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       0, 0, 0, 100, 0,    0,    0,    0,     // T1
                                       0, 0, 0, 101, 0,    0,    0,    0,     // T2
                                       0, 0, 0, 101, 0x7F, 0xFF, 0xFF, 0xFF}; // T3
    int clockReads = 0; // T1 = 100.0, then T4 = 100.7
    Log log;
    std::uint32_t lastError = 0;

    bool Record(const std::string& step)
    {
        log.push_back(step);
        lastError = step == failingStep ? failError : lastError;
        return step != failingStep;
    }
    struct Socket
    {
        CFakeExchangePlatform& p;
        std::wstring m_serverName;
        ~Socket() { p.Record("close"), p.lastError = kErrorLeftByClose; }
        bool Open() { return p.Record("open"); }
        bool Connect(std::uint32_t address, std::uint16_t port)
        {
            return p.Record("connect " + std::to_string(address) + ":" + std::to_string(port));
        }
        std::wstring LookUpPeerName() { return p.Record("peer-name") ? L"ntp.example" : L""; }
        bool Send(std::span<const std::uint8_t> datagram) { return p.Record("send " + std::to_string(datagram.size())); }
        SocketWait WaitReadable(std::uint32_t timeoutMs)
        {
            p.Record("wait " + std::to_string(timeoutMs));
            p.lastError = p.wait == SocketWait::Failed ? 10038 : p.lastError;
            return p.wait;
        }
        int Receive(std::span<std::uint8_t> buffer)
        {
            const std::size_t size = std::min(buffer.size(), p.reply.size());
            std::copy_n(p.reply.begin(), size, buffer.begin());
            return p.Record("receive " + std::to_string(buffer.size())) ? static_cast<int>(size) : -1;
        }
    };
    std::unique_ptr<Socket> MakeSocket() { return std::make_unique<Socket>(*this); }
    std::string ToResolverText(const std::wstring& text) { return std::string(text.begin(), text.end()); }
    bool ParseDottedAddress(const std::string& host, std::uint32_t& address)
    {
        Record("parse " + host);
        address = host == "192.0.2.7" ? 7 : address;
        return host == "192.0.2.7";
    }
    bool ResolveHost(const std::string& host, std::uint32_t& address) { return address = 9, Record("resolve " + host); }
    CNtpTimestamp Now() { return Record("now"), At(clockReads++ == 0 ? 100.0 : 100.7); }
    std::uint32_t GetLastError() const { return lastError; }
    void SetLastError(std::uint32_t error) { Record("set-error " + std::to_string(error)), lastError = error; }
};
} // namespace

TEST(SntpExchange, DottedAddressRunsEveryStepInOrderWithoutNameLookup)
{
    CFakeExchangePlatform platform;
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(Sntp::RunExchange(platform, L"192.0.2.7", 5000, result, name));
    EXPECT_EQ(platform.log, (Log{"open", "parse 192.0.2.7", "connect 7:123", "peer-name", "now", "send 48",
                                 "wait 5000", "now", "receive 68", "close"}));
    EXPECT_EQ(name, L"ntp.example");
    // The worked example: T1 100.0, T2 101.0, T3 101.5, T4 100.7.
    EXPECT_NEAR(result.roundTripDelay, 0.2, 1e-9);
    EXPECT_NEAR(result.localClockOffset, 0.9, 1e-9);
    EXPECT_EQ(result.stratum, 3);
}

TEST(SntpExchange, FailuresCloseTheSocketAndKeepTheirError)
{
    using Platform = CFakeExchangePlatform;
    // The log ends with the failing step, the close and the error set again.
    // Without an arrangement the step itself fails with the error.
    struct Case { std::string step; std::uint32_t error; std::function<void(Platform&)> arrange; };
    const Case cases[] = {
        {"open", 10047, {}},
        {"resolve pool.example", 11001, {}},
        {"connect 9:123", 10051, {}},
        {"send 48", 10065, {}},
        {"receive 68", 10054, {}},
        // No reply in time, or a failed wait, is a time-out set after the clean-up.
        {"wait 5000", 10060, [](Platform& p) { p.wait = SocketWait::TimedOut; }},
        {"wait 5000", 10060, [](Platform& p) { p.wait = SocketWait::Failed; }},
        // An empty datagram keeps what the receive left.
        {"receive 68", 0, [](Platform& p) { p.reply.clear(); }},
        {"receive 68", Sntp::kErrorServerNotSynchronized, [](Platform& p) { p.reply[0] = 0xE4; }},
        // Not an answer to this request, or cut short: nothing is taken from it.
        {"receive 68", Sntp::kErrorNotThisRequest, [](Platform& p) { p.reply[31] ^= 1; }},
        {"receive 68", Sntp::kErrorTruncatedReply, [](Platform& p) { p.reply.resize(47); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.step);
        Platform platform;
        c.arrange ? c.arrange(platform) : void((platform.failingStep = c.step, platform.failError = c.error));
        SntpResult result;
        std::wstring name;
        EXPECT_FALSE(Sntp::RunExchange(platform, L"pool.example", 5000, result, name));
        EXPECT_EQ(platform.lastError, c.error);
        const Log tail{c.step, "close", "set-error " + std::to_string(c.error)};
        EXPECT_TRUE(platform.log.size() >= 3 && std::equal(tail.begin(), tail.end(), platform.log.end() - 3))
            << testing::PrintToString(platform.log);
    }
}
