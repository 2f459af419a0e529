#pragma once

#include "StandardsTestSupport.h"
#include "host/Kdr_BoltModule.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/SectionTables.h"
#include "hostio/MacroJson.h"
#include "standards/ZxDlgStandardsData.h"

#include <gtest/gtest.h>

namespace standards_test
{
/// A scratch library with section tables and the standards test macro loaded: two modules of
/// group "Plate", a bolt module "Bolts", a placement module of group "Members", three base
/// profiles and two general variables.
class MacroTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library.copySectionTables();
        gSectionTables.reset();
        std::string error;
        ASSERT_TRUE(loadMacroJson(std::string(KALDOR_TEST_DATA) + "standards/StandardsMacro.json", macro,
                                  data, error))
            << error;
        request.dbMacro = &macro;
        request.macroData = &data;
        request.fileName = "EndPlate";
    }
    void TearDown() override { gSectionTables.reset(); }

    Kdr_Module& module(const char* name)
    {
        Kdr_Module* found = nullptr;
        EXPECT_TRUE(macro.macro().findModuleWrite(name, found)) << name;
        return *found;
    }
    Kdr_String variable(const char* moduleName, const char* name)
    {
        const Kdr_DialogVariable* found = module(moduleName).findDialogVariable(name);
        return found ? found->value : Kdr_String("<none>");
    }
    MacroTabData& tab(const char* name)
    {
        int index = -1;
        MacroTabData* found = nullptr;
        EXPECT_TRUE(data.findTab(name, index) && data.getTab(index, found)) << name;
        return *found;
    }
    bool reverseFlag(const char* patternName, bool direction1)
    {
        auto& bolts = dynamic_cast<Kdr_BoltModule&>(module("Bolts"));
        return bolts.findPatternByName(patternName)->reverseStart(direction1);
    }

    ScratchLibrary library;
    Kdr_DbMacro macro;
    MacroData data;
    ZxDlgStandardsData request;
};
} // namespace standards_test
