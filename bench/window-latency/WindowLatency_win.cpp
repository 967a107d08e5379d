// window-latency SERVER [SECONDS]
// Starts Kavrin.exe from this program's folder with fresh settings that make
// it synchronise on start against SERVER (a silent one keeps the run waiting
// for its 5 s), finds its window and, for SECONDS (6 by default), sends it
// WM_NULL every 20 ms from this process, timing each answer. Prints
// "sent=<n> unanswered=<n> median_ms=<ms> max_ms=<ms> max_at_ms=<ms>" (when
// the slowest was sent, from the window's appearance) and the slowest of
// those sent 1 s or more after it (past the window's own start), then closes
// Kavrin.

#include "../KavrinLauncher_win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::fprintf(stderr, "usage: window-latency SERVER [SECONDS]\n");
        return 2;
    }
    const double seconds = argc == 3 ? _wtof(argv[2]) : 6.0;
    if (!SeedSyncOnStart(argv[1]))
        return std::fprintf(stderr, "window-latency: cannot write the settings\n"), 1;
    CStartedKavrin kavrin;
    const double started = Seconds();
    if (!kavrin.Start())
        return std::fprintf(stderr, "window-latency: cannot start Kavrin.exe\n"), 1;
    const HWND window = kavrin.WaitForWindow(false);
    if (!window)
        return kavrin.Close(nullptr), std::fprintf(stderr, "window-latency: no window\n"), 1;
    std::printf("window_after_ms=%.1f\n", (Seconds() - started) * 1000.0);

    std::vector<double> latencies;
    int unanswered = 0;
    double slowest = -1.0, slowestAt = 0.0, slowestLater = 0.0;
    const double found = Seconds();
    for (const double until = found + seconds; Seconds() < until;)
    {
        DWORD_PTR result = 0;
        const double sent = Seconds();
        if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result))
            ++unanswered;
        latencies.push_back((Seconds() - sent) * 1000.0);
        if (latencies.back() > slowest)
            slowest = latencies.back(), slowestAt = (sent - found) * 1000.0;
        if (sent - found >= 1.0)
            slowestLater = std::max(slowestLater, latencies.back());
        ::Sleep(20);
    }
    kavrin.Close(window);

    std::sort(latencies.begin(), latencies.end());
    std::printf("sent=%zu unanswered=%d median_ms=%.3f max_ms=%.3f max_at_ms=%.0f max_after_1s_ms=%.3f\n",
                latencies.size(), unanswered, latencies[latencies.size() / 2], latencies.back(), slowestAt,
                slowestLater);
    return unanswered == 0 ? 0 : 1;
}
