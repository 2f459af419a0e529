#pragma once

#include "host/Kdr_Timer.h"

/// Runs a Kdr_Timer for the lifetime of a scope: start on construction, end on destruction,
/// on every path out of the scope.
class Kdr_FunctionTimer
{
public:
    explicit Kdr_FunctionTimer(Kdr_Timer& timer) : timer_(timer) { timer_.start(); }
    ~Kdr_FunctionTimer() { timer_.end(); }
    Kdr_FunctionTimer(const Kdr_FunctionTimer&) = delete;
    Kdr_FunctionTimer& operator=(const Kdr_FunctionTimer&) = delete;

private:
    Kdr_Timer& timer_;
};
