#include "MacroFixture.h"
#include "standards/ZxSSMapping.h"

namespace
{
using standards_test::MacroTest;

/// Module-group mode: the sheet variable's own name addresses the macro variable.
class ModuleGroupAccess : public MacroTest
{
protected:
    Acad::ErrorStatus read(const char* group, const char* name, ZxValueType type, Kdr_String& value)
    {
        request.moduleGroup = group;
        ZxSSMapping mapping;
        EXPECT_EQ(mapping.initFromModuleGroup(group), Acad::eOk);
        return mapping.getMacroVarValue(name, type, value, request);
    }
    Acad::ErrorStatus write(const char* group, const char* name, ZxValueType type, Kdr_String value)
    {
        request.moduleGroup = group;
        ZxSSMapping mapping;
        EXPECT_EQ(mapping.initFromModuleGroup(group), Acad::eOk);
        return mapping.setMacroVarValue(name, type, value, request);
    }
};
} // namespace

TEST_F(ModuleGroupAccess, NameFormsReadTheirVariables)
{
    struct Case
    {
        const char* group;
        const char* name;
        ZxValueType type;
        Acad::ErrorStatus status;
        const char* value;
    } cases[] = {
        // The first module of the group that has the variable answers.
        {"Plate", "Gap", valDouble, Acad::eOk, "10"},
        {"Plate", "Gap2", valInt, Acad::eOk, "7"},
        {"Plate", "Nothing", valDouble, Acad::eInvalidInput, "keep"},
        {"Plate", "Gap", valString, Acad::eInvalidInput, "keep"},
        {"Nobody", "Gap", valDouble, Acad::eInvalidInput, "keep"},
        // General variables, numeric only, with 4 decimals.
        {"Plate", "gen.Width", valDouble, Acad::eOk, "150.1235"},
        {"Plate", "gen.Missing", valDouble, Acad::eInvalidInput, "keep"},
        {"Plate", "gen.Width", valString, Acad::eInvalidInput, "keep"},
        // Cut values by suffix.
        {"Plate", "Hole.CutRadius", valDouble, Acad::eOk, "5"},
        {"Plate", "Hole.Cut", valDouble, Acad::eOk, "3"},
        {"Plate", "Hole.CutPoly", valDouble, Acad::eOk, "0"},
        {"Plate", "Nothing.Cut", valDouble, Acad::eInvalidInput, "keep"},
        // Member placements and member groups.
        {"Members", "Web.Name", valString, Acad::eOk, "IPE-160"},
        {"Members", "Flange.Material", valString, Acad::eOk, "S355"},
        {"Members", "Web.MemberName", valString, Acad::eOk, "W1"},
        {"Members", "Nothing.Name", valString, Acad::eInvalidInput, "keep"},
        {"Members", "Web.Anything", valString, Acad::eInvalidInput, "keep"},
        // Bolts.
        {"Bolts", "Any.Diameter", valDouble, Acad::eOk, "20"},
        {"Bolts", "x.HoleOffset", valInt, Acad::eOk, "2"},
        {"Plate", "x.Diameter", valDouble, Acad::eInvalidInput, "keep"},
        {"Bolts", "Upper.NrBolts1", valString, Acad::eOk, "3"},
        {"Bolts", "Upper.NrBolts2", valInt, Acad::eOk, "2"},
        {"Bolts", "Lower.NrBolts2", valInt, Acad::eInvalidInput, "keep"},
        {"Bolts", "Upper.ReverseStart1", valInt, Acad::eOk, "1"},
        {"Bolts", "Upper.ReverseStart2", valInt, Acad::eOk, "0"},
        {"Plate", "Upper.ReverseStart1", valInt, Acad::eInvalidInput, "keep"},
        {"Bolts", "Pitch", valDouble, Acad::eOk, "90"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.group) + " " + c.name + " type " + std::to_string(c.type));
        Kdr_String value = "keep";
        EXPECT_EQ(read(c.group, c.name, c.type, value), c.status);
        EXPECT_EQ(value, c.value);
    }
}

TEST_F(ModuleGroupAccess, WritesReachEveryModuleAndRefuseReadOnlyNames)
{
    EXPECT_EQ(write("Plate", "Gap", valDouble, "25"), Acad::eOk);
    EXPECT_EQ(variable("Plate1", "Gap"), "25");
    EXPECT_EQ(variable("Plate2", "Gap"), "25");
    EXPECT_EQ(write("Plate", "gen.Width", valDouble, "99.5"), Acad::eOk);
    EXPECT_EQ(macro.macro().generalVariableValue("gen_Width"), 99.5);
    EXPECT_EQ(write("Plate", "Hole.Cut", valDouble, "8"), Acad::eOk);
    EXPECT_EQ(module("Plate1").findCut("Hole")->values[0], 8.0);
    EXPECT_EQ(write("Members", "Web.MemberName", valString, "W2"), Acad::eOk);

    EXPECT_EQ(write("Members", "Web.Name", valString, "HEA-200"), Acad::eInvalidInput);
    EXPECT_EQ(write("Plate", "gen.Nothing", valDouble, "1"), Acad::eInvalidInput);
    EXPECT_EQ(write("Plate", "Gap", valDouble, "#VALUE!"), Acad::eInvalidInput);
    EXPECT_EQ(variable("Plate2", "Gap"), "25");

    Kdr_String value;
    EXPECT_EQ(read("Members", "Web.MemberName", valString, value), Acad::eOk);
    EXPECT_EQ(value, "W2");
    EXPECT_EQ(read("Members", "Web.Name", valString, value), Acad::eOk);
    EXPECT_EQ(value, "IPE-160");
}

TEST_F(ModuleGroupAccess, AReverseStartFlagPassedThroughStaysAsItWas)
{
    for (const char* name : {"Upper.ReverseStart1", "Upper.ReverseStart2", "Lower.ReverseStart1"})
    {
        SCOPED_TRACE(name);
        const bool direction1 = Kdr_String(name).endsWith("1", false);
        const char* pattern = Kdr_String(name).startsWith("Upper", false) ? "Upper" : "Lower";
        const bool before = reverseFlag(pattern, direction1);
        Kdr_String value;
        ASSERT_EQ(read("Bolts", name, valInt, value), Acad::eOk);
        EXPECT_EQ(value, before ? "1" : "0");
        ASSERT_EQ(write("Bolts", name, valDouble, value), Acad::eOk);
        EXPECT_EQ(reverseFlag(pattern, direction1), before);
    }
    ASSERT_EQ(write("Bolts", "Lower.ReverseStart1", valInt, "1"), Acad::eOk);
    EXPECT_TRUE(reverseFlag("Lower", true));
}

TEST_F(MacroTest, BindingsFindTheirVariableForEveryNumericType)
{
    // An Int sheet variable bound to a Double kind is read and written like a Double one.
    ZxSSMapping mapping;
    ZxObjectMap map;
    map.ssVarName = "PlateGap";
    map.objectName = "Plate";
    map.objType = ZxMapObjType::Distance;
    map.varName = "Gap";
    mapping.mappedObjectsWrite().append(map);
    mapping.setMode(mapFile);

    Kdr_String value;
    ASSERT_EQ(mapping.getMacroVarValue("plategap", valInt, value, request), Acad::eOk);
    EXPECT_EQ(value, "12");
    value = "30";
    ASSERT_EQ(mapping.setMacroVarValue("PlateGap", valInt, value, request), Acad::eOk);
    EXPECT_EQ(variable("Plate1", "Gap"), "30");
    EXPECT_EQ(mapping.getMacroVarValue("PlateGap", valString, value, request), Acad::eInvalidInput);
    EXPECT_EQ(mapping.getMacroVarValue("Other", valDouble, value, request), Acad::eInvalidInput);

    request.dbMacro = nullptr;
    EXPECT_EQ(mapping.getMacroVarValue("PlateGap", valInt, value, request), Acad::eInvalidInput);
}

TEST_F(MacroTest, InitFromMacroLoadsTheTargetOfTheSheet)
{
    library.writeFile("EndPlate.map", "Mapping version 1.0\nEP=W\x83Plate\x95"
                                      "Distance Width\n");
    request.target = "EP";
    ZxSSMapping mapping;
    ASSERT_EQ(mapping.initFromMacro(request), Acad::eOk);
    EXPECT_EQ(mapping.mode(), mapFile);
    ASSERT_EQ(mapping.mappedObjects().length(), 1);

    // The sheet may be named with its extension or by its full path.
    for (Kdr_String name :
         {Kdr_String("EndPlate.zxs"), Kdr_String((library.standards() / "EndPlate").string())})
    {
        request.fileName = name;
        ZxSSMapping again;
        EXPECT_EQ(again.initFromMacro(request), Acad::eOk) << name;
        EXPECT_EQ(again.mappedObjects().length(), 1);
    }

    request.moduleGroup = "Plate";
    EXPECT_EQ(ZxSSMapping().initFromMacro(request), Acad::eInvalidInput);
    request.moduleGroup = "";
    request.dbMacro = nullptr;
    EXPECT_EQ(ZxSSMapping().initFromMacro(request), Acad::eInvalidInput);
}
