#include "host/Kdr_DbMacro.h"

Kdr_DbMacro::Kdr_DbMacro(const Kdr_DbMacro& other)
    : AcDbObject(other), name_(other.name_), macro_(other.macro_), standardsTargets_(other.standardsTargets_),
      writeEnabled_(other.writeEnabled_)
{
    for (const auto& profile : other.baseProfiles_)
        baseProfiles_.push_back(std::make_unique<Kdr_ProfPlacement>(*profile));
}

Kdr_DbMacro& Kdr_DbMacro::operator=(const Kdr_DbMacro& other)
{
    if (this != &other)
    {
        name_ = other.name_;
        macro_ = other.macro_;
        standardsTargets_ = other.standardsTargets_;
        writeEnabled_ = other.writeEnabled_;
        baseProfiles_.clear();
        for (const auto& profile : other.baseProfiles_)
            baseProfiles_.push_back(std::make_unique<Kdr_ProfPlacement>(*profile));
    }
    return *this;
}

AcDbObjectId Kdr_DbMacro::addBaseProfile(const Kdr_String& section, const Kdr_String& material)
{
    baseProfiles_.push_back(std::make_unique<Kdr_ProfPlacement>(Kdr_String(), section, material));
    return baseProfiles_.back()->objectId();
}

bool Kdr_DbMacro::findStandardsTarget(std::string_view sheet, Kdr_String& target) const
{
    for (const Kdr_StandardsTarget& entry : standardsTargets_)
        if (host::equalText(entry.sheet, sheet, false))
        {
            target = entry.target;
            return true;
        }
    return false;
}

bool Kdr_DbMacro::sameContents(const Kdr_DbMacro& other) const
{
    if (name_ != other.name_ || !macro_.sameContents(other.macro_) ||
        standardsTargets_ != other.standardsTargets_ || baseProfiles_.size() != other.baseProfiles_.size())
        return false;
    for (size_t i = 0; i < baseProfiles_.size(); ++i)
        if (!baseProfiles_[i]->sameContents(*other.baseProfiles_[i]))
            return false;
    return true;
}
