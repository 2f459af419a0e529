#pragma once

#include "ui/Window.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace ui
{
/// The message loop: posted messages and calls, and timers, on the injectable host clock.
///
/// Nothing runs by itself. A real host pumps from its own loop; tests call pump() to deliver
/// what is queued and advance(ms) to let time pass on a host::ManualClock, firing each timer
/// at the moment it falls due — so a 50 ms retry runs exactly as often as it would on screen,
/// without sleeping.
class MessageLoop
{
public:
    static MessageLoop& instance();

    /// Queues a call for the next pump.
    void post(std::function<void()> call);
    /// Queues a message; it is dropped when the window dies before delivery.
    void postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    /// Starts a timer. With a window: timer `id` of that window (restarted when it exists);
    /// returns the id, or 1 for id 0. Without a window: when `id` names a running timer without
    /// window it is restarted, otherwise the loop chooses a new id, which it returns. An elapse
    /// below 10 ms counts as 10 ms, as on the platform.
    std::uintptr_t setTimer(WindowHandle window, std::uintptr_t id, unsigned elapse, TIMERPROC proc);
    bool killTimer(WindowHandle window, std::uintptr_t id);
    /// Drops every timer of a window (its window is going away).
    void killTimersOf(WindowHandle window);

    /// Delivers queued messages and calls, then every timer that is due now (once each), then
    /// what those queued. Returns the number of messages, calls and timer ticks delivered.
    int pump();
    /// Lets time pass on the manual clock, firing timers in time order when they fall due and
    /// pumping after each. Without a host::ManualClock as the current clock it only pumps and
    /// returns false.
    bool advance(long long milliseconds);
    /// Advances in steps until `done` is true or `maxMilliseconds` have passed; returns `done()`.
    bool runUntil(const std::function<bool()>& done, long long maxMilliseconds);

    /// When the next timer falls due, in host-clock milliseconds (possibly already past);
    /// empty when no timer runs. A real event loop sleeps until then, or until input arrives.
    std::optional<long long> nextDue() const;

    std::size_t timerCount() const { return timers_.size(); }
    bool hasTimer(WindowHandle window, std::uintptr_t id) const;
    std::size_t queuedCount() const { return queue_.size(); }
    /// The current time of the host clock in milliseconds.
    long long now() const;
    /// Drops every queued message, call and timer.
    void reset();

private:
    struct Timer
    {
        WindowHandle window = 0;
        std::uintptr_t id = 0;
        unsigned elapse = 0;
        long long due = 0;
        TIMERPROC proc = nullptr;
        std::uint64_t serial = 0;
    };
    struct Posted
    {
        WindowHandle window = 0;
        unsigned message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        std::function<void()> call;
    };

    int deliverQueued();
    int fireDueTimers();
    Timer* findTimer(WindowHandle window, std::uintptr_t id);
    const Timer* findTimer(WindowHandle window, std::uintptr_t id) const;

    std::deque<Posted> queue_;
    std::vector<Timer> timers_;
    std::uintptr_t nextSystemId_ = 0x7E00;
    std::uint64_t nextSerial_ = 1;
};
} // namespace ui

/// Starts a timer (see MessageLoop::setTimer); a null window makes a timer without window.
std::uintptr_t SetTimer(ui::Window* window, std::uintptr_t id, unsigned elapse, ui::TIMERPROC proc);
bool KillTimer(ui::Window* window, std::uintptr_t id);
