#include "ui/MessageLoop.h"

#include "host/Clock.h"
#include "ui/Input.h"

#include <algorithm>
#include <limits>

namespace ui
{
namespace
{
// The platform's shortest timer period.
constexpr unsigned kMinimumElapse = 10;
// A message that keeps posting itself must not hang a pump.
constexpr int kMaxDeliveriesPerPump = 100000;

bool isInputMessage(unsigned message)
{
    return (message >= WM_KEYDOWN && message <= WM_CHAR) ||
           (message >= WM_MOUSEMOVE && message <= WM_RBUTTONUP);
}
} // namespace

MessageLoop& MessageLoop::instance()
{
    // Never destroyed: windows that die at exit still tell it to drop their timers.
    static auto& loop = *new MessageLoop;
    return loop;
}

long long MessageLoop::now() const
{
    return host::clock().nowMilliseconds();
}

void MessageLoop::post(std::function<void()> call)
{
    if (call)
        queue_.push_back(Posted{0, 0, 0, 0, std::move(call)});
}

void MessageLoop::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam)
{
    queue_.push_back(Posted{window, message, wParam, lParam, {}});
}

MessageLoop::Timer* MessageLoop::findTimer(WindowHandle window, std::uintptr_t id)
{
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [&](const Timer& t) { return t.window == window && t.id == id; });
    return it == timers_.end() ? nullptr : &*it;
}

const MessageLoop::Timer* MessageLoop::findTimer(WindowHandle window, std::uintptr_t id) const
{
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [&](const Timer& t) { return t.window == window && t.id == id; });
    return it == timers_.end() ? nullptr : &*it;
}

std::uintptr_t MessageLoop::setTimer(WindowHandle window, std::uintptr_t id, unsigned elapse, TIMERPROC proc)
{
    elapse = std::max(elapse, kMinimumElapse);
    if (window == 0 && (id == 0 || findTimer(0, id) == nullptr))
    {
        do
            id = ++nextSystemId_;
        while (findTimer(0, id) != nullptr);
    }
    if (Timer* existing = findTimer(window, id))
    {
        existing->elapse = elapse;
        existing->due = now() + elapse;
        existing->proc = proc;
    }
    else
        timers_.push_back(Timer{window, id, elapse, now() + elapse, proc, nextSerial_++});
    return (window != 0 && id == 0) ? 1 : id;
}

bool MessageLoop::killTimer(WindowHandle window, std::uintptr_t id)
{
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it == timers_.end())
        return false;
    timers_.erase(it);
    return true;
}

void MessageLoop::killTimersOf(WindowHandle window)
{
    if (window != 0)
        std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
}

std::optional<long long> MessageLoop::nextDue() const
{
    std::optional<long long> next;
    for (const Timer& t : timers_)
        if (!next || t.due < *next)
            next = t.due;
    return next;
}

bool MessageLoop::hasTimer(WindowHandle window, std::uintptr_t id) const
{
    return findTimer(window, id) != nullptr;
}

int MessageLoop::deliverQueued()
{
    int delivered = 0;
    while (!queue_.empty() && delivered < kMaxDeliveriesPerPump)
    {
        Posted item = std::move(queue_.front());
        queue_.pop_front();
        ++delivered;
        DispatchScope scope;
        if (item.call)
        {
            item.call();
            continue;
        }
        Window* target = Window::FromHandle(item.window);
        if (target == nullptr)
            continue;
        if (isInputMessage(item.message))
        {
            Message message{target, item.message, item.wParam, item.lParam};
            dispatchInput(message);
        }
        else
            target->SendMessage(item.message, item.wParam, item.lParam);
    }
    return delivered;
}

int MessageLoop::fireDueTimers()
{
    const long long current = now();
    struct Due
    {
        long long due;
        std::uint64_t serial;
        WindowHandle window;
        std::uintptr_t id;
    };
    std::vector<Due> due;
    for (const Timer& t : timers_)
        if (t.due <= current)
            due.push_back({t.due, t.serial, t.window, t.id});
    std::sort(due.begin(), due.end(),
              [](const Due& a, const Due& b)
              { return a.due != b.due ? a.due < b.due : a.serial < b.serial; });

    int fired = 0;
    for (const Due& d : due)
    {
        // Earlier callbacks may have killed or restarted this timer.
        Timer* t = findTimer(d.window, d.id);
        if (t == nullptr || t->serial != d.serial || t->due > current)
            continue;
        t->due = current + t->elapse;
        const TIMERPROC proc = t->proc;
        const auto time32 = static_cast<std::uint32_t>(current);
        ++fired;
        DispatchScope scope;
        if (d.window == 0)
        {
            if (proc != nullptr)
                proc(nullptr, WM_TIMER, d.id, time32);
            continue;
        }
        Window* window = Window::FromHandle(d.window);
        if (window == nullptr)
        {
            killTimer(d.window, d.id);
            continue;
        }
        if (proc != nullptr)
            proc(window, WM_TIMER, d.id, time32);
        else
            window->SendMessage(WM_TIMER, d.id, 0);
    }
    return fired;
}

int MessageLoop::pump()
{
    int count = deliverQueued();
    count += fireDueTimers();
    count += deliverQueued();
    paintInvalidWindows();
    collectDestroyedWindows();
    return count;
}

bool MessageLoop::advance(long long milliseconds)
{
    auto* manual = dynamic_cast<host::ManualClock*>(&host::clock());
    if (manual == nullptr)
    {
        pump();
        return false;
    }
    const long long target = now() + std::max(0LL, milliseconds);
    pump();
    for (;;)
    {
        long long next = std::numeric_limits<long long>::max();
        for (const Timer& t : timers_)
            next = std::min(next, t.due);
        if (next > target)
            break;
        if (next > now())
            manual->advanceMilliseconds(next - now());
        pump();
    }
    if (target > now())
        manual->advanceMilliseconds(target - now());
    pump();
    return true;
}

bool MessageLoop::runUntil(const std::function<bool()>& done, long long maxMilliseconds)
{
    pump();
    const long long end = now() + maxMilliseconds;
    while (!done() && now() < end)
    {
        long long next = end;
        for (const Timer& t : timers_)
            next = std::min(next, std::max(t.due, now() + 1));
        if (!advance(next - now()))
            break;
    }
    return done();
}

void MessageLoop::reset()
{
    queue_.clear();
    timers_.clear();
}
} // namespace ui

std::uintptr_t SetTimer(ui::Window* window, std::uintptr_t id, unsigned elapse, ui::TIMERPROC proc)
{
    if (window != nullptr)
        return window->SetTimer(id, elapse, proc);
    return ui::MessageLoop::instance().setTimer(0, id, elapse, proc);
}

bool KillTimer(ui::Window* window, std::uintptr_t id)
{
    return ui::MessageLoop::instance().killTimer(window != nullptr ? window->GetSafeHwnd() : 0, id);
}
