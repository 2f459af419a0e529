#include "formats/XlsxReader.h"

#include "formats/Archive.h"
#include "formats/FormulaTranslation.h"
#include "formats/SheetBuilder.h"
#include "formats/WorkbookParts.h"
#include "formats/Xml.h"
#include "grid/Sheet.h"
#include "grid/formula/Formula.h"

#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
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

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

/// The folder of a part ("xl/workbook.xml" gives "xl/").
std::string folderOf(const std::string& part)
{
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

/// A relationship target resolved against the folder of the part that names it.
std::string resolveTarget(const std::string& folder, std::string_view target)
{
    std::string path = target.starts_with('/') ? std::string(target.substr(1)) : folder + std::string(target);
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= path.size())
    {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string piece = path.substr(start, slash - start);
        if (piece == "..")
        {
            if (!pieces.empty())
                pieces.pop_back();
        }
        else if (!piece.empty() && piece != ".")
            pieces.push_back(piece);
        start = slash + 1;
    }
    std::string out;
    for (const std::string& piece : pieces)
        out += (out.empty() ? "" : "/") + piece;
    return out;
}

struct Relationship
{
    std::string type;
    std::string target;
};

/// The relationships of a part by id; none when the part has no relationship part.
bool readRelationships(Archive& archive, const std::string& part, std::map<std::string, Relationship>& out,
                       std::string& error)
{
    const std::string relsName = folderOf(part) + "_rels/" + part.substr(folderOf(part).size()) + ".rels";
    if (!archive.has(relsName))
        return true;
    std::string text;
    pugi::xml_document document;
    if (!archive.read(relsName, text, error) || !parseXml(text, document, relsName, error))
        return false;
    for (const pugi::xml_node& node : document.document_element().children())
    {
        if (localName(node) != "Relationship" || attributeText(node, "TargetMode") == "External")
            continue;
        out[std::string(attributeText(node, "Id"))] = {
            std::string(attributeText(node, "Type")),
            resolveTarget(folderOf(part), attributeText(node, "Target"))};
    }
    return true;
}

std::string findRelationship(const std::map<std::string, Relationship>& relationships,
                             std::string_view typeTail)
{
    for (const auto& [id, relationship] : relationships)
        if (endsWith(relationship.type, typeTail))
            return relationship.target;
    return {};
}

/// Texts of shared strings and cells escape characters XML cannot hold as "_xHHHH_".
std::string decodeEscapes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_')
        {
            unsigned code = 0;
            bool hex = true;
            for (std::size_t k = i + 2; k < i + 6 && hex; ++k)
            {
                const char c = text[k];
                code <<= 4;
                if (c >= '0' && c <= '9')
                    code |= static_cast<unsigned>(c - '0');
                else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                    code |= static_cast<unsigned>((c | 0x20) - 'a' + 10);
                else
                    hex = false;
            }
            if (hex)
            {
                // As UTF-8, the encoding of everything else in the file.
                if (code < 0x80)
                    out += static_cast<char>(code);
                else if (code < 0x800)
                {
                    out += static_cast<char>(0xC0 | (code >> 6));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                }
                else
                {
                    out += static_cast<char>(0xE0 | (code >> 12));
                    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                }
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

/// The text of a string item (<si>, <is>, <text>): plain <t> or rich-text runs <r><t>, with
/// phonetic runs left out.
std::string stringItemText(const pugi::xml_node& item)
{
    std::string text;
    for (const pugi::xml_node& child : item.children())
    {
        const std::string_view name = localName(child);
        if (name == "t")
            text += child.text().get();
        else if (name == "r")
            text += childNamed(child, "t").text().get();
    }
    return decodeEscapes(text);
}

// --- Styles ---------------------------------------------------------------------------------

/// The palette behind indexed colours (the classic 64 colours; 64 and above are the system's
/// own window colours).
constexpr std::array<std::uint32_t, 64> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x000000, 0xFFFFFF,
    0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000, 0x000080, 0x808000,
    0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080,
    0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99, 0x3366FF, 0x33CCCC,
    0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966, 0x003300, 0x333300,
    0x993300, 0x993366, 0x333399, 0x333333};

/// A colour element (<color rgb="FF…"/>, indexed=, theme=, auto=).
struct ColorRead
{
    grid::Color color = grid::kDefaultColor;
    bool theme = false; ///< a theme colour, which a sheet cannot hold
};

ColorRead readColor(const pugi::xml_node& node, bool text = false)
{
    ColorRead out;
    if (!node)
        return out;
    if (auto rgb = parseHexColor(attributeText(node, "rgb")))
        out.color = *rgb;
    else if (auto indexed = parseXmlInt(attributeText(node, "indexed"));
             indexed && *indexed >= 0 && *indexed < 64)
    {
        const std::uint32_t rgb = kPalette[static_cast<std::size_t>(*indexed)];
        out.color = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    else if (const std::string_view theme = attributeText(node, "theme"); !theme.empty())
        // The theme's dark text colour is what text has without a colour of its own.
        out.theme = !(text && theme == "1");
    return out;
}

bool flagOn(const pugi::xml_node& node)
{
    if (!node)
        return false;
    const std::string_view value = attributeText(node, "val");
    return value.empty() || value == "1" || value == "true";
}

struct FontRead
{
    std::string face;
    double points = 11;
    bool bold = false;
    bool italic = false;
    ColorRead color;
};

struct BorderRead
{
    grid::Border border;
    bool themeColor = false;
};

/// Line styles of the sheet's borders: 1 solid, 2 dashed, 3 dotted, 4 dash-dot, 5 dash-dot-dot.
int borderStyle(std::string_view style)
{
    if (style == "dashed" || style == "mediumDashed")
        return 2;
    if (style == "dotted" || style == "hair")
        return 3;
    if (style == "dashDot" || style == "mediumDashDot" || style == "slantDashDot")
        return 4;
    if (style == "dashDotDot" || style == "mediumDashDotDot")
        return 5;
    return 1;
}

/// A number format code with fixed decimals, and perhaps thousands separators: "0", "0.00",
/// "#,##0", "#,##0.000".
bool fixedNumberFormat(std::string_view code, int& decimals, bool& thousands)
{
    thousands = false;
    if (code.starts_with("#,##0"))
    {
        thousands = true;
        code.remove_prefix(5);
    }
    else if (code.starts_with("0"))
        code.remove_prefix(1);
    else
        return false;
    decimals = 0;
    if (code.empty())
        return true;
    if (code[0] != '.' || code.size() < 2 ||
        code.size() - 1 > static_cast<std::size_t>(grid::CellType::kMaxDecimals))
        return false;
    for (char c : code.substr(1))
        if (c != '0')
            return false;
    decimals = static_cast<int>(code.size() - 1);
    return true;
}

/// How one cell style (<xf> of cellXfs) reads in the sheet, with what it loses.
struct StyleRead
{
    CellLook look;
    bool italic = false;
    bool themeColor = false;
    bool unsupportedNumberFormat = false;
    bool patternFill = false;
};

struct Styles
{
    std::vector<StyleRead> cellStyles;
};

bool readStyles(Archive& archive, const std::string& part, const grid::CellFormat& defaultFormat,
                Styles& styles, std::string& error)
{
    std::string text;
    pugi::xml_document document;
    if (!archive.read(part, text, error) || !parseXml(text, document, part, error))
        return false;
    const pugi::xml_node root = document.document_element();

    std::unordered_map<int, std::string> numberFormats;
    for (const pugi::xml_node& node : childNamed(root, "numFmts").children())
        if (auto id = parseXmlInt(attributeText(node, "numFmtId")))
            numberFormats[*id] = std::string(attributeText(node, "formatCode"));

    std::vector<FontRead> fonts;
    for (const pugi::xml_node& node : childNamed(root, "fonts").children())
    {
        if (localName(node) != "font")
            continue;
        FontRead font;
        font.face = attributeText(childNamed(node, "name"), "val");
        if (auto size = parseXmlNumber(attributeText(childNamed(node, "sz"), "val"));
            size && *size > 0 && *size < 1000)
            font.points = *size;
        font.bold = flagOn(childNamed(node, "b"));
        font.italic = flagOn(childNamed(node, "i"));
        font.color = readColor(childNamed(node, "color"), true);
        fonts.push_back(std::move(font));
    }

    struct FillRead
    {
        ColorRead color;
        bool pattern = false;
    };
    std::vector<FillRead> fills;
    for (const pugi::xml_node& node : childNamed(root, "fills").children())
    {
        if (localName(node) != "fill")
            continue;
        FillRead fill;
        const pugi::xml_node pattern = childNamed(node, "patternFill");
        const std::string_view type = attributeText(pattern, "patternType");
        if (type == "solid")
            fill.color = readColor(childNamed(pattern, "fgColor"));
        else if (!pattern || (!type.empty() && type != "none"))
            fill.pattern = !(type == "gray125" && fills.size() == 1);
        fills.push_back(fill);
    }

    std::vector<BorderRead> borders;
    for (const pugi::xml_node& node : childNamed(root, "borders").children())
    {
        if (localName(node) != "border")
            continue;
        BorderRead border;
        static constexpr std::array<std::pair<std::string_view, int>, 4> kSides = {
            {{"left", 1}, {"right", 2}, {"top", 4}, {"bottom", 8}}};
        for (const auto& [side, bit] : kSides)
        {
            const pugi::xml_node edge = childNamed(node, side);
            const std::string_view style = attributeText(edge, "style");
            if (!edge || style.empty() || style == "none")
                continue;
            if (border.border.mask == 0)
            {
                border.border.style = borderStyle(style);
                const ColorRead color = readColor(childNamed(edge, "color"));
                border.border.color = color.color;
                border.themeColor = color.theme;
            }
            border.border.mask |= bit;
        }
        borders.push_back(border);
    }

    const FontRead baseFont = fonts.empty() ? FontRead{} : fonts.front();
    for (const pugi::xml_node& node : childNamed(root, "cellXfs").children())
    {
        if (localName(node) != "xf")
            continue;
        StyleRead style;
        CellLook& look = style.look;
        look.format = defaultFormat;
        const int numberFormat = parseXmlInt(attributeText(node, "numFmtId")).value_or(0);
        std::string code;
        switch (numberFormat)
        {
        case 0:
            break;
        case 1:
            code = "0";
            break;
        case 2:
            code = "0.00";
            break;
        case 3:
            code = "#,##0";
            break;
        case 4:
            code = "#,##0.00";
            break;
        case 49:
            code = "@";
            break;
        default:
            if (auto found = numberFormats.find(numberFormat); found != numberFormats.end())
                code = found->second;
            else
                style.unsupportedNumberFormat = true;
        }
        int decimals = 0;
        bool thousands = false;
        if (code == "@")
        {
            look.hasType = true;
            look.type = grid::CellType::textCell(0, 0);
        }
        else if (fixedNumberFormat(code, decimals, thousands))
        {
            look.hasType = true;
            look.type = grid::CellType::number(decimals, grid::CellType::kNumberMin,
                                               grid::CellType::kNumberMax, thousands);
        }
        else if (!code.empty() && !equalNoCase(code, "General"))
            style.unsupportedNumberFormat = true;

        const auto fontId = parseXmlInt(attributeText(node, "fontId")).value_or(0);
        if (fontId > 0 && static_cast<std::size_t>(fontId) < fonts.size())
        {
            const FontRead& font = fonts[static_cast<std::size_t>(fontId)];
            // The workbook's own default font stands for the sheet's default font; only a
            // font chosen for the cell is taken over.
            if (font.face != baseFont.face || std::abs(font.points - baseFont.points) > 0.01)
            {
                look.format.font.face = font.face.empty() ? defaultFormat.font.face : font.face;
                look.format.font.height = static_cast<int>(std::lround(font.points * 4 / 3));
            }
            look.format.font.weight = font.bold ? 700 : 400;
            look.format.foreground = font.color.color;
            style.italic = font.italic;
            style.themeColor = font.color.theme;
        }
        const auto fillId = parseXmlInt(attributeText(node, "fillId")).value_or(0);
        if (fillId > 0 && static_cast<std::size_t>(fillId) < fills.size())
        {
            look.format.background = fills[static_cast<std::size_t>(fillId)].color.color;
            style.themeColor = style.themeColor || fills[static_cast<std::size_t>(fillId)].color.theme;
            style.patternFill = fills[static_cast<std::size_t>(fillId)].pattern;
        }
        const auto borderId = parseXmlInt(attributeText(node, "borderId")).value_or(0);
        if (borderId > 0 && static_cast<std::size_t>(borderId) < borders.size())
        {
            look.format.border = borders[static_cast<std::size_t>(borderId)].border;
            style.themeColor = style.themeColor || borders[static_cast<std::size_t>(borderId)].themeColor;
        }
        look.hasFormat = !(look.format == defaultFormat);
        styles.cellStyles.push_back(std::move(style));
    }
    return true;
}

// --- The worksheet ------------------------------------------------------------------------

/// A shared formula: its first cell holds the text, the others name it by number.
struct SharedFormula
{
    std::shared_ptr<const grid::Formula> formula;
    std::string original;
};

class WorksheetReader
{
public:
    WorksheetReader(SheetBuilder& builder, const Styles& styles, const std::vector<std::string>& strings,
                    std::string sheetName)
        : builder_(builder), styles_(styles), strings_(strings), sheetName_(std::move(sheetName))
    {
    }

    bool read(const pugi::xml_node& root, std::string& error)
    {
        for (const pugi::xml_node& node : childNamed(root, "cols").children())
        {
            if (localName(node) != "col")
                continue;
            const int first = parseXmlInt(attributeText(node, "min")).value_or(0);
            const int last = std::min(parseXmlInt(attributeText(node, "max")).value_or(0), grid::kMaxCols);
            const std::optional<double> width = parseXmlNumber(attributeText(node, "width"));
            const std::string_view hiddenText = attributeText(node, "hidden");
            const bool hidden = hiddenText == "1" || hiddenText == "true";
            if (first < 1 || last < first)
                continue;
            if (hidden)
                builder_.ignore("hidden column range", "hidden column ranges");
            // Stored widths include the cell margins; the digit of the default font is 7
            // pixels wide.
            if (width &&
                (attributeText(node, "customWidth") == "1" || attributeText(node, "customWidth") == "true"))
                for (int col = first; col <= last && col <= first + 16383; ++col)
                    builder_.columnWidth(col, std::round(*width * 7));
        }

        int row = 0;
        for (const pugi::xml_node& rowNode : childNamed(root, "sheetData").children())
        {
            if (localName(rowNode) != "row")
                continue;
            row = parseXmlInt(attributeText(rowNode, "r")).value_or(row + 1);
            if (row < 1 || row > grid::kMaxRows)
            {
                error = "row " + std::to_string(row) + " lies outside the largest sheet";
                return false;
            }
            const std::string_view customHeight = attributeText(rowNode, "customHeight");
            if (customHeight == "1" || customHeight == "true")
                if (auto points = parseXmlNumber(attributeText(rowNode, "ht")))
                    builder_.rowHeight(row, std::round(*points * 4 / 3));
            if (attributeText(rowNode, "hidden") == "1" || attributeText(rowNode, "hidden") == "true")
                builder_.ignore("hidden row", "hidden rows");
            int col = 0;
            for (const pugi::xml_node& cell : rowNode.children())
            {
                if (localName(cell) != "c")
                    continue;
                const std::string_view reference = attributeText(cell, "r");
                int cellRow = row;
                if (reference.empty())
                    ++col;
                else if (!parseCellName(reference, col, cellRow) || cellRow != row)
                {
                    error = "the cell reference \"" + std::string(reference) + "\" in row " +
                            std::to_string(row) + " is not valid";
                    return false;
                }
                if (col < 1 || col > grid::kMaxCols)
                {
                    error = "a cell of row " + std::to_string(row) + " lies outside the largest sheet";
                    return false;
                }
                if (!readCell(cell, col, row))
                {
                    error = builder_.error();
                    return false;
                }
            }
        }

        for (const pugi::xml_node& node : childNamed(root, "mergeCells").children())
        {
            int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
            if (localName(node) == "mergeCell" &&
                parseRangeName(attributeText(node, "ref"), col1, row1, col2, row2))
                builder_.span(std::min(col1, col2), std::min(row1, row2), std::abs(col2 - col1) + 1,
                              std::abs(row2 - row1) + 1);
        }

        int conditional = 0, validations = 0, links = 0, drawings = 0, tables = 0, filters = 0;
        for (const pugi::xml_node& node : root.children())
        {
            const std::string_view name = localName(node);
            if (name == "conditionalFormatting")
                ++conditional;
            else if (name == "dataValidations")
                for (const pugi::xml_node& child : node.children())
                    validations += localName(child) == "dataValidation";
            else if (name == "hyperlinks")
                for (const pugi::xml_node& child : node.children())
                    links += localName(child) == "hyperlink";
            else if (name == "drawing")
                ++drawings;
            else if (name == "tableParts")
                for (const pugi::xml_node& child : node.children())
                    tables += localName(child) == "tablePart";
            else if (name == "autoFilter")
                ++filters;
        }
        builder_.ignore("conditional format", "conditional formats", conditional);
        builder_.ignore("data validation", "data validations", validations);
        builder_.ignore("hyperlink", "hyperlinks", links);
        builder_.ignore("drawing (charts and pictures)", "drawings (charts and pictures)", drawings);
        builder_.ignore("table", "tables", tables);
        builder_.ignore("filter", "filters", filters);
        return true;
    }

private:
    bool readCell(const pugi::xml_node& cell, int col, int row)
    {
        if (auto styleIndex = parseXmlInt(attributeText(cell, "s")); styleIndex && *styleIndex > 0)
        {
            if (static_cast<std::size_t>(*styleIndex) < styles_.cellStyles.size())
            {
                const StyleRead& style = styles_.cellStyles[static_cast<std::size_t>(*styleIndex)];
                if (!builder_.look(col, row, style.look))
                    return false;
                if (style.italic)
                    builder_.ignore("italic style", "italic styles");
                if (style.themeColor)
                    builder_.ignore("theme colour", "theme colours");
                if (style.unsupportedNumberFormat)
                    builder_.ignore("date, percent or other number format",
                                    "date, percent or other number formats");
                if (style.patternFill)
                    builder_.ignore("pattern fill", "pattern fills");
            }
        }
        const std::string_view type = attributeText(cell, "t");
        const pugi::xml_node valueNode = childNamed(cell, "v");
        const std::string_view value = valueNode.text().get();
        const pugi::xml_node formulaNode = childNamed(cell, "f");
        if (formulaNode)
            return readFormula(formulaNode, col, row, type, value);
        if (type == "s")
        {
            const auto index = parseXmlInt(value);
            if (!index || *index < 0 || static_cast<std::size_t>(*index) >= strings_.size())
                return builder_.fail(col, row, "shared string " + std::string(value) + " does not exist");
            return builder_.text(col, row, strings_[static_cast<std::size_t>(*index)]);
        }
        if (type == "inlineStr")
            return builder_.text(col, row, stringItemText(childNamed(cell, "is")));
        if (type == "str")
            return builder_.text(col, row, decodeEscapes(value));
        if (type == "b")
            return !valueNode ||
                   builder_.formula(col, row, value == "1" || value == "true" ? "TRUE" : "FALSE", value);
        if (type == "e")
        {
            // An error value is kept as the formula that gives it.
            if (!valueNode)
                return true;
            if (grid::parseErrorText(value))
                return builder_.formula(col, row, value, value);
            return builder_.text(col, row, value);
        }
        if (type == "d")
        {
            builder_.ignore("date cell read as text", "date cells read as text");
            return builder_.text(col, row, value);
        }
        if (!valueNode)
            return true;
        const std::optional<double> number = parseXmlNumber(value);
        if (!number)
            return builder_.fail(col, row, "\"" + std::string(value).substr(0, 40) + "\" is not a number");
        return builder_.number(col, row, *number);
    }

    bool readFormula(const pugi::xml_node& node, int col, int row, std::string_view type,
                     std::string_view value)
    {
        const std::string_view kind = attributeText(node, "t");
        const std::string original = node.text().get();
        if (kind == "dataTable")
        {
            // What-if tables have no formula to copy; their last results stay.
            builder_.ignore("data table formula", "data table formulas");
            if (auto number = parseXmlNumber(value); number && type != "s" && type != "str")
                return builder_.number(col, row, *number);
            return builder_.text(col, row, value);
        }
        if (kind == "shared")
        {
            const std::string index(attributeText(node, "si"));
            if (original.empty())
            {
                const auto found = shared_.find(index);
                if (found == shared_.end())
                    return builder_.fail(col, row, "shared formula " + index + " has no first cell");
                const std::string text =
                    grid::formulaText(*found->second.formula, col, row, grid::ReferenceStyle::A1);
                return builder_.formula(col, row, text, found->second.original);
            }
            std::string translated, why;
            if (!translateExcelFormula(original, sheetName_, translated, why))
                return builder_.fail(col, row, "formula \"" + original + "\" does not translate: " + why);
            grid::ParseResult parsed = grid::parseFormula(translated, col, row);
            if (!parsed.formula)
                return builder_.fail(
                    col, row, "formula \"" + original + "\" does not translate (" + parsed.error + ")");
            shared_[index] = {parsed.formula, original};
            return builder_.formula(col, row, translated, original);
        }
        if (kind == "array")
        {
            int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
            if (parseRangeName(attributeText(node, "ref"), col1, row1, col2, row2) &&
                (col1 != col2 || row1 != row2))
                builder_.ignore("array formula over several cells", "array formulas over several cells");
        }
        if (original.empty())
            return true;
        std::string translated, why;
        if (!translateExcelFormula(original, sheetName_, translated, why))
            return builder_.fail(col, row, "formula \"" + original + "\" does not translate: " + why);
        return builder_.formula(col, row, translated, original);
    }

    SheetBuilder& builder_;
    const Styles& styles_;
    const std::vector<std::string>& strings_;
    std::string sheetName_;
    std::unordered_map<std::string, SharedFormula> shared_;
};

bool readComments(Archive& archive, const std::string& part, SheetBuilder& builder, std::string& error)
{
    std::string text;
    pugi::xml_document document;
    if (!archive.read(part, text, error) || !parseXml(text, document, part, error))
        return false;
    for (const pugi::xml_node& node : childNamed(document.document_element(), "commentList").children())
    {
        int col = 0, row = 0;
        if (localName(node) != "comment" || !parseCellName(attributeText(node, "ref"), col, row))
            continue;
        if (!builder.note(col, row, stringItemText(childNamed(node, "text"))))
        {
            error = builder.error();
            return false;
        }
    }
    return true;
}
} // namespace

bool readXlsx(Archive& archive, std::string_view sheetName, SheetBuilder& builder, std::string& error)
{
    std::map<std::string, Relationship> packageRelationships;
    std::string rootRels = "_rels/.rels";
    std::string workbookPart = "xl/workbook.xml";
    if (archive.has(rootRels))
    {
        // The package relationships name the workbook part; "_rels/.rels" is the
        // relationship part of the part "" at the root.
        std::string text;
        pugi::xml_document document;
        if (!archive.read(rootRels, text, error) || !parseXml(text, document, rootRels, error))
            return false;
        for (const pugi::xml_node& node : document.document_element().children())
            if (localName(node) == "Relationship" && endsWith(attributeText(node, "Type"), "/officeDocument"))
                workbookPart = resolveTarget("", attributeText(node, "Target"));
    }
    std::string text;
    pugi::xml_document workbook;
    if (!archive.read(workbookPart, text, error) || !parseXml(text, workbook, workbookPart, error))
        return false;
    std::map<std::string, Relationship> relationships;
    if (!readRelationships(archive, workbookPart, relationships, error))
        return false;

    const pugi::xml_node workbookRoot = workbook.document_element();
    std::string chosenName, chosenId;
    for (const pugi::xml_node& node : childNamed(workbookRoot, "sheets").children())
    {
        if (localName(node) != "sheet")
            continue;
        const std::string_view name = attributeText(node, "name");
        if (sheetName.empty() || equalNoCase(name, sheetName))
        {
            chosenName = name;
            chosenId = attributeText(node, "id");
            break;
        }
    }
    if (chosenId.empty())
    {
        error = sheetName.empty() ? "the workbook has no worksheet"
                                  : "the workbook has no worksheet \"" + std::string(sheetName) + "\"";
        return false;
    }
    const auto sheetRelationship = relationships.find(chosenId);
    if (sheetRelationship == relationships.end() || !endsWith(sheetRelationship->second.type, "/worksheet"))
    {
        error = "the sheet \"" + chosenName + "\" is not a worksheet";
        return false;
    }
    int definedNames = 0;
    for (const pugi::xml_node& node : childNamed(workbookRoot, "definedNames").children())
        definedNames += localName(node) == "definedName" &&
                        !std::string_view(node.attribute("name").value()).starts_with("_xlnm.");
    builder.ignore("defined name", "defined names", definedNames);

    std::vector<std::string> strings;
    if (const std::string part = findRelationship(relationships, "/sharedStrings");
        !part.empty() && archive.has(part))
    {
        pugi::xml_document document;
        if (!archive.read(part, text, error) || !parseXml(text, document, part, error))
            return false;
        for (const pugi::xml_node& node : document.document_element().children())
            if (localName(node) == "si")
                strings.push_back(stringItemText(node));
    }
    Styles styles;
    if (const std::string part = findRelationship(relationships, "/styles");
        !part.empty() && archive.has(part))
    {
        grid::Sheet plain;
        if (!readStyles(archive, part, plain.defaultFormat(), styles, error))
            return false;
    }

    const std::string sheetPart = sheetRelationship->second.target;
    pugi::xml_document worksheet;
    if (!archive.read(sheetPart, text, error) || !parseXml(text, worksheet, sheetPart, error))
        return false;
    text.clear();
    text.shrink_to_fit();
    WorksheetReader reader(builder, styles, strings, chosenName);
    if (!reader.read(worksheet.document_element(), error))
        return false;

    std::map<std::string, Relationship> sheetRelationships;
    if (!readRelationships(archive, sheetPart, sheetRelationships, error))
        return false;
    for (const auto& [id, relationship] : sheetRelationships)
        if (endsWith(relationship.type, "/comments") && archive.has(relationship.target) &&
            !readComments(archive, relationship.target, builder, error))
            return false;
    return true;
}
} // namespace formats
