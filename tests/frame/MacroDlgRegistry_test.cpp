// The modeless macro dialogs as the host keeps them: slots addressed by index, reused while
// they are not trailing, and closes that wait for a busy dialog, driven by the message loop's
// clock.

#include "designer/Kdr_DlgBoltOptions.h"
#include "designer/MacroDialogTestSupport.h"
#include "frame/ModuleResources.h"
#include "ui/Button.h"

namespace
{
using macrotest::MacroDialogTest;
using macrotest::SampleMacro;

class MacroDlgRegistryTest : public MacroDialogTest
{
protected:
    int open(MacroData& data, bool keepFocus = true)
    {
        int index = -2;
        EXPECT_TRUE(StartDlgMacroModeless(keepFocus, data, index));
        return index;
    }

    std::vector<bool> occupied() const
    {
        std::vector<bool> out;
        for (int i = 0; i < macroDlgSlotCount(); ++i)
            out.push_back(macroDlgInSlot(i) != nullptr);
        return out;
    }

    static int countOf(const std::string& text, const std::string& line)
    {
        int count = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++count;
        return count;
    }
};

TEST_F(MacroDlgRegistryTest, FreedSlotsAreReusedLastFirstAndTrailingOnesDropped)
{
    MacroData& data = load("EndPlate-IPE300").data;
    for (int expected = 0; expected < 5; ++expected)
        EXPECT_EQ(open(data), expected);
    EXPECT_TRUE(EndDlgMacroModeless(3));
    EXPECT_TRUE(EndDlgMacroModeless(1));
    EXPECT_EQ(occupied(), (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(open(data), 3) << "the last empty slot is taken";
    EXPECT_EQ(open(data), 1);
    EXPECT_EQ(open(data), 5) << "no empty slot: a new one at the end";

    // Closing the last slot drops every empty slot before it as well.
    for (const int index : {1, 2, 3, 4})
        EXPECT_TRUE(EndDlgMacroModeless(index));
    EXPECT_EQ(macroDlgSlotCount(), 6);
    EXPECT_TRUE(EndDlgMacroModeless(5));
    EXPECT_EQ(occupied(), (std::vector<bool>{true}));

    // Bad and empty indices change nothing.
    EXPECT_FALSE(EndDlgMacroModeless(-1));
    EXPECT_FALSE(EndDlgMacroModeless(1));
    MacroData copy;
    EXPECT_FALSE(GetDlgMacroData(7, copy));
    EXPECT_GE(ui::hostRequests().commandPrompts, 6) << "each close shows the command prompt again";
}

TEST_F(MacroDlgRegistryTest, OpeningShowsTheDialogAndHandsTheFocusBackUnlessKept)
{
    MacroData& data = load("EndPlate-IPE300").data;
    const int kept = open(data, true);
    ASSERT_NE(macroDlgInSlot(kept), nullptr);
    EXPECT_TRUE(macroDlgInSlot(kept)->IsWindowVisible());
    EXPECT_TRUE(macroDlgInSlot(kept)->IsChild(ui::Window::GetFocus()) ||
                ui::Window::GetFocus() == macroDlgInSlot(kept));
    EXPECT_EQ(macroDlgInSlot(kept)->index(), kept);

    // Every icon button shows its picture.
    for (const int id :
         {IDC_MACRO_SELECT, IDC_MACRO_VIEW_0, IDC_MACRO_VIEW_1, IDC_MACRO_VIEW_2, IDC_MACRO_VIEW_3,
          IDC_MACRO_STANDARDS, IDC_MACRO_LOAD_PROPS, IDC_MACRO_SAVE_PROPS, IDC_MACRO_CLASH})
    {
        auto* button = dynamic_cast<ui::Button*>(macroDlgInSlot(kept)->GetDlgItem(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_TRUE(button->image().has_value()) << id;
    }

    open(data, false);
    EXPECT_EQ(ui::Window::GetFocus(), adsw_acadMainWnd());
}

TEST_F(MacroDlgRegistryTest, ADialogThatCannotBeMadeTakesNoSlot)
{
    MacroData& data = load("EndPlate-IPE300").data;
    EXPECT_EQ(open(data), 0);
    const ui::DialogTemplate saved = *moduleResources().findDialog(IDD_MACRO);
    moduleResources().removeDialog(IDD_MACRO);
    int index = 5;
    EXPECT_FALSE(StartDlgMacroModeless(true, data, index));
    moduleResources().addDialog(saved);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(macroDlgSlotCount(), 1) << "the slot made for it is dropped again";
    EXPECT_EQ(open(data), 1);
}

TEST_F(MacroDlgRegistryTest, GetDlgMacroDataReadsTheLiveDialog)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    const int index = open(sample.data);
    ui::Driver user = MacroDialogTest::user(index);
    // The sample's template shows the height in its second control.
    ASSERT_EQ(user.text(IDC_PAGE_FIRST_DYNAMIC + 1), "160");
    user.type(IDC_PAGE_FIRST_DYNAMIC + 1, "175");
    user.pressKey(VK_RETURN);

    MacroData live;
    ASSERT_TRUE(GetDlgMacroData(index, live));
    const MacroCellData* height = nullptr;
    ASSERT_TRUE(live.tabs()[0].findCellWithName("Height", height));
    EXPECT_EQ(height->value, "175");
    EXPECT_EQ(variable(sample.macro, "Fin", "Height"), "175");
}

TEST_F(MacroDlgRegistryTest, ClosingABusyDialogWaitsForItOnTheTimer)
{
    MacroData& data = load("EndPlate-IPE300").data;
    const int index = open(data);
    ui::MessageLoop& loop = ui::MessageLoop::instance();
    bool closedWhileBusy = true;
    agent_.expectDialog(IDD_BOLT_OPTIONS,
                        [&](ui::Driver& options)
                        {
                            // The host closes the dialog while it shows the bolt options.
                            EXPECT_TRUE(EndDlgMacroModeless(index));
                            EXPECT_EQ(pendingMacroDlgCloses(), 1u);
                            EXPECT_TRUE(EndDlgMacroModeless(index)) << "asked again: still one pending close";
                            EXPECT_EQ(pendingMacroDlgCloses(), 1u);
                            ASSERT_TRUE(loop.nextDue().has_value());
                            EXPECT_EQ(*loop.nextDue(), loop.now() + 50);
                            // Two ticks find it still busy; each starts a fresh timer.
                            loop.advance(120);
                            EXPECT_EQ(countOf(commandLine_.text(), "Delayed timer called.\n"), 2);
                            closedWhileBusy = macroDlgInSlot(index) == nullptr;
                            options.click(IDOK);
                        });
    ui::Driver user = MacroDialogTest::user(index);
    user.click(IDC_PAGE_ADVANCED);
    EXPECT_FALSE(closedWhileBusy);
    ASSERT_NE(macroDlgInSlot(index), nullptr);

    loop.advance(50);
    EXPECT_EQ(macroDlgInSlot(index), nullptr);
    EXPECT_EQ(commandLine_.text(), "Delayed timer called.\nDelayed timer called.\nDelayed timer called.\n");
    EXPECT_EQ(loop.timerCount(), 0u);
    EXPECT_EQ(pendingMacroDlgCloses(), 0u);
}

TEST_F(MacroDlgRegistryTest, APendingCloseNeverClosesTheDialogThatReusesItsSlot)
{
    MacroData& data = load("EndPlate-IPE300").data;
    const int first = open(data);
    agent_.expectDialog(IDD_BOLT_OPTIONS,
                        [&](ui::Driver& options)
                        {
                            EXPECT_TRUE(EndDlgMacroModeless(first));
                            options.click(IDOK);
                        });
    {
        ui::Driver user = MacroDialogTest::user(first);
        user.click(IDC_PAGE_ADVANCED);
        // The user closes it before the timer comes round; a new dialog takes the slot.
        user.click(IDOK);
    }
    EXPECT_EQ(macroDlgInSlot(first), nullptr);
    EXPECT_EQ(open(data), first);

    ui::MessageLoop::instance().advance(200);
    EXPECT_NE(macroDlgInSlot(first), nullptr) << "the new dialog stays open";
    EXPECT_EQ(commandLine_.text(), "");
    EXPECT_EQ(ui::MessageLoop::instance().timerCount(), 0u);
}

TEST_F(MacroDlgRegistryTest, UnloadingClosesEveryDialogAndStopsEveryTimer)
{
    DestroyAllMacroDlgs(); // nothing open: nothing happens
    EXPECT_EQ(macroDlgSlotCount(), 0);
    EXPECT_EQ(ui::hostRequests().commandPrompts, 0);

    MacroData& data = load("EndPlate-IPE300").data;
    const int busy = open(data);
    open(data);
    agent_.expectDialog(IDD_BOLT_OPTIONS,
                        [&](ui::Driver& options)
                        {
                            EXPECT_TRUE(EndDlgMacroModeless(busy));
                            options.click(IDOK);
                        });
    user(busy).click(IDC_PAGE_ADVANCED);
    ASSERT_EQ(ui::MessageLoop::instance().timerCount(), 1u);

    DestroyAllMacroDlgs();
    EXPECT_EQ(macroDlgSlotCount(), 0);
    EXPECT_EQ(ui::MessageLoop::instance().timerCount(), 0u);
    EXPECT_EQ(pendingMacroDlgCloses(), 0u);
    ui::MessageLoop::instance().advance(200);
    EXPECT_EQ(commandLine_.text(), "");
}

TEST_F(MacroDlgRegistryTest, ClosingFromTheDialogFreesItsSlot)
{
    MacroData& data = load("EndPlate-IPE300").data;
    const int index = open(data);
    open(data);
    ui::Driver user = MacroDialogTest::user(index);
    ASSERT_TRUE(user.close());
    EXPECT_EQ(macroDlgInSlot(index), nullptr);
    EXPECT_EQ(ui::hostRequests().postedCommands, (std::vector<std::string>{"CANCELCMD"}));
    EXPECT_EQ(calls("changeView"), (std::vector<std::string>{"changeView Plate 3"}));
    EXPECT_EQ(calls("clashDlgClosed").size(), 1u);
}
} // namespace
