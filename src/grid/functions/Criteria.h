#pragma once

#include "grid/Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace grid::fn
{
/// True when `text` matches `pattern` as a whole, ASCII case ignored; in the pattern '*'
/// stands for any run of characters, '?' for one character and '~' makes the next
/// character literal ("~*" is a star).
bool wildcardMatch(std::string_view pattern, std::string_view text);

/// True when the pattern holds a wildcard character ('*', '?' or '~').
bool hasWildcards(std::string_view pattern);

/// The first position at or after `from` where `pattern` matches the start of the rest of
/// `text`, with the same wildcards; nullopt when it matches nowhere.
std::optional<size_t> wildcardSearch(std::string_view pattern, std::string_view text, size_t from);

/// A condition of SUMIF, COUNTIF and the other conditional aggregates: a value to be equal
/// to, or a text such as ">5", "<>apple", "=", "a*" made of an optional comparison and an
/// operand. As in spreadsheets, "=" matches only cells that hold nothing, "<>" every cell
/// that holds something (the empty text included) and "" both kinds of blank; a number
/// matches numbers and the texts that read as it ("12" for 12).
class Criteria
{
public:
    explicit Criteria(const Value& criterion);

    /// Whether a cell's value satisfies the condition.
    bool matches(const Value& cell) const;

private:
    enum class Op
    {
        Equal,
        NotEqual,
        Less,
        LessEqual,
        Greater,
        GreaterEqual,
    };

    bool equals(const Value& cell) const;
    bool ordered(int comparison) const;

    Op op_ = Op::Equal;
    bool explicitEqual_ = false; ///< the criterion was written with '='
    Value operand_;
};
} // namespace grid::fn
