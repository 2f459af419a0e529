#include "grid/functions/NumberFormat.h"

#include "grid/NumberText.h"
#include "grid/functions/Coercion.h"
#include "grid/functions/DecimalRound.h"

#include <cmath>

namespace grid::fn
{
namespace
{
using Token = NumberFormat::Token;
using Section = NumberFormat::Section;

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, size_t at, std::string_view word)
{
    return text.size() - at >= word.size() && equalNoCase(text.substr(at, word.size()), word);
}

void finish(Section& section)
{
    for (const Token& t : section.tokens)
    {
        section.isDate |= t.kind == Token::Date || t.kind == Token::Elapsed || t.kind == Token::AmPm;
        section.isFraction |= t.kind == Token::Slash || t.kind == Token::Denominator;
        section.hasDigits |= t.kind == Token::Digit;
        section.hasText |= t.kind == Token::TextAt;
        section.hasGeneral |= t.kind == Token::General;
    }
}

bool isPlaceholder(char c)
{
    return c == '0' || c == '#' || c == '?';
}

// Colour names a section may start with: [Red], [Blue], … and [Color1] … [Color56].
bool isColour(std::string_view inside)
{
    static const char* const kNames[] = {"Black",   "Blue", "Cyan",  "Green",
                                         "Magenta", "Red",  "White", "Yellow"};
    for (const char* name : kNames)
        if (equalNoCase(inside, name))
            return true;
    if (inside.size() < 6 || inside.size() > 7 || !equalNoCase(inside.substr(0, 5), "Color"))
        return false;
    int number = 0;
    for (char c : inside.substr(5))
    {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
    }
    return number >= 1 && number <= 56;
}

// Reads a condition such as "<=100" or "<>-1.5"; false when the text is no condition.
bool readCondition(std::string_view inside, NumberFormat::Condition& condition)
{
    using Condition = NumberFormat::Condition;
    static const struct
    {
        const char* text;
        Condition::Op op;
    } kOps[] = {{"<=", Condition::LessEqual}, {">=", Condition::GreaterEqual}, {"<>", Condition::NotEqual},
                {"<", Condition::Less},       {">", Condition::Greater},       {"=", Condition::Equal}};
    for (const auto& op : kOps)
    {
        const std::string_view text(op.text);
        if (inside.substr(0, text.size()) != text)
            continue;
        double operand = 0;
        if (!readDouble(inside.substr(text.size()), operand))
            return false;
        condition = {op.op, operand};
        return true;
    }
    return false;
}

// What a bracketed code means: an elapsed time unit becomes a token, a condition goes to
// the section, a colour is dropped, a currency tag shows its symbol. False when the code
// is none of these.
bool readBracket(std::string_view inside, Section& section)
{
    if (inside.empty())
        return false;
    if (isColour(inside))
        return true;
    const char first = lower(inside[0]);
    if (first == 'h' || first == 'm' || first == 's')
    {
        for (char k : inside)
            if (lower(k) != first)
                return false;
        section.tokens.push_back({Token::Elapsed, std::string(1, first), static_cast<int>(inside.size())});
        return true;
    }
    if (first == '<' || first == '>' || first == '=')
        return section.condition.op == NumberFormat::Condition::None &&
               readCondition(inside, section.condition);
    if (first == '$')
    {
        // [$€-407]: the symbol before the locale number is shown; [$-409] shows nothing.
        const std::string_view symbol = inside.substr(1, inside.find('-') - 1);
        if (!symbol.empty())
            section.tokens.push_back({Token::Literal, std::string(symbol)});
        return true;
    }
    return false;
}

std::vector<Section> parseSections(std::string_view code, bool& valid)
{
    valid = true;
    std::vector<Section> sections(1);
    auto literal = [&](std::string text) {
        sections.back().tokens.push_back({Token::Literal, std::move(text)});
    };
    auto add = [&](Token::Kind kind, std::string text, int width = 0) {
        sections.back().tokens.push_back({kind, std::move(text), width});
    };
    auto previousIsDigit = [&]()
    {
        const std::vector<Token>& tokens = sections.back().tokens;
        return !tokens.empty() && tokens.back().kind == Token::Digit;
    };
    size_t i = 0;
    const size_t n = code.size();
    while (i < n)
    {
        const char c = code[i];
        const char lc = lower(c);
        if (c == ';')
        {
            sections.emplace_back();
            ++i;
        }
        else if (c == '"')
        {
            const size_t end = code.find('"', i + 1);
            if (end == std::string_view::npos)
            {
                valid = false;
                break;
            }
            literal(std::string(code.substr(i + 1, end - i - 1)));
            i = end + 1;
        }
        else if (c == '\\' || c == '_' || c == '*')
        {
            // An escaped character shows as itself, a spacing as one blank, a fill as
            // nothing (a text has no column width to fill); each needs a character after it.
            if (i + 1 >= n)
            {
                valid = false;
                break;
            }
            if (c == '\\')
                literal(std::string(1, code[i + 1]));
            else if (c == '_')
                literal(" ");
            i += 2;
        }
        else if (c == '[')
        {
            const size_t end = code.find(']', i);
            if (end == std::string_view::npos ||
                !readBracket(code.substr(i + 1, end - i - 1), sections.back()))
            {
                valid = false;
                break;
            }
            i = end + 1;
        }
        else if (isPlaceholder(c))
        {
            add(Token::Digit, std::string(1, c));
            ++i;
        }
        else if (c == '/' && previousIsDigit() && i + 1 < n && code[i + 1] >= '1' && code[i + 1] <= '9')
        {
            // A fixed denominator: "# ?/8", "?/100".
            size_t end = i + 1;
            while (end < n && code[end] >= '0' && code[end] <= '9')
                ++end;
            add(Token::Denominator, std::string(code.substr(i + 1, end - i - 1)));
            i = end;
        }
        else if (c == '/' && previousIsDigit() && i + 1 < n && isPlaceholder(code[i + 1]))
        {
            add(Token::Slash, "/");
            ++i;
        }
        else if (c == '.')
        {
            add(Token::Point, ".");
            ++i;
        }
        else if (c == ',')
        {
            add(Token::Comma, ",");
            ++i;
        }
        else if (c == '%')
        {
            add(Token::Percent, "%");
            ++i;
        }
        else if (lc == 'e' && i + 1 < n && (code[i + 1] == '+' || code[i + 1] == '-'))
        {
            // An exponent needs digits on both sides: "0.0E+00".
            bool mantissa = false;
            for (const Token& t : sections.back().tokens)
                mantissa |= t.kind == Token::Digit;
            if (!mantissa || i + 2 >= n || !isPlaceholder(code[i + 2]))
            {
                valid = false;
                break;
            }
            add(Token::Exponent, std::string(code.substr(i, 2)));
            i += 2;
        }
        else if (startsWithNoCase(code, i, "AM/PM"))
        {
            add(Token::AmPm, std::string(code.substr(i, 5)));
            i += 5;
        }
        else if (startsWithNoCase(code, i, "A/P"))
        {
            add(Token::AmPm, std::string(code.substr(i, 3)));
            i += 3;
        }
        else if (startsWithNoCase(code, i, "General"))
        {
            add(Token::General, "General");
            i += 7;
        }
        else if (c == '@')
        {
            add(Token::TextAt, "@");
            ++i;
        }
        else if (lc == 'y' || lc == 'm' || lc == 'd' || lc == 'h' || lc == 's')
        {
            size_t run = 1;
            while (i + run < n && lower(code[i + run]) == lc)
                ++run;
            add(Token::Date, std::string(run, lc));
            i += run;
        }
        else
        {
            literal(std::string(1, c));
            ++i;
        }
    }
    // At most four sections; only the first two may carry a condition.
    if (sections.size() > 4)
        valid = false;
    for (size_t k = 2; k < sections.size(); ++k)
        valid = valid && sections[k].condition.op == NumberFormat::Condition::None;
    for (Section& s : sections)
        finish(s);
    return sections;
}

} // namespace

bool NumberFormat::Condition::holds(double value) const
{
    switch (op)
    {
    case Less:
        return value < operand;
    case LessEqual:
        return value <= operand;
    case Greater:
        return value > operand;
    case GreaterEqual:
        return value >= operand;
    case Equal:
        return value == operand;
    case NotEqual:
        return value != operand;
    case None:
        break;
    }
    return true;
}

bool NumberFormat::Condition::onlyNegatives() const
{
    return (op == Less && operand <= 0) || (op == LessEqual && operand < 0) || (op == Equal && operand < 0);
}

NumberFormat::NumberFormat(std::string_view code) : sections_(parseSections(code, valid_))
{
}

const NumberFormat::Section* NumberFormat::sectionFor(double value, bool& negated) const
{
    negated = false;
    // A last section with '@' in it is for texts only, as the fourth always is.
    size_t count = sections_.size() < 4 ? sections_.size() : 3;
    if (sections_.size() < 4 && count >= 2 && sections_[count - 1].hasText)
        --count;
    const bool conditional = sections_[0].condition.op != Condition::None ||
                             (count >= 2 && sections_[1].condition.op != Condition::None);
    if (conditional)
    {
        // The first section whose condition holds; a section without a condition after a
        // conditional one takes every other number. A section that takes only negative
        // numbers writes its own sign, as the plain negative section does; so does the
        // second section when it has no condition.
        const Condition& first = sections_[0].condition;
        if (first.holds(value))
        {
            negated = value < 0 && first.onlyNegatives();
            return &sections_[0];
        }
        if (count < 2)
            return nullptr;
        const Condition& second = sections_[1].condition;
        if (second.op != Condition::None && !second.holds(value))
            return count < 3 ? nullptr : &sections_[2];
        negated = value < 0 && (second.op == Condition::None || second.onlyNegatives());
        return &sections_[1];
    }
    if (count >= 2 && value < 0)
    {
        negated = true;
        return &sections_[1];
    }
    if (count >= 3 && value == 0)
        return &sections_[2];
    return &sections_[0];
}

Result<std::string> NumberFormat::format(double value) const
{
    if (!valid_)
        return ErrorCode::Value;
    bool negated = false;
    const Section* section = sectionFor(value, negated);
    if (!section)
        return ErrorCode::Value; // no section takes the number: a cell would show ####
    if (negated)
        value = std::fabs(value);
    if (section->isDate)
        return formatDate(*section, value);
    if (section->isFraction)
        return formatFraction(*section, value);
    return formatNumber(*section, value);
}

std::string NumberFormat::formatText(const std::string& text) const
{
    const Section* section = nullptr;
    if (sections_.size() >= 4)
        section = &sections_[3];
    else if (sections_.back().hasText)
        section = &sections_.back();
    if (!section)
        return text;
    std::string out;
    for (const Token& t : section->tokens)
    {
        if (t.kind == Token::TextAt)
            out += text;
        else if (t.kind == Token::Literal)
            out += t.text;
    }
    return out;
}

Result<std::string> NumberFormat::formatNumber(const Section& section, double value) const
{
    const std::vector<Token>& tokens = section.tokens;
    const bool negative = value < 0;
    double a = std::fabs(value);

    // Where each token stands: integer part, fraction or exponent; what each comma means.
    enum class Phase
    {
        Integer,
        Fraction,
        Exponent,
    };
    enum class CommaRole
    {
        Literal,
        Thousands,
        Scaling,
    };
    std::vector<Phase> phase(tokens.size(), Phase::Integer);
    std::vector<CommaRole> commaRole(tokens.size(), CommaRole::Literal);
    std::string intPlaceholders, fracPlaceholders;
    int expPlaceholders = 0;
    const Token* exponent = nullptr;
    bool thousands = false;
    Phase current = Phase::Integer;
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        const Token& t = tokens[i];
        if (t.kind == Token::Point && current == Phase::Integer)
            current = Phase::Fraction;
        else if (t.kind == Token::Exponent && !exponent)
        {
            exponent = &t;
            current = Phase::Exponent;
        }
        phase[i] = current;
        if (t.kind == Token::Digit)
        {
            if (current == Phase::Integer)
                intPlaceholders += t.text;
            else if (current == Phase::Fraction)
                fracPlaceholders += t.text;
            else
                ++expPlaceholders;
        }
        else if (t.kind == Token::Percent)
            a *= 100;
    }
    // A comma between integer digits groups thousands; commas right after the last digit
    // (integer or fraction) divide by a thousand each; any other comma is shown as it is.
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        if (tokens[i].kind != Token::Comma || phase[i] == Phase::Exponent)
            continue;
        bool digitBefore = false, digitAfter = false, intDigitAfter = false;
        for (size_t k = 0; k < i; ++k)
            digitBefore |= tokens[k].kind == Token::Digit;
        for (size_t k = i + 1; k < tokens.size() && phase[k] != Phase::Exponent; ++k)
        {
            digitAfter |= tokens[k].kind == Token::Digit;
            intDigitAfter |= tokens[k].kind == Token::Digit && phase[k] == Phase::Integer;
        }
        if (phase[i] == Phase::Integer && digitBefore && intDigitAfter)
        {
            commaRole[i] = CommaRole::Thousands;
            thousands = true;
        }
        else if (digitBefore && !digitAfter)
        {
            commaRole[i] = CommaRole::Scaling;
            a /= 1000;
        }
    }

    const int intCount = static_cast<int>(intPlaceholders.size());
    const int fracCount = static_cast<int>(fracPlaceholders.size());
    long exponentValue = 0;
    if (exponent && a != 0 && std::isfinite(a))
    {
        const int mantissaDigits = intCount > 0 ? intCount : 1;
        const bool engineering = intCount > 1 && intPlaceholders[0] == '#';
        long magnitude = static_cast<long>(std::floor(std::log10(a)));
        auto choose = [&](long mag)
        {
            if (engineering)
                return static_cast<long>(std::floor(static_cast<double>(mag) / intCount)) * intCount;
            return mag - (mantissaDigits - 1);
        };
        // Scale in two steps near the ends of the double range, where 10^exponent alone
        // would overflow or vanish.
        auto scaled = [&](long exponent)
        {
            const double shift = exponent < -290 ? 30.0 : (exponent > 290 ? -30.0 : 0.0);
            return roundDecimal(a * std::pow(10.0, shift) /
                                    std::pow(10.0, static_cast<double>(exponent) + shift),
                                fracCount, RoundMode::HalfAwayFromZero);
        };
        exponentValue = choose(magnitude);
        double mantissa = scaled(exponentValue);
        const double limit = std::pow(10.0, engineering ? intCount : mantissaDigits);
        if (mantissa >= limit)
        {
            exponentValue = choose(magnitude + 1);
            mantissa = scaled(exponentValue);
        }
        a = mantissa;
    }

    if (!std::isfinite(a))
        return ErrorCode::Value; // a percentage or mantissa past the double range
    const std::string digits = fixedDecimals(a, fracCount);
    const size_t point = digits.find('.');
    std::string intDigits = digits.substr(0, point);
    const std::string fracDigits = point == std::string::npos ? std::string() : digits.substr(point + 1);
    if (intDigits == "0")
        intDigits.clear();
    const int intLength = static_cast<int>(intDigits.size());

    // What each fraction placeholder shows: trailing zeros of '#' vanish, of '?' turn blank.
    std::vector<std::string> fracShown(static_cast<size_t>(fracCount));
    for (int i = 0; i < fracCount; ++i)
        fracShown[static_cast<size_t>(i)] = std::string(1, fracDigits[static_cast<size_t>(i)]);
    for (int i = fracCount - 1; i >= 0 && fracDigits[static_cast<size_t>(i)] == '0'; --i)
    {
        const char p = fracPlaceholders[static_cast<size_t>(i)];
        if (p == '0')
            break;
        fracShown[static_cast<size_t>(i)] = p == '?' ? " " : "";
    }

    std::string out;
    if (negative)
        out += '-';
    // Integer position j counts from the units digit leftwards.
    auto emitIntPosition = [&](int j)
    {
        char c = 0;
        if (j < intLength)
            c = intDigits[static_cast<size_t>(intLength - 1 - j)];
        else if (j < intCount)
        {
            const char p = intPlaceholders[static_cast<size_t>(intCount - 1 - j)];
            c = p == '0' ? '0' : (p == '?' ? ' ' : 0);
        }
        if (!c)
            return;
        out += c;
        if (thousands && j > 0 && j % 3 == 0 && c != ' ')
            out += ',';
    };
    int intIndex = 0, fracIndex = 0, expIndex = 0;
    bool intEmitted = false;
    auto emitAllInteger = [&]()
    {
        for (int j = intLength - 1; j >= 0; --j)
            emitIntPosition(j);
        intEmitted = true;
    };
    const std::string exponentDigits = std::to_string(exponentValue < 0 ? -exponentValue : exponentValue);
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        const Token& t = tokens[i];
        switch (t.kind)
        {
        case Token::Digit:
            if (phase[i] == Phase::Integer)
            {
                if (intIndex == 0)
                    for (int j = intLength - 1; j >= intCount; --j)
                        emitIntPosition(j);
                emitIntPosition(intCount - 1 - intIndex);
                ++intIndex;
                intEmitted = true;
            }
            else if (phase[i] == Phase::Fraction)
                out += fracShown[static_cast<size_t>(fracIndex++)];
            else
            {
                // The exponent's digits fill its placeholders from the right; extra digits
                // go with the first placeholder.
                const int remaining = expPlaceholders - expIndex;
                const int length = static_cast<int>(exponentDigits.size());
                if (expIndex == 0 && length > expPlaceholders)
                    out += exponentDigits.substr(0, static_cast<size_t>(length - expPlaceholders));
                if (remaining <= length)
                    out += exponentDigits[static_cast<size_t>(length - remaining)];
                else if (t.text == "0")
                    out += '0';
                ++expIndex;
            }
            break;
        case Token::Point:
            if (phase[i] == Phase::Fraction && (i == 0 || phase[i - 1] == Phase::Integer))
            {
                if (!intEmitted)
                    emitAllInteger();
                out += '.';
            }
            else
                out += '.';
            break;
        case Token::Comma:
            if (commaRole[i] == CommaRole::Literal)
                out += ',';
            break;
        case Token::Percent:
            out += '%';
            break;
        case Token::Exponent:
            if (!intEmitted && intCount == 0)
                emitAllInteger();
            out += t.text[0];
            if (exponentValue < 0)
                out += '-';
            else if (t.text[1] == '+')
                out += '+';
            break;
        case Token::General:
            out += formatGeneral(a);
            break;
        case Token::TextAt:
            out += formatGeneral(a);
            break;
        case Token::Literal:
            out += t.text;
            break;
        default:
            out += t.text;
            break;
        }
    }
    return out;
}

} // namespace grid::fn
