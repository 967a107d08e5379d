#pragma once
// The little of the socket layer that one SNTP exchange needs: Winsock on
// Windows, POSIX sockets elsewhere. Failures leave a Winsock error number as
// this thread's last error on both (10060 is a time-out everywhere).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

enum class SocketWait
{
    Readable,
    TimedOut,
    Failed,
};

// Owns one IPv4 UDP socket and closes it on destruction.
class CSntpSocket
{
public:
    CSntpSocket() noexcept = default;
    ~CSntpSocket() { Close(); }
    CSntpSocket(const CSntpSocket&) = delete;
    CSntpSocket& operator=(const CSntpSocket&) = delete;

    bool Open() noexcept;
    bool IsOpen() const noexcept { return m_socket != kInvalidSocket; }
    void Close() noexcept;

    // Fixes the peer: from then on the socket sends to and accepts datagrams
    // from that address only. The address is in network byte order.
    bool Connect(std::uint32_t address, std::uint16_t port) noexcept;
    // The connected peer's host name when the reverse lookup finds one,
    // otherwise its dotted address.
    std::wstring LookUpPeerName();
    bool Send(std::span<const std::uint8_t> datagram) noexcept;
    SocketWait WaitReadable(std::uint32_t timeoutMs) noexcept;
    // Bytes received (0 for an empty datagram), or -1 with the last error set.
    // A datagram longer than the buffer is an error (WSAEMSGSIZE).
    int Receive(std::span<std::uint8_t> buffer) noexcept;

    // Host text for the resolver: the thread's ANSI code page on Windows,
    // UTF-8 elsewhere; and back.
    static std::string ToResolverText(const std::wstring& text);
    static std::wstring FromResolverText(const std::string& text);
    // A dotted IPv4 address, without any name lookup.
    static bool ParseDottedAddress(const std::string& host, std::uint32_t& address) noexcept;
    // The first IPv4 address of a host name.
    static bool ResolveHost(const std::string& host, std::uint32_t& address) noexcept;

    static std::uint32_t GetLastError() noexcept;
    static void SetLastError(std::uint32_t error) noexcept;

    std::wstring m_serverName;

private:
    using NativeSocket = std::uintptr_t;
    static constexpr NativeSocket kInvalidSocket = ~NativeSocket{0};

    NativeSocket m_socket = kInvalidSocket;
    // The address given to Connect (network byte order), named when the
    // socket cannot tell its peer.
    std::uint32_t m_connectedAddress = 0;
};

// Keeps the socket layer initialised for its lifetime (WSAStartup and
// WSACleanup on Windows; nothing to do elsewhere).
class CSocketLayer
{
public:
    CSocketLayer() noexcept;
    ~CSocketLayer();
    CSocketLayer(const CSocketLayer&) = delete;
    CSocketLayer& operator=(const CSocketLayer&) = delete;

    bool IsReady() const noexcept { return m_ready; }

private:
    bool m_ready = false;
};
