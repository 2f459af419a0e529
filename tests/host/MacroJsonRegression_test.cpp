// Macro files the fuzzer found to break the reader.

#include "MacroJsonTestSupport.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"

#include <gtest/gtest.h>
#include <string>

// A number too large for a double made the JSON library throw past the reader.
TEST(MacroJsonRegression, NumbersTooLargeForADoubleAreRefusedWithTheSource)
{
    const std::string texts[] = {
        "1e99999",
        "{\"name\": \"M\", \"generalVariables\": [{\"name\": \"g\", \"value\": -1e400}]}",
        std::string(130, '2') + "e2222222222222222",
    };
    for (const std::string& text : texts)
    {
        Kdr_DbMacro macro("untouched");
        MacroData data;
        std::string error;
        EXPECT_FALSE(parseMacroJson(text, "big.json", macro, data, error)) << text;
        EXPECT_EQ(error.rfind("big.json: ", 0), 0u) << error;
        EXPECT_NE(error.find("number overflow"), std::string::npos) << error;
        EXPECT_EQ(macro.name(), "untouched");
    }
}

// Eighty thousand brackets overflowed the stack; nesting is now refused where it gets too deep.
TEST(MacroJsonRegression, DeepNestingIsRefusedWithItsPath)
{
    EXPECT_EQ(
        macroProblemOf("bad.json", std::string(80000, '[') + std::string(80000, ']')),
        "bad.json: /0/0/0" +
            []
            {
                std::string path;
                for (int i = 3; i < 256; ++i)
                    path += "/0";
                return path;
            }() +
            ": nested deeper than 256 levels");
    std::string deepObject = "{\"name\": \"M\", \"modules\": [{\"name\": \"P\", \"variables\": [";
    for (int i = 0; i < 1000; ++i)
        deepObject += "{\"x\": [";
    EXPECT_EQ(macroProblemOf("bad.json", deepObject).substr(0, 40),
              "bad.json: /modules/0/variables/0/x/0/x/0");
    EXPECT_NE(macroProblemOf("bad.json", deepObject).find(": nested deeper than 256 levels"),
              std::string::npos);
}

TEST(MacroJsonRegression, DuplicateKeysNulTextsAndOverflowsNameTheirPath)
{
    const std::pair<std::string, std::string> cases[] = {
        {R"({"name": "M", "modules": [{"name": "P", "name": "Q"}]})",
         "bad.json: /modules/0/name: key given twice in one object"},
        {R"({"name": "M", "name": "M"})", "bad.json: /name: key given twice in one object"},
        {R"({"name": "M", "modules": [{"name": "P"}, {"name": "Q", "variables": [{"name": "A\u0000B"}]}]})",
         "bad.json: /modules/1/variables/0/name: a text may not hold the NUL character (\\u0000)"},
        {R"({"name": "M", "generalVariables": [{"name": "g", "value": 1e400}]})",
         "bad.json: /generalVariables/0/value: number overflow (too large for a double)"},
        {R"({"name": "M", "modules": [{"na\u0000me": 1}]})",
         "bad.json: /modules/0/na\\x00me: a text may not hold the NUL character (\\u0000)"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(macroProblemOf("bad.json", text), message) << text;
}

// Bytes that are not UTF-8 were quoted raw in the syntax message.
TEST(MacroJsonRegression, InvalidBytesAreQuotedSafely)
{
    const std::string error = macroProblemOf("bad.json", "{\"name\": \"\xFF\x1B[2J\"}");
    EXPECT_EQ(error.find('\xFF'), std::string::npos) << error;
    EXPECT_EQ(error.find('\x1B'), std::string::npos) << error;
    EXPECT_EQ(error.rfind("bad.json: line 1, column ", 0), 0u) << error;
}
