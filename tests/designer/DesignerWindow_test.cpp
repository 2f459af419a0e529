// The dialog designer window as a person uses it: a picture attached, controls added, placed,
// typed, named and aligned with the mouse and the property panel, the template saved and
// opened again — and the questions it asks before work could be lost.

#include "DesignerTestSupport.h"
#include "designer/Kdr_DlgDesigner.h"
#include "host/FileFunctions.h"
#include "ui/ComboBox.h"
#include "ui/Cursor.h"
#include "ui/DialogSizes.h"
#include "ui/Driver.h"
#include "ui/UiTestSupport.h"

#include <fstream>
#include <iterator>

namespace
{
using designertest::ScratchLibrary;
using ui::Point;
using ui::Rect;

constexpr int kDrawn = Kdr_DlgDesignerData::kFirstDynId;
const char* const kChangedQuestion = "The template has changed. Save it?\n<";

std::string goldenFile(const std::string& name)
{
    std::ifstream in(std::string(KALDOR_TEST_DATA) + "designer/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DesignerWindowTest : public uitest::UiTest
{
protected:
    DesignerWindowTest() { ui::dialogSizes().clear(); }

    /// Runs the designer on `path`; a script that leaves it open has it closed with OK.
    bool run(const Kdr_String& path, const std::function<void(ui::Driver&)>& script)
    {
        agent_.expectDialog(IDD_DLG_DESIGNER,
                            [&](ui::Driver& user)
                            {
                                script(user);
                                if (user.dialog() && !user.dialog()->hasEnded())
                                    user.click(IDOK);
                            });
        return StartDlgDesigner(path);
    }

    /// A picture outside the template folder, as a user would pick it.
    std::string picture() const
    {
        const std::string path = library.folder().path("pictures/connection.bmp");
        ui::Bitmap bitmap(200, 150, RGB(255, 255, 255));
        bitmap.fillRect(Rect(0, 70, 200, 80), RGB(0, 0, 128));
        library.folder().write("pictures/connection.bmp", bitmap.toBytes());
        return path;
    }

    static Rect rectOf(ui::Driver& user, int id)
    {
        const ui::Window* window = user.item(id);
        return window ? window->rectInParent() : Rect();
    }

    ScratchLibrary library;
};
} // namespace

TEST_F(DesignerWindowTest, ATemplateIsDrawnSavedAndOpenedAgainByMouseAndKeyboard)
{
    const std::string target = library.root("Connections/EndPlate.txt");
    EXPECT_TRUE(
        run("",
            [&](ui::Driver& user)
            {
                EXPECT_EQ(user.window()->GetWindowText(), "Dialog designer");
                EXPECT_FALSE(user.isEnabled(IDC_DESIGNER_TYPE));

                // The picture first: the new template has no name, so it is saved first.
                agent_.expectFileDialog(Kdr_String(picture()));
                agent_.expectFileDialog(Kdr_String(target));
                user.click(IDC_DESIGNER_ATTACH_IMAGE);
                EXPECT_EQ(user.window()->GetWindowText(), "Dialog designer - <Connections/EndPlate>");
                EXPECT_TRUE(host::fileExists(library.root("Connections/EndPlate.bmp")));
                ASSERT_EQ(agent_.fileDialogs().size(), 2u);
                EXPECT_EQ(agent_.fileDialogs()[0].filter, "Bitmap files (*.bmp)|*.bmp||");
                EXPECT_EQ(agent_.fileDialogs()[0].defaultExtension, "bmp");
                EXPECT_EQ(agent_.fileDialogs()[1].title, "Save as");
                EXPECT_EQ(agent_.fileDialogs()[1].filter, "Dialog templates (*.txt)|*.txt||");

                // Five controls, each added at the same spot and moved to its place with the mouse,
                // then typed and named in the panel.
                struct Planned
                {
                    Point to;
                    int type;
                    const char* contents;
                };
                const Planned planned[] = {{{25, 19}, ctText, "Thickness"},
                                           {{115, 19}, ctCellEdit, "tp"},
                                           {{25, 59}, ctText, "Rows"},
                                           {{115, 63}, ctCellCombo, "rows"},
                                           {{115, 109}, ctFlexFixButton, "tp"}};
                for (int i = 0; i < 5; ++i)
                {
                    user.click(IDC_DESIGNER_ADD);
                    ASSERT_EQ(rectOf(user, kDrawn + i), Rect(40, 30, 70, 48));
                    user.drag(0, {55, 39}, planned[i].to);
                    EXPECT_EQ(user.text(IDC_DESIGNER_CONTENTS), "New") << "the moved control is selected";
                    EXPECT_EQ(user.selection(IDC_DESIGNER_TYPE), ctCellEdit);
                    user.chooseIndex(IDC_DESIGNER_TYPE, planned[i].type);
                    user.type(IDC_DESIGNER_CONTENTS, planned[i].contents);
                    EXPECT_EQ(user.text(kDrawn + i), planned[i].contents) << "the caption follows at once";
                }
                EXPECT_EQ(user.item(kDrawn + 3)->GetClassName(), "COMBOBOX");
                EXPECT_EQ(rectOf(user, kDrawn + 3), Rect(100, 54, 130, 72)) << "recreated in its place";

                // The list file of the combo box, and the flex/fix fields of the last control.
                user.leftClick(0, {110, 60});
                EXPECT_EQ(user.text(IDC_DESIGNER_EXTRA_GROUP), "File with the list items");
                user.type(IDC_DESIGNER_EXTRA, "rows.txt");
                user.leftClick(0, {110, 105});
                EXPECT_EQ(user.text(IDC_DESIGNER_EXTRA_GROUP), "Flex icon;Fix icon;Tooltip");
                EXPECT_EQ(user.text(IDC_DESIGNER_EXTRA), ";;;");
                user.type(IDC_DESIGNER_EXTRA, "PlateSize;tp;;Keep the thickness");
                EXPECT_EQ(user.text(IDC_DESIGNER_HINT_GROUP), "Variable name");

                // The label and the list of the second row get one bottom line; the list gets wider.
                user.leftClick(0, {20, 55});
                user.drag(0, {110, 60}, {110, 60}, MK_SHIFT);
                user.click(IDC_DESIGNER_ALIGN_BOTTOMS);
                EXPECT_EQ(rectOf(user, kDrawn + 3), Rect(100, 50, 130, 68));
                user.leftClick(0, {180, 140}); // nothing there: the selection goes
                EXPECT_FALSE(user.isEnabled(IDC_DESIGNER_CONTENTS));
                user.leftClick(0, {110, 60});
                agent_.expectPrompt(Kdr_String("60"));
                user.click(IDC_DESIGNER_WIDTH);
                EXPECT_EQ(rectOf(user, kDrawn + 3), Rect(100, 50, 160, 68));

                agent_.expectFileDialog(Kdr_String(target));
                user.click(IDC_DESIGNER_SAVE_AS);

                // Opened again: everything comes back, with nothing left to save.
                agent_.expectFileDialog(Kdr_String(target));
                user.click(IDC_DESIGNER_OPEN);
                EXPECT_EQ(user.window()->GetWindowText(), "Dialog designer - <Connections/EndPlate>");
                EXPECT_EQ(user.text(kDrawn), "Thickness");
                EXPECT_EQ(user.item(kDrawn + 1)->GetClassName(), "EDIT");
                EXPECT_EQ(user.item(kDrawn + 4)->GetClassName(), "BUTTON");
                EXPECT_EQ(rectOf(user, kDrawn + 3), Rect(100, 50, 160, 68));
                EXPECT_EQ(rectOf(user, kDrawn + 2), Rect(10, 50, 40, 68));
                EXPECT_FALSE(user.isEnabled(IDC_DESIGNER_CONTENTS)) << "nothing is selected after opening";
                const ui::DisplayList& painted = user.window()->displayList();
                EXPECT_NE(painted.describe().front().find("fill"), std::string::npos);
            }));
    EXPECT_EQ(library.readTemplateFile("Connections/EndPlate.txt"), goldenFile("EndPlate.txt"));

    // At run time the fields are visited row by row, left to right.
    Kdr_DlgDesignerData read;
    ASSERT_TRUE(read.readFromFile(Kdr_String(target), true));
    read.sortAllControls();
    EXPECT_EQ(read.getControl(1)->tabOrder, 1);
    EXPECT_EQ(read.getControl(3)->tabOrder, 2);
    EXPECT_EQ(read.getControl(4)->tabOrder, 3);
}

TEST_F(DesignerWindowTest, AnEmptyPathShowsNothingAndEscapeDoesNotClose)
{
    EXPECT_TRUE(
        run("",
            [&](ui::Driver& user)
            {
                EXPECT_EQ(user.window()->GetWindowText(), "Dialog designer");
                EXPECT_EQ(user.text(IDC_DESIGNER_TYPE_GROUP), "Control type");
                EXPECT_EQ(user.text(IDOK), "Close");
                EXPECT_FALSE(user.isVisible(IDCANCEL));
                EXPECT_EQ(user.item(kDrawn), nullptr);
                EXPECT_EQ(user.itemAs<ui::ComboBox>(IDC_DESIGNER_TYPE)->GetCount(), kNrControlTypes);
                for (int id : {int{IDC_DESIGNER_TYPE}, int{IDC_DESIGNER_CONTENTS}, int{IDC_DESIGNER_EXTRA}})
                    EXPECT_FALSE(user.isEnabled(id));
                user.pressKey(VK_ESCAPE);
                EXPECT_FALSE(user.dialog()->hasEnded());
                // Without a picture nothing can be added, so nothing is changed.
                user.click(IDC_DESIGNER_ADD);
                EXPECT_EQ(user.item(kDrawn), nullptr);
            }));
    ui::Rect stored;
    EXPECT_TRUE(ui::dialogSizes().find(Kdr_DlgDesigner::kSizeKey, stored));
}

TEST_F(DesignerWindowTest, ClosingWithUnsavedWorkAsksFirst)
{
    library.writeImage("Cleat.bmp", 200, 150);
    library.writeTemplateFile("Cleat.txt",
                              "nrOfControls\ti\t1\ntype0\ti\t2\ntopLeftX0\td\t0.1\ntopLeftY0\td\t0.1\n"
                              "bottomRightX0\td\t0.25\nbottomRightY0\td\t0.22\ncontents0\ts\tgap\n");
    const std::string question = std::string(kChangedQuestion) + "Cleat>";
    EXPECT_FALSE(run(library.root("Cleat.txt"),
                     [&](ui::Driver& user)
                     {
                         EXPECT_EQ(user.window()->GetWindowText(), "Dialog designer - <Cleat>");
                         EXPECT_EQ(user.text(kDrawn), "gap");
                         user.drag(0, {30, 25}, {60, 45});
                         agent_.expectMessageBox(question, "Save template", IDCANCEL);
                         user.close();
                         EXPECT_FALSE(user.dialog()->hasEnded()) << "Cancel keeps the window";
                         agent_.expectMessageBox(question, "Save template", IDCANCEL);
                         user.click(IDOK);
                         EXPECT_FALSE(user.dialog()->hasEnded());
                         agent_.expectMessageBox(question, "Save template", IDNO);
                         user.close();
                     }));
    EXPECT_NE(library.readTemplateFile("Cleat.txt").find("topLeftX0\td\t0.1\n"), std::string::npos)
        << "No saves nothing";

    EXPECT_TRUE(run(library.root("Cleat.txt"),
                    [&](ui::Driver& user)
                    {
                        user.leftClick(0, {30, 25});
                        user.type(IDC_DESIGNER_CONTENTS, "gap2");
                        agent_.expectMessageBox(question, "Save template", IDYES);
                        user.click(IDOK);
                    }));
    EXPECT_NE(library.readTemplateFile("Cleat.txt").find("contents0\ts\tgap2\n"), std::string::npos);
    ASSERT_FALSE(agent_.messageBoxes().empty());
    EXPECT_EQ(agent_.messageBoxes().back().flags, unsigned{MB_YESNOCANCEL | MB_ICONQUESTION});
}

TEST_F(DesignerWindowTest, AnUnnamedTemplateIsSavedThroughSaveAs)
{
    const std::string question = std::string(kChangedQuestion) + ">";
    const std::string outside = library.folder().path("elsewhere/Plate.txt");
    EXPECT_FALSE(
        run("",
            [&](ui::Driver& user)
            {
                user.leftClick(0, {50, 50}); // a click in the drawing area counts as a change
                // Yes, then the file dialog cancelled: the window stays.
                agent_.expectMessageBox(question, "Save template", IDYES);
                agent_.expectFileDialog(std::nullopt);
                user.click(IDOK);
                EXPECT_FALSE(user.dialog()->hasEnded());
                EXPECT_TRUE(agent_.fileDialogs().back().initialFolder == library.root());

                // Yes, and a file outside the template folder: nothing is written, the
                // user is told, and the window stays with its work unsaved.
                agent_.expectMessageBox(question, "Save template", IDYES);
                agent_.expectFileDialog(Kdr_String(outside));
                agent_.expectMessageBox("The template was not saved: templates are kept in the folder\n" +
                                            library.root() + "\nand its sub-folders.",
                                        "Save template", IDOK);
                user.click(IDOK);
                EXPECT_FALSE(user.dialog()->hasEnded());
                EXPECT_FALSE(host::fileExists(outside));

                // The same through Save as; the work stays unsaved, so closing asks.
                agent_.expectFileDialog(Kdr_String(outside));
                agent_.expectMessageBox("The template was not saved: templates are kept in the folder\n" +
                                            library.root() + "\nand its sub-folders.",
                                        "Save template", IDOK);
                user.click(IDC_DESIGNER_SAVE_AS);
                EXPECT_EQ(user.window()->GetWindowText(), "Dialog designer");
                agent_.expectMessageBox(question, "Save template", IDNO);
                user.close();
            }));
    EXPECT_EQ(agent_.pending(), 0u);
}

TEST_F(DesignerWindowTest, ThePanelFollowsTheSelectedControlsType)
{
    library.writeImage("Panel.bmp", 200, 150);
    library.writeTemplateFile("Panel.txt",
                              "nrOfControls\ti\t2\n"
                              "type0\ti\t25\ntopLeftX0\td\t0.1\ntopLeftY0\td\t0.1\nbottomRightX0\td\t0.25\n"
                              "bottomRightY0\td\t0.22\ncontents0\ts\tx2\ncomboList0\ts\tL;Lnew;P;2;list.txt\n"
                              "type1\ti\t0\ntopLeftX1\td\t0.5\ntopLeftY1\td\t0.5\nbottomRightX1\td\t0.8\n"
                              "bottomRightY1\td\t0.6\ncontents1\ts\tLength\n");
    EXPECT_TRUE(run(library.root("Panel.txt"),
                    [&](ui::Driver& user)
                    {
                        user.leftClick(0, {30, 25});
                        EXPECT_EQ(user.selection(IDC_DESIGNER_TYPE), ctCellButtonA);
                        EXPECT_EQ(user.text(IDC_DESIGNER_HINT_GROUP), "Caption");
                        EXPECT_EQ(user.text(IDC_DESIGNER_EXTRA_GROUP),
                                  "Base variable;Target variable;Partner variable;Factor");
                        EXPECT_EQ(user.text(IDC_DESIGNER_EXTRA), "L;Lnew;P;2;list.txt");

                        // A bolt property has neither hint nor extra text.
                        user.chooseIndex(IDC_DESIGNER_TYPE, ctBoltProp1);
                        EXPECT_EQ(user.text(IDC_DESIGNER_HINT_GROUP), "");
                        EXPECT_FALSE(user.isEnabled(IDC_DESIGNER_EXTRA));
                        EXPECT_EQ(user.text(IDC_DESIGNER_EXTRA), "");
                        EXPECT_EQ(user.item(kDrawn)->GetClassName(), "COMBOBOX");
                        user.chooseIndex(IDC_DESIGNER_TYPE, ctCellButtonA);
                        EXPECT_EQ(user.text(IDC_DESIGNER_EXTRA), "L;Lnew;P;2;list.txt")
                            << "a hidden extra text is kept";

                        // Labels are drawn over the picture with no background of their own.
                        ui::Window* label = user.item(kDrawn + 1);
                        label->UpdateWindow();
                        ui::MessageLoop::instance().pump();
                        EXPECT_FALSE(label->displayList().describe().empty());
                        for (const std::string& item : label->displayList().describe())
                            EXPECT_EQ(item.find("fill"), std::string::npos) << item;

                        // Over a handle of the selected control the cursor shows the way it sizes.
                        user.mouseMove(0, {49, 32});
                        EXPECT_STREQ(ui::cursorName(ui::currentCursor()), "size-nwse");
                        user.mouseMove(0, {150, 20});
                        EXPECT_STREQ(ui::cursorName(ui::currentCursor()), "arrow");
                        agent_.expectMessageBox(std::string(kChangedQuestion) + "Panel>", IDNO);
                    }));
}

TEST_F(DesignerWindowTest, ChangesMadeAfterSavingAreNotLostSilently)
{
    library.writeImage("Cleat.bmp", 200, 150);
    library.writeTemplateFile("Cleat.txt",
                              "nrOfControls\ti\t1\ntype0\ti\t2\ntopLeftX0\td\t0.1\ntopLeftY0\td\t0.1\n"
                              "bottomRightX0\td\t0.25\nbottomRightY0\td\t0.22\ncontents0\ts\tgap\n");
    EXPECT_TRUE(run(library.root("Cleat.txt"),
                    [&](ui::Driver& user)
                    {
                        user.leftClick(0, {30, 25});
                        agent_.expectFileDialog(Kdr_String(library.root("Cleat.txt")));
                        user.click(IDC_DESIGNER_SAVE_AS);
                        // The control is still selected: renaming it and removing it are changes.
                        user.type(IDC_DESIGNER_CONTENTS, "gap2");
                        agent_.expectMessageBox(std::string(kChangedQuestion) + "Cleat>", IDYES);
                        agent_.expectFileDialog(Kdr_String(library.root("Cleat.txt")));
                        user.click(IDC_DESIGNER_OPEN);
                        EXPECT_EQ(user.text(kDrawn), "gap2");
                        user.leftClick(0, {30, 25});
                        agent_.expectFileDialog(Kdr_String(library.root("Cleat.txt")));
                        user.click(IDC_DESIGNER_SAVE_AS);
                        user.click(IDC_DESIGNER_REMOVE);
                        EXPECT_EQ(user.item(kDrawn), nullptr);
                        agent_.expectMessageBox(std::string(kChangedQuestion) + "Cleat>", IDYES);
                    }));
    EXPECT_EQ(library.readTemplateFile("Cleat.txt"), "nrOfControls\ti\t0\n");
}
