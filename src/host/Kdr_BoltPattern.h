#pragma once

#include "host/Kdr_String.h"

#include <array>

/// One bolt pattern of a bolt module. Its id is unique within the module. A pattern laid out
/// in two directions has a layout of class 282 and a reverse-start flag per direction; a
/// pattern in one direction has a layout of class 281 and only the first flag.
class Kdr_BoltPattern
{
public:
    static constexpr int kSingleLayoutClass = 281;
    static constexpr int kDoubleLayoutClass = 282;

    Kdr_BoltPattern() = default;
    Kdr_BoltPattern(int id, Kdr_String name, bool twoDirections)
        : id_(id), name_(std::move(name)), twoDirections_(twoDirections)
    {
    }
    virtual ~Kdr_BoltPattern() = default;

    int id() const { return id_; }
    const Kdr_String& name() const { return name_; }
    bool hasSecondDirection() const { return twoDirections_; }
    /// Class number of the pattern's layout object: 282 with a second direction, else 281.
    int layoutClassNumber() const { return twoDirections_ ? kDoubleLayoutClass : kSingleLayoutClass; }

    /// Reverse-start flag of direction 1 or 2; a pattern without a second direction has none
    /// there (false).
    bool reverseStart(bool direction1) const
    {
        return direction1 ? reverse_[0] : (twoDirections_ && reverse_[1]);
    }
    /// Sets a flag; false (nothing changed) for direction 2 of a pattern without one.
    bool setReverseStart(bool direction1, bool flag)
    {
        if (!direction1 && !twoDirections_)
            return false;
        reverse_[direction1 ? 0 : 1] = flag;
        return true;
    }

    void setId(int id) { id_ = id; }
    void setName(const Kdr_String& name) { name_ = name; }
    void setTwoDirections(bool on)
    {
        twoDirections_ = on;
        if (!on)
            reverse_[1] = false;
    }

    bool operator==(const Kdr_BoltPattern& other) const = default;

private:
    int id_ = 0;
    Kdr_String name_;
    bool twoDirections_ = false;
    std::array<bool, 2> reverse_{false, false};
};
