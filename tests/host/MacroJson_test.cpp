#include "MacroJsonTestSupport.h"
#include "SampleMacro.h"
#include "TempFolder.h"
#include "host/FileFunctions.h"
#include "hostio/MacroJson.h"

#include <gtest/gtest.h>

namespace
{
const char* const kSamples[] = {"EndPlate.json", "Cleat.json"};

std::string samplePath(const char* name)
{
    return std::string(KALDOR_TEST_DATA "macros/") + name;
}
} // namespace

TEST(MacroJson, SampleEndPlateLoadsEveryPart)
{
    Kdr_DbMacro macro;
    MacroData data;
    std::string error;
    ASSERT_TRUE(loadMacroJson(samplePath("EndPlate.json"), macro, data, error)) << error;
    EXPECT_EQ(macro.name(), "EP-1");
    EXPECT_EQ(macro.macro().generalVariableValue("gen_Grade"), 235.0);
    EXPECT_TRUE(macro.macro().generalVariables()[2].isText);
    EXPECT_EQ(macro.baseProfileCount(), 2);
    EXPECT_EQ(macro.baseProfile(1).section(), "IPE-300");

    Kdr_StringArray names;
    ASSERT_TRUE(macro.macro().getModNamesOfGroup("Stiffener", names));
    EXPECT_EQ(names, (Kdr_StringArray{"Stiffener1", "Stiffener2"}));
    const Kdr_Module* module = nullptr;
    ASSERT_TRUE(macro.macro().findModule("Bolts", module));
    const auto& bolts = static_cast<const Kdr_BoltModule&>(*module);
    ASSERT_EQ(bolts.patterns().size(), 2u);
    EXPECT_TRUE(bolts.patterns()[0].reverseStart(false));
    EXPECT_TRUE(bolts.patterns()[1].reverseStart(true));
    ASSERT_TRUE(macro.macro().findModule("Haunch", module));
    EXPECT_EQ(static_cast<const Kdr_PrplModule&>(*module).memberCount(), 3);

    Kdr_String target;
    ASSERT_TRUE(macro.findStandardsTarget("BoltCheck", target));
    EXPECT_EQ(target, "Module.Bolts");

    EXPECT_EQ(data.tabCount(), 4);
    EXPECT_EQ(data.currentTab(), "Plate");
    const MacroTabData* tab = nullptr;
    ASSERT_TRUE(data.getTab(2, tab));
    const MacroBoltData* boltData = nullptr;
    ASSERT_TRUE(tab->getBoltData(boltData));
    EXPECT_EQ(boltData->assembly, "M20 8.8 DIN 931");
    EXPECT_EQ(boltData->switches, (std::array<int, 5>{1, 0, 1, 1, -1}));
    ASSERT_TRUE(data.getTab(3, tab));
    MacroProfProps props;
    ASSERT_TRUE(tab->getMergedPropsOfGroup("Web", props));
    EXPECT_EQ(props.memberName, "W1");
}

TEST(MacroJson, RoundTripPreservesEverything)
{
    TempFolder folder;
    for (const char* sample : kSamples)
    {
        Kdr_DbMacro macro;
        MacroData data;
        std::string error;
        ASSERT_TRUE(loadMacroJson(samplePath(sample), macro, data, error)) << error;
        ASSERT_TRUE(saveMacroJson(folder.path(sample), macro, data, error)) << error;
        Kdr_DbMacro again;
        MacroData againData;
        ASSERT_TRUE(loadMacroJson(folder.path(sample), again, againData, error)) << error;
        EXPECT_TRUE(again.sameContents(macro)) << sample;
        EXPECT_EQ(againData, data) << sample;

        // Saving what was loaded gives the same bytes again.
        std::string first, second;
        ASSERT_TRUE(formatMacroJson(macro, data, first, error));
        ASSERT_TRUE(formatMacroJson(again, againData, second, error));
        EXPECT_EQ(first, second);
    }
}

TEST(MacroJson, ModelBuiltInCodeRoundTrips)
{
    Kdr_DbMacro macro;
    MacroData data;
    buildSampleMacro(macro, data);
    auto* bolts = static_cast<Kdr_BoltModule*>(&macro.macro().module(2));
    bolts->findPatternById(1)->setReverseStart(false, true);
    Kdr_Module* plate = nullptr;
    ASSERT_TRUE(macro.macro().findModuleWrite("Plate2", plate));
    plate->findCut("Hole")->values = {0.1, 1e-9, -3.5, 1e300, 0, 0, 0, 0, 2.0 / 3.0};
    macro.standardsTargets().push_back({"EndPlate", "Plate"});
    data.setCurrentTab("Bolts");

    std::string text, error;
    ASSERT_TRUE(formatMacroJson(macro, data, text, error)) << error;
    Kdr_DbMacro loaded;
    MacroData loadedData;
    ASSERT_TRUE(parseMacroJson(text, "memory", loaded, loadedData, error)) << error;
    EXPECT_TRUE(loaded.sameContents(macro));
    EXPECT_EQ(loadedData, data);
}

TEST(MacroJson, TextsThatJsonCannotCarryAreNotSaved)
{
    TempFolder folder;
    const std::string path = folder.path("m.json");
    ASSERT_TRUE(host::writeFileAtomically(path, "old"));
    Kdr_DbMacro macro("Ori\xEBntatie");
    MacroData data;
    std::string error;
    EXPECT_FALSE(saveMacroJson(path, macro, data, error));
    EXPECT_EQ(error, path + ": /name: the text is not valid UTF-8 and cannot be saved");
    std::string bytes;
    ASSERT_TRUE(host::readFileBytes(path, bytes));
    EXPECT_EQ(bytes, "old");

    macro.setName("Ori\xC3\xABntatie");
    ASSERT_TRUE(saveMacroJson(path, macro, data, error)) << error;
    Kdr_DbMacro loaded;
    ASSERT_TRUE(loadMacroJson(path, loaded, data, error)) << error;
    EXPECT_EQ(loaded.name(), "Ori\xC3\xABntatie");
}

TEST(MacroJson, MalformedFilesNameThePlaceAndWhatWasExpected)
{
    const std::pair<std::string, std::string> cases[] = {
        {R"({"name": "M", "modules": [{"name": "P", "variables": [{"name": "A"}, {"name": "B"},
            {"name": "C", "value": true}]}]})",
         "test.json: /modules/0/variables/2/value: expected a string or a number"},
        {R"({"name": "M", "colour": 1})", "test.json: /colour: unknown key"},
        {R"({"modules": []})", "test.json: /name: missing; expected a string"},
        {R"([1, 2])", "test.json: /: expected an object"},
        {R"({"name": "M", "modules": [{"name": "P", "kind": "weld"}]})",
         "test.json: /modules/0/kind: expected \"module\", \"bolt\" or \"placement\""},
        {R"({"name": "M", "modules": [{"name": "P", "patterns": []}]})",
         "test.json: /modules/0/patterns: unknown key"},
        {R"({"name": "M", "modules": [{"name": "P"}, {"name": "p"}]})",
         "test.json: /modules/1/name: expected a name not used by another module"},
        {R"({"name": "M", "modules": [{"name": "P", "cuts": [{"name": "H", "type": 8}]}]})",
         "test.json: /modules/0/cuts/0/type: expected a whole number from 0 to 7"},
        {R"({"name": "M", "modules": [{"name": "P", "cuts": [{"name": "H", "values": [1, 2]}]}]})",
         "test.json: /modules/0/cuts/0/values: expected an array of 9 numbers"},
        {R"({"name": "M", "modules": [{"name": "B", "kind": "bolt", "patterns": [{"id": 1, "name": "P",
            "reverse2": true}]}]})",
         "test.json: /modules/0/patterns/0/reverse2: expected false for a pattern without a second "
         "direction"},
        {R"({"name": "M", "modules": [{"name": "B", "kind": "bolt", "patterns": [{"id": 1, "name": "P"},
            {"id": 1, "name": "Q"}]}]})",
         "test.json: /modules/0/patterns/1/id: expected an id not used by another pattern of the module"},
        {R"({"name": "M", "generalVariables": [{"name": "gen_A", "value": [1]}]})",
         "test.json: /generalVariables/0/value: expected a number or a string"},
        {R"({"name": "M", "tabs": [{"name": "T", "cells": [{"name": "C", "kind": 6}]}]})",
         "test.json: /tabs/0/cells/0/kind: expected a whole number from 1 to 5"},
        {R"({"name": "M", "tabs": [{"name": "T", "boltData": {"flags": [0, 0, 3, 0]}}]})",
         "test.json: /tabs/0/boltData/flags/2: expected a whole number from 0 to 2"},
        {R"({"name": "M", "tabs": [{"name": "T", "flexFix": [{"group": "G", "members": [{"fixed": true}]}]}]})",
         "test.json: /tabs/0/flexFix/0/members/0/name: missing; expected a string"},
        {R"({"name": "M", "standards": [{"sheet": "S", "target": "A"}, {"sheet": "s", "target": "B"}]})",
         "test.json: /standards/1/sheet: expected a sheet name not used by another entry"},
        {R"({"name": "M", "a/b~c": 1})", "test.json: /a~1b~0c: unknown key"},
        {"{\"name\": \"M\",\n  \"modules\": [}\n",
         "test.json: line 2, column 15: syntax error while parsing value - "
         "unexpected '}'; expected '[', '{', or a literal"},
        {"", "test.json: line 1, column 1: syntax error while parsing value - unexpected end of input; "
             "expected '[', "
             "'{', or a literal"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(macroProblemOf("test.json", text), message);
}

TEST(MacroJson, MissingFileIsReportedWithItsName)
{
    Kdr_DbMacro macro;
    MacroData data;
    std::string error;
    EXPECT_FALSE(loadMacroJson(samplePath("Absent.json"), macro, data, error));
    EXPECT_NE(error.find("Absent.json"), std::string::npos);
}

TEST(MacroJson, TruncatedAndCorruptedFilesFailWithoutHarm)
{
    std::string text;
    ASSERT_TRUE(host::readFileBytes(samplePath("EndPlate.json"), text));
    Kdr_DbMacro macro("untouched");
    MacroData data;
    std::string error;
    for (size_t length = 0; length + 1 < text.size(); length += 53)
    {
        EXPECT_FALSE(parseMacroJson(text.substr(0, length), "cut.json", macro, data, error)) << length;
        EXPECT_EQ(error.rfind("cut.json: ", 0), 0u);
    }
    // Every byte replaced in turn by one that breaks the syntax or a type somewhere.
    for (size_t at = 0; at < text.size(); at += 41)
    {
        std::string corrupted = text;
        corrupted[at] = corrupted[at] == '"' ? '\x01' : '"';
        parseMacroJson(corrupted, "bad.json", macro, data, error);
    }
    EXPECT_EQ(macro.name(), "untouched");
}
