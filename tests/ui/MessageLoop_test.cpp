#include "UiTestSupport.h"
#include "ui/MessageLoop.h"

#include <vector>

namespace
{
using ui::MessageLoop;

// State of the deferred-close pattern: a windowless 50 ms timer retried while a window is busy.
struct DeferredClose
{
    std::uintptr_t timer = 0;
    ui::Window* window = nullptr;
    int busyTicks = 0;
    std::vector<long long> ticks;
};
DeferredClose gClose;

void closeWhenIdle(ui::Window*, unsigned message, std::uintptr_t id, std::uint32_t)
{
    ASSERT_EQ(message, WM_TIMER);
    if (id != gClose.timer)
        return;
    gClose.ticks.push_back(MessageLoop::instance().now());
    KillTimer(nullptr, id);
    if (gClose.busyTicks-- > 0)
        gClose.timer = SetTimer(nullptr, 0, 50, closeWhenIdle);
    else
        gClose.window->DestroyWindow();
}

class MessageLoopTest : public uitest::UiTest
{
protected:
    MessageLoop& loop = MessageLoop::instance();
};

TEST_F(MessageLoopTest, WindowlessTimerIsRetriedEvery50MsUntilTheWindowIsIdle)
{
    ui::Window window;
    ASSERT_TRUE(window.Create("STATIC", "busy", WS_POPUP, ui::Rect(0, 0, 10, 10), nullptr, 0));
    gClose = DeferredClose{};
    gClose.window = &window;
    gClose.busyTicks = 3;
    gClose.timer = SetTimer(nullptr, 0, 50, closeWhenIdle);
    ASSERT_NE(gClose.timer, 0u) << "the system chooses the id";

    loop.advance(49);
    EXPECT_TRUE(gClose.ticks.empty());
    EXPECT_TRUE(loop.runUntil([&] { return !window.IsWindow(); }, 1000));
    EXPECT_EQ(gClose.ticks, (std::vector<long long>{50, 100, 150, 200}));
    EXPECT_EQ(loop.timerCount(), 0u);
}

TEST_F(MessageLoopTest, PeriodicTimersFireInTimeOrderUntilKilled)
{
    struct Recorder : ui::Window
    {
        std::vector<std::pair<long long, std::uintptr_t>> fired;
        void OnTimer(std::uintptr_t id) override { fired.emplace_back(MessageLoop::instance().now(), id); }
    } window;
    ASSERT_TRUE(window.Create("STATIC", "", WS_POPUP, ui::Rect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(window.SetTimer(7, 20), 7u);
    EXPECT_EQ(window.SetTimer(8, 30), 8u);
    loop.advance(60);
    EXPECT_EQ(window.fired, (std::vector<std::pair<long long, std::uintptr_t>>{
                                {20, 7}, {30, 8}, {40, 7}, {60, 7}, {60, 8}}));

    window.fired.clear();
    EXPECT_TRUE(window.KillTimer(7));
    EXPECT_FALSE(window.KillTimer(7));
    EXPECT_EQ(window.SetTimer(8, 30), 8u) << "setting again restarts the period";
    loop.advance(29);
    EXPECT_TRUE(window.fired.empty());
    loop.advance(1);
    EXPECT_EQ(window.fired.size(), 1u);

    window.DestroyWindow();
    EXPECT_EQ(loop.timerCount(), 0u) << "a window's timers die with it";
}

TEST_F(MessageLoopTest, ShortPeriodsAreRaisedToTheMinimumAndTimersWithAProcCallIt)
{
    static std::vector<ui::Window*> seen;
    seen.clear();
    ui::Window window;
    ASSERT_TRUE(window.Create("STATIC", "", WS_POPUP, ui::Rect(0, 0, 10, 10), nullptr, 0));
    window.SetTimer(1, 0, [](ui::Window* w, unsigned, std::uintptr_t, std::uint32_t) { seen.push_back(w); });
    loop.advance(25);
    EXPECT_EQ(seen, (std::vector<ui::Window*>{&window, &window}));
    window.DestroyWindow();
}

TEST_F(MessageLoopTest, PostedMessagesArriveInOrderOnPumpAndAreDroppedForDeadWindows)
{
    struct Recorder : ui::Window
    {
        std::vector<unsigned> messages;
        std::intptr_t WindowProc(unsigned message, std::uintptr_t w, std::intptr_t l) override
        {
            if (message >= WM_USER)
                messages.push_back(message - WM_USER);
            return Window::WindowProc(message, w, l);
        }
    } a, b;
    ASSERT_TRUE(a.Create("STATIC", "", WS_POPUP, ui::Rect(0, 0, 10, 10), nullptr, 0));
    ASSERT_TRUE(b.Create("STATIC", "", WS_POPUP, ui::Rect(0, 0, 10, 10), nullptr, 0));
    std::vector<int> calls;
    a.PostMessage(WM_USER + 1);
    b.PostMessage(WM_USER + 9);
    loop.post(
        [&]
        {
            calls.push_back(1);
            a.PostMessage(WM_USER + 2); // posted while pumping: delivered in the same pump
        });
    EXPECT_TRUE(a.messages.empty()) << "nothing runs before the pump";
    b.DestroyWindow();
    EXPECT_EQ(loop.pump(), 4);
    EXPECT_EQ(a.messages, (std::vector<unsigned>{1, 2}));
    EXPECT_TRUE(b.messages.empty());
    EXPECT_EQ(calls, (std::vector<int>{1}));
    a.DestroyWindow();
}

TEST(MessageLoopClock, AdvanceNeedsAManualClock)
{
    host::SteadyClock steady;
    host::ClockOverride clock(steady);
    EXPECT_FALSE(MessageLoop::instance().advance(10));
}
} // namespace
