#include "formats/SheetBuilder.h"
#include "formats/SheetFiles.h"
#include "grid/Sheet.h"
#include "grid/formula/Formula.h"

#include <atomic>
#include <filesystem>
#include <map>
#include <system_error>
#include <unistd.h>
#include <xlsxwriter.h>

namespace formats
{
namespace
{
/// The sheet's colours are 0x00BBGGRR, the writer's 0xRRGGBB. System colours (high bit set)
/// have no counterpart and count as unset.
bool writerColor(grid::Color color, lxw_color_t& out)
{
    if (color == grid::kDefaultColor || (color & 0xFF000000u) != 0)
        return false;
    out = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    // The writer takes 0 for "no colour" and has a value of its own for black.
    if (out == 0)
        out = LXW_COLOR_BLACK;
    return true;
}

std::uint8_t writerBorder(int style)
{
    switch (style)
    {
    case 2:
        return LXW_BORDER_DASHED;
    case 3:
        return LXW_BORDER_DOTTED;
    case 4:
        return LXW_BORDER_DASH_DOT;
    case 5:
        return LXW_BORDER_DASH_DOT_DOT;
    default:
        return LXW_BORDER_THIN;
    }
}

/// The number format code of a cell type, or "" for a type shown as typed.
std::string numberFormatCode(const grid::CellType& type)
{
    if (type.kind == grid::CellType::Kind::Text)
        return "@";
    if (type.kind != grid::CellType::Kind::Number)
        return {};
    std::string code = type.thousands ? "#,##0" : "0";
    if (const int decimals = type.shownDecimals(); decimals > 0)
        code += "." + std::string(static_cast<std::size_t>(decimals), '0');
    return code;
}

/// One writer format per distinct look, made on first use.
class Formats
{
public:
    Formats(lxw_workbook* workbook, const grid::Sheet& sheet) : workbook_(workbook), sheet_(sheet) {}

    lxw_format* of(int col, int row)
    {
        const grid::CellFormat& format = sheet_.cellFormat(col, row);
        const std::string code = numberFormatCode(sheet_.cellType(col, row));
        if (code.empty() && format == sheet_.defaultFormat())
            return nullptr;
        std::string key = code + '\x1F' + format.font.face + '\x1F' + std::to_string(format.font.height) +
                          '\x1F' + std::to_string(format.font.weight) + '\x1F' +
                          std::to_string(format.foreground) + '\x1F' + std::to_string(format.background) +
                          '\x1F' + std::to_string(format.border.mask) + '\x1F' +
                          std::to_string(format.border.style) + '\x1F' + std::to_string(format.border.color);
        if (const auto found = made_.find(key); found != made_.end())
            return found->second;
        lxw_format* made = workbook_add_format(workbook_);
        if (!code.empty())
            format_set_num_format(made, code.c_str());
        const grid::Font& font = format.font;
        const grid::Font& base = sheet_.defaultFont();
        if (font.face != base.face || font.height != base.height)
        {
            format_set_font_name(made, font.face.c_str());
            format_set_font_size(made, font.height * 0.75);
        }
        if (font.bold())
            format_set_bold(made);
        lxw_color_t color = 0;
        if (writerColor(format.foreground, color))
            format_set_font_color(made, color);
        if (writerColor(format.background, color))
        {
            format_set_pattern(made, LXW_PATTERN_SOLID);
            format_set_bg_color(made, color);
        }
        const grid::Border& border = format.border;
        const std::uint8_t style = writerBorder(border.style);
        const bool borderColor = writerColor(border.color, color);
        if (border.mask & 1)
        {
            format_set_left(made, style);
            if (borderColor)
                format_set_left_color(made, color);
        }
        if (border.mask & 2)
        {
            format_set_right(made, style);
            if (borderColor)
                format_set_right_color(made, color);
        }
        if (border.mask & 4)
        {
            format_set_top(made, style);
            if (borderColor)
                format_set_top_color(made, color);
        }
        if (border.mask & 8)
        {
            format_set_bottom(made, style);
            if (borderColor)
                format_set_bottom_color(made, color);
        }
        made_.emplace(std::move(key), made);
        return made;
    }

private:
    lxw_workbook* workbook_;
    const grid::Sheet& sheet_;
    std::map<std::string, lxw_format*> made_;
};

/// A name for the file being written beside its final place.
std::string temporaryName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

bool failed(lxw_error status, int col, int row, std::string& error)
{
    if (status == LXW_NO_ERROR)
        return false;
    error = "cell " + cellName(col, row) + ": " + lxw_strerror(status);
    return true;
}

bool writeWorkbook(const std::string& file, const grid::Sheet& sheet, std::string& error)
{
    lxw_workbook* workbook = workbook_new(file.c_str());
    if (!workbook)
    {
        error = "cannot create the workbook";
        return false;
    }
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook, "Sheet1");
    Formats formats(workbook, sheet);
    bool ok = worksheet != nullptr;
    if (!ok)
        error = "cannot create the worksheet";

    for (const auto& [col, pixels] : sheet.columnWidths())
        if (ok && col >= 1 && col <= grid::kMaxCols)
            worksheet_set_column_pixels(worksheet, static_cast<lxw_col_t>(col - 1),
                                        static_cast<lxw_col_t>(col - 1),
                                        static_cast<std::uint32_t>(pixels + 0.5), nullptr);
    for (const auto& [row, pixels] : sheet.rowHeights())
        if (ok && row >= 1 && row <= grid::kMaxRows)
            worksheet_set_row_pixels(worksheet, static_cast<lxw_row_t>(row - 1),
                                     static_cast<std::uint32_t>(pixels + 0.5), nullptr);
    // Spans first: merging writes its first cell, which the cell loop below then fills.
    for (const grid::Span& span : sheet.spans())
    {
        if (!ok)
            break;
        const int lastCol = std::min(span.col + span.width - 1, grid::kMaxCols);
        const int lastRow = std::min(span.row + span.height - 1, grid::kMaxRows);
        if (lastCol == span.col && lastRow == span.row)
            continue;
        ok = !failed(
            worksheet_merge_range(worksheet, static_cast<lxw_row_t>(span.row - 1),
                                  static_cast<lxw_col_t>(span.col - 1), static_cast<lxw_row_t>(lastRow - 1),
                                  static_cast<lxw_col_t>(lastCol - 1), "", formats.of(span.col, span.row)),
            span.col, span.row, error);
    }
    sheet.forEachCell(
        [&](int col, int row)
        {
            if (!ok || col < 1 || row < 1)
                return;
            const auto r = static_cast<lxw_row_t>(row - 1);
            const auto c = static_cast<lxw_col_t>(col - 1);
            lxw_format* format = formats.of(col, row);
            const grid::Value value = sheet.cellValue(col, row);
            lxw_error status = LXW_NO_ERROR;
            if (sheet.hasFormula(col, row))
            {
                // The calculated result goes with the formula, for readers that show a file
                // without calculating it; spreadsheet programs calculate it again on opening.
                // Always in A1 style, whatever style the sheet shows its formulas in.
                const std::string formula =
                    "=" + grid::formulaText(*sheet.cellFormula(col, row), col, row, grid::ReferenceStyle::A1);
                if (value.isNumber())
                    status = worksheet_write_formula_num(worksheet, r, c, formula.c_str(), format,
                                                         value.asNumber());
                else if (value.isLogical())
                    status = worksheet_write_formula_num(worksheet, r, c, formula.c_str(), format,
                                                         value.asLogical() ? 1 : 0);
                else if (value.isText())
                    status = worksheet_write_formula_str(worksheet, r, c, formula.c_str(), format,
                                                         value.asText().c_str());
                else
                    status = worksheet_write_formula(worksheet, r, c, formula.c_str(), format);
            }
            else if (const std::string entry = sheet.cellEntry(col, row); !entry.empty())
            {
                if (value.isNumber())
                    status = worksheet_write_number(worksheet, r, c, value.asNumber(), format);
                else
                    status = worksheet_write_string(worksheet, r, c, entry.c_str(), format);
            }
            else if (format)
                status = worksheet_write_blank(worksheet, r, c, format);
            if (failed(status, col, row, error))
            {
                ok = false;
                return;
            }
            if (const std::string note = sheet.cellNote(col, row); !note.empty())
                ok = !failed(worksheet_write_comment(worksheet, r, c, note.c_str()), col, row, error);
        });
    const lxw_error closed = workbook_close(workbook);
    if (ok && closed != LXW_NO_ERROR)
    {
        error = std::string("cannot write the workbook (") + lxw_strerror(closed) + ")";
        ok = false;
    }
    return ok;
}
} // namespace

bool writeXlsxFile(const std::string& path, const grid::Sheet& sheet, std::string& error)
{
    const std::string temporary = temporaryName(path);
    bool ok = writeWorkbook(temporary, sheet, error);
    std::error_code code;
    if (ok)
    {
        std::filesystem::rename(temporary, path, code);
        if (code)
        {
            error = "cannot replace the file (" + code.message() + ")";
            ok = false;
        }
    }
    if (!ok)
        std::filesystem::remove(temporary, code);
    return ok;
}
} // namespace formats
