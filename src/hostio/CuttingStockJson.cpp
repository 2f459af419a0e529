#include "hostio/CuttingStockJson.h"

#include "host/DlgCSP2Data.h"
#include "host/FileFunctions.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace
{
using Json = nlohmann::json;

/// How deep the record's brackets may nest; the record itself needs five levels.
constexpr int kMaxDepth = 32;

struct Problem
{
    std::string where;
    std::string what;
};

[[noreturn]] void fail(const std::string& where, const std::string& what)
{
    throw Problem{where.empty() ? "/" : where, what};
}

/// True when the brackets of the text, outside strings, nest no deeper than the limit; a
/// deeper text is refused before the parser builds it.
bool nestingWithinLimit(std::string_view text)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (inString)
        {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        }
        else if (c == '"')
            inString = true;
        else if ((c == '[' || c == '{') && ++depth > kMaxDepth)
            return false;
        else if (c == ']' || c == '}')
            --depth;
    }
    return true;
}

void allowOnly(const Json& object, const std::string& path, std::initializer_list<std::string_view> keys)
{
    if (!object.is_object())
        fail(path, "expected an object");
    for (auto it = object.begin(); it != object.end(); ++it)
    {
        bool known = false;
        for (std::string_view key : keys)
            known = known || key == it.key();
        if (!known)
            fail(path + "/" + it.key(), "unknown key");
    }
}

const Json* member(const Json& object, const char* key)
{
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

const Json& arrayAt(const Json& value, const std::string& path)
{
    if (!value.is_array())
        fail(path, "expected an array");
    return value;
}

Kdr_StringArray texts(const Json& value, const std::string& path)
{
    Kdr_StringArray result;
    std::size_t index = 0;
    for (const Json& item : arrayAt(value, path))
    {
        if (!item.is_string())
            fail(path + "/" + std::to_string(index), "expected a string");
        result.append(Kdr_String(item.get<std::string>()));
        ++index;
    }
    return result;
}

int wholeNumber(const Json& value, const std::string& path)
{
    if (!value.is_number() || value.get<double>() != std::floor(value.get<double>()) ||
        std::abs(value.get<double>()) > std::numeric_limits<int>::max())
        fail(path, "expected a whole number");
    return static_cast<int>(value.get<double>());
}

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
                fail(rowPath + "/group", "missing; expected a whole number");
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
    {
        Json cells = Json::array();
        for (const Kdr_String& cell : table.rows[i])
            cells.push_back(std::string(cell));
        rows.push_back({{"group", i < table.rowGroups.length() ? table.rowGroups[i] : -1}, {"cells", cells}});
    }
    Json columns = Json::array();
    for (const Kdr_String& column : table.columns)
        columns.push_back(std::string(column));
    return {{"columns", columns}, {"rows", rows}};
}
} // namespace

bool parseCuttingStockJson(std::string_view text, const std::string& source, DlgCSP2Data& data,
                           std::string& error)
{
    if (!nestingWithinLimit(text))
    {
        error = source + ": brackets nest deeper than " + std::to_string(kMaxDepth) + " levels";
        return false;
    }
    Json document;
    try
    {
        document = Json::parse(text.begin(), text.end());
    }
    catch (const Json::exception& problem)
    {
        const std::string what = problem.what();
        const std::size_t bracket = what.find("] ");
        error = source + ": " + (bracket == std::string::npos ? what : what.substr(bracket + 2));
        return false;
    }
    try
    {
        allowOnly(document, "", {"stockMode", "groups", "main", "stock", "purchase"});
        DlgCSP2Data read;
        if (const Json* mode = member(document, "stockMode"))
        {
            if (!mode->is_boolean())
                fail("/stockMode", "expected true or false");
            read.stockMode = mode->get<bool>();
        }
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
                    fail(path + "/id", "missing; expected a whole number");
                if (!name || !name->is_string())
                    fail(path + "/name", "expected a string");
                const int groupId = wholeNumber(*id, path + "/id");
                if (read.groupIds.find(groupId) >= 0)
                    fail(path + "/id", "a group with this id is listed already");
                read.groupIds.append(groupId);
                read.groupNames.append(Kdr_String(name->get<std::string>()));
            }
        }
        readTable(document, "main", read.main);
        readTable(document, "stock", read.stock);
        readTable(document, "purchase", read.purchase);
        data = read;
        return true;
    }
    catch (const Problem& problem)
    {
        error = source + ": " + problem.where + ": " + problem.what;
        return false;
    }
}

bool loadCuttingStockJson(const std::string& path, DlgCSP2Data& data, std::string& error)
{
    std::string text;
    Kdr_String readError;
    if (!host::readFileBytes(path, text, readError))
    {
        error = readError;
        return false;
    }
    return parseCuttingStockJson(text, path, data, error);
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
    try
    {
        text = document.dump(2) + "\n";
        return true;
    }
    catch (const Json::exception& problem)
    {
        error = std::string("a text cannot be written as JSON: ") + problem.what();
        return false;
    }
}

bool saveCuttingStockJson(const std::string& path, const DlgCSP2Data& data, std::string& error)
{
    std::string text;
    if (!formatCuttingStockJson(data, text, error))
    {
        error = path + ": " + error;
        return false;
    }
    Kdr_String writeError;
    if (!host::writeFileAtomically(path, text, writeError))
    {
        error = writeError;
        return false;
    }
    return true;
}
