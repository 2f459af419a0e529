#pragma once

// Reading a macro record that must be refused.

#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"

#include <gtest/gtest.h>
#include <string>

/// The message refusing `text` read as the file `source`; a refused record leaves the macro
/// and its data as they were.
inline std::string macroProblemOf(const std::string& source, const std::string& text)
{
    Kdr_DbMacro macro("untouched");
    MacroData data;
    std::string error;
    EXPECT_FALSE(parseMacroJson(text, source, macro, data, error)) << text;
    EXPECT_EQ(macro.name(), "untouched");
    EXPECT_EQ(data.tabCount(), 0);
    return error;
}
