#include "SampleMacro.h"
#include "host/Kdr_Macro.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Kdr_Macro, ModulesByNameAndByGroup)
{
    Kdr_DbMacro dbMacro;
    MacroData data;
    buildSampleMacro(dbMacro, data);
    Kdr_Macro& macro = dbMacro.macro();

    Kdr_StringArray names;
    macro.getModuleNames(names);
    EXPECT_EQ(names, (Kdr_StringArray{"Plate1", "Plate2", "Bolts", "Haunch"}));

    // A group lists its modules; a module without a group is its own group.
    ASSERT_TRUE(macro.getModNamesOfGroup("plate", names));
    EXPECT_EQ(names, (Kdr_StringArray{"Plate1", "Plate2"}));
    ASSERT_TRUE(macro.getModNamesOfGroup("Bolts", names));
    EXPECT_EQ(names, (Kdr_StringArray{"Bolts"}));
    EXPECT_FALSE(macro.getModNamesOfGroup("Plate1", names));
    EXPECT_FALSE(macro.getModNamesOfGroup("", names));
    EXPECT_TRUE(names.isEmpty());

    const Kdr_Module* module = nullptr;
    ASSERT_TRUE(macro.findModule("BOLTS", module));
    EXPECT_EQ(module->classNumber(), 232);
    ASSERT_TRUE(macro.findModule("Haunch", module));
    EXPECT_EQ(module->classNumber(), 233);
    ASSERT_TRUE(macro.findModule("Plate1", module));
    EXPECT_EQ(module->classNumber(), 230);
    EXPECT_FALSE(macro.findModule("Cleat", module));

    // Names are unique without regard to case.
    EXPECT_FALSE(macro.addModule(std::make_unique<Kdr_Module>("plate1", "")));
    EXPECT_FALSE(macro.addModule(std::make_unique<Kdr_Module>("", "Plate")));
    EXPECT_EQ(macro.moduleCount(), 4);
}

TEST(Kdr_Macro, GeneralVariablesAreDefinedByTheMacro)
{
    Kdr_Macro macro;
    ASSERT_TRUE(macro.addGeneralVariable({"gen_Width", 150.0, "", false}));
    ASSERT_TRUE(macro.addGeneralVariable({"gen_Code", 0.0, "12.5 mm", true}));
    EXPECT_FALSE(macro.addGeneralVariable({"GEN_WIDTH", 1.0, "", false}));

    Kdr_StringArray names;
    macro.getGeneralVariables(names);
    EXPECT_EQ(names, (Kdr_StringArray{"gen_Width", "gen_Code"}));
    EXPECT_EQ(macro.generalVariableValue("gen_width"), 150.0);
    EXPECT_EQ(macro.generalVariableValue("gen_Code"), 12.5);
    EXPECT_EQ(macro.generalVariableValue("gen_Missing"), 0.0);

    EXPECT_EQ(macro.setGeneralVariable("gen_Code", 14.0), Acad::eOk);
    EXPECT_EQ(macro.generalVariableValue("gen_Code"), 14.0);
    EXPECT_FALSE(macro.generalVariables()[1].isText);
    EXPECT_EQ(macro.setGeneralVariable("gen_Missing", 1.0), Acad::eKeyNotFound);
    EXPECT_EQ(macro.setGeneralVariable("gen_Width", std::nan("")), Acad::eInvalidInput);
    EXPECT_EQ(macro.setGeneralVariable("gen_Width", INFINITY), Acad::eInvalidInput);
    EXPECT_EQ(macro.generalVariableValue("gen_Width"), 150.0);
    macro.getGeneralVariables(names);
    EXPECT_EQ(names.length(), 2);
}

TEST(Kdr_Macro, CopiesAreDeepAndIndependent)
{
    Kdr_DbMacro original;
    MacroData data;
    buildSampleMacro(original, data);
    Kdr_DbMacro copy(original);
    EXPECT_TRUE(copy.sameContents(original));
    EXPECT_NE(copy.objectId(), original.objectId());

    Kdr_Module* plate = nullptr;
    ASSERT_TRUE(copy.macro().findModuleWrite("Plate1", plate));
    plate->findDialogVariable("Gap")->value = "99";
    auto* bolts = static_cast<Kdr_BoltModule*>(&copy.macro().module(2));
    bolts->findPatternById(1)->setReverseStart(false, true);
    EXPECT_FALSE(copy.sameContents(original));

    const Kdr_Module* originalPlate = nullptr;
    ASSERT_TRUE(original.macro().findModule("Plate1", originalPlate));
    EXPECT_EQ(originalPlate->findDialogVariable("Gap")->value, "10");
    EXPECT_FALSE(static_cast<const Kdr_BoltModule&>(original.macro().module(2))
                     .findPatternById(1)
                     ->reverseStart(false));

    // Assignment copies contents but keeps the target's identity.
    const AcDbObjectId before = copy.objectId();
    copy = original;
    EXPECT_EQ(copy.objectId(), before);
    EXPECT_TRUE(copy.sameContents(original));
}

TEST(Kdr_DbMacro, WriteStateAndStandardsTargets)
{
    Kdr_DbMacro macro("EP");
    EXPECT_EQ(macro.assertWriteEnabled(), Acad::eOk);
    macro.setWriteEnabled(false);
    EXPECT_EQ(macro.assertWriteEnabled(), Acad::eNotOpenForWrite);

    macro.standardsTargets().push_back({"EndPlate", "Plate"});
    Kdr_String target;
    ASSERT_TRUE(macro.findStandardsTarget("endplate", target));
    EXPECT_EQ(target, "Plate");
    EXPECT_FALSE(macro.findStandardsTarget("Cleat", target));
}

TEST(Kdr_BoltPattern, SecondDirectionOnlyWithALayoutForIt)
{
    Kdr_BoltPattern pattern(3, "P", true);
    EXPECT_TRUE(pattern.setReverseStart(false, true));
    EXPECT_TRUE(pattern.reverseStart(false));
    pattern.setTwoDirections(false);
    EXPECT_EQ(pattern.layoutClassNumber(), 281);
    EXPECT_FALSE(pattern.reverseStart(false));
    EXPECT_FALSE(pattern.setReverseStart(false, true));
    pattern.setTwoDirections(true);
    EXPECT_FALSE(pattern.reverseStart(false));
}
