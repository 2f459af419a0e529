#include "host/Kdr_Macro.h"

#include <cmath>

namespace
{
/// The key of a module name in the index: letters folded as the host compares them.
std::string foldedName(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}
} // namespace

Kdr_Macro::Kdr_Macro(const Kdr_Macro& other) : generalVariables_(other.generalVariables_)
{
    for (const auto& module : other.modules_)
        modules_.push_back(module->clone());
    indexModules();
}

Kdr_Macro& Kdr_Macro::operator=(const Kdr_Macro& other)
{
    if (this != &other)
    {
        Kdr_Macro copy(other);
        modules_ = std::move(copy.modules_);
        moduleIndex_ = std::move(copy.moduleIndex_);
        generalVariables_ = std::move(copy.generalVariables_);
    }
    return *this;
}

bool Kdr_Macro::addModule(std::unique_ptr<Kdr_Module> module)
{
    if (!module || module->name().empty())
        return false;
    // The index alone decides here: a full search per added module would make loading a
    // large macro quadratic.
    std::string key = foldedName(module->name());
    if (auto found = moduleIndex_.find(key);
        found != moduleIndex_.end() && found->second < modules_.size() &&
        host::equalText(modules_[found->second]->name(), module->name(), false))
        return false;
    moduleIndex_.insert_or_assign(std::move(key), modules_.size());
    modules_.push_back(std::move(module));
    return true;
}

void Kdr_Macro::indexModules()
{
    moduleIndex_.clear();
    for (size_t i = 0; i < modules_.size(); ++i)
        moduleIndex_.emplace(foldedName(modules_[i]->name()), i);
}

bool Kdr_Macro::removeModule(std::string_view name)
{
    for (auto it = modules_.begin(); it != modules_.end(); ++it)
        if (host::equalText((*it)->name(), name, false))
        {
            modules_.erase(it);
            indexModules();
            return true;
        }
    return false;
}

bool Kdr_Macro::renameModule(std::string_view name, const Kdr_String& newName)
{
    Kdr_Module* module = nullptr;
    if (newName.empty() || !findModuleWrite(name, module))
        return false;
    const Kdr_Module* other = nullptr;
    if (findModule(newName, other) && other != module)
        return false;
    module->setName(newName);
    indexModules();
    return true;
}

void Kdr_Macro::getModuleNames(Kdr_StringArray& names) const
{
    names.removeAll();
    for (const auto& module : modules_)
        names.append(module->name());
}

bool Kdr_Macro::findModule(std::string_view name, const Kdr_Module*& module) const
{
    auto found = moduleIndex_.find(foldedName(name));
    if (found != moduleIndex_.end() && found->second < modules_.size() &&
        host::equalText(modules_[found->second]->name(), name, false))
    {
        module = modules_[found->second].get();
        return true;
    }
    // A module renamed after it was added is not where the index says; find it the slow way.
    for (const auto& candidate : modules_)
        if (host::equalText(candidate->name(), name, false))
        {
            module = candidate.get();
            return true;
        }
    return false;
}

bool Kdr_Macro::findModuleWrite(std::string_view name, Kdr_Module*& module)
{
    const Kdr_Module* found = nullptr;
    if (!findModule(name, found))
        return false;
    module = const_cast<Kdr_Module*>(found);
    return true;
}

bool Kdr_Macro::getModNamesOfGroup(std::string_view group, Kdr_StringArray& names) const
{
    names.removeAll();
    if (group.empty())
        return false;
    for (const auto& module : modules_)
        if (host::equalText(module->groupOrName(), group, false))
            names.append(module->name());
    return !names.isEmpty();
}

bool Kdr_Macro::addGeneralVariable(const Kdr_GeneralVariable& variable)
{
    if (variable.name.empty() || findGeneralVariable(variable.name))
        return false;
    generalVariables_.push_back(variable);
    return true;
}

void Kdr_Macro::getGeneralVariables(Kdr_StringArray& names) const
{
    names.removeAll();
    for (const Kdr_GeneralVariable& variable : generalVariables_)
        names.append(variable.name);
}

const Kdr_GeneralVariable* Kdr_Macro::findGeneralVariable(std::string_view name) const
{
    for (const Kdr_GeneralVariable& variable : generalVariables_)
        if (host::equalText(variable.name, name, false))
            return &variable;
    return nullptr;
}

double Kdr_Macro::generalVariableValue(std::string_view name) const
{
    const Kdr_GeneralVariable* variable = findGeneralVariable(name);
    return variable ? variable->value() : 0.0;
}

Acad::ErrorStatus Kdr_Macro::setGeneralVariable(std::string_view name, double value)
{
    auto* variable = const_cast<Kdr_GeneralVariable*>(findGeneralVariable(name));
    if (!variable)
        return Acad::eKeyNotFound;
    if (!std::isfinite(value))
        return Acad::eInvalidInput;
    variable->number = value;
    variable->text.clear();
    variable->isText = false;
    return Acad::eOk;
}

bool Kdr_Macro::sameContents(const Kdr_Macro& other) const
{
    if (modules_.size() != other.modules_.size() || generalVariables_ != other.generalVariables_)
        return false;
    for (size_t i = 0; i < modules_.size(); ++i)
        if (!modules_[i]->sameContents(*other.modules_[i]))
            return false;
    return true;
}
