#pragma once

#include "host/Kdr_StringArray.h"

class Kdr_DbMacro;
class ZxSSMapping;

/// The host's record of the standards mapping page of a macro's settings: the standards
/// sheets attached to the macro with the mapping target of each, the module groups a sheet may
/// work on, and the catalogue of the macro's bindable variables. The page reads and writes the
/// lists; the catalogue belongs to whoever fills the record.
class TabMappingData
{
public:
    TabMappingData() = default;
    virtual ~TabMappingData() = default;
    TabMappingData(const TabMappingData&) = default;
    TabMappingData& operator=(const TabMappingData&) = default;

    /// Sheet names, without folder and extension (relative to "Connection Standards").
    Kdr_StringArray& names() { return names_; }
    const Kdr_StringArray& names() const { return names_; }
    /// The target of each sheet, parallel to the names: "Module." + group, a key of the
    /// sheet's mapping file, or empty.
    Kdr_StringArray& targets() { return targets_; }
    const Kdr_StringArray& targets() const { return targets_; }
    /// The module groups offered besides the entire macro.
    Kdr_StringArray& moduleGroups() { return moduleGroups_; }
    const Kdr_StringArray& moduleGroups() const { return moduleGroups_; }

    /// Every bindable variable of the macro; null leaves the page empty and inert.
    ZxSSMapping* catalogue() const { return catalogue_; }
    void setCatalogue(ZxSSMapping* catalogue) { catalogue_ = catalogue; }

    /// The stored target of a sheet: the target at `index` when the sheet there has this name,
    /// else that of the first sheet of this name (case ignored), else empty.
    Kdr_String getMapping(const Kdr_String& name, int index) const;

    /// Fills the lists from a macro: its standards sheets with their targets, in order, and the
    /// module groups of its modules (a module without a group counts by its name), each once.
    void initFromMacro(const Kdr_DbMacro& macro);
    /// Puts the lists back into the macro as its standards sheets and targets; rows without a
    /// sheet name are left out.
    void applyToMacro(Kdr_DbMacro& macro) const;

private:
    Kdr_StringArray names_;
    Kdr_StringArray targets_;
    Kdr_StringArray moduleGroups_;
    ZxSSMapping* catalogue_ = nullptr;
};
