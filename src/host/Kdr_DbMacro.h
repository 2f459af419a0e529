#pragma once

#include "host/AcDbObject.h"
#include "host/ErrorStatus.h"
#include "host/Kdr_Macro.h"
#include "host/Kdr_ProfPlacement.h"

#include <memory>
#include <vector>

/// The default mapping target of one standards sheet for this macro.
struct Kdr_StandardsTarget
{
    Kdr_String sheet;
    Kdr_String target;

    bool operator==(const Kdr_StandardsTarget& other) const = default;
};

/// A macro object in the drawing: a name, the macro proper (`Kdr_Macro`), its base profiles
/// and the default mapping target of each standards sheet it is evaluated with. Copying makes
/// a new object with copies of everything (base profiles get ids of their own).
class Kdr_DbMacro : public AcDbObject
{
public:
    static constexpr int kClassNumber = 220;

    Kdr_DbMacro() = default;
    explicit Kdr_DbMacro(Kdr_String name) : name_(std::move(name)) {}
    Kdr_DbMacro(const Kdr_DbMacro& other);
    Kdr_DbMacro& operator=(const Kdr_DbMacro& other);

    int classNumber() const override { return kClassNumber; }

    const Kdr_String& name() const { return name_; }
    void setName(const Kdr_String& name) { name_ = name; }

    const Kdr_Macro& macro() const { return macro_; }
    Kdr_Macro& macro() { return macro_; }

    /// Appends a base profile and returns its id.
    AcDbObjectId addBaseProfile(const Kdr_String& section, const Kdr_String& material);
    int baseProfileCount() const { return static_cast<int>(baseProfiles_.size()); }
    const Kdr_ProfPlacement& baseProfile(int index) const
    {
        return *baseProfiles_[static_cast<size_t>(index)];
    }

    /// Default mapping targets by sheet, in the order they were given.
    std::vector<Kdr_StandardsTarget>& standardsTargets() { return standardsTargets_; }
    const std::vector<Kdr_StandardsTarget>& standardsTargets() const { return standardsTargets_; }
    /// The default target of `sheet` (name compared without regard to case); false when none.
    bool findStandardsTarget(std::string_view sheet, Kdr_String& target) const;

    /// Whether the object is open for write. A macro in memory is writable unless the host
    /// downgraded it (tests do, to see that writers check).
    bool isWriteEnabled() const { return writeEnabled_; }
    void setWriteEnabled(bool on) { writeEnabled_ = on; }
    /// eOk when the object is open for write, else eNotOpenForWrite. Never aborts.
    Acad::ErrorStatus assertWriteEnabled() const
    {
        return writeEnabled_ ? Acad::eOk : Acad::eNotOpenForWrite;
    }

    /// Same name, macro, base profiles and standards targets (identity is not compared).
    bool sameContents(const Kdr_DbMacro& other) const;

private:
    Kdr_String name_;
    Kdr_Macro macro_;
    std::vector<std::unique_ptr<Kdr_ProfPlacement>> baseProfiles_;
    std::vector<Kdr_StandardsTarget> standardsTargets_;
    bool writeEnabled_ = true;
};
