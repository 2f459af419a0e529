// Macro files the fuzzer found to break the reader.

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
