#include "host/FileFunctions.h"
#include "host/Kdr_BoltModule.h"
#include "host/Kdr_DbMacro.h"
#include "host/Kdr_PrplModule.h"
#include "host/MacroData.h"
#include "hostio/JsonRecords.h"
#include "hostio/MacroJson.h"

#include <cmath>
#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace
{
using hostio::JsonProblem;

/// Builds the JSON of a macro, checking on the way that every text is UTF-8 and every
/// number finite, so that what is written reads back as it was.
class Writer
{
public:
    Json text(const Kdr_String& value, const std::string& path) const
    {
        if (!validUtf8(value))
            throw JsonProblem{path, "the text is not valid UTF-8 and cannot be saved"};
        return Json(static_cast<const std::string&>(value));
    }

    Json number(double value, const std::string& path) const
    {
        if (!std::isfinite(value))
            throw JsonProblem{path, "the number is not finite and cannot be saved"};
        return Json(value);
    }

    Json macro(const Kdr_DbMacro& dbMacro, const MacroData& data) const
    {
        Json root = Json::object();
        root["name"] = text(dbMacro.name(), "/name");
        const Kdr_Macro& macro = dbMacro.macro();

        Json general = Json::array();
        for (size_t i = 0; i < macro.generalVariables().size(); ++i)
        {
            const Kdr_GeneralVariable& variable = macro.generalVariables()[i];
            const std::string path = "/generalVariables/" + std::to_string(i);
            Json item = Json::object();
            item["name"] = text(variable.name, path + "/name");
            item["value"] = variable.isText ? text(variable.text, path + "/value")
                                            : number(variable.number, path + "/value");
            general.push_back(std::move(item));
        }
        root["generalVariables"] = std::move(general);

        Json profiles = Json::array();
        for (int i = 0; i < dbMacro.baseProfileCount(); ++i)
        {
            const std::string path = "/baseProfiles/" + std::to_string(i);
            const Kdr_ProfPlacement& profile = dbMacro.baseProfile(i);
            profiles.push_back(Json{{"section", text(profile.section(), path + "/section")},
                                    {"material", text(profile.material(), path + "/material")}});
        }
        root["baseProfiles"] = std::move(profiles);

        Json modules = Json::array();
        for (int i = 0; i < macro.moduleCount(); ++i)
            modules.push_back(module(macro.module(i), "/modules/" + std::to_string(i)));
        root["modules"] = std::move(modules);

        Json tabs = Json::array();
        for (size_t i = 0; i < data.tabs().size(); ++i)
            tabs.push_back(tab(data.tabs()[i], "/tabs/" + std::to_string(i)));
        root["tabs"] = std::move(tabs);
        if (!data.currentTab().empty())
            root["currentTab"] = text(data.currentTab(), "/currentTab");

        Json standards = Json::array();
        for (size_t i = 0; i < dbMacro.standardsTargets().size(); ++i)
        {
            const Kdr_StandardsTarget& entry = dbMacro.standardsTargets()[i];
            const std::string path = "/standards/" + std::to_string(i);
            standards.push_back(Json{{"sheet", text(entry.sheet, path + "/sheet")},
                                     {"target", text(entry.target, path + "/target")}});
        }
        root["standards"] = std::move(standards);
        return root;
    }

private:
    static bool validUtf8(std::string_view bytes)
    {
        size_t i = 0;
        while (i < bytes.size())
        {
            const auto lead = static_cast<unsigned char>(bytes[i]);
            size_t length = lead < 0x80           ? 1
                            : (lead >> 5) == 0x6  ? 2
                            : (lead >> 4) == 0xE  ? 3
                            : (lead >> 3) == 0x1E ? 4
                                                  : 0;
            if (length == 0 || i + length > bytes.size())
                return false;
            unsigned codePoint = length == 1 ? lead : lead & (0xFFu >> (length + 1));
            for (size_t k = 1; k < length; ++k)
            {
                const auto next = static_cast<unsigned char>(bytes[i + k]);
                if ((next & 0xC0) != 0x80)
                    return false;
                codePoint = (codePoint << 6) | (next & 0x3F);
            }
            static const unsigned kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
            if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
                (codePoint >= 0xD800 && codePoint <= 0xDFFF))
                return false;
            i += length;
        }
        return true;
    }

    Json module(const Kdr_Module& module, const std::string& path) const
    {
        Json item = Json::object();
        item["name"] = text(module.name(), path + "/name");
        item["group"] = text(module.groupName(), path + "/group");
        const int kind = module.classNumber();
        item["kind"] = kind == Kdr_BoltModule::kClassNumber   ? "bolt"
                       : kind == Kdr_PrplModule::kClassNumber ? "placement"
                                                              : "module";
        Json variables = Json::array();
        for (size_t i = 0; i < module.dialogVariables().size(); ++i)
        {
            const Kdr_DialogVariable& variable = module.dialogVariables()[i];
            const std::string at = path + "/variables/" + std::to_string(i);
            variables.push_back(Json{{"name", text(variable.name, at + "/name")},
                                     {"value", text(variable.value, at + "/value")},
                                     {"visible", variable.visible},
                                     {"settable", variable.settable}});
        }
        item["variables"] = std::move(variables);
        Json cuts = Json::array();
        for (size_t i = 0; i < module.cuts().size(); ++i)
        {
            const Kdr_Cut& cut = module.cuts()[i];
            const std::string at = path + "/cuts/" + std::to_string(i);
            Json values = Json::array();
            for (size_t v = 0; v < cut.values.size(); ++v)
                values.push_back(number(cut.values[v], at + "/values/" + std::to_string(v)));
            cuts.push_back(
                Json{{"name", text(cut.name, at + "/name")}, {"type", cut.type}, {"values", values}});
        }
        item["cuts"] = std::move(cuts);
        // Rules are written only where a module has them, so files of macros without rules
        // stay as they were.
        if (!module.rules().empty())
        {
            Json rules = Json::array();
            for (size_t i = 0; i < module.rules().size(); ++i)
                rules.push_back(rule(module.rules()[i], path + "/rules/" + std::to_string(i)));
            item["rules"] = std::move(rules);
        }
        if (kind == Kdr_BoltModule::kClassNumber)
        {
            Json patterns = Json::array();
            const auto& bolts = static_cast<const Kdr_BoltModule&>(module);
            for (size_t i = 0; i < bolts.patterns().size(); ++i)
            {
                const Kdr_BoltPattern& pattern = bolts.patterns()[i];
                patterns.push_back(
                    Json{{"id", pattern.id()},
                         {"name", text(pattern.name(), path + "/patterns/" + std::to_string(i) + "/name")},
                         {"twoDirections", pattern.hasSecondDirection()},
                         {"reverse1", pattern.reverseStart(true)},
                         {"reverse2", pattern.reverseStart(false)}});
            }
            item["patterns"] = std::move(patterns);
        }
        else if (kind == Kdr_PrplModule::kClassNumber)
        {
            Json members = Json::array();
            const auto& placements = static_cast<const Kdr_PrplModule&>(module);
            for (int i = 0; i < placements.memberCount(); ++i)
            {
                const Kdr_ProfPlacement& member = placements.member(i);
                const std::string at = path + "/members/" + std::to_string(i);
                members.push_back(Json{{"name", text(member.name(), at + "/name")},
                                       {"section", text(member.section(), at + "/section")},
                                       {"material", text(member.material(), at + "/material")}});
            }
            item["members"] = std::move(members);
        }
        return item;
    }

    Json texts(const Kdr_StringArray& values, const std::string& path) const
    {
        Json list = Json::array();
        for (int i = 0; i < values.length(); ++i)
            list.push_back(text(values[i], path + "/" + std::to_string(i)));
        return list;
    }

    Json rule(const Kdr_Rule& rule, const std::string& path) const
    {
        Json item = Json::object();
        item["texts"] = texts(rule.texts, path + "/texts");
        item["kinds"] = rule.kinds;
        item["expression"] = text(rule.expression, path + "/expression");
        item["name"] = text(rule.name, path + "/name");
        item["visible"] = rule.visible;
        item["readOnly"] = rule.readOnly;
        item["choices"] = texts(rule.choices, path + "/choices");
        item["choice"] = rule.choice;
        item["cut"] = text(rule.cut, path + "/cut");
        item["optionBitmaps"] = texts(rule.optionBitmaps, path + "/optionBitmaps");
        item["options"] = rule.options;
        return item;
    }

    Json boltData(const MacroBoltData& data, const std::string& path) const
    {
        Json item = Json::object();
        item["assembly"] = text(data.assembly, path + "/assembly");
        item["diameter"] = text(data.diameter, path + "/diameter");
        item["holeOffset"] = text(data.holeOffset, path + "/holeOffset");
        item["penetrationLength"] = text(data.penetrationLength, path + "/penetrationLength");
        item["addedLength"] = text(data.addedLength, path + "/addedLength");
        item["flags"] = data.flags;
        item["extraFlag"] = data.extraFlag;
        item["extraFlagApplies"] = data.extraFlagApplies;
        item["switches"] = data.switches;
        Json columns = Json::array();
        for (size_t i = 0; i < data.holeColumns.size(); ++i)
            columns.push_back(Json{{"name", text(data.holeColumns[i].name,
                                                 path + "/holeColumns/" + std::to_string(i) + "/name")},
                                   {"checked", data.holeColumns[i].checked}});
        item["holeColumns"] = std::move(columns);
        Json slots = Json::array();
        for (size_t i = 0; i < data.slots.size(); ++i)
        {
            const MacroBoltSlot& slot = data.slots[i];
            const std::string at = path + "/slots/" + std::to_string(i);
            slots.push_back(Json{{"active", slot.active},
                                 {"radius", text(slot.radius, at + "/radius")},
                                 {"length", text(slot.length, at + "/length")},
                                 {"angle", text(slot.angle, at + "/angle")},
                                 {"fourth", text(slot.fourth, at + "/fourth")},
                                 {"kind", slot.kind}});
        }
        item["slots"] = std::move(slots);
        return item;
    }

    Json tab(const MacroTabData& tab, const std::string& path) const
    {
        Json item = Json::object();
        item["name"] = text(tab.name(), path + "/name");
        item["kind"] = tab.kind();
        item["template"] = text(tab.templatePath(), path + "/template");
        Json cells = Json::array();
        for (size_t i = 0; i < tab.cells().size(); ++i)
        {
            const MacroCellData& cell = tab.cells()[i];
            const std::string at = path + "/cells/" + std::to_string(i);
            Json entry{{"name", text(cell.name, at + "/name")},
                       {"value", text(cell.value, at + "/value")},
                       {"kind", cell.kind},
                       {"readOnly", cell.readOnly}};
            if (!cell.items.isEmpty())
            {
                Json items = Json::array();
                for (int k = 0; k < cell.items.length(); ++k)
                    items.push_back(text(cell.items[k], at + "/items/" + std::to_string(k)));
                entry["items"] = std::move(items);
            }
            cells.push_back(std::move(entry));
        }
        item["cells"] = std::move(cells);
        Json patterns = Json::array();
        for (size_t i = 0; i < tab.patterns().size(); ++i)
        {
            const MacroPatternProps& pattern = tab.patterns()[i];
            const std::string at = path + "/patterns/" + std::to_string(i);
            patterns.push_back(Json{{"name", text(pattern.name, at + "/name")},
                                    {"count1", text(pattern.count1, at + "/count1")},
                                    {"count2", text(pattern.count2, at + "/count2")}});
        }
        item["patterns"] = std::move(patterns);
        const MacroBoltData* bolts = nullptr;
        if (tab.getBoltData(bolts))
            item["boltData"] = boltData(*bolts, path + "/boltData");
        Json groups = Json::array();
        for (size_t i = 0; i < tab.profGroups().size(); ++i)
        {
            const MacroProfData& group = tab.profGroups()[i];
            const std::string at = path + "/memberGroups/" + std::to_string(i);
            groups.push_back(Json{{"name", text(group.groupName, at + "/name")},
                                  {"memberName", text(group.merged.memberName, at + "/memberName")},
                                  {"section", text(group.merged.section, at + "/section")},
                                  {"material", text(group.merged.material, at + "/material")},
                                  {"offsetType", group.merged.offsetType},
                                  {"rotation", text(group.merged.rotation, at + "/rotation")},
                                  {"mergeable", group.mergeable}});
        }
        item["memberGroups"] = std::move(groups);
        Json flexFix = Json::array();
        for (size_t i = 0; i < tab.flexFixGroups().size(); ++i)
        {
            const MacroFlexFixGroup& group = tab.flexFixGroups()[i];
            const std::string at = path + "/flexFix/" + std::to_string(i);
            Json members = Json::array();
            for (size_t m = 0; m < group.members.size(); ++m)
                members.push_back(Json{
                    {"name", text(group.members[m].name, at + "/members/" + std::to_string(m) + "/name")},
                    {"fixed", group.members[m].fixed}});
            flexFix.push_back(
                Json{{"group", text(group.name, at + "/group")}, {"members", std::move(members)}});
        }
        item["flexFix"] = std::move(flexFix);
        // Arrays, cuts and the drawing list came later; a tab without them is written as
        // before, so older files and their readers see nothing new.
        if (!tab.arrays().empty())
        {
            Json arrays = Json::array();
            for (size_t i = 0; i < tab.arrays().size(); ++i)
            {
                const DynArrayData& array = tab.arrays()[i];
                const std::string at = path + "/arrays/" + std::to_string(i);
                Json texts = Json::array();
                for (size_t k = 0; k < array.texts.size(); ++k)
                    texts.push_back(text(array.texts[k], at + "/texts/" + std::to_string(k)));
                Json entries = Json::array();
                for (size_t k = 0; k < array.entries.size(); ++k)
                    entries.push_back(text(array.entries[k].text, at + "/entries/" + std::to_string(k)));
                arrays.push_back(Json{{"name", text(array.name, at + "/name")},
                                      {"mode", array.mode},
                                      {"texts", std::move(texts)},
                                      {"entries", std::move(entries)}});
            }
            item["arrays"] = std::move(arrays);
        }
        if (!tab.cuts().empty())
        {
            Json cuts = Json::array();
            for (size_t i = 0; i < tab.cuts().size(); ++i)
                cuts.push_back(
                    Json{{"name", text(tab.cuts()[i].name, path + "/cuts/" + std::to_string(i) + "/name")},
                         {"value", tab.cuts()[i].value}});
            item["cuts"] = std::move(cuts);
        }
        if (tab.offersDrawingList())
            item["drawingList"] = Json{{"name", text(tab.drawingName(), path + "/drawingList/name")}};
        return item;
    }
};
} // namespace

bool formatMacroJson(const Kdr_DbMacro& macro, const MacroData& data, std::string& text, std::string& error)
{
    try
    {
        text = Writer().macro(macro, data).dump(2) + "\n";
        return true;
    }
    catch (const JsonProblem& problem)
    {
        error = problem.where + ": " + problem.what;
        return false;
    }
    catch (const std::exception& problem)
    {
        error = problem.what();
        return false;
    }
}

bool saveMacroJson(const std::string& path, const Kdr_DbMacro& macro, const MacroData& data,
                   std::string& error)
{
    return hostio::saveRecordFile(path, error,
                                  [&](std::string& text, std::string& problem)
                                  { return formatMacroJson(macro, data, text, problem); });
}
