#include "hostio/DlgEditLibJson.h"

#include "host/DlgEditLibData.h"
#include "host/FileFunctions.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace
{
using Json = nlohmann::json;

/// How deep the record's brackets may nest; the record itself needs three levels.
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

/// True when the brackets of the text, outside strings, nest no deeper than the limit.
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

Kdr_String text(const Json& value, const std::string& path)
{
    if (!value.is_string())
        fail(path, "expected a string");
    return Kdr_String(value.get<std::string>());
}

bool flag(const Json& value, const std::string& path)
{
    if (!value.is_boolean())
        fail(path, "expected true or false");
    return value.get<bool>();
}

int wholeNumber(const Json& value, const std::string& path)
{
    if (!value.is_number() || value.get<double>() != std::floor(value.get<double>()) ||
        std::abs(value.get<double>()) > std::numeric_limits<int>::max())
        fail(path, "expected a whole number");
    return static_cast<int>(value.get<double>());
}

Json textsJson(const Kdr_StringArray& items)
{
    Json list = Json::array();
    for (const Kdr_String& item : items)
        list.push_back(std::string(item));
    return list;
}
} // namespace

bool parseEditLibJson(std::string_view jsonText, const std::string& source, DlgEditLibData& data,
                      std::string& error)
{
    if (!nestingWithinLimit(jsonText))
    {
        error = source + ": brackets nest deeper than " + std::to_string(kMaxDepth) + " levels";
        return false;
    }
    Json document;
    try
    {
        document = Json::parse(jsonText.begin(), jsonText.end());
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
                    fail(path + "/id", "missing; expected a whole number");
                group.setId(wholeNumber(*id, path + "/id"));
                if (read.groups.indexOfId(group.getId()) >= 0)
                    fail(path + "/id", "a group with this id is listed already");
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
    catch (const Problem& problem)
    {
        error = source + ": " + problem.where + ": " + problem.what;
        return false;
    }
}

bool loadEditLibJson(const std::string& path, DlgEditLibData& data, std::string& error)
{
    std::string bytes;
    Kdr_String readError;
    if (!host::readFileBytes(path, bytes, readError))
    {
        error = readError;
        return false;
    }
    return parseEditLibJson(bytes, path, data, error);
}

bool formatEditLibJson(const DlgEditLibData& data, std::string& out, std::string& error)
{
    Json groups = Json::array();
    for (const SectionGroup& group : data.groups)
        groups.push_back({{"id", group.getId()},
                          {"enabled", group.getEnabled()},
                          {"image", std::string(group.getImage())},
                          {"names", textsJson(group.getLangs())}});
    Json types = Json::array();
    for (const SectionType& type : data.types)
        types.push_back({{"enabled", type.getEnabled()},
                         {"image", std::string(type.getImage())},
                         {"group", type.getGroupId()},
                         {"table", std::string(type.getTableName())},
                         {"names", textsJson(type.getLangs())}});
    const Json document = {{"groups", groups},
                           {"types", types},
                           {"tables", textsJson(data.tableNames)},
                           {"userSections", textsJson(data.userSections)}};
    try
    {
        out = document.dump(2) + "\n";
        return true;
    }
    catch (const Json::exception& problem)
    {
        error = std::string("a text cannot be written as JSON: ") + problem.what();
        return false;
    }
}

bool saveEditLibJson(const std::string& path, const DlgEditLibData& data, std::string& error)
{
    std::string out;
    if (!formatEditLibJson(data, out, error))
    {
        error = path + ": " + error;
        return false;
    }
    Kdr_String writeError;
    if (!host::writeFileAtomically(path, out, writeError))
    {
        error = writeError;
        return false;
    }
    return true;
}
