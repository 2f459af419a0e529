#include "StandardsTestSupport.h"
#include "host/FileFunctions.h"
#include "standards/ZxSSMapping.h"

#include <gtest/gtest.h>
#include <random>

using standards_test::ScratchLibrary;
using standards_test::testData;

namespace
{
ZxObjectMap binding(const char* ssVar, const char* object, ZxMapObjType kind, const char* var,
                    ZxVarVisibility visibility = HiddenFixed)
{
    ZxObjectMap map;
    map.ssVarName = ssVar;
    map.objectName = object;
    map.objType = kind;
    map.varName = var;
    map.visibility = visibility;
    return map;
}

ZxSSMapping mappingOf(std::initializer_list<ZxObjectMap> bindings)
{
    ZxSSMapping mapping;
    for (const ZxObjectMap& map : bindings)
        mapping.mappedObjectsWrite().append(map);
    return mapping;
}

Kdr_String describe(const ZxSSMapping& mapping)
{
    Kdr_String text;
    for (const ZxObjectMap& map : mapping.mappedObjects())
    {
        Kdr_String mapText, ssVar;
        map.setMappingToStrs(mapText, ssVar);
        text += ssVar + "->" + mapText + ";";
    }
    return text;
}

// Separator bytes spelled out, so that the expected lines stay readable.
constexpr const char* O = "\x95";
constexpr const char* E = "\x83";
constexpr const char* L = "\xBF";

std::string entry(const std::string& ss, const std::string& object, const std::string& kindAndVar)
{
    return ss + E + object + O + kindAndVar;
}
} // namespace

TEST(ZxSSMapping, LineParsingSkipsMalformedEntries)
{
    ZxSSMapping mapping = mappingOf({binding("Old", "X", ZxMapObjType::GenVar, "gen_X")});
    mapping.setMode(mapFile);
    const std::string line = "T=" + std::string("NoSeparator") + L + entry("Gap", "Plate", "Distance Gap") +
                             L + "Hole" + E + "Plate CutRadius H" + L + entry("W", "Plate", "Width W") + L +
                             L + entry("Diam", "Plate", "BoltsDiameter");
    ASSERT_EQ(mapping.initMappingFromLine(line), Acad::eOk);
    EXPECT_EQ(describe(mapping),
              Kdr_String("Gap->Plate") + O + "Distance Gap;Diam->Plate" + O + "BoltsDiameter ;");
    EXPECT_EQ(mapping.mode(), mapFile);

    EXPECT_EQ(mapping.initMappingFromLine("T="), Acad::eOk);
    EXPECT_TRUE(mapping.mappedObjects().isEmpty());

    mapping.mappedObjectsWrite().append(binding("Gap", "Plate", ZxMapObjType::Distance, "Gap"));
    EXPECT_EQ(mapping.initMappingFromLine(entry("Gap", "Plate", "Distance Gap")), Acad::eInvalidInput);
    EXPECT_TRUE(mapping.mappedObjects().isEmpty());
}

TEST(ZxSSMapping, FindSSVarMatchesNumericWithNumeric)
{
    const ZxSSMapping mapping = mappingOf({
        binding("Bolts", "Fin", ZxMapObjType::PatternNrBolts1, "P1"),     // String kind
        binding("Gap", "Plate", ZxMapObjType::Distance, "Gap"),           // Double kind
        binding("Flip", "Fin", ZxMapObjType::PatternReverseStart1, "P1"), // Int kind
        binding("Gap", "Plate", ZxMapObjType::OwnedMemberName, "Web"),    // String kind, same name
        binding("Nothing", "Plate", ZxMapObjType::None, "Gap"),
    });
    struct Case
    {
        const char* name;
        ZxValueType type;
        Acad::ErrorStatus status;
        int index;
    } cases[] = {
        {"gap", valDouble, Acad::eOk, 1},
        {"Gap", valInt, Acad::eOk, 1},
        {"Gap", valString, Acad::eOk, 3},
        {"Flip", valDouble, Acad::eOk, 2},
        {"Flip", valInt, Acad::eOk, 2},
        {"Flip", valString, Acad::eInvalidInput, -1},
        {"Bolts", valInt, Acad::eInvalidInput, -1},
        {"Nothing", valString, Acad::eInvalidInput, -1},
        {"Gap", valNone, Acad::eInvalidInput, -1},
        {"Nothing", valNone, Acad::eInvalidInput, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.name) + " type " + std::to_string(c.type));
        int index = -1;
        EXPECT_EQ(mapping.findSSVar(c.name, c.type, index), c.status);
        EXPECT_EQ(index, c.index);
    }
    int index = -1;
    EXPECT_EQ(ZxSSMapping().findSSVar("Gap", valDouble, index), Acad::eInvalidInput);
}

TEST(ZxSSMapping, ComparisonsAreOneSided)
{
    const ZxSSMapping small = mappingOf({binding("Gap", "Plate", ZxMapObjType::Distance, "Gap")});
    const ZxSSMapping large = mappingOf({binding("W", "Plate", ZxMapObjType::Distance, "Width"),
                                         binding("GAP", "plate", ZxMapObjType::Distance, "gap"),
                                         binding("Col", "", ZxMapObjType::PrPlName, "Prof0")});
    EXPECT_TRUE(small.isEqual(large));
    EXPECT_FALSE(large.isEqual(small));
    EXPECT_TRUE(ZxSSMapping().isEqual(small));

    // Same variable, other macro variable: not equal.
    EXPECT_FALSE(mappingOf({binding("Gap", "Plate", ZxMapObjType::Distance, "Gap2")}).isEqual(large));
    // A binding without a value type never equals anything, itself included.
    const ZxSSMapping none = mappingOf({binding("Gap", "Plate", ZxMapObjType::None, "Gap")});
    EXPECT_FALSE(none.isEqual(none));

    int incompatible = -1;
    EXPECT_EQ(small.isCompatible(large, incompatible), Acad::eOk);
    EXPECT_EQ(incompatible, 0);
    EXPECT_EQ(large.isCompatible(small, incompatible), Acad::eOk);
    EXPECT_EQ(incompatible, 2);
    int index = -1;
    EXPECT_EQ(large.findCompatible(binding("x", "PLATE", ZxMapObjType::Distance, "GAP"), index), Acad::eOk);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(large.findCompatible(binding("x", "Plate", ZxMapObjType::GenVar, "Gap"), index),
              Acad::eInvalidInput);
}

TEST(ZxSSMapping, ValidVarsAndTheirOrderByVisibility)
{
    ZxSSMapping catalogue;
    for (int kind = 0; kind <= 21; ++kind)
        catalogue.mappedObjectsWrite().append(
            binding("", "M", static_cast<ZxMapObjType>(kind), "v", static_cast<ZxVarVisibility>(kind % 4)));

    AcArray<int> indices{99};
    EXPECT_EQ(catalogue.getValidVars(true, valString, indices), Acad::eOk);
    EXPECT_EQ(indices, (AcArray<int>{12, 13, 14, 16, 17}));
    const AcArray<int> numeric{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15, 18, 19, 20, 21};
    EXPECT_EQ(catalogue.getValidVars(false, valInt, indices), Acad::eOk);
    EXPECT_EQ(indices, numeric);
    EXPECT_EQ(catalogue.getValidVars(true, valDouble, indices), Acad::eOk);
    EXPECT_EQ(indices, numeric);

    // Visibilities of the numeric kinds: 1 2 3 0 1 2 3 0 1 2 3 3 2 3 0 1.
    EXPECT_EQ(catalogue.sortValidVars(indices, {0, 2}), Acad::eOk);
    EXPECT_EQ(indices, (AcArray<int>{4, 8, 20, 2, 6, 10, 18, 1, 3, 5, 7, 9, 11, 15, 19, 21}));

    // Indices that name no binding sort last instead of being read out of range.
    AcArray<int> odd{40, 4, -1};
    EXPECT_EQ(catalogue.sortValidVars(odd, {0}), Acad::eOk);
    EXPECT_EQ(odd, (AcArray<int>{4, 40, -1}));
    EXPECT_EQ(catalogue.sortValidVars(odd, {}), Acad::eInvalidInput);
    EXPECT_TRUE(odd.isEmpty());
}

// -- The mapping file -----------------------------------------------------------------------

TEST(ZxSSMappingFile, ReadingTargets)
{
    ScratchLibrary library;
    library.writeFile("EndPlate.map", testData("ThreeTargets.map"));
    ZxSSMapping mapping;
    ASSERT_EQ(mapping.getMappingFromFile("EndPlate", "Cleat"), Acad::eOk);
    EXPECT_EQ(describe(mapping),
              Kdr_String("Gap->Cleat") + O + "Distance Gap2;Grade->" + O + "GenVar gen_Grade;");

    // Keys are compared with case; a missing target or file fails.
    EXPECT_EQ(mapping.getMappingFromFile("EndPlate", "cleat"), Acad::eInvalidInput);
    EXPECT_EQ(mapping.getMappingFromFile("EndPlate", "Nope"), Acad::eInvalidInput);
    EXPECT_EQ(mapping.getMappingFromFile("Missing", "Cleat"), Acad::eInvalidInput);
    ASSERT_EQ(mapping.getMappingFromFile("EndPlate", "Module.Fin"), Acad::eOk);
    EXPECT_EQ(mapping.mappedObjects().length(), 1);

    // The header followed by "T=": an empty mapping.
    library.writeFile("Empty.map", "Mapping version 1.0\nT=\n");
    ASSERT_EQ(mapping.getMappingFromFile("Empty", "T"), Acad::eOk);
    EXPECT_TRUE(mapping.mappedObjects().isEmpty());

    // Only a header: nothing to read, the mapping stays as it was.
    mapping.mappedObjectsWrite().append(binding("Gap", "Plate", ZxMapObjType::Distance, "Gap"));
    library.writeFile("Header.map", "Mapping version 1.0\n");
    EXPECT_EQ(mapping.getMappingFromFile("Header", "T"), Acad::eOk);
    EXPECT_EQ(mapping.mappedObjects().length(), 1);

    // Without a header the first line is a target line.
    library.writeFile("NoHeader.map", "A=" + entry("Gap", "Plate", "Distance Gap") + "\nB=\n");
    ASSERT_EQ(mapping.getMappingFromFile("NoHeader", "A"), Acad::eOk);
    EXPECT_EQ(mapping.mappedObjects().length(), 1);
}

TEST(ZxSSMappingFile, MalformedAndBinaryFilesLoadWhatParses)
{
    ScratchLibrary library;
    library.writeFile("Bad.map", testData("Malformed.map"));
    ZxSSMapping mapping;
    ASSERT_EQ(mapping.getMappingFromFile("Bad", "Plate"), Acad::eOk);
    EXPECT_EQ(describe(mapping),
              Kdr_String("Gap->Plate") + O + "Distance Gap;Diam->Plate" + O + "BoltsDiameter ;");
    EXPECT_EQ(mapping.getMappingFromFile("Bad", "Trunc"), Acad::eOk);
    EXPECT_TRUE(mapping.mappedObjects().isEmpty());

    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() % 256);
    for (size_t length : {size_t(0), size_t(1), size_t(100), noise.size()})
    {
        library.writeFile("Noise.map", noise.substr(0, length));
        Kdr_String target;
        mapping.getMappingFromFile("Noise", "=");
        mapping.getMappingFromFile("Noise", "");
        mapping.hasSameMapping("Noise", target);
    }
}

TEST(ZxSSMappingFile, WritingANewFile)
{
    ScratchLibrary library;
    ZxSSMapping mapping = mappingOf({
        binding("Gap", "Plate", ZxMapObjType::Distance, "Gap"),
        binding("Nothing", "Plate", ZxMapObjType::None, "X"),        // no kind word
        binding("gap", "Plate", ZxMapObjType::Distance, "Other"),    // duplicate name
        binding("Bad:Name", "Plate", ZxMapObjType::Distance, "Gap"), // not a file name
        binding("Col", "", ZxMapObjType::PrPlName, "Prof0"),
    });
    Kdr_String target = "Plate";
    ASSERT_EQ(mapping.setMappingToFile("EndPlate", target), Acad::eOk);
    EXPECT_EQ(library.readFile("EndPlate.map"),
              "Mapping version 1.0\nPlate=" + entry("Gap", "Plate", "Distance Gap") + L +
                  entry("Col", "", "PrPlName Prof0") + "\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(library.standards()),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left behind

    // The stored line reads back as the bindings that could be stored.
    ZxSSMapping back;
    ASSERT_EQ(back.getMappingFromFile("EndPlate", "Plate"), Acad::eOk);
    EXPECT_EQ(describe(back), Kdr_String("Gap->Plate") + O + "Distance Gap;Col->" + O + "PrPlName Prof0;");
}

TEST(ZxSSMappingFile, AnUnchangedMappingLeavesTheFileAlone)
{
    ScratchLibrary library;
    const std::string original = testData("ThreeTargets.map"); // CR LF line ends
    library.writeFile("EndPlate.map", original);

    // Equal in the one-sided sense: a subset of the stored line.
    ZxSSMapping mapping = mappingOf({binding("hole", "plate", ZxMapObjType::CutRadius, "HOLE1")});
    Kdr_String target = "Plate";
    ASSERT_EQ(mapping.setMappingToFile("EndPlate", target), Acad::eOk);
    EXPECT_EQ(library.readFile("EndPlate.map"), original);

    Kdr_String found;
    EXPECT_TRUE(mapping.hasSameMapping("EndPlate", found));
    EXPECT_EQ(found, "Plate");
    const ZxSSMapping cleat = mappingOf({binding("Grade", "", ZxMapObjType::GenVar, "gen_Grade")});
    EXPECT_TRUE(cleat.hasSameMapping("EndPlate", found));
    EXPECT_EQ(found, "Cleat");
    EXPECT_FALSE(
        mappingOf({binding("Grade", "", ZxMapObjType::GenVar, "gen_X")}).hasSameMapping("EndPlate", found));
    EXPECT_FALSE(cleat.hasSameMapping("Missing", found));
}

TEST(ZxSSMappingFile, AChangedTargetMovesToTheEnd)
{
    ScratchLibrary library;
    library.writeFile("EndPlate.map", testData("ThreeTargets.map"));
    ZxSSMapping mapping = mappingOf({binding("Gap", "Plate", ZxMapObjType::Distance, "Gap3")});
    Kdr_String target = "Plate";
    ASSERT_EQ(mapping.setMappingToFile("EndPlate", target), Acad::eOk);

    const std::string written = library.readFile("EndPlate.map");
    const std::string expected = "Mapping version 1.0\nCleat=" + entry("Gap", "Cleat", "Distance Gap2") + L +
                                 entry("Grade", "", "GenVar gen_Grade") +
                                 "\nModule.Fin=" + entry("Bolts", "Fin", "PatternNrBolts1 P1") +
                                 "\nPlate=" + entry("Gap", "Plate", "Distance Gap3") + "\n";
    EXPECT_EQ(written, expected);

    // Writing the same again changes nothing; an empty mapping is stored as "T=".
    ASSERT_EQ(mapping.setMappingToFile("EndPlate", target), Acad::eOk);
    EXPECT_EQ(library.readFile("EndPlate.map"), expected);
    Kdr_String fresh = "New";
    ASSERT_EQ(ZxSSMapping().setMappingToFile("EndPlate", fresh), Acad::eOk);
    EXPECT_EQ(library.readFile("EndPlate.map"), expected + "New=\n");
}

TEST(ZxSSMappingFile, TextsThatWouldCorruptTheFileAreNotStored)
{
    ScratchLibrary library;
    ZxSSMapping mapping = mappingOf({
        binding("A\xBF"
                "B",
                "Plate", ZxMapObjType::Distance, "Gap"),
        binding("C",
                "Pl\x95"
                "ate",
                ZxMapObjType::Distance, "Gap"),
        binding("D", "Plate", ZxMapObjType::Distance,
                "G\xBF"
                "ap"),
        binding("E", "Plate", ZxMapObjType::Distance, "G\nap"),
        binding("F", "Plate", ZxMapObjType::Distance, "Gap"),
    });
    Kdr_String target = "T";
    ASSERT_EQ(mapping.setMappingToFile("S", target), Acad::eOk);
    EXPECT_EQ(library.readFile("S.map"),
              "Mapping version 1.0\nT=" + entry("F", "Plate", "Distance Gap") + "\n");

    for (const char* bad : {"A=B", "A\nB"})
    {
        Kdr_String badTarget = bad;
        EXPECT_EQ(mapping.setMappingToFile("S", badTarget), Acad::eInvalidInput);
    }
    EXPECT_EQ(library.readFile("S.map"),
              "Mapping version 1.0\nT=" + entry("F", "Plate", "Distance Gap") + "\n");
}

TEST(ZxSSMappingFile, AFailedWriteKeepsTheOldFile)
{
    ScratchLibrary library;
    const std::string original = testData("ThreeTargets.map");
    library.writeFile("EndPlate.map", original);
    ZxSSMapping mapping = mappingOf({binding("F", "Plate", ZxMapObjType::Distance, "Gap")});
    Kdr_String target = "Plate";
    host::CommandLineCapture capture;
    host::setWriteFailureForTesting(true);
    EXPECT_EQ(mapping.setMappingToFile("EndPlate", target), Acad::eInvalidInput);
    host::setWriteFailureForTesting(false);
    EXPECT_EQ(library.readFile("EndPlate.map"), original);
    EXPECT_NE(capture.text().find("EndPlate.map"), std::string::npos);
}
