#include "standards/ZxObjectMap.h"
#include "standards/ZxVarCell.h"

#include <gtest/gtest.h>

namespace
{
struct KindRow
{
    int number;
    const char* word;
    ZxValueType type;
};

// Every kind with its word in the mapping file and the value type of what it reaches.
const KindRow kKindTable[] = {
    {1, "Distance", valDouble},           {2, "GenVar", valDouble},
    {3, "CutOffset", valDouble},          {4, "CutPolyOffset", valDouble},
    {5, "CutLengthOffset", valDouble},    {6, "CutCenterOffset", valDouble},
    {7, "CutInsideOffset", valDouble},    {8, "CutOutsideOffset", valDouble},
    {9, "CutChamferOffset1", valDouble},  {10, "CutChamferOffset2", valDouble},
    {11, "CutRadius", valDouble},         {12, "PrPlName", valString},
    {13, "PrPlMaterial", valString},      {14, "OwnedMemberName", valString},
    {15, "MemberSectionSize", valDouble}, {16, "PatternNrBolts1", valString},
    {17, "PatternNrBolts2", valString},   {18, "PatternReverseStart1", valInt},
    {19, "PatternReverseStart2", valInt}, {20, "BoltsDiameter", valDouble},
    {21, "BoltsHoleOffset", valDouble},
};

ZxObjectMap binding(const char* object, ZxMapObjType kind, const char* var, const char* ssVar = "")
{
    ZxObjectMap map;
    map.objectName = object;
    map.objType = kind;
    map.varName = var;
    map.ssVarName = ssVar;
    return map;
}
} // namespace

TEST(ZxMapObjType, EveryKindRoundTripsThroughItsMapText)
{
    for (const KindRow& row : kKindTable)
    {
        const auto kind = static_cast<ZxMapObjType>(row.number);
        SCOPED_TRACE(row.word);
        EXPECT_STREQ(kindWord(kind), row.word);
        EXPECT_EQ(valueTypeOf(kind), row.type);

        ZxObjectMap original = binding("Plate", kind, "Var 1", "SheetVar");
        Kdr_String mapText, ssVar;
        ASSERT_EQ(original.setMappingToStrs(mapText, ssVar), Acad::eOk);
        EXPECT_EQ(mapText, std::string("Plate\x95") + row.word + " Var 1");
        EXPECT_EQ(ssVar, "SheetVar");

        ZxObjectMap parsed;
        ASSERT_EQ(parsed.getMappingFromStrs(ssVar, mapText), Acad::eOk);
        EXPECT_EQ(parsed.objType, kind);
        EXPECT_EQ(parsed.objectName, "Plate");
        EXPECT_EQ(parsed.varName, "Var 1");
        EXPECT_EQ(parsed.ssVarName, "SheetVar");
    }
    for (int unknown : {0, 22, -1})
    {
        EXPECT_EQ(kindWord(static_cast<ZxMapObjType>(unknown)), nullptr);
        EXPECT_EQ(valueTypeOf(static_cast<ZxMapObjType>(unknown)), valNone);
    }
    EXPECT_EQ(cutKindOfOffset(8), ZxMapObjType::CutRadius);
    EXPECT_EQ(offsetOfCutKind(ZxMapObjType::CutOffset), 0);
}

TEST(ZxMapObjType, VisibilityCaptionsAreTheDutchGroupTexts)
{
    EXPECT_EQ(
        visibilityCaptions({3, 0, 2, 1, 7}),
        (Kdr_StringArray{"------ Onzichtbaar niet instelbaar ------", "------ Zichtbaar en instelbaar ------",
                         "------ Onzichtbaar en instelbaar ------", "------ Zichtbaar niet instelbaar ------",
                         "------  ------"}));
    ZxObjectMap fresh;
    EXPECT_EQ(fresh.visibility, HiddenFixed);
    EXPECT_EQ(fresh.objType, ZxMapObjType::None);
}

TEST(ZxObjectMap, ParsingMapTexts)
{
    ZxObjectMap map;
    map.visibility = VisibleFixed;
    map.description = "h";

    // Blanks around the kind and the variable are dropped; the object name is kept as written,
    // the kind word is a case-blind prefix and the variable is whatever follows the first blank.
    ASSERT_EQ(map.getMappingFromStrs("Gap", " Plate\x95  distanceX  Outer gap  "), Acad::eOk);
    EXPECT_EQ(map.objectName, " Plate");
    EXPECT_EQ(map.objType, ZxMapObjType::Distance);
    EXPECT_EQ(map.varName, "Outer gap");
    EXPECT_EQ(map.visibility, VisibleFixed);
    EXPECT_EQ(map.description, "h");

    // No blank: no variable name; the object name may be empty.
    ASSERT_EQ(map.getMappingFromStrs("D", "\x95"
                                          "BoltsDiameter"),
              Acad::eOk);
    EXPECT_EQ(map.objectName, "");
    EXPECT_EQ(map.varName, "");
    EXPECT_EQ(map.objType, ZxMapObjType::BoltsDiameter);

    // Failures change nothing.
    const ZxObjectMap before = map;
    EXPECT_EQ(map.getMappingFromStrs("X", "Plate Distance Gap"), Acad::eInvalidInput);
    EXPECT_EQ(map.getMappingFromStrs("X", "Plate\x95Length Gap"), Acad::eInvalidInput);
    EXPECT_EQ(map.getMappingFromStrs("X", ""), Acad::eInvalidInput);
    EXPECT_EQ(map.objectName, before.objectName);
    EXPECT_EQ(map.ssVarName, before.ssVarName);
    EXPECT_EQ(map.objType, before.objType);
}

TEST(ZxObjectMap, AKindWithoutWordIsNotWritten)
{
    ZxObjectMap map = binding("Plate", ZxMapObjType::None, "Gap", "G");
    Kdr_String mapText = "old", ssVar;
    EXPECT_EQ(map.setMappingToStrs(mapText, ssVar), Acad::eInvalidInput);
    EXPECT_EQ(mapText, "Plate\x95");
    map.objType = static_cast<ZxMapObjType>(40);
    EXPECT_EQ(map.setMappingToStrs(mapText, ssVar), Acad::eInvalidInput);
}

TEST(ZxObjectMap, MapFromArraysTakesThePairOfTheCellsName)
{
    ZxVarCell cell;
    cell.name = "width";
    const Kdr_StringArray ssVars{"Gap", "Width", "Extra"};
    const Kdr_StringArray mapTexts{"Plate\x95"
                                   "Distance Gap",
                                   "Plate\x95"
                                   "Distance W"};

    ZxObjectMap map;
    ASSERT_EQ(map.mapFromArrays(ssVars, mapTexts, cell), Acad::eOk);
    EXPECT_EQ(map.varName, "W");
    EXPECT_EQ(map.ssVarName, "Width");

    cell.name = "Extra"; // has no map text
    EXPECT_EQ(map.mapFromArrays(ssVars, mapTexts, cell), Acad::eInvalidInput);
    cell.name = "Missing";
    EXPECT_EQ(map.mapFromArrays(ssVars, mapTexts, cell), Acad::eInvalidInput);
}
