#include "host/Kdr_Module.h"

#include <algorithm>

namespace
{
template <typename Item> Item* findByName(std::vector<Item>& items, std::string_view name)
{
    auto it = std::find_if(items.begin(), items.end(),
                           [&](const Item& item) { return host::equalText(item.name, name, false); });
    return it == items.end() ? nullptr : &*it;
}
} // namespace

bool Kdr_Module::sameContents(const Kdr_Module& other) const
{
    return classNumber() == other.classNumber() && name_ == other.name_ && groupName_ == other.groupName_ &&
           variables_ == other.variables_ && cuts_ == other.cuts_ && rules_ == other.rules_;
}

bool Kdr_Rule::hasKind(int kind) const
{
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

bool Kdr_Module::addDialogVariable(const Kdr_DialogVariable& variable)
{
    if (findDialogVariable(variable.name))
        return false;
    variables_.push_back(variable);
    return true;
}

Kdr_DialogVariable* Kdr_Module::findDialogVariable(std::string_view name)
{
    return findByName(variables_, name);
}

const Kdr_DialogVariable* Kdr_Module::findDialogVariable(std::string_view name) const
{
    return const_cast<Kdr_Module*>(this)->findDialogVariable(name);
}

void Kdr_Module::getDialogVariables(Kdr_StringArray& names, std::vector<bool>& visible,
                                    std::vector<bool>& settable) const
{
    names.removeAll();
    visible.clear();
    settable.clear();
    for (const Kdr_DialogVariable& variable : variables_)
    {
        names.append(variable.name);
        visible.push_back(variable.visible);
        settable.push_back(variable.settable);
    }
}

bool Kdr_Module::addCut(const Kdr_Cut& cut)
{
    if (cut.type < 0 || cut.type >= Kdr_Cut::kTypeCount || findCut(cut.name))
        return false;
    cuts_.push_back(cut);
    return true;
}

Kdr_Cut* Kdr_Module::findCut(std::string_view name)
{
    return findByName(cuts_, name);
}

const Kdr_Cut* Kdr_Module::findCut(std::string_view name) const
{
    return const_cast<Kdr_Module*>(this)->findCut(name);
}

bool Kdr_Module::ownsCut(const Kdr_Cut* cut) const
{
    return std::any_of(cuts_.begin(), cuts_.end(), [&](const Kdr_Cut& own) { return &own == cut; });
}
