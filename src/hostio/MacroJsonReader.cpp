#include "host/FileFunctions.h"
#include "host/Kdr_BoltModule.h"
#include "host/Kdr_DbMacro.h"
#include "host/Kdr_PrplModule.h"
#include "host/MacroData.h"
#include "host/StringFunctions.h"
#include "hostio/JsonRecords.h"
#include "hostio/MacroJson.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

using Json = nlohmann::ordered_json;

namespace
{
using hostio::JsonProblem;

[[noreturn]] void fail(const std::string& where, const std::string& what)
{
    hostio::failAt(where, what);
}

std::string child(const std::string& path, std::string_view key)
{
    return path + "/" + hostio::pointerToken(key);
}

std::string child(const std::string& path, size_t index)
{
    return path + "/" + std::to_string(index);
}

/// The shortest text that reads back as `value`.
Kdr_String numberText(double value)
{
    char buffer[40];
    for (int precision = 15; precision <= 17; ++precision)
    {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::strtod(buffer, nullptr) == value)
            break;
    }
    return Kdr_String(buffer);
}

/// An object node with its path; every key read is ticked off so that the rest can be
/// refused as unknown.
class ObjectReader
{
public:
    ObjectReader(const Json& node, std::string path) : node_(node), path_(std::move(path))
    {
        if (!node_.is_object())
            fail(path_, "expected an object");
    }

    /// Refuses every key that is not in `known`.
    void allowOnly(std::initializer_list<std::string_view> known) const
    {
        for (auto it = node_.begin(); it != node_.end(); ++it)
        {
            bool found = false;
            for (std::string_view key : known)
                found = found || key == it.key();
            if (!found)
                fail(child(path_, it.key()), "unknown key");
        }
    }

    const Json* find(std::string_view key) const
    {
        auto it = node_.find(std::string(key));
        return it == node_.end() ? nullptr : &*it;
    }

    std::string pathOf(std::string_view key) const { return child(path_, key); }

    Kdr_String text(std::string_view key, bool required, const Kdr_String& fallback = Kdr_String()) const
    {
        const Json* value = find(key);
        if (!value)
        {
            if (required)
                fail(pathOf(key), "missing; expected a string");
            return fallback;
        }
        if (!value->is_string())
            fail(pathOf(key), "expected a string");
        return Kdr_String(value->get_ref<const std::string&>());
    }

    /// A text that may also be given as a number.
    Kdr_String textOrNumber(std::string_view key, const Kdr_String& fallback) const
    {
        const Json* value = find(key);
        if (!value)
            return fallback;
        if (value->is_string())
            return Kdr_String(value->get_ref<const std::string&>());
        if (value->is_number() && std::isfinite(value->get<double>()))
            return numberText(value->get<double>());
        fail(pathOf(key), "expected a string or a number");
    }

    bool flag(std::string_view key, bool fallback) const
    {
        const Json* value = find(key);
        if (!value)
            return fallback;
        if (!value->is_boolean())
            fail(pathOf(key), "expected true or false");
        return value->get<bool>();
    }

    double number(std::string_view key, double fallback) const
    {
        const Json* value = find(key);
        if (!value)
            return fallback;
        return numberAt(*value, pathOf(key));
    }

    int integer(std::string_view key, bool required, int fallback, int low, int high) const
    {
        const Json* value = find(key);
        if (!value)
        {
            if (required)
                fail(pathOf(key), "missing; expected a whole number");
            return fallback;
        }
        return integerAt(*value, pathOf(key), low, high);
    }

    /// The array under `key` (an empty one when the key is missing).
    const Json& array(std::string_view key) const
    {
        static const Json empty = Json::array();
        const Json* value = find(key);
        if (!value)
            return empty;
        if (!value->is_array())
            fail(pathOf(key), "expected an array");
        return *value;
    }

    static double numberAt(const Json& value, const std::string& path)
    {
        if (!value.is_number() || !std::isfinite(value.get<double>()))
            fail(path, "expected a number");
        return value.get<double>();
    }

    static int integerAt(const Json& value, const std::string& path, int low, int high)
    {
        const std::string range =
            "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        if (!value.is_number())
            fail(path, range);
        double number = value.get<double>();
        if (number != std::floor(number) || number < low || number > high)
            fail(path, range);
        return static_cast<int>(number);
    }

private:
    const Json& node_;
    std::string path_;
};

constexpr int kIntMax = std::numeric_limits<int>::max();

void readGeneralVariables(const ObjectReader& root, Kdr_Macro& macro)
{
    const Json& list = root.array("generalVariables");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(root.pathOf("generalVariables"), i));
        item.allowOnly({"name", "value"});
        Kdr_GeneralVariable variable;
        variable.name = item.text("name", true);
        if (const Json* value = item.find("value"))
        {
            if (value->is_string())
            {
                variable.isText = true;
                variable.text = value->get_ref<const std::string&>();
            }
            else if (value->is_number() && std::isfinite(value->get<double>()))
                variable.number = value->get<double>();
            else
                fail(item.pathOf("value"), "expected a number or a string");
        }
        if (variable.name.empty() || !macro.addGeneralVariable(variable))
            fail(item.pathOf("name"), "expected a name not used by another general variable");
    }
}

void readVariables(const ObjectReader& owner, Kdr_Module& module)
{
    const Json& list = owner.array("variables");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("variables"), i));
        item.allowOnly({"name", "value", "visible", "settable"});
        Kdr_DialogVariable variable;
        variable.name = item.text("name", true);
        variable.value = item.textOrNumber("value", "");
        variable.visible = item.flag("visible", true);
        variable.settable = item.flag("settable", true);
        if (variable.name.empty() || !module.addDialogVariable(variable))
            fail(item.pathOf("name"), "expected a name not used by another variable of the module");
    }
}

void readCuts(const ObjectReader& owner, Kdr_Module& module)
{
    const Json& list = owner.array("cuts");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("cuts"), i));
        item.allowOnly({"name", "type", "values"});
        Kdr_Cut cut;
        cut.name = item.text("name", true);
        cut.type = item.integer("type", false, 0, 0, Kdr_Cut::kTypeCount - 1);
        const Json& values = item.array("values");
        if (item.find("values") && values.size() != Kdr_Cut::kValueCount)
            fail(item.pathOf("values"), "expected an array of 9 numbers");
        for (size_t v = 0; v < values.size(); ++v)
            cut.values[v] = ObjectReader::numberAt(values[v], child(item.pathOf("values"), v));
        if (cut.name.empty() || !module.addCut(cut))
            fail(item.pathOf("name"), "expected a name not used by another cut of the module");
    }
}

Kdr_StringArray textsAt(const ObjectReader& item, std::string_view key)
{
    Kdr_StringArray texts;
    const Json& list = item.array(key);
    for (size_t i = 0; i < list.size(); ++i)
    {
        if (!list[i].is_string())
            fail(child(item.pathOf(key), i), "expected a string");
        texts.append(Kdr_String(list[i].get_ref<const std::string&>()));
    }
    return texts;
}

std::vector<int> integersAt(const ObjectReader& item, std::string_view key, int low, int high)
{
    std::vector<int> values;
    const Json& list = item.array(key);
    for (size_t i = 0; i < list.size(); ++i)
        values.push_back(ObjectReader::integerAt(list[i], child(item.pathOf(key), i), low, high));
    return values;
}

void readRules(const ObjectReader& owner, Kdr_Module& module)
{
    const Json& list = owner.array("rules");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("rules"), i));
        item.allowOnly({"texts", "kinds", "expression", "name", "visible", "readOnly", "choices", "choice",
                        "cut", "optionBitmaps", "options"});
        Kdr_Rule rule;
        rule.texts = textsAt(item, "texts");
        rule.kinds = integersAt(item, "kinds", 0, 3);
        rule.expression = item.text("expression", false);
        rule.name = item.text("name", false);
        rule.visible = item.flag("visible", false);
        rule.readOnly = item.flag("readOnly", false);
        rule.choices = textsAt(item, "choices");
        rule.choice = item.integer("choice", false, -1, -1, kIntMax);
        rule.cut = item.text("cut", false);
        rule.optionBitmaps = textsAt(item, "optionBitmaps");
        rule.options = integersAt(item, "options", 0, kIntMax);
        module.rules().push_back(std::move(rule));
    }
}

void readPatterns(const ObjectReader& owner, Kdr_BoltModule& module)
{
    const Json& list = owner.array("patterns");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("patterns"), i));
        item.allowOnly({"id", "name", "twoDirections", "reverse1", "reverse2"});
        Kdr_BoltPattern pattern(item.integer("id", true, 0, 0, kIntMax), item.text("name", true),
                                item.flag("twoDirections", false));
        pattern.setReverseStart(true, item.flag("reverse1", false));
        if (item.flag("reverse2", false) && !pattern.setReverseStart(false, true))
            fail(item.pathOf("reverse2"), "expected false for a pattern without a second direction");
        if (module.findPatternById(pattern.id()))
            fail(item.pathOf("id"), "expected an id not used by another pattern of the module");
        if (pattern.name().empty() || !module.addPattern(pattern))
            fail(item.pathOf("name"), "expected a name not used by another pattern of the module");
    }
}

void readMembers(const ObjectReader& owner, Kdr_PrplModule& module)
{
    const Json& list = owner.array("members");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("members"), i));
        item.allowOnly({"name", "section", "material"});
        if (module
                .addMember(item.text("name", false), item.text("section", false),
                           item.text("material", false))
                .isNull())
            fail(item.pathOf("name"), "expected a name not used by another member of the module");
    }
}

void readModules(const ObjectReader& root, Kdr_Macro& macro)
{
    const Json& list = root.array("modules");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(root.pathOf("modules"), i));
        const Kdr_String kind = item.text("kind", false, "module");
        std::unique_ptr<Kdr_Module> module;
        const Kdr_String name = item.text("name", true);
        const Kdr_String group = item.text("group", false);
        if (kind == "bolt")
        {
            item.allowOnly({"name", "group", "kind", "variables", "cuts", "rules", "patterns"});
            auto bolts = std::make_unique<Kdr_BoltModule>(name, group);
            readPatterns(item, *bolts);
            module = std::move(bolts);
        }
        else if (kind == "placement")
        {
            item.allowOnly({"name", "group", "kind", "variables", "cuts", "rules", "members"});
            auto placements = std::make_unique<Kdr_PrplModule>(name, group);
            readMembers(item, *placements);
            module = std::move(placements);
        }
        else if (kind == "module")
        {
            item.allowOnly({"name", "group", "kind", "variables", "cuts", "rules"});
            module = std::make_unique<Kdr_Module>(name, group);
        }
        else
            fail(item.pathOf("kind"), "expected \"module\", \"bolt\" or \"placement\"");
        readVariables(item, *module);
        readCuts(item, *module);
        readRules(item, *module);
        if (name.empty() || !macro.addModule(std::move(module)))
            fail(item.pathOf("name"), "expected a name not used by another module");
    }
}

void readBaseProfiles(const ObjectReader& root, Kdr_DbMacro& macro)
{
    const Json& list = root.array("baseProfiles");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(root.pathOf("baseProfiles"), i));
        item.allowOnly({"section", "material"});
        macro.addBaseProfile(item.text("section", true), item.text("material", false));
    }
}

void readStandards(const ObjectReader& root, Kdr_DbMacro& macro)
{
    const Json& list = root.array("standards");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(root.pathOf("standards"), i));
        item.allowOnly({"sheet", "target"});
        Kdr_StandardsTarget entry{item.text("sheet", true), item.text("target", true)};
        Kdr_String existing;
        if (entry.sheet.empty() || macro.findStandardsTarget(entry.sheet, existing))
            fail(item.pathOf("sheet"), "expected a sheet name not used by another entry");
        macro.standardsTargets().push_back(entry);
    }
}

void readCells(const ObjectReader& owner, MacroTabData& tab)
{
    const Json& list = owner.array("cells");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("cells"), i));
        item.allowOnly({"name", "value", "kind", "readOnly", "items"});
        MacroCellData cell;
        cell.name = item.text("name", true);
        cell.value = item.textOrNumber("value", "");
        cell.kind = item.integer("kind", false, MacroCellData::kNumber, MacroCellData::kNumber,
                                 MacroCellData::kCheck);
        cell.readOnly = item.flag("readOnly", false);
        const Json& items = item.array("items");
        for (size_t k = 0; k < items.size(); ++k)
        {
            if (!items[k].is_string())
                fail(child(item.pathOf("items"), k), "expected a string");
            cell.items.append(Kdr_String(items[k].get_ref<const std::string&>()));
        }
        if (cell.name.empty() || !tab.addCell(cell))
            fail(item.pathOf("name"), "expected a name not used by another cell of the tab");
    }
}

void readTabPatterns(const ObjectReader& owner, MacroTabData& tab)
{
    const Json& list = owner.array("patterns");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("patterns"), i));
        item.allowOnly({"name", "count1", "count2"});
        MacroPatternProps pattern;
        pattern.name = item.text("name", true);
        pattern.count1 = item.textOrNumber("count1", pattern.count1);
        pattern.count2 = item.textOrNumber("count2", pattern.count2);
        if (pattern.name.empty() || !tab.addPattern(pattern))
            fail(item.pathOf("name"), "expected a name not used by another pattern of the tab");
    }
}

MacroBoltData readBoltData(const ObjectReader& item)
{
    item.allowOnly({"assembly", "diameter", "holeOffset", "penetrationLength", "addedLength", "flags",
                    "extraFlag", "extraFlagApplies", "switches", "holeColumns", "slots"});
    MacroBoltData data;
    data.assembly = item.textOrNumber("assembly", "");
    data.diameter = item.textOrNumber("diameter", "");
    data.holeOffset = item.textOrNumber("holeOffset", "");
    data.penetrationLength = item.textOrNumber("penetrationLength", "");
    data.addedLength = item.textOrNumber("addedLength", "");
    data.extraFlag = item.flag("extraFlag", false);
    data.extraFlagApplies = item.flag("extraFlagApplies", false);
    const Json& flags = item.array("flags");
    if (item.find("flags") && flags.size() != data.flags.size())
        fail(item.pathOf("flags"), "expected an array of 4 whole numbers from 0 to 2");
    for (size_t i = 0; i < flags.size(); ++i)
        data.flags[i] = ObjectReader::integerAt(flags[i], child(item.pathOf("flags"), i), 0, 2);
    const Json& switches = item.array("switches");
    if (item.find("switches") && switches.size() != data.switches.size())
        fail(item.pathOf("switches"), "expected an array of 5 whole numbers from -1 to 1");
    for (size_t i = 0; i < switches.size(); ++i)
        data.switches[i] = ObjectReader::integerAt(switches[i], child(item.pathOf("switches"), i), -1, 1);
    const Json& columns = item.array("holeColumns");
    for (size_t i = 0; i < columns.size(); ++i)
    {
        ObjectReader column(columns[i], child(item.pathOf("holeColumns"), i));
        column.allowOnly({"name", "checked"});
        data.holeColumns.push_back({column.text("name", false), column.flag("checked", true)});
    }
    const Json& slots = item.array("slots");
    for (size_t i = 0; i < slots.size(); ++i)
    {
        ObjectReader slot(slots[i], child(item.pathOf("slots"), i));
        slot.allowOnly({"active", "radius", "length", "angle", "fourth", "kind"});
        MacroBoltSlot entry;
        entry.active = slot.flag("active", false);
        entry.radius = slot.textOrNumber("radius", "");
        entry.length = slot.textOrNumber("length", "");
        entry.angle = slot.textOrNumber("angle", "");
        entry.fourth = slot.textOrNumber("fourth", "");
        entry.kind = slot.integer("kind", false, -1, -1, kIntMax);
        data.slots.push_back(entry);
    }
    return data;
}

void readMemberGroups(const ObjectReader& owner, MacroTabData& tab)
{
    const Json& list = owner.array("memberGroups");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("memberGroups"), i));
        item.allowOnly({"name", "memberName", "section", "material", "offsetType", "rotation", "mergeable"});
        MacroProfData group;
        group.groupName = item.text("name", true);
        group.merged.memberName = item.text("memberName", false);
        group.merged.section = item.text("section", false);
        group.merged.material = item.text("material", false);
        group.merged.offsetType = item.integer("offsetType", false, 0, 0, kIntMax);
        group.merged.rotation = item.textOrNumber("rotation", group.merged.rotation);
        group.mergeable = item.flag("mergeable", true);
        if (group.groupName.empty() || !tab.addProfData(group))
            fail(item.pathOf("name"), "expected a name not used by another member group of the tab");
    }
}

void readFlexFix(const ObjectReader& owner, MacroTabData& tab)
{
    const Json& list = owner.array("flexFix");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("flexFix"), i));
        item.allowOnly({"group", "members"});
        MacroFlexFixGroup group;
        group.name = item.text("group", true);
        const Json& members = item.array("members");
        for (size_t m = 0; m < members.size(); ++m)
        {
            ObjectReader member(members[m], child(item.pathOf("members"), m));
            member.allowOnly({"name", "fixed"});
            MacroFlexFixGroup::Member entry{member.text("name", true), member.flag("fixed", false)};
            if (entry.name.empty() || group.findMember(entry.name))
                fail(member.pathOf("name"), "expected a name not used by another member of the group");
            group.members.push_back(entry);
        }
        if (group.name.empty() || !tab.addFlexFixGroup(group))
            fail(item.pathOf("group"), "expected a name not used by another flex/fix group of the tab");
    }
}

/// A text of a list that may also be given as a number.
Kdr_String listText(const Json& value, const std::string& path)
{
    if (value.is_string())
        return Kdr_String(value.get_ref<const std::string&>());
    return numberText(ObjectReader::numberAt(value, path));
}

void readArrays(const ObjectReader& owner, MacroTabData& tab)
{
    const Json& list = owner.array("arrays");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("arrays"), i));
        item.allowOnly({"name", "mode", "texts", "entries"});
        DynArrayData array;
        array.name = item.text("name", true);
        array.mode = item.integer("mode", false, DynArrayData::kRegular, 0, kIntMax);
        const Json& texts = item.array("texts");
        if (texts.size() > array.texts.size())
            fail(item.pathOf("texts"), "expected at most 5 texts");
        for (size_t k = 0; k < texts.size(); ++k)
            array.texts[k] = listText(texts[k], child(item.pathOf("texts"), k));
        const Json& entries = item.array("entries");
        for (size_t k = 0; k < entries.size(); ++k)
            array.entries.push_back({listText(entries[k], child(item.pathOf("entries"), k)), 0});
        if (array.name.empty() || !tab.addArray(array))
            fail(item.pathOf("name"), "expected a name not used by another array of the tab");
    }
}

void readTabCuts(const ObjectReader& owner, MacroTabData& tab)
{
    const Json& list = owner.array("cuts");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(owner.pathOf("cuts"), i));
        item.allowOnly({"name", "value"});
        MacroCutData cut;
        cut.name = item.text("name", true);
        cut.value = item.integer("value", false, 0, 0, 4);
        if (cut.name.empty() || !tab.addCut(cut))
            fail(item.pathOf("name"), "expected a name not used by another cut of the tab");
    }
}

void readTabs(const ObjectReader& root, MacroData& data)
{
    const Json& list = root.array("tabs");
    for (size_t i = 0; i < list.size(); ++i)
    {
        ObjectReader item(list[i], child(root.pathOf("tabs"), i));
        item.allowOnly({"name", "kind", "template", "cells", "patterns", "boltData", "memberGroups",
                        "flexFix", "arrays", "cuts", "drawingList"});
        MacroTabData tab(item.text("name", true), item.integer("kind", false, 0, 0, kIntMax));
        tab.setTemplatePath(item.text("template", false));
        readCells(item, tab);
        readTabPatterns(item, tab);
        if (const Json* bolts = item.find("boltData"))
            tab.setBoltData(readBoltData(ObjectReader(*bolts, item.pathOf("boltData"))));
        readMemberGroups(item, tab);
        readFlexFix(item, tab);
        readArrays(item, tab);
        readTabCuts(item, tab);
        if (const Json* drawings = item.find("drawingList"))
        {
            ObjectReader drawingList(*drawings, item.pathOf("drawingList"));
            drawingList.allowOnly({"name"});
            tab.setDrawingList(drawingList.text("name", false));
        }
        if (tab.name().empty() || !data.addTab(tab))
            fail(item.pathOf("name"), "expected a name not used by another tab");
    }
}

/// Deepest nesting of arrays and objects a macro file may have. A real macro needs six levels;
/// the limit keeps a hostile file from exhausting the stack of whatever walks the document.
constexpr size_t kMaxJsonDepth = 256;

/// Builds the document from the parser's events, as the library's own builder does, but
/// refuses what a macro file must not hold, each with the JSON path where it stands: nesting
/// deeper than kMaxJsonDepth, a key given twice in one object, a NUL character in a text, and
/// a number too large for a double.
class CheckedDocumentBuilder
{
public:
    explicit CheckedDocumentBuilder(Json& root) : root_(root) {}

    bool null() { return place(Json(nullptr)); }
    bool boolean(bool value) { return place(Json(value)); }
    bool number_integer(Json::number_integer_t value) { return place(Json(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return place(Json(value)); }
    bool number_float(Json::number_float_t value, const std::string&) { return place(Json(value)); }
    bool string(std::string& value)
    {
        refuseNul(value, path());
        return place(Json(std::move(value)));
    }
    bool binary(Json::binary_t& value) { return place(Json(std::move(value))); }

    bool start_object(std::size_t) { return open(Json::object()); }
    bool start_array(std::size_t) { return open(Json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(std::string& name)
    {
        Frame& frame = frames_.back();
        frame.key = name;
        refuseNul(name, path());
        if (frame.node->contains(name))
            fail(path(), "key given twice in one object");
        return true;
    }

    template <class Exception> bool parse_error(std::size_t, const std::string&, const Exception& problem)
    {
        // A number out of range is no syntax error: report it where it stands.
        if (problem.id == 406)
            fail(path(), "number overflow (too large for a double)");
        throw problem;
    }

private:
    struct Frame
    {
        Json* node;
        std::string key;
    };

    /// The JSON pointer of the value being read.
    std::string path() const
    {
        std::string text;
        for (size_t i = 0; i < frames_.size(); ++i)
        {
            const Frame& frame = frames_[i];
            // An outer array's open element is its last one; the innermost is about to grow.
            const bool innermost = i + 1 == frames_.size();
            if (frame.node->is_array())
                text = child(text, frame.node->size() - (innermost ? 0 : 1));
            else
                text = child(text, frame.key);
        }
        return text;
    }

    static void refuseNul(const std::string& text, const std::string& where)
    {
        if (text.find('\0') != std::string::npos)
            fail(where, "a text may not hold the NUL character (\\u0000)");
    }

    Json* place(Json value)
    {
        if (frames_.empty())
        {
            root_ = std::move(value);
            return &root_;
        }
        Frame& frame = frames_.back();
        if (frame.node->is_array())
        {
            frame.node->push_back(std::move(value));
            return &frame.node->back();
        }
        Json& slot = (*frame.node)[frame.key];
        slot = std::move(value);
        return &slot;
    }

    bool open(Json container)
    {
        if (frames_.size() >= kMaxJsonDepth)
            fail(path(), "nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        Json* node = place(std::move(container));
        frames_.push_back({node, {}});
        return true;
    }

    bool close()
    {
        frames_.pop_back();
        return true;
    }

    Json& root_;
    std::vector<Frame> frames_;
};

/// Line and column (from 1) of byte `offset` of `text`.
std::string lineAndColumn(std::string_view text, size_t offset)
{
    offset = std::min(offset, text.size());
    size_t line = 1, column = 1;
    for (size_t i = 0; i < offset; ++i)
    {
        if (text[i] == '\n')
        {
            ++line;
            column = 1;
        }
        else
            ++column;
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}
} // namespace

bool parseMacroJson(std::string_view text, const std::string& source, Kdr_DbMacro& macro, MacroData& data,
                    std::string& error)
{
    Json document;
    try
    {
        CheckedDocumentBuilder builder(document);
        Json::sax_parse(text.begin(), text.end(), &builder);
    }
    catch (const JsonProblem& problem)
    {
        error = source + ": " + host::displayText(problem.where) + ": " + problem.what;
        return false;
    }
    catch (const Json::parse_error& problem)
    {
        // The library's message reads "[json.exception.parse_error.101] parse error at line
        // 3, column 5: syntax error ..."; keep the part after the position.
        std::string what = problem.what();
        size_t colon = what.find(": ");
        what = colon == std::string::npos ? what : what.substr(colon + 2);
        // The message quotes the bytes last read, which may be anything.
        error = source + ": " + lineAndColumn(text, problem.byte == 0 ? 0 : problem.byte - 1) + ": " +
                host::displayText(what);
        return false;
    }
    catch (const Json::exception& problem)
    {
        // The parser also throws when a number does not fit ("number overflow parsing ...").
        error = source + ": " + hostio::withoutExceptionId(problem);
        return false;
    }
    try
    {
        ObjectReader root(document, "");
        root.allowOnly(
            {"name", "generalVariables", "baseProfiles", "modules", "tabs", "currentTab", "standards"});
        Kdr_DbMacro loaded(root.text("name", true));
        readGeneralVariables(root, loaded.macro());
        readBaseProfiles(root, loaded);
        readModules(root, loaded.macro());
        readStandards(root, loaded);
        MacroData tabs;
        readTabs(root, tabs);
        tabs.setCurrentTab(root.text("currentTab", false));
        macro = loaded;
        data = tabs;
        return true;
    }
    catch (const JsonProblem& problem)
    {
        error = source + ": " + host::displayText(problem.where) + ": " + problem.what;
        return false;
    }
    catch (const std::exception& problem)
    {
        error = source + ": " + problem.what();
        return false;
    }
}

bool loadMacroJson(const std::string& path, Kdr_DbMacro& macro, MacroData& data, std::string& error)
{
    return hostio::loadRecordFile(
        path, error, [&](std::string_view text) { return parseMacroJson(text, path, macro, data, error); });
}
