#include "SampleMacro.h"
#include "host/MacroAccess.h"
#include "host/SectionTables.h"
#include "hostio/MacroJson.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
/// The same checks run on a macro built in code and on one loaded from JSON.
class MacroAccess : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        if (GetParam())
        {
            std::string error;
            ASSERT_TRUE(loadMacroJson(KALDOR_TEST_DATA "macros/EndPlate.json", dbMacro, data, error))
                << error;
        }
        else
            buildSampleMacro(dbMacro, data);
    }

    Kdr_Module* open(const char* name)
    {
        Kdr_Module* module = nullptr;
        EXPECT_EQ(openModule(&dbMacro.macro(), name, module, 0), Acad::eOk) << name;
        return module;
    }

    MacroTabData* tab(const char* name)
    {
        int index = -1;
        MacroTabData* found = nullptr;
        EXPECT_TRUE(data.findTab(name, index));
        EXPECT_TRUE(data.getTab(index, found));
        return found;
    }

    Kdr_DbMacro dbMacro;
    MacroData data;
};

INSTANTIATE_TEST_SUITE_P(BuiltAndLoaded, MacroAccess, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "FromJson" : "InCode"; });
} // namespace

TEST_P(MacroAccess, OpensModulesByNameIgnoringCase)
{
    Kdr_Module* module = nullptr;
    EXPECT_EQ(openModule(&dbMacro.macro(), "plate1", module, 0), Acad::eOk);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->name(), "Plate1");
    EXPECT_EQ(openModule(&dbMacro.macro(), "Plate9", module, 0), Acad::eInvalidInput);
    EXPECT_EQ(openModule(nullptr, "Plate1", module, 0), Acad::eInvalidInput);
}

TEST_P(MacroAccess, DialogVariablesReadAndWriteOnlyNumbers)
{
    Kdr_Module* plate = open("Plate1");
    Kdr_StringArray names;
    std::vector<bool> visible, settable;
    ASSERT_EQ(getDialogVariables(plate, names, visible, settable), Acad::eOk);
    const int weight = names.find("Weight", false);
    ASSERT_GE(weight, 0);
    EXPECT_TRUE(visible[static_cast<size_t>(weight)]);
    EXPECT_FALSE(settable[static_cast<size_t>(weight)]);
    EXPECT_EQ(getDialogVariables(nullptr, names, visible, settable), Acad::eInvalidInput);

    Kdr_String value;
    ASSERT_EQ(getSetConstrVarValue(plate, "gap", value, true), Acad::eOk);
    EXPECT_EQ(value, "10");

    Kdr_String written = " 12.5 ";
    EXPECT_EQ(getSetConstrVarValue(plate, "Gap", written, false), Acad::eOk);
    for (const char* bad : {"abc", "", "12mm", "1.2.3"})
    {
        Kdr_String text = bad;
        EXPECT_EQ(getSetConstrVarValue(plate, "Gap", text, false), Acad::eInvalidInput) << bad;
    }
    ASSERT_EQ(getSetConstrVarValue(plate, "Gap", value, true), Acad::eOk);
    EXPECT_EQ(value, "12.5");

    // A variable that is not settable keeps its value; an unknown one is not found.
    Kdr_String heavy = "99";
    EXPECT_EQ(getSetConstrVarValue(plate, "Weight", heavy, false), Acad::eInvalidInput);
    ASSERT_EQ(getSetConstrVarValue(plate, "Weight", value, true), Acad::eOk);
    EXPECT_EQ(value, "6.71");
    value = "untouched";
    EXPECT_EQ(getSetConstrVarValue(plate, "Missing", value, true), Acad::eInvalidInput);
    EXPECT_EQ(value, "untouched");
}

TEST_P(MacroAccess, CutValuesByOffsetType)
{
    Kdr_Module* plate = open("Plate1");
    Kdr_StringArray names;
    AcArray<int> types;
    ASSERT_EQ(getCutConstraints(plate, names, types), Acad::eOk);
    ASSERT_GE(names.find("Hole", false), 0);
    EXPECT_EQ(types[names.find("Hole", false)], 7);

    Kdr_Cut* hole = nullptr;
    ASSERT_EQ(getCutConstraint(plate, "hole", hole), Acad::eOk);
    double radius = 0;
    ASSERT_EQ(getSetCutValue(plate, hole, 8, radius, true), Acad::eOk);
    EXPECT_EQ(radius, 5.0);
    double written = 7.5;
    ASSERT_EQ(getSetCutValue(plate, hole, 0, written, false), Acad::eOk);
    double read = 0;
    ASSERT_EQ(getSetCutValue(plate, hole, 0, read, true), Acad::eOk);
    EXPECT_EQ(read, 7.5);

    double notANumber = std::nan("");
    EXPECT_EQ(getSetCutValue(plate, hole, 0, notANumber, false), Acad::eInvalidInput);
    EXPECT_EQ(getSetCutValue(plate, hole, 9, read, true), Acad::eInvalidInput);
    EXPECT_EQ(getSetCutValue(plate, hole, -1, read, true), Acad::eInvalidInput);
    // A cut of another module is not this module's.
    EXPECT_EQ(getSetCutValue(open("Bolts"), hole, 0, read, true), Acad::eInvalidInput);
    EXPECT_EQ(getCutConstraint(plate, "Slot", hole), Acad::eInvalidInput);
}

TEST(MacroAccessCuts, OffsetTypesPerCutType)
{
    const std::vector<std::vector<int>> expected = {{0},    {0, 1},    {0, 2}, {0, 3},
                                                    {4, 5}, {0, 6, 7}, {0, 8}, {0, 1, 2, 3, 4, 5, 6, 7, 8}};
    for (int type = 0; type < 8; ++type)
    {
        AcArray<int> offsets;
        ASSERT_EQ(getCutOffsets(type, offsets), Acad::eOk);
        EXPECT_EQ(offsets.vector(), expected[static_cast<size_t>(type)]) << "cut type " << type;
    }
    AcArray<int> offsets{42};
    EXPECT_EQ(getCutOffsets(8, offsets), Acad::eInvalidInput);
    EXPECT_EQ(getCutOffsets(-1, offsets), Acad::eInvalidInput);
    EXPECT_EQ(offsets.vector(), std::vector<int>{42});
}

TEST_P(MacroAccess, PatternsOfABoltModule)
{
    Kdr_Module* bolts = open("Bolts");
    AcArray<int> ids;
    ASSERT_EQ(getPatternIds(bolts, ids), Acad::eOk);
    EXPECT_EQ(ids.vector(), (std::vector<int>{1, 2}));

    AcTransaction tr;
    Kdr_BoltPattern upper, lower;
    ASSERT_EQ(getPattern(1, bolts, upper, &tr), Acad::eOk);
    ASSERT_EQ(getPattern(2, bolts, lower, &tr), Acad::eOk);
    EXPECT_EQ(upper.name(), "Upper");
    EXPECT_EQ(upper.layoutClassNumber(), 282);
    EXPECT_EQ(lower.layoutClassNumber(), 281);
    EXPECT_EQ(getPattern(3, bolts, upper, &tr), Acad::eInvalidInput);

    int id = 0;
    ASSERT_EQ(findPattern(bolts, "lower", id, &tr), Acad::eOk);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(findPattern(bolts, "Side", id, &tr), Acad::eInvalidInput);

    // Pattern calls need a bolt module.
    Kdr_Module* plate = open("Plate1");
    EXPECT_EQ(getPatternIds(plate, ids), Acad::eInvalidInput);
    EXPECT_EQ(findPattern(plate, "Upper", id, &tr), Acad::eInvalidInput);
    EXPECT_EQ(getPattern(1, plate, upper, &tr), Acad::eInvalidInput);

    // An ended transaction reads nothing.
    tr.commit();
    EXPECT_EQ(findPattern(bolts, "Upper", id, &tr), Acad::eInvalidInput);
}

TEST_P(MacroAccess, ReverseStartFlagsPerDirection)
{
    Kdr_Module* bolts = open("Bolts");
    AcTransaction tr;
    // Every flag reads back as it was written, per direction, independently.
    for (bool direction1 : {true, false})
        for (bool flag : {true, false, true})
        {
            bool written = flag;
            ASSERT_EQ(getSetBoltPatternReverses(bolts, 1, direction1, false, written, &tr), Acad::eOk);
            bool read = !flag;
            ASSERT_EQ(getSetBoltPatternReverses(bolts, 1, direction1, true, read, &tr), Acad::eOk);
            EXPECT_EQ(read, flag);
        }
    bool first = false, second = true;
    bool set = true, cleared = false;
    ASSERT_EQ(getSetBoltPatternReverses(bolts, 1, true, false, set, &tr), Acad::eOk);
    ASSERT_EQ(getSetBoltPatternReverses(bolts, 1, false, false, cleared, &tr), Acad::eOk);
    ASSERT_EQ(getSetBoltPatternReverses(bolts, 1, true, true, first, nullptr), Acad::eOk);
    ASSERT_EQ(getSetBoltPatternReverses(bolts, 1, false, true, second, nullptr), Acad::eOk);
    EXPECT_TRUE(first);
    EXPECT_FALSE(second);

    // A pattern without a second direction has no second flag.
    bool flag = true;
    EXPECT_EQ(getSetBoltPatternReverses(bolts, 2, false, false, flag, &tr), Acad::eInvalidInput);
    EXPECT_EQ(getSetBoltPatternReverses(bolts, 2, false, true, flag, &tr), Acad::eInvalidInput);
    EXPECT_TRUE(flag);
    EXPECT_EQ(getSetBoltPatternReverses(bolts, 2, true, false, flag, &tr), Acad::eOk);
    EXPECT_EQ(getSetBoltPatternReverses(bolts, 9, true, true, flag, &tr), Acad::eInvalidInput);
    EXPECT_EQ(getSetBoltPatternReverses(open("Plate1"), 1, true, true, flag, &tr), Acad::eInvalidInput);
}

TEST_P(MacroAccess, BoltCountsLiveInTheTab)
{
    MacroTabData* bolts = tab("Bolts");
    Kdr_String count;
    ASSERT_EQ(getSetNrBolts(bolts, "Upper", count, true, false), Acad::eOk);
    EXPECT_EQ(count, "2");

    Kdr_String three = "3.0000000";
    ASSERT_EQ(getSetNrBolts(bolts, "upper", three, false, true), Acad::eOk);
    ASSERT_EQ(getSetNrBolts(bolts, "Upper", count, true, true), Acad::eOk);
    EXPECT_EQ(count, "3");

    for (const char* bad : {"x", "2.5", "0", "-1", ""})
    {
        Kdr_String text = bad;
        EXPECT_EQ(getSetNrBolts(bolts, "Upper", text, false, true), Acad::eInvalidInput) << bad;
    }
    ASSERT_EQ(getSetNrBolts(bolts, "Upper", count, true, true), Acad::eOk);
    EXPECT_EQ(count, "3");

    // The single-direction pattern has no second count to read or write.
    count = "kept";
    EXPECT_EQ(getSetNrBolts(bolts, "Lower", count, true, false), Acad::eInvalidInput);
    EXPECT_EQ(count, "kept");
    Kdr_String two = "2";
    EXPECT_EQ(getSetNrBolts(bolts, "Lower", two, false, false), Acad::eInvalidInput);
    EXPECT_EQ(getSetNrBolts(bolts, "Side", count, true, true), Acad::eInvalidInput);
    EXPECT_EQ(getSetNrBolts(nullptr, "Upper", count, true, true), Acad::eInvalidInput);
}

TEST_P(MacroAccess, PlacementsAndBaseProfiles)
{
    TestLibrary library;
    Kdr_Module* haunch = open("Haunch");
    AcTransaction tr;
    AcDbObjectId id;
    ASSERT_EQ(getNamedPrpl(haunch, "web", id), Acad::eOk);
    Kdr_String section, material;
    ASSERT_EQ(getSectionName(id, section, &tr), Acad::eOk);
    ASSERT_EQ(getMaterial(id, material, &tr), Acad::eOk);
    EXPECT_EQ(section, "IPE-300");
    EXPECT_EQ(material, "S235");
    EXPECT_EQ(tr.readCount(), 2);

    // A member without a name cannot be found by name; other modules have no placements.
    EXPECT_EQ(getNamedPrpl(haunch, "", id), Acad::eInvalidInput);
    EXPECT_EQ(getNamedPrpl(haunch, "Rib", id), Acad::eInvalidInput);
    EXPECT_EQ(getNamedPrpl(open("Bolts"), "Web", id), Acad::eInvalidInput);

    ASSERT_EQ(getBaseProf(&dbMacro, 1, id), Acad::eOk);
    ASSERT_EQ(getSectionName(id, section, nullptr), Acad::eOk);
    EXPECT_EQ(section, "IPE-300");
    ASSERT_EQ(getBaseProf(&dbMacro, 0, id), Acad::eOk);
    ASSERT_EQ(getMaterial(id, material, nullptr), Acad::eOk);
    EXPECT_EQ(material, "S355");
    EXPECT_EQ(getBaseProf(&dbMacro, 2, id), Acad::eInvalidInput);
    EXPECT_EQ(getBaseProf(&dbMacro, -1, id), Acad::eInvalidInput);
    EXPECT_EQ(getBaseProf(nullptr, 0, id), Acad::eInvalidInput);

    // Ids of other objects, dead objects and a closed transaction give nothing.
    EXPECT_EQ(getSectionName(haunch->objectId(), section, nullptr), Acad::eInvalidInput);
    EXPECT_EQ(getSectionName(AcDbObjectId(), section, nullptr), Acad::eInvalidInput);
    tr.abort();
    EXPECT_EQ(getSectionName(id, section, &tr), Acad::eInvalidInput);
    EXPECT_EQ(section, "IPE-300");

    // The section of a base profile leads to its table values: h and mass of an IPE 300.
    Kdr_StringArray columns;
    ASSERT_EQ(getSectionColumnNames(section, columns), Acad::eOk);
    EXPECT_EQ(columns, (Kdr_StringArray{"h", "b", "tw", "tf", "r", "G"}));
    Kdr_String value;
    ASSERT_EQ(getSectionValue(section, 0, value), Acad::eOk);
    EXPECT_EQ(value, "300");
    ASSERT_EQ(getSectionValue(section, 5, value), Acad::eOk);
    EXPECT_EQ(value, "42.2");
    EXPECT_EQ(getSectionValue(section, 6, value), Acad::eInvalidInput);
    EXPECT_EQ(getSectionValue("IPE-999", 0, value), Acad::eInvalidInput);
    EXPECT_EQ(getSectionColumnNames("UPN-100", columns), Acad::eInvalidInput);
    gSectionTables.reset();
}

TEST(MacroAccessIds, DeadObjectsDoNotResolve)
{
    AcDbObjectId id;
    {
        Kdr_DbMacro macro("M");
        id = macro.addBaseProfile("IPE-200", "S235");
        EXPECT_TRUE(id.isValid());
        // A copy is a new object: its profiles have ids of their own.
        Kdr_DbMacro copy(macro);
        AcDbObjectId copied;
        ASSERT_EQ(getBaseProf(&copy, 0, copied), Acad::eOk);
        EXPECT_NE(copied, id);
        Kdr_String section;
        EXPECT_EQ(getSectionName(copied, section, nullptr), Acad::eOk);
        EXPECT_EQ(section, "IPE-200");
    }
    EXPECT_FALSE(id.isValid());
    Kdr_String section = "kept";
    EXPECT_EQ(getSectionName(id, section, nullptr), Acad::eInvalidInput);
    EXPECT_EQ(section, "kept");
}
