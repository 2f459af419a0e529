#include "grid/SheetFile.h"

#include "grid/Csv.h"
#include "grid/NumberText.h"
#include "grid/Sheet.h"
#include "host/CommandLine.h"

#include <charconv>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace grid
{
namespace
{
// --- Writing ---------------------------------------------------------------------------

void appendEscaped(std::string& out, std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (byte < 0x20 || byte == 0x7F)
        {
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
        }
        else
            out.push_back(c);
    }
}

std::string colorText(Color color)
{
    if (color == kDefaultColor)
        return "default";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(color));
    return buffer;
}

/// Builds one record: the keyword, then each field after a TAB.
class Record
{
public:
    Record(std::string& out, std::string_view keyword) : out_(out) { out_ += keyword; }
    ~Record() { out_.push_back('\n'); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    Record& text(std::string_view field)
    {
        out_.push_back('\t');
        appendEscaped(out_, field);
        return *this;
    }
    Record& number(long long value) { return text(std::to_string(value)); }
    Record& real(double value) { return text(shortestText(value)); }
    Record& color(Color value) { return text(colorText(value)); }
    Record& flag(bool value) { return text(value ? "1" : "0"); }
    Record& font(const Font& f) { return text(f.face).number(f.height).number(f.weight); }

private:
    std::string& out_;
};

void writeType(std::string& out, int id, const CellType& type)
{
    Record record(out, "type");
    record.number(id).text(type.kindWord());
    switch (type.kind)
    {
    case CellType::Kind::General:
        break;
    case CellType::Kind::Text:
        record.number(type.style).number(type.maxLength);
        break;
    case CellType::Kind::Number:
        record.number(type.decimals).real(type.minimum).real(type.maximum).flag(type.thousands).number(type.style);
        break;
    case CellType::Kind::CheckBox:
        record.number(type.style).text(type.text).text(type.picture).text(type.picture2);
        break;
    case CellType::Kind::Combo:
        record.number(type.style);
        for (const std::string& item : type.items)
            record.text(item);
        break;
    case CellType::Kind::Button:
        record.number(type.style).text(type.text).text(type.picture);
        break;
    case CellType::Kind::Edit:
        record.number(type.style).number(type.maxLength).number(type.charSet).number(type.charCase);
        break;
    case CellType::Kind::Picture:
        record.number(type.style).text(type.picture);
        break;
    }
}

void writeFormat(std::string& out, int id, const CellFormat& format)
{
    Record(out, "format")
        .number(id)
        .font(format.font)
        .color(format.foreground)
        .color(format.background)
        .number(format.border.mask)
        .number(format.border.style)
        .color(format.border.color)
        .flag(format.locked)
        .flag(format.skip);
}

void writeControlState(std::string& out, const Sheet& sheet)
{
    const ControlState& state = sheet.state();
    Record(out, "appearance").number(state.appearance);
    Record(out, "noteindicator").number(state.noteIndicator);
    Record(out, "scrollbars").number(state.verticalScrollBarWidth).number(state.horizontalScrollBarHeight);
    Record(out, "selcolors").color(state.selectionBackground).color(state.selectionForeground);
    Record(out, "texttip")
        .number(state.textTip.mode)
        .number(state.textTip.delay)
        .font(state.textTip.font)
        .color(state.textTip.background)
        .color(state.textTip.foreground);
    for (const auto& [action, key] : state.actionKeys)
        Record(out, "actionkey").number(action).number(key.key).number(key.modifiers);
    for (const auto& [number, value] : state.properties)
        Record(out, "prop").number(number).number(value);
    for (const auto& [name, values] : state.settings)
    {
        Record record(out, "setting");
        record.text(name);
        for (int value : values)
            record.number(value);
    }
    int col = 0, row = 0;
    if (sheet.activeCell(col, row))
        Record(out, "active").number(col).number(row);
    const Selection& s = sheet.selection();
    if (s != Selection{})
        Record(out, "selection").number(s.col1).number(s.row1).number(s.col2).number(s.row2);
}
} // namespace

std::string writeSheetText(const Sheet& sheet, bool dataOnly)
{
    std::string out;
    out.reserve(64 + sheet.cellCount() * 24);
    out += std::string(kSheetMagic) + " " + std::to_string(kSheetVersion) + "\n";
    Record(out, "size").number(sheet.maxCols()).number(sheet.maxRows());
    Record(out, "refstyle").text(sheet.referenceStyle() == ReferenceStyle::R1C1 ? "R1C1" : "A1");

    std::vector<std::pair<int, int>> cells;
    cells.reserve(sheet.cellCount());
    sheet.forEachCell([&](int col, int row) { cells.emplace_back(col, row); });

    // Types and formats are numbered from 1 in the order cells first use them; equal
    // records are one record in the sheet, so their addresses tell them apart.
    std::unordered_map<const CellType*, int> typeIds;
    std::unordered_map<const CellFormat*, int> formatIds;
    const CellFormat& defaultFormat = sheet.defaultFormat();
    if (!dataOnly)
    {
        Record(out, "font").font(sheet.defaultFont());
        writeControlState(out, sheet);
        for (const auto& [col, pixels] : sheet.columnWidths())
            Record(out, "width").number(col).real(pixels);
        for (const auto& [row, pixels] : sheet.rowHeights())
            Record(out, "height").number(row).real(pixels);
        for (const Span& span : sheet.spans())
            Record(out, "span").number(span.col).number(span.row).number(span.width).number(span.height);
        for (const auto& [col, row] : cells)
        {
            const CellType& type = sheet.cellType(col, row);
            if (type.kind != CellType::Kind::General || type != CellType{})
                if (typeIds.emplace(&type, static_cast<int>(typeIds.size()) + 1).second)
                    writeType(out, typeIds[&type], type);
            const CellFormat& format = sheet.cellFormat(col, row);
            if (&format != &defaultFormat)
                if (formatIds.emplace(&format, static_cast<int>(formatIds.size()) + 1).second)
                    writeFormat(out, formatIds[&format], format);
        }
    }

    for (const auto& [col, row] : cells)
    {
        if (!dataOnly)
        {
            auto type = typeIds.find(&sheet.cellType(col, row));
            auto format = formatIds.find(&sheet.cellFormat(col, row));
            if (type != typeIds.end() || format != formatIds.end())
                Record(out, "style")
                    .number(col)
                    .number(row)
                    .number(type == typeIds.end() ? 0 : type->second)
                    .number(format == formatIds.end() ? 0 : format->second);
        }
        if (auto formula = sheet.cellFormula(col, row))
            Record(out, "formula").number(col).number(row).text(formulaText(*formula, col, row, ReferenceStyle::A1));
        else if (std::string entry = sheet.cellEntry(col, row); !entry.empty())
            Record(out, "data").number(col).number(row).text(entry);
        if (dataOnly)
            continue;
        if (std::string tag = sheet.cellTag(col, row); !tag.empty())
            Record(out, "tag").number(col).number(row).text(tag);
        if (std::string note = sheet.cellNote(col, row); !note.empty())
            Record(out, "note").number(col).number(row).text(note);
    }
    out += "end\n";
    return out;
}

// --- Reading ---------------------------------------------------------------------------

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
            return fail("not a sheet file (the first line must be \"" + prefix + std::to_string(kSheetVersion) + "\")");
        int version = 0;
        std::string_view rest = line.substr(prefix.size());
        auto result = std::from_chars(rest.data(), rest.data() + rest.size(), version);
        if (result.ec != std::errc() || result.ptr != rest.data() + rest.size())
            return fail("the version is not a number");
        if (version != kSheetVersion)
            return fail("version " + std::to_string(version) + " is not supported (this program reads version " +
                        std::to_string(kSheetVersion) + ")");
        return true;
    }

    bool split(std::string_view line)
    {
        fields_.clear();
        std::size_t start = 0;
        while (true)
        {
            std::size_t tab = line.find('\t', start);
            std::string_view raw = line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
            std::string field;
            field.reserve(raw.size());
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
                case 'x': {
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
            fields_.push_back(std::move(field));
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
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
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] + "\" is not a whole number: \"" + text +
                        "\"");
        if (value < min || value > max)
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] + "\" is out of range: " + text);
        return true;
    }

    bool real(std::size_t index, double& value)
    {
        if (!readDouble(fields_[index], value))
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] + "\" is not a number: \"" +
                        fields_[index] + "\"");
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
        const char* begin = text.data() + (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? 2 : 0);
        auto result = std::from_chars(begin, text.data() + text.size(), parsed, 16);
        if (begin == text.data() || result.ec != std::errc() || result.ptr != text.data() + text.size())
            return fail("field " + std::to_string(index) + " of \"" + fields_[0] + "\" is not a colour: \"" + text + "\"");
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
            return fail("cell (" + std::to_string(col) + ", " + std::to_string(row) + ") lies outside the sheet of " +
                        std::to_string(sheet_.maxCols()) + " columns and " + std::to_string(sheet_.maxRows()) + " rows");
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
        if (!entries_.insert(cellKey(col, row)).second)
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
        if (!count(4) || !cell(1, col, row) || !integer(3, typeId, 0, INT32_MAX) || !integer(4, formatId, 0, INT32_MAX))
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
            ok = n(2) && integer(3, type.style, INT32_MIN, INT32_MAX) && integer(4, type.maxLength, INT32_MIN, INT32_MAX);
        }
        else if (kind == "number")
        {
            type.kind = CellType::Kind::Number;
            ok = n(5) && integer(3, type.decimals, INT32_MIN, INT32_MAX) && real(4, type.minimum) &&
                 real(5, type.maximum) && flag(6, type.thousands) && integer(7, type.style, INT32_MIN, INT32_MAX);
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
            ok = (fields_.size() >= 4 || fail("\"combo\" needs a style")) && integer(3, type.style, INT32_MIN, INT32_MAX);
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
                 integer(4, type.maxLength, INT32_MIN, INT32_MAX) && integer(5, type.charSet, INT32_MIN, INT32_MAX) &&
                 integer(6, type.charCase, 0, 2);
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
        if (!count(11) || !integer(1, id, 1, INT32_MAX) || !font(2, format.font) || !color(5, format.foreground) ||
            !color(6, format.background) || !integer(7, format.border.mask, INT32_MIN, INT32_MAX) ||
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
            if (!count(2) || !integer(1, number, INT32_MIN, INT32_MAX) || !integer(2, value, INT32_MIN, INT32_MAX))
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
            return sheet_.setSelection(col1, row1, col2, row2) || fail("the selection is not a range of the sheet");
        }
        if (keyword == "width" || keyword == "height")
        {
            int index = 0;
            double pixels = 0;
            const bool width = keyword == "width";
            if (!count(2) || !integer(1, index, 0, width ? sheet_.maxCols() : sheet_.maxRows()) || !real(2, pixels))
                return false;
            const bool ok = width ? sheet_.setColumnWidth(index, pixels) : sheet_.setRowHeight(index, pixels);
            return ok || fail("the size must lie between 0 and " + shortestText(Sheet::kMaxPixels) + " pixels");
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
    std::vector<std::string> fields_;
    bool sized_ = false;
    ReferenceStyle style_ = ReferenceStyle::A1;
    std::unordered_map<int, CellType> types_;
    std::unordered_map<int, CellFormat> formats_;
    std::unordered_set<CellKey> entries_;
    std::vector<Span> spans_;
    std::vector<int> spanLines_;
};
} // namespace

bool readSheetText(std::string_view text, Sheet& sheet, FileError& error)
{
    return SheetReader(text, sheet).run(error);
}

// --- Sheet members ---------------------------------------------------------------------

bool Sheet::loadFile(const std::string& path)
{
    Sheet loaded;
    loaded.customFunctions_ = customFunctions_;
    loaded.clock_ = clock_;
    std::string text;
    FileError error;
    bool ok = readFileText(path, text, error);
    if (ok)
        ok = hasExtension(path, ".csv") ? readCsvText(text, loaded, error) : readSheetText(text, loaded, error);
    if (!ok)
    {
        if (error.line > 0)
            acutPrintf("*Error* Sheet file \"%s\", line %d: %s.\n", path.c_str(), error.line, error.message.c_str());
        else
            acutPrintf("*Error* Sheet file \"%s\": %s.\n", path.c_str(), error.message.c_str());
        return false;
    }
    replaceContent(std::move(loaded));
    return true;
}

bool Sheet::saveFile(const std::string& path, bool dataOnly) const
{
    const std::string text = hasExtension(path, ".csv") ? writeCsvText(*this) : writeSheetText(*this, dataOnly);
    std::string error;
    return writeFileAtomically(path, text, error);
}

void Sheet::replaceContent(Sheet&& loaded)
{
    auto functions = std::move(customFunctions_);
    auto clock = std::move(clock_);
    auto random = random_;
    const auto revision = revision_;
    *this = std::move(loaded);
    customFunctions_ = std::move(functions);
    clock_ = std::move(clock);
    random_ = random;
    state_.changesMade = false;
    revision_ = revision + 1;
}
} // namespace grid
