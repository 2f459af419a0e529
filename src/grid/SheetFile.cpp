#include "grid/SheetFile.h"

#include "grid/Csv.h"
#include "grid/NumberText.h"
#include "grid/PhaseClock.h"
#include "grid/Sheet.h"
#include "grid/SheetFormats.h"
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
        record.number(type.decimals)
            .real(type.minimum)
            .real(type.maximum)
            .flag(type.thousands)
            .number(type.style);
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
    // Only what differs from a new sheet, so that small sheets stay small.
    const ControlState& state = sheet.state();
    const ControlState fresh;
    if (state.appearance != fresh.appearance)
        Record(out, "appearance").number(state.appearance);
    if (state.noteIndicator != fresh.noteIndicator)
        Record(out, "noteindicator").number(state.noteIndicator);
    if (state.verticalScrollBarWidth != fresh.verticalScrollBarWidth ||
        state.horizontalScrollBarHeight != fresh.horizontalScrollBarHeight)
        Record(out, "scrollbars")
            .number(state.verticalScrollBarWidth)
            .number(state.horizontalScrollBarHeight);
    if (state.selectionBackground != fresh.selectionBackground ||
        state.selectionForeground != fresh.selectionForeground)
        Record(out, "selcolors").color(state.selectionBackground).color(state.selectionForeground);
    if (state.textTip != fresh.textTip)
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
    static const CellType kGeneral;
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
            if (type != kGeneral)
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
            Record(out, "formula")
                .number(col)
                .number(row)
                .text(formulaText(*formula, col, row, ReferenceStyle::A1));
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

// --- Sheet members ---------------------------------------------------------------------

bool Sheet::loadFile(const std::string& path)
{
    Sheet loaded;
    loaded.customFunctions_ = customFunctions_;
    loaded.clock_ = clock_;
    std::string text;
    FileError error;
    bool ok = false;
    if (const SheetFileReader* reader = findSheetReader(path))
    {
        // A workbook of a spreadsheet program, read by the adapter registered for it. What
        // the sheet cannot hold is told once, so that nothing is dropped without a word.
        std::vector<std::string> remarks;
        ok = (*reader)(path, loaded, error.message, remarks);
        if (ok && !remarks.empty())
        {
            std::string joined;
            for (const std::string& remark : remarks)
                joined += (joined.empty() ? "" : ", ") + remark;
            acutPrintf("Sheet file \"%s\": %s.\n", path.c_str(), joined.c_str());
        }
    }
    else
    {
        notePhase("startup");
        ok = readFileText(path, text, error);
        notePhase("read file");
        loaded.holdingLoad_ = true;
        if (ok)
            ok = hasExtension(path, ".csv") ? readCsvText(text, loaded, error)
                                            : readSheetText(text, loaded, error);
        loaded.holdingLoad_ = false;
        std::string().swap(text);
        if (ok && loaded.autoCalc_ && loaded.graphStale_)
        {
            loaded.rebuildDependencies();
            loaded.recalcAll();
        }
    }
    if (!ok)
    {
        if (error.line > 0)
            acutPrintf("*Error* Sheet file \"%s\", line %d: %s.\n", path.c_str(), error.line,
                       error.message.c_str());
        else
            acutPrintf("*Error* Sheet file \"%s\": %s.\n", path.c_str(), error.message.c_str());
        return false;
    }
    replaceContent(std::move(loaded));
    return true;
}

bool Sheet::saveFile(const std::string& path, bool dataOnly) const
{
    if (const SheetFileWriter* writer = findSheetWriter(path))
    {
        std::string error;
        if ((*writer)(path, *this, error))
            return true;
        acutPrintf("*Error* Sheet file \"%s\": %s.\n", path.c_str(), error.c_str());
        return false;
    }
    const std::string text =
        hasExtension(path, ".csv") ? writeCsvText(*this) : writeSheetText(*this, dataOnly);
    std::string error;
    if (writeFileAtomically(path, text, error))
        return true;
    acutPrintf("%s\n", error.c_str());
    return false;
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
