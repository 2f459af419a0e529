#include "MacroFixture.h"
#include "standards/ZxObjectMap.h"

namespace
{
using standards_test::MacroTest;

ZxObjectMap binding(const char* object, ZxMapObjType kind, const char* var)
{
    ZxObjectMap map;
    map.objectName = object;
    map.objType = kind;
    map.varName = var;
    return map;
}

class BindingAccess : public MacroTest
{
protected:
    Acad::ErrorStatus read(const ZxObjectMap& map, Kdr_String& value)
    {
        return map.getMacroVarValue(&macro, &data, value, nullptr);
    }
    Acad::ErrorStatus write(const ZxObjectMap& map, Kdr_String value)
    {
        return map.setMacroVarValue(&macro, &data, value, nullptr);
    }
};
} // namespace

TEST_F(BindingAccess, ReadsEveryKind)
{
    struct Case
    {
        const char* object;
        ZxMapObjType kind;
        const char* var;
        Acad::ErrorStatus status;
        const char* value;
    } cases[] = {
        // Module kinds visit every module of the group; the last one that has the variable wins.
        {"Plate", ZxMapObjType::Distance, "Gap", Acad::eOk, "12"},
        {"plate", ZxMapObjType::Distance, "Gap2", Acad::eOk, "7"},
        {"Plate", ZxMapObjType::Distance, "Nothing", Acad::eOk, "keep"},
        {"Nobody", ZxMapObjType::Distance, "Gap", Acad::eInvalidInput, "keep"},
        {"Plate", ZxMapObjType::CutOffset, "Hole", Acad::eOk, "4"},
        {"Plate", ZxMapObjType::CutRadius, "Hole", Acad::eOk, "6"},
        {"Bolts", ZxMapObjType::BoltsDiameter, "", Acad::eOk, "20"},
        {"Bolts", ZxMapObjType::BoltsHoleOffset, "", Acad::eOk, "2"},
        {"Bolts", ZxMapObjType::PatternNrBolts1, "Upper", Acad::eOk, "3"},
        {"Bolts", ZxMapObjType::PatternNrBolts2, "Upper", Acad::eOk, "2"},
        {"Bolts", ZxMapObjType::PatternReverseStart1, "Upper", Acad::eOk, "1"},
        {"Bolts", ZxMapObjType::PatternReverseStart2, "Upper", Acad::eOk, "0"},
        {"Bolts", ZxMapObjType::PatternReverseStart1, "Lower", Acad::eOk, "0"},
        {"Members", ZxMapObjType::OwnedMemberName, "Web", Acad::eOk, "W1"},
        {"Members", ZxMapObjType::OwnedMemberName, "Nothing", Acad::eOk, "keep"},
        // Macro-wide kinds.
        {"", ZxMapObjType::GenVar, "gen_Width", Acad::eOk, "150.12345679"},
        {"", ZxMapObjType::PrPlName, "Prof2", Acad::eOk, "IPE-200"},
        {"", ZxMapObjType::PrPlMaterial, "Prof2", Acad::eOk, "S275"},
        {"", ZxMapObjType::PrPlName, "Prof9", Acad::eInvalidInput, "keep"},
        {"", ZxMapObjType::PrPlName, "Profile", Acad::eInvalidInput, "keep"},
        {"", ZxMapObjType::MemberSectionSize, "Prof2;3", Acad::eOk, "8.5"},
        {"", ZxMapObjType::MemberSectionSize, "Prof0;0", Acad::eOk, "152"},
        {"", ZxMapObjType::MemberSectionSize, "Prof2", Acad::eInvalidInput, "keep"},
        {"", ZxMapObjType::MemberSectionSize, "Prof2;x", Acad::eInvalidInput, "keep"},
        {"Plate", ZxMapObjType::None, "Gap", Acad::eInvalidInput, "keep"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.object) + " " + (kindWord(c.kind) ? kindWord(c.kind) : "None"));
        SCOPED_TRACE(c.var);
        Kdr_String value = "keep";
        EXPECT_EQ(read(binding(c.object, c.kind, c.var), value), c.status);
        EXPECT_EQ(value, c.value);
    }
    Kdr_String value;
    EXPECT_EQ(
        binding("Plate", ZxMapObjType::Distance, "Gap").getMacroVarValue(nullptr, &data, value, nullptr),
        Acad::eInvalidInput);
    macro.setWriteEnabled(false);
    EXPECT_EQ(read(binding("Plate", ZxMapObjType::Distance, "Gap"), value), Acad::eInvalidInput);
}

TEST_F(BindingAccess, WritesReachEveryModuleOfTheGroup)
{
    ASSERT_EQ(write(binding("Plate", ZxMapObjType::Distance, "Gap"), "20"), Acad::eOk);
    EXPECT_EQ(variable("Plate1", "Gap"), "20");
    EXPECT_EQ(variable("Plate2", "Gap"), "20");

    ASSERT_EQ(write(binding("Plate", ZxMapObjType::CutRadius, "Hole"), "7.25"), Acad::eOk);
    EXPECT_EQ(module("Plate1").findCut("Hole")->values[8], 7.25);
    EXPECT_EQ(module("Plate2").findCut("Hole")->values[8], 7.25);

    ASSERT_EQ(write(binding("Bolts", ZxMapObjType::BoltsHoleOffset, ""), "3"), Acad::eOk);
    ASSERT_EQ(write(binding("Bolts", ZxMapObjType::PatternNrBolts2, "Upper"), "4"), Acad::eOk);
    ASSERT_EQ(write(binding("Members", ZxMapObjType::OwnedMemberName, "Web"), "W9"), Acad::eOk);
    ASSERT_EQ(write(binding("", ZxMapObjType::GenVar, "gen_Grade"), "355"), Acad::eOk);
    Kdr_String value;
    EXPECT_EQ(read(binding("Bolts", ZxMapObjType::BoltsHoleOffset, ""), value), Acad::eOk);
    EXPECT_EQ(value, "3");
    EXPECT_EQ(read(binding("Bolts", ZxMapObjType::PatternNrBolts2, "Upper"), value), Acad::eOk);
    EXPECT_EQ(value, "4");
    EXPECT_EQ(read(binding("Members", ZxMapObjType::OwnedMemberName, "Web"), value), Acad::eOk);
    EXPECT_EQ(value, "W9");
    EXPECT_EQ(macro.macro().generalVariableValue("gen_Grade"), 355.0);
}

TEST_F(BindingAccess, WritingAFlexibleVariableFixesIt)
{
    // Width is the flexible member of its group; a value given by a sheet must stay, so the
    // write fixes it and the group's flexibility moves on to Gap.
    ASSERT_EQ(write(binding("Plate", ZxMapObjType::Distance, "Width"), "160"), Acad::eOk);
    bool fixed = false, flexible = true;
    ASSERT_TRUE(tab("Plate").getFlexFixBtnStatus("Width", fixed, flexible));
    EXPECT_TRUE(fixed);
    ASSERT_TRUE(tab("Plate").getFlexFixBtnStatus("Gap", fixed, flexible));
    EXPECT_FALSE(fixed);
    EXPECT_EQ(variable("Plate1", "Width"), "160");
}

TEST_F(BindingAccess, WritesThatWouldCorruptTheMacroAreRefused)
{
    const MacroData before = data;
    for (const char* bad : {"#DIV/0!", "", "abc"})
    {
        SCOPED_TRACE(bad);
        write(binding("Plate", ZxMapObjType::Distance, "Width"), bad);
        write(binding("Plate", ZxMapObjType::CutRadius, "Hole"), bad);
        write(binding("Bolts", ZxMapObjType::BoltsDiameter, ""), bad);
        write(binding("Bolts", ZxMapObjType::PatternReverseStart1, "Upper"), bad);
        EXPECT_EQ(write(binding("", ZxMapObjType::GenVar, "gen_Grade"), bad), Acad::eInvalidInput);
    }
    EXPECT_EQ(variable("Plate1", "Width"), "150");
    EXPECT_EQ(module("Plate2").findCut("Hole")->values[8], 6.0);
    EXPECT_TRUE(reverseFlag("Upper", true));
    EXPECT_EQ(macro.macro().generalVariableValue("gen_Grade"), 235.0);
    EXPECT_TRUE(data == before); // flex/fix states and bolt data included

    // Base profiles and section sizes are read only.
    EXPECT_EQ(write(binding("", ZxMapObjType::PrPlName, "Prof0"), "IPE-300"), Acad::eInvalidInput);
    EXPECT_EQ(write(binding("", ZxMapObjType::PrPlMaterial, "Prof0"), "S235"), Acad::eInvalidInput);
    EXPECT_EQ(write(binding("", ZxMapObjType::MemberSectionSize, "Prof0;0"), "1"), Acad::eInvalidInput);
    EXPECT_EQ(macro.baseProfile(0).section(), "HEA-160");
}

TEST_F(BindingAccess, AReverseStartFlagPassedThroughStaysAsItWas)
{
    struct Flag
    {
        const char* pattern;
        ZxMapObjType kind;
    } flags[] = {
        {"Upper", ZxMapObjType::PatternReverseStart1},
        {"Upper", ZxMapObjType::PatternReverseStart2},
        {"Lower", ZxMapObjType::PatternReverseStart1},
    };
    for (int round = 0; round < 2; ++round)
    {
        for (const Flag& flag : flags)
        {
            const ZxObjectMap map = binding("Bolts", flag.kind, flag.pattern);
            const bool direction1 = flag.kind == ZxMapObjType::PatternReverseStart1;
            const bool before = reverseFlag(flag.pattern, direction1);
            Kdr_String value;
            ASSERT_EQ(read(map, value), Acad::eOk);
            EXPECT_EQ(value, before ? "1" : "0");
            ASSERT_EQ(write(map, value), Acad::eOk);
            EXPECT_EQ(reverseFlag(flag.pattern, direction1), before) << flag.pattern;
        }
    }
    ASSERT_EQ(write(binding("Bolts", ZxMapObjType::PatternReverseStart1, "Upper"), "0"), Acad::eOk);
    EXPECT_FALSE(reverseFlag("Upper", true));
    ASSERT_EQ(write(binding("Bolts", ZxMapObjType::PatternReverseStart2, "Upper"), "1"), Acad::eOk);
    EXPECT_TRUE(reverseFlag("Upper", false));
}
