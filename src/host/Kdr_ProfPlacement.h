#pragma once

#include "host/AcDbObject.h"
#include "host/Kdr_String.h"

/// A profile placed in the drawing: a base profile of a macro or a member owned by a
/// profile-placement module. It is named by its section's full system name ("IPE-200").
class Kdr_ProfPlacement : public AcDbObject
{
public:
    static constexpr int kClassNumber = 240;

    Kdr_ProfPlacement() = default;
    Kdr_ProfPlacement(Kdr_String name, Kdr_String section, Kdr_String material)
        : name_(std::move(name)), section_(std::move(section)), material_(std::move(material))
    {
    }

    int classNumber() const override { return kClassNumber; }

    const Kdr_String& name() const { return name_; }
    const Kdr_String& section() const { return section_; }
    const Kdr_String& material() const { return material_; }
    void setName(const Kdr_String& name) { name_ = name; }
    void setSection(const Kdr_String& section) { section_ = section; }
    void setMaterial(const Kdr_String& material) { material_ = material; }

    /// Same name, section and material (identity is not compared).
    bool sameContents(const Kdr_ProfPlacement& other) const
    {
        return name_ == other.name_ && section_ == other.section_ && material_ == other.material_;
    }

private:
    Kdr_String name_;
    Kdr_String section_;
    Kdr_String material_;
};
