#include "hostio/TabMappingJson.h"

#include "host/TabMappingData.h"
#include "hostio/JsonRecords.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

using namespace hostio;

namespace
{
// This record's own words for a wrong value ("a text", "a list"), which its users know.

Kdr_String textAt(const Json& node, const std::string& where)
{
    if (!node.is_string())
        throw JsonProblem{where, "expected a text"};
    return Kdr_String(node.get<std::string>());
}

/// The list under `key`, an empty one when the object has none.
const Json& listAt(const Json& object, const char* key, const std::string& where)
{
    static const Json empty = Json::array();
    const Json* node = member(object, key);
    if (!node)
        return empty;
    if (!node->is_array())
        throw JsonProblem{where + "/" + key, "expected a list"};
    return *node;
}
} // namespace

bool parseTabMappingJson(std::string_view text, const std::string& source, TabMappingData& data,
                         std::string& error)
{
    // A real page needs three levels; deeper brackets are refused before the parser builds them.
    Json document;
    if (!parseDocument(text, source, 32, document, error))
        return false;
    try
    {
        allowOnly(document, "", {"sheets", "moduleGroups"});
        TabMappingData read = data;
        read.names().removeAll();
        read.targets().removeAll();
        read.moduleGroups().removeAll();
        const Json& sheets = listAt(document, "sheets", "");
        for (size_t i = 0; i < sheets.size(); ++i)
        {
            const std::string where = "/sheets/" + std::to_string(i);
            allowOnly(sheets[i], where, {"name", "target"});
            if (!sheets[i].contains("name"))
                throw JsonProblem{where, "a sheet needs a \"name\""};
            read.names().append(textAt(sheets[i].at("name"), where + "/name"));
            read.targets().append(sheets[i].contains("target")
                                      ? textAt(sheets[i].at("target"), where + "/target")
                                      : Kdr_String());
        }
        const Json& groups = listAt(document, "moduleGroups", "");
        for (size_t i = 0; i < groups.size(); ++i)
            read.moduleGroups().append(textAt(groups[i], "/moduleGroups/" + std::to_string(i)));
        data = read;
        return true;
    }
    catch (const JsonProblem& problem)
    {
        error = problemMessage(source, problem);
    }
    return false;
}

bool loadTabMappingJson(const std::string& path, TabMappingData& data, std::string& error)
{
    return loadRecordFile(
        path, error, [&](std::string_view text) { return parseTabMappingJson(text, path, data, error); });
}

bool formatTabMappingJson(const TabMappingData& data, std::string& text, std::string& error)
{
    Json sheets = Json::array();
    for (int i = 0; i < data.names().length(); ++i)
        sheets.push_back(
            Json{{"name", std::string(data.names()[i])},
                 {"target", data.targets().validIndex(i) ? std::string(data.targets()[i]) : std::string()}});
    // Texts that are not UTF-8 cannot be written as JSON.
    return dumpDocument(
        Json{{"sheets", std::move(sheets)}, {"moduleGroups", textsJson<Json>(data.moduleGroups())}}, text,
        error, "");
}

bool saveTabMappingJson(const std::string& path, const TabMappingData& data, std::string& error)
{
    return saveRecordFile(path, error,
                          [&](std::string& text, std::string& problem)
                          { return formatTabMappingJson(data, text, problem); });
}
