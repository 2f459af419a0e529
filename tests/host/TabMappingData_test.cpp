#include "SampleMacro.h"
#include "TempFolder.h"
#include "host/TabMappingData.h"
#include "hostio/TabMappingJson.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{
TabMappingData record(std::initializer_list<std::pair<const char*, const char*>> sheets)
{
    TabMappingData data;
    for (const auto& [name, target] : sheets)
    {
        data.names().append(name);
        data.targets().append(target);
    }
    return data;
}

std::string pageProblemOf(const std::string& text)
{
    TabMappingData data = record({{"Kept", "K"}});
    std::string error;
    EXPECT_FALSE(parseTabMappingJson(text, "page.json", data, error)) << text;
    EXPECT_EQ(data.names(), Kdr_StringArray({"Kept"})) << "a failed read changes nothing";
    return error;
}
} // namespace

TEST(TabMappingData, GetMappingPrefersTheRowThenTheFirstSheetOfTheName)
{
    const TabMappingData data =
        record({{"FinPlate", "KEY1"}, {"EndPlate", "Module.Plate"}, {"FinPlate", "KEY2"}});
    EXPECT_EQ(data.getMapping("FinPlate", 2), "KEY2");
    EXPECT_EQ(data.getMapping("finplate", 0), "KEY1");
    // A row that now holds another sheet does not hand its target to the new one.
    EXPECT_EQ(data.getMapping("FinPlate", 1), "KEY1");
    EXPECT_EQ(data.getMapping("Other", 1), "");
    EXPECT_EQ(data.getMapping("EndPlate", -1), "Module.Plate");
}

TEST(TabMappingData, FilledFromAMacroAndPutBack)
{
    Kdr_DbMacro macro;
    MacroData dialogData;
    buildSampleMacro(macro, dialogData);
    macro.standardsTargets() = {{"EndPlate", "Module.Plate"}, {"FinPlate", "BeamWeb"}};

    TabMappingData data;
    data.initFromMacro(macro);
    EXPECT_EQ(data.names(), Kdr_StringArray({"EndPlate", "FinPlate"}));
    EXPECT_EQ(data.targets(), Kdr_StringArray({"Module.Plate", "BeamWeb"}));
    // Two modules of group Plate count once; a module without a group by its name.
    ASSERT_FALSE(data.moduleGroups().isEmpty());
    EXPECT_EQ(data.moduleGroups()[0], "Plate");
    EXPECT_EQ(std::count(data.moduleGroups().begin(), data.moduleGroups().end(), Kdr_String("Plate")), 1);

    data.names().insertAt(0, "");
    data.targets().insertAt(0, "");
    data.targets()[2] = "NEWKEY";
    data.applyToMacro(macro);
    EXPECT_EQ(macro.standardsTargets(),
              (std::vector<Kdr_StandardsTarget>{{"EndPlate", "Module.Plate"}, {"FinPlate", "NEWKEY"}}))
        << "a row without a sheet is not attached";
}

TEST(TabMappingJson, RoundTripsThroughAFile)
{
    TempFolder folder;
    TabMappingData data = record({{"FinPlate", "BeamWeb"}, {"Sub/Other", ""}});
    data.moduleGroups() = {"FinPlate", "FinBolts"};
    std::string error;
    ASSERT_TRUE(saveTabMappingJson(folder.path("page.json"), data, error)) << error;
    EXPECT_EQ(folder.read("page.json"),
              "{\n"
              "  \"sheets\": [\n"
              "    {\n      \"name\": \"FinPlate\",\n      \"target\": \"BeamWeb\"\n    },\n"
              "    {\n      \"name\": \"Sub/Other\",\n      \"target\": \"\"\n    }\n"
              "  ],\n"
              "  \"moduleGroups\": [\n    \"FinPlate\",\n    \"FinBolts\"\n  ]\n"
              "}\n");
    TabMappingData read;
    ASSERT_TRUE(loadTabMappingJson(folder.path("page.json"), read, error)) << error;
    EXPECT_EQ(read.names(), data.names());
    EXPECT_EQ(read.targets(), data.targets());
    EXPECT_EQ(read.moduleGroups(), data.moduleGroups());

    // Both lists and a sheet's target may be left out.
    ASSERT_TRUE(parseTabMappingJson("{\"sheets\": [{\"name\": \"A\"}]}", "x", read, error)) << error;
    EXPECT_EQ(read.targets(), Kdr_StringArray({""}));
    EXPECT_TRUE(read.moduleGroups().isEmpty());
}

TEST(TabMappingJson, BadRecordsAreNamedByPlace)
{
    EXPECT_EQ(pageProblemOf("{\"sheets\": [{\"name\": \"A\", \"tagret\": \"B\"}]}"),
              "page.json: /sheets/0/tagret: unknown key");
    // A key holding the pointer's own separators is escaped, so the place stays unambiguous.
    EXPECT_EQ(pageProblemOf("{\"sheets\": [{\"name\": \"A\", \"a/b~c\": 1}]}"),
              "page.json: /sheets/0/a~1b~0c: unknown key");
    EXPECT_EQ(pageProblemOf("{\"sheets\": [{\"target\": \"B\"}]}"),
              "page.json: /sheets/0: a sheet needs a \"name\"");
    EXPECT_EQ(pageProblemOf("{\"moduleGroups\": [1]}"), "page.json: /moduleGroups/0: expected a text");
    EXPECT_EQ(pageProblemOf("{\"sheets\": {}}"), "page.json: /sheets: expected a list");
    EXPECT_EQ(pageProblemOf("[]"), "page.json: /: expected an object");
    EXPECT_NE(pageProblemOf("{\"sheets\": [").find("page.json: "), std::string::npos);
    EXPECT_EQ(pageProblemOf("{\"moduleGroups\": " + std::string(40, '[') + std::string(40, ']') + "}"),
              "page.json: brackets nest deeper than 32 levels");

    TempFolder folder;
    std::string error;
    TabMappingData data;
    EXPECT_FALSE(loadTabMappingJson(folder.path("none.json"), data, error));
    EXPECT_NE(error.find("none.json"), std::string::npos) << error;
    data.names().append("\xFF\xFE");
    data.targets().append("");
    EXPECT_FALSE(saveTabMappingJson(folder.path("bad.json"), data, error));
    EXPECT_EQ(folder.entryCount(), 0) << "nothing is written for a record JSON cannot carry";
}
