#include "grid/formula/Operators.h"

#include "grid/functions/Coercion.h"

#include <algorithm>
#include <cmath>

namespace grid
{
namespace
{
char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int compareTexts(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        const auto x = static_cast<unsigned char>(lowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(lowerAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

/// Numbers that agree to 15 significant digits compare equal, so that 0.1+0.2 equals 0.3
/// as it does in the familiar spreadsheets.
int compareNumbers(double a, double b)
{
    if (a == b)
        return 0;
    const double scale = std::max(std::fabs(a), std::fabs(b));
    if (std::fabs(a - b) <= scale * 1e-15)
        return 0;
    return a < b ? -1 : 1;
}

int typeRank(Value::Type type)
{
    switch (type)
    {
    case Value::Type::Number:
        return 0;
    case Value::Type::Text:
        return 1;
    case Value::Type::Logical:
        return 2;
    default:
        return 0;
    }
}

Value textOperand(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return Value::text({});
    case Value::Type::Number:
    case Value::Type::Logical:
        return Value::text(valueText(value));
    default:
        return value;
    }
}

Value power(double base, double exponent)
{
    if (base == 0 && exponent == 0)
        return Value::error(ErrorCode::Num);
    if (base == 0 && exponent < 0)
        return Value::error(ErrorCode::Div0);
    return numberResult(std::pow(base, exponent));
}
} // namespace

Value numberOperand(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return Value::number(0);
    case Value::Type::Number:
    case Value::Type::Error:
        return value;
    case Value::Type::Logical:
        return Value::number(value.asLogical() ? 1 : 0);
    case Value::Type::Text:
        // The same reading as function arguments get: numbers, percentages, dates, times.
        if (auto n = fn::textToNumber(value.asText()))
            return Value::number(*n);
        return Value::error(ErrorCode::Value);
    }
    return Value::error(ErrorCode::Value);
}

Value logicalOperand(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return Value::logical(false);
    case Value::Type::Number:
        return Value::logical(value.asNumber() != 0);
    case Value::Type::Logical:
    case Value::Type::Error:
        return value;
    case Value::Type::Text:
    {
        std::string upper = value.asText();
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        if (upper == "TRUE")
            return Value::logical(true);
        if (upper == "FALSE")
            return Value::logical(false);
        return Value::error(ErrorCode::Value);
    }
    }
    return Value::error(ErrorCode::Value);
}

int compareValues(const Value& left, const Value& right)
{
    Value::Type lt = left.type();
    Value::Type rt = right.type();
    if (lt == Value::Type::Empty && rt == Value::Type::Empty)
        return 0;
    // An empty side takes the other side's type: 0, "" or FALSE.
    if (lt == Value::Type::Empty)
        return -compareValues(right, left);
    if (rt == Value::Type::Empty)
    {
        switch (lt)
        {
        case Value::Type::Number:
            return compareNumbers(left.asNumber(), 0);
        case Value::Type::Text:
            return left.asText().empty() ? 0 : 1;
        case Value::Type::Logical:
            return left.asLogical() ? 1 : 0;
        default:
            return 0;
        }
    }
    if (typeRank(lt) != typeRank(rt))
        return typeRank(lt) < typeRank(rt) ? -1 : 1;
    switch (lt)
    {
    case Value::Type::Number:
        return compareNumbers(left.asNumber(), right.asNumber());
    case Value::Type::Text:
        return compareTexts(left.asText(), right.asText());
    case Value::Type::Logical:
        return static_cast<int>(left.asLogical()) - static_cast<int>(right.asLogical());
    default:
        return 0;
    }
}

Value applyUnary(Op op, const Value& operand)
{
    if (op == Op::UnaryPlus)
        return operand.isEmpty() ? Value::number(0) : operand;
    Value n = numberOperand(operand);
    if (n.isError())
        return n;
    return numberResult(op == Op::Negate ? -n.asNumber() : n.asNumber() / 100.0);
}

Value applyBinary(Op op, const Value& left, const Value& right)
{
    if (left.isError())
        return left;
    if (op == Op::Concat)
    {
        if (right.isError())
            return right;
        Value l = textOperand(left);
        Value r = textOperand(right);
        // As in spreadsheets, a text longer than a cell holds is #VALUE!; without the limit a
        // chain of cells each joining the one before to itself doubles its way out of memory.
        constexpr size_t kMaxJoinedText = 32767;
        if (l.asText().size() + r.asText().size() > kMaxJoinedText)
            return Value::error(ErrorCode::Value);
        return Value::text(l.asText() + r.asText());
    }
    if (op >= Op::Equal && op <= Op::GreaterEqual)
    {
        if (right.isError())
            return right;
        const int c = compareValues(left, right);
        switch (op)
        {
        case Op::Equal:
            return Value::logical(c == 0);
        case Op::NotEqual:
            return Value::logical(c != 0);
        case Op::Less:
            return Value::logical(c < 0);
        case Op::Greater:
            return Value::logical(c > 0);
        case Op::LessEqual:
            return Value::logical(c <= 0);
        default:
            return Value::logical(c >= 0);
        }
    }
    Value l = numberOperand(left);
    if (l.isError())
        return l;
    Value r = numberOperand(right);
    if (r.isError())
        return r;
    const double a = l.asNumber();
    const double b = r.asNumber();
    switch (op)
    {
    case Op::Add:
        return numberResult(a + b);
    case Op::Subtract:
        return numberResult(a - b);
    case Op::Multiply:
        return numberResult(a * b);
    case Op::Divide:
        if (b == 0)
            return Value::error(ErrorCode::Div0);
        return numberResult(a / b);
    case Op::Power:
        return power(a, b);
    default:
        return Value::error(ErrorCode::Value);
    }
}
} // namespace grid
