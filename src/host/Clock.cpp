#include "host/Clock.h"

namespace host
{
Clock::Duration SteadyClock::now() const
{
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now().time_since_epoch());
}

namespace
{
SteadyClock& steadyDefault()
{
    static SteadyClock instance;
    return instance;
}

Clock*& currentClock()
{
    static Clock* current = &steadyDefault();
    return current;
}
} // namespace

Clock& clock()
{
    return *currentClock();
}

Clock* setClock(Clock* replacement)
{
    Clock* previous = currentClock();
    currentClock() = replacement ? replacement : &steadyDefault();
    return previous;
}
} // namespace host
