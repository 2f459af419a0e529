// The dialog designer window as a person uses it: a picture attached, controls added, placed,
// typed, named and aligned with the mouse and the property panel, the template saved and
// opened again — and the questions it asks before work could be lost.

#include "DesignerTestSupport.h"
#include "designer/Kdr_DlgDesigner.h"
#include "host/FileFunctions.h"
#include "ui/ComboBox.h"
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
