#include "host/AcRxSystem.h"

bool AcRxDynamicLinker::unlockApplication(void* appId)
{
    acrxSysRegistry()->logCall("unlockApplication");
    unlocked_.insert(appId);
    return true;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId)
{
    acrxSysRegistry()->logCall("registerAppMDIAware");
    mdiAware_.insert(appId);
    return true;
}

void AcRxDynamicLinker::clear()
{
    unlocked_.clear();
    mdiAware_.clear();
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const char* groupName, const char* commandName)
{
    if (groupName == nullptr || commandName == nullptr)
        return Acad::eInvalidInput;
    groups_[groupName].emplace_back(commandName);
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const char* groupName)
{
    acrxSysRegistry()->logCall(std::string("removeGroup ") + (groupName ? groupName : ""));
    if (groupName == nullptr || groups_.erase(groupName) == 0)
        return Acad::eKeyNotFound;
    return Acad::eOk;
}

std::vector<std::string> AcEdCommandStack::commands(std::string_view groupName) const
{
    auto it = groups_.find(std::string(groupName));
    return it == groups_.end() ? std::vector<std::string>{} : it->second;
}

AcRxDictionary::AcRxDictionary()
{
    objects_["DynamicLinker"] = std::make_unique<AcRxDynamicLinker>();
    objects_["ACAD_REGISTERED_COMMANDS"] = std::make_unique<AcEdCommandStack>();
}

AcRxObject* AcRxDictionary::at(const char* key)
{
    const std::string name = key ? key : "";
    log_.push_back("at " + name);
    auto it = objects_.find(name);
    return it == objects_.end() ? nullptr : it->second.get();
}

AcRxObject* AcRxDictionary::find(std::string_view key) const
{
    auto it = objects_.find(std::string(key));
    return it == objects_.end() ? nullptr : it->second.get();
}

void AcRxDictionary::reset()
{
    log_.clear();
    for (auto& [name, object] : objects_)
    {
        if (auto* linker = AcRxDynamicLinker::cast(object.get()))
            linker->clear();
        if (auto* stack = AcEdCommandStack::cast(object.get()))
            stack->clear();
    }
}

AcRxDictionary* acrxSysRegistry()
{
    static AcRxDictionary registry;
    return &registry;
}

AcEdCommandStack* acedRegCmds()
{
    return AcEdCommandStack::cast(acrxSysRegistry()->find("ACAD_REGISTERED_COMMANDS"));
}
