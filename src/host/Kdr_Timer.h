#pragma once

#include "host/Clock.h"
#include "host/Kdr_String.h"

/// The host's accumulating stopwatch. Each start ... end interval is added to the total and
/// counted. Intervals may nest (a child sheet evaluated inside its parent runs the same
/// steps): only the outermost start and end measure, so time is never counted twice and an
/// inner end never loses the outer start. An end without a start is ignored. Time comes
/// from the current host::clock().
class Kdr_Timer
{
public:
    explicit Kdr_Timer(Kdr_String name = Kdr_String()) : name_(std::move(name)) {}
    virtual ~Kdr_Timer() = default;

    void start();
    void end();
    /// Clears the total and the count; a running interval is dropped.
    void reset();

    bool isRunning() const { return depth_ > 0; }
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
};
