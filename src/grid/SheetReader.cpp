// Reading the sheet format (see SheetFile.h).

#include "grid/NumberText.h"
#include "grid/Sheet.h"
#include "grid/SheetFile.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace grid
{
namespace
{
int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

/// The fields of one line. Their strings live from line to line, so that reading allocates
/// little.
class Fields
{
public:
    std::string& next(std::size_t index)
    {
        if (index == store_.size())
            store_.emplace_back();
        return store_[index];
    }
    void setSize(std::size_t size) { size_ = size; }
    std::size_t size() const { return size_; }
    const std::string& operator[](std::size_t index) const { return store_[index]; }
    auto begin() const { return store_.begin(); }
    auto end() const { return store_.begin() + static_cast<std::ptrdiff_t>(size_); }

private:
    std::vector<std::string> store_;
    std::size_t size_ = 0;
};

class SheetReader
{
public:
    SheetReader(std::string_view text, Sheet& sheet) : text_(text), sheet_(sheet) {}

    bool run(FileError& error)
    {
        const bool ok = readAll();
        if (!ok)
            error = {line_, message_};
        return ok;
    }

private:
    bool fail(std::string message)
    {
        message_ = std::move(message);
        return false;
    }

    bool readAll()
    {
        std::string_view line;
        if (!nextLine(line))
            return fail(message_.empty() ? "the file is empty" : message_);
        if (!readHeader(line))
            return false;
        sheet_.setAutoCalc(false);
        sheet_.setReferenceStyle(ReferenceStyle::A1);
        bool ended = false;
        while (nextLine(line))
        {
            if (line.empty() || line[0] == '#')
                continue;
            if (ended)
                return fail("text after the end line");
            if (!split(line))
                return false;
            if (fields_[0] == "end")
            {
                if (fields_.size() != 1)
                    return fail("the end line has fields");
                ended = true;
                continue;
            }
            if (!sized_ && fields_[0] != "size")
                return fail("the size line must come first");
            if (!readRecord())
                return false;
        }
        if (!message_.empty())
            return false;
        if (!ended)
        {
            ++line_;
            return fail("the end line is missing (is the file cut short?)");
        }
        std::size_t offending = 0;
        if (!sheet_.setSpans(std::move(spans_), &offending))
        {
            line_ = spanLines_[offending];
            return fail("the span overlaps another");
        }
        sheet_.setReferenceStyle(style_);
        sheet_.setAutoCalc(true);
        sheet_.setChangesMade(false);
        return true;
    }

    /// The next line without its line break; false at the end of the text or on a line
    /// that is too long (message set).
    bool nextLine(std::string_view& line)
    {
        if (pos_ >= text_.size())
            return false;
        ++line_;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        if (end - pos_ > kMaxLineBytes)
        {
            message_ = "the line is longer than " + std::to_string(kMaxLineBytes) + " bytes";
            pos_ = text_.size();
            return false;
        }
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos_ = end + 1;
        return true;
    }

    bool readHeader(std::string_view line)
    {
        const std::string prefix = std::string(kSheetMagic) + " ";
        if (line.substr(0, prefix.size()) != prefix)
            return fail("not a sheet file (the first line must be \"" + prefix +
                        std::to_string(kSheetVersion) + "\")");
        int version = 0;
        std::string_view rest = line.substr(prefix.size());
        auto result = std::from_chars(rest.data(), rest.data() + rest.size(), version);
        if (result.ec != std::errc() || result.ptr != rest.data() + rest.size())
            return fail("the version is not a number");
        if (version != kSheetVersion)
            return fail("version " + std::to_string(version) +
                        " is not supported (this program reads version " + std::to_string(kSheetVersion) +
                        ")");
        return true;
    }

    bool split(std::string_view line)
    {
        std::size_t used = 0;
        std::size_t start = 0;
        while (true)
        {
            std::size_t tab = line.find('\t', start);
            std::string_view raw =
                line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
            std::string& field = fields_.next(used++);
            field.clear();
            for (std::size_t i = 0; i < raw.size(); ++i)
            {
                if (raw[i] != '\\')
                {
                    field.push_back(raw[i]);
                    continue;
                }
                if (++i >= raw.size())
                    return fail("a field ends in a lone backslash");
                switch (raw[i])
                {
                case '\\':
                    field.push_back('\\');
                    break;
                case 't':
                    field.push_back('\t');
                    break;
                case 'n':
                    field.push_back('\n');
                    break;
                case 'r':
                    field.push_back('\r');
                    break;
                case 'x':
                {
                    int high = i + 1 < raw.size() ? hexDigit(raw[i + 1]) : -1;
                    int low = i + 2 < raw.size() ? hexDigit(raw[i + 2]) : -1;
                    if (high < 0 || low < 0)
                        return fail("\\x must be followed by two hex digits");
                    field.push_back(static_cast<char>(high * 16 + low));
                    i += 2;
                    break;
                }
                default:
                    return fail(std::string("unknown escape \\") + raw[i]);
                }
            }
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
        fields_.setSize(used);
        return true;
    }

    bool count(std::size_t n)
    {
        if (fields_.size() == n + 1)
            return true;
        return fail("\"" + fields_[0] + "\" takes " + std::to_string(n) + " fields, not " +
                    std::to_string(fields_.size() - 1));
    }

    bool integer(std::size_t index, int& value, int min, int max)
    {
        const std::string& text = fields_[index];
        auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] +
                        "\" is not a whole number: \"" + text + "\"");
        if (value < min || value > max)
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] +
                        "\" is out of range: " + text);
        return true;
    }

    bool real(std::size_t index, double& value)
    {
        if (!readDouble(fields_[index], value))
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] + "\" is not a number: \"" +
                        fields_[index] + "\"");
        return true;
    }

    bool finite(std::size_t index, double& value)
    {
        if (!real(index, value))
            return false;
        if (!std::isfinite(value))
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] +
                        "\" is not a finite number: \"" + fields_[index] + "\"");
        return true;
    }

    bool flag(std::size_t index, bool& value)
    {
        int n = 0;
        if (!integer(index, n, 0, 1))
            return false;
        value = n == 1;
        return true;
    }

    bool color(std::size_t index, Color& value)
    {
        const std::string& text = fields_[index];
        if (text == "default")
        {
            value = kDefaultColor;
            return true;
        }
        unsigned parsed = 0;
        const char* begin =
            text.data() + (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? 2 : 0);
        auto result = std::from_chars(begin, text.data() + text.size(), parsed, 16);
        if (begin == text.data() || result.ec != std::errc() || result.ptr != text.data() + text.size())
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] + "\" is not a colour: \"" +
                        text + "\"");
        value = parsed;
        return true;
    }

    bool font(std::size_t index, Font& value)
    {
        value.face = fields_[index];
        return integer(index + 1, value.height, 1, 4096) && integer(index + 2, value.weight, 0, 1000);
    }

    /// Fields `index` and `index` + 1 as a cell of the sheet (header cells included).
    bool cell(std::size_t index, int& col, int& row)
    {
        if (!integer(index, col, 0, kMaxCols) || !integer(index + 1, row, 0, kMaxRows))
            return false;
        if (col > sheet_.maxCols() || row > sheet_.maxRows())
            return fail("cell (" + std::to_string(col) + ", " + std::to_string(row) +
                        ") lies outside the sheet of " + std::to_string(sheet_.maxCols()) + " columns and " +
                        std::to_string(sheet_.maxRows()) + " rows");
        return true;
    }

    bool readRecord()
    {
        const std::string& keyword = fields_[0];
        if (keyword == "size")
        {
            int cols = 0, rows = 0;
            if (sized_)
                return fail("the size is given twice");
            if (!count(2) || !integer(1, cols, 0, kMaxCols) || !integer(2, rows, 0, kMaxRows))
                return false;
            sheet_.setMaxCols(cols);
            sheet_.setMaxRows(rows);
            sized_ = true;
            return true;
        }
        if (keyword == "data" || keyword == "formula" || keyword == "tag" || keyword == "note")
            return readCellText();
        if (keyword == "style")
            return readStyle();
        if (keyword == "type")
            return readType();
        if (keyword == "format")
            return readFormat();
        return readSheetRecord();
    }

    bool readCellText()
    {
        const std::string& keyword = fields_[0];
        int col = 0, row = 0;
        if (!count(3) || !cell(1, col, row))
            return false;
        const std::string& text = fields_[3];
        if (keyword == "tag")
            return sheet_.setCellTag(col, row, text) || fail("cannot set the tag");
        if (keyword == "note")
            return sheet_.setCellNote(col, row, text) || fail("cannot set the note");
        if (!sheet_.cellEntry(col, row).empty() || sheet_.hasFormula(col, row))
            return fail("cell (" + std::to_string(col) + ", " + std::to_string(row) + ") has a second entry");
        if (keyword == "data")
            return sheet_.setData(col, row, text) || fail("cannot set the data");
        if (col == 0 || row == 0)
            return fail("a header cell cannot hold a formula");
        if (!sheet_.setFormula(col, row, text))
            return fail("the formula does not parse: " + sheet_.lastFormulaError());
        return true;
    }

    bool readStyle()
    {
        int col = 0, row = 0, typeId = 0, formatId = 0;
        if (!count(4) || !cell(1, col, row) || !integer(3, typeId, 0, INT32_MAX) ||
            !integer(4, formatId, 0, INT32_MAX))
            return false;
        if (typeId != 0)
        {
            auto type = types_.find(typeId);
            if (type == types_.end())
                return fail("type " + std::to_string(typeId) + " is not defined before this line");
            sheet_.setCellType(col, row, type->second);
        }
        if (formatId != 0)
        {
            auto format = formats_.find(formatId);
            if (format == formats_.end())
                return fail("format " + std::to_string(formatId) + " is not defined before this line");
            sheet_.setCellFormat(col, row, col, row, format->second);
        }
        return true;
    }

    bool readType()
    {
        int id = 0;
        if (fields_.size() < 3 || !integer(1, id, 1, INT32_MAX))
            return fields_.size() < 3 ? fail("\"type\" needs an id and a kind") : false;
        if (types_.count(id))
            return fail("type " + std::to_string(id) + " is defined twice");
        const std::string& kind = fields_[2];
        CellType type;
        bool ok = true;
        // Fields after the kind start at index 3.
        auto n = [&](std::size_t fields) { return count(fields + 2); };
        if (kind == "general")
            ok = n(0);
        else if (kind == "text")
        {
            type.kind = CellType::Kind::Text;
            ok = n(2) && integer(3, type.style, INT32_MIN, INT32_MAX) &&
                 integer(4, type.maxLength, INT32_MIN, INT32_MAX);
        }
        else if (kind == "number")
        {
            type.kind = CellType::Kind::Number;
            // A number cell shows at most kMaxDecimals decimals, and its limits are numbers
            // a value can be compared with: no "nan", no "inf".
            ok = n(5) && integer(3, type.decimals, 0, CellType::kMaxDecimals) && finite(4, type.minimum) &&
                 finite(5, type.maximum) && flag(6, type.thousands) &&
                 integer(7, type.style, INT32_MIN, INT32_MAX);
        }
        else if (kind == "checkbox")
        {
            type.kind = CellType::Kind::CheckBox;
            ok = n(4) && integer(3, type.style, INT32_MIN, INT32_MAX);
            if (ok)
            {
                type.text = fields_[4];
                type.picture = fields_[5];
                type.picture2 = fields_[6];
            }
        }
        else if (kind == "combo")
        {
            type.kind = CellType::Kind::Combo;
            ok = (fields_.size() >= 4 || fail("\"combo\" needs a style")) &&
                 integer(3, type.style, INT32_MIN, INT32_MAX);
            if (ok)
                type.items.assign(fields_.begin() + 4, fields_.end());
        }
        else if (kind == "button")
        {
            type.kind = CellType::Kind::Button;
            ok = n(3) && integer(3, type.style, INT32_MIN, INT32_MAX);
            if (ok)
            {
                type.text = fields_[4];
                type.picture = fields_[5];
            }
        }
        else if (kind == "edit")
        {
            type.kind = CellType::Kind::Edit;
            ok = n(4) && integer(3, type.style, INT32_MIN, INT32_MAX) &&
                 integer(4, type.maxLength, INT32_MIN, INT32_MAX) &&
                 integer(5, type.charSet, INT32_MIN, INT32_MAX) && integer(6, type.charCase, 0, 2);
        }
        else if (kind == "picture")
        {
            type.kind = CellType::Kind::Picture;
            ok = n(2) && integer(3, type.style, INT32_MIN, INT32_MAX);
            if (ok)
                type.picture = fields_[4];
        }
        else
            return fail("unknown cell type \"" + kind + "\"");
        if (!ok)
            return false;
        types_.emplace(id, std::move(type));
        return true;
    }

    bool readFormat()
    {
        int id = 0;
        CellFormat format;
        if (!count(11) || !integer(1, id, 1, INT32_MAX) || !font(2, format.font) ||
            !color(5, format.foreground) || !color(6, format.background) ||
            !integer(7, format.border.mask, INT32_MIN, INT32_MAX) ||
            !integer(8, format.border.style, INT32_MIN, INT32_MAX) || !color(9, format.border.color) ||
            !flag(10, format.locked) || !flag(11, format.skip))
            return false;
        if (!formats_.emplace(id, std::move(format)).second)
            return fail("format " + std::to_string(id) + " is defined twice");
        return true;
    }

    bool readSheetRecord()
    {
        const std::string& keyword = fields_[0];
        ControlState& state = sheet_.state();
        if (keyword == "refstyle")
        {
            if (!count(1))
                return false;
            if (fields_[1] == "A1")
                style_ = ReferenceStyle::A1;
            else if (fields_[1] == "R1C1")
                style_ = ReferenceStyle::R1C1;
            else
                return fail("the reference style must be A1 or R1C1, not \"" + fields_[1] + "\"");
            return true;
        }
        if (keyword == "font")
        {
            Font f;
            if (!count(3) || !font(1, f))
                return false;
            sheet_.setDefaultFont(f);
            return true;
        }
        if (keyword == "appearance")
            return count(1) && integer(1, state.appearance, INT32_MIN, INT32_MAX);
        if (keyword == "noteindicator")
            return count(1) && integer(1, state.noteIndicator, INT32_MIN, INT32_MAX);
        if (keyword == "scrollbars")
            return count(2) && integer(1, state.verticalScrollBarWidth, 0, 10000) &&
                   integer(2, state.horizontalScrollBarHeight, 0, 10000);
        if (keyword == "selcolors")
            return count(2) && color(1, state.selectionBackground) && color(2, state.selectionForeground);
        if (keyword == "texttip")
            return count(7) && integer(1, state.textTip.mode, INT32_MIN, INT32_MAX) &&
                   integer(2, state.textTip.delay, INT32_MIN, INT32_MAX) && font(3, state.textTip.font) &&
                   color(6, state.textTip.background) && color(7, state.textTip.foreground);
        if (keyword == "actionkey")
        {
            int action = 0;
            ActionKey key;
            if (!count(3) || !integer(1, action, 0, 255) || !integer(2, key.key, INT32_MIN, INT32_MAX) ||
                !integer(3, key.modifiers, INT32_MIN, INT32_MAX))
                return false;
            state.actionKeys[action] = key;
            return true;
        }
        if (keyword == "prop")
        {
            int number = 0, value = 0;
            if (!count(2) || !integer(1, number, INT32_MIN, INT32_MAX) ||
                !integer(2, value, INT32_MIN, INT32_MAX))
                return false;
            if (number == Sheet::kPropertyRedraw || number == Sheet::kPropertyChangesMade)
                return fail("property " + fields_[1] + " is not kept in files");
            sheet_.setProperty(number, value);
            return true;
        }
        if (keyword == "setting")
        {
            if (fields_.size() < 2 || fields_[1].empty())
                return fail("\"setting\" needs a name");
            std::vector<int> values(fields_.size() - 2);
            for (std::size_t i = 0; i < values.size(); ++i)
                if (!integer(i + 2, values[i], INT32_MIN, INT32_MAX))
                    return false;
            state.settings[fields_[1]] = std::move(values);
            return true;
        }
        if (keyword == "active")
        {
            int col = 0, row = 0;
            if (!count(2) || !cell(1, col, row))
                return false;
            return sheet_.setActiveCell(col, row) || fail("the active cell must be a cell of the sheet");
        }
        if (keyword == "selection")
        {
            int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
            if (!count(4) || !cell(1, col1, row1) || !cell(3, col2, row2))
                return false;
            return sheet_.setSelection(col1, row1, col2, row2) ||
                   fail("the selection is not a range of the sheet");
        }
        if (keyword == "width" || keyword == "height")
        {
            int index = 0;
            double pixels = 0;
            const bool width = keyword == "width";
            if (!count(2) || !integer(1, index, 0, width ? sheet_.maxCols() : sheet_.maxRows()) ||
                !real(2, pixels))
                return false;
            const bool ok = width ? sheet_.setColumnWidth(index, pixels) : sheet_.setRowHeight(index, pixels);
            return ok ||
                   fail("the size must lie between 0 and " + shortestText(Sheet::kMaxPixels) + " pixels");
        }
        if (keyword == "span")
        {
            Span span;
            if (!count(4) || !cell(1, span.col, span.row) || !integer(3, span.width, 1, kMaxCols) ||
                !integer(4, span.height, 1, kMaxRows))
                return false;
            if (span.col == 0 || span.row == 0)
                return fail("a span must start in a body cell");
            if (span.width > kMaxCols - span.col + 1 || span.height > kMaxRows - span.row + 1)
                return fail("the span reaches beyond the largest sheet");
            spans_.push_back(span);
            spanLines_.push_back(line_);
            return true;
        }
        return fail("unknown record \"" + keyword + "\"");
    }

    std::string_view text_;
    Sheet& sheet_;
    std::size_t pos_ = 0;
    int line_ = 0;
    std::string message_;
    Fields fields_;
    bool sized_ = false;
    ReferenceStyle style_ = ReferenceStyle::A1;
    std::unordered_map<int, CellType> types_;
    std::unordered_map<int, CellFormat> formats_;
    std::vector<Span> spans_;
    std::vector<int> spanLines_;
};
} // namespace

bool readSheetText(std::string_view text, Sheet& sheet, FileError& error)
{
    return SheetReader(text, sheet).run(error);
}

} // namespace grid
