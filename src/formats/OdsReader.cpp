#include "formats/OdsReader.h"

#include "formats/Archive.h"
#include "formats/FormulaTranslation.h"
#include "formats/SheetBuilder.h"
#include "formats/WorkbookParts.h"
#include "formats/Xml.h"
#include "grid/Sheet.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace formats
{
namespace
{
/// Deepest nesting of row or column groups, and of spans inside a paragraph, that is read.
constexpr int kMaxNesting = 32;
/// Cells without an entry repeated more often than this carry a look for a whole region of an
/// empty sheet (spreadsheet programs write such runs to the sheet's end); their look is not
/// taken over, so the sheet ends where its entries do.
constexpr long long kMaxStyledRun = 1024;

bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int repeatCount(const pugi::xml_node& node, std::string_view attribute)
{
    const std::optional<int> count = parseXmlInt(attributeText(node, attribute));
    return count && *count > 1 ? *count : 1;
}

// --- Styles ---------------------------------------------------------------------------------

/// The properties of one named style, each only when the style itself sets it.
struct StyleProperties
{
    std::string parent;
    std::string dataStyle;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<std::string> fontName;
    std::optional<double> fontPoints;
    std::optional<grid::Color> color;
    std::optional<grid::Color> background;
    std::optional<grid::Border> border;
    std::optional<double> columnWidth;
    std::optional<double> rowHeight;
    bool hidden = false;
};

/// What a data style (number format) means for a sheet.
struct DataStyle
{
    enum Kind
    {
        General,
        Fixed,
        Text,
        Other,
    } kind = General;
    int decimals = 0;
    bool thousands = false;
};

std::optional<grid::Border> parseBorderSide(std::string_view text)
{
    if (text.empty() || text == "none" || text == "hidden")
        return grid::Border{};
    grid::Border border;
    border.style = 1;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view word = text.substr(start, end - start);
        if (word == "dashed")
            border.style = 2;
        else if (word == "dotted")
            border.style = 3;
        else if (word == "dash-dot")
            border.style = 4;
        else if (word == "dash-dot-dot")
            border.style = 5;
        else if (word.starts_with('#'))
            if (auto color = parseHexColor(word))
                border.color = *color;
        start = end + 1;
    }
    return border;
}

class OdsStyles
{
public:
    void readStyles(const pugi::xml_node& container)
    {
        for (const pugi::xml_node& node : container.children())
        {
            const std::string_view name = localName(node);
            if (name == "style")
                readStyle(node);
            else if (name == "default-style" && attributeText(node, "family") == "table-cell")
                readStyleInto(node, defaultStyle_);
            else if (name == "number-style")
                readNumberStyle(node);
            else if (name.ends_with("-style"))
                dataStyles_[std::string(attributeText(node, "name"))] =
                    DataStyle{name == "text-style" ? DataStyle::Text : DataStyle::Other, 0, false};
        }
    }

    /// The cell look of a cell style, with its parents and the default style.
    const CellLook& look(const std::string& name, const grid::CellFormat& defaultFormat, bool& italic,
                         bool& otherNumberFormat)
    {
        auto found = looks_.find(name);
        if (found == looks_.end())
            found = looks_.emplace(name, resolve(name, defaultFormat)).first;
        italic = found->second.italic;
        otherNumberFormat = found->second.otherNumberFormat;
        return found->second.look;
    }

    const StyleProperties* find(const std::string& name) const
    {
        const auto found = styles_.find(name);
        return found == styles_.end() ? nullptr : &found->second;
    }

private:
    struct Resolved
    {
        CellLook look;
        bool italic = false;
        bool otherNumberFormat = false;
    };

    void readStyle(const pugi::xml_node& node)
    {
        StyleProperties& style = styles_[std::string(attributeText(node, "name"))];
        style = {};
        readStyleInto(node, style);
    }

    static void readStyleInto(const pugi::xml_node& node, StyleProperties& style)
    {
        style.parent = attributeText(node, "parent-style-name");
        style.dataStyle = attributeText(node, "data-style-name");
        if (const pugi::xml_node text = childNamed(node, "text-properties"))
        {
            if (const std::string_view weight = attributeText(text, "font-weight"); !weight.empty())
                style.bold = weight == "bold" || (parseXmlInt(weight).value_or(400) >= 600);
            if (const std::string_view slant = attributeText(text, "font-style"); !slant.empty())
                style.italic = slant == "italic" || slant == "oblique";
            if (auto color = parseHexColor(attributeText(text, "color")))
                style.color = *color;
            std::string_view face = attributeText(text, "font-name");
            if (face.empty())
                face = attributeText(text, "font-family");
            if (face.size() >= 2 && (face.front() == '\'' || face.front() == '"'))
                face = face.substr(1, face.size() - 2);
            if (!face.empty())
                style.fontName = std::string(face);
            const std::string_view size = attributeText(text, "font-size");
            if (size.ends_with("pt"))
                if (auto points = parseXmlNumber(size.substr(0, size.size() - 2));
                    points && *points > 0 && *points < 1000)
                    style.fontPoints = *points;
        }
        if (const pugi::xml_node cell = childNamed(node, "table-cell-properties"))
        {
            const std::string_view background = attributeText(cell, "background-color");
            if (background == "transparent")
                style.background = grid::kDefaultColor;
            else if (auto color = parseHexColor(background))
                style.background = *color;
            grid::Border border;
            bool any = false;
            if (auto all = parseBorderSide(attributeText(cell, "border"));
                all && attributeNamed(cell, "border"))
            {
                if (all->style != 0)
                {
                    border = *all;
                    border.mask = 15;
                }
                any = true;
            }
            static constexpr std::pair<std::string_view, int> kSides[] = {
                {"border-left", 1}, {"border-right", 2}, {"border-top", 4}, {"border-bottom", 8}};
            for (const auto& [attribute, bit] : kSides)
            {
                if (!attributeNamed(cell, attribute))
                    continue;
                any = true;
                const std::optional<grid::Border> side = parseBorderSide(attributeText(cell, attribute));
                if (!side || side->style == 0)
                    continue;
                if (border.mask == 0)
                {
                    border.style = side->style;
                    border.color = side->color;
                }
                border.mask |= bit;
            }
            if (any)
                style.border = border;
        }
        if (const pugi::xml_node column = childNamed(node, "table-column-properties"))
            style.columnWidth = lengthPixels(attributeText(column, "column-width"));
        if (const pugi::xml_node row = childNamed(node, "table-row-properties"))
            if (attributeText(row, "use-optimal-row-height") != "true")
                style.rowHeight = lengthPixels(attributeText(row, "row-height"));
    }

    void readNumberStyle(const pugi::xml_node& node)
    {
        DataStyle style;
        int numbers = 0;
        for (const pugi::xml_node& child : node.children())
        {
            const std::string_view name = localName(child);
            if (name == "number")
            {
                ++numbers;
                const std::optional<int> decimals = parseXmlInt(attributeText(child, "decimal-places"));
                const std::optional<int> minimum = parseXmlInt(attributeText(child, "min-decimal-places"));
                style.thousands = attributeText(child, "grouping") == "true";
                if (decimals && *decimals >= 0 && *decimals <= grid::CellType::kMaxDecimals &&
                    (!minimum || *minimum == *decimals))
                {
                    style.kind = DataStyle::Fixed;
                    style.decimals = *decimals;
                }
            }
            else if (name == "text" || name == "map")
            {
                // A text around the number, or a format for negative numbers, has no counterpart.
                if (!std::string_view(child.text().get()).empty() || name == "map")
                    style.kind = DataStyle::Other;
            }
            else if (child.type() == pugi::node_element)
                style.kind = DataStyle::Other;
        }
        if (numbers != 1)
            style.kind = DataStyle::Other;
        if (style.kind == DataStyle::General && style.thousands)
            style.kind = DataStyle::Other;
        dataStyles_[std::string(attributeText(node, "name"))] = style;
    }

    Resolved resolve(const std::string& name, const grid::CellFormat& defaultFormat)
    {
        // The chain from the style up through its parents, the default style last.
        std::vector<const StyleProperties*> chain;
        std::string current = name;
        for (int depth = 0; depth < kMaxNesting && !current.empty(); ++depth)
        {
            const auto found = styles_.find(current);
            if (found == styles_.end())
                break;
            chain.push_back(&found->second);
            current = found->second.parent;
        }
        StyleProperties merged = defaultStyle_;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        {
            const StyleProperties& style = **it;
            if (style.bold)
                merged.bold = style.bold;
            if (style.italic)
                merged.italic = style.italic;
            if (style.fontName)
                merged.fontName = style.fontName;
            if (style.fontPoints)
                merged.fontPoints = style.fontPoints;
            if (style.color)
                merged.color = style.color;
            if (style.background)
                merged.background = style.background;
            if (style.border)
                merged.border = style.border;
            if (!style.dataStyle.empty())
                merged.dataStyle = style.dataStyle;
        }
        Resolved out;
        CellLook& look = out.look;
        look.format = defaultFormat;
        // The file's default font stands for the sheet's default font.
        const bool ownFace = merged.fontName && merged.fontName != defaultStyle_.fontName;
        const bool ownSize =
            merged.fontPoints &&
            (!defaultStyle_.fontPoints || std::abs(*merged.fontPoints - *defaultStyle_.fontPoints) > 0.01);
        if (ownFace || ownSize)
        {
            look.format.font.face = merged.fontName.value_or(defaultFormat.font.face);
            look.format.font.height = static_cast<int>(std::lround(merged.fontPoints.value_or(10) * 4 / 3));
        }
        look.format.font.weight = merged.bold.value_or(false) ? 700 : 400;
        look.format.foreground = merged.color.value_or(grid::kDefaultColor);
        // Black text is what a sheet shows without a colour.
        if (look.format.foreground == 0 && !merged.color)
            look.format.foreground = grid::kDefaultColor;
        look.format.background = merged.background.value_or(grid::kDefaultColor);
        if (merged.border)
            look.format.border = *merged.border;
        look.hasFormat = !(look.format == defaultFormat);
        out.italic = merged.italic.value_or(false);
        if (!merged.dataStyle.empty())
        {
            const auto data = dataStyles_.find(merged.dataStyle);
            if (data != dataStyles_.end())
                switch (data->second.kind)
                {
                case DataStyle::General:
                    break;
                case DataStyle::Fixed:
                    look.hasType = true;
                    look.type = grid::CellType::number(data->second.decimals, grid::CellType::kNumberMin,
                                                       grid::CellType::kNumberMax, data->second.thousands);
                    break;
                case DataStyle::Text:
                    look.hasType = true;
                    look.type = grid::CellType::textCell(0, 0);
                    break;
                case DataStyle::Other:
                    out.otherNumberFormat = true;
                    break;
                }
        }
        return out;
    }

    std::unordered_map<std::string, StyleProperties> styles_;
    StyleProperties defaultStyle_;
    std::unordered_map<std::string, DataStyle> dataStyles_;
    std::unordered_map<std::string, Resolved> looks_;
};

// --- Values ---------------------------------------------------------------------------------

/// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long long daysFromCivil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

/// "2024-01-15" or "2024-01-15T10:30:00" as a serial date of the 1900 system.
std::optional<double> dateSerial(std::string_view text)
{
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = parseXmlInt(text.substr(0, 4));
    const auto month = parseXmlInt(text.substr(5, 2));
    const auto day = parseXmlInt(text.substr(8, 2));
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31)
        return std::nullopt;
    double serial =
        static_cast<double>(daysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)) -
                            daysFromCivil(1899, 12, 30));
    if (text.size() >= 19 && text[10] == 'T')
    {
        const auto hours = parseXmlInt(text.substr(11, 2));
        const auto minutes = parseXmlInt(text.substr(14, 2));
        const auto seconds = parseXmlNumber(text.substr(17));
        if (hours && minutes && seconds)
            serial += (*hours * 3600.0 + *minutes * 60.0 + *seconds) / 86400.0;
    }
    return serial;
}

/// "PT12H30M15S" (a duration) as a fraction of a day.
std::optional<double> timeSerial(std::string_view text)
{
    if (!text.starts_with("PT"))
        return std::nullopt;
    text.remove_prefix(2);
    double seconds = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char unit = text[i];
        if (unit != 'H' && unit != 'M' && unit != 'S')
            continue;
        const auto number = parseXmlNumber(text.substr(start, i - start));
        if (!number)
            return std::nullopt;
        seconds += *number * (unit == 'H' ? 3600 : unit == 'M' ? 60 : 1);
        start = i + 1;
    }
    return seconds / 86400.0;
}

/// The text of paragraphs: paragraphs joined by line feeds, spaces (text:s), tabs and line
/// breaks as characters, spans and links flattened. Stops growing past `limit`.
class TextCollector
{
public:
    explicit TextCollector(std::size_t limit) : limit_(limit) {}

    void paragraphs(const pugi::xml_node& node)
    {
        bool first = true;
        for (const pugi::xml_node& child : node.children())
        {
            const std::string_view name = localName(child);
            if (name != "p" && name != "h")
                continue;
            if (!first)
                text_ += '\n';
            first = false;
            inline_(child, 0);
        }
    }

    const std::string& text() const { return text_; }
    int links() const { return links_; }

private:
    void inline_(const pugi::xml_node& node, int depth)
    {
        if (depth > kMaxNesting)
            return;
        for (const pugi::xml_node& child : node.children())
        {
            if (text_.size() > limit_)
                return;
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            {
                text_ += child.value();
                continue;
            }
            if (child.type() != pugi::node_element)
                continue;
            const std::string_view name = localName(child);
            if (name == "s")
                text_.append(static_cast<std::size_t>(
                                 std::clamp(parseXmlInt(attributeText(child, "c")).value_or(1), 1,
                                            static_cast<int>(std::min<std::size_t>(limit_, 1 << 20)))),
                             ' ');
            else if (name == "tab")
                text_ += '\t';
            else if (name == "line-break")
                text_ += '\n';
            else if (name == "annotation" || name == "note")
                continue;
            else
            {
                links_ += name == "a";
                inline_(child, depth + 1);
            }
        }
    }

    std::size_t limit_;
    std::string text_;
    int links_ = 0;
};

// --- The table ------------------------------------------------------------------------------

struct ColumnRun
{
    int first = 0;
    int count = 0;
    std::string cellStyle;
};

class TableReader
{
public:
    TableReader(SheetBuilder& builder, OdsStyles& styles, const ReadLimits& limits, std::string name)
        : builder_(builder), styles_(styles), limits_(limits), name_(std::move(name))
    {
    }

    bool read(const pugi::xml_node& table, std::string& error)
    {
        if (!readColumns(table, 0, error) || !readRows(table, 0, error))
            return false;
        return true;
    }

private:
    bool readColumns(const pugi::xml_node& container, int depth, std::string& error)
    {
        if (depth > kMaxNesting)
        {
            error = "column groups are nested too deep";
            return false;
        }
        for (const pugi::xml_node& node : container.children())
        {
            const std::string_view name = localName(node);
            if (name == "table-column")
            {
                const int count = repeatCount(node, "number-columns-repeated");
                const int first = nextCol_ + 1;
                nextCol_ = static_cast<int>(
                    std::min<long long>(static_cast<long long>(nextCol_) + count, grid::kMaxCols));
                if (const StyleProperties* style =
                        styles_.find(std::string(attributeText(node, "style-name"))))
                    if (style->columnWidth)
                        for (int col = first; col <= nextCol_ && col < first + 1024; ++col)
                            builder_.columnWidth(col, std::round(*style->columnWidth));
                if (attributeText(node, "visibility") == "collapse")
                    builder_.ignore("hidden column range", "hidden column ranges");
                columns_.push_back({first, nextCol_ - first + 1,
                                    std::string(attributeText(node, "default-cell-style-name"))});
            }
            else if (name == "table-columns" || name == "table-header-columns" ||
                     name == "table-column-group")
            {
                if (!readColumns(node, depth + 1, error))
                    return false;
            }
        }
        return true;
    }

    const std::string& columnStyle(int col) const
    {
        static const std::string none;
        auto it = std::upper_bound(columns_.begin(), columns_.end(), col,
                                   [](int c, const ColumnRun& run) { return c < run.first; });
        if (it == columns_.begin())
            return none;
        --it;
        return col < it->first + it->count ? it->cellStyle : none;
    }

    bool readRows(const pugi::xml_node& container, int depth, std::string& error)
    {
        if (depth > kMaxNesting)
        {
            error = "row groups are nested too deep";
            return false;
        }
        for (const pugi::xml_node& node : container.children())
        {
            const std::string_view name = localName(node);
            if (name == "table-row")
            {
                if (!readRow(node, error))
                    return false;
            }
            else if (name == "table-rows" || name == "table-header-rows" || name == "table-row-group")
            {
                if (!readRows(node, depth + 1, error))
                    return false;
            }
        }
        return true;
    }

    static bool hasContent(const pugi::xml_node& cell)
    {
        return attributeNamed(cell, "value-type") || attributeNamed(cell, "formula") ||
               childNamed(cell, "p") || childNamed(cell, "annotation") ||
               attributeNamed(cell, "number-columns-spanned") || attributeNamed(cell, "number-rows-spanned");
    }

    bool readRow(const pugi::xml_node& rowNode, std::string& error)
    {
        const int repeat = repeatCount(rowNode, "number-rows-repeated");
        const int first = nextRow_ + 1;
        if (first > grid::kMaxRows)
            return true;
        nextRow_ =
            static_cast<int>(std::min<long long>(static_cast<long long>(nextRow_) + repeat, grid::kMaxRows));
        const std::string rowStyleName(attributeText(rowNode, "style-name"));
        if (const StyleProperties* style = styles_.find(rowStyleName); style && style->rowHeight)
            for (int row = first; row <= nextRow_ && row < first + 1024; ++row)
                builder_.rowHeight(row, std::round(*style->rowHeight));
        if (attributeText(rowNode, "visibility") == "collapse")
            builder_.ignore("hidden row", "hidden rows");
        const std::string rowCellStyle(attributeText(rowNode, "default-cell-style-name"));

        bool content = false;
        for (const pugi::xml_node& cell : rowNode.children())
            content = content || ((localName(cell) == "table-cell") && hasContent(cell));
        if (!content && repeat > 1 && static_cast<long long>(repeat) > kMaxStyledRun)
            return true;
        for (int row = first; row <= nextRow_; ++row)
        {
            int col = 0;
            for (const pugi::xml_node& cell : rowNode.children())
            {
                const std::string_view name = localName(cell);
                if (name != "table-cell" && name != "covered-table-cell")
                    continue;
                const int count = repeatCount(cell, "number-columns-repeated");
                const int firstCol = col + 1;
                col = static_cast<int>(
                    std::min<long long>(static_cast<long long>(col) + count, grid::kMaxCols + 1LL));
                if (name == "covered-table-cell")
                    continue;
                const bool filled = hasContent(cell);
                if (!filled && static_cast<long long>(count) * repeat > kMaxStyledRun)
                    continue;
                for (int c = firstCol; c <= col; ++c)
                {
                    if (c > grid::kMaxCols)
                    {
                        if (filled)
                        {
                            error =
                                "a cell of row " + std::to_string(row) + " lies outside the largest sheet";
                            return false;
                        }
                        break;
                    }
                    if (!readCell(cell, c, row, rowCellStyle, filled))
                    {
                        error = builder_.error();
                        return false;
                    }
                }
            }
        }
        return true;
    }

    bool readCell(const pugi::xml_node& cell, int col, int row, const std::string& rowCellStyle, bool filled)
    {
        std::string styleName(attributeText(cell, "style-name"));
        if (styleName.empty())
            styleName = columnStyle(col);
        if (styleName.empty())
            styleName = rowCellStyle;
        if (!styleName.empty())
        {
            bool italic = false, otherNumberFormat = false;
            const CellLook& look = styles_.look(styleName, defaultFormat_, italic, otherNumberFormat);
            if (!look.empty())
            {
                if (!builder_.look(col, row, look))
                    return false;
                if (italic)
                    builder_.ignore("italic style", "italic styles");
            }
            if (otherNumberFormat && filled)
                builder_.ignore("date, percent or other number format",
                                "date, percent or other number formats");
        }
        if (!filled)
            return true;

        const int spanCols =
            std::max(1, parseXmlInt(attributeText(cell, "number-columns-spanned")).value_or(1));
        const int spanRows = std::max(1, parseXmlInt(attributeText(cell, "number-rows-spanned")).value_or(1));
        if (spanCols > 1 || spanRows > 1)
            builder_.span(col, row, spanCols, spanRows);

        if (const pugi::xml_node annotation = childNamed(cell, "annotation"))
        {
            TextCollector note(limits_.maxTextBytes);
            note.paragraphs(annotation);
            if (!note.text().empty() && !builder_.note(col, row, note.text()))
                return false;
        }
        if (attributeNamed(cell, "content-validation-name"))
            builder_.ignore("data validation", "data validations");

        const std::string_view formula = attributeText(cell, "formula");
        if (!formula.empty())
        {
            std::string translated, why;
            if (!translateOpenFormula(formula, name_, translated, why))
                return builder_.fail(col, row,
                                     "formula \"" + std::string(formula) + "\" does not translate: " + why);
            return builder_.formula(col, row, translated, formula);
        }
        const std::string_view type = attributeText(cell, "value-type");
        if (type == "float" || type == "percentage" || type == "currency")
        {
            const std::optional<double> number = parseXmlNumber(attributeText(cell, "value"));
            if (!number)
                return builder_.fail(col, row,
                                     "\"" + std::string(attributeText(cell, "value")).substr(0, 40) +
                                         "\" is not a number");
            return builder_.number(col, row, *number);
        }
        if (type == "date" || type == "time")
        {
            const std::optional<double> serial = type == "date"
                                                     ? dateSerial(attributeText(cell, "date-value"))
                                                     : timeSerial(attributeText(cell, "time-value"));
            if (!serial)
                return builder_.fail(col, row, "the " + std::string(type) + " value is not valid");
            return builder_.number(col, row, *serial);
        }
        if (type == "boolean")
        {
            const std::string_view value = attributeText(cell, "boolean-value");
            return builder_.formula(col, row, value == "true" ? "TRUE" : "FALSE", value);
        }
        if (const pugi::xml_attribute value = attributeNamed(cell, "string-value"); value && type == "string")
            return builder_.text(col, row, value.value());
        TextCollector text(limits_.maxTextBytes);
        text.paragraphs(cell);
        builder_.ignore("hyperlink", "hyperlinks", text.links());
        return builder_.text(col, row, text.text());
    }

    SheetBuilder& builder_;
    OdsStyles& styles_;
    const ReadLimits& limits_;
    std::string name_;
    grid::CellFormat defaultFormat_ = grid::Sheet().defaultFormat();
    std::vector<ColumnRun> columns_;
    int nextCol_ = 0;
    int nextRow_ = 0;
};

int countChildren(const pugi::xml_node& node, std::string_view name)
{
    int count = 0;
    for (const pugi::xml_node& child : node.children())
        count += localName(child) == name;
    return count;
}
} // namespace

bool readOds(Archive& archive, std::string_view sheetName, SheetBuilder& builder, const ReadLimits& limits,
             std::string& error)
{
    OdsStyles styles;
    std::string text;
    if (archive.has("styles.xml"))
    {
        pugi::xml_document document;
        if (!archive.read("styles.xml", text, error) || !parseXml(text, document, "styles.xml", error))
            return false;
        const pugi::xml_node root = document.document_element();
        styles.readStyles(childNamed(root, "styles"));
        styles.readStyles(childNamed(root, "automatic-styles"));
    }
    pugi::xml_document content;
    if (!archive.read("content.xml", text, error) || !parseXml(text, content, "content.xml", error))
        return false;
    text.clear();
    text.shrink_to_fit();
    const pugi::xml_node root = content.document_element();
    styles.readStyles(childNamed(root, "automatic-styles"));
    const pugi::xml_node spreadsheet = childNamed(childNamed(root, "body"), "spreadsheet");
    pugi::xml_node chosen;
    for (const pugi::xml_node& node : spreadsheet.children())
        if (localName(node) == "table" &&
            (sheetName.empty() || equalNoCase(attributeText(node, "name"), sheetName)))
        {
            chosen = node;
            break;
        }
    if (!chosen)
    {
        error = sheetName.empty() ? "the workbook has no table"
                                  : "the workbook has no table \"" + std::string(sheetName) + "\"";
        return false;
    }
    TableReader reader(builder, styles, limits, std::string(attributeText(chosen, "name")));
    if (!reader.read(chosen, error))
        return false;
    builder.ignore("conditional format", "conditional formats",
                   countChildren(childNamed(chosen, "conditional-formats"), "conditional-format"));
    builder.ignore("drawing (charts and pictures)", "drawings (charts and pictures)",
                   countChildren(childNamed(chosen, "shapes"), "frame") +
                       countChildren(childNamed(chosen, "shapes"), "custom-shape"));
    const pugi::xml_node names = childNamed(spreadsheet, "named-expressions");
    builder.ignore("defined name", "defined names",
                   countChildren(names, "named-range") + countChildren(names, "named-expression"));
    return true;
}
} // namespace formats
