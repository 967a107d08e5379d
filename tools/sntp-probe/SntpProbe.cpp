// sntp-probe HOST
// Prints "delay_s=<seconds> offset_s=<seconds> server=<name>" and exits 0, or
// "error=<last error>" and exits 1.

#include "sntp/SntpClient.h"
#include "sntp/SntpSocket.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: sntp-probe HOST\n");
        return 2;
    }
    const CSocketLayer sockets;
    if (!sockets.IsReady())
    {
        std::printf("error=%lu\n", static_cast<unsigned long>(CSntpSocket::GetLastError()));
        return 1;
    }

    CSNTPClient client;
    SntpResult result;
    if (!client.QueryServer(CSntpSocket::FromResolverText(argv[1]), result))
    {
        std::printf("error=%lu\n", static_cast<unsigned long>(CSntpSocket::GetLastError()));
        return 1;
    }
    const std::string server = CSntpSocket::ToResolverText(client.GetServerName());
    std::printf("delay_s=%.6f offset_s=%.6f server=%s\n", result.roundTripDelay, result.localClockOffset,
                server.c_str());
    return 0;
}
