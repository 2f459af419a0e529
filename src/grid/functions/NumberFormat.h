#pragma once

#include "grid/Value.h"
#include "grid/functions/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace grid::fn
{
/// A spreadsheet number format such as "0.00", "#,##0", "0%", "0.0E+00", "# ?/?",
/// "yyyy-mm-dd", "[h]:mm", "$#,##0.00;($#,##0.00)" or "@", as TEXT applies it.
///
/// Up to four sections separated by ';' (positive; negative; zero; text; a last section with
/// '@' is the text section whatever the count), or two sections with conditions such as
/// [>=100] and a third for the other numbers. Digit placeholders
/// 0 # ?, decimal point, thousands ',' and scaling ',' after the digits, '%', exponents
/// E+ E- (engineering with '#' before the units digit), fractions (mixed "# ?/?", improper
/// "?/?", fixed denominators "# ?/8"), date and time codes (y m d h s, AM/PM, A/P, elapsed
/// [h] [m] [s], fractional seconds), quoted literals, '\' escapes, '_' spacing (one space)
/// and '*' fills (nothing), "General" and '@'. Colours and [$…] currency and locale tags
/// are accepted; the currency symbol is shown, the rest ignored. A code that no
/// spreadsheet would accept (an unclosed bracket or quote, an unknown bracket code, a code
/// character with nothing after it, an exponent without digits, more than four sections
/// or a condition where none may stand) makes every result #VALUE!.
class NumberFormat
{
public:
    explicit NumberFormat(std::string_view code);

    /// False when the code is malformed; format() then gives #VALUE!.
    bool valid() const { return valid_; }

    /// The number written in this format; #VALUE! for a malformed code and for a date or
    /// time outside the date system.
    Result<std::string> format(double value) const;
    /// A text written through the text section (or unchanged when the format has none).
    std::string formatText(const std::string& text) const;

    struct Token
    {
        enum Kind : char
        {
            Literal,
            Digit, ///< text: "0", "#" or "?"
            Point,
            Comma,
            Percent,
            Exponent, ///< text: "E+" or "E-" (case kept)
            Date,     ///< text: a run of one code letter, lower case ("yyyy", "mm", "d")
            Elapsed,  ///< text: "h", "m" or "s" with its run length in `width`
            AmPm,     ///< text: "AM/PM", "am/pm", "A/P" or "a/p" as written
            General,
            TextAt,
            Slash,       ///< the bar of a fraction whose denominator has placeholders
            Denominator, ///< text: the fixed denominator of a fraction ("8", "100")
        };
        Kind kind;
        std::string text;
        int width = 0;
    };

    /// A section's condition: [<100], [>=0], [=1], [<>0]; None where the section has none.
    struct Condition
    {
        enum Op : char
        {
            None,
            Less,
            LessEqual,
            Greater,
            GreaterEqual,
            Equal,
            NotEqual,
        };
        Op op = None;
        double operand = 0;

        bool holds(double value) const;
        /// True when only negative numbers meet the condition.
        bool onlyNegatives() const;
    };

    struct Section
    {
        std::vector<Token> tokens;
        Condition condition;
        bool isDate = false;
        bool isFraction = false;
        bool hasDigits = false;
        bool hasText = false;
        bool hasGeneral = false;
    };

private:
    const Section* sectionFor(double value, bool& negated) const;
    Result<std::string> formatNumber(const Section& section, double value) const;
    Result<std::string> formatFraction(const Section& section, double value) const;
    Result<std::string> formatDate(const Section& section, double value) const;

    // Declared first: parsing the sections sets it.
    bool valid_ = true;
    std::vector<Section> sections_;
};
} // namespace grid::fn
