#include "FormulaTestContext.h"
#include "grid/CustomFunction.h"
#include "host/GlobalStr.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace grid::test
{
namespace
{
std::vector<SpreadCalcValue> gSeen;
std::vector<std::string> gSeenTexts;
int gCalls = 0;

/// Records its arguments (reading every text block, as a well-behaved function does) and
/// leaves the result empty.
std::int32_t recordArgs(SpreadCalcValue*, SpreadCalcValue* args, std::int16_t count)
{
    ++gCalls;
    gSeen.assign(args, args + count);
    gSeenTexts.clear();
    for (int i = 0; i < count; ++i)
    {
        Kdr_String text;
        if (args[i].status == kCalcStatusValid && args[i].type == kCalcTypeString &&
            getGlobalStr(args[i].value.textHandle, text))
            gSeenTexts.push_back(text);
    }
    return 1;
}

/// Reads nothing and answers 42: the engine must free the text blocks it passed.
std::int32_t ignoreArgs(SpreadCalcValue* result, SpreadCalcValue*, std::int16_t)
{
    ++gCalls;
    result->status = kCalcStatusValid;
    result->type = kCalcTypeLong;
    result->value.longValue = 42;
    return 1;
}

/// The first argument's text in capitals, as a new text block.
std::int32_t shout(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t)
{
    Kdr_String text;
    if (args[0].status != kCalcStatusValid || args[0].type != kCalcTypeString ||
        !getGlobalStr(args[0].value.textHandle, text))
        return 0;
    result->status = kCalcStatusValid;
    result->type = kCalcTypeString;
    result->value.textHandle = setGlobalStr(text.upper());
    return 1;
}

/// Fills a text result and then reports failure: the cell stays empty, the block is freed.
std::int32_t changesItsMind(SpreadCalcValue* result, SpreadCalcValue*, std::int16_t)
{
    result->status = kCalcStatusValid;
    result->type = kCalcTypeString;
    result->value.textHandle = setGlobalStr("never seen");
    return 0;
}

/// Hands its first argument record back as the result, text block and all.
std::int32_t echo(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t)
{
    *result = args[0];
    return 1;
}

/// Answers with a reference to C1.
std::int32_t pointAtC1(SpreadCalcValue* result, SpreadCalcValue*, std::int16_t)
{
    result->status = kCalcStatusValid;
    result->type = kCalcTypeCell;
    result->value.cell = {3, 1, 3, 1};
    return 1;
}

/// Answers 1.5 as a double.
std::int32_t oneAndAHalf(SpreadCalcValue* result, SpreadCalcValue*, std::int16_t)
{
    result->status = kCalcStatusValid;
    result->type = kCalcTypeDouble;
    result->value.doubleValue = 1.5;
    return 1;
}

/// A field of a packed record as a plain value (gtest binds references, which a packed field
/// cannot give).
template <typename T> T copy(T value)
{
    return value;
}

class CustomFunctionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gSeen.clear();
        gSeenTexts.clear();
        gCalls = 0;
        blocksBefore_ = globalStrCount();
        sheet.set(1, 1, Value::number(7));     // A1
        sheet.set(2, 1, Value::text("plate")); // B1
        sheet.set(3, 1, Value::text("Abc"));   // C1
        sheet.set(2, 2, Value::logical(true)); // B2
        // A2 stays empty.
    }
    void TearDown() override { EXPECT_EQ(globalStrCount(), blocksBefore_) << "a text block leaked"; }

    FormulaTestContext sheet;

private:
    int blocksBefore_ = 0;
};

TEST_F(CustomFunctionTest, RecordHasTheFixedLayout)
{
    SpreadCalcValue record;
    std::memset(&record, 0, sizeof record);
    record.status = 2;
    record.type = 4;
    record.value.cell = {0x11111111, 0x22222222, 0x33333333, 0x44444444};
    unsigned char bytes[24];
    std::memcpy(bytes, &record, sizeof bytes);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 4);
    EXPECT_EQ(bytes[2], 0x11);
    EXPECT_EQ(bytes[6], 0x22);
    EXPECT_EQ(bytes[10], 0x33);
    EXPECT_EQ(bytes[14], 0x44);
    record.value.doubleValue = 2.5;
    double d = 0;
    std::memcpy(bytes, &record, sizeof bytes);
    std::memcpy(&d, bytes + 2, sizeof d);
    EXPECT_EQ(d, 2.5);
    SpreadCalcValue array[2];
    EXPECT_EQ(reinterpret_cast<unsigned char*>(&array[1]) - reinterpret_cast<unsigned char*>(&array[0]), 24);
}

TEST_F(CustomFunctionTest, WithoutFlagsEveryArgumentArrivesAsAValue)
{
    sheet.functions.push_back({"LOOK", 0, -1, recordArgs, 0});
    // number, text, one-cell reference (number), one-cell reference (text), empty cell,
    // range, logical, reference to a logical, error, expression
    Value v = sheet.eval("LOOK(1.5,\"t\",A1,B1,A2,A1:B2,TRUE,B2,1/0,A1*2)", 5, 5);
    EXPECT_TRUE(v.isEmpty()) << "an empty result leaves the cell empty";
    ASSERT_EQ(gSeen.size(), 10u);
    struct Expected
    {
        std::uint8_t status;
        std::uint8_t type;
    };
    const Expected kinds[] = {{0, 1}, {0, 2}, {0, 1}, {0, 2}, {2, 0}, {0, 4}, {0, 0}, {0, 0}, {1, 0}, {0, 1}};
    for (size_t i = 0; i < gSeen.size(); ++i)
    {
        EXPECT_EQ(gSeen[i].status, kinds[i].status) << "argument " << i;
        EXPECT_EQ(gSeen[i].type, kinds[i].type) << "argument " << i;
    }
    EXPECT_EQ(copy(gSeen[0].value.doubleValue), 1.5);
    EXPECT_EQ(copy(gSeen[2].value.doubleValue), 7);
    EXPECT_EQ(gSeenTexts, (std::vector<std::string>{"t", "plate"}));
    EXPECT_EQ(copy(gSeen[5].value.cell.col), 1);
    EXPECT_EQ(copy(gSeen[5].value.cell.row), 1);
    EXPECT_EQ(copy(gSeen[5].value.cell.col2), 2);
    EXPECT_EQ(copy(gSeen[5].value.cell.row2), 2);
    EXPECT_EQ(copy(gSeen[6].value.longValue), 1);
    EXPECT_EQ(copy(gSeen[7].value.longValue), 1);
    EXPECT_EQ(copy(gSeen[8].value.longValue), static_cast<int>(ErrorCode::Div0));
    EXPECT_EQ(copy(gSeen[9].value.doubleValue), 14);
}

TEST_F(CustomFunctionTest, WithFlagOneReferencesArriveAsCells)
{
    sheet.functions.push_back({"REFS", 0, -1, recordArgs, kCustomFunctionPassReferences});
    sheet.eval("REFS(B1,$C$3:D4,5,A2)", 2, 2);
    ASSERT_EQ(gSeen.size(), 4u);
    EXPECT_EQ(gSeen[0].status, kCalcStatusValid);
    EXPECT_EQ(gSeen[0].type, kCalcTypeCell);
    EXPECT_EQ(copy(gSeen[0].value.cell.col), 2);
    EXPECT_EQ(copy(gSeen[0].value.cell.row), 1);
    EXPECT_EQ(gSeen[1].type, kCalcTypeRange);
    EXPECT_EQ(copy(gSeen[1].value.cell.col), 3);
    EXPECT_EQ(copy(gSeen[1].value.cell.row), 3);
    EXPECT_EQ(copy(gSeen[1].value.cell.col2), 4);
    EXPECT_EQ(copy(gSeen[1].value.cell.row2), 4);
    EXPECT_EQ(gSeen[2].type, kCalcTypeDouble);
    EXPECT_EQ(gSeen[3].type, kCalcTypeCell) << "an empty cell is still a cell reference";
    EXPECT_EQ(copy(gSeen[3].value.cell.row), 2);
    EXPECT_TRUE(gSeenTexts.empty());
}

TEST_F(CustomFunctionTest, ArgumentCountOutsideTheRangeIsAnErrorWithoutACall)
{
    sheet.functions.push_back({"TWOTOTHREE", 2, 3, ignoreArgs, 0});
    EXPECT_EQ(sheet.text("TWOTOTHREE(1)"), "#VALUE!");
    EXPECT_EQ(sheet.text("TWOTOTHREE(1,2,3,4)"), "#VALUE!");
    EXPECT_EQ(sheet.text("TWOTOTHREE(\"a\",\"b\",\"c\",\"d\")"), "#VALUE!");
    EXPECT_EQ(gCalls, 0);
    EXPECT_EQ(sheet.text("twoToThree(1,2)"), "42");
    EXPECT_EQ(sheet.text("TWOTOTHREE(1,2,3)"), "42");
    EXPECT_EQ(gCalls, 2);
}

TEST_F(CustomFunctionTest, TextsMoveThroughGlobalBlocksWithoutLeaks)
{
    sheet.functions.push_back({"SHOUT", 1, 1, shout, 0});
    sheet.functions.push_back({"IGNORE", 0, -1, ignoreArgs, 0});
    sheet.functions.push_back({"ECHO", 1, 1, echo, 0});
    sheet.functions.push_back({"MIND", 0, 1, changesItsMind, 0});
    EXPECT_EQ(sheet.text("SHOUT(B1)&\"!\""), "PLATE!");
    EXPECT_EQ(sheet.text("IGNORE(\"a\",B1,\"c\")"), "42");
    EXPECT_EQ(sheet.text("ECHO(\"back\")"), "back");
    EXPECT_EQ(sheet.text("ECHO(2.5)"), "2.5");
    EXPECT_TRUE(sheet.eval("MIND(\"x\")").isEmpty());
    EXPECT_EQ(sheet.text("SHOUT(1)"), "") << "a number is no text to this function: empty";
    // Leaks are checked in TearDown.
}

TEST_F(CustomFunctionTest, ResultsOfEveryKind)
{
    sheet.functions.push_back({"C1REF", 0, 0, pointAtC1, 0});
    sheet.functions.push_back({"HALF", 0, 0, oneAndAHalf, 0});
    sheet.functions.push_back({"NOTHING", 0, 9, recordArgs, 0});
    EXPECT_EQ(sheet.text("C1REF()"), "Abc");
    EXPECT_EQ(sheet.text("HALF()*2"), "3");
    // An empty result is empty as a whole result, and 0 or "" inside an expression.
    EXPECT_TRUE(sheet.eval("NOTHING()").isEmpty());
    EXPECT_EQ(sheet.text("NOTHING()+1"), "1");
    EXPECT_EQ(sheet.text("NOTHING()&\"x\""), "x");
}

TEST_F(CustomFunctionTest, BuiltinsComeFirstAndUnknownNamesAreNameErrors)
{
    sheet.functions.push_back({"SUM", 0, -1, ignoreArgs, 0});
    EXPECT_EQ(sheet.text("SUM(1,2)"), "3");
    EXPECT_EQ(gCalls, 0);
    EXPECT_EQ(sheet.text("ROUNDTO(1,2)"), "#NAME?");
    sheet.functions.push_back({"ROUNDTO", 2, 2, ignoreArgs, 0});
    EXPECT_EQ(sheet.text("ROUNDTO(1,2)"), "42") << "resolved when evaluated, not when parsed";
}
} // namespace
} // namespace grid::test
