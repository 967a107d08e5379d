#pragma once
// One synchronisation run over a platform that provides the sockets, the
// resolver, the clocks and the thread's last error. The name's addresses
// (at most eight) are asked at once; those that have not answered are asked
// again after 1 s and 2 s, and the first reply that passes every check
// against the requests sent to its address wins. An address that answers
// unusably, or fails, is dropped; the run gives up at its time-out.
// CSNTPClient runs it over the real socket layer; tests and the fuzzer run
// it over fakes.

#include "sntp/SntpRun.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Sntp
{
// Platform:
//   Address, Socket (Open(Address), Send, Receive, LookUpPeerName; closed on
//     destruction), MakeSocket() -> std::unique_ptr<Socket>;
//   Resolve(host, addresses) -> bool, WaitAny(span<Socket* const>, ms) ->
//     index, kWaitTimedOut or kWaitFailed;
//   TransmitTime() (the clock, its unresolved bits random), Now() (the
//     clock), TickMs() (a steady millisecond count);
//   GetLastError, SetLastError.
template <typename Platform>
class CRun
{
public:
    CRun(Platform& platform, std::uint32_t replyTimeoutMs) noexcept
        : m_platform(platform), m_replyTimeoutMs(replyTimeoutMs)
    {
    }

    bool Run(const std::wstring& host, SntpResult& response, std::wstring& serverName)
    {
        std::vector<typename Platform::Address> addresses;
        if (!m_platform.Resolve(host, addresses))
            return false;
        OpenAll(addresses);
        const std::uint64_t start = m_platform.TickMs();
        for (;;)
        {
            const std::uint64_t elapsed = m_platform.TickMs() - start;
            if (elapsed >= m_replyTimeoutMs)
                break;
            SendDue(elapsed);
            if (std::ranges::all_of(m_states, &AddressState::dropped))
                break;
            const std::uint64_t wake = std::min<std::uint64_t>(NextDue(), m_replyTimeoutMs);
            const auto wait = static_cast<std::uint32_t>(wake > elapsed ? wake - elapsed : 0);
            if (const int ready = WaitForAny(wait); ready >= 0 && Take(static_cast<std::size_t>(ready), response))
            {
                serverName = m_sockets[static_cast<std::size_t>(ready)]->LookUpPeerName();
                CloseAll();
                return true;
            }
        }
        const std::uint32_t error = RunError(m_states);
        if (!m_sockets.empty())
            serverName = m_sockets.front()->LookUpPeerName();
        CloseAll();
        m_platform.SetLastError(error);
        return false;
    }

private:
    void OpenAll(const std::vector<typename Platform::Address>& addresses)
    {
        for (const auto& address : addresses)
        {
            AddressState& state = m_states.emplace_back();
            auto& socket = m_sockets.emplace_back(m_platform.MakeSocket());
            if (!socket->Open(address))
                Drop(state, m_platform.GetLastError());
        }
    }

    void SendDue(std::uint64_t elapsed)
    {
        for (std::size_t i = 0; i < m_states.size(); ++i)
        {
            AddressState& state = m_states[i];
            const auto due = RequestDueMs(state.requestCount);
            if (state.dropped || !due || *due > elapsed)
                continue;
            const CNtpTimestamp transmit = m_platform.TransmitTime();
            if (m_sockets[i]->Send(EncodeRequest(transmit)))
                state.requests[state.requestCount++] = transmit;
            else
                Drop(state, m_platform.GetLastError());
        }
    }

    // The next resend of any address still waiting; the time-out when none.
    std::uint64_t NextDue() const noexcept
    {
        std::uint64_t next = m_replyTimeoutMs;
        for (const AddressState& state : m_states)
            if (const auto due = RequestDueMs(state.requestCount); !state.dropped && due)
                next = std::min<std::uint64_t>(next, *due);
        return next;
    }

    int WaitForAny(std::uint32_t waitMs)
    {
        std::vector<typename Platform::Socket*> waiting;
        std::vector<std::size_t> index;
        for (std::size_t i = 0; i < m_states.size(); ++i)
            if (!m_states[i].dropped)
                waiting.push_back(m_sockets[i].get()), index.push_back(i);
        const int ready = m_platform.WaitAny(waiting, waitMs);
        if (ready >= 0 && static_cast<std::size_t>(ready) < index.size())
            return static_cast<int>(index[static_cast<std::size_t>(ready)]);
        if (ready != Platform::kWaitTimedOut)
            for (const std::size_t i : index)
                Drop(m_states[i], m_platform.GetLastError());
        return -1;
    }

    // Reads the datagram of address `i`: true when it is the run's answer.
    bool Take(std::size_t i, SntpResult& response)
    {
        AddressState& state = m_states[i];
        ReplyBuffer reply{};
        const int received = m_sockets[i]->Receive(reply);
        const CNtpTimestamp arrived = m_platform.Now();
        if (received < 0)
            return Drop(state, m_platform.GetLastError());
        CNtpTimestamp answered;
        const auto bytes = std::span<const std::uint8_t>(reply).first(static_cast<std::size_t>(received));
        if (const std::uint32_t error = JudgeReply(bytes, state, answered); error != 0)
            return Drop(state, error);
        SntpResult result;
        DecodeReply(reply, result);
        result.originateStamp = answered;
        result.destinationStamp = arrived;
        ComputeDelayAndOffset(result);
        if (const std::uint32_t error = CheckFigures(result, m_replyTimeoutMs); error != 0)
            return Drop(state, error);
        response = result;
        return true;
    }

    static bool Drop(AddressState& state, std::uint32_t error) noexcept
    {
        state.dropped = true;
        state.error = error;
        return false;
    }

    void CloseAll() noexcept { m_sockets.clear(); }

    Platform& m_platform;
    std::uint32_t m_replyTimeoutMs;
    std::vector<AddressState> m_states;
    std::vector<std::unique_ptr<typename Platform::Socket>> m_sockets;
};

template <typename Platform>
bool RunExchange(Platform& platform, const std::wstring& host, std::uint32_t replyTimeoutMs, SntpResult& response,
                 std::wstring& serverName)
{
    return CRun<Platform>(platform, replyTimeoutMs).Run(host, response, serverName);
}
} // namespace Sntp
