// Unloading the module while its modeless windows are open, and the entry points of the
// macro dialogs and the rules editor called with another module's resources current.

#include "designer/Kdr_DlgEditConstraints.h"
#include "designer/MacroDialogTestSupport.h"
#include "frame/KaldorSS.h"
#include "frame/ModuleResources.h"

namespace
{
using macrotest::MacroDialogTest;
using macrotest::SampleMacro;

class ModuleUnload : public MacroDialogTest
{
protected:
    ModuleUnload() { acrxSysRegistry()->reset(); }
    ~ModuleUnload() override { acrxSysRegistry()->reset(); }

    int appId_ = 0;
    ui::ResourceModule callerResources_{"caller"};
};

TEST_F(ModuleUnload, ClosesEveryModelessMacroDialogAndTheRulesEditor)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    const std::size_t before = ui::topLevelWindows().size();
    int first = -1, second = -1;
    ASSERT_TRUE(StartDlgMacroModeless(true, sample.data, first));
    ASSERT_TRUE(StartDlgMacroModeless(false, sample.data, second));
    EditConstrData rules; // no macro: the editor opens empty
    ASSERT_TRUE(StartDlgEditConstraints(rules));
    ASSERT_NE(GetDlgEditConstraints(), nullptr);
    EXPECT_EQ(ui::topLevelWindows().size(), before + 3);
    // A close asked for while the first dialog was busy still waits for its timer.
    {
        Kdr_DlgMacro::BusyScope busy(*macroDlgInSlot(first));
        EXPECT_TRUE(EndDlgMacroModeless(first));
    }
    ASSERT_EQ(pendingMacroDlgCloses(), 1u);

    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &appId_), AcRx::kRetOK);

    EXPECT_EQ(macroDlgInSlot(first), nullptr);
    EXPECT_EQ(macroDlgInSlot(second), nullptr);
    EXPECT_EQ(pendingMacroDlgCloses(), 0u);
    EXPECT_EQ(GetDlgEditConstraints(), nullptr);
    ui::MessageLoop::instance().pump();
    EXPECT_EQ(ui::topLevelWindows().size(), before);
    EXPECT_EQ(acrxSysRegistry()->log(),
              (std::vector<std::string>{"at ACAD_REGISTERED_COMMANDS", "removeGroup KALDOR_SS"}));
}

TEST_F(ModuleUnload, UnloadWithNothingOpenOnlyRemovesTheCommandGroup)
{
    const std::size_t before = ui::topLevelWindows().size();
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &appId_), AcRx::kRetOK);
    EXPECT_EQ(ui::topLevelWindows().size(), before);
    EXPECT_EQ(macroDlgSlotCount(), 0);
}

TEST_F(ModuleUnload, ModelessEntryPointsFindTheirTemplatesAndRestoreTheCallerResources)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    AfxSetResourceHandle(&callerResources_);
    int index = -1;
    EXPECT_TRUE(StartDlgMacroModeless(true, sample.data, index));
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);
    EXPECT_NE(macroDlgInSlot(index), nullptr);
    MacroData copy;
    EXPECT_TRUE(GetDlgMacroData(index, copy));
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);
    EXPECT_TRUE(EndDlgMacroModeless(index));
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);

    EditConstrData rules;
    EXPECT_TRUE(StartDlgEditConstraints(rules));
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);
    EXPECT_NE(GetDlgEditConstraints(), nullptr);
    EndDlgEditConstraints();
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);

    // The modal macro dialog copies its data back however it ends; its resources are the
    // module's while it runs.
    agent_.expectDialog(IDD_MACRO,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(AfxGetResourceHandle(), &moduleResources());
                            user.close();
                        });
    EXPECT_TRUE(StartDlgMacro(sample.data));
    EXPECT_EQ(AfxGetResourceHandle(), &callerResources_);
    AfxSetResourceHandle(nullptr);
}
} // namespace
