#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace grid
{
/// Spreadsheet error values. Their texts are the familiar ones; Circular marks every cell
/// of a reference cycle.
enum class ErrorCode : std::uint8_t
{
    Null,
    Div0,
    Value,
    Ref,
    Name,
    Num,
    NA,
    Circular,
};

/// "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A", "#CIRC!".
const char* errorText(ErrorCode code);
/// The error whose text is `text` (exactly, case ignored), if any.
std::optional<ErrorCode> parseErrorText(std::string_view text);

/// One calculated value: empty, number, text, logical or error.
class Value
{
public:
    enum class Type : std::uint8_t
    {
        Empty,
        Number,
        Text,
        Logical,
        Error,
    };

    Value() = default;
    static Value number(double v) { return Value(Storage(std::in_place_index<1>, v)); }
    static Value text(std::string v) { return Value(Storage(std::in_place_index<2>, std::move(v))); }
    static Value logical(bool v) { return Value(Storage(std::in_place_index<3>, v)); }
    static Value error(ErrorCode v) { return Value(Storage(std::in_place_index<4>, v)); }

    Type type() const { return static_cast<Type>(data_.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNumber() const { return type() == Type::Number; }
    bool isText() const { return type() == Type::Text; }
    bool isLogical() const { return type() == Type::Logical; }
    bool isError() const { return type() == Type::Error; }

    double asNumber() const { return std::get<1>(data_); }
    const std::string& asText() const { return std::get<2>(data_); }
    bool asLogical() const { return std::get<3>(data_); }
    ErrorCode asError() const { return std::get<4>(data_); }

    bool operator==(const Value& other) const = default;

private:
    using Storage = std::variant<std::monostate, double, std::string, bool, ErrorCode>;
    explicit Value(Storage data) : data_(std::move(data)) {}
    Storage data_;
};

/// A number written like a spreadsheet's General format: up to 15 significant digits,
/// '.' as decimal point, no thousands separator, no trailing zeros; numbers of 1e15 and
/// more or below 1e-9 in magnitude in exponent form ("1E+16", "1.5E-10").
std::string formatGeneral(double value);

/// Reads a text as a number the way a spreadsheet does when a text is typed or coerced:
/// optional blanks, sign, digits with one decimal point, optional exponent, optional
/// trailing '%'. Nothing else may follow. Empty or blank text is not a number.
std::optional<double> parseNumber(std::string_view text);

/// The value as the value text of a cell: numbers in General format, logicals "TRUE" or
/// "FALSE", errors by their texts, empty as "".
std::string valueText(const Value& value);
} // namespace grid
