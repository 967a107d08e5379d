// start-to-window RUNS SERVER
// Starts Kavrin.exe from this program's folder once to warm up and then RUNS
// times, each time measuring from CreateProcess to its visible window, which
// it then closes. Kavrin synchronises on start against SERVER and checks
// for no update. Prints the times and their median in milliseconds.

#include "../KavrinLauncher_win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
// Milliseconds from the start to the window; negative when none came in 10 s.
double StartToWindow()
{
    CStartedKavrin kavrin;
    const double started = Seconds();
    if (!kavrin.Start())
        return -1.0;
    const HWND window = kavrin.WaitForWindow(true);
    const double elapsed = (Seconds() - started) * 1000.0;
    kavrin.Close(window);
    return window ? elapsed : -1.0;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: start-to-window RUNS SERVER\n");
        return 2;
    }
    if (!SeedSyncOnStart(argv[2]))
        return 1;
    StartToWindow();
    std::vector<double> times;
    for (int run = std::max(1, _wtoi(argv[1])); run > 0; --run)
    {
        const double ms = StartToWindow();
        if (ms < 0)
            return std::fprintf(stderr, "start-to-window: no window\n"), 1;
        times.push_back(ms);
        std::printf("%.1f ", ms);
    }
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    std::printf("\nmedian_ms=%.1f\n", median);
    return 0;
}
