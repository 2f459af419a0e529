#include "BillTestSupport.h"
#include "editor/ZxSSEditorSettings.h"
#include "spread/Kdr_Spread.h"

#include <gtest/gtest.h>

using billtest::EditorEnvironment;

namespace
{
using billtest::H;
using billtest::settingsOf;

struct HiddenGrid
{
    Kdr_Spread spread;
    HiddenGrid() { EXPECT_TRUE(spread.createHidden()); }
};

void writeSettings(const char* name, const char* font, int height)
{
    ZxSSEditorSettings settings;
    settings.readNamed(name);
    settings.fontName = font;
    settings.textHeight = height;
    ASSERT_TRUE(settings.writeNamed(name));
}
} // namespace

TEST(PrepareSheet, ANewSheetWithoutSettingsGetsTheDefaults)
{
    EditorEnvironment environment;
    HiddenGrid grid;
    Kdr_Spread& spread = grid.spread;
    Kdr_Spread::prepareSheet(&spread, "Missing", true);

    EXPECT_EQ(spread.getMaxCols(), 6);
    EXPECT_EQ(spread.getMaxRows(), 11);
    for (int option : {12, 25, 7, 21})
        EXPECT_EQ(spread.property(option), 1) << option;
    EXPECT_EQ(spread.property(4), 5);
    const grid::CellType& type = spread.sheet().cellType(6, 11);
    EXPECT_EQ(type, grid::CellType::edit(4, 100, 0, grid::CellType::CaseAsTyped));

    ZxSettingsStore expected;
    ZxSSEditorSettings defaults;
    defaults.saveTo(expected);
    Kdr_String corner;
    ASSERT_TRUE(spread.getCellText(0, 0, corner, ctkTag));
    EXPECT_EQ(corner, expected.toText());

    EXPECT_EQ(spread.sheet().cellFormat(3, 5).font, (grid::Font{"Tahoma", 13, 400}));
    EXPECT_EQ(spread.sheet().cellFormat(H, 11).font, (grid::Font{"Tahoma", 13, 700}));
    EXPECT_EQ(spread.sheet().cellFormat(6, H).font, (grid::Font{"Tahoma", 13, 700}));
    EXPECT_EQ(spread.sheet().state().textTip.mode, 2);
    EXPECT_EQ(spread.sheet().state().textTip.delay, 10);
    EXPECT_EQ(spread.sheet().state().noteIndicator, 0);

    // An existing sheet keeps its size and corner; only options, tips and notes change.
    Kdr_Spread::prepareSheet(&grid.spread, "Other", false);
    EXPECT_EQ(spread.getMaxCols(), 6);
    Kdr_Spread::prepareSheet(nullptr, "Missing", true);
}

TEST(PrepareSheet, MissingNamedSettingsFallBackToTheConfiguredDefault)
{
    EditorEnvironment environment;
    writeSettings("House", "Arial", 11);
    environment.configure("Language=English\nDefault Settings=House\n");

    HiddenGrid grid;
    grid.spread.prepareWithSettings("Missing");
    EXPECT_EQ(settingsOf(grid.spread).fontName, "Arial");
    EXPECT_EQ(grid.spread.sheet().cellFormat(1, 1).font, (grid::Font{"Arial", 11, 400}));
    // Rows added later use the same font as the prepared ones.
    EXPECT_EQ(grid.spread.defaultFontName(), "Arial");
    EXPECT_EQ(grid.spread.defaultFontHeight(), 11);
    grid.spread.setMaxRows(20, false);
    EXPECT_EQ(grid.spread.sheet().cellFormat(2, 20).font, (grid::Font{"Arial", 11, 400}));

    // Named settings that exist win over the default.
    writeSettings("Bills", "Verdana", 9);
    HiddenGrid named;
    named.spread.prepareWithSettings("Bills");
    EXPECT_EQ(named.spread.defaultFontName(), "Verdana");
    EXPECT_EQ(named.spread.sheet().cellFormat(H, 3).font, (grid::Font{"Verdana", 9, 700}));
}

TEST(SetSheetVariables, ReplacesBothListsAndRefusesWhatCannotBeStored)
{
    EditorEnvironment environment;
    HiddenGrid grid;
    grid.spread.prepareWithSettings("Missing");
    ASSERT_TRUE(grid.spread.setSheetVariables({"Date", "Title"}, {"today", "Bill"}));
    ZxSSEditorSettings settings = settingsOf(grid.spread);
    EXPECT_EQ(settings.varNames, (Kdr_StringArray{"Date", "Title"}));
    EXPECT_EQ(settings.varValues, (Kdr_StringArray{"today", "Bill"}));
    EXPECT_EQ(settings.fontName, "Tahoma");

    Kdr_String before;
    grid.spread.getCellText(0, 0, before, ctkTag);
    EXPECT_FALSE(grid.spread.setSheetVariables({"BillFilename"}, {"/home/u/Auftr\xC3\xA4ge/b.zxs"}));
    Kdr_String after;
    grid.spread.getCellText(0, 0, after, ctkTag);
    EXPECT_EQ(after, before);
}

TEST(SaveSheetWithPictures, SavesThenCopiesTheHeaderPictureNextToTheFile)
{
    EditorEnvironment environment;
    const TempFolder& folder = environment.folder();
    folder.write("app/logo.png", "png");
    folder.write("app/logo.bmp", billtest::bitmap(4, 4));
    folder.write("app/foot.bmp", billtest::bitmap(4, 4));
    ObjectExportCreateDirectory(environment.path("out"));

    HiddenGrid grid;
    grid.spread.prepareWithSettings("Missing");
    ZxSSEditorSettings settings = settingsOf(grid.spread);
    settings.headerFile = "logo.png";
    settings.footerFile = "foot.bmp";
    ASSERT_TRUE(settings.writeToSheet(&grid.spread));
    grid.spread.setCellValue(1, 1, Kdr_String("x"));

    const std::string file = environment.path("out/bill.zxs");
    ASSERT_TRUE(Kdr_Spread::saveSheetWithPictures(&grid.spread, file));
    // The moved picture's new path is in the sheet but not in the file saved before the move.
    EXPECT_TRUE(grid.spread.sheet().changesMade());
    EXPECT_EQ(folder.read("out/logo.png"), "png");
    EXPECT_EQ(folder.read("out/logo.bmp"), billtest::bitmap(4, 4));
    // One picture per save: the footer stays where it was.
    EXPECT_FALSE(host::fileExists(environment.path("out/foot.bmp")));
    EXPECT_EQ(settingsOf(grid.spread).headerFile, environment.path("out/logo.png"));
    EXPECT_EQ(settingsOf(grid.spread).footerFile, "foot.bmp");

    grid::Sheet saved;
    ASSERT_TRUE(saved.loadFile(file));
    EXPECT_EQ(saved.cellValueText(1, 1), "x");

    // Without a header picture the footer moves.
    settings = settingsOf(grid.spread);
    settings.headerFile = "";
    settings.writeToSheet(&grid.spread);
    ASSERT_TRUE(Kdr_Spread::saveSheetWithPictures(&grid.spread, file));
    EXPECT_TRUE(host::fileExists(environment.path("out/foot.bmp")));
    EXPECT_EQ(settingsOf(grid.spread).footerFile, environment.path("out/foot.bmp"));

    // With nothing to move the saved file is the sheet.
    settings = settingsOf(grid.spread);
    settings.footerFile = "";
    settings.writeToSheet(&grid.spread);
    ASSERT_TRUE(Kdr_Spread::saveSheetWithPictures(&grid.spread, file));
    EXPECT_FALSE(grid.spread.sheet().changesMade());
}

TEST(SaveSheetWithPictures, AFailedSaveReportsFalseAndMovesNothing)
{
    EditorEnvironment environment;
    environment.folder().write("app/logo.bmp", billtest::bitmap(4, 4));
    HiddenGrid grid;
    grid.spread.prepareWithSettings("Missing");
    ZxSSEditorSettings settings = settingsOf(grid.spread);
    settings.headerFile = "logo.bmp";
    settings.writeToSheet(&grid.spread);
    grid.spread.setCellValue(1, 1, Kdr_String("x"));

    EXPECT_FALSE(Kdr_Spread::saveSheetWithPictures(&grid.spread, environment.path("no/such/folder/b.zxs")));
    EXPECT_TRUE(grid.spread.sheet().changesMade());
    EXPECT_EQ(settingsOf(grid.spread).headerFile, "logo.bmp");
    EXPECT_FALSE(Kdr_Spread::saveSheetWithPictures(nullptr, environment.path("b.zxs")));

    // A writer that fails is a failed save as well.
    auto failing = [](Kdr_Spread&, const Kdr_String&) { return false; };
    EXPECT_FALSE(Kdr_Spread::saveSheetWithPictures(&grid.spread, environment.path("b.zxs"), failing));
}
