#include "formats/WorkbookParts.h"

#include "grid/formula/Formula.h"

#include <charconv>
#include <cmath>

namespace formats
{
std::optional<double> parseXmlNumber(std::string_view text)
{
    while (!text.empty() &&
           (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseXmlInt(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<grid::Color> parseHexColor(std::string_view text)
{
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    if (text.size() == 8)
        text.remove_prefix(2);
    if (text.size() != 6)
        return std::nullopt;
    std::uint32_t rgb = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + 6, rgb, 16);
    if (ec != std::errc() || end != text.data() + 6)
        return std::nullopt;
    const std::uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return red | (green << 8) | (blue << 16);
}

std::optional<double> lengthPixels(std::string_view text)
{
    std::size_t unit = text.size();
    while (unit > 0 && ((text[unit - 1] >= 'a' && text[unit - 1] <= 'z') || text[unit - 1] == '%'))
        --unit;
    const std::optional<double> number = parseXmlNumber(text.substr(0, unit));
    if (!number)
        return std::nullopt;
    const std::string_view name = text.substr(unit);
    double perUnit = 0;
    if (name == "in")
        perUnit = 96;
    else if (name == "cm")
        perUnit = 96 / 2.54;
    else if (name == "mm")
        perUnit = 96 / 25.4;
    else if (name == "pt")
        perUnit = 96.0 / 72;
    else if (name == "pc")
        perUnit = 16;
    else if (name == "px")
        perUnit = 1;
    else
        return std::nullopt;
    return *number * perUnit;
}

bool parseCellName(std::string_view text, int& col, int& row)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$')
        ++i;
    long long c = 0;
    const std::size_t lettersStart = i;
    while (i < text.size() && ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z')))
    {
        c = c * 26 + ((text[i] | 0x20) - 'a' + 1);
        if (c > grid::kMaxFormulaCol)
            return false;
        ++i;
    }
    if (i == lettersStart)
        return false;
    if (i < text.size() && text[i] == '$')
        ++i;
    long long r = 0;
    const std::size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
    {
        r = r * 10 + (text[i] - '0');
        if (r > grid::kMaxFormulaRow)
            return false;
        ++i;
    }
    if (i == digitsStart || i != text.size() || r < 1)
        return false;
    col = static_cast<int>(c);
    row = static_cast<int>(r);
    return true;
}

bool parseRangeName(std::string_view text, int& col1, int& row1, int& col2, int& row2)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
    {
        if (!parseCellName(text, col1, row1))
            return false;
        col2 = col1;
        row2 = row1;
        return true;
    }
    return parseCellName(text.substr(0, colon), col1, row1) &&
           parseCellName(text.substr(colon + 1), col2, row2);
}
} // namespace formats
