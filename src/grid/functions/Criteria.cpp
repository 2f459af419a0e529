#include "grid/functions/Criteria.h"

#include "grid/functions/Coercion.h"

#include <vector>

namespace grid::fn
{
namespace
{
char fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct PatternItem
{
    enum Kind : char
    {
        Literal,
        AnyOne,
        AnyRun,
    };
    Kind kind;
    char c;
};

std::vector<PatternItem> compile(std::string_view pattern)
{
    std::vector<PatternItem> items;
    items.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i)
    {
        const char c = pattern[i];
        if (c == '~' && i + 1 < pattern.size())
            items.push_back({PatternItem::Literal, fold(pattern[++i])});
        else if (c == '*')
        {
            if (items.empty() || items.back().kind != PatternItem::AnyRun)
                items.push_back({PatternItem::AnyRun, 0});
        }
        else if (c == '?')
            items.push_back({PatternItem::AnyOne, 0});
        else
            items.push_back({PatternItem::Literal, fold(c)});
    }
    return items;
}

// Greedy matching with one backtrack point per star: linear in practice, never worse than
// pattern length times text length.
bool matchItems(const std::vector<PatternItem>& items, std::string_view text, bool prefixOnly)
{
    size_t p = 0, t = 0;
    size_t starItem = std::string_view::npos, starText = 0;
    while (t < text.size())
    {
        if (p == items.size() && prefixOnly)
            return true;
        if (p < items.size() && items[p].kind == PatternItem::AnyRun)
        {
            starItem = p++;
            starText = t;
            continue;
        }
        if (p < items.size() && (items[p].kind == PatternItem::AnyOne || items[p].c == fold(text[t])))
        {
            ++p;
            ++t;
            continue;
        }
        if (starItem == std::string_view::npos)
            return false;
        p = starItem + 1;
        t = ++starText;
    }
    while (p < items.size() && items[p].kind == PatternItem::AnyRun)
        ++p;
    return p == items.size();
}
} // namespace

bool wildcardMatch(std::string_view pattern, std::string_view text)
{
    return matchItems(compile(pattern), text, false);
}

bool hasWildcards(std::string_view pattern)
{
    return pattern.find_first_of("*?~") != std::string_view::npos;
}

std::optional<size_t> wildcardSearch(std::string_view pattern, std::string_view text, size_t from)
{
    const std::vector<PatternItem> items = compile(pattern);
    for (size_t start = from; start <= text.size(); ++start)
        if (matchItems(items, text.substr(start), true))
            return start;
    return std::nullopt;
}

Criteria::Criteria(const Value& criterion)
{
    if (!criterion.isText())
    {
        operand_ = criterion.isEmpty() ? Value::text("") : criterion;
        return;
    }
    std::string_view text = criterion.asText();
    static const struct
    {
        std::string_view prefix;
        Op op;
    } kOperators[] = {{"<=", Op::LessEqual}, {">=", Op::GreaterEqual}, {"<>", Op::NotEqual},
                      {"<", Op::Less},       {">", Op::Greater},       {"=", Op::Equal}};
    for (const auto& candidate : kOperators)
        if (text.substr(0, candidate.prefix.size()) == candidate.prefix)
        {
            op_ = candidate.op;
            explicitEqual_ = candidate.op == Op::Equal;
            text.remove_prefix(candidate.prefix.size());
            break;
        }
    if (auto number = textToNumber(text))
        operand_ = Value::number(*number);
    else if (equalNoCase(text, "TRUE") || equalNoCase(text, "FALSE"))
        operand_ = Value::logical(equalNoCase(text, "TRUE"));
    else if (auto error = parseErrorText(text))
        operand_ = Value::error(*error);
    else
        operand_ = Value::text(std::string(text));
}

bool Criteria::equals(const Value& cell) const
{
    switch (operand_.type())
    {
    case Value::Type::Number:
        if (cell.isText())
        {
            const auto number = textToNumber(cell.asText());
            return number && *number == operand_.asNumber();
        }
        return cell.isNumber() && cell.asNumber() == operand_.asNumber();
    case Value::Type::Logical:
        return cell.isLogical() && cell.asLogical() == operand_.asLogical();
    case Value::Type::Error:
        return cell.isError() && cell.asError() == operand_.asError();
    case Value::Type::Text:
        if (operand_.asText().empty())
            return cell.isEmpty() || (!explicitEqual_ && cell.isText() && cell.asText().empty());
        return cell.isText() && wildcardMatch(operand_.asText(), cell.asText());
    case Value::Type::Empty:
        return cell.isEmpty();
    }
    return false;
}

bool Criteria::ordered(int comparison) const
{
    switch (op_)
    {
    case Op::Less:
        return comparison < 0;
    case Op::LessEqual:
        return comparison <= 0;
    case Op::Greater:
        return comparison > 0;
    case Op::GreaterEqual:
        return comparison >= 0;
    default:
        return false;
    }
}

bool Criteria::matches(const Value& cell) const
{
    if (op_ == Op::Equal)
        return equals(cell);
    if (op_ == Op::NotEqual)
    {
        if (operand_.isText() && operand_.asText().empty())
            return !cell.isEmpty();
        return !equals(cell);
    }
    // Ordering compares only like with like: numbers with numbers, texts with texts.
    if (operand_.isNumber() && cell.isNumber())
    {
        const double a = cell.asNumber(), b = operand_.asNumber();
        return ordered(a < b ? -1 : (a > b ? 1 : 0));
    }
    if (operand_.isText() && cell.isText())
        return ordered(compareNoCase(cell.asText(), operand_.asText()));
    if (operand_.isLogical() && cell.isLogical())
        return ordered(static_cast<int>(cell.asLogical()) - static_cast<int>(operand_.asLogical()));
    return false;
}
} // namespace grid::fn
