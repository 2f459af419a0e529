#include "host/Kdr_PrplModule.h"

Kdr_PrplModule::Kdr_PrplModule(const Kdr_PrplModule& other) : Kdr_Module(other)
{
    for (const auto& member : other.members_)
        members_.push_back(std::make_unique<Kdr_ProfPlacement>(*member));
}

Kdr_PrplModule& Kdr_PrplModule::operator=(const Kdr_PrplModule& other)
{
    if (this != &other)
    {
        Kdr_Module::operator=(other);
        members_.clear();
        for (const auto& member : other.members_)
            members_.push_back(std::make_unique<Kdr_ProfPlacement>(*member));
    }
    return *this;
}

bool Kdr_PrplModule::sameContents(const Kdr_Module& other) const
{
    if (!Kdr_Module::sameContents(other))
        return false;
    const auto& others = static_cast<const Kdr_PrplModule&>(other).members_;
    if (others.size() != members_.size())
        return false;
    for (size_t i = 0; i < members_.size(); ++i)
        if (!members_[i]->sameContents(*others[i]))
            return false;
    return true;
}

AcDbObjectId Kdr_PrplModule::addMember(const Kdr_String& name, const Kdr_String& section,
                                       const Kdr_String& material)
{
    if (!name.empty() && findMember(name))
        return AcDbObjectId::kNull;
    members_.push_back(std::make_unique<Kdr_ProfPlacement>(name, section, material));
    return members_.back()->objectId();
}

const Kdr_ProfPlacement* Kdr_PrplModule::findMember(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (const auto& member : members_)
        if (host::equalText(member->name(), name, false))
            return member.get();
    return nullptr;
}
