// Evaluating a sheet again reuses what the first evaluation learnt (the sheet as read, the
// plans of its equations, the timers' switch); these tests change what that rests on between
// evaluations and expect the results of a first evaluation every time.

#include "host/Clock.h"
#include "host/Settings.h"
#include "spread/EvaluationTimers.h"
#include "spread/StandardsEntryPoints.h"
#include "standards/ZxDlgStandardsData.h"
#include "standards/ZxEvaluationReport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

class RepeatedEvaluationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("kaldor-repeat-" + std::string(info->name()));
        fs::remove_all(root);
        fs::create_directories(root / "Connection Standards" / "Data");
        previousLib = gSettings.libDir();
        gSettings.setLibDir(root.string());
        gSettings.setShowSpreadsheetErrors(false);
    }
    void TearDown() override
    {
        gSettings.setLibDir(previousLib);
        gSettings.setShowSpreadsheetErrors(true);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    void write(const std::string& relative, const std::string& text)
    {
        std::ofstream out(root / "Connection Standards" / relative, std::ios::binary | std::ios::trunc);
        out << text;
    }

    /// Evaluates Plate.csv with Thickness and returns "Width|Area", or "failed".
    static std::string evaluate(const char* thickness)
    {
        ZxDlgStandardsData data;
        data.mode = ZxDlgStandardsData::kChildRun;
        data.fileName = "Plate.csv";
        for (const auto& [name, value, type] :
             {std::tuple{"Thickness", thickness, cellInput}, std::tuple{"Width", "", cellOutput},
              std::tuple{"Area", "", cellOutput}})
        {
            ZxVarCell cell;
            cell.name = name;
            cell.value = value;
            cell.cellType = type;
            cell.valueType = valDouble;
            data.varCells.append(cell);
        }
        if (!StartDlgStandardsSS(data))
            return "failed";
        int width = -1, area = -1;
        data.varCells.findVarCell("Width", width);
        data.varCells.findVarCell("Area", area);
        return data.varCells[width].value + "|" + data.varCells[area].value;
    }

    fs::path root;
    Kdr_String previousLib;
};

/// A clock that moves one nanosecond each time it is read, and counts the reads.
class CountingClock final : public host::Clock
{
public:
    Duration now() const override { return Duration(++reads); }
    mutable long long reads = 0;
};
} // namespace

TEST_F(RepeatedEvaluationTest, AChangedSheetFileIsReadAgainEvenAtTheSameSize)
{
    write("Plate.csv", "Input\nDouble Thickness\nOutput\nDouble Width,Double Area\nCalc\n"
                       "Width = Thickness * 10\nArea = Width * Thickness\n");
    EXPECT_EQ(evaluate("12"), "120|1440");
    EXPECT_EQ(evaluate("3"), "30|90");
    // Same size, same place: only the bytes tell the files apart.
    write("Plate.csv", "Input\nDouble Thickness\nOutput\nDouble Width,Double Area\nCalc\n"
                       "Width = Thickness * 20\nArea = Width * Thickness\n");
    EXPECT_EQ(evaluate("3"), "60|180");
    // The variables move down a row and a column: the same equation texts now read other cells.
    write("Plate.csv", "Input\n,\n,Double Thickness\nOutput\n,Double Width,Double Area\nCalc\n"
                       "Width = Thickness * 20\nArea = Width * Thickness\n");
    EXPECT_EQ(evaluate("2"), "40|80");
    // The same names in the same order, one below the other: Area moves to another cell.
    write("Plate.csv", "Input\nDouble Thickness\nOutput\nDouble Width\nDouble Area\nCalc\n"
                       "Width = Thickness * 20\nArea = Width * Thickness\n");
    EXPECT_EQ(evaluate("2"), "40|80");
    fs::remove(root / "Connection Standards" / "Plate.csv");
    EXPECT_EQ(evaluate("2"), "failed");
}

TEST_F(RepeatedEvaluationTest, FailingEquationsFailAlikeEveryTime)
{
    write("Plate.csv",
          "Input\nDouble Thickness\nOutput\nDouble Width,Double Area\nCalc\n"
          "Unknown = Thickness\nWidth = Thickness / 0\nArea = (Thickness\nWidth = Thickness + 1\n");
    std::vector<std::vector<Kdr_String>> reasons;
    for (int run = 0; run < 3; ++run)
    {
        EXPECT_EQ(evaluate("4"), "5|");
        reasons.emplace_back();
        for (const ZxEvaluationFailure& failure : gEvaluationReport.failures())
            reasons.back().push_back(failure.reason);
    }
    ASSERT_EQ(reasons[0].size(), 3u);
    EXPECT_EQ(reasons[0][0], "no variable named \"Unknown\"");
    EXPECT_EQ(reasons[0][1], "the result is the error #DIV/0!");
    EXPECT_EQ(reasons[0][2], "the formula cannot be read");
    EXPECT_EQ(reasons[1], reasons[0]);
    EXPECT_EQ(reasons[2], reasons[0]);
}

TEST_F(RepeatedEvaluationTest, StepTimersCountWithoutReadingTheClockUntilAskedToMeasure)
{
    write("Plate.csv", "Input\nDouble Thickness\nOutput\nDouble Width,Double Area\nCalc\n"
                       "Width = Thickness * 10\nArea = Width * Thickness\n");
    CountingClock clock;
    host::ClockOverride guard(clock);
    resetEvaluationTimers();
    EXPECT_EQ(evaluate("12"), "120|1440");
    EXPECT_EQ(evaluate("12"), "120|1440");
    EXPECT_EQ(clock.reads, 0);
    EXPECT_EQ(gCalcCellSplitSymbol.count(), 4);
    EXPECT_EQ(gCalcCellReplaceVariables.count(), 4);
    EXPECT_EQ(gCalcCellSplitSymbol.total(), host::Clock::Duration::zero());

    setEvaluationTimersMeasuring(true);
    resetEvaluationTimers();
    EXPECT_EQ(evaluate("12"), "120|1440");
    setEvaluationTimersMeasuring(false);
    EXPECT_GT(clock.reads, 0);
    EXPECT_EQ(gCalcCellSplitSymbol.count(), 2);
    EXPECT_GT(gCalcCellCalcFunctions.total(), host::Clock::Duration::zero());
    EXPECT_GT(gLoadFile.total(), host::Clock::Duration::zero());
}
