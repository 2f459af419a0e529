#include "hostio/TabMappingJson.h"

#include "host/FileFunctions.h"
#include "host/TabMappingData.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace
{
struct Problem
{
    std::string where;
    std::string what;
};

void requireOnly(const Json& object, const std::string& where, std::initializer_list<const char*> keys)
{
    if (!object.is_object())
        throw Problem{where.empty() ? "/" : where, "expected an object"};
    for (const auto& [key, value] : object.items())
    {
        bool known = false;
        for (const char* allowed : keys)
            known = known || key == allowed;
        if (!known)
            throw Problem{where + "/" + key, "unknown key"};
    }
}

Kdr_String textAt(const Json& node, const std::string& where)
{
    if (!node.is_string())
        throw Problem{where, "expected a text"};
    return Kdr_String(node.get<std::string>());
}

const Json& arrayAt(const Json& object, const char* key, const std::string& where)
{
    static const Json empty = Json::array();
    if (!object.contains(key))
        return empty;
    const Json& node = object.at(key);
    if (!node.is_array())
        throw Problem{where + "/" + key, "expected a list"};
    return node;
}
} // namespace

bool parseTabMappingJson(std::string_view text, const std::string& source, TabMappingData& data,
                         std::string& error)
{
    try
    {
        const Json document = Json::parse(text.begin(), text.end());
        requireOnly(document, "", {"sheets", "moduleGroups"});
        TabMappingData read = data;
        read.names().removeAll();
        read.targets().removeAll();
        read.moduleGroups().removeAll();
        const Json& sheets = arrayAt(document, "sheets", "");
        for (size_t i = 0; i < sheets.size(); ++i)
        {
            const std::string where = "/sheets/" + std::to_string(i);
            requireOnly(sheets[i], where, {"name", "target"});
            if (!sheets[i].contains("name"))
                throw Problem{where, "a sheet needs a \"name\""};
            read.names().append(textAt(sheets[i].at("name"), where + "/name"));
            read.targets().append(sheets[i].contains("target")
                                      ? textAt(sheets[i].at("target"), where + "/target")
                                      : Kdr_String());
        }
        const Json& groups = arrayAt(document, "moduleGroups", "");
        for (size_t i = 0; i < groups.size(); ++i)
            read.moduleGroups().append(textAt(groups[i], "/moduleGroups/" + std::to_string(i)));
        data = read;
        return true;
    }
    catch (const Problem& problem)
    {
        error = source + ": " + problem.where + ": " + problem.what;
    }
    catch (const Json::exception& problem)
    {
        std::string what = problem.what();
        const size_t bracket = what.find("] ");
        error = source + ": " + (bracket == std::string::npos ? what : what.substr(bracket + 2));
    }
    return false;
}

bool loadTabMappingJson(const std::string& path, TabMappingData& data, std::string& error)
{
    std::string text;
    Kdr_String readError;
    if (!host::readFileBytes(path, text, readError))
    {
        error = readError;
        return false;
    }
    return parseTabMappingJson(text, path, data, error);
}

bool formatTabMappingJson(const TabMappingData& data, std::string& text, std::string& error)
{
    try
    {
        Json sheets = Json::array();
        for (int i = 0; i < data.names().length(); ++i)
            sheets.push_back(
                Json{{"name", std::string(data.names()[i])},
                     {"target", data.targets().validIndex(i) ? std::string(data.targets()[i]) : std::string()}});
        Json groups = Json::array();
        for (const Kdr_String& group : data.moduleGroups())
            groups.push_back(std::string(group));
        text = Json{{"sheets", std::move(sheets)}, {"moduleGroups", std::move(groups)}}.dump(2) + "\n";
        return true;
    }
    catch (const Json::exception& problem)
    {
        // Texts that are not UTF-8 cannot be written as JSON.
        error = problem.what();
        return false;
    }
}

bool saveTabMappingJson(const std::string& path, const TabMappingData& data, std::string& error)
{
    std::string text;
    if (!formatTabMappingJson(data, text, error))
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
