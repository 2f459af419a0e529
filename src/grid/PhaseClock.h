#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace grid
{
/// Where the processor time of loading and calculating a large sheet goes: with
/// KALDOR_PHASES=1 in the environment, each call prints the processor seconds spent since
/// the previous one under the given name on standard error. Without it a call costs one test.
inline void notePhase(const char* name)
{
    static const bool on = []
    {
        const char* v = std::getenv("KALDOR_PHASES");
        return v && v[0] == '1';
    }();
    if (!on)
        return;
    auto now = []
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    };
    static double last = 0;
    const double time = now();
    std::fprintf(stderr, "%-12s %7.3f s\n", name, time - last);
    last = time;
}
} // namespace grid
