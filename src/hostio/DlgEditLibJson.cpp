#include "hostio/DlgEditLibJson.h"

#include "host/DlgEditLibData.h"
#include "hostio/JsonRecords.h"

#include <nlohmann/json.hpp>

namespace
{
using Json = nlohmann::json;
using namespace hostio;

/// How deep the record's brackets may nest; the record itself needs three levels.
constexpr int kMaxDepth = 32;
} // namespace

bool parseEditLibJson(std::string_view jsonText, const std::string& source, DlgEditLibData& data,
                      std::string& error)
{
    Json document;
    if (!parseDocument(jsonText, source, kMaxDepth, document, error))
        return false;
    try
    {
        allowOnly(document, "", {"groups", "types", "tables", "userSections"});
        DlgEditLibData read;
        if (const Json* groups = member(document, "groups"))
        {
            std::size_t index = 0;
            for (const Json& node : arrayAt(*groups, "/groups"))
            {
                const std::string path = "/groups/" + std::to_string(index++);
                allowOnly(node, path, {"id", "enabled", "image", "names"});
                SectionGroup group;
                const Json* id = member(node, "id");
                if (!id)
                    failAt(path + "/id", "missing; expected a whole number");
                group.setId(wholeNumber(*id, path + "/id"));
                if (read.groups.indexOfId(group.getId()) >= 0)
                    failAt(path + "/id", "a group with this id is listed already");
                if (const Json* enabled = member(node, "enabled"))
                    group.setEnabled(flag(*enabled, path + "/enabled"));
                if (const Json* image = member(node, "image"))
                    group.setImage(text(*image, path + "/image"));
                if (const Json* names = member(node, "names"))
                    group.setLangs(texts(*names, path + "/names"));
                read.groups.append(group);
            }
        }
        if (const Json* types = member(document, "types"))
        {
            std::size_t index = 0;
            for (const Json& node : arrayAt(*types, "/types"))
            {
                const std::string path = "/types/" + std::to_string(index++);
                allowOnly(node, path, {"enabled", "image", "group", "table", "names"});
                SectionType type;
                if (const Json* enabled = member(node, "enabled"))
                    type.setEnabled(flag(*enabled, path + "/enabled"));
                if (const Json* image = member(node, "image"))
                    type.setImage(text(*image, path + "/image"));
                if (const Json* group = member(node, "group"))
                    type.setGroupId(wholeNumber(*group, path + "/group"));
                if (const Json* table = member(node, "table"))
                    type.setTableName(text(*table, path + "/table"));
                if (const Json* names = member(node, "names"))
                    type.setLangs(texts(*names, path + "/names"));
                read.types.append(type);
            }
        }
        if (const Json* tables = member(document, "tables"))
            read.tableNames = texts(*tables, "/tables");
        if (const Json* sections = member(document, "userSections"))
            read.userSections = texts(*sections, "/userSections");
        data = read;
        return true;
    }
    catch (const JsonProblem& problem)
    {
        error = problemMessage(source, problem);
        return false;
    }
}

bool loadEditLibJson(const std::string& path, DlgEditLibData& data, std::string& error)
{
    return loadRecordFile(path, error,
                          [&](std::string_view text) { return parseEditLibJson(text, path, data, error); });
}

bool formatEditLibJson(const DlgEditLibData& data, std::string& out, std::string& error)
{
    Json groups = Json::array();
    for (const SectionGroup& group : data.groups)
        groups.push_back({{"id", group.getId()},
                          {"enabled", group.getEnabled()},
                          {"image", std::string(group.getImage())},
                          {"names", textsJson<Json>(group.getLangs())}});
    Json types = Json::array();
    for (const SectionType& type : data.types)
        types.push_back({{"enabled", type.getEnabled()},
                         {"image", std::string(type.getImage())},
                         {"group", type.getGroupId()},
                         {"table", std::string(type.getTableName())},
                         {"names", textsJson<Json>(type.getLangs())}});
    const Json document = {{"groups", groups},
                           {"types", types},
                           {"tables", textsJson<Json>(data.tableNames)},
                           {"userSections", textsJson<Json>(data.userSections)}};
    return dumpDocument(document, out, error, "a text cannot be written as JSON: ");
}

bool saveEditLibJson(const std::string& path, const DlgEditLibData& data, std::string& error)
{
    return saveRecordFile(path, error,
                          [&](std::string& text, std::string& problem)
                          { return formatEditLibJson(data, text, problem); });
}
