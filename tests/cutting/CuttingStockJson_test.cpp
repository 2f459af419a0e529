#include "host/DlgCSP2Data.h"
#include "hostio/CuttingStockJson.h"

#include <gtest/gtest.h>

namespace
{
TEST(CuttingStockJson, RoundTripsARecordByteForByte)
{
    DlgCSP2Data data;
    data.stockMode = true;
    data.groupIds = Kdr_Array<int>({3, 7});
    data.groupNames = {"S235", "Auftr\xC3\xA4ge"};
    data.main.columns = {"Profile", "Length"};
    data.main.rows = Kdr_Array<Kdr_StringArray>({Kdr_StringArray({"IPE 300", "5400"})});
    data.main.rowGroups = Kdr_Array<int>({7});
    data.stock.rows = Kdr_Array<Kdr_StringArray>({Kdr_StringArray({"12000", "", "Hall \"1\""})});
    data.stock.rowGroups = Kdr_Array<int>({3});

    std::string text, error;
    ASSERT_TRUE(formatCuttingStockJson(data, text, error)) << error;
    DlgCSP2Data read;
    ASSERT_TRUE(parseCuttingStockJson(text, "record", read, error)) << error;
    EXPECT_EQ(read, data);
    std::string again;
    ASSERT_TRUE(formatCuttingStockJson(read, again, error));
    EXPECT_EQ(again, text);
}

TEST(CuttingStockJson, RefusesMalformedRecordsNamingThePlace)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"({"group": []})", "record: /group: unknown key"},
        {R"({"stock": {"rows/0": []}})", "record: /stock/rows~10: unknown key"},
        {R"({"groups": [{"id": 1.5, "name": "A"}]})", "record: /groups/0/id: expected a whole number"},
        {R"({"groups": [{"id": 1, "name": "A"}, {"id": 1, "name": "B"}]})",
         "record: /groups/1/id: a group with this id is listed already"},
        {R"({"stock": {"rows": [{"cells": ["1"]}]}})",
         "record: /stock/rows/0/group: missing; expected a whole number"},
        {R"({"main": {"rows": [{"group": 1, "cells": [1]}]}})",
         "record: /main/rows/0/cells/0: expected a string"},
        {R"({"stockMode": "yes"})", "record: /stockMode: expected true or false"},
        {"[1, 2]", "record: /: expected an object"},
    };
    for (const auto& [text, message] : cases)
    {
        DlgCSP2Data data;
        data.groupNames = {"kept"};
        std::string error;
        EXPECT_FALSE(parseCuttingStockJson(text, "record", data, error)) << text;
        EXPECT_EQ(error, message) << text;
        EXPECT_EQ(data.groupNames, Kdr_StringArray({"kept"})) << "a failed read changes nothing";
    }
    // Deep nesting is refused before it is parsed.
    DlgCSP2Data data;
    std::string error;
    EXPECT_FALSE(
        parseCuttingStockJson(std::string(100000, '[') + std::string(100000, ']'), "deep", data, error));
    EXPECT_EQ(error, "deep: brackets nest deeper than 32 levels");
    EXPECT_FALSE(parseCuttingStockJson("{\"groups\": [", "cut", data, error));
}
} // namespace
