#include "grid/NumberText.h"
#include "grid/functions/DecimalRound.h"
#include "grid/functions/NumberFormat.h"

#include <cmath>
#include <string>

// Fractions of the number formats: "# ?/?", "?/?", "# ?/8".
namespace grid::fn
{
namespace
{
using Token = NumberFormat::Token;

struct Fraction
{
    double numerator = 0;
    double denominator = 1;
};

// The fraction closest to x (0 or more) whose denominator is at most `largest`; of two
// equally close the one with the smaller denominator. The convergents of x's continued
// fraction are the closest fractions up to their denominators; past the last one that fits,
// only its last semiconvergent can come closer.
Fraction closestFraction(double x, double largest)
{
    double p0 = 0, q0 = 1, p1 = 1, q1 = 0, y = x;
    for (int step = 0; step < 64; ++step)
    {
        const double a = std::floor(y);
        const double p2 = a * p1 + p0, q2 = a * q1 + q0;
        if (q2 > largest)
        {
            const double t = std::floor((largest - q0) / q1);
            const double ps = p0 + t * p1, qs = q0 + t * q1;
            if (std::fabs(x - ps / qs) < std::fabs(x - p1 / q1))
                return {ps, qs};
            break;
        }
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        const double rest = y - a;
        if (rest <= 0 || p1 / q1 == x)
            break;
        y = 1 / rest;
        if (!std::isfinite(y))
            break;
    }
    return {p1, q1};
}

// The digits of a whole number ("" for zero) shown through placeholders: those beyond the
// digits pad with '0', '?' (a blank) or '#' (nothing), on the left or, for a denominator,
// '?' on the right so that the bars of a column line up.
std::string placedDigits(const std::string& digits, std::string_view placeholders, bool denominator)
{
    const size_t count = placeholders.size();
    std::string left, right;
    for (size_t k = digits.size(); k < count; ++k)
    {
        const char p = placeholders[count - 1 - k];
        if (p == '0')
            left.insert(left.begin(), '0');
        else if (p == '?')
            (denominator ? right : left).push_back(' ');
    }
    return left + digits + right;
}

std::string wholeDigits(double number)
{
    if (number == 0)
        return std::string();
    // Whole numbers of up to fifteen digits are written exactly as integers; longer ones
    // take the general path, which keeps fifteen significant digits.
    if (number < 1e15)
        return std::to_string(static_cast<long long>(number));
    return fixedDecimals(number, 0);
}
} // namespace

Result<std::string> NumberFormat::formatFraction(const Section& section, double value) const
{
    const std::vector<Token>& tokens = section.tokens;
    double a = std::fabs(value);
    for (const Token& t : tokens)
        if (t.kind == Token::Percent)
            a *= 100;
    if (!std::isfinite(a))
        return ErrorCode::Value;

    // The layout: integer placeholders, then the numerator's run of placeholders right
    // before the bar, then the denominator's placeholders or its fixed number.
    size_t bar = 0;
    while (tokens[bar].kind != Token::Slash && tokens[bar].kind != Token::Denominator)
        ++bar;
    size_t numeratorStart = bar;
    while (numeratorStart > 0 && tokens[numeratorStart - 1].kind == Token::Digit)
        --numeratorStart;
    size_t fractionEnd = bar + 1; // one past the denominator
    std::string denominatorPlaces;
    if (tokens[bar].kind == Token::Slash)
        for (; fractionEnd < tokens.size() && tokens[fractionEnd].kind == Token::Digit; ++fractionEnd)
            denominatorPlaces += tokens[fractionEnd].text;
    std::string integerPlaces, numeratorPlaces;
    size_t integerEnd = 0; // one past the last integer placeholder
    bool thousands = false;
    for (size_t k = 0; k < numeratorStart; ++k)
        if (tokens[k].kind == Token::Digit)
        {
            integerPlaces += tokens[k].text;
            integerEnd = k + 1;
        }
    for (size_t k = 0; k < integerEnd; ++k)
        thousands |= tokens[k].kind == Token::Comma && !integerPlaces.empty();
    for (size_t k = numeratorStart; k < bar; ++k)
        numeratorPlaces += tokens[k].text;
    const bool mixed = !integerPlaces.empty();

    // The closest fraction with as many denominator digits as there are placeholders, or
    // the nearest count of a fixed denominator's parts.
    double whole = mixed ? std::floor(a) : 0;
    Fraction f;
    if (tokens[bar].kind == Token::Denominator)
    {
        if (!readDouble(tokens[bar].text, f.denominator) || !std::isfinite(f.denominator))
            return ErrorCode::Value;
        f.numerator = std::round((a - whole) * f.denominator);
    }
    else
    {
        const int digits = static_cast<int>(denominatorPlaces.size() < 15 ? denominatorPlaces.size() : 15);
        f = closestFraction(a - whole, std::pow(10.0, digits) - 1);
    }
    if (mixed && f.numerator >= f.denominator)
    {
        whole += 1;
        f.numerator = 0;
    }

    std::string out;
    if (value < 0)
        out += '-';
    std::string integerText;
    if (mixed)
    {
        // A number that is zero shows "0" even through '#'.
        integerText = placedDigits(wholeDigits(whole), integerPlaces, false);
        if (whole == 0 && f.numerator == 0 && integerText.find('0') == std::string::npos)
            integerText = "0";
        if (thousands)
        {
            std::string grouped;
            const size_t length = integerText.size();
            for (size_t k = 0; k < length; ++k)
            {
                grouped += integerText[k];
                const size_t left = length - 1 - k;
                if (left > 0 && left % 3 == 0 && integerText[k] >= '0' && integerText[k] <= '9')
                    grouped += ',';
            }
            integerText = std::move(grouped);
        }
    }
    const bool blank = mixed && f.numerator == 0;
    for (size_t k = 0; k < tokens.size(); ++k)
    {
        const Token& t = tokens[k];
        if (blank && k >= integerEnd && k < fractionEnd)
        {
            // A whole number keeps the fraction's width in blanks so columns line up.
            out.append(t.kind == Token::Literal ? t.text.size()
                                                : (t.kind == Token::Denominator ? t.text.size() + 1 : 1),
                       ' ');
            continue;
        }
        if (k < integerEnd)
        {
            if (t.kind == Token::Digit && k + 1 == integerEnd)
                out += integerText;
            else if (t.kind == Token::Literal)
                out += t.text;
            continue;
        }
        if (k == numeratorStart)
        {
            // An improper zero still shows its numerator: "0/1".
            const std::string numerator = placedDigits(
                f.numerator == 0 ? std::string("0") : wholeDigits(f.numerator), numeratorPlaces, false);
            out += numerator;
        }
        else if (k > numeratorStart && k < bar)
            continue;
        else if (t.kind == Token::Slash)
            out += '/';
        else if (t.kind == Token::Denominator)
            out += '/' + t.text;
        else if (k > bar && k < fractionEnd)
        {
            if (k == bar + 1)
                out += placedDigits(wholeDigits(f.denominator), denominatorPlaces, true);
        }
        else if (t.kind == Token::Literal)
            out += t.text;
        else if (t.kind == Token::Percent)
            out += '%';
        else if (t.kind == Token::Point)
            out += '.';
    }
    return out;
}
} // namespace grid::fn
