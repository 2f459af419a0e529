#pragma once

#include "host/Clock.h"
#include "ui/AcadHost.h"
#include "ui/MessageLoop.h"
#include "ui/ScriptedAgent.h"
#include "ui/Window.h"

#include <gtest/gtest.h>
#include <memory>

namespace uitest
{
/// A test with a manual clock, an empty message loop and a scripted agent whose failures are
/// test failures. At the end no window of the test may be left alive.
class UiTest : public ::testing::Test
{
protected:
    UiTest() : clockOverride_(clock_), agentScope_(agent_)
    {
        ui::MessageLoop::instance().reset();
        agent_.setFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
        adsw_acadMainWnd(); // lives for the whole program
        liveAtStart_ = ui::topLevelWindows().size();
    }

    ~UiTest() override
    {
        EXPECT_EQ(ui::topLevelWindows().size(), liveAtStart_) << "a top-level window was left alive";
        ui::MessageLoop::instance().reset();
        ui::collectDestroyedWindows();
    }

    host::ManualClock clock_;
    host::ClockOverride clockOverride_;
    ui::ScriptedAgent agent_;
    ui::UserAgentScope agentScope_;
    std::size_t liveAtStart_ = 0;
};
} // namespace uitest
