#include "grid/Sheet.h"
#include "host/AcTransaction.h"
#include "host/MacroAccess.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/SectionTables.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "frame/ModuleResources.h"
#include "spread/EvaluationTimers.h"
#include "spread/FormulaTestDialog.h"
#include "spread/StandardsEntryPoints.h"
#include "spread/ZxSSDlgsMgr.h"
#include "spread/ZxStandardsSpread.h"
#include "standards/ZxDlgStandardsData.h"
#include "ui/ScriptedAgent.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

/// A scratch library folder, current while the test runs, with the test section tables.
class EvaluationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("kaldor-eval-" + std::string(info->name()));
        fs::remove_all(root);
        fs::create_directories(root / "Connection Standards" / "Childs");
        fs::create_directories(root / "Connection Standards" / "Data");
        fs::copy(std::string(KALDOR_TEST_DATA) + "library/prof", root / "prof", fs::copy_options::recursive);
        previousLib = gSettings.libDir();
        gSettings.setLibDir(root.string());
        gSectionTables.reset();
        gSettings.setShowSpreadsheetErrors(true);
    }
    void TearDown() override
    {
        gSettings.setLibDir(previousLib);
        gSectionTables.reset();
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    void write(const std::string& relative, const std::string& text)
    {
        std::ofstream out(root / "Connection Standards" / relative, std::ios::binary);
        out << text;
    }

    /// A child run of `sheet` with (name, value, cell type) arguments.
    static ZxDlgStandardsData childRequest(const std::string& sheet,
                                           std::initializer_list<std::tuple<const char*, const char*, ZxCellType>> args)
    {
        ZxDlgStandardsData data;
        data.mode = ZxDlgStandardsData::kChildRun;
        data.fileName = sheet;
        for (const auto& [name, value, type] : args)
        {
            ZxVarCell cell;
            cell.name = name;
            cell.value = value;
            cell.cellType = type;
            cell.valueType = valDouble;
            data.varCells.append(cell);
        }
        return data;
    }

    static Kdr_String valueOf(const ZxVarCells& cells, const char* name)
    {
        int index = -1;
        return cells.findVarCell(name, index) == Acad::eOk ? cells[index].value : Kdr_String("<missing>");
    }

    fs::path root;
    Kdr_String previousLib;
};

const std::string kEquationTip =
    "Here's a tip for finding the cause :\nIf this equation contains variable names, then the translator does not "
    "know the value of the variable. Make sure the variable exists either in input, output, local declarations or "
    "among the gen_ variables.";
} // namespace

TEST_F(EvaluationTest, EquationsReadVariablesByCellAndWriteTheirResultBack)
{
    // Thickness is declared in B3, Width in B5; the equations sit in the Calc block.
    write("Plate.csv", "Input\n"
                       ",\n"
                       ",Double Thickness\n"
                       "Output\n"
                       ",Double Width\n"
                       ",Double Area\n"
                       "Calc\n"
                       "Width = Thickness * 10\n"
                       "Area = Width * Thickness\n");
    ZxDlgStandardsData data = childRequest("Plate.csv", {{"Thickness", "12", cellInput},
                                                         {"Width", "", cellOutput},
                                                         {"Area", "", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(data));
    EXPECT_EQ(valueOf(data.varCells, "Width"), "120");
    EXPECT_EQ(valueOf(data.varCells, "Area"), "1440");

    // The equation cell keeps the formula with the cell reference.
    auto* dialog = static_cast<ZxStandardsDlg*>(gSSDlgsMgr.getDlg());
    dialog->working() = childRequest("Plate.csv", {{"Thickness", "3", cellInput},
                                                   {"Width", "", cellOutput},
                                                   {"Area", "", cellOutput}});
    ASSERT_EQ(dialog->evaluate(), Acad::eOk);
    Kdr_String text;
    dialog->spread().getCellText(1, 8, text, ctkFormula);
    EXPECT_EQ(text, "B3*10");
    dialog->spread().getCellText(2, 5, text, ctkValue);
    EXPECT_EQ(text, "30");
    gSSDlgsMgr.releaseDlg(dialog);
}

TEST_F(EvaluationTest, OnlyWholeWordsAreReplaced)
{
    write("Words.csv", "Input\n"
                       "Double Len,Double Length\n"
                       "Output\n"
                       "Double Sum\n"
                       "Calc\n"
                       "Sum = Length + Len\n");
    ZxDlgStandardsData data =
        childRequest("Words.csv", {{"Len", "2", cellInput}, {"Length", "300", cellInput}, {"Sum", "", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(data));
    EXPECT_EQ(valueOf(data.varCells, "Sum"), "302");

    Kdr_String text = "Length + Len + xLen + Len_2";
    EXPECT_TRUE(replaceWholeWords(text, Kdr_StringArray{"Len", "Length"}, Kdr_StringArray{"A2", "B2"}, false));
    EXPECT_EQ(text, "B2 + A2 + xLen + Len_2");
}

TEST_F(EvaluationTest, FailingEquationsAreReportedAndTheRestCalculates)
{
    write("Broken.csv", "Input\n"
                        "Double A\n"
                        "Output\n"
                        "Double B,Double C\n"
                        "Calc\n"
                        "A * 2\n"
                        "Unknown = A + 1\n"
                        "\n"
                        "C = A / 0\n"
                        "B = A + 1\n");
    ui::ScriptedAgent agent;
    ui::UserAgentScope scope(agent);
    const std::string path = gSettings.libDir() + "Connection Standards/Broken.csv";
    agent.expectMessageBox("The following equation failed:\nA * 2\nSpreadsheet : " + path + " (line: 6)\n" +
                               kEquationTip,
                           IDOK);
    agent.expectMessageBox("The following equation failed:\nUnknown = A + 1\nSpreadsheet : " + path +
                               " (line: 7)\n" + kEquationTip,
                           IDOK);
    agent.expectMessageBox("The following equation failed:\nC = A / 0\nSpreadsheet : " + path + " (line: 9)\n" +
                               kEquationTip,
                           IDOK);
    ZxDlgStandardsData data = childRequest(
        "Broken.csv", {{"A", "4", cellInput}, {"B", "", cellOutput}, {"C", "kept", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(data));
    EXPECT_EQ(valueOf(data.varCells, "B"), "5");
    // A division by zero is a failed equation: C keeps its value instead of taking "#DIV/0!".
    EXPECT_EQ(valueOf(data.varCells, "C"), "kept");
    EXPECT_TRUE(agent.failures().empty());
    EXPECT_EQ(agent.pending(), 0u);

    // With messages off nothing is shown and the results are the same.
    gSettings.setShowSpreadsheetErrors(false);
    ZxDlgStandardsData quiet = childRequest(
        "Broken.csv", {{"A", "4", cellInput}, {"B", "", cellOutput}, {"C", "kept", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(quiet));
    EXPECT_EQ(valueOf(quiet.varCells, "B"), "5");
}

TEST_F(EvaluationTest, CallChildPassesInputsDownAndOutputsBack)
{
    write("Childs/Sum.csv", "Input\n"
                            "Double X,Double Y\n"
                            "Output\n"
                            "Double Z\n"
                            "Local\n"
                            "Double L\n"
                            "Calc\n"
                            "L = X * 100\n"
                            "Z = X + Y + L\n");
    write("Parent.csv", "Input\n"
                        "Double A\n"
                        "Output\n"
                        "Double C\n"
                        "Local\n"
                        "Double B\n"
                        "Calc\n"
                        "B = A * 2\n"
                        "\"CallChild(\"\"Sum.csv\"\", A, B, C)\"\n"
                        "C = C + 0.5\n");
    ZxDlgStandardsData data = childRequest("Parent.csv", {{"A", "1", cellInput}, {"C", "", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(data));
    EXPECT_EQ(valueOf(data.varCells, "C"), "103.5"); // 1 + 2 + 100, then + 0.5

    // Called with fewer arguments than the child has inputs and outputs, the call fails.
    write("Short.csv", "Input\n"
                       "Double A\n"
                       "Output\n"
                       "Double C\n"
                       "Calc\n"
                       "\"CallChild(\"\"Sum.csv\"\", A, C)\"\n");
    gSettings.setShowSpreadsheetErrors(false);
    ZxDlgStandardsData shortCall = childRequest("Short.csv", {{"A", "1", cellInput}, {"C", "old", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(shortCall));
    EXPECT_EQ(valueOf(shortCall.varCells, "C"), "old");
}

TEST_F(EvaluationTest, ChildOutputsNeverLandInInputVariables)
{
    write("Childs/Out.csv", "Input\n"
                            "Double X\n"
                            "Output\n"
                            "Double Z\n"
                            "Calc\n"
                            "Z = X * 3\n");
    // A is an Input of the parent, passed where the child has an Output: the child refuses.
    write("Into.csv", "Input\n"
                      "Double A,Double B\n"
                      "Output\n"
                      "Double C\n"
                      "Calc\n"
                      "\"CallChild(\"\"Out.csv\"\", B, A)\"\n"
                      "C = A\n");
    gSettings.setShowSpreadsheetErrors(false);
    ZxDlgStandardsData data =
        childRequest("Into.csv", {{"A", "7", cellInput}, {"B", "2", cellInput}, {"C", "", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(data));
    EXPECT_EQ(valueOf(data.varCells, "C"), "7");
}

TEST_F(EvaluationTest, SelfCallsAndCallCyclesFailTheirCellOnly)
{
    write("Self.csv", "Input\n"
                      "Double A\n"
                      "Output\n"
                      "Double C\n"
                      "Calc\n"
                      "\"CallChild(\"\"Self.csv\"\", A, C)\"\n"
                      "C = A + 1\n");
    gSettings.setShowSpreadsheetErrors(false);
    ZxDlgStandardsData self = childRequest("Self.csv", {{"A", "1", cellInput}, {"C", "", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(self));
    EXPECT_EQ(valueOf(self.varCells, "C"), "2");

    // Ping calls Pong, Pong calls Ping: the nesting limit stops the circle.
    write("Childs/Ping.csv", "Input\n"
                             "Double A\n"
                             "Output\n"
                             "Double C\n"
                             "Calc\n"
                             "\"CallChild(\"\"Pong.csv\"\", A, C)\"\n"
                             "C = A + 1\n");
    write("Childs/Pong.csv", "Input\n"
                             "Double A\n"
                             "Output\n"
                             "Double C\n"
                             "Calc\n"
                             "\"CallChild(\"\"Ping.csv\"\", A, C)\"\n"
                             "C = A + 10\n");
    ZxDlgStandardsData ping = childRequest("Childs/Ping.csv", {{"A", "1", cellInput}, {"C", "", cellOutput}});
    ping.fileName = (root / "Connection Standards" / "Childs" / "Ping.csv").string();
    ASSERT_TRUE(StartDlgStandardsSS(ping));
    EXPECT_EQ(valueOf(ping.varCells, "C"), "2");
    EXPECT_LE(gSSDlgsMgr.dialogCount(), ZxStandardsSpread::kMaxChildDepth + 2);
}

TEST_F(EvaluationTest, DuplicateNamesWarnOnceAndCalculateWithOne)
{
    write("Dup.csv", "Input\n"
                     "Double Width,Double Width\n"
                     "Output\n"
                     "Double Out\n"
                     "Calc\n"
                     "Out = Width * 2\n");
    ui::ScriptedAgent agent;
    ui::UserAgentScope scope(agent);
    gSettings.setShowSpreadsheetErrors(false); // the duplicate warning shows all the same
    const std::string path = gSettings.libDir() + "Connection Standards/Dup.csv";
    agent.expectMessageBox("There were duplicate variable names found in the standards file " + path +
                               ".\nThe duplicates will be ignored. Please correct this file.\n"
                               "Duplicate variable names:\n\nWidth",
                           "Variable names must be unique", IDOK);
    ZxDlgStandardsData data =
        childRequest("Dup.csv", {{"Width", "4", cellInput}, {"Width", "4", cellInput}, {"Out", "", cellOutput}});
    ASSERT_TRUE(StartDlgStandardsSS(data));
    // With one Width left, Out is the second variable of the sheet and returns by position 1.
    EXPECT_EQ(data.varCells[1].value, "8");
    EXPECT_TRUE(agent.failures().empty());
}

TEST_F(EvaluationTest, GeneralVariablesAreReplacedAsWholeWords)
{
    write("Gen.csv", "Input\n"
                     "Double A\n"
                     "Output\n"
                     "String Grade,Double Size,String Other\n"
                     "Calc\n"
                     "\"Grade = gen_Grade & \"\"/\"\" & A\"\n"
                     "Size = gen_Size * 2\n"
                     "\"Other = \"\"xgen_Grade gen_Grade2\"\"\"\n");
    ZxDlgStandardsData data = childRequest("Gen.csv", {{"A", "1", cellInput},
                                                       {"Grade", "", cellOutput},
                                                       {"Size", "", cellOutput},
                                                       {"Other", "", cellOutput}});
    data.genVarNames = Kdr_StringArray{"gen_Grade", "gen_Size"};
    data.genVarValues = Kdr_StringArray{"S235", "12.5"};
    ASSERT_TRUE(StartDlgStandardsSS(data));
    EXPECT_EQ(valueOf(data.varCells, "Grade"), "S235/1");
    EXPECT_EQ(valueOf(data.varCells, "Size"), "25");
    EXPECT_EQ(valueOf(data.varCells, "Other"), "xgen_Grade gen_Grade2");

    Kdr_String text = "gen_Grade, gen_Size, xgen_Grade, gen_Grade2";
    replaceWholeWords(text, data.genVarNames, data.genVarValues, true);
    EXPECT_EQ(text, "\"S235\", 12.5, xgen_Grade, gen_Grade2");
}

TEST_F(EvaluationTest, RepeatedEvaluationsGiveTheSameResultsAndReuseThePool)
{
    write("Twice.csv", "Input\n"
                       "Double A\n"
                       "Output\n"
                       "Double B\n"
                       "Calc\n"
                       "B = A * A\n");
    for (int run = 0; run < 2; ++run)
    {
        ZxDlgStandardsData data = childRequest("Twice", {{"A", "3", cellInput}, {"B", "", cellOutput}});
        data.fileName = "Twice.csv";
        ASSERT_TRUE(StartDlgStandardsSS(data));
        EXPECT_EQ(valueOf(data.varCells, "B"), "9");
    }
    const int before = gSSDlgsMgr.dialogCount();
    void* first = gSSDlgsMgr.getDlg();
    void* second = gSSDlgsMgr.getDlg();
    EXPECT_NE(first, second);
    EXPECT_EQ(gSSDlgsMgr.releaseDlg(first), Acad::eOk);
    EXPECT_EQ(gSSDlgsMgr.getDlg(), first);
    int notPooled = 0;
    EXPECT_EQ(gSSDlgsMgr.releaseDlg(&notPooled), Acad::eInvalidInput);
    gSSDlgsMgr.releaseDlg(first);
    gSSDlgsMgr.releaseDlg(second);
    EXPECT_GE(gSSDlgsMgr.dialogCount(), before);
}

TEST_F(EvaluationTest, MissingSheetsAndMissingMacrosFail)
{
    ZxDlgStandardsData missing = childRequest("NoSuchSheet", {});
    EXPECT_FALSE(StartDlgStandardsSS(missing));

    // A name without folder and extension is looked up in the library's standards folder.
    write("Named.zxs", "");
    ZxDlgStandardsData named;
    named.fileName = "Named";
    Kdr_DbMacro macro;
    MacroData macroData;
    ASSERT_EQ(named.initialize(&macro, "Named", "Module.Plate", &macroData), Acad::eOk);
    EXPECT_EQ(named.moduleGroup, "Plate");
    // No transaction: the main run stops before reading the macro.
    resetEvaluationTimers();
    EXPECT_FALSE(StartDlgStandardsSS(named));
    EXPECT_EQ(gSSSGetFromMacro.count(), 0);
}

TEST_F(EvaluationTest, MainRunWritesOutputsIntoTheModuleGroup)
{
    std::ofstream(root / "Connection Standards" / "Data" / "widths.txt") << "// plate widths\n140\n160\n180\n200\n";
    write("EndPlate.csv", "Input\n"
                          "Double Thickness,Double Height,Double gen.Width\n"
                          "Output\n"
                          "Double Width,Double Gap\n"
                          "Local\n"
                          "Double Ratio\n"
                          "Calc\n"
                          "Ratio = Height / Thickness\n"
                          "\"Width = STDSIZEWITHTOLERANCE(\"\"widths.txt\"\", 5, gen.Width + Thickness, 10, 10)\"\n"
                          "\"Gap = ROUNDTO(Ratio, 5)\"\n");
    Kdr_DbMacro macro;
    MacroData macroData;
    std::string error;
    ASSERT_TRUE(loadMacroJson(std::string(KALDOR_TEST_DATA) + "macros/EndPlate.json", macro, macroData, error))
        << error;
    AcTransaction transaction;
    ZxDlgStandardsData data;
    ASSERT_EQ(data.initialize(&macro, "EndPlate.csv", "Module.Plate", &macroData), Acad::eOk);
    data.transaction = &transaction;
    resetEvaluationTimers();
    ASSERT_TRUE(StartDlgStandardsSS(data));

    Kdr_Module* plate = nullptr;
    ASSERT_TRUE(macro.macro().findModuleWrite("Plate1", plate));
    // Thickness 15, gen_Width 150: 165 lies between 160 and 180 and rounds to the nearer 160;
    // Height 380 / 15 = 25.33 rounds to 25.
    EXPECT_EQ(plate->findDialogVariable("Width")->value, "160");
    EXPECT_EQ(plate->findDialogVariable("Gap")->value, "25");
    EXPECT_EQ(valueOf(data.varCells, "Ratio"), "25.3333333");
    for (Kdr_Timer* timer : {&gLoadFile, &gInitMapping, &gInitFromMacro, &gCalcMain, &gSetToMacro, &gCalcCells})
        EXPECT_EQ(timer->count(), 1) << timer->name();
    EXPECT_EQ(gCalcCellCalcFunctions.count(), 3);
}

TEST(WordReplacer, AgreesWithNameByNameReplacement)
{
    // Later names may match inside an earlier name's value; names with other characters
    // than letters, digits and '_' are always tried.
    const Kdr_StringArray names{"A", "B3", "gen.Width", "Len", "Length", "x"};
    const Kdr_StringArray values{"B3", "X9", "C7", "D1", "E2", "F5"};
    const WordReplacer replacer(names, values);
    for (const char* text : {"A + B3", "gen.Width*2+Length-Len", "len + LENGTH + xLen + Len_2", "MAX(x, a)",
                             "\"A\" & a & b3", "", "no names here"})
    {
        Kdr_String expected = text;
        Kdr_String actual = text;
        const bool expectedChanged = replaceWholeWords(expected, names, values, false);
        EXPECT_EQ(replacer.replace(actual), expectedChanged) << text;
        EXPECT_EQ(actual, expected) << text;
    }
    Kdr_String chained = "A + B3";
    replacer.replace(chained);
    EXPECT_EQ(chained, "X9 + X9");
}

TEST_F(EvaluationTest, MainRunThroughAMappingFileWritesEveryBoundOutput)
{
    // The sheet is stored in the native format; its bindings live in Fin.map beside it.
    {
        grid::Sheet sheet;
        const fs::path csv = root / "fin-source.csv";
        std::ofstream(csv) << "Input\n"
                              "Double PlateT,Double BeamH\n"
                              "Output\n"
                              "Double W,String NBolts,Double Gauge\n"
                              "Calc\n"
                              "W = BeamH - 2 * PlateT\n"
                              "\"NBolts = ROUNDTO(W / 70, 1)\"\n"
                              "Gauge = W / 3\n";
        ASSERT_TRUE(sheet.loadFile(csv.string()));
        ASSERT_TRUE(sheet.saveFile((root / "Connection Standards" / "Fin.zxs").string()));
    }
    write("Fin.map", "Mapping version 1.0\n"
                     "Other=W\x83Plate\x95" "Distance Height\n"
                     "Fin=PlateT\x83Plate\x95" "Distance Thickness\xBF"
                     "BeamH\x83\x95MemberSectionSize Prof1;0\xBF"
                     "W\x83Plate\x95" "Distance Width\xBF"
                     "NBolts\x83" "Bolts\x95PatternNrBolts1 Upper\xBF"
                     "Gauge\x83" "Bolts\x95" "Distance Gauge\n");
    Kdr_DbMacro macro;
    MacroData macroData;
    std::string error;
    ASSERT_TRUE(loadMacroJson(std::string(KALDOR_TEST_DATA) + "macros/EndPlate.json", macro, macroData, error))
        << error;
    AcTransaction transaction;
    ZxDlgStandardsData data;
    ASSERT_EQ(data.initialize(&macro, "Fin", "Fin", &macroData), Acad::eOk);
    data.transaction = &transaction;
    ASSERT_TRUE(StartDlgStandardsSS(data));

    // Thickness 15, IPE-300 is 300 high: W = 270, 270 / 70 rounds to 4 bolts, gauge 90.
    Kdr_Module* plate = nullptr;
    Kdr_Module* bolts = nullptr;
    ASSERT_TRUE(macro.macro().findModuleWrite("Plate1", plate));
    ASSERT_TRUE(macro.macro().findModuleWrite("Bolts", bolts));
    EXPECT_EQ(plate->findDialogVariable("Width")->value, "270");
    EXPECT_EQ(plate->findDialogVariable("Height")->value, "380"); // another target's binding
    EXPECT_EQ(bolts->findDialogVariable("Gauge")->value, "90");
    int index = -1;
    MacroTabData* tab = nullptr;
    ASSERT_TRUE(macroData.findTab("Bolts", index) && macroData.getTab(index, tab));
    Kdr_String count;
    ASSERT_EQ(getSetNrBolts(tab, "Upper", count, true, true), Acad::eOk);
    EXPECT_EQ(count, "4");
    EXPECT_EQ(valueOf(data.varCells, "BeamH"), "300");
}

TEST_F(EvaluationTest, ReadSSFileReturnsTheShownTexts)
{
    grid::Sheet sheet;
    sheet.setMaxCols(2);
    sheet.setMaxRows(2);
    sheet.setData(1, grid::kHeader, "Size");
    sheet.setCellType(2, 1, 2, 2, grid::CellType::number(2));
    sheet.setData(1, 1, "M20");
    sheet.setValue(2, 1, "245");
    sheet.setData(1, 2, "M24");
    sheet.setFormula(2, 2, "B1*1.44");
    const std::string path = (root / "table.zxs").string();
    ASSERT_TRUE(sheet.saveFile(path));

    Kdr_String first = "stale";
    Kdr_StringArray captions{"stale"};
    Kdr_Array<Kdr_StringArray> rows;
    rows.append(Kdr_StringArray{"stale"});
    ReadSSFile(path, first, captions, rows);
    EXPECT_EQ(first, "M20");
    EXPECT_EQ(captions, (Kdr_StringArray{"Size", "B"}));
    ASSERT_EQ(rows.length(), 2);
    EXPECT_EQ(rows[0], (Kdr_StringArray{"M20", "245.00"}));
    EXPECT_EQ(rows[1], (Kdr_StringArray{"M24", "352.80"}));

    ReadSSFile((root / "missing.zxs").string(), first, captions, rows);
    EXPECT_EQ(first, "");
    EXPECT_TRUE(captions.isEmpty());
    EXPECT_TRUE(rows.isEmpty());
}

TEST_F(EvaluationTest, FixedTestRequestFailsWithoutItsSheet)
{
    gSettings.setShowSpreadsheetErrors(false);
    EXPECT_FALSE(StartDlgStandardsSStest());
}

TEST_F(EvaluationTest, FromTableReadsACellOfAnotherSheet)
{
    grid::Sheet table;
    table.setMaxCols(3);
    table.setMaxRows(3);
    table.setData(1, grid::kHeader, "Bolt");
    table.setData(2, grid::kHeader, "Load");
    table.setData(3, grid::kHeader, "Grade");
    table.setData(1, 1, "M20");
    table.setCellType(2, 1, 2, 3, grid::CellType::number(1));
    table.setValue(2, 1, "245");
    table.setData(3, 1, "8.8");
    table.setData(1, 2, "M24");
    table.setFormula(2, 2, "B1*1.44");
    const std::string path = (root / "bolts.zxs").string();
    ASSERT_TRUE(table.saveFile(path));

    ModuleResourceScope resources;
    FormulaTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_FORMULA_TEST, nullptr));
    Kdr_Spread& grid = dialog.spread();
    grid.setMaxCols(3, false);
    grid.setMaxRows(3, false);
    const std::string file = "\"" + path + "\"";
    ASSERT_TRUE(grid.setCellFormula(1, 1, ("FROMTABLE(" + file + ", \"M24\", \"Load\")").c_str()));
    ASSERT_TRUE(grid.setCellFormula(2, 1, ("FROMTABLE(" + file + ", \"m20\", \"grade\")").c_str()));
    ASSERT_TRUE(grid.setCellFormula(3, 1, ("FROMTABLE(" + file + ", \"M30\", \"Load\")").c_str()));
    ASSERT_TRUE(grid.setCellFormula(1, 2, ("FROMTABLE(" + file + ", \"M20\", \"Load\", C3)").c_str()));
    Kdr_String text;
    grid.getCellText(1, 1, text, ctkValue);
    EXPECT_EQ(text, "352.8");
    grid.getCellText(2, 1, text, ctkValue);
    EXPECT_EQ(text, "8.8");
    grid.getCellText(3, 1, text, ctkValue);
    EXPECT_EQ(text, ""); // no such key
    grid.getCellText(1, 2, text, ctkValue);
    EXPECT_EQ(text, "");
    grid.getCellText(3, 3, text, ctkData);
    EXPECT_EQ(text, "245.0"); // the data text was copied into the target cell
    dialog.DestroyWindow();
}
