#include "host/Kdr_Timer.h"

void Kdr_Timer::start()
{
    if (depth_++ == 0)
    {
        timed_ = measuring_;
        if (timed_)
            started_ = host::clock().now();
    }
}

void Kdr_Timer::end()
{
    if (depth_ == 0)
        return;
    if (--depth_ == 0)
    {
        if (timed_ && measuring_)
        {
            auto elapsed = host::clock().now() - started_;
            if (elapsed > host::Clock::Duration::zero())
                total_ += elapsed;
        }
        timed_ = false;
        ++count_;
    }
}

void Kdr_Timer::reset()
{
    depth_ = 0;
    count_ = 0;
    timed_ = false;
    total_ = {};
}

double Kdr_Timer::seconds() const
{
    return std::chrono::duration<double>(total_).count();
}

Kdr_String Kdr_Timer::report() const
{
    return name_ + ": " + host::formatFixed(seconds(), 6, true) + " s in " + std::to_string(count_) +
           (count_ == 1 ? " call" : " calls");
}
