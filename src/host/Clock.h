#pragma once

#include <chrono>

namespace host
{
/// A source of monotonic time. Timers, deferred actions and "most recent" logic ask the
/// current clock instead of the system, so tests can advance time without sleeping.
class Clock
{
public:
    using Duration = std::chrono::nanoseconds;

    virtual ~Clock() = default;
    /// Time since an arbitrary fixed start; never goes backwards.
    virtual Duration now() const = 0;

    /// now() in whole milliseconds, the unit dialog timers use.
    long long nowMilliseconds() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now()).count();
    }

    /// The calendar time, for texts that show a date (the bill's print date). Unlike now() it
    /// may jump when the system's clock is set; the default reads the system clock.
    virtual std::chrono::system_clock::time_point wallTime() const
    {
        return std::chrono::system_clock::now();
    }
};

/// The default clock: std::chrono::steady_clock.
class SteadyClock final : public Clock
{
public:
    Duration now() const override;
};

/// A clock that only moves when told to (tests).
class ManualClock final : public Clock
{
public:
    explicit ManualClock(Duration start = Duration::zero()) : now_(start) {}
    Duration now() const override { return now_; }
    /// Moves time forward; a negative step is ignored so time never runs backwards.
    void advance(Duration step)
    {
        if (step > Duration::zero())
            now_ += step;
    }
    void advanceMilliseconds(long long milliseconds) { advance(std::chrono::milliseconds(milliseconds)); }

    /// The calendar time moves with advance(); it starts at the Unix epoch unless set.
    std::chrono::system_clock::time_point wallTime() const override
    {
        return wallStart_ + std::chrono::duration_cast<std::chrono::system_clock::duration>(now_);
    }
    /// Makes the calendar time read `time` now; later advances move it on.
    void setWallTime(std::chrono::system_clock::time_point time)
    {
        wallStart_ = time - std::chrono::duration_cast<std::chrono::system_clock::duration>(now_);
    }

private:
    Duration now_;
    std::chrono::system_clock::time_point wallStart_{};
};

/// The clock everyone reads. It is a SteadyClock unless replaced.
Clock& clock();
/// Makes `replacement` the current clock (nullptr restores the steady default) and returns
/// the previous one. The caller keeps ownership and must keep it alive while it is current.
Clock* setClock(Clock* replacement);

/// Installs a clock for the lifetime of the guard and restores the previous one afterwards.
class ClockOverride
{
public:
    explicit ClockOverride(Clock& replacement) : previous_(setClock(&replacement)) {}
    ~ClockOverride() { setClock(previous_); }
    ClockOverride(const ClockOverride&) = delete;
    ClockOverride& operator=(const ClockOverride&) = delete;

private:
    Clock* previous_;
};
} // namespace host
