#pragma once

#include "host/Clock.h"
#include "host/Kdr_String.h"

/// The host's accumulating stopwatch. Each start ... end interval is added to the total and
/// counted. Intervals may nest (a child sheet evaluated inside its parent runs the same
/// steps): only the outermost start and end measure, so time is never counted twice and an
/// inner end never loses the outer start. An end without a start is ignored. Time comes
/// from the current host::clock(). A timer that does not measure only counts its intervals
/// and never reads the clock: timers around steps that run thousands of times a second cost
/// next to nothing until someone asks for their times.
class Kdr_Timer
{
public:
    explicit Kdr_Timer(Kdr_String name = Kdr_String(), bool measuring = true)
        : name_(std::move(name)), measuring_(measuring)
    {
    }
    virtual ~Kdr_Timer() = default;

    void start();
    void end();
    /// Clears the total and the count; a running interval is dropped.
    void reset();

    bool isRunning() const { return depth_ > 0; }
    /// Whether intervals are timed (else only counted). An interval that started while the
    /// timer did not measure adds no time when it ends.
    bool measuring() const { return measuring_; }
    void setMeasuring(bool on) { measuring_ = on; }
    /// Sum of the finished outermost intervals.
    host::Clock::Duration total() const { return total_; }
    double seconds() const;
    /// Number of finished outermost intervals.
    int count() const { return count_; }
    const Kdr_String& name() const { return name_; }
    /// "<name>: <seconds with 6 decimals> s in <count> call(s)", e.g. "gLoadFile: 0.250000 s in 2 calls".
    Kdr_String report() const;

private:
    Kdr_String name_;
    host::Clock::Duration started_{};
    host::Clock::Duration total_{};
    int depth_ = 0;
    int count_ = 0;
    bool measuring_ = true;
    bool timed_ = false; ///< the running outermost interval read the clock when it started
};
