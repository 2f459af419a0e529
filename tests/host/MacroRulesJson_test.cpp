// The rules of a macro's modules in its JSON file: kept whole, written only where a module has
// any, and refused with a path when malformed.

#include "MacroJsonTestSupport.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"

#include <gtest/gtest.h>

namespace
{
const char* const kMacroWithRules = R"({
  "name": "EP-1",
  "modules": [
    { "name": "Plate", "group": "", "kind": "module",
      "rules": [
        { "texts": ["L1", "A+B", "Plate", "Beam"], "kinds": [0, 1, 3], "expression": "A+B", "name": "L1",
          "visible": true, "readOnly": false, "choices": [], "choice": -1, "cut": "",
          "optionBitmaps": ["a.bmp", "%radioBreak%", "b.bmp", "c.bmp", "%radioBreak%"], "options": [1, 3] },
        { "texts": ["Gap"], "kinds": [2], "choices": ["Left", "Right"], "choice": 1, "cut": "Cut1" }
      ] },
    { "name": "Bolts", "kind": "bolt" }
  ]
})";

} // namespace

TEST(MacroRulesJson, RulesReadAndWriteBackUnchanged)
{
    Kdr_DbMacro macro;
    MacroData data;
    std::string error;
    ASSERT_TRUE(parseMacroJson(kMacroWithRules, "rules.json", macro, data, error)) << error;
    const Kdr_Module* plate = nullptr;
    ASSERT_TRUE(macro.macro().findModule("Plate", plate));
    ASSERT_EQ(plate->rules().size(), 2u);
    const Kdr_Rule& first = plate->rules()[0];
    EXPECT_EQ(first.kinds, (std::vector<int>{0, 1, 3}));
    EXPECT_TRUE(first.visible);
    EXPECT_EQ(first.optionBitmaps.length(), 5);
    EXPECT_EQ(first.options, (std::vector<int>{1, 3}));
    const Kdr_Rule& second = plate->rules()[1];
    EXPECT_EQ(second.name, "") << "optional keys take their defaults";
    EXPECT_EQ(second.choice, 1);
    EXPECT_EQ(second.cut, "Cut1");

    std::string text;
    ASSERT_TRUE(formatMacroJson(macro, data, text, error)) << error;
    Kdr_DbMacro again;
    MacroData againData;
    ASSERT_TRUE(parseMacroJson(text, "again.json", again, againData, error)) << error;
    EXPECT_TRUE(again.sameContents(macro));
    // A module without rules is written as before, without the key.
    EXPECT_EQ(text.find("\"rules\""), text.rfind("\"rules\""));
}

TEST(MacroRulesJson, MalformedRulesAreRefusedWithTheirPlace)
{
    EXPECT_NE(macroProblemOf("rules.json",
                             R"({"name": "M", "modules": [{"name": "P", "rules": [{"kinds": [4]}]}]})")
                  .find("/modules/0/rules/0/kinds/0"),
              std::string::npos);
    EXPECT_NE(macroProblemOf("rules.json",
                             R"({"name": "M", "modules": [{"name": "P", "rules": [{"colour": "red"}]}]})")
                  .find("/modules/0/rules/0/colour: unknown key"),
              std::string::npos);
    EXPECT_NE(macroProblemOf("rules.json",
                             R"({"name": "M", "modules": [{"name": "P", "rules": [{"texts": ["a", 2]}]}]})")
                  .find("/modules/0/rules/0/texts/1"),
              std::string::npos);
    EXPECT_NE(macroProblemOf("rules.json", R"({"name": "M", "modules": [{"name": "P", "rules": {}}]})")
                  .find("/modules/0/rules"),
              std::string::npos);
}
