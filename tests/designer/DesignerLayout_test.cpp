// The designer's layout operations, worked the way a person works them: the mouse places,
// moves and sizes controls, buttons run the commands, the value prompt is answered.

#include "DesignerTestSupport.h"
#include "DesignerWorkbench.h"
#include "host/CommandLine.h"
#include "ui/ComboBox.h"
#include "ui/Driver.h"
#include "ui/UiTestSupport.h"

namespace
{
using designertest::DesignerWorkbench;
using designertest::ScratchLibrary;
using ui::Point;
using ui::Rect;
using namespace designertest;

class DesignerLayout : public uitest::UiTest
{
protected:
    /// A workbench showing template `name` (written empty with a 200 × 150 image unless
    /// given controls).
    void open(const std::string& name = "Drawn", const std::string& text = "nrOfControls\ti\t0\n")
    {
        library.writeImage(name + ".bmp", 200, 150);
        library.writeTemplateFile(name + ".txt", text);
        ASSERT_TRUE(bench.data.readFromFile(library.root(name + ".txt"), true));
        bench.data.redrawAllControls();
    }
    Rect windowRect(int index) const
    {
        const ui::Window* window = bench.GetDlgItem(bench.data.getControl(index)->resourceId);
        return window ? window->rectInParent() : Rect();
    }
    std::vector<int> selected() const
    {
        std::vector<int> ids;
        for (int id : bench.data.getSelectedIds())
            ids.push_back(id);
        return ids;
    }

    ScratchLibrary library;
    DesignerWorkbench bench;
    ui::Driver driver{bench};
};

TEST_F(DesignerLayout, ATemplateDrawnWithTheMouseIsSavedAndReadBack)
{
    open();
    ASSERT_TRUE(driver.click(kAdd));
    ASSERT_EQ(bench.data.getNrControls(), 1);
    EXPECT_EQ(bench.data.getControl(0)->contents, "New");
    EXPECT_EQ(windowRect(0), Rect(40, 30, 70, 48));
    EXPECT_FALSE(bench.GetDlgItem(33000)->IsWindowEnabled()) << "designer controls are drawn disabled";

    // Move it by its middle, then pull its bottom-right handle.
    ASSERT_TRUE(driver.drag(0, {55, 39}, {85, 59}));
    EXPECT_EQ(windowRect(0), Rect(70, 50, 100, 68));
    EXPECT_EQ(bench.displayList().describe().back(), "handles 70,50,100,68 size 7");
    ASSERT_TRUE(driver.drag(0, {98, 66}, {128, 76}));
    EXPECT_EQ(windowRect(0), Rect(70, 50, 130, 78));

    // A second one, made a label, given a width through the prompt and moved to the left.
    bench.addType = ctText;
    ASSERT_TRUE(driver.click(kAdd));
    ASSERT_TRUE(driver.drag(0, {50, 35}, {50, 35}));
    agent_.expectPrompt(Kdr_String("45"));
    ASSERT_TRUE(driver.click(kWidth));
    EXPECT_EQ(windowRect(1), Rect(40, 30, 85, 48));
    ASSERT_TRUE(driver.drag(0, {60, 40}, {30, 100}));
    EXPECT_EQ(windowRect(1), Rect(10, 90, 55, 108));

    ASSERT_TRUE(bench.data.writeToFile(library.root("Drawn.txt")));
    Kdr_DlgDesignerData read;
    ASSERT_TRUE(read.readFromFile(library.root("Drawn.txt"), true));
    ASSERT_EQ(read.getNrControls(), 2);
    const Kdr_DesignerControl& edit = *read.getControl(0);
    EXPECT_EQ(edit.type, ctCellEdit);
    EXPECT_DOUBLE_EQ(edit.topLeftX, 70.0 / 200);
    EXPECT_DOUBLE_EQ(edit.topLeftY, 50.0 / 150);
    EXPECT_DOUBLE_EQ(edit.bottomRightX, 130.0 / 200);
    EXPECT_DOUBLE_EQ(edit.bottomRightY, 78.0 / 150);
    EXPECT_EQ(read.getPixelRect(*read.getControl(1)), Rect(10, 90, 55, 108));
    EXPECT_EQ(read.getControl(1)->type, ctText);
    EXPECT_EQ(read.getControl(1)->contents, "New");
}

TEST_F(DesignerLayout, ALabelIsSelectedThroughItsOwnWindow)
{
    open("Label", "nrOfControls\ti\t1\ntype0\ti\t0\ntopLeftX0\td\t0.1\ntopLeftY0\td\t0.1\n"
                  "bottomRightX0\td\t0.4\nbottomRightY0\td\t0.2\ncontents0\ts\tWidth\n");
    EXPECT_TRUE(bench.GetDlgItem(33000)->IsWindowEnabled()) << "labels stay enabled";
    ASSERT_TRUE(driver.drag(33000, {5, 5}, {25, 15}));
    EXPECT_EQ(windowRect(0), Rect(40, 25, 100, 40));
    EXPECT_EQ(bench.data.getCurSel(), 0);
}

TEST_F(DesignerLayout, CopyMovesTheCopyAndSelectsOnlyIt)
{
    open("Copy", "nrOfControls\ti\t1\ntype0\ti\t2\ntopLeftX0\td\t0.05\ntopLeftY0\td\t0.1\n"
                 "bottomRightX0\td\t0.2\nbottomRightY0\td\t0.22\ncontents0\ts\ttp\n");
    EXPECT_EQ(windowRect(0), Rect(10, 15, 40, 33));
    ASSERT_TRUE(driver.drag(0, {25, 25}, {25, 25}));
    ASSERT_TRUE(driver.click(kCopy));
    ASSERT_EQ(bench.data.getNrControls(), 2);
    EXPECT_EQ(windowRect(1), Rect(30, 35, 60, 53));
    EXPECT_EQ(bench.data.getControl(1)->resourceId, 33001);
    EXPECT_EQ(bench.data.getControl(1)->contents, "tp");
    EXPECT_EQ(selected(), std::vector<int>{33001});
}

TEST_F(DesignerLayout, AlignBottomsAndStickRight)
{
    // Left control: (20,80)-(50,100); right one: (100,30)-(130,50), 20 high.
    open("Align", "nrOfControls\ti\t2\n"
                  "type0\ti\t2\ntopLeftX0\td\t0.1\ntopLeftY0\td\t0.5333333333333333\nbottomRightX0\td\t0.25\n"
                  "bottomRightY0\td\t0.6666666666666666\ncontents0\ts\ta\n"
                  "type1\ti\t2\ntopLeftX1\td\t0.5\ntopLeftY1\td\t0.2\nbottomRightX1\td\t0.65\n"
                  "bottomRightY1\td\t0.3333333333333333\ncontents1\ts\tb\n");
    ASSERT_EQ(windowRect(0), Rect(20, 80, 50, 100));
    ASSERT_EQ(windowRect(1), Rect(100, 30, 130, 50));
    ASSERT_TRUE(driver.drag(0, {110, 40}, {110, 40}));
    ASSERT_TRUE(driver.drag(0, {30, 90}, {30, 90}, MK_SHIFT));
    ASSERT_TRUE(driver.click(kAlign));
    EXPECT_EQ(windowRect(1), Rect(100, 80, 130, 100)) << "the leftmost control's bottom, own height kept";
    EXPECT_EQ(windowRect(0), Rect(20, 80, 50, 100));
    EXPECT_EQ(selected(), (std::vector<int>{33001, 33000}));

    ASSERT_TRUE(driver.click(kStick));
    EXPECT_EQ(windowRect(1), Rect(50, 80, 80, 100)) << "against the right edge, own width kept";

    // One selected control: nothing sticks.
    ASSERT_TRUE(driver.drag(0, {150, 140}, {150, 140}))
        << "a click beside every control clears the selection";
    EXPECT_TRUE(selected().empty());
    ASSERT_TRUE(driver.drag(0, {60, 90}, {60, 90}));
    EXPECT_FALSE(bench.data.stickRightCurCtrls());
    EXPECT_EQ(windowRect(1), Rect(50, 80, 80, 100));
}

TEST_F(DesignerLayout, SizePromptTakesOnlyNumbersAboveZero)
{
    open();
    ASSERT_TRUE(driver.click(kAdd));
    ASSERT_TRUE(driver.drag(0, {50, 35}, {50, 35}));
    for (const char* answer : {"0", "-5", "abc", "", "1e999", "nan"})
    {
        agent_.expectPrompt(Kdr_String(answer));
        ASSERT_TRUE(driver.click(kHeight));
        EXPECT_EQ(windowRect(0), Rect(40, 30, 70, 48)) << answer;
    }
    agent_.expectPrompt(std::nullopt);
    ASSERT_TRUE(driver.click(kHeight));
    agent_.expectPrompt(Kdr_String(" 25 "));
    ASSERT_TRUE(driver.click(kHeight));
    EXPECT_EQ(windowRect(0), Rect(40, 30, 70, 55)) << "the top edge stays";
    const ui::ValuePromptRequest& prompt = agent_.prompts().back();
    EXPECT_EQ(prompt.title, "Height");
    EXPECT_EQ(prompt.label, "Height of the selected controls (pixels):");
    EXPECT_EQ(prompt.value, "18");
    EXPECT_EQ(prompt.okCaption, "OK");
    EXPECT_EQ(prompt.cancelCaption, "Cancel");
}

TEST_F(DesignerLayout, WithoutAnImageNothingIsSizedOrAdded)
{
    library.writeTemplateFile("NoImage.txt", "nrOfControls\ti\t1\ntype0\ti\t2\ntopLeftX0\td\t0.1\n");
    ASSERT_TRUE(bench.data.readFromFile(library.root("NoImage.txt"), true));
    bench.data.redrawAllControls();
    ASSERT_FALSE(bench.data.hasImage());
    ASSERT_TRUE(driver.click(kAdd));
    EXPECT_EQ(bench.data.getNrControls(), 1);
    Kdr_DesignerControl control = *bench.data.getControl(0);
    EXPECT_FALSE(bench.data.setWidth(control, 30));
    bench.data.changeCtrlSize(0, true, 30);
    EXPECT_EQ(bench.data.getControl(0)->bottomRightX, 0.0);
    EXPECT_EQ(bench.data.pixelsToFactor(true, 30), 0.0);
    ASSERT_TRUE(driver.drag(0, {0, 0}, {0, 0}));
    ASSERT_TRUE(driver.click(kWidth)) << "no prompt comes without an image";
}

TEST_F(DesignerLayout, RemoveTakesTheSelectedControlsAway)
{
    open();
    ASSERT_TRUE(driver.click(kAdd));
    ASSERT_TRUE(driver.click(kAdd));
    ASSERT_TRUE(driver.drag(0, {5, 5}, {100, 100})) << "a rubber band round both";
    EXPECT_EQ(selected().size(), 2u);
    host::CommandLineCapture capture;
    ASSERT_TRUE(driver.click(kRemove));
    EXPECT_EQ(bench.data.getNrControls(), 0);
    EXPECT_EQ(bench.GetDlgItem(33000), nullptr);
    EXPECT_EQ(capture.text(), "");
    EXPECT_EQ(bench.displayList().describe().size(), 2u) << "background and image, no handles";
}

TEST_F(DesignerLayout, TheTypeComboListsEveryType)
{
    const auto* combo = bench.dlgItem<ui::ComboBox>(kTypeCombo);
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), kNrControlTypes);
    EXPECT_EQ(combo->GetLBText(0), "Text");
    EXPECT_EQ(combo->GetLBText(4), "Bolt pattern 1: Number");
    EXPECT_EQ(combo->GetLBText(5), "Bolt pattern 2: Number");
    EXPECT_EQ(combo->GetLBText(24), "Array button");
    EXPECT_EQ(combo->GetLBText(30), "Flex/fix button");
}
} // namespace
