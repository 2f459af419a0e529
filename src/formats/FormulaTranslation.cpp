#include "formats/FormulaTranslation.h"

#include <array>
#include <cctype>
#include <vector>

namespace formats
{
namespace
{
bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix)
{
    return text.size() - at >= prefix.size() && equalNoCase(text.substr(at, prefix.size()), prefix);
}

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '\\' ||
           static_cast<unsigned char>(c) >= 0x80;
}

/// Copies a quoted text literal starting at `at` (the opening quote); "" is a quote inside.
/// Returns the position after the closing quote, or npos when it is not closed.
std::size_t copyString(std::string_view text, std::size_t at, std::string& out)
{
    out += '"';
    for (std::size_t i = at + 1; i < text.size(); ++i)
    {
        out += text[i];
        if (text[i] == '"')
        {
            if (i + 1 < text.size() && text[i + 1] == '"')
            {
                out += '"';
                ++i;
                continue;
            }
            return i + 1;
        }
    }
    return std::string_view::npos;
}

/// The length of an error literal ("#DIV/0!") at `at`, or 0.
std::size_t errorLiteralLength(std::string_view text, std::size_t at)
{
    static constexpr std::array<std::string_view, 8> kErrors = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                                                "#NAME?", "#NUM!",   "#N/A",    "#CIRC!"};
    for (std::string_view error : kErrors)
        if (startsWithNoCase(text, at, error))
            return error.size();
    return 0;
}

/// Reads a worksheet name quoted with apostrophes ('It''s') at `at`; returns the position
/// after the closing apostrophe, or npos.
std::size_t readQuotedName(std::string_view text, std::size_t at, std::string& name)
{
    for (std::size_t i = at + 1; i < text.size(); ++i)
    {
        if (text[i] == '\'')
        {
            if (i + 1 < text.size() && text[i + 1] == '\'')
            {
                name += '\'';
                ++i;
                continue;
            }
            return i + 1;
        }
        name += text[i];
    }
    return std::string_view::npos;
}

bool otherSheet(std::string_view name, std::string_view sheetName, std::string& why)
{
    if (equalNoCase(name, sheetName))
        return false;
    why = "it refers to the worksheet \"" + std::string(name) + "\"";
    return true;
}

/// Function prefixes that mark functions newer than a file format's first version, or a
/// producer's namespace; the sheet knows its functions by their plain names.
constexpr std::array<std::string_view, 6> kFunctionPrefixes = {
    "_xlfn.", "_xlws.", "_xludf.", "com.microsoft.", "org.openoffice.", "org.libreoffice."};

std::size_t functionPrefixLength(std::string_view text, std::size_t at)
{
    if (at > 0 && isNameChar(text[at - 1]))
        return 0;
    std::size_t total = 0;
    for (bool found = true; found;)
    {
        found = false;
        for (std::string_view prefix : kFunctionPrefixes)
            if (startsWithNoCase(text, at + total, prefix))
            {
                total += prefix.size();
                found = true;
            }
    }
    return total;
}
} // namespace

bool translateExcelFormula(std::string_view text, std::string_view sheetName, std::string& out,
                           std::string& why)
{
    out.clear();
    if (!text.empty() && text[0] == '=')
        text.remove_prefix(1);
    std::size_t i = 0;
    while (i < text.size())
    {
        const char c = text[i];
        if (c == '"')
        {
            i = copyString(text, i, out);
            if (i == std::string_view::npos)
            {
                why = "a text is not closed";
                return false;
            }
            continue;
        }
        if (c == '#')
        {
            if (const std::size_t length = errorLiteralLength(text, i))
            {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
        }
        if (c == '[')
        {
            why = "it refers to another file or to a table";
            return false;
        }
        if (c == '\'')
        {
            std::string name;
            const std::size_t after = readQuotedName(text, i, name);
            if (after == std::string_view::npos || after >= text.size() || text[after] != '!')
            {
                why = "a quoted name is not a worksheet reference";
                return false;
            }
            if (otherSheet(name, sheetName, why))
                return false;
            i = after + 1;
            continue;
        }
        if (isNameChar(c))
        {
            if (const std::size_t prefix = functionPrefixLength(text, i))
            {
                i += prefix;
                continue;
            }
            std::size_t end = i;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            const std::string_view word = text.substr(i, end - i);
            if (end < text.size() && text[end] == '!')
            {
                if (otherSheet(word, sheetName, why))
                    return false;
                i = end + 1;
                continue;
            }
            out.append(word);
            i = end;
            continue;
        }
        if (c == '!')
        {
            why = "a worksheet reference has no worksheet";
            return false;
        }
        out += c;
        ++i;
    }
    return true;
}

namespace
{
/// One side of an OpenFormula reference ("$Sheet1.$A$1", ".A1", "'My sheet'.B2") as the
/// cell part alone; false when it names another worksheet.
bool translateReferencePart(std::string_view part, std::string_view sheetName, std::string& out,
                            std::string& why)
{
    std::size_t i = 0;
    if (i < part.size() && part[i] == '$')
        ++i;
    std::string name;
    if (i < part.size() && part[i] == '\'')
    {
        const std::size_t after = readQuotedName(part, i, name);
        if (after == std::string_view::npos)
        {
            why = "a worksheet name is not closed";
            return false;
        }
        i = after;
    }
    else
    {
        const std::size_t dot = part.find('.', i);
        if (dot == std::string_view::npos)
        {
            // No worksheet part: a whole reference is written with a leading '.', so this
            // is a damaged reference or one to another file.
            why = "the reference [" + std::string(part) + "] does not translate";
            return false;
        }
        name = std::string(part.substr(i, dot - i));
        i = dot;
    }
    if (i >= part.size() || part[i] != '.')
    {
        why = "the reference [" + std::string(part) + "] does not translate";
        return false;
    }
    if (!name.empty() && otherSheet(name, sheetName, why))
        return false;
    const std::string_view cell = part.substr(i + 1);
    if (cell.empty())
    {
        why = "the reference [" + std::string(part) + "] has no cell";
        return false;
    }
    out.append(cell);
    return true;
}
} // namespace

bool translateOpenFormula(std::string_view text, std::string_view sheetName, std::string& out,
                          std::string& why)
{
    out.clear();
    // The namespace of the formula language: "of:" (OpenFormula) or "oooc:" (the older
    // OpenOffice syntax, which writes references the same way); none means OpenFormula.
    if (const std::size_t colon = text.find(':');
        colon != std::string_view::npos && colon < 8 &&
        text.substr(0, colon).find_first_of("=[\"(") == std::string_view::npos)
    {
        const std::string_view space = text.substr(0, colon);
        if (!equalNoCase(space, "of") && !equalNoCase(space, "oooc"))
        {
            why = "the formula language \"" + std::string(space) + "\" is not OpenFormula";
            return false;
        }
        text.remove_prefix(colon + 1);
    }
    if (!text.empty() && text[0] == '=')
        text.remove_prefix(1);
    int arrayDepth = 0;
    // A union's operands are reference terms, which bind tighter than every other operator
    // but ':' and '!': so "a~b~c" becomes "(a,b,c)" from where its first operand began up to
    // the next other operator, separator or closing bracket of the same depth.
    struct Level
    {
        std::size_t operandStart = 0;
        bool unionOpen = false;
    };
    std::vector<Level> levels(1);
    const auto closeUnion = [&]
    {
        if (levels.back().unionOpen)
        {
            out += ')';
            levels.back().unionOpen = false;
        }
    };
    std::size_t i = 0;
    while (i < text.size())
    {
        const char c = text[i];
        if (c == '"')
        {
            i = copyString(text, i, out);
            if (i == std::string_view::npos)
            {
                why = "a text is not closed";
                return false;
            }
            continue;
        }
        if (c == '#')
        {
            if (const std::size_t length = errorLiteralLength(text, i))
            {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
        }
        if (c == '[')
        {
            // The reference runs to the closing bracket; apostrophes may quote a worksheet
            // name holding ']' or ':'.
            std::size_t end = i + 1;
            bool quoted = false;
            for (; end < text.size(); ++end)
            {
                if (text[end] == '\'')
                    quoted = !quoted;
                else if (text[end] == ']' && !quoted)
                    break;
            }
            if (end >= text.size())
            {
                why = "a reference is not closed";
                return false;
            }
            const std::string_view reference = text.substr(i + 1, end - i - 1);
            if (reference.find("#REF!") != std::string_view::npos)
                out += "#REF!";
            else
            {
                // Split at ':' outside apostrophes.
                std::size_t start = 0;
                quoted = false;
                for (std::size_t k = 0; k <= reference.size(); ++k)
                {
                    if (k < reference.size() && reference[k] == '\'')
                        quoted = !quoted;
                    if (k == reference.size() || (reference[k] == ':' && !quoted))
                    {
                        if (start > 0)
                            out += ':';
                        if (!translateReferencePart(reference.substr(start, k - start), sheetName, out, why))
                            return false;
                        start = k + 1;
                    }
                }
            }
            i = end + 1;
            continue;
        }
        if (isNameChar(c))
        {
            if (const std::size_t prefix = functionPrefixLength(text, i))
            {
                i += prefix;
                continue;
            }
            std::size_t end = i;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            out.append(text.substr(i, end - i));
            i = end;
            continue;
        }
        switch (c)
        {
        case '{':
            ++arrayDepth;
            out += c;
            break;
        case '}':
            --arrayDepth;
            out += c;
            break;
        case '(':
            out += c;
            levels.push_back(Level{out.size(), false});
            break;
        case ')':
            closeUnion();
            if (levels.size() > 1)
                levels.pop_back();
            out += c;
            break;
        case ';':
            closeUnion();
            out += ',';
            levels.back().operandStart = out.size();
            break;
        case '+':
        case '-':
        case '*':
        case '/':
        case '^':
        case '&':
        case '=':
        case '<':
        case '>':
        case '%':
            closeUnion();
            out += c;
            levels.back().operandStart = out.size();
            break;
        case '|':
            if (arrayDepth <= 0)
            {
                why = "'|' outside an inline array";
                return false;
            }
            out += ';';
            break;
        case '~':
            if (!levels.back().unionOpen)
            {
                out.insert(levels.back().operandStart, 1, '(');
                levels.back().unionOpen = true;
            }
            out += ',';
            break;
        case '!':
            out += ' ';
            break;
        default:
            out += c;
        }
        ++i;
    }
    closeUnion();
    return true;
}
} // namespace formats
