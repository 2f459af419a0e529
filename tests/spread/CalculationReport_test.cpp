#include "host/SectionTables.h"
#include "host/Settings.h"
#include "spread/CalculationReport.h"
#include "spread/StandardsEntryPoints.h"
#include "spread/ZxCalculationRecord.h"
#include "spread/ZxStandardsSpread.h"
#include "standards/ZxDlgStandardsData.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

class CalculationReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("kaldor-report-" + std::string(info->name()));
        fs::remove_all(root);
        fs::create_directories(root / "Connection Standards" / "Childs");
        fs::create_directories(root / "Connection Standards" / "Data");
        previousLib = gSettings.libDir();
        gSettings.setLibDir(root.string());
        gSectionTables.reset();
        gSettings.setShowSpreadsheetErrors(false);
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

    /// A child-mode request: the way to run a sheet without a macro.
    static ZxDlgStandardsData request(const std::string& sheet,
                                      std::initializer_list<std::pair<const char*, const char*>> inputs,
                                      std::initializer_list<const char*> outputs)
    {
        ZxDlgStandardsData data;
        data.mode = ZxDlgStandardsData::kChildRun;
        data.fileName = sheet;
        for (const auto& [name, value] : inputs)
        {
            ZxVarCell cell;
            cell.name = name;
            cell.value = value;
            data.varCells.append(cell);
        }
        for (const char* name : outputs)
        {
            ZxVarCell cell;
            cell.name = name;
            cell.cellType = cellOutput;
            data.varCells.append(cell);
        }
        return data;
    }

    fs::path root;
    Kdr_String previousLib;
};

const ZxRecordedEquation* equationOnRow(const ZxRecordedSheet& sheet, int row)
{
    for (const ZxRecordedEquation& equation : sheet.equations)
        if (equation.row == row)
            return &equation;
    return nullptr;
}
} // namespace

TEST_F(CalculationReportTest, TheRecorderFollowsEquationsLookUpsAndChildren)
{
    write("Data/Grades.txt", "// grade\tstrength\nS235\t235\nS355\t355\n");
    write("Childs/Double.csv", "Input\nDouble X\nOutput\nDouble Y\nCalc\nY = X * 2\n");
    write("Plate.csv", "Input\n"
                       "Double Len,Double Length,String Grade\n"
                       "Output\n"
                       "Double Area,Double Strength,Double Twice,Double Bad\n"
                       "Calc\n"
                       "Area = Length + Len * gen_Factor\n"
                       "\"Strength = GETCELL(\"\"Grades.txt\"\", Grade)\"\n"
                       "\"CallChild(\"\"Double.csv\"\", Len, Twice)\"\n"
                       "Bad = Nowhere + 1\n");
    ZxDlgStandardsData data = request("Plate.csv", {{"Len", "2"}, {"Length", "30"}, {"Grade", "S355"}},
                                      {"Area", "Strength", "Twice", "Bad"});
    data.genVarNames.append("gen_Factor");
    data.genVarValues.append("10");

    ZxCalculationRecorder recorder;
    {
        ZxEvaluationRecorderScope scope(recorder);
        ASSERT_TRUE(StartDlgStandardsSS(data));
    }
    EXPECT_EQ(evaluationRecorder(), nullptr);
    const ZxRecordedSheet* sheet = recorder.root();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->ok);
    EXPECT_EQ(sheet->variables.size(), 7u);
    EXPECT_EQ(sheet->variables[0].source, "argument 1 (Len)");
    ASSERT_EQ(sheet->equations.size(), 4u);

    // As written, with the general variable's name; substituted whole names only, each by
    // its own value, the general variable's value put in by the sheet itself.
    const ZxRecordedEquation& area = sheet->equations[0];
    EXPECT_EQ(area.written, "Area = Length + Len * gen_Factor");
    EXPECT_EQ(area.variable, "Area");
    EXPECT_EQ(area.substituted, "30 + 2 * 10");
    EXPECT_EQ(area.result, "50");
    EXPECT_TRUE(area.lookUps.empty());

    const ZxRecordedEquation& strength = sheet->equations[1];
    EXPECT_EQ(strength.substituted, "GETCELL(\"Grades.txt\", \"S355\")");
    ASSERT_EQ(strength.lookUps.size(), 1u);
    EXPECT_EQ(strength.lookUps[0].function, "GETCELL");
    EXPECT_EQ(strength.lookUps[0].file, gSettings.libDir() + "Connection Standards/Data/Grades.txt");
    EXPECT_EQ(strength.lookUps[0].key, "S355");
    EXPECT_EQ(strength.lookUps[0].value, "355");
    EXPECT_TRUE(strength.lookUps[0].found);

    // The child is recorded inside the equation that called it; the result names what came back.
    const ZxRecordedEquation& call = sheet->equations[2];
    EXPECT_EQ(call.variable, "");
    EXPECT_EQ(call.result, "Twice = 4");
    ASSERT_EQ(call.children.size(), 1u);
    const ZxRecordedSheet& child = *call.children[0];
    EXPECT_TRUE(child.child);
    EXPECT_TRUE(child.ok);
    ASSERT_EQ(child.equations.size(), 1u);
    EXPECT_EQ(child.equations[0].substituted, "2 * 2");
    ASSERT_EQ(child.variables.size(), 2u);
    EXPECT_EQ(child.variables[1].argument, "Twice");
    EXPECT_EQ(child.variables[1].after, "4");

    // The failure carries the module's own message.
    const ZxRecordedEquation* bad = equationOnRow(*sheet, 9);
    ASSERT_NE(bad, nullptr);
    EXPECT_TRUE(bad->failed);
    EXPECT_EQ(bad->message, equationErrorText(sheet->path, 9, "Bad", "Nowhere + 1"));
    EXPECT_EQ(sheet->failedEquations(), 1);

    // Outputs before and after.
    EXPECT_EQ(sheet->variables[3].name, "Area");
    EXPECT_EQ(sheet->variables[3].before, "");
    EXPECT_EQ(sheet->variables[3].after, "50");
    EXPECT_TRUE(sheet->variables[3].changed());
}

TEST_F(CalculationReportTest, NothingIsRecordedWithoutARecorderAndAFailedLoadIsRecorded)
{
    write("Tiny.csv", "Input\nDouble A\nOutput\nDouble B\nCalc\nB = A + 1\n");
    ZxDlgStandardsData data = request("Tiny.csv", {{"A", "1"}}, {"B"});
    ZxCalculationRecorder idle;
    ASSERT_TRUE(StartDlgStandardsSS(data));
    EXPECT_EQ(idle.root(), nullptr);

    ZxCalculationRecorder recorder;
    ZxEvaluationRecorderScope scope(recorder);
    ZxDlgStandardsData missing = request("Missing.csv", {{"A", "1"}}, {"B"});
    EXPECT_FALSE(StartDlgStandardsSS(missing));
    ASSERT_NE(recorder.root(), nullptr);
    EXPECT_FALSE(recorder.root()->loaded);
    EXPECT_TRUE(recorder.root()->finished);
    EXPECT_FALSE(recorder.root()->ok);
}

TEST(CalculationReportHtml, TextsAreEscapedAndShownByTheScreenRule)
{
    EXPECT_EQ(htmlText("<script>alert('x') & \"y\"</script>"),
              "&lt;script&gt;alert(&#39;x&#39;) &amp; &quot;y&quot;&lt;/script&gt;");
    // Windows-1252 bytes become the characters they stand for; UTF-8 stays as it is.
    EXPECT_EQ(htmlText("Ori\xEBntatie \x80"), "Ori\xC3\xABntatie \xE2\x82\xAC");
    EXPECT_EQ(htmlText("Ori\xC3\xABntatie"), "Ori\xC3\xABntatie");
    EXPECT_EQ(htmlText(std::string_view("a\0b", 3)), "a&#xFFFD;b");
    EXPECT_EQ(formatUtcTime(std::chrono::system_clock::time_point(std::chrono::seconds(1765188000))),
              "2025-12-08 10:00:00 UTC");
}

TEST(CalculationReportHtml, PageShowsChangesSummaryAndPicture)
{
    auto sheet = std::make_shared<ZxRecordedSheet>();
    sheet->path = "Plate.zxs";
    sheet->loaded = sheet->finished = sheet->ok = true;
    ZxRecordedVariable same{"Same", cellOutput, valDouble, 1, 1, "15", "15.0000000", "sheet value", {}};
    ZxRecordedVariable moved{"Moved", cellOutput, valDouble, 1, 2, "15", "16", "sheet value", {}};
    sheet->variables = {same, moved};
    ZxReportMacro macro;
    macro.macroFile = "m\xE9.json";
    macro.sheet = "Plate";
    macro.ok = true;
    macro.record = sheet;
    ZxReportPicture picture;
    picture.templateFile = "Plate.dlg";
    picture.dataUri = "data:image/png;base64,AAAA";
    picture.width = 200;
    picture.height = 100;
    picture.labels.push_back({10, 20, 50, 16, "Moved", "<16>"});
    macro.picture = picture;

    const std::string one = calculationReportHtml({"lib/", "1.0", "today"}, {macro});
    EXPECT_EQ(one.find("class=\"summary\""), std::string::npos);
    // Equal numbers written differently are no change.
    EXPECT_NE(one.find("<tr><td><code>Same</code>"), std::string::npos);
    EXPECT_NE(one.find("<tr class=\"changed\"><td><code>Moved</code>"), std::string::npos);
    EXPECT_NE(one.find("<title>Calculation report: Plate on m\xC3\xA9.json</title>"), std::string::npos);
    EXPECT_NE(
        one.find(
            "<img alt=\"template picture\" width=\"200\" height=\"100\" src=\"data:image/png;base64,AAAA\">"),
        std::string::npos);
    EXPECT_NE(
        one.find("<span class=\"bound\" title=\"Moved\" style=\"left:10px;top:20px;width:50px;height:16px\">"
                 "&lt;16&gt;</span>"),
        std::string::npos);
    EXPECT_NE(one.find("@page { size: A4;"), std::string::npos);

    ZxReportMacro failed = macro;
    failed.ok = false;
    failed.picture.reset();
    const std::string two = calculationReportHtml({"lib/", "1.0", "today"}, {macro, failed});
    EXPECT_NE(two.find("<table class=\"summary\">"), std::string::npos);
    EXPECT_NE(two.find("<tr class=\"failed\"><td><a href=\"#macro-2\">"), std::string::npos);
}
