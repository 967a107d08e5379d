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
// What closing a socket leaves behind, to show that a kept error survives it.
constexpr std::uint32_t kErrorLeftByClose = 10093;

// The step named `failing` fails with `failError`. Only "192.0.2.7" is dotted (address 7);
// every name resolves to address 9. The reply: version 4, mode 4, stratum 3;
// T1 = 100.0, T2 = 101.0, T3 = 101.5, and the clock reads T4 = 100.7 after T1.
struct CFakeExchangePlatform
{
    std::string failing;
    std::uint32_t failError = 0;
    SocketWait wait = SocketWait::Readable;
    std::vector<std::uint8_t> reply = {0x24, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       0, 0, 0, 100, 0,    0,    0,    0,     // T1
                                       0, 0, 0, 101, 0,    0,    0,    0,     // T2
                                       0, 0, 0, 101, 0x7F, 0xFF, 0xFF, 0xFF}; // T3
    int clockReads = 0;
    bool resolved = false;
    std::string connectedTo;
    std::uint32_t lastError = 0;

    bool Step(const std::string& step) { return step == failing ? (lastError = failError, false) : true; }
    struct Socket
    {
        CFakeExchangePlatform& p;
        std::wstring m_serverName;
        ~Socket() { p.lastError = kErrorLeftByClose; }
        bool Open() { return p.Step("open"); }
        bool Connect(std::uint32_t address, std::uint16_t port)
        {
            return p.connectedTo = std::to_string(address) + ":" + std::to_string(port), p.Step("connect");
        }
        std::wstring LookUpPeerName() { return L"ntp.example"; }
        bool Send(std::span<const std::uint8_t>) { return p.Step("send"); }
        SocketWait WaitReadable(std::uint32_t) { return p.lastError = p.wait == SocketWait::Failed ? 10038 : p.lastError, p.wait; }
        int Receive(std::span<std::uint8_t> buffer)
        {
            const std::size_t size = std::min(buffer.size(), p.reply.size());
            std::copy_n(p.reply.begin(), size, buffer.begin());
            return p.Step("receive") ? static_cast<int>(size) : -1;
        }
    };
    std::unique_ptr<Socket> MakeSocket() { return std::make_unique<Socket>(*this); }
    std::string ToResolverText(const std::wstring& text) { return std::string(text.begin(), text.end()); }
    bool ParseDottedAddress(const std::string& host, std::uint32_t& address)
    {
        return host == "192.0.2.7" && (address = 7);
    }
    bool ResolveHost(const std::string&, std::uint32_t& address) { return resolved = true, address = 9, Step("resolve"); }
    CNtpTimestamp Now() { return CNtpTimestamp().AddSeconds(clockReads++ == 0 ? 100.0 : 100.7); }
    std::uint32_t GetLastError() const { return lastError; }
    void SetLastError(std::uint32_t error) { lastError = error; }
};
} // namespace

TEST(SntpExchange, DottedAddressIsNotLookedUpAndTheReplyGivesTheWorkedExample)
{
    CFakeExchangePlatform platform;
    SntpResult result;
    std::wstring name;
    ASSERT_TRUE(Sntp::RunExchange(platform, L"192.0.2.7", 5000, result, name));
    EXPECT_FALSE(platform.resolved);
    EXPECT_EQ(platform.connectedTo, "7:123");
    EXPECT_EQ(name, L"ntp.example");
    EXPECT_NEAR(result.roundTripDelay, 0.2, 1e-9);
    EXPECT_NEAR(result.localClockOffset, 0.9, 1e-9);
    EXPECT_EQ(result.stratum, 3);
}

// The socket goes with its holder; the error survives the closing.
TEST(SntpExchange, FailuresKeepTheirErrorPastTheClose)
{
    using Platform = CFakeExchangePlatform;
    // Without an arrangement the step itself fails with the error.
    struct Case { std::string step; std::uint32_t error; std::function<void(Platform&)> arrange; };
    const Case cases[] = {
        {"open", 10047, {}}, {"resolve", 11001, {}}, {"connect", 10051, {}}, {"send", 10065, {}},
        {"receive", 10054, {}},
        // A failed wait is a time-out set after the clean-up. The faults of real replies: SntpPeers.
        {"wait failed", 10060, [](Platform& p) { p.wait = SocketWait::Failed; }},
    };
    for (const Case& c : cases)
    {
        Platform platform;
        c.arrange ? c.arrange(platform) : void((platform.failing = c.step, platform.failError = c.error));
        SntpResult result;
        std::wstring name;
        EXPECT_FALSE(Sntp::RunExchange(platform, L"pool.example", 5000, result, name)) << c.step;
        EXPECT_EQ(platform.lastError, c.error) << c.step;
    }
}
