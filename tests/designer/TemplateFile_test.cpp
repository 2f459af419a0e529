#include "DesignerTestSupport.h"
#include "designer/Kdr_DlgDesignerData.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Kdr_PropertiesList.h"

#include <gtest/gtest.h>

namespace
{
using designertest::ScratchLibrary;

Kdr_DesignerControl makeControl(Kdr_ControlType type, double left, double top, double right, double bottom,
                                const char* contents)
{
    Kdr_DesignerControl control;
    control.type = type;
    control.topLeftX = left;
    control.topLeftY = top;
    control.bottomRightX = right;
    control.bottomRightY = bottom;
    control.contents = contents;
    return control;
}

/// The example template: a caption and one variable field on a 300 × 200 image.
Kdr_DlgDesignerData exampleTemplate()
{
    Kdr_DlgDesignerData data;
    data.append(makeControl(ctText, 0.1, 0.1, 0.2, 0.19, "Plate thickness"));
    data.append(makeControl(ctCellEdit, 0.2, 0.1, 0.3, 0.19, "tp"));
    return data;
}

void expectSameTemplate(const Kdr_DlgDesignerData& a, const Kdr_DlgDesignerData& b)
{
    ASSERT_EQ(a.getNrControls(), b.getNrControls());
    for (int i = 0; i < a.getNrControls(); ++i)
        EXPECT_TRUE(a.getControl(i)->sameTemplateData(*b.getControl(i))) << "control " << i;
}

TEST(TemplateFile, SavedTemplateReadsBackWithFreshIdentifiers)
{
    ScratchLibrary library;
    Kdr_DlgDesignerData saved = exampleTemplate();
    Kdr_DesignerControl button = makeControl(ctCellButtonA, 0.5, 0.5, 0.6, 0.6, "Set");
    button.cellBtnFields[0] = "A";
    saved.append(button);
    Kdr_DesignerControl flex = makeControl(ctFlexFixButton, 0.7, 0.5, 0.8, 0.6, "e1");
    saved.append(flex);
    Kdr_DesignerControl combo = makeControl(ctCellCombo, 0.1, 0.7, 1.0 / 3.0, 0.8, "Grade");
    combo.comboList = "grades.txt;x";
    saved.append(combo);
    ASSERT_TRUE(saved.writeToFile(library.root("Plates/End plate.txt")));
    EXPECT_EQ(saved.getTemplateName(), "Plates/End plate");

    Kdr_PropertiesList list;
    ASSERT_TRUE(list.readFromFile(library.root("Plates/End plate.txt")));
    ASSERT_EQ(list.count(), 1 + 5 * 7);
    EXPECT_EQ(list.keyAt(0), "nrOfControls");
    EXPECT_EQ(list.keyAt(1), "type0");
    EXPECT_EQ(list.keyAt(14), "comboList1");
    Kdr_String merged;
    list.getString("comboList2", merged);
    EXPECT_EQ(merged, "A;;;;");
    list.getString("comboList3", merged);
    EXPECT_EQ(merged, ";;;");

    Kdr_DlgDesignerData read;
    ASSERT_TRUE(read.readFromFile(library.root("Plates\\End plate.txt"), false));
    EXPECT_EQ(read.getTemplateName(), "Plates/End plate");
    expectSameTemplate(saved, read);
    for (int i = 0; i < read.getNrControls(); ++i)
    {
        EXPECT_EQ(read.getControl(i)->resourceId, Kdr_DlgDesignerData::kFirstDynId + i);
        EXPECT_EQ(read.getControl(i)->tabOrder, 0);
    }
}

TEST(TemplateFile, FactorsMapToPixelsOfTheImage)
{
    ScratchLibrary library;
    library.writeImage("Example.bmp", 300, 200);
    Kdr_DlgDesignerData data = exampleTemplate();
    ASSERT_TRUE(data.writeToFile(library.root("Example.txt")));
    Kdr_DlgDesignerData read;
    ASSERT_TRUE(read.readFromFile(library.root("Example.txt"), true));
    ASSERT_TRUE(read.hasImage());
    EXPECT_EQ(read.getPixelRect(*read.getControl(1)), ui::Rect(60, 20, 90, 38));
    EXPECT_DOUBLE_EQ(read.getWidth(*read.getControl(1)), 30.0);
}

TEST(TemplateFile, ReadingFailsWithoutChangingAnything)
{
    ScratchLibrary library;
    Kdr_DlgDesignerData data = exampleTemplate();
    ASSERT_TRUE(data.writeToFile(library.root("Kept.txt")));
    library.folder().write("Outside.txt", "nrOfControls\ti\t0\n");
    library.writeTemplateFile("Broken.txt", "nrOfControls\tno type\n");
    library.writeTemplateFile("Folder.txt/inside.txt", "");

    host::CommandLineCapture capture;
    EXPECT_FALSE(data.readFromFile(library.root("Missing.txt"), true));
    EXPECT_FALSE(data.readFromFile(library.folder().path("Outside.txt"), true));
    EXPECT_FALSE(data.readFromFile(library.root("../../Outside.txt"), true)) << "'..' leads out of the root";
    EXPECT_FALSE(data.readFromFile(library.root("Broken.txt"), true));
    EXPECT_FALSE(data.readFromFile(library.root("Folder.txt"), true)) << "a folder is no template";
    EXPECT_EQ(data.getTemplateName(), "Kept");
    expectSameTemplate(data, exampleTemplate());

    // The unchanged template is saved over its own file, not over the broken one.
    ASSERT_TRUE(data.writeToFile(library.root("Kept.txt")));
    Kdr_DlgDesignerData again;
    ASSERT_TRUE(again.readFromFile(library.root("Kept.txt"), false));
    expectSameTemplate(again, exampleTemplate());
}

TEST(TemplateFile, ValuesNoTemplateCanHoldAreRefusedWithFileAndKey)
{
    ScratchLibrary library;
    struct Case
    {
        const char* text;
        const char* key;
    } cases[] = {
        {"nrOfControls\ti\t-1\n", "nrOfControls"},
        {"nrOfControls\ti\t2147483647\n", "nrOfControls"},
        {"nrOfControls\td\t1.5\n", "nrOfControls"},
        {"nrOfControls\ti\t1\ntype0\ts\tedit\n", "type0"},
        {"nrOfControls\ti\t1\ntopLeftX0\td\tnan\n", "topLeftX0"},
        {"nrOfControls\ti\t1\nbottomRightY0\td\tinf\n", "bottomRightY0"},
        {"nrOfControls\ti\t1\ntopLeftY0\td\t1e300\n", "topLeftY0"},
        {"nrOfControls\ti\t1\nbottomRightX0\ts\t0.5\n", "bottomRightX0"},
        {"nrOfControls\ti\t1\ncontents0\ti\t5\n", "contents0"},
    };
    for (const Case& c : cases)
    {
        library.writeTemplateFile("Bad.txt", c.text);
        Kdr_DlgDesignerData data = exampleTemplate();
        host::CommandLineCapture capture;
        EXPECT_FALSE(data.readFromFile(library.root("Bad.txt"), false)) << c.text;
        EXPECT_EQ(data.getNrControls(), 2) << c.text;
        EXPECT_EQ(capture.text(),
                  "*Error* Dialog template \"" + library.root("Bad.txt") + "\", key \"" + c.key + "\": " +
                      (std::string(c.key) == "nrOfControls" ? "expected a whole number from 0 to 10000"
                       : std::string(c.key) == "type0"      ? "expected a whole number"
                       : std::string(c.key) == "contents0"  ? "expected a text"
                                                            : "expected a number from -100 to 100") +
                      ".\n");
    }

    // Missing keys and a control past the image are no fault.
    library.writeTemplateFile("Sparse.txt", "nrOfControls\ti\t2\ntopLeftX1\td\t-0.5\nbottomRightX1\ti\t2\n");
    Kdr_DlgDesignerData sparse;
    ASSERT_TRUE(sparse.readFromFile(library.root("Sparse.txt"), false));
    ASSERT_EQ(sparse.getNrControls(), 2);
    EXPECT_EQ(sparse.getControl(0)->type, ctText);
    EXPECT_EQ(sparse.getControl(1)->topLeftX, -0.5);
    EXPECT_EQ(sparse.getControl(1)->bottomRightX, 2.0);
    library.writeTemplateFile("Empty.txt", "");
    ASSERT_TRUE(sparse.readFromFile(library.root("Empty.txt"), false));
    EXPECT_EQ(sparse.getNrControls(), 0);
}

TEST(TemplateFile, SavingUnderANewNameCopiesTheImage)
{
    ScratchLibrary library;
    library.writeImage("Old.bmp", 30, 20, RGB(10, 20, 30));
    Kdr_DlgDesignerData data = exampleTemplate();
    ASSERT_TRUE(data.writeToFile(library.root("Old.txt")));
    ASSERT_TRUE(data.writeToFile(library.root("Sub/New.txt")));
    EXPECT_EQ(library.readTemplateFile("Sub/New.bmp"), library.readTemplateFile("Old.bmp"));
    EXPECT_EQ(data.getTemplateName(), "Sub/New");
}

TEST(TemplateFile, SavingUnderItsOwnNameKeepsTheImage)
{
    ScratchLibrary library;
    library.writeImage("Same.bmp", 30, 20, RGB(10, 20, 30));
    const std::string image = library.readTemplateFile("Same.bmp");
    ASSERT_FALSE(image.empty());
    Kdr_DlgDesignerData data = exampleTemplate();
    ASSERT_TRUE(data.writeToFile(library.root("Same.txt")));
    // The same file through the other separator and a detour: the image must not be copied
    // onto itself, which would empty it.
    std::string detour = library.root("x/../Same.txt");
    for (char& c : detour)
        if (c == '/')
            c = '\\';
    for (const std::string& path : {library.root("Same.txt"), detour})
    {
        ASSERT_TRUE(data.writeToFile(path)) << path;
        EXPECT_EQ(library.readTemplateFile("Same.bmp"), image) << path;
        EXPECT_EQ(data.getTemplateName(), "Same");
    }
    Kdr_DlgDesignerData read;
    ASSERT_TRUE(read.readFromFile(library.root("Same.txt"), true));
    EXPECT_TRUE(read.hasImage());
}

TEST(TemplateFile, WritingOutsideTheRootWritesNothing)
{
    ScratchLibrary library;
    Kdr_DlgDesignerData data = exampleTemplate();
    EXPECT_FALSE(data.writeToFile(library.folder().path("Elsewhere.txt")));
    EXPECT_FALSE(data.writeToFile(library.root("../Escape.txt")));
    EXPECT_FALSE(ObjectExportFileExists(library.folder().path("Elsewhere.txt")));
    EXPECT_FALSE(ObjectExportFileExists(library.folder().path("Dialog Templates/Escape.txt")));
    EXPECT_EQ(data.getTemplateName(), "");
}

TEST(TemplateFile, AttachingAMissingOrBrokenImageKeepsThePrevious)
{
    ScratchLibrary library;
    library.writeImage("Good.bmp", 40, 30);
    library.writeTemplateFile("Bad.bmp", "BM not really");
    Kdr_DlgDesignerData data;
    EXPECT_FALSE(data.hasImage());
    ASSERT_TRUE(data.attachBitmap(library.root("Good.bmp")));
    host::CommandLineCapture capture;
    EXPECT_FALSE(data.attachBitmap(library.root("Missing.bmp")));
    EXPECT_FALSE(data.attachBitmap(library.root("Bad.bmp")));
    ASSERT_TRUE(data.getImage());
    EXPECT_EQ(data.getImage()->size(), (ui::Size{40, 30}));
}

TEST(TemplateFile, ListsNamesAndControlNames)
{
    ScratchLibrary library;
    Kdr_DlgDesignerData data = exampleTemplate();
    data.append(makeControl(ctCellEdit, 0, 0, 0.1, 0.1, "hp"));
    data.append(makeControl(ctCellCombo, 0, 0, 0.1, 0.1, "not an edit"));
    ASSERT_TRUE(data.writeToFile(library.root("b plate.txt")));
    ASSERT_TRUE(data.writeToFile(library.root("Sub/a.txt")));
    ASSERT_TRUE(data.writeToFile(library.root("A first.txt")));
    library.writeTemplateFile("picture.bmp", "");

    Kdr_StringArray names;
    getModuleImages(names);
    EXPECT_EQ(names, (Kdr_StringArray{"A first", "b plate", "Sub/a"}));

    GetImageDlgCtrlNames(library.root("Sub/a.txt"), names);
    EXPECT_EQ(names, (Kdr_StringArray{"tp", "hp"}));
    GetImageDlgCtrlNames(library.root("Missing.txt"), names);
    EXPECT_TRUE(names.isEmpty());
}

TEST(TemplateFile, IdentifiersRunOutAfterTheRange)
{
    Kdr_DlgDesignerData data;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(data.append(Kdr_DesignerControl()), 33000 + i);
    EXPECT_EQ(data.append(Kdr_DesignerControl()), 0);
    EXPECT_EQ(data.getNrControls(), 101);
    int index = -1;
    EXPECT_FALSE(data.findCtrlFromResource(0, index));
    data.removeControl(5);
    EXPECT_EQ(data.append(Kdr_DesignerControl()), 33005) << "the lowest free identifier is reused";
    data.removeControl(-1);
    data.removeControl(102);
    EXPECT_EQ(data.getNrControls(), 101);
}

TEST(TemplateFile, PrintPositions)
{
    Kdr_DlgDesignerData data = exampleTemplate();
    host::CommandLineCapture capture;
    data.printPositions();
    EXPECT_EQ(capture.text(), "**** Control Plate thickness ****\n"
                              "Left: 0.100000 - Right: 0.200000\n"
                              "Top: 0.100000 - Bottom: 0.190000\n"
                              "**** Control tp ****\n"
                              "Left: 0.200000 - Right: 0.300000\n"
                              "Top: 0.100000 - Bottom: 0.190000\n"
                              "********\n");
}
} // namespace
