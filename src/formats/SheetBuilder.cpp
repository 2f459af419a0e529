#include "formats/SheetBuilder.h"

#include "grid/Sheet.h"
#include "grid/Value.h"
#include "grid/formula/ReferenceText.h"

#include <algorithm>

namespace formats
{
std::string cellName(int col, int row)
{
    return grid::columnLetters(col) + std::to_string(row);
}

SheetBuilder::SheetBuilder(grid::Sheet& sheet, const ReadLimits& limits) : sheet_(sheet), limits_(limits)
{
    sheet_.setAutoCalc(false);
    sheet_.setMaxCols(grid::kMaxCols);
    sheet_.setMaxRows(grid::kMaxRows);
}

bool SheetBuilder::fail(int col, int row, const std::string& why)
{
    error_ = "cell " + cellName(col, row) + ": " + why;
    return false;
}

bool SheetBuilder::admit(int col, int row)
{
    if (col < 1 || row < 1 || col > grid::kMaxCols || row > grid::kMaxRows)
    {
        error_ = "a cell lies outside the largest sheet (column " + std::to_string(col) + ", row " +
                 std::to_string(row) + ")";
        return false;
    }
    // A cell given both a look and an entry counts once.
    if (col != admittedCol_ || row != admittedRow_)
    {
        if (++cells_ > limits_.maxCells)
        {
            error_ = "the worksheet has more than " + std::to_string(limits_.maxCells) + " cells";
            return false;
        }
        admittedCol_ = col;
        admittedRow_ = row;
    }
    extend(col, row);
    return true;
}

bool SheetBuilder::checkText(int col, int row, std::string_view text)
{
    if (text.size() > limits_.maxTextBytes)
        return fail(col, row, "text longer than " + std::to_string(limits_.maxTextBytes) + " bytes");
    return true;
}

void SheetBuilder::extend(int col, int row)
{
    lastCol_ = std::max(lastCol_, col);
    lastRow_ = std::max(lastRow_, row);
}

bool SheetBuilder::look(int col, int row, const CellLook& look)
{
    if (look.empty())
        return true;
    if (!admit(col, row))
        return false;
    if (look.hasType)
        sheet_.setCellType(col, row, look.type);
    if (look.hasFormat)
        sheet_.setCellFormat(col, row, col, row, look.format);
    return true;
}

bool SheetBuilder::number(int col, int row, double value)
{
    if (!admit(col, row))
        return false;
    sheet_.setNumber(col, row, value);
    return true;
}

bool SheetBuilder::text(int col, int row, std::string_view text)
{
    if (!checkText(col, row, text) || !admit(col, row))
        return false;
    if (text.empty())
        return true;
    if (sheet_.cellType(col, row).kind == grid::CellType::Kind::General && grid::parseNumber(text))
        sheet_.setCellType(col, row, grid::CellType::textCell(0, 0));
    sheet_.setData(col, row, text);
    return true;
}

bool SheetBuilder::formula(int col, int row, std::string_view formula, std::string_view original)
{
    if (original.size() > limits_.maxFormulaBytes || formula.size() > limits_.maxFormulaBytes)
        return fail(col, row, "formula longer than " + std::to_string(limits_.maxFormulaBytes) + " bytes");
    if (!admit(col, row))
        return false;
    if (!sheet_.setFormula(col, row, formula))
        return fail(col, row,
                    "formula \"" + std::string(original) + "\" does not translate (" +
                        sheet_.lastFormulaError() + ")");
    return true;
}

bool SheetBuilder::note(int col, int row, std::string_view text)
{
    if (!checkText(col, row, text) || !admit(col, row))
        return false;
    sheet_.setCellNote(col, row, text);
    return true;
}

void SheetBuilder::span(int col, int row, int width, int height)
{
    if (width < 1 || height < 1 || (width == 1 && height == 1))
        return;
    if (col < 1 || row < 1 || col > grid::kMaxCols || row > grid::kMaxRows ||
        width > grid::kMaxCols - col + 1 || height > grid::kMaxRows - row + 1)
    {
        ignore("overlapping or invalid merge", "overlapping or invalid merges");
        return;
    }
    spans_.push_back({col, row, width, height});
    extend(col + width - 1, row + height - 1);
}

void SheetBuilder::placeSpans()
{
    // All at once is O(n log n). Only when some overlap are they placed one by one, which
    // costs O(n) each; a file with very many merges of which some overlap keeps none of them
    // rather than taking quadratic time.
    constexpr std::size_t kMaxOneByOne = 4096;
    if (spans_.empty() || sheet_.setSpans(spans_))
        return;
    if (spans_.size() > kMaxOneByOne)
    {
        ignore("overlapping or invalid merge", "overlapping or invalid merges",
               static_cast<int>(spans_.size()));
        return;
    }
    for (const grid::Span& span : spans_)
        if (!sheet_.addSpan(span.col, span.row, span.width, span.height))
            ignore("overlapping or invalid merge", "overlapping or invalid merges");
}

void SheetBuilder::columnWidth(int col, double pixels)
{
    if (col >= 1 && col <= grid::kMaxCols)
        widths_[col] = std::clamp(pixels, 0.0, grid::Sheet::kMaxPixels);
}

void SheetBuilder::rowHeight(int row, double pixels)
{
    if (row >= 1 && row <= grid::kMaxRows)
        heights_[row] = std::clamp(pixels, 0.0, grid::Sheet::kMaxPixels);
}

void SheetBuilder::ignore(const std::string& singular, const std::string& plural, int count)
{
    if (count <= 0)
        return;
    for (std::size_t i = 0; i < ignoredNouns_.size(); ++i)
        if (ignoredNouns_[i].first == singular)
        {
            ignoredCounts_[i] += count;
            return;
        }
    ignoredNouns_.emplace_back(singular, plural);
    ignoredCounts_.push_back(count);
}

bool SheetBuilder::finish(std::vector<std::string>& remarks)
{
    sheet_.setMaxCols(lastCol_);
    sheet_.setMaxRows(lastRow_);
    placeSpans();
    // Widths and heights of columns and rows past the cells read describe nothing the sheet
    // holds; workbooks routinely give them for whole sheets.
    for (const auto& [col, pixels] : widths_)
        if (col <= lastCol_)
            sheet_.setColumnWidth(col, pixels);
    for (const auto& [row, pixels] : heights_)
        if (row <= lastRow_)
            sheet_.setRowHeight(row, pixels);
    sheet_.setAutoCalc(true);
    sheet_.setChangesMade(false);
    for (std::size_t i = 0; i < ignoredNouns_.size(); ++i)
        remarks.push_back(std::to_string(ignoredCounts_[i]) + " " +
                          (ignoredCounts_[i] == 1 ? ignoredNouns_[i].first : ignoredNouns_[i].second) +
                          " ignored");
    return true;
}
} // namespace formats
