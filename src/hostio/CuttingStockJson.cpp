#include "hostio/CuttingStockJson.h"

#include "host/DlgCSP2Data.h"
#include "hostio/JsonRecords.h"

#include <nlohmann/json.hpp>

namespace
{
using Json = nlohmann::json;
using namespace hostio;

/// How deep the record's brackets may nest; the record itself needs five levels.
constexpr int kMaxDepth = 32;

void readTable(const Json& root, const char* key, CSP2Table& table)
{
    const Json* node = member(root, key);
    if (!node)
        return;
    const std::string path = std::string("/") + key;
    allowOnly(*node, path, {"columns", "rows"});
    if (const Json* columns = member(*node, "columns"))
        table.columns = texts(*columns, path + "/columns");
    if (const Json* rows = member(*node, "rows"))
    {
        std::size_t index = 0;
        for (const Json& row : arrayAt(*rows, path + "/rows"))
        {
            const std::string rowPath = path + "/rows/" + std::to_string(index++);
            allowOnly(row, rowPath, {"group", "cells"});
            const Json* group = member(row, "group");
            if (!group)
                failAt(rowPath + "/group", "missing; expected a whole number");
            table.rowGroups.append(wholeNumber(*group, rowPath + "/group"));
            const Json* cells = member(row, "cells");
            table.rows.append(cells ? texts(*cells, rowPath + "/cells") : Kdr_StringArray());
        }
    }
}

Json tableJson(const CSP2Table& table)
{
    Json rows = Json::array();
    for (int i = 0; i < table.rows.length(); ++i)
        rows.push_back({{"group", i < table.rowGroups.length() ? table.rowGroups[i] : -1},
                        {"cells", textsJson<Json>(table.rows[i])}});
    return {{"columns", textsJson<Json>(table.columns)}, {"rows", rows}};
}
} // namespace

bool parseCuttingStockJson(std::string_view text, const std::string& source, DlgCSP2Data& data,
                           std::string& error)
{
    Json document;
    if (!parseDocument(text, source, kMaxDepth, document, error))
        return false;
    try
    {
        allowOnly(document, "", {"stockMode", "groups", "main", "stock", "purchase"});
        DlgCSP2Data read;
        if (const Json* mode = member(document, "stockMode"))
            read.stockMode = flag(*mode, "/stockMode");
        if (const Json* groups = member(document, "groups"))
        {
            std::size_t index = 0;
            for (const Json& group : arrayAt(*groups, "/groups"))
            {
                const std::string path = "/groups/" + std::to_string(index++);
                allowOnly(group, path, {"id", "name"});
                const Json* id = member(group, "id");
                const Json* name = member(group, "name");
                if (!id)
                    failAt(path + "/id", "missing; expected a whole number");
                if (!name)
                    failAt(path + "/name", "expected a string");
                const Kdr_String groupName = hostio::text(*name, path + "/name");
                const int groupId = wholeNumber(*id, path + "/id");
                if (read.groupIds.find(groupId) >= 0)
                    failAt(path + "/id", "a group with this id is listed already");
                read.groupIds.append(groupId);
                read.groupNames.append(groupName);
            }
        }
        readTable(document, "main", read.main);
        readTable(document, "stock", read.stock);
        readTable(document, "purchase", read.purchase);
        data = read;
        return true;
    }
    catch (const JsonProblem& problem)
    {
        error = problemMessage(source, problem);
        return false;
    }
}

bool loadCuttingStockJson(const std::string& path, DlgCSP2Data& data, std::string& error)
{
    return loadRecordFile(
        path, error, [&](std::string_view text) { return parseCuttingStockJson(text, path, data, error); });
}

bool formatCuttingStockJson(const DlgCSP2Data& data, std::string& text, std::string& error)
{
    Json groups = Json::array();
    for (int i = 0; i < data.groupIds.length(); ++i)
        groups.push_back({{"id", data.groupIds[i]},
                          {"name", i < data.groupNames.length() ? std::string(data.groupNames[i]) : ""}});
    const Json document = {{"stockMode", data.stockMode},
                           {"groups", groups},
                           {"main", tableJson(data.main)},
                           {"stock", tableJson(data.stock)},
                           {"purchase", tableJson(data.purchase)}};
    return dumpDocument(document, text, error, "a text cannot be written as JSON: ");
}

bool saveCuttingStockJson(const std::string& path, const DlgCSP2Data& data, std::string& error)
{
    return saveRecordFile(path, error,
                          [&](std::string& text, std::string& problem)
                          { return formatCuttingStockJson(data, text, problem); });
}
