#pragma once

#include "host/Kdr_String.h"

#include <vector>

/// A group of dialog variables of which some are fixed (set by the user) and the others
/// flexible (worked out by the macro). Its flex/fix buttons show a flexible variable checked.
struct MacroFlexFixGroup
{
    struct Member
    {
        Kdr_String name;
        bool fixed = false;
        bool operator==(const Member& other) const = default;
    };

    Kdr_String name;
    std::vector<Member> members;

    Member* findMember(std::string_view variable)
    {
        for (Member& member : members)
            if (host::equalText(member.name, variable, false))
                return &member;
        return nullptr;
    }
    const Member* findMember(std::string_view variable) const
    {
        return const_cast<MacroFlexFixGroup*>(this)->findMember(variable);
    }

    bool operator==(const MacroFlexFixGroup& other) const = default;
};
