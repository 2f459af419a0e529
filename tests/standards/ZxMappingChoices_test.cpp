#include "StandardsTestSupport.h"
#include "host/FileFunctions.h"
#include "standards/ZxMappingChoices.h"

#include <filesystem>
#include <gtest/gtest.h>

using standards_test::ScratchLibrary;

namespace
{
ZxObjectMap offered(const char* object, ZxMapObjType kind, const char* var, const char* description = "")
{
    ZxObjectMap map;
    map.objectName = object;
    map.objType = kind;
    map.varName = var;
    map.description = description;
    map.visibility = VisibleSettable;
    return map;
}

ZxVarCell cell(const char* name, ZxCellType type, ZxValueType valueType)
{
    ZxVarCell c;
    c.name = name;
    c.cellType = type;
    c.valueType = valueType;
    return c;
}

/// A small catalogue: dialog variables, a cut, bolt values, a pattern, a section, a general
/// variable, in this order.
ZxSSMapping catalogue()
{
    ZxSSMapping mapping;
    for (const ZxObjectMap& map :
         {offered("Plate", ZxMapObjType::Distance, "Gap"), offered("Plate", ZxMapObjType::CutRadius, "Hole"),
          offered("Plate", ZxMapObjType::BoltsDiameter, ""),
          offered("Plate", ZxMapObjType::PatternNrBolts1, "Upper"),
          offered("", ZxMapObjType::PrPlName, "Prof0"),
          offered("", ZxMapObjType::MemberSectionSize, "Prof1;2", "tw"),
          offered("", ZxMapObjType::GenVar, "gen_W"),
          offered("Plate", ZxMapObjType::PatternReverseStart1, "Upper")})
        mapping.mappedObjectsWrite().append(map);
    return mapping;
}

ZxVarCells sheetCells()
{
    // Collection order puts every Input first, but the page must not rely on that.
    ZxVarCells cells;
    cells.append(cell("Width", cellInput, valDouble));
    cells.append(cell("Count", cellOutput, valInt));
    cells.append(cell("Section", cellInput, valString));
    cells.append(cell("Scratch", cellLocal, valDouble));
    cells.append(cell("Bolts", cellOutput, valString));
    return cells;
}

ZxSSMapping boundTo(const char* ssVar, const ZxObjectMap& map)
{
    ZxSSMapping mapping;
    ZxObjectMap binding = map;
    binding.ssVarName = ssVar;
    binding.visibility = HiddenFixed;
    binding.description.clear();
    mapping.mappedObjectsWrite().append(binding);
    return mapping;
}

const char* const kStoredFile = "Mapping version 1.0\n"
                                "OLD=Width\x83Plate\x95"
                                "Distance Gap\n"
                                "KEEP=Count\x83Plate\x95"
                                "Distance Gap\n";
} // namespace

TEST(MappingChoices, BindingTextsAreTheChoiceListItems)
{
    const ZxSSMapping all = catalogue();
    const char* const expected[] = {"Plate.Gap",           "Plate.Hole.CutRadius",
                                    "Plate.BoltsDiameter", "Plate.Upper.PatternNrBolts1",
                                    "Prof0.PrPlName",      "Prof1;2tw",
                                    "gen_W.GenVar",        "Plate.Upper.PatternReverseStart1"};
    for (int i = 0; i < all.mappedObjects().length(); ++i)
        EXPECT_EQ(bindingText(all.mappedObjects()[i]), expected[i]);
}

TEST(MappingChoices, RowsListInputsThenOutputsWithChoicesOfTheirValueKind)
{
    const ZxVarCells cells = sheetCells();
    const ZxSSMapping offer = catalogue();
    const std::vector<ZxVariableChoices> rows = variableChoices(cells, offer, ZxSSMapping());
    ASSERT_EQ(rows.size(), 4u) << "Local variables are not bound";
    EXPECT_EQ(choiceVariableNames(cells, rows), Kdr_StringArray({"Width", "Section", "Count", "Bolts"}));

    // Numeric variables take numeric kinds (an Int kind too); String variables String kinds.
    EXPECT_EQ(rows[0].indices, AcArray<int>({0, 1, 2, 5, 6, 7}));
    EXPECT_EQ(rows[1].indices, AcArray<int>({3, 4}));
    EXPECT_EQ(rows[2].indices, rows[0].indices);
    for (const ZxVariableChoices& row : rows)
        EXPECT_EQ(row.selected, -1) << "nothing is preselected without a stored mapping";
}

TEST(MappingChoices, StoredBindingIsPreselectedWhenTheCatalogueHasIt)
{
    const ZxVarCells cells = sheetCells();
    const ZxSSMapping offer = catalogue();
    // Letter case of the object differs: bindings compare without case.
    const std::vector<ZxVariableChoices> rows =
        variableChoices(cells, offer, boundTo("width", offered("PLATE", ZxMapObjType::CutRadius, "hole")));
    EXPECT_EQ(rows[0].selected, 1);
    EXPECT_EQ(rows[0].chosenIndex(), 1);

    // A binding the macro does not offer, or of the other value kind, selects nothing.
    EXPECT_EQ(
        variableChoices(cells, offer, boundTo("Width", offered("Other", ZxMapObjType::Distance, "Gap")))[0]
            .selected,
        -1);
    EXPECT_EQ(
        variableChoices(cells, offer, boundTo("Section", offered("Plate", ZxMapObjType::Distance, "Gap")))[1]
            .selected,
        -1);
}

TEST(MappingChoices, MappingFromChoicesKeepsOnlyWhatIdentifiesTheVariable)
{
    const ZxVarCells cells = sheetCells();
    const ZxSSMapping offer = catalogue();
    std::vector<ZxVariableChoices> rows = variableChoices(cells, offer, ZxSSMapping());
    rows[0].selected = 3; // Width -> Prof1;2tw
    rows[1].selected = 1; // Section -> Prof0.PrPlName
    rows[3].selected = 7; // out of range: no binding
    const ZxSSMapping mapping = mappingFromChoices(cells, offer, rows);
    ASSERT_EQ(mapping.mappedObjects().length(), 2);
    const ZxObjectMap& width = mapping.mappedObjects()[0];
    EXPECT_EQ(width.ssVarName, "Width");
    EXPECT_EQ(width.objType, ZxMapObjType::MemberSectionSize);
    EXPECT_EQ(width.varName, "Prof1;2");
    EXPECT_EQ(width.visibility, HiddenFixed);
    EXPECT_TRUE(width.description.empty());
    EXPECT_EQ(mapping.mappedObjects()[1].ssVarName, "Section");
}

TEST(MappingChoices, StoringUnchangedBindingsWritesNothing)
{
    ScratchLibrary library;
    library.writeFile("Sheet.map", kStoredFile);
    Kdr_String target = "OLD";
    EXPECT_EQ(
        storeSheetMapping("Sheet", target, boundTo("WIDTH", offered("plate", ZxMapObjType::Distance, "gap"))),
        ZxMappingStore::Unchanged);
    EXPECT_EQ(target, "OLD");
    EXPECT_EQ(library.readFile("Sheet.map"), kStoredFile);

    // No binding chosen and none stored: nothing to keep, and no key.
    target.clear();
    EXPECT_EQ(storeSheetMapping("Other", target, ZxSSMapping()), ZxMappingStore::Unchanged);
    EXPECT_TRUE(target.empty());
    EXPECT_FALSE(std::filesystem::exists(library.standards() / "Other.map"));
}

TEST(MappingChoices, StoringChangedBindingsAppendsALineUnderAFreshKey)
{
    ScratchLibrary library;
    library.writeFile("Sheet.map", kStoredFile);
    Kdr_String target = "OLD";
    ASSERT_EQ(
        storeSheetMapping("Sheet", target, boundTo("Width", offered("", ZxMapObjType::GenVar, "gen_W"))),
        ZxMappingStore::Stored);
    ASSERT_EQ(target.length(), kMappingKeyLength);
    for (char c : target)
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << target;
    EXPECT_EQ(library.readFile("Sheet.map"),
              std::string(kStoredFile) + target + "=Width\x83\x95GenVar gen_W\n");

    // A target that has no line yet (a module group before) gets a key of its own too.
    Kdr_String fromModule;
    ASSERT_EQ(storeSheetMapping("New", fromModule,
                                boundTo("Width", offered("Plate", ZxMapObjType::Distance, "Gap"))),
              ZxMappingStore::Stored);
    EXPECT_EQ(library.readFile("New.map"), "Mapping version 1.0\n" + fromModule +
                                               "=Width\x83Plate\x95"
                                               "Distance Gap\n");
}

TEST(MappingChoices, AFailedWriteKeepsTheTarget)
{
    ScratchLibrary library;
    library.writeFile("Sheet.map", kStoredFile);
    Kdr_String target = "OLD";
    host::setWriteFailureForTesting(true);
    const ZxMappingStore result =
        storeSheetMapping("Sheet", target, boundTo("Width", offered("", ZxMapObjType::GenVar, "gen_W")));
    host::setWriteFailureForTesting(false);
    EXPECT_EQ(result, ZxMappingStore::Failed);
    EXPECT_EQ(target, "OLD") << "the macro must not point at a line that was never written";
    EXPECT_EQ(library.readFile("Sheet.map"), kStoredFile);
}

TEST(MappingFile, SheetNamedByAnExistingPathKeepsItsMappingFileBesideIt)
{
    ScratchLibrary library;
    library.writeFile("FinPlate.zxs", "");
    const std::filesystem::path elsewhere = library.root() / "work";
    std::filesystem::create_directories(elsewhere / "sheets");
    std::ofstream(elsewhere / "sheets" / "FinPlate.zxs") << "";

    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);
    const Kdr_String relative = ZxSSMapping::mappingFilePath("sheets/FinPlate.zxs");
    const Kdr_String bare = ZxSSMapping::mappingFilePath("FinPlate");
    const Kdr_String missing = ZxSSMapping::mappingFilePath("nowhere/FinPlate.zxs");
    std::filesystem::current_path(previous);

    EXPECT_EQ(relative, "sheets/FinPlate.map");
    EXPECT_EQ(bare, library.root().string() + "/Connection Standards/FinPlate.map");
    EXPECT_EQ(missing, library.root().string() + "/Connection Standards/nowhere/FinPlate.map");
    EXPECT_EQ(ZxSSMapping::mappingFilePath((elsewhere / "sheets" / "FinPlate.zxs").string()),
              (elsewhere / "sheets" / "FinPlate.map").string());
}
