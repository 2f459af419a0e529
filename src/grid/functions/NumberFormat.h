#pragma once

#include "grid/Value.h"
#include "grid/functions/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace grid::fn
{
/// A spreadsheet number format such as "0.00", "#,##0", "0%", "0.0E+00", "yyyy-mm-dd",
/// "hh:mm:ss", "$#,##0.00;($#,##0.00)" or "@", as TEXT applies it.
///
/// Up to four sections separated by ';' (positive; negative; zero; text). Digit placeholders
/// 0 # ?, decimal point, thousands ',' and scaling ',' after the digits, '%', exponents
/// E+ E-, date and time codes (y m d h s, AM/PM, A/P, elapsed [h] [m] [s], fractional
/// seconds), quoted literals, '\' escapes, '_' spacing and '*' fills (both shown as one
/// space or nothing), "General" and '@'. Colours and other bracketed codes are accepted and
/// ignored; conditional sections are not supported.
class NumberFormat
{
public:
    explicit NumberFormat(std::string_view code);

    /// The number written in this format; #VALUE! for a date or time outside the date system.
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
        };
        Kind kind;
        std::string text;
        int width = 0;
    };

    struct Section
    {
        std::vector<Token> tokens;
        bool isDate = false;
        bool hasDigits = false;
        bool hasText = false;
        bool hasGeneral = false;
    };

private:
    const Section& sectionFor(double value, bool& negated) const;
    Result<std::string> formatNumber(const Section& section, double value) const;
    Result<std::string> formatDate(const Section& section, double value) const;

    std::vector<Section> sections_;
};
} // namespace grid::fn
