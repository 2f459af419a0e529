#pragma once

#include "host/Kdr_Module.h"
#include "host/Kdr_ProfPlacement.h"

/// A module that places profiles (host class 233): it owns member placements, each with a
/// name, a section and a material.
class Kdr_PrplModule : public Kdr_Module
{
public:
    static constexpr int kClassNumber = 233;

    using Kdr_Module::Kdr_Module;
    Kdr_PrplModule() = default;
    Kdr_PrplModule(const Kdr_PrplModule& other);
    Kdr_PrplModule& operator=(const Kdr_PrplModule& other);

    int classNumber() const override { return kClassNumber; }
    std::unique_ptr<Kdr_Module> clone() const override { return std::make_unique<Kdr_PrplModule>(*this); }
    bool sameContents(const Kdr_Module& other) const override;

    /// Adds a member placement and returns its id. A member with an empty name is allowed
    /// (it cannot be found by name); a duplicate non-empty name is refused with a null id.
    AcDbObjectId addMember(const Kdr_String& name, const Kdr_String& section, const Kdr_String& material);
    /// The member named `name` (not empty), or null.
    const Kdr_ProfPlacement* findMember(std::string_view name) const;
    int memberCount() const { return static_cast<int>(members_.size()); }
    const Kdr_ProfPlacement& member(int index) const { return *members_[static_cast<size_t>(index)]; }

private:
    std::vector<std::unique_ptr<Kdr_ProfPlacement>> members_;
};
