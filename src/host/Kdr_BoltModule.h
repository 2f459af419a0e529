#pragma once

#include "host/Kdr_BoltPattern.h"
#include "host/Kdr_Module.h"

/// A module that places bolts: a module with bolt patterns (host class 232).
class Kdr_BoltModule : public Kdr_Module
{
public:
    static constexpr int kClassNumber = 232;

    using Kdr_Module::Kdr_Module;

    int classNumber() const override { return kClassNumber; }
    std::unique_ptr<Kdr_Module> clone() const override { return std::make_unique<Kdr_BoltModule>(*this); }
    bool sameContents(const Kdr_Module& other) const override;

    /// Adds a pattern; false (nothing added) when its id or its name is already used.
    bool addPattern(const Kdr_BoltPattern& pattern);
    Kdr_BoltPattern* findPatternById(int id);
    const Kdr_BoltPattern* findPatternById(int id) const;
    Kdr_BoltPattern* findPatternByName(std::string_view name);
    const Kdr_BoltPattern* findPatternByName(std::string_view name) const;
    const std::vector<Kdr_BoltPattern>& patterns() const { return patterns_; }

private:
    std::vector<Kdr_BoltPattern> patterns_;
};
