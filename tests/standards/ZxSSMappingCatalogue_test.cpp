#include "MacroFixture.h"
#include "standards/ZxSSMapping.h"

namespace
{
using standards_test::MacroTest;

Kdr_StringArray listing(const ZxSSMapping& mapping)
{
    Kdr_StringArray lines;
    for (const ZxObjectMap& map : mapping.mappedObjects())
    {
        EXPECT_TRUE(map.ssVarName.isEmpty());
        lines.append(map.objectName + "|" + kindWord(map.objType) + " " + map.varName + "|" +
                     std::to_string(map.visibility) +
                     (map.description.isEmpty() ? "" : "|" + map.description));
    }
    return lines;
}

Kdr_StringArray sectionSizes(int profile)
{
    Kdr_StringArray lines;
    const char* columns[] = {"h", "b", "tw", "tf", "r", "G"};
    for (int j = 0; j < 6; ++j)
        lines.append("|MemberSectionSize Prof" + std::to_string(profile) + ";" + std::to_string(j) + "|0|" +
                     columns[j]);
    return lines;
}
} // namespace

TEST_F(MacroTest, TheCatalogueListsEveryBindableVariable)
{
    ZxSSMapping catalogue;
    catalogue.setMode(mapFile);
    ASSERT_EQ(catalogue.initAllVarsFromMacro(&macro, nullptr), Acad::eOk);

    Kdr_StringArray expected;
    // Both Plate modules add their variables under the group's name.
    for (const char* extra : {"", "Gap2"})
    {
        expected.append(Kdr_StringArray{"Plate|Distance Gap|0", "Plate|Distance Width|0",
                                        "Plate|Distance Weight|1", "Plate|Distance Revision|2"});
        if (*extra)
            expected.append(Kdr_String("Plate|Distance ") + extra + "|0");
        expected.append(Kdr_StringArray{"Plate|CutOffset Hole|0", "Plate|CutRadius Hole|0"});
    }
    expected.append(Kdr_StringArray{"Bolts|Distance Pitch|0", "Bolts|BoltsDiameter |0",
                                    "Bolts|BoltsHoleOffset |0", "Bolts|PatternNrBolts1 Upper|0",
                                    "Bolts|PatternReverseStart1 Upper|0", "Bolts|PatternNrBolts2 Upper|0",
                                    "Bolts|PatternReverseStart2 Upper|0", "Bolts|PatternNrBolts1 Lower|0",
                                    "Bolts|PatternReverseStart1 Lower|0", "Members|OwnedMemberName Web|0",
                                    "Members|OwnedMemberName Flange|0"});
    for (int profile = 0; profile < 3; ++profile)
    {
        expected.append("|PrPlName Prof" + std::to_string(profile) + "|0");
        expected.append("|PrPlMaterial Prof" + std::to_string(profile) + "|0");
        expected.append(sectionSizes(profile));
    }
    expected.append(Kdr_StringArray{"|GenVar gen_Width|0", "|GenVar gen_Grade|0"});
    EXPECT_EQ(listing(catalogue), expected);
    EXPECT_EQ(catalogue.mode(), mapFile);

    // A second call appends; a null macro is refused.
    ASSERT_EQ(catalogue.initAllVarsFromMacro(&macro, nullptr), Acad::eOk);
    EXPECT_EQ(catalogue.mappedObjects().length(), 2 * expected.length());
    EXPECT_EQ(catalogue.initAllVarsFromMacro(nullptr, nullptr), Acad::eInvalidInput);
}

TEST_F(MacroTest, SectionSizesNeedAKnownSection)
{
    library.setSectionTablesMissing();
    gSectionTables.reset();
    ZxSSMapping catalogue;
    ASSERT_EQ(catalogue.initAllVarsFromMacro(&macro, nullptr), Acad::eOk);
    for (const ZxObjectMap& map : catalogue.mappedObjects())
        EXPECT_NE(map.objType, ZxMapObjType::MemberSectionSize);
    EXPECT_EQ(catalogue.mappedObjects().length(), 50 - 18);
}
