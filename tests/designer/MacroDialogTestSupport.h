#pragma once

#include "../ui/UiTestSupport.h"
#include "designer/Kdr_DlgMacro.h"
#include "designer/Kdr_DlgMacroPage.h"
#include "designer/MacroDialogResources.h"
#include "frame/MacroDlgRegistry.h"
#include "host/CommandLine.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroDialogHost.h"
#include "host/Texts.h"
#include "hostio/MacroJson.h"
#include "ui/DialogSizes.h"
#include "ui/Driver.h"

#include <gtest/gtest.h>
#include <list>
#include <string>

namespace macrotest
{
/// A sample macro of the library's samples folder, loaded as the host holds it: the macro
/// in the drawing and its dialog data.
struct SampleMacro
{
    Kdr_DbMacro macro;
    MacroData data;
};

/// A test of the macro dialogs: the UI test environment, the sample macros in the host's
/// drawing, a fresh host stand-in, captured command-line output, and no modeless dialog left
/// behind.
class MacroDialogTest : public uitest::UiTest
{
protected:
    MacroDialogTest()
    {
        macroDialogHost().reset();
        ui::hostRequests().clear();
        ui::dialogSizes().clear();
    }

    ~MacroDialogTest() override
    {
        DestroyAllMacroDlgs();
        ui::MessageLoop::instance().pump();
        macroDialogHost().reset();
    }

    /// Loads samples/macros/<name>.json into the drawing.
    SampleMacro& load(const std::string& name)
    {
        SampleMacro& sample = samples_.emplace_back();
        std::string error;
        const std::string path = std::string(KALDOR_SAMPLE_LIBRARY) + "../macros/" + name + ".json";
        EXPECT_TRUE(loadMacroJson(path, sample.macro, sample.data, error)) << error;
        sample.data.setMacroNames({sample.macro.name()});
        macroDialogHost().drawing.push_back(&sample.macro);
        return sample;
    }

    /// A user of the modeless dialog in slot `index`; what the user cannot do fails the test.
    static ui::Driver user(int index)
    {
        return ui::Driver(*macroDlgInSlot(index),
                          [](const std::string& message) { ADD_FAILURE() << message; });
    }
    static ui::Driver user(ui::Window& window)
    {
        return ui::Driver(window, [](const std::string& message) { ADD_FAILURE() << message; });
    }

    /// The value of a dialog variable of a module of the macro.
    static std::string variable(const Kdr_DbMacro& macro, const char* module, const char* name)
    {
        const Kdr_Module* found = nullptr;
        if (!macro.macro().findModule(module, found))
            return "(no module)";
        const Kdr_DialogVariable* value = found->findDialogVariable(name);
        return value != nullptr ? std::string(value->value) : std::string("(no variable)");
    }

    /// The host requests recorded by the stand-in that begin with `prefix`.
    static std::vector<std::string> calls(const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const std::string& call : macroDialogHost().calls)
            if (call.rfind(prefix, 0) == 0)
                out.push_back(call);
        return out;
    }

    host::CommandLineCapture commandLine_;
    std::list<SampleMacro> samples_;
};
} // namespace macrotest
