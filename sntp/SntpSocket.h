#pragma once
// The little of the socket layer that an SNTP run needs: Winsock on
// Windows, POSIX sockets elsewhere. Failures leave a Winsock error number as
// this thread's last error on both (10060 is a time-out everywhere).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One address of a server, IPv4 or IPv6, with the SNTP port: the bytes of
// the platform's socket address.
struct SntpAddress
{
    int family = 0;
    std::vector<std::uint8_t> bytes;
};

// Owns one UDP socket connected to one server address and closes it on
// destruction. Connected, it sends to and accepts datagrams from that
// address and port only.
class CSntpSocket
{
public:
    // WaitAnyReadable's answers besides an index.
    static constexpr int kWaitTimedOut = -1;
    static constexpr int kWaitFailed = -2;

    CSntpSocket() noexcept = default;
    ~CSntpSocket() { Close(); }
    CSntpSocket(const CSntpSocket&) = delete;
    CSntpSocket& operator=(const CSntpSocket&) = delete;

    bool Open(const SntpAddress& server) noexcept;
    bool IsOpen() const noexcept { return m_socket != kInvalidSocket; }
    void Close() noexcept;

    // The server's host name when the reverse lookup finds one, otherwise
    // its address in the usual text form.
    std::wstring LookUpPeerName() const;
    bool Send(std::span<const std::uint8_t> datagram) noexcept;
    // Bytes received (0 for an empty datagram), or -1 with the last error set.
    // A datagram longer than the buffer is an error (WSAEMSGSIZE).
    int Receive(std::span<std::uint8_t> buffer) noexcept;

    // Waits until one of the sockets has a datagram (or an error) to read and
    // answers its index, kWaitTimedOut or kWaitFailed.
    static int WaitAnyReadable(std::span<CSntpSocket* const> sockets, std::uint32_t timeoutMs) noexcept;

    // The IPv4 and IPv6 addresses of a host name or address text, at most
    // `most`, each once, in the resolver's order; false with the last error
    // set when there is none.
    static bool ResolveAll(const std::string& host, std::size_t most, std::vector<SntpAddress>& addresses);

    // Host text for the resolver: the thread's ANSI code page on Windows,
    // UTF-8 elsewhere; and back.
    static std::string ToResolverText(const std::wstring& text);
    static std::wstring FromResolverText(const std::string& text);

    static std::uint32_t GetLastError() noexcept;
    static void SetLastError(std::uint32_t error) noexcept;

private:
    using NativeSocket = std::uintptr_t;
    static constexpr NativeSocket kInvalidSocket = ~NativeSocket{0};

    NativeSocket m_socket = kInvalidSocket;
    SntpAddress m_server;
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
