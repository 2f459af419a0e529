#pragma once

#include <cstdint>
#include <functional>

/// Identifies one object of the drawing database. A null id names nothing; a valid id names
/// an object that still exists. Ids are never reused while the program runs, so an id kept
/// after its object died simply stops resolving.
class AcDbObjectId
{
public:
    AcDbObjectId() = default;
    explicit AcDbObjectId(std::uint64_t handle) : handle_(handle) {}

    std::uint64_t handle() const { return handle_; }
    bool isNull() const { return handle_ == 0; }
    /// True when the id names an object that exists now.
    bool isValid() const;
    void setNull() { handle_ = 0; }

    bool operator==(const AcDbObjectId& other) const = default;
    auto operator<=>(const AcDbObjectId& other) const = default;

    static const AcDbObjectId kNull;

private:
    std::uint64_t handle_ = 0;
};

template <> struct std::hash<AcDbObjectId>
{
    size_t operator()(const AcDbObjectId& id) const noexcept
    {
        return std::hash<std::uint64_t>{}(id.handle());
    }
};
