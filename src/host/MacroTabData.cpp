#include "host/MacroTabData.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace
{
template <typename Item, typename NameOf>
Item* findNamed(std::vector<Item>& items, std::string_view name, NameOf nameOf)
{
    auto it = std::find_if(items.begin(), items.end(),
                           [&](const Item& item) { return host::equalText(nameOf(item), name, false); });
    return it == items.end() ? nullptr : &*it;
}

const Kdr_String& nameOfCell(const MacroCellData& cell)
{
    return cell.name;
}
const Kdr_String& nameOfPattern(const MacroPatternProps& pattern)
{
    return pattern.name;
}
const Kdr_String& nameOfGroup(const MacroProfData& group)
{
    return group.groupName;
}
const Kdr_String& nameOfFlexGroup(const MacroFlexFixGroup& group)
{
    return group.name;
}
const Kdr_String& nameOfArray(const DynArrayData& array)
{
    return array.name;
}
const Kdr_String& nameOfCut(const MacroCutData& cut)
{
    return cut.name;
}
bool sameArray(DynArrayData a, DynArrayData b)
{
    a.clearDlgReferences();
    b.clearDlgReferences();
    return a == b;
}
bool sameCut(MacroCutData a, MacroCutData b)
{
    a.dlgRef = b.dlgRef = 0;
    return a == b;
}

/// Equal apart from dialog references.
bool sameCell(MacroCellData a, MacroCellData b)
{
    a.dlgRef = b.dlgRef = 0;
    return a == b;
}
bool samePattern(MacroPatternProps a, MacroPatternProps b)
{
    a.count1Ref = a.count2Ref = a.buttonRef = 0;
    b.count1Ref = b.count2Ref = b.buttonRef = 0;
    return a == b;
}
bool sameBoltData(MacroBoltData a, MacroBoltData b)
{
    a.dlgRefs.fill(0);
    b.dlgRefs.fill(0);
    return a == b;
}
bool sameGroup(MacroProfData a, MacroProfData b)
{
    a.dlgRefs.fill(0);
    b.dlgRefs.fill(0);
    return a == b;
}

/// The first item of each name in a list, names compared without case as findNamed does. A
/// short list is searched in place; a longer one is indexed once, so comparing two lists of a
/// large tab takes time in proportion to their length rather than its square.
template <typename Item, typename NameOf> class NamedItems
{
public:
    NamedItems(const std::vector<Item>& items, NameOf nameOf) : items_(items), nameOf_(nameOf)
    {
        if (items.size() <= kSearchedInPlace)
            return;
        byName_.reserve(items.size());
        for (const Item& item : items)
            byName_.try_emplace(host::foldedText(nameOf(item)), &item);
    }
    const Item* find(std::string_view name) const
    {
        if (items_.size() <= kSearchedInPlace)
            return findNamed(const_cast<std::vector<Item>&>(items_), name, nameOf_);
        const auto it = byName_.find(host::foldedText(name));
        return it == byName_.end() ? nullptr : it->second;
    }

private:
    static constexpr std::size_t kSearchedInPlace = 16;
    const std::vector<Item>& items_;
    NameOf nameOf_;
    std::unordered_map<std::string, const Item*> byName_;
};

/// Lists every name of `now` whose item differs from (or is missing in) `before`, and every
/// name of `before` that is gone.
template <typename Item, typename NameOf, typename Same>
void listChanges(const std::vector<Item>& now, const std::vector<Item>& before, NameOf nameOf, Same same,
                 Kdr_StringArray& changed)
{
    const NamedItems<Item, NameOf> beforeByName(before, nameOf);
    for (const Item& item : now)
    {
        const Item* old = beforeByName.find(nameOf(item));
        if (!old || !same(item, *old))
            changed.append(nameOf(item));
    }
    const NamedItems<Item, NameOf> nowByName(now, nameOf);
    for (const Item& item : before)
        if (!nowByName.find(nameOf(item)))
            changed.append(nameOf(item));
}
} // namespace

bool MacroTabData::addCell(const MacroCellData& cell)
{
    if (findNamed(cells_, cell.name, nameOfCell))
        return false;
    cells_.push_back(cell);
    return true;
}

bool MacroTabData::findCellWithName(std::string_view name, MacroCellData*& cell)
{
    MacroCellData* found = findNamed(cells_, name, nameOfCell);
    if (found)
        cell = found;
    return found != nullptr;
}

bool MacroTabData::findCellWithName(std::string_view name, const MacroCellData*& cell) const
{
    MacroCellData* found = nullptr;
    if (!const_cast<MacroTabData*>(this)->findCellWithName(name, found))
        return false;
    cell = found;
    return true;
}

bool MacroTabData::addPattern(const MacroPatternProps& pattern)
{
    if (findNamed(patterns_, pattern.name, nameOfPattern))
        return false;
    patterns_.push_back(pattern);
    return true;
}

bool MacroTabData::findPatternWithName(std::string_view name, MacroPatternProps*& pattern)
{
    MacroPatternProps* found = findNamed(patterns_, name, nameOfPattern);
    if (found)
        pattern = found;
    return found != nullptr;
}

bool MacroTabData::findPatternWithName(std::string_view name, const MacroPatternProps*& pattern) const
{
    MacroPatternProps* found = nullptr;
    if (!const_cast<MacroTabData*>(this)->findPatternWithName(name, found))
        return false;
    pattern = found;
    return true;
}

bool MacroTabData::findPatternWithBtnId(int id, MacroPatternProps*& pattern)
{
    if (id <= 0)
        return false;
    for (MacroPatternProps& candidate : patterns_)
        if (candidate.buttonRef == id)
        {
            pattern = &candidate;
            return true;
        }
    return false;
}

bool MacroTabData::getBoltData(MacroBoltData*& data)
{
    if (!hasBoltData_)
        return false;
    data = &boltData_;
    return true;
}

bool MacroTabData::getBoltData(const MacroBoltData*& data) const
{
    if (!hasBoltData_)
        return false;
    data = &boltData_;
    return true;
}

bool MacroTabData::addProfData(const MacroProfData& group)
{
    if (findNamed(profGroups_, group.groupName, nameOfGroup))
        return false;
    profGroups_.push_back(group);
    return true;
}

bool MacroTabData::findProfDataWithGroup(std::string_view group, MacroProfData*& data)
{
    MacroProfData* found = findNamed(profGroups_, group, nameOfGroup);
    if (found)
        data = found;
    return found != nullptr;
}

bool MacroTabData::findProfDataWithGroup(std::string_view group, const MacroProfData*& data) const
{
    MacroProfData* found = nullptr;
    if (!const_cast<MacroTabData*>(this)->findProfDataWithGroup(group, found))
        return false;
    data = found;
    return true;
}

bool MacroTabData::getMergedPropsOfGroup(std::string_view group, MacroProfProps& props) const
{
    const MacroProfData* data = nullptr;
    if (!findProfDataWithGroup(group, data) || !data->mergeable)
        return false;
    props = data->merged;
    return true;
}

bool MacroTabData::setMergedPropsOfGroup(std::string_view group, const MacroProfProps& props)
{
    MacroProfData* data = nullptr;
    if (!findProfDataWithGroup(group, data) || !data->mergeable)
        return false;
    data->merged = props;
    return true;
}

bool MacroTabData::addFlexFixGroup(const MacroFlexFixGroup& group)
{
    if (findNamed(flexFixGroups_, group.name, nameOfFlexGroup))
        return false;
    flexFixGroups_.push_back(group);
    return true;
}

bool MacroTabData::findFlexFixGroup(std::string_view group, const MacroFlexFixGroup*& found) const
{
    const MacroFlexFixGroup* match =
        findNamed(const_cast<std::vector<MacroFlexFixGroup>&>(flexFixGroups_), group, nameOfFlexGroup);
    if (match)
        found = match;
    return match != nullptr;
}

bool MacroTabData::hasBtnFlexFix(std::string_view variable) const
{
    bool fixed = false, flexible = false;
    return getFlexFixBtnStatus(variable, fixed, flexible);
}

bool MacroTabData::getFlexFixBtnStatus(std::string_view variable, bool& fixed, bool& flexible) const
{
    for (const MacroFlexFixGroup& group : flexFixGroups_)
        if (const MacroFlexFixGroup::Member* member = group.findMember(variable))
        {
            fixed = member->fixed;
            flexible = !member->fixed;
            return true;
        }
    return false;
}

bool MacroTabData::flexFixBtnClicked(std::string_view variable, bool checked)
{
    for (const MacroFlexFixGroup& group : flexFixGroups_)
        if (group.findMember(variable))
            return flexFixBtnClicked(Kdr_String(group.name), variable, checked);
    return false;
}

bool MacroTabData::flexFixBtnClicked(std::string_view groupName, std::string_view variable, bool checked)
{
    MacroFlexFixGroup* group = findNamed(flexFixGroups_, groupName, nameOfFlexGroup);
    if (!group)
        return false;
    auto& members = group->members;
    auto clicked = std::find_if(members.begin(), members.end(),
                                [&](const MacroFlexFixGroup::Member& m)
                                { return host::equalText(m.name, variable, false); });
    if (clicked == members.end())
        return false;
    if (checked)
    {
        for (auto& member : members)
            member.fixed = &member != &*clicked;
        return true;
    }
    if (clicked->fixed)
        return true;
    if (members.size() < 2)
        return false;
    clicked->fixed = true;
    bool anotherFlexible = std::any_of(members.begin(), members.end(),
                                       [](const MacroFlexFixGroup::Member& m) { return !m.fixed; });
    if (!anotherFlexible)
    {
        size_t next = (static_cast<size_t>(clicked - members.begin()) + 1) % members.size();
        members[next].fixed = false;
    }
    return true;
}

void MacroTabData::removeAllDlgReferences()
{
    for (MacroCellData& cell : cells_)
        cell.dlgRef = 0;
    for (MacroPatternProps& pattern : patterns_)
        pattern.count1Ref = pattern.count2Ref = pattern.buttonRef = 0;
    boltData_.dlgRefs.fill(0);
    for (MacroProfData& group : profGroups_)
        group.dlgRefs.fill(0);
    for (DynArrayData& array : arrays_)
        array.clearDlgReferences();
    for (MacroCutData& cut : cuts_)
        cut.dlgRef = 0;
    drawingRef_ = 0;
}

bool MacroTabData::addArray(const DynArrayData& array)
{
    if (findNamed(arrays_, array.name, nameOfArray))
        return false;
    arrays_.push_back(array);
    return true;
}

bool MacroTabData::findArrayWithName(std::string_view name, DynArrayData*& array)
{
    DynArrayData* found = findNamed(arrays_, name, nameOfArray);
    if (found)
        array = found;
    return found != nullptr;
}

bool MacroTabData::findArrayWithName(std::string_view name, const DynArrayData*& array) const
{
    DynArrayData* found = findNamed(const_cast<std::vector<DynArrayData>&>(arrays_), name, nameOfArray);
    if (found)
        array = found;
    return found != nullptr;
}

bool MacroTabData::findArrayWithBtnId(int id, DynArrayData*& array)
{
    if (id <= 0)
        return false;
    for (DynArrayData& candidate : arrays_)
        if (candidate.buttonRef == id)
        {
            array = &candidate;
            return true;
        }
    return false;
}

bool MacroTabData::addCut(const MacroCutData& cut)
{
    if (findNamed(cuts_, cut.name, nameOfCut))
        return false;
    cuts_.push_back(cut);
    return true;
}

bool MacroTabData::findCutWithName(std::string_view name, MacroCutData*& cut)
{
    MacroCutData* found = findNamed(cuts_, name, nameOfCut);
    if (found)
        cut = found;
    return found != nullptr;
}

bool MacroTabData::findCutWithName(std::string_view name, const MacroCutData*& cut) const
{
    MacroCutData* found = findNamed(const_cast<std::vector<MacroCutData>&>(cuts_), name, nameOfCut);
    if (found)
        cut = found;
    return found != nullptr;
}

bool MacroTabData::differences(const MacroTabData& before, Kdr_StringArray& changed) const
{
    changed.removeAll();
    listChanges(cells_, before.cells_, nameOfCell, sameCell, changed);
    listChanges(patterns_, before.patterns_, nameOfPattern, samePattern, changed);
    listChanges(profGroups_, before.profGroups_, nameOfGroup, sameGroup, changed);
    listChanges(
        flexFixGroups_, before.flexFixGroups_, nameOfFlexGroup,
        [](const MacroFlexFixGroup& a, const MacroFlexFixGroup& b) { return a == b; }, changed);
    listChanges(arrays_, before.arrays_, nameOfArray, sameArray, changed);
    listChanges(cuts_, before.cuts_, nameOfCut, sameCut, changed);
    if (hasBoltData_ != before.hasBoltData_ || !sameBoltData(boltData_, before.boltData_))
        changed.append("BoltData");
    if (offersDrawingList_ != before.offersDrawingList_ || drawingName_ != before.drawingName_)
        changed.append("DrawingList");
    bool headerChanged =
        name_ != before.name_ || kind_ != before.kind_ || templatePath_ != before.templatePath_;
    return headerChanged || !changed.isEmpty();
}
