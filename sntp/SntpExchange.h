#pragma once
// One SNTP exchange, step by step, over a platform that provides the socket
// holder, the resolver, the clock and the thread's last error. CSNTPClient
// runs it over the real socket layer; tests run it over recording fakes.

#include "sntp/SntpPacket.h"
#include "sntp/SntpSocket.h"

#include <cstdint>
#include <string>

namespace Sntp
{
// Platform:
//   MakeSocket() -> std::unique_ptr<Socket>, where Socket has Open, Connect,
//     LookUpPeerName, Send, WaitReadable, Receive and m_serverName as
//     CSntpSocket, and its destruction closes the socket;
//   ToResolverText, ParseDottedAddress, ResolveHost, Now, GetLastError,
//   SetLastError.
template <typename Platform>
bool RunExchange(Platform& platform, const std::wstring& host, std::uint32_t replyTimeoutMs,
                 SntpResult& response, std::wstring& serverName)
{
    auto holder = platform.MakeSocket();
    // The error is read before the socket is closed and set again afterwards,
    // so that closing it cannot overwrite the cause.
    const auto failWith = [&](std::uint32_t error) {
        holder.reset();
        platform.SetLastError(error);
        return false;
    };
    const auto fail = [&] { return failWith(platform.GetLastError()); };

    if (!holder->Open())
        return fail();

    const std::string narrowHost = platform.ToResolverText(host);
    std::uint32_t address = 0;
    if (!platform.ParseDottedAddress(narrowHost, address) && !platform.ResolveHost(narrowHost, address))
        return fail();
    if (!holder->Connect(address, kServerPort))
        return fail();

    holder->m_serverName = holder->LookUpPeerName();
    serverName = holder->m_serverName;

    const CNtpTimestamp transmitted = platform.Now();
    const Request request = EncodeRequest(transmitted);
    if (!holder->Send(request))
        return fail();

    if (holder->WaitReadable(replyTimeoutMs) != SocketWait::Readable)
        return failWith(kErrorTimedOut);
    response.destinationStamp = platform.Now();

    ReplyBuffer reply{};
    const int received = holder->Receive(reply);
    if (received <= 0)
        return fail();
    // The header is the same 48 bytes both ways.
    if (static_cast<std::size_t>(received) < kRequestSize)
        return failWith(kErrorTruncatedReply);

    DecodeReply(reply, response);
    if (const std::uint32_t rejected = CheckReply(reply); rejected != 0)
        return failWith(rejected);
    if (response.originateStamp != transmitted)
        return failWith(kErrorNotThisRequest);
    ComputeDelayAndOffset(response);

    holder.reset();
    return true;
}
} // namespace Sntp
