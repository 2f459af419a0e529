#include "SteelTestSupport.h"
#include "grid/Sheet.h"
#include "host/CommandLine.h"
#include "host/GlobalStr.h"
#include "host/SectionTables.h"
#include "spread/Kdr_Spread.h"
#include "spread/StandardsFiles.h"
#include "spread/StandardsFunctions.h"
#include "spread/StandardsMessages.h"
#include "ui/ScriptedAgent.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

using grid::SpreadCalcValue;
using steel_test::ScratchLibrary;

namespace
{
struct FormulaCase
{
    const char* formula;
    const char* expected; ///< the value text of the cell; "" for an empty cell
};

/// A sheet with the steel functions over a scratch library holding the data files.
class SteelSheet : public ::testing::Test
{
protected:
    SteelSheet()
    {
        library_.write("Connection Standards/Data/bolts.txt", "// diameter;grade\tname\n"
                                                              "20;8.8\tM20 grade 8.8\n"
                                                              "20\tM20\n"
                                                              "M20;abc\tmixed case\n"
                                                              "20.5;8.8\thalf\n"
                                                              "0.333333\tthird\n"
                                                              "lonely\n"
                                                              "lonely\tnot this one\n"
                                                              "empty\t\n");
        library_.write("Connection Standards/Data/plates.txt", "8\n10\n12\n");
        library_.write("Connection Standards/widths.txt", "100 x 10\n120 x 12\n150\n");
        library_.write("Connection Standards/Data/profiles.txt", "IPE 200\tfits\nHE 160 A\tdutch name\n");
        std::filesystem::create_directories(library_.root() / "prof");
        for (const char* table : {"IPE.pr", "HEA.pr"})
            std::filesystem::copy_file(std::string(KALDOR_TEST_DATA) + "library/prof/" + table,
                                       library_.root() / "prof" / table,
                                       std::filesystem::copy_options::overwrite_existing);
        gSectionTables.reset();

        sheet_.setMaxCols(5);
        sheet_.setMaxRows(10);
        EXPECT_TRUE(registerStandardsFunctions(sheet_));
        sheet_.setNumber(2, 1, 0);   // B1: 0
        sheet_.setData(2, 2, "0.5"); // B2: 0.5 as typed
        blocksBefore_ = globalStrCount();
    }

    ~SteelSheet() override
    {
        EXPECT_EQ(globalStrCount(), blocksBefore_) << "a text block was left behind";
        gSectionTables.reset();
    }

    /// The value text of a formula put into E10.
    std::string calc(const std::string& formula)
    {
        EXPECT_TRUE(sheet_.setFormula(5, 10, formula)) << formula << ": " << sheet_.lastFormulaError();
        return sheet_.cellValueText(5, 10);
    }

    void expectAll(std::initializer_list<FormulaCase> cases)
    {
        for (const FormulaCase& c : cases)
            EXPECT_EQ(calc(c.formula), c.expected) << c.formula;
    }

    ScratchLibrary library_;
    grid::Sheet sheet_;
    int blocksBefore_ = 0;
};

TEST_F(SteelSheet, RoundTo)
{
    expectAll({
        {"=ROUNDTO(7.3, 0.5)", "7.5"},
        {"=ROUNDTO(12.5, 5)", "15"},
        {"=ROUNDTO(-2.5, 1)", "-3"},
        {"=ROUNDTO(0.34, 0.1)", "0.3"},
        {"=ROUNDTO(7.3, 0)", "7.3"},
        {"=ROUNDTO(\"7.3\", 1)", ""},
        {"=ROUNDTO(7.3, \"1\")", ""},
        {"=ROUNDTO(A9, 1)", ""},
        {"=ROUNDTO(TRUE, 1)", "1"},
    });
}

TEST_F(SteelSheet, GetCellJoinsTheKeysWithSemicolons)
{
    expectAll({
        {"=GETCELL(\"bolts.txt\", 20, \"8.8\")", "M20 grade 8.8"},
        {"=GETCELL(\"bolts.txt\", 20)", "M20"},
        {"=GETCELL(\"bolts.txt\", 20.5, 8.8)", "half"},
        {"=GETCELL(\"bolts.txt\", 1/3)", "third"},
        {"=GETCELL(\"bolts.txt\", \"m20\", \"ABC\")", "mixed case"},
        {"=GETCELL(\"\"\"bolts.txt\"\"\", 20)", "M20"},
        // An empty argument ends the key, whatever follows it.
        {"=GETCELL(\"bolts.txt\", 20, A9, \"8.8\")", "M20"},
        // The first row with the key decides, even one without a value.
        {"=GETCELL(\"bolts.txt\", \"lonely\")", ""},
        {"=GETCELL(\"bolts.txt\", \"empty\")", ""},
        {"=GETCELL(\"bolts.txt\", 21)", ""},
        {"=GETCELL(\"missing.txt\", 20)", ""},
        {"=GETCELL(5, 20)", ""},
        {"=GETCELL(\"bolts.txt\", \"20\", \"8.8\") & \"!\"", "M20 grade 8.8!"},
    });
}

TEST_F(SteelSheet, SectionFunctionsUseTheHostsTables)
{
    expectAll({
        {"=SECTIONSIZE(\"IPE-200\", 1)", "200"},
        {"=SECTIONSIZE(\"IPE-200\", 6.9)", "22.4"},
        {"=SECTIONSIZE(\"HEA-160\", 2)", "160"},
        {"=SECTIONSIZE(\"IPE-200\", 7)", ""},
        {"=SECTIONSIZE(\"IPE-200\", 0)", ""},
        {"=SECTIONSIZE(\"IPE-200\", 1E+300)", ""},
        {"=SECTIONSIZE(\"IPE-999\", 1)", ""},
        {"=SECTIONSIZE(200, 1)", ""},
        {"=GETSYSNAME(\"IPE 200\")", "IPE-200"},
        {"=GETSYSNAME(\"HE 160 A\")", "HEA-160"},
        {"=GETSYSNAME(\"no such section\")", "no such section"},
        {"=GETSYSNAME(200)", ""},
        {"=GETPROFCELL(\"profiles.txt\", \"IPE-200\")", "fits"},
        {"=GETPROFCELL(\"profiles.txt\", GETSYSNAME(\"HE 160 A\"))", "dutch name"},
        {"=GETPROFCELL(\"profiles.txt\", \"IPE 200\")", ""},
        {"=GETCELL(\"profiles.txt\", \"IPE 200\")", "fits"},
    });
}

TEST_F(SteelSheet, ListsTextsAndTests)
{
    expectAll({
        {"=GETARRAYITEM(\"a;b;c\", 2)", "b"},
        {"=GETARRAYITEM(\"a;b;c\", 3.9)", "c"},
        {"=GETARRAYITEM(\"a;b;c\", 0)", ""},
        {"=GETARRAYITEM(\"a;b;c\", 4)", ""},
        {"=GETARRAYITEM(\"a;b;c\", -1E+300)", ""},
        {"=GETARRAYITEM(5, 1)", ""},
        {"=TONUMBER(\"12.5mm\")", "12.5"},
        {"=TONUMBER(\"abc\")", "0"},
        {"=TONUMBER(5)", ""},
        {"=ISNULL(A9)", "1"},
        {"=ISNULL(\"\")", "1"},
        {"=ISNULL(0)", "1"},
        {"=ISNULL(B1)", "1"},
        {"=ISNULL(\"0.5\")", "0"},
        {"=ISNULL(\"x\")", "0"},
        {"=ISNULL(3)", "0"},
        {"=ISNULL(A1:A2)", ""},
        {"=ISNULL(1/0)", ""},
        {"=ISPOSITIVE(A9)", "0"},
        {"=ISPOSITIVE(\"\")", "0"},
        {"=ISPOSITIVE(0)", "0"},
        {"=ISPOSITIVE(\"0.5\")", "1"},
        {"=ISPOSITIVE(B2)", "1"},
        {"=ISPOSITIVE(\"abc\")", "0"},
        {"=ISPOSITIVE(-1)", "0"},
        {"=ISPOSITIVE(2)", "1"},
        {"=ISPOSITIVE(A1:B2)", ""},
    });
}

TEST_F(SteelSheet, StandardSizesWithinTolerance)
{
    gSettings.setShowSpreadsheetErrors(false);
    expectAll({
        // Below and above are both 1 away: below wins.
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", 1, 11, 1, 1)", "10"},
        // Above is nearer.
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", 1, 11.2, 1, 1)", "12"},
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", 1, 12, 0, 0)", "12"},
        // Nothing listed within reach: a step inside the window ...
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", 0.25, 10.8, 0.5, 0.5)", "10.75"},
        // ... or the value itself when no step fits either ...
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", 5, 11, 0.5, 0.5)", "11"},
        // ... clamped into the window.
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", 5, 11, 0.8, -0.5)", "10.5"},
        // Without a file there is nothing listed.
        {"=STDSIZEWITHTOLERANCE(\"missing.txt\", 5, 12, 5, 5)", "10"},
        {"=STDSIZEWITHTOLERANCE(5, 1, 11, 1, 1)", ""},
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", \"1\", 11, 1, 1)", ""},
        {"=STDSIZEWITHTOLERANCE(\"plates.txt\", 1, A9, 1, 1)", ""},
        // The second numbers; a one-number line gives 0.
        {"=STDTHICKNESSWITHTOLERANCE(\"widths.txt\", 1, 11, 1, 1)", "10"},
        {"=STDTHICKNESSWITHTOLERANCE(\"widths.txt\", 1, 0.4, 1, 1)", "0"},
        // Only the widths for thickness 10 (100) and for any thickness (150).
        {"=STDWIDTHWITHTOLERANCE(\"widths.txt\", 1, 10, 118, 30, 30)", "100"},
        {"=STDWIDTHWITHTOLERANCE(\"widths.txt\", 1, 10, 130, 30, 30)", "150"},
        {"=STDWIDTHWITHTOLERANCE(\"widths.txt\", 1, 12, 118, 30, 30)", "120"},
        {"=STDWIDTHWITHTOLERANCE(\"widths.txt\", 1, 10, 118, 30, \"30\")", ""},
    });
    gSettings.setShowSpreadsheetErrors(true);
}

TEST_F(SteelSheet, ToleranceMessageIsShownAndTheResultStillReturned)
{
    const char* message = "Invalid tolerances provided.\n DownTolerance is :-2.00UpTolerance is :1.00\n"
                          "Adding both tolerances should result in a positive value.";
    EXPECT_EQ(toleranceErrorText(-2, 1), message);

    ui::ScriptedAgent agent;
    agent.setFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
    ui::UserAgentScope scope(agent);
    agent.expectMessageBox(message, IDOK);
    gSettings.setShowSpreadsheetErrors(true);
    // Sizes 8, 10 and 12 lie outside the inverted window; the value is clamped to 11 + 2.
    EXPECT_EQ(calc("=STDSIZEWITHTOLERANCE(\"plates.txt\", 5, 11, -2, 1)"), "13");
    ASSERT_EQ(agent.messageBoxes().size(), 1u);
    EXPECT_EQ(agent.messageBoxes()[0].flags, unsigned(MB_OK | MB_ICONEXCLAMATION));

    // A window of width 0 is refused the same way; a bad argument fails before any message.
    agent.expectMessageBox("Invalid tolerances provided.\n DownTolerance is :0.50UpTolerance is :-0.50\n"
                           "Adding both tolerances should result in a positive value.",
                           IDOK);
    EXPECT_EQ(calc("=STDTHICKNESSWITHTOLERANCE(\"widths.txt\", 1, 11, 0.5, -0.5)"), "10.5");
    EXPECT_EQ(calc("=STDWIDTHWITHTOLERANCE(\"widths.txt\", 1, \"10\", 118, -2, 1)"), "");

    gSettings.setShowSpreadsheetErrors(false);
    EXPECT_EQ(calc("=STDSIZEWITHTOLERANCE(\"plates.txt\", 5, 11, -2, 1)"), "13");
    gSettings.setShowSpreadsheetErrors(true);
    EXPECT_EQ(agent.messageBoxes().size(), 2u);
    EXPECT_EQ(agent.pending(), 0u);
}

TEST_F(SteelSheet, HostileDataFilesLeaveCellsEmptyAndTheSheetCalculating)
{
    host::CommandLineCapture capture;
    library_.write("Connection Standards/Data/binary.txt", std::string("20\tM20\n\0\x01\x02\n", 11));
    library_.write("Connection Standards/Data/long.txt", "20\t" + std::string(kMaxStandardsLineLength, 'x'));
    library_.write("Connection Standards/Data/blank.txt", "// nothing\n\n");
    expectAll({
        {"=GETCELL(\"binary.txt\", 20)", ""},
        {"=GETCELL(\"long.txt\", 20)", ""},
        {"=GETCELL(\"blank.txt\", 20)", ""},
        {"=GETCELL(\"Data\", 20)", ""},
        {"=STDSIZEWITHTOLERANCE(\"binary.txt\", 5, 12, 5, 5)", "10"},
    });
    sheet_.setFormula(1, 1, "=GETCELL(\"binary.txt\", 20)");
    sheet_.setFormula(1, 2, "=IF(ISNULL(A1), \"none\", A1)");
    EXPECT_EQ(sheet_.cellValueText(1, 2), "none");
}

TEST_F(SteelSheet, ResultsFollowChangedDataFiles)
{
    ASSERT_TRUE(standardsFileCacheEnabled());
    EXPECT_EQ(calc("=GETCELL(\"bolts.txt\", 20)"), "M20");
    library_.write("Connection Standards/Data/bolts.txt", "20\tM20 changed\n");
    EXPECT_EQ(calc("=GETCELL(\"bolts.txt\", 20)"), "M20 changed");
    library_.write("Connection Standards/Data/plates.txt", "9\n");
    EXPECT_EQ(calc("=STDSIZEWITHTOLERANCE(\"plates.txt\", 1, 11, 2, 2)"), "9");
}

TEST(RegisterStandardsFunctions, OnAGridWindowOnceItIsCreated)
{
    Kdr_Spread spread;
    EXPECT_FALSE(registerStandardsFunctions(spread));
    ASSERT_TRUE(spread.createHidden());
    ASSERT_TRUE(registerStandardsFunctions(spread));
    EXPECT_EQ(spread.sheet().customFunctions().size(), 12u);
    spread.setMaxCols(1, false);
    spread.setMaxRows(1, false);
    ASSERT_TRUE(spread.sheet().setFormula(1, 1, "=GETARRAYITEM(\"x;y\", ROUNDTO(1.6, 1))"));
    Kdr_String value;
    ASSERT_TRUE(spread.getCellText(1, 1, value, ctkValue));
    EXPECT_EQ(value, "y");
}

// Direct calls, for what a cell cannot show: the return value and the record contract.

SpreadCalcValue blank()
{
    SpreadCalcValue record;
    std::memset(&record, 0, sizeof record);
    record.status = grid::kCalcStatusEmpty;
    return record;
}

SpreadCalcValue number(double value)
{
    SpreadCalcValue record = blank();
    record.status = grid::kCalcStatusValid;
    record.type = grid::kCalcTypeDouble;
    record.value.doubleValue = value;
    return record;
}

SpreadCalcValue longNumber(int value)
{
    SpreadCalcValue record = blank();
    record.status = grid::kCalcStatusValid;
    record.type = grid::kCalcTypeLong;
    record.value.longValue = value;
    return record;
}

SpreadCalcValue text(const char* value)
{
    SpreadCalcValue record = blank();
    record.status = grid::kCalcStatusValid;
    record.type = grid::kCalcTypeString;
    record.value.textHandle = setGlobalStr(value);
    return record;
}

SpreadCalcValue garbage()
{
    SpreadCalcValue record;
    std::memset(&record, 0x5A, sizeof record);
    return record;
}

TEST(StandardsFunctionRecords, AFailureLeavesAnEmptyResult)
{
    const grid::CustomFunctionProc procs[] = {
        ssRoundTo,
        ssGetCell,
        ssGetProfCell,
        ssSectionSize,
        ssGetSysName,
        ssStdWidthWithTolerance,
        ssStdThicknessWithTolerance,
        ssStdSizeWithTolerance,
        ssGetArrayItem,
        ssToNumber,
        ssIsNull,
        ssIsPositive,
    };
    for (auto proc : procs)
    {
        SpreadCalcValue args[7] = {garbage(), garbage(), garbage(), garbage(),
                                   garbage(), garbage(), garbage()};
        for (auto& arg : args)
            arg.status = 7; // no valid value
        SpreadCalcValue result = garbage();
        EXPECT_EQ(proc(&result, args, 7), 0);
        EXPECT_EQ(result.status, grid::kCalcStatusEmpty);
        EXPECT_EQ(result.type, grid::kCalcTypeLong);
    }
}

TEST(StandardsFunctionRecords, EmptyItemsAreAnswersAndLongsAreNumbers)
{
    SpreadCalcValue result = garbage();
    for (double index : {0.0, 4.0})
    {
        SpreadCalcValue args[] = {text("a;b;c"), number(index)};
        EXPECT_NE(ssGetArrayItem(&result, args, 2), 0) << index;
        EXPECT_EQ(result.status, grid::kCalcStatusEmpty);
    }

    SpreadCalcValue roundArgs[] = {longNumber(7), number(5)};
    ASSERT_NE(ssRoundTo(&result, roundArgs, 2), 0);
    EXPECT_EQ(result.type, grid::kCalcTypeDouble);
    const double rounded = result.value.doubleValue; // the record is packed: copy before comparing
    EXPECT_EQ(rounded, 5);

    SpreadCalcValue tooFew[] = {number(7)};
    EXPECT_EQ(ssRoundTo(&result, tooFew, 1), 0) << "an argument beyond the count is never read";
}

TEST(StandardsFunctionRecords, ArgumentReaders)
{
    SpreadCalcValue cell = blank();
    cell.status = grid::kCalcStatusValid;
    cell.type = grid::kCalcTypeCell;
    cell.value.cell = {3, 4, 3, 4};
    SpreadCalcValue args[] = {cell, text("\"quoted\""), text("\""), blank()};

    SpreadCalcValue::CellFields fields{};
    ASSERT_TRUE(calcArgCell(args, 4, 0, fields));
    const int col = fields.col;
    const int row = fields.row;
    const int row2 = fields.row2;
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 4);
    EXPECT_EQ(row2, 4);
    double value = 0;
    EXPECT_FALSE(calcArgNumber(args, 4, 0, value));

    Kdr_String read;
    ASSERT_TRUE(calcArgText(args, 4, 1, read));
    EXPECT_EQ(read, "quoted");
    EXPECT_FALSE(calcArgText(args, 4, 1, read)) << "a text block is taken once";
    ASSERT_TRUE(calcArgText(args, 4, 2, read));
    EXPECT_EQ(read, "");
    EXPECT_TRUE(calcArgIsEmpty(args, 4, 3));
    EXPECT_FALSE(calcArgIsEmpty(args, 4, 4));
    EXPECT_FALSE(calcArgIsEmpty(args, 4, 0));

    SpreadCalcValue result = garbage();
    SpreadCalcValue isNullOfCell[] = {cell};
    EXPECT_EQ(ssIsNull(&result, isNullOfCell, 1), 0);
    EXPECT_EQ(result.status, grid::kCalcStatusEmpty);
}
} // namespace
