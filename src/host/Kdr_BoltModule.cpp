#include "host/Kdr_BoltModule.h"

#include <algorithm>

bool Kdr_BoltModule::sameContents(const Kdr_Module& other) const
{
    if (!Kdr_Module::sameContents(other))
        return false;
    return patterns_ == static_cast<const Kdr_BoltModule&>(other).patterns_;
}

bool Kdr_BoltModule::addPattern(const Kdr_BoltPattern& pattern)
{
    if (findPatternById(pattern.id()) || findPatternByName(pattern.name()))
        return false;
    patterns_.push_back(pattern);
    return true;
}

Kdr_BoltPattern* Kdr_BoltModule::findPatternById(int id)
{
    auto it = std::find_if(patterns_.begin(), patterns_.end(),
                           [&](const Kdr_BoltPattern& p) { return p.id() == id; });
    return it == patterns_.end() ? nullptr : &*it;
}

const Kdr_BoltPattern* Kdr_BoltModule::findPatternById(int id) const
{
    return const_cast<Kdr_BoltModule*>(this)->findPatternById(id);
}

Kdr_BoltPattern* Kdr_BoltModule::findPatternByName(std::string_view name)
{
    auto it = std::find_if(patterns_.begin(), patterns_.end(),
                           [&](const Kdr_BoltPattern& p) { return host::equalText(p.name(), name, false); });
    return it == patterns_.end() ? nullptr : &*it;
}

const Kdr_BoltPattern* Kdr_BoltModule::findPatternByName(std::string_view name) const
{
    return const_cast<Kdr_BoltModule*>(this)->findPatternByName(name);
}
