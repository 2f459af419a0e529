// Arrays, cuts and the drawing list of a macro tab, in the model and in macro files.

#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"

#include <gtest/gtest.h>

namespace
{
MacroTabData tabWithEverything()
{
    MacroTabData tab("Plate", MacroTabData::kVariables);
    DynArrayData ribs;
    ribs.name = "Ribs";
    ribs.texts = {"0", "100", "5", "", "x"};
    tab.addArray(ribs);
    DynArrayData holes;
    holes.name = "Holes";
    holes.mode = 2;
    holes.entries = {{"50", 0}, {"75", 0}};
    tab.addArray(holes);
    tab.addCut({"EndCut", 3, 0});
    tab.setDrawingList("Stiffener A");
    return tab;
}

TEST(MacroTabArrays, LookUpsReferencesAndDifferences)
{
    MacroTabData tab = tabWithEverything();
    EXPECT_FALSE(tab.addArray(tab.arrays()[0])) << "names are unique";
    EXPECT_FALSE(tab.addCut({"endcut", 0, 0})) << "letter case is ignored";
    DynArrayData* array = nullptr;
    ASSERT_TRUE(tab.findArrayWithName("holes", array));
    DynArrayEntry* entry = nullptr;
    EXPECT_FALSE(array->getEntry(2, entry));
    EXPECT_FALSE(array->getEntry(-1, entry));
    ASSERT_TRUE(array->getEntry(1, entry));
    entry->dlgRef = 33002;
    array->buttonRef = 33003;
    MacroCutData* cut = nullptr;
    ASSERT_TRUE(tab.findCutWithName("EndCut", cut));
    cut->dlgRef = 33004;
    tab.setDrawingRef(33005);
    ASSERT_TRUE(tab.findArrayWithBtnId(33003, array));
    EXPECT_FALSE(tab.findArrayWithBtnId(0, array));

    const MacroTabData before = tabWithEverything();
    Kdr_StringArray changed;
    EXPECT_FALSE(tab.differences(before, changed)) << "dialog references are no change";
    tab.removeAllDlgReferences();
    EXPECT_EQ(tab, before);

    tab.arrays()[0].texts[2] = "6";
    tab.cuts()[0].value = 1;
    tab.setDrawingName("Stiffener B");
    ASSERT_TRUE(tab.differences(before, changed));
    EXPECT_EQ(changed, (Kdr_StringArray{"Ribs", "EndCut", "DrawingList"}));
}

TEST(MacroTabArrays, MacroFilesCarryThemAndOlderFilesStillLoad)
{
    MacroData data;
    data.addTab(tabWithEverything());
    data.addTab(MacroTabData("Bolts", MacroTabData::kBolts));
    Kdr_DbMacro macro;
    std::string text;
    std::string error;
    ASSERT_TRUE(formatMacroJson(macro, data, text, error)) << error;
    EXPECT_NE(text.find("\"drawingList\": {\n        \"name\": \"Stiffener A\"\n      }"), std::string::npos)
        << text;

    Kdr_DbMacro readMacro;
    MacroData read;
    ASSERT_TRUE(parseMacroJson(text, "round trip", readMacro, read, error)) << error;
    EXPECT_EQ(read, data);
    EXPECT_FALSE(read.tabs()[1].offersDrawingList());

    // A tab written before arrays, cuts and drawing lists existed.
    const std::string old = R"({"name": "M", "tabs": [{"name": "T", "kind": 0, "cells": []}]})";
    ASSERT_TRUE(parseMacroJson(old, "old", readMacro, read, error)) << error;
    EXPECT_TRUE(read.tabs()[0].arrays().empty());
    EXPECT_TRUE(read.tabs()[0].cuts().empty());
    std::string again;
    ASSERT_TRUE(formatMacroJson(readMacro, read, again, error));
    EXPECT_EQ(again.find("arrays"), std::string::npos) << "nothing new is written for such a tab";

    // Numbers are taken for texts and entries.
    const std::string numbers = R"({"name": "M", "tabs": [{"name": "T", "arrays": [
        {"name": "A", "mode": 2, "texts": [0, 12.5], "entries": [50, "75"]}]}]})";
    ASSERT_TRUE(parseMacroJson(numbers, "numbers", readMacro, read, error)) << error;
    EXPECT_EQ(read.tabs()[0].arrays()[0].texts[1], "12.5");
    EXPECT_EQ(read.tabs()[0].arrays()[0].entries[0].text, "50");
}

TEST(MacroTabArrays, MalformedEntriesAreRefusedWithTheirPlace)
{
    const struct
    {
        const char* tab;
        const char* message;
    } cases[] = {
        {R"("arrays": [{"name": "A", "texts": ["1","2","3","4","5","6"]}])",
         "/tabs/0/arrays/0/texts: expected at most 5 texts"},
        {R"("arrays": [{"name": "A"}, {"name": "a"}])",
         "/tabs/0/arrays/1/name: expected a name not used by another array of the tab"},
        {R"("arrays": [{"name": "A", "entries": [true]}])", "/tabs/0/arrays/0/entries/0: expected a number"},
        {R"("cuts": [{"name": "C", "value": 5}])",
         "/tabs/0/cuts/0/value: expected a whole number from 0 to 4"},
        {R"("drawingList": {"file": "x"})", "/tabs/0/drawingList/file"},
    };
    for (const auto& c : cases)
    {
        Kdr_DbMacro macro;
        MacroData data;
        std::string error;
        const std::string text = std::string(R"({"name": "M", "tabs": [{"name": "T", )") + c.tab + "}]}";
        EXPECT_FALSE(parseMacroJson(text, "bad.json", macro, data, error)) << text;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(data.tabs().empty());
    }
}
} // namespace
