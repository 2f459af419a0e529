// Prints a compiled formula back as text. The code is postfix, so a stack of texts
// rebuilds the infix form; parentheses were kept as instructions, so the text reads as
// it was written (apart from blanks, which are not kept).

#include "grid/formula/Bytecode.h"
#include "grid/formula/Formula.h"
#include "grid/formula/ReferenceText.h"

#include <charconv>
#include <vector>

namespace grid
{
namespace
{
std::string numberLiteral(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

std::string textLiteral(const std::string& value)
{
    std::string out = "\"";
    for (char c : value)
    {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

const char* operatorText(Op op)
{
    switch (op)
    {
    case Op::Add:
        return "+";
    case Op::Subtract:
        return "-";
    case Op::Multiply:
        return "*";
    case Op::Divide:
        return "/";
    case Op::Power:
        return "^";
    case Op::Concat:
        return "&";
    case Op::Equal:
        return "=";
    case Op::NotEqual:
        return "<>";
    case Op::Less:
        return "<";
    case Op::Greater:
        return ">";
    case Op::LessEqual:
        return "<=";
    case Op::GreaterEqual:
        return ">=";
    case Op::RangeSpan:
        return ":";
    case Op::Intersect:
        return " ";
    default:
        return "?";
    }
}

/// Whole columns ("A:C", "$B:$B"; R1C1 "C1:C3", "C[-1]") or whole rows ("1:3"; R1C1 "R1:R3").
std::string wholeLinesText(const Instr& instr, int col, int row, ReferenceStyle style)
{
    const bool columns = instr.flags & kWholeColumns;
    const int base = columns ? col : row;
    const int limit = columns ? kMaxFormulaCol : kMaxFormulaRow;
    const bool abs1 = instr.flags & (columns ? kColAbsolute : kRowAbsolute);
    const bool abs2 = instr.flags & (columns ? kCol2Absolute : kRow2Absolute);
    const std::int32_t stored1 = columns ? instr.a : instr.b;
    const std::int32_t stored2 = columns ? instr.c : instr.d;
    std::string out;
    for (int k = 0; k < 2; ++k)
    {
        const bool absolute = k == 0 ? abs1 : abs2;
        const std::int32_t stored = k == 0 ? stored1 : stored2;
        const int at = resolveCoordinate(stored, absolute, base);
        if (at < 1 || at > limit)
            return "#REF!";
        if (k == 1)
            out += ':';
        if (style == ReferenceStyle::A1)
        {
            if (absolute)
                out += '$';
            out += columns ? columnLetters(at) : std::to_string(at);
        }
        else
        {
            out += columns ? 'C' : 'R';
            if (absolute)
                out += std::to_string(at);
            else if (stored != 0)
                out += "[" + std::to_string(stored) + "]";
        }
    }
    return out;
}

std::string referenceText(const Instr& instr, int col, int row, ReferenceStyle style)
{
    if (instr.flags & (kWholeColumns | kWholeRows))
        return wholeLinesText(instr, col, row, style);
    std::string out;
    RefCorner first{instr.a, instr.b, (instr.flags & kColAbsolute) != 0, (instr.flags & kRowAbsolute) != 0};
    if (!appendCorner(out, first, col, row, style))
        return "#REF!";
    if (isRangeOp(instr.op))
    {
        out += ':';
        RefCorner second{instr.c, instr.d, (instr.flags & kCol2Absolute) != 0,
                         (instr.flags & kRow2Absolute) != 0};
        if (!appendCorner(out, second, col, row, style))
            return "#REF!";
    }
    return out;
}

/// Replaces the top `argc` texts by "name(a,b,…)".
void printCall(std::vector<std::string>& stack, std::string_view name, size_t argc)
{
    std::string call(name);
    call += '(';
    const size_t first = stack.size() - argc;
    for (size_t i = first; i < stack.size(); ++i)
    {
        if (i > first)
            call += ',';
        call += stack[i];
    }
    call += ')';
    stack.resize(first);
    stack.push_back(std::move(call));
}
} // namespace

std::string formulaText(const Formula& formula, int col, int row, ReferenceStyle style)
{
    std::vector<std::string> stack;
    for (const Instr& instr : formula.code)
    {
        if (instr.flags & kHidden)
            continue;
        switch (instr.op)
        {
        case Op::PushNumber:
            stack.push_back(numberLiteral(formula.numbers[instr.a]));
            break;
        case Op::PushText:
            stack.push_back(textLiteral(formula.texts[instr.a]));
            break;
        case Op::PushLogical:
            stack.emplace_back(instr.a ? "TRUE" : "FALSE");
            break;
        case Op::PushError:
            stack.emplace_back(errorText(static_cast<ErrorCode>(instr.a)));
            break;
        case Op::PushMissing:
            stack.emplace_back();
            break;
        case Op::PushRef:
        case Op::PushRefValue:
        case Op::PushRange:
        case Op::PushRangeValue:
            stack.push_back(referenceText(instr, col, row, style));
            break;
        case Op::PushName:
            stack.push_back(formula.texts[instr.a]);
            break;
        case Op::PushArray:
            stack.push_back(formula.texts[instr.b]);
            break;
        case Op::Negate:
            stack.back().insert(0, 1, '-');
            break;
        case Op::UnaryPlus:
            stack.back().insert(0, 1, '+');
            break;
        case Op::Percent:
            stack.back() += '%';
            break;
        case Op::Paren:
            stack.back().insert(0, 1, '(');
            stack.back() += ')';
            break;
        case Op::CallBuiltin:
            printCall(stack, formula.builtins[instr.a]->name, instr.argc);
            break;
        case Op::CallNamed:
            printCall(stack, formula.texts[instr.a], instr.argc);
            break;
        case Op::CallReference:
            printCall(stack, formula.builtins[instr.a]->name, instr.argc);
            break;
        case Op::Union:
        {
            // The references joined by ','; the parentheses around them are a Paren of their own.
            const size_t first = stack.size() - instr.argc;
            for (size_t i = first + 1; i < stack.size(); ++i)
            {
                stack[first] += ',';
                stack[first] += stack[i];
            }
            stack.resize(first + 1);
            break;
        }
        case Op::EndLazy:
        {
            const auto which = static_cast<LazyFunction>(instr.a);
            printCall(stack,
                      which == LazyFunction::If        ? "IF"
                      : which == LazyFunction::IfError ? "IFERROR"
                                                       : "CHOOSE",
                      instr.argc);
            break;
        }
        case Op::JumpIfFalse:
        case Op::Jump:
        case Op::JumpIfNotError:
        case Op::Choose:
            break;
        default:
        {
            // A binary operator: the right operand is appended to the left one in place, so
            // a long chain prints in linear time.
            std::string right = std::move(stack.back());
            stack.pop_back();
            stack.back() += operatorText(instr.op);
            stack.back() += right;
            break;
        }
        }
    }
    return stack.empty() ? std::string() : std::move(stack.back());
}
} // namespace grid
